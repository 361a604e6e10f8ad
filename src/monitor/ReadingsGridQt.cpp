#include "monitor/ReadingsGridQt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableWidget>
#include <algorithm>

#include "base/GridFitQt.h"
#include "base/TextQt.h"
#include "base/UiText.h"
#include "base/UserDialogs.h"
#include "monitor/CGaugeQt.h"
#include "monitor/PlatformColourQt.h"

using namespace row_kind;

namespace {

// PanelErr is three pixels narrower than column 2; its text wants a little margin besides.
constexpr int kPanelErrRoom = 3 + 2;
// Channel order of the arrays: RPM, LAM, SIM, TPS, MOT, DEF, PSI, RAM.
constexpr const char* kChannelObjectNames[kChannelCount] = {"RPM", "LAM", "SIM", "TPS",
                                                            "MOT", "DEF", "PSI", "Ram"};
constexpr const char* kGaugeObjectNames[kGaugeCount] = {"CGRpm", "CGLam", "CGTps", "CGMot", "CGDef", "CGPsi"};

void PlaceOverlay(QWidget* widget, const OverlayRect& r) {
  widget->setGeometry(r.left, r.top, r.width, r.height);
}

void PlaceOverlay(QWidget* widget, const MonitorArea& a) {
  widget->setVisible(a.visible);
  if (a.visible) widget->setGeometry(a.left, a.top, a.width, a.height);
}

}  // namespace

ReadingsGrid::ReadingsGrid(QWidget* parent, QLabel* hint, Context context, UserDialogs& dialogs,
                           std::array<std::int32_t, kChannelCount>& colours)
    : context_(std::move(context)), dialogs_(dialogs), colours_(colours), hint_(hint) {
  grid_ = new QTableWidget(1, 4, parent);
  grid_->setObjectName("Grid");
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  cbReg_ = new QComboBox(parent);
  cbReg_->setObjectName("CBReg");
  cbReg_->hide();
  connect(cbReg_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (registerChosen) registerChosen(index);
  });
  panelAuto_ = new QLabel(parent);
  panelAuto_->setObjectName("PanelAuto");
  panelAuto_->hide();
  panelErr_ = new QLabel(parent);
  panelErr_->setObjectName("PanelErr");
  panelErr_->hide();
  panelLam_ = new QWidget(parent);
  panelLam_->setObjectName("PanelLam");
  panelLam_->hide();
  for (int i = 0; i < kChannelCount; ++i) {
    auto* check = checks_[static_cast<std::size_t>(i)] = new QCheckBox(parent);
    check->setObjectName(QString("CheckBox") + kChannelObjectNames[i]);
    check->hide();
    auto* swatch = swatches_[static_cast<std::size_t>(i)] = new QFrame(parent);
    swatch->setObjectName(QString("Pa") + QString(kChannelObjectNames[i]).toUpper());
    swatch->setAutoFillBackground(true);
    swatch->resize(14, 14);
    swatch->hide();
  }
  for (int i = 0; i < kGaugeCount; ++i) {
    auto* gauge = gauges_[static_cast<std::size_t>(i)] = new TCGauge(parent);
    gauge->setObjectName(kGaugeObjectNames[i]);
    gauge->hide();
  }

  QHeaderView* header = grid_->horizontalHeader();
  header->setSectionResizeMode(QHeaderView::Fixed);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setHighlightSections(false);
  grid_->setStyleSheet(
      "QTableWidget#Grid{background:rgb(207,207,207)}"
      "QTableWidget#Grid QHeaderView::section{background:rgb(207,207,207);border:0;"
      "border-bottom:1px solid gray}"
      "QTableWidget#Grid::item{border-bottom:1px solid gray}");
  grid_->setShowGrid(false);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  for (int c = 0; c < 4; ++c) grid_->setHorizontalHeaderItem(c, new QTableWidgetItem);
  grid_->viewport()->setMouseTracking(true);
  grid_->viewport()->installEventFilter(this);
  connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
    // The grid's top row changed: the overlays follow their rows.
    if (shown_ && !laying_) {
      HideOverlays();
      PlaceOverlays();
    }
  });
  hint_->installEventFilter(this);
  panelErr_->setAlignment(Qt::AlignCenter);
  panelErr_->setStyleSheet("QLabel#PanelErr{background:red;color:white}");
  panelAuto_->setAlignment(Qt::AlignCenter);

  // CGLam lives in PanelLam, which the map page shows on its own.
  gauges_[kGaugeLam]->setParent(panelLam_);
  gauges_[kGaugeLam]->show();
  panelLam_->installEventFilter(this);
  for (TCGauge* gauge : gauges_) {
    gauge->SetShowText(false);
    gauge->SetRange(0, gauge == gauges_[kGaugeRpm] ? 100 : 255);
  }
  for (int i = 0; i < kChannelCount; ++i) {
    QCheckBox* check = checks_[static_cast<std::size_t>(i)];
    QPalette p = check->palette();
    p.setColor(QPalette::Window, QColor(207, 207, 207));
    check->setPalette(p);
    check->setAutoFillBackground(true);
    check->resize(16, 16);
    swatches_[static_cast<std::size_t>(i)]->installEventFilter(this);
    swatches_[static_cast<std::size_t>(i)]->setCursor(Qt::PointingHandCursor);
  }
}

ReadingsConfig ReadingsGrid::Config(Page page) const {
  return ReadingsConfig::From(context_.parameters(), page, context_.service());
}

TraceSettings ReadingsGrid::Traces() const {
  TraceSettings t;
  for (int i = 0; i < kChannelCount; ++i) t.ticked[static_cast<std::size_t>(i)] = Ticked(i);
  t.colours = colours_;
  return t;
}

bool ReadingsGrid::Ticked(int channel) const {
  return checks_[static_cast<std::size_t>(channel)]->isChecked();
}

void ReadingsGrid::SetTicked(int channel, bool ticked) {
  checks_[static_cast<std::size_t>(channel)]->setChecked(ticked);
}

bool ReadingsGrid::Visible() const { return grid_->isVisible(); }

int ReadingsGrid::RegisterChoice() const { return cbReg_->currentIndex(); }

void ReadingsGrid::ChooseRegister(int index) {
  {
    const QSignalBlocker block(cbReg_);
    cbReg_->setCurrentIndex(index);
  }
  if (registerChosen) registerChosen(cbReg_->currentIndex());
}

void ReadingsGrid::Layout(const MonitorLayout& L) {
  PlaceOverlay(grid_, L.grid);
  if (L.grid.visible) {
    for (int c = 0; c < 4; ++c) grid_->setColumnWidth(c, L.gridColumnWidth);
    grid_->verticalHeader()->setDefaultSectionSize(L.gridRowHeight + 1);
    grid_->setRowCount(std::max(1, L.readingRowsVisible));
  }
  PlaceOverlay(panelLam_, L.panelLam);
}

void ReadingsGrid::ApplyTpsColour() { gauges_[kGaugeTps]->SetForeColor(colours_[kChTps]); }

void ReadingsGrid::ShowRecordCells(const LiveReadings& r) {
  if (!shown_ || context_.page() != Page::Parameters) return;
  const ReadingsConfig c = Config(Page::Parameters);
  const StatusTexts status = StatusRowTexts(r);
  SetCell(1, 0, status.regulation);
  SetCell(2, 0, status.mixture);
  SetCell(3, 0, status.fuel);
  panelErr_->setText(QtText(status.probeError));
  panelErr_->setVisible(!status.probeError.empty());
  for (int row = 1; row < kReadingKindRows; ++row) {
    const int kind = kinds_[static_cast<std::size_t>(row)];
    if (kind == kNone) continue;
    if (kind == kTps) {
      const std::int32_t colour = colours_[kChTps];
      gauges_[kGaugeTps]->SetForeColor((r[1] & 0x20) ? DimmedColour(colour) : colour);
    }
    if (const auto value = ReadingGaugeValue(kind, r, c); value && GaugeOfKind(kind) >= 0)
      SetGauge(GaugeOfKind(kind), *value);
    // No register chosen in the list: the register row has no value to show.
    const bool noRegister = kind == kRam && cbReg_->currentIndex() < 0;
    SetCell(1, row, noRegister ? std::string() : ReadingCellText(kind, r));
  }
}

void ReadingsGrid::ShowConfigurationCells(const ConfigurationView& v, bool hideSpeed) {
  if (!shown_ || context_.page() != Page::Configuration) return;
  SetGauge(kGaugeRpm, v.rpmGauge);
  SetCell(1, 1, hideSpeed ? "---" : v.rpmText);
  SetGauge(kGaugeLam, v.lamGauge);
  SetCell(1, 2, v.lambdaText);
  SetGauge(kGaugeTps, v.tpsGauge);
  SetCell(1, 3, v.tpsText);
  SetGauge(kGaugeMot, v.motGauge);
  SetCell(1, 4, v.motorText);
}

void ReadingsGrid::ShowPortCells(const PortView& v) {
  if (!shown_ || context_.page() != Page::Port) return;
  for (int row = 1; row <= 8; ++row) SetCell(1, row, v.voltageTexts[static_cast<std::size_t>(row - 1)]);
  SetGauge(kGaugeLam, v.lamGauge);
  SetGauge(kGaugeTps, v.tpsGauge);
  SetGauge(kGaugePsi, v.psiGauge);
}

void ReadingsGrid::ShowLambda(int gauge) { SetGauge(kGaugeLam, gauge); }

void ReadingsGrid::ShowAutoMessage(const std::string& text, const QFont& windowFont) {
  constexpr int kSmallestPointSize = 6;
  constexpr int kMargin = 4;
  panelAuto_->setText(QtText(text));
  QFont f = windowFont;
  while (f.pointSize() > kSmallestPointSize &&
         QFontMetrics(f).horizontalAdvance(panelAuto_->text()) > panelAuto_->width() - kMargin)
    f.setPointSize(f.pointSize() - 1);
  panelAuto_->setFont(f);
  panelAuto_->show();
}

void ReadingsGrid::HideAutoMessage() { panelAuto_->hide(); }

bool ReadingsGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_->viewport() && event->type() == QEvent::MouseMove) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    GridMouseMove(mouse->position().toPoint().x(),
                  mouse->position().toPoint().y() + grid_->horizontalHeader()->height());
  } else if (watched == hint_ && event->type() == QEvent::MouseButtonPress) {
    hint_->hide();
    hintDismissed_ = true;
    return true;
  } else if (watched == panelLam_ && event->type() == QEvent::Resize) {
    gauges_[kGaugeLam]->setGeometry(0, 0, panelLam_->width(), panelLam_->height());
  } else if (event->type() == QEvent::MouseButtonPress) {
    for (int i = 0; i < kChannelCount; ++i)
      if (watched == swatches_[static_cast<std::size_t>(i)]) {
        SwatchClick(i);
        return true;
      }
  }
  return QObject::eventFilter(watched, event);
}

void ReadingsGrid::SetCell(int column, int row, const std::string& text) {
  QTableWidget* grid = grid_;
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

std::string ReadingsGrid::CellText(int column, int row) const {
  const QTableWidgetItem* item =
      row == 0 ? grid_->horizontalHeaderItem(column) : grid_->item(row - 1, column);
  return item ? item->text().toStdString() : std::string();
}

void ReadingsGrid::SetGauge(int gauge, int value) {
  gauges_[static_cast<std::size_t>(gauge)]->SetProgress(value);
}

void ReadingsGrid::LayoutReadings(bool show, int rowHeight, int rowsVisible) {
  laying_ = true;
  QTableWidget* grid = grid_;
  const Page page = context_.page();
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
    gauges_[kGaugeLam]->SetRange(range->first, range->second);
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

bool ReadingsGrid::LayoutOutdated() const { return shown_ && !(Config(context_.page()) == config_); }

// The design's widths are too narrow for some texts in the fonts at hand: the label and value
// columns, the status texts and the probe alarm take what they need from the check column's
// and the bars' spare room. Every text the page can show counts, so that the columns stay put
// while the values change.
void ReadingsGrid::FitColumns(Page page, bool scrolling) {
  QTableWidget* grid = grid_;
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
    const QFontMetrics alarm(panelErr_->font());
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
int ReadingsGrid::TopRow() const { return grid_->verticalScrollBar()->value() + 1; }

void ReadingsGrid::HideOverlays() {
  for (TCGauge* gauge : gauges_)
    if (gauge != gauges_[kGaugeLam]) gauge->hide();
  if (context_.page() != Page::Map) panelLam_->hide();  // the map page shows the lambda bar alone
  for (QWidget* widget :
       {static_cast<QWidget*>(cbReg_), static_cast<QWidget*>(panelErr_), static_cast<QWidget*>(panelAuto_)})
    widget->hide();
  for (int i = 0; i < kChannelCount; ++i) {
    checks_[static_cast<std::size_t>(i)]->hide();
    swatches_[static_cast<std::size_t>(i)]->hide();
  }
}

void ReadingsGrid::PlaceOverlays() {
  QTableWidget* grid = grid_;
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
      panel = cbReg_;
    else if (gauge == kGaugeLam)
      panel = panelLam_;
    else if (gauge >= 0)
      panel = gauges_[static_cast<std::size_t>(gauge)];
    if (panel) {
      PlaceOverlay(panel, o.gauge);
      panel->show();
      panel->raise();
    }
    if (channel >= 0) {
      QCheckBox* check = checks_[static_cast<std::size_t>(channel)];
      check->move(o.checkLeft, o.checkTop);
      check->show();
      check->raise();
      QFrame* swatch = swatches_[static_cast<std::size_t>(channel)];
      swatch->move(o.swatchLeft, o.swatchTop);
      swatch->show();
      swatch->raise();
    }
  }
  PlaceOverlay(panelErr_, PanelErrRect(g));
  PlaceOverlay(panelAuto_, PanelAutoRect(g));
  panelErr_->raise();
  panelAuto_->raise();
}

void ReadingsGrid::GridMouseMove(int x, int y) {
  QTableWidget* grid = grid_;
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
    hint_->hide();
    return;
  }
  const int cellTop = (row - top + 1) * (h + 1);
  const int cellLeft = column == 1 ? grid->columnWidth(0) : 0;
  hint_->setGeometry(grid->x() + cellLeft + 3, grid->y() + cellTop + 2, textWidth + 4, h);
  hint_->setText(QtText(text));
  hint_->show();
  hint_->raise();
}

void ReadingsGrid::HideHint() { hint_->hide(); }

void ReadingsGrid::ApplyColours() {
  for (int i = 0; i < kChannelCount; ++i) {
    QFrame* swatch = swatches_[static_cast<std::size_t>(i)];
    QPalette p = swatch->palette();
    p.setColor(QPalette::Window, PlatformColour(colours_[static_cast<std::size_t>(i)]));
    swatch->setPalette(p);
    swatch->setAutoFillBackground(true);
  }
  gauges_[kGaugeRpm]->SetForeColor(colours_[kChRpm]);
  gauges_[kGaugeTps]->SetForeColor(colours_[kChTps]);
  gauges_[kGaugeMot]->SetForeColor(colours_[kChMot]);
  gauges_[kGaugeDef]->SetForeColor(colours_[kChDef]);
  gauges_[kGaugePsi]->SetForeColor(colours_[kChPsi]);
  gauges_[kGaugeLam]->SetBackColor(colours_[kChLam]);
  gauges_[kGaugeLam]->SetForeColor(RotatedColour(colours_[kChLam]));
}

void ReadingsGrid::SwatchClick(int channel) {
  auto& colour = colours_[static_cast<std::size_t>(channel)];
  if (const auto chosen = dialogs_.AskColour(colour)) colour = MakeDistinctColour(*chosen, colours_);
  ApplyColours();
}

void ReadingsGrid::ResetColours() {
  colours_ = kInitialColours;
  ApplyColours();
}
