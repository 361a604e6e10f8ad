#include "monitor/LiveMonitorQt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <optional>

#include "base/GridFitQt.h"
#include "base/NumberText.h"
#include "base/TextQt.h"
#include "base/UiText.h"
#include "monitor/CGaugeQt.h"
#include "monitor/PerformanceGraphQt.h"
#include "monitor/PlatformColourQt.h"
#include "monitor/RecordingFile.h"

using namespace row_kind;

namespace {

constexpr int kLastRecord = ReadingHistory::kRecords - 1;
constexpr std::int32_t kGraphGridColour = 0x808080;  // grey
constexpr int kGraphGridSize = 10;
constexpr int kMagnifierLineChars = 19;
// PanelErr is three pixels narrower than column 2; its text wants a little margin besides.
constexpr int kPanelErrRoom = 3 + 2;

void PlaceWidget(QWidget* widget, const OverlayRect& r) {
  widget->setGeometry(r.left, r.top, r.width, r.height);
}

}  // namespace

LiveMonitor::LiveMonitor(LiveWidgets widgets, LiveHooks hooks, UserDialogs& dialogs, ReadingHistory& history,
                         std::array<std::int32_t, kChannelCount>& colours)
    : w_(widgets), hooks_(std::move(hooks)), dialogs_(dialogs), history_(history), colours_(colours) {
  PerformanceGraph& g = w_.Graph1->Graph();
  g.SetForeColor(kGraphGridColour);
  g.SetBackColor(kColourBlack);
  g.SetGridSize(kGraphGridSize);
  g.SetStepSize(5);
  g.SetScale(100);
  g.SetGradient(100);
  g.SetGridlines(false);
  g.SetPenWidth(2);

  QTableWidget* grid = w_.Grid;
  QHeaderView* header = grid->horizontalHeader();
  header->show();
  header->setSectionResizeMode(QHeaderView::Fixed);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setHighlightSections(false);
  grid->setStyleSheet(
      "QTableWidget#Grid{background:rgb(207,207,207)}"
      "QTableWidget#Grid QHeaderView::section{background:rgb(207,207,207);border:0;"
      "border-bottom:1px solid gray}");
  grid->setShowGrid(false);
  grid->setStyleSheet(grid->styleSheet() + "QTableWidget#Grid::item{border-bottom:1px solid gray}");
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  for (int c = 0; c < 4; ++c) grid->setHorizontalHeaderItem(c, new QTableWidgetItem);
  grid->viewport()->setMouseTracking(true);
  grid->viewport()->installEventFilter(this);
  connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
    // The grid's top row changed: the overlays follow their rows.
    if (shown_ && !laying_) {
      HideOverlays();
      PlaceOverlays();
    }
  });
  w_.PanelHint->installEventFilter(this);
  w_.PanelErr->setAlignment(Qt::AlignCenter);
  w_.PanelErr->setStyleSheet("QLabel#PanelErr{background:red;color:white}");
  w_.PanelAuto->setAlignment(Qt::AlignCenter);

  // CGLam lives in PanelLam, which the map page shows on its own.
  w_.gauges[kGaugeLam]->setParent(w_.PanelLam);
  w_.gauges[kGaugeLam]->show();
  w_.PanelLam->installEventFilter(this);
  for (TCGauge* gauge : w_.gauges) {
    gauge->SetShowText(false);
    gauge->SetRange(0, gauge == w_.gauges[kGaugeRpm] ? 100 : 255);
  }
  for (int i = 0; i < kChannelCount; ++i) {
    QPalette p = w_.checks[static_cast<std::size_t>(i)]->palette();
    p.setColor(QPalette::Window, QColor(207, 207, 207));
    w_.checks[static_cast<std::size_t>(i)]->setPalette(p);
    w_.checks[static_cast<std::size_t>(i)]->setAutoFillBackground(true);
    w_.checks[static_cast<std::size_t>(i)]->resize(16, 16);
    w_.swatches[static_cast<std::size_t>(i)]->installEventFilter(this);
    w_.swatches[static_cast<std::size_t>(i)]->setCursor(Qt::PointingHandCursor);
  }
  SetRunning(true);

  // The player's controls stand at the scroll bar's right end and are shown with it.
  QWidget* bar = w_.ScrollBar1->parentWidget();
  btnPlay_ = new QToolButton(bar);
  btnPlay_->setObjectName("BtnPlay");
  btnPlay_->setFocusPolicy(Qt::NoFocus);
  connect(btnPlay_, &QToolButton::clicked, this, [this] { PlayClick(); });
  cbSpeed_ = new QComboBox(bar);
  cbSpeed_->setObjectName("CBSpeed");
  cbSpeed_->setFocusPolicy(Qt::NoFocus);
  cbSpeed_->setToolTip(QtText(UiText(1222)));
  for (int id : {1223, 1224, 1225}) cbSpeed_->addItem(QtText(UiText(id)));
  connect(cbSpeed_, &QComboBox::currentIndexChanged, this,
          [this](int index) { player_.SetSpeedIndex(index); });
  playTimer_ = new QTimer(this);
  playTimer_->setInterval(HistoryPlayer::kTickMilliseconds);
  connect(playTimer_, &QTimer::timeout, this, [this] { PlayTick(); });
  w_.ScrollBar1->installEventFilter(this);
  btnPlay_->setVisible(w_.ScrollBar1->isVisibleTo(bar));
  cbSpeed_->setVisible(w_.ScrollBar1->isVisibleTo(bar));
  ShowPlayState();
}

LiveMonitor::~LiveMonitor() = default;

ReadingsConfig LiveMonitor::Config(Page page) const {
  return ReadingsConfig::From(hooks_.parameters(), page, hooks_.service());
}

TraceSettings LiveMonitor::Traces() const {
  TraceSettings t;
  for (int i = 0; i < kChannelCount; ++i)
    t.ticked[static_cast<std::size_t>(i)] = w_.checks[static_cast<std::size_t>(i)]->isChecked();
  t.colours = colours_;
  return t;
}

// ---------------------------------------------------------------------------------------
// Readings grid

void LiveMonitor::SetCell(int column, int row, const std::string& text) {
  QTableWidget* grid = w_.Grid;
  if (row == 0) {
    if (auto* item = grid->horizontalHeaderItem(column)) item->setText(QtText(text));
    return;
  }
  const int tableRow = row - 1;
  if (tableRow >= grid->rowCount() || column >= grid->columnCount()) return;
  QTableWidgetItem* item = grid->item(tableRow, column);
  if (!item) {
    if (text.empty()) return;
    grid->setItem(tableRow, column, item = new QTableWidgetItem);
  }
  item->setText(QtText(text));
}

std::string LiveMonitor::CellText(int column, int row) const {
  const QTableWidgetItem* item =
      row == 0 ? w_.Grid->horizontalHeaderItem(column) : w_.Grid->item(row - 1, column);
  return item ? item->text().toStdString() : std::string();
}

void LiveMonitor::SetGauge(int gauge, int value) {
  w_.gauges[static_cast<std::size_t>(gauge)]->SetProgress(value);
}

void LiveMonitor::LayoutReadings(bool show, int rowHeight, int rowsVisible) {
  laying_ = true;
  QTableWidget* grid = w_.Grid;
  const Page page = hooks_.page();
  shown_ = show;
  rowHeight_ = rowHeight;
  rowsVisible_ = rowsVisible;
  grid->setVisible(show);
  HideOverlays();
  if (!show) {
    laying_ = false;
    return;
  }

  config_ = Config(page);
  if (const auto range = LambdaGaugeRange(config_.lambdaType))
    w_.gauges[kGaugeLam]->SetRange(range->first, range->second);
  kinds_ = BuildReadingRowKinds(config_);

  const int needed = ReadingRowsNeeded(config_);
  const int columnWidth = grid->columnWidth(0);
  int rows = rowsVisible;
  int column2 = columnWidth + kReadingsScrollBarRoom;
  if (rowsVisible < needed) {
    rows = needed;
    column2 = columnWidth;
  }
  grid->setRowCount(std::max(0, rows - 1));
  grid->setColumnWidth(2, column2);
  grid->horizontalHeader()->setFixedHeight(rowHeight + 1);
  grid->clearContents();
  for (int c = 0; c < 4; ++c) SetCell(c, 0, "");
  if (grid->rowCount() > 0) grid->setCurrentCell(0, 2);

  if (page == Page::Parameters) SetCell(0, 0, UiText(201));
  if (page == Page::Configuration) {
    SetCell(0, 0, UiText(202));
    SetCell(1, 0, UiText(203));
    SetCell(3, 0, UiText(204));
  }
  if (page == Page::Port) {
    SetCell(0, 0, UiText(205));
    SetCell(1, 0, UiText(206));
    SetCell(3, 0, UiText(207));
  }
  for (int row = 1; row < kReadingKindRows; ++row)
    if (const int label = LabelIdOfKind(kinds_[static_cast<std::size_t>(row)]))
      SetCell(0, row, UiText(label));
  FitColumns(page, rows > rowsVisible);
  PlaceOverlays();
  laying_ = false;
}

bool LiveMonitor::LayoutOutdated() const { return shown_ && !(Config(hooks_.page()) == config_); }

// The design's widths are too narrow for some texts in the fonts at hand: the label and value
// columns, the status texts and the probe alarm take what they need from the check column's
// and the bars' spare room. Every text the page can show counts, so that the columns stay put
// while the values change.
void LiveMonitor::FitColumns(Page page, bool scrolling) {
  QTableWidget* grid = w_.Grid;
  const QFontMetrics cell(grid->font());
  const QFontMetrics header(grid->horizontalHeader()->font());
  auto need = [](const QFontMetrics& m, const std::string& text) {
    return m.horizontalAdvance(QtText(text).trimmed()) + kCellTextPadding;
  };
  auto widestOf = [&](const QFontMetrics& m, std::initializer_list<int> ids) {
    int widest = 0;
    for (int id : ids) widest = std::max(widest, need(m, UiText(id)));
    return widest;
  };
  std::array<int, 4> needs{0, 0, kNarrowestGaugeColumn, kCheckColumnRoom};
  for (int c = 0; c < 4; ++c)
    needs[static_cast<std::size_t>(c)] =
        std::max(needs[static_cast<std::size_t>(c)], need(header, CellText(c, 0)));
  for (int row = 1; row < kReadingKindRows; ++row) {
    const int kind = kinds_[static_cast<std::size_t>(row)];
    needs[0] = std::max(needs[0], need(cell, CellText(0, row)));
    needs[1] = std::max({needs[1], need(cell, CellText(1, row)), need(cell, WidestReadingText(kind))});
  }
  if (page == Page::Parameters) {
    needs[1] = std::max(needs[1], widestOf(header, {160, 161, 162, 163, 164}));
    needs[2] = std::max(needs[2], widestOf(header, {170, 171}));
    // The probe alarm stands over column 2, three pixels narrower, and wants a margin.
    const QFontMetrics alarm(w_.PanelErr->font());
    for (int id : {172, 173})
      needs[2] = std::max(needs[2], alarm.horizontalAdvance(QtText(UiText(id))) + kPanelErrRoom);
    needs[3] = std::max(needs[3], widestOf(header, {142, 143, 144}));
  }
  const int scrollBar = scrolling ? grid->verticalScrollBar()->sizeHint().width() : 0;
  const int frame = 2 * grid->frameWidth();
  gridNeed_ = needs[0] + needs[1] + needs[2] + needs[3] + frame + scrollBar;
  std::array<int, 4> widths{};
  for (int c = 0; c < 4; ++c) widths[static_cast<std::size_t>(c)] = grid->columnWidth(c);
  const std::array<int, 4> fitted = FitReadingColumns(widths, needs, grid->width() - frame - scrollBar);
  for (int c = 0; c < 4; ++c) grid->setColumnWidth(c, fitted[static_cast<std::size_t>(c)]);
}

// The grid scrolls by whole rows: the scroll position is the first scrolled row in view.
int LiveMonitor::TopRow() const { return w_.Grid->verticalScrollBar()->value() + 1; }

void LiveMonitor::HideOverlays() {
  for (TCGauge* gauge : w_.gauges)
    if (gauge != w_.gauges[kGaugeLam]) gauge->hide();
  if (hooks_.page() != Page::Map) w_.PanelLam->hide();  // the map page shows the lambda bar alone
  for (QWidget* widget : {static_cast<QWidget*>(w_.CBReg), static_cast<QWidget*>(w_.PanelErr),
                          static_cast<QWidget*>(w_.PanelAuto)})
    widget->hide();
  for (int i = 0; i < kChannelCount; ++i) {
    w_.checks[static_cast<std::size_t>(i)]->hide();
    w_.swatches[static_cast<std::size_t>(i)]->hide();
  }
}

void LiveMonitor::PlaceOverlays() {
  QTableWidget* grid = w_.Grid;
  ReadingsGeometry g;
  g.rowHeight = rowHeight_;
  g.rowsVisible = rowsVisible_;
  g.topRow = TopRow();
  g.gridTop = grid->y();
  g.gridLeft = grid->x();
  for (int c = 0; c < 3; ++c) g.columnWidths[static_cast<std::size_t>(c)] = grid->columnWidth(c);

  for (int row = 1; row < kReadingKindRows; ++row) {
    const int kind = kinds_[static_cast<std::size_t>(row)];
    const int gauge = GaugeOfKind(kind);
    const int channel = ChannelOfKind(kind);
    if (gauge < 0 && channel < 0) continue;
    const RowOverlays o = PlaceRowOverlays(row, g);
    if (!o.visible) continue;
    QWidget* panel = nullptr;
    if (kind == kRam)
      panel = w_.CBReg;
    else if (gauge == kGaugeLam)
      panel = w_.PanelLam;
    else if (gauge >= 0)
      panel = w_.gauges[static_cast<std::size_t>(gauge)];
    if (panel) {
      PlaceWidget(panel, o.gauge);
      panel->show();
      panel->raise();
    }
    if (channel >= 0) {
      QCheckBox* check = w_.checks[static_cast<std::size_t>(channel)];
      check->move(o.checkLeft, o.checkTop);
      check->show();
      check->raise();
      QFrame* swatch = w_.swatches[static_cast<std::size_t>(channel)];
      swatch->move(o.swatchLeft, o.swatchTop);
      swatch->show();
      swatch->raise();
    }
  }
  PlaceWidget(w_.PanelErr, PanelErrRect(g));
  PlaceWidget(w_.PanelAuto, PanelAutoRect(g));
  w_.PanelErr->raise();
  w_.PanelAuto->raise();
}

void LiveMonitor::ShowRecord(const LiveReadings& r, bool refreshCells) {
  const ReadingsConfig c = Config(Page::Parameters);
  if (refreshCells && shown_ && hooks_.page() == Page::Parameters) {
    const StatusTexts status = StatusRowTexts(r);
    SetCell(1, 0, status.regulation);
    SetCell(2, 0, status.mixture);
    SetCell(3, 0, status.fuel);
    w_.PanelErr->setText(QtText(status.probeError));
    w_.PanelErr->setVisible(!status.probeError.empty());
    for (int row = 1; row < kReadingKindRows; ++row) {
      const int kind = kinds_[static_cast<std::size_t>(row)];
      if (kind == kNone) continue;
      if (kind == kTps) {
        const std::int32_t colour = colours_[kChTps];
        w_.gauges[kGaugeTps]->SetForeColor((r[1] & 0x20) ? DimmedColour(colour) : colour);
      }
      if (const auto value = ReadingGaugeValue(kind, r, c); value && GaugeOfKind(kind) >= 0)
        SetGauge(GaugeOfKind(kind), *value);
      // No register chosen in the list: the register row has no value to show.
      const bool noRegister = kind == kRam && w_.CBReg->currentIndex() < 0;
      SetCell(1, row, noRegister ? std::string() : ReadingCellText(kind, r));
    }
  }
  if (refreshCells) {
    lines_[0] = CutToCharacters(ReadingCellText(kRpm, r), kMagnifierLineChars);
    lines_[1] = CutToCharacters(ReadingCellText(kMotor, r), kMagnifierLineChars);
  }
  TraceRecord(r);
}

void LiveMonitor::TraceRecord(const LiveReadings& r) {
  const ReadingsConfig c = Config(Page::Parameters);
  PerformanceGraph& g = w_.Graph1->Graph();
  for (const GraphPoint& p : RecordTracePoints(r, BuildReadingRowKinds(c), c, Traces()))
    g.DataPoint(p.colour, p.value);
  g.Update();
}

void LiveMonitor::TraceView(const std::vector<TracePoint>& points) {
  PerformanceGraph& g = w_.Graph1->Graph();
  g.DataPoint(kColourBlack, kScaleMarkValue);
  for (const TracePoint& p : points) {
    const auto channel = static_cast<std::size_t>(p.channel);
    if (w_.checks[channel]->isChecked()) g.DataPoint(colours_[channel], p.value);
  }
  g.Update();
}

void LiveMonitor::ShowConfiguration(const ConfigurationView& v, bool hideSpeed) {
  if (shown_ && hooks_.page() == Page::Configuration) {
    SetGauge(kGaugeRpm, v.rpmGauge);
    SetCell(1, 1, hideSpeed ? "---" : v.rpmText);
    SetGauge(kGaugeLam, v.lamGauge);
    SetCell(1, 2, v.lambdaText);
    SetGauge(kGaugeTps, v.tpsGauge);
    SetCell(1, 3, v.tpsText);
    SetGauge(kGaugeMot, v.motGauge);
    SetCell(1, 4, v.motorText);
  }
  lines_[0] = CutToCharacters(hideSpeed ? "---" : v.rpmText, kMagnifierLineChars);
  lines_[1] = CutToCharacters(v.motorText, kMagnifierLineChars);
  TraceView(v.points);
}

void LiveMonitor::ShowPortView(const PortView& v) {
  if (shown_ && hooks_.page() == Page::Port) {
    for (int row = 1; row <= 8; ++row) SetCell(1, row, v.voltageTexts[static_cast<std::size_t>(row - 1)]);
    SetGauge(kGaugeLam, v.lamGauge);
    SetGauge(kGaugeTps, v.tpsGauge);
    SetGauge(kGaugePsi, v.psiGauge);
  }
  TraceView(v.points);
}

void LiveMonitor::ShowMapReadings(const MapColumnView& v) {
  SetGauge(kGaugeLam, v.lamGauge);
  if (MagnifierShown()) SetMagnifierTexts(v.rpmText, v.vacuumText);
}

void LiveMonitor::GridMouseMove(int x, int y) {
  QTableWidget* grid = w_.Grid;
  const int h = rowHeight_;
  const int column = x > grid->columnWidth(0) ? 1 : 0;
  const int top = TopRow();
  const int row = top + y / (h + 1) - 1;
  if (row != hintRow_ || column != hintColumn_) hintDismissed_ = false;
  hintRow_ = row;
  hintColumn_ = column;
  const std::string text = row > 0 ? CellText(column, row) : std::string();
  const QFontMetrics metrics(grid->font());
  const int textWidth = metrics.horizontalAdvance(QtText(text));
  if (row <= 0 || text.empty() || hintDismissed_ || textWidth <= grid->columnWidth(column) - 2) {
    w_.PanelHint->hide();
    return;
  }
  const int cellTop = (row - top + 1) * (h + 1);
  const int cellLeft = column == 1 ? grid->columnWidth(0) : 0;
  w_.PanelHint->setGeometry(grid->x() + cellLeft + 3, grid->y() + cellTop + 2, textWidth + 4, h);
  w_.PanelHint->setText(QtText(text));
  w_.PanelHint->show();
  w_.PanelHint->raise();
}

void LiveMonitor::HideHint() { w_.PanelHint->hide(); }

bool LiveMonitor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == w_.Grid->viewport() && event->type() == QEvent::MouseMove) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    GridMouseMove(mouse->position().toPoint().x(),
                  mouse->position().toPoint().y() + w_.Grid->horizontalHeader()->height());
  } else if (watched == w_.PanelHint && event->type() == QEvent::MouseButtonPress) {
    w_.PanelHint->hide();
    hintDismissed_ = true;
    return true;
  } else if (watched == w_.ScrollBar1 &&
             (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)) {
    const bool shown = event->type() == QEvent::ShowToParent;
    btnPlay_->setVisible(shown);
    cbSpeed_->setVisible(shown);
  } else if (watched == w_.PanelLam && event->type() == QEvent::Resize) {
    w_.gauges[kGaugeLam]->setGeometry(0, 0, w_.PanelLam->width(), w_.PanelLam->height());
  } else if (event->type() == QEvent::MouseButtonPress) {
    for (int i = 0; i < kChannelCount; ++i)
      if (watched == w_.swatches[static_cast<std::size_t>(i)]) {
        SwatchClick(i);
        return true;
      }
  }
  return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------
// Oscilloscope

void LiveMonitor::SetRunning(bool running) {
  running_ = running;
  w_.BtnScope->setText(running ? "STOP" : "START");
  w_.BtnScope->setProperty("tag", running ? 1 : 0);
}

void LiveMonitor::BtnScopeClick() {
  PausePlay();
  const QSignalBlocker block(w_.ScrollBar1);
  if (running_) {
    SetRunning(false);
    w_.ScrollBar1->setValue(kLastRecord);
    w_.ScrollBar1->show();
    history_.ToTimeOrder();
  } else {
    SetRunning(true);
    w_.ScrollBar1->setValue(kLastRecord);
    w_.ScrollBar1->hide();
  }
}

void LiveMonitor::ScrollBar1Change(int p) {
  if (running_ || hooks_.page() != Page::Parameters) return;
  p = std::clamp(p, 0, kLastRecord);
  player_.Scrolled(p);  // a position the player did not set pauses it
  if (!player_.Playing() && playTimer_->isActive()) PausePlay();
  const QSignalBlocker block(w_.CBReg);
  w_.CBReg->setCurrentIndex(history_.At(p)[0]);
  w_.Graph1->hide();
  dialogs_.SetBusyCursor(true);
  PerformanceGraph& g = w_.Graph1->Graph();
  const ScrollPlan plan = PlanHistoryScroll(p, g.Width(), g.StepSize());
  for (int i = 0; i < plan.emptySteps; ++i) g.Update();
  for (int i = plan.firstRecord; i < p; ++i) TraceRecord(history_.At(i));
  ShowRecord(history_.At(p), true);
  dialogs_.SetBusyCursor(false);
  w_.Graph1->show();
  w_.LabelTim->setText(QtText(FormatFixed((p + 1) * 0.1, 1) + " s"));
}

void LiveMonitor::UpDownXChanging() {
  const int position = std::clamp(w_.UpDownX->value(), 1, 10);
  PerformanceGraph& g = w_.Graph1->Graph();
  g.SetStepSize(position);
  w_.LabelXScope->setText(QtText(FormatFixed(g.GridSize() * 100 / position, 0) + "ms/dz"));
}

void LiveMonitor::BtnGridClick() {
  PerformanceGraph& g = w_.Graph1->Graph();
  g.SetGridlines(!g.Gridlines());
}

void LiveMonitor::ApplyColours() {
  for (int i = 0; i < kChannelCount; ++i) {
    QFrame* swatch = w_.swatches[static_cast<std::size_t>(i)];
    QPalette p = swatch->palette();
    p.setColor(QPalette::Window, PlatformColour(colours_[static_cast<std::size_t>(i)]));
    swatch->setPalette(p);
    swatch->setAutoFillBackground(true);
  }
  w_.gauges[kGaugeRpm]->SetForeColor(colours_[kChRpm]);
  w_.gauges[kGaugeTps]->SetForeColor(colours_[kChTps]);
  w_.gauges[kGaugeMot]->SetForeColor(colours_[kChMot]);
  w_.gauges[kGaugeDef]->SetForeColor(colours_[kChDef]);
  w_.gauges[kGaugePsi]->SetForeColor(colours_[kChPsi]);
  w_.gauges[kGaugeLam]->SetBackColor(colours_[kChLam]);
  w_.gauges[kGaugeLam]->SetForeColor(RotatedColour(colours_[kChLam]));
}

void LiveMonitor::SwatchClick(int channel) {
  auto& colour = colours_[static_cast<std::size_t>(channel)];
  if (const auto chosen = dialogs_.AskColour(colour)) colour = MakeDistinctColour(*chosen, colours_);
  ApplyColours();
}

void LiveMonitor::ResetColours() {
  colours_ = kInitialColours;
  ApplyColours();
}

void LiveMonitor::ScopeCursorMoved(int cursor) {
  w_.LabelTim->setText(QtText(FormatFixed(cursor * 0.1, 1) + " s"));
}

// ---------------------------------------------------------------------------------------
// Playing the history back

namespace {

// Where a history's data begin: the first record that is not all zero (0 when none is).
int FirstRecordWithData(const ReadingHistory& history) {
  for (int i = 0; i <= kLastRecord; ++i) {
    const LiveReadings& r = history.At(i);
    if (std::any_of(r.begin(), r.end(), [](std::uint8_t b) { return b != 0; })) return i;
  }
  return 0;
}

}  // namespace

void LiveMonitor::PlaceHistoryBar(int left, int top, int width, int height) {
  const int speedWidth = 52, playWidth = height + 8;
  const int barWidth = std::max(0, width - speedWidth - playWidth);
  w_.ScrollBar1->setGeometry(left, top, barWidth, height);
  btnPlay_->setGeometry(left + barWidth, top, playWidth, height);
  cbSpeed_->setGeometry(left + barWidth + playWidth, top, speedWidth, height);
  // Their hints in the language of the moment: a change of language lays the window out.
  cbSpeed_->setToolTip(QtText(UiText(1222)));
  ShowPlayState();
}

void LiveMonitor::ShowPlayState() {
  const bool playing = player_.Playing();
  btnPlay_->setIcon(btnPlay_->style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
  btnPlay_->setToolTip(QtText(UiText(playing ? 1221 : 1220)));
  btnPlay_->setProperty("playing", playing);
}

void LiveMonitor::PausePlay() {
  player_.Pause();
  playTimer_->stop();
  ShowPlayState();
}

// The history is page 1's: the player drives the oscilloscope there only, and leaving the
// page pauses it (pages 2 and 4 trace their own replies in the same graph).
void LiveMonitor::PageLeft(Page page) {
  if (page == Page::Parameters) PausePlay();
}

void LiveMonitor::PlayClick() {
  if (running_ || hooks_.page() != Page::Parameters) return;  // only a stopped history plays
  player_.Toggle(w_.ScrollBar1->value(), FirstRecordWithData(history_));
  if (!player_.Playing()) {
    PausePlay();
    return;
  }
  if (player_.Position() != w_.ScrollBar1->value()) {  // starting again from the beginning
    const QSignalBlocker block(w_.ScrollBar1);
    w_.ScrollBar1->setValue(player_.Position());
    ScrollBar1Change(player_.Position());
  }
  playTimer_->start();
  ShowPlayState();
}

void LiveMonitor::PlayTick() {
  if (hooks_.page() != Page::Parameters) return PausePlay();
  const std::optional<int> position = player_.Tick();
  if (position) {
    // The scroll bar moves and everything it updates follows, as if it had been moved.
    const QSignalBlocker block(w_.ScrollBar1);
    w_.ScrollBar1->setValue(*position);
    ScrollBar1Change(*position);
  }
  if (!player_.Playing()) PausePlay();
}

// ---------------------------------------------------------------------------------------
// Magnifier

bool LiveMonitor::MagnifierShown() const { return magnifier_ && magnifier_->Shown(); }

void LiveMonitor::BtnLupClick() {
  if (MagnifierShown()) {
    magnifier_->hide();
    return;
  }
  if (!magnifier_) {
    magnifier_ = new TForm2(w_.window, &lines_);
    magnifier_->setAttribute(Qt::WA_ShowWithoutActivating);
  }
  magnifier_->move(w_.window->x() + 10, w_.window->y() + 70);
  magnifier_->show();
  magnifier_->TimerTimer();
  w_.window->activateWindow();
}

void LiveMonitor::CloseMagnifier() {
  if (MagnifierShown()) magnifier_->hide();
}

void LiveMonitor::SetMagnifierTexts(const std::string& first, const std::string& second) {
  lines_[0] = CutToCharacters(first, kMagnifierLineChars);
  lines_[1] = CutToCharacters(second, kMagnifierLineChars);
}

// ---------------------------------------------------------------------------------------
// Recording files

std::string LiveMonitor::ProposedName(const char* extension) const {
  const QTime now = QTime::currentTime();
  std::string name = RecordingName(hooks_.filePrefix(), now.hour(), now.minute());
  if (std::string(extension) != ".orvv") name = name.substr(0, name.size() - 5) + extension;
  return name;
}

void LiveMonitor::BtnSaveVisClick() {
  SaveRecordingThroughDialog(dialogs_, hooks_, history_, ProposedName(".orvv"));
}

void LiveMonitor::BtnOpenVisClick(const std::optional<std::string>& named) {
  PausePlay();
  if (!OpenRecordingThroughDialog(dialogs_, hooks_, history_, named)) return;
  SetRunning(false);
  w_.Graph1->Graph().Update();
  w_.ScrollBar1->show();
  w_.ScrollBar1->setValue(kLastRecord - 1);
  w_.ScrollBar1->setValue(kLastRecord);
}

void LiveMonitor::HistoryAboutToWrap() {
  // The first sample after start, after opening a recording or after a stop also moves the
  // cursor to 0: the ring is saved when it holds live samples no file has yet.
  if (!history_.HasUnsavedSamples() || !hooks_.autoSave()) return;
  const std::string failure =
      AutoSaveRecording(hooks_, history_, hooks_.recordingFolder(), ProposedName(".orvv"));
  // The box waits outside the transmit tick that wrapped the ring: while it is open the
  // polls, the samples and the watch over the link go on.
  if (!failure.empty())
    QTimer::singleShot(0, this, [this, failure] { dialogs_.ShowMessage(failure, MessageButtons::Ok); });
}

void LiveMonitor::ExportCsv() {
  ExportCsvThroughDialog(dialogs_, hooks_, history_, ProposedName(".csv"),
                         [this] { return running_ ? history_.ScopeCursor() + 1 : 0; });
}
