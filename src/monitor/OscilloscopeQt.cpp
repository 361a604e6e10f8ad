#include "monitor/OscilloscopeQt.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <optional>

#include "base/NumberText.h"
#include "base/TextQt.h"
#include "base/UiText.h"
#include "base/UserDialogs.h"
#include "monitor/PerformanceGraphQt.h"

namespace {

constexpr int kNewestRecord = ReadingHistory::kRecords - 1;
constexpr std::int32_t kGraphGridColour = 0x808080;  // grey
constexpr int kGraphGridSize = 10;
constexpr int kScopeButtonWidth = 48;
constexpr int kHistoryBarHeight = 16;

QPushButton* MakeScopeButton(QWidget* parent, const char* name, const QString& caption, int width = 24) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->resize(width, 24);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

}  // namespace

Oscilloscope::Oscilloscope(QWidget* parent, Context context, UserDialogs& dialogs, ReadingHistory& history)
    : context_(std::move(context)), dialogs_(dialogs), history_(history) {
  panelSco_ = new QFrame(parent);
  panelSco_->setObjectName("PanelSco");
  panelSco_->setStyleSheet("QFrame#PanelSco{background:black}");
  graph_ = new TPerformanceGraph(panelSco_);
  graph_->setObjectName("Graph1");
  labelXScope_ = new QLabel(panelSco_);
  labelXScope_->setObjectName("LabelXScope");
  labelXScope_->setStyleSheet("color:silver");
  labelTim_ = new QLabel(panelSco_);
  labelTim_->setObjectName("LabelTim");
  labelTim_->setStyleSheet("color:silver");
  scrollBar_ = new QScrollBar(Qt::Horizontal, panelSco_);
  scrollBar_->setObjectName("ScrollBar1");
  scrollBar_->setRange(0, kNewestRecord);
  scrollBar_->hide();
  btnScope_ = MakeScopeButton(parent, "BtnScope", "STOP", kScopeButtonWidth);
  upDownX_ = new QSpinBox(parent);
  upDownX_->setObjectName("UpDownX");
  upDownX_->setRange(1, 10);
  upDownX_->resize(40, 24);
  btnGrid_ = MakeScopeButton(parent, "BtnGrid", "#");
  connect(btnScope_, &QPushButton::clicked, this, [this] { BtnScopeClick(); });
  connect(btnGrid_, &QPushButton::clicked, this, [this] { BtnGridClick(); });
  connect(upDownX_, &QSpinBox::valueChanged, this, [this] { UpDownXChanging(); });
  connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int p) { ScrollBar1Change(p); });

  PerformanceGraph& g = graph_->Graph();
  g.SetForeColor(kGraphGridColour);
  g.SetBackColor(kColourBlack);
  g.SetGridSize(kGraphGridSize);
  g.SetStepSize(5);
  g.SetScale(100);
  g.SetGradient(100);
  g.SetGridlines(false);
  g.SetPenWidth(2);
  SetRunning(true);

  // The player's controls stand at the scroll bar's right end and are shown with it.
  btnPlay_ = new QToolButton(panelSco_);
  btnPlay_->setObjectName("BtnPlay");
  btnPlay_->setFocusPolicy(Qt::NoFocus);
  connect(btnPlay_, &QToolButton::clicked, this, [this] { PlayClick(); });
  cbSpeed_ = new QComboBox(panelSco_);
  cbSpeed_->setObjectName("CBSpeed");
  cbSpeed_->setFocusPolicy(Qt::NoFocus);
  cbSpeed_->setToolTip(QtText(UiText(1222)));
  for (int id : {1223, 1224, 1225}) cbSpeed_->addItem(QtText(UiText(id)));
  connect(cbSpeed_, &QComboBox::currentIndexChanged, this,
          [this](int index) { player_.SetSpeedIndex(index); });
  playTimer_ = new QTimer(this);
  playTimer_->setInterval(HistoryPlayer::kTickMilliseconds);
  connect(playTimer_, &QTimer::timeout, this, [this] { PlayTick(); });
  scrollBar_->installEventFilter(this);
  btnPlay_->setVisible(scrollBar_->isVisibleTo(panelSco_));
  cbSpeed_->setVisible(scrollBar_->isVisibleTo(panelSco_));
  ShowPlayState();
}

void Oscilloscope::Layout(const MonitorArea& scope) {
  panelSco_->setVisible(scope.visible);
  if (!scope.visible) return;
  panelSco_->setGeometry(scope.left, scope.top, scope.width, scope.height);
  graph_->setGeometry(0, 0, scope.width, scope.height - kHistoryBarHeight);
  labelTim_->setGeometry(scope.width - 150, 2, 70, 16);
  labelXScope_->setGeometry(scope.width - 75, 2, 70, 16);
  PlaceHistoryBar(0, scope.height - kHistoryBarHeight, scope.width, kHistoryBarHeight);
}

void Oscilloscope::ApplyTexts() {
  btnScope_->setToolTip(QtUiText(122));
  upDownX_->setToolTip(QtUiText(123));
  btnGrid_->setToolTip(QtUiText(124));
  // The player's hint and speeds in the language of the moment.
  cbSpeed_->setToolTip(QtUiText(1222));
  const int speeds[] = {1223, 1224, 1225};
  for (int i = 0; i < cbSpeed_->count() && i < 3; ++i) cbSpeed_->setItemText(i, QtUiText(speeds[i]));
  ShowPlayState();
}

void Oscilloscope::ShowOpenedHistory() {
  SetRunning(false);
  graph_->Graph().Update();
  scrollBar_->show();
  scrollBar_->setValue(kNewestRecord - 1);
  scrollBar_->setValue(kNewestRecord);
}

void Oscilloscope::ScrollToNewest() {
  scrollBar_->setRange(0, kNewestRecord);
  scrollBar_->setValue(kNewestRecord);
}

bool Oscilloscope::eventFilter(QObject* watched, QEvent* event) {
  if (watched == scrollBar_ &&
      (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)) {
    const bool shown = event->type() == QEvent::ShowToParent;
    btnPlay_->setVisible(shown);
    cbSpeed_->setVisible(shown);
  }
  return QObject::eventFilter(watched, event);
}

void Oscilloscope::TraceRecord(const LiveReadings& r) {
  const ReadingsConfig c = ReadingsConfig::From(context_.parameters(), Page::Parameters, context_.service());
  PerformanceGraph& g = graph_->Graph();
  for (const GraphPoint& p : RecordTracePoints(r, BuildReadingRowKinds(c), c, context_.traces()))
    g.DataPoint(p.colour, p.value);
  g.Update();
}

void Oscilloscope::TraceView(const std::vector<TracePoint>& points) {
  PerformanceGraph& g = graph_->Graph();
  const TraceSettings traces = context_.traces();
  g.DataPoint(kColourBlack, kScaleMarkValue);
  for (const TracePoint& p : points) {
    const auto channel = static_cast<std::size_t>(p.channel);
    if (traces.ticked[channel]) g.DataPoint(traces.colours[channel], p.value);
  }
  g.Update();
}

void Oscilloscope::SetRunning(bool running) {
  running_ = running;
  if (context_.runningChanged) context_.runningChanged(running);
  btnScope_->setText(running ? "STOP" : "START");
  btnScope_->setProperty("tag", running ? 1 : 0);
}

void Oscilloscope::BtnScopeClick() {
  PausePlay();
  const QSignalBlocker block(scrollBar_);
  if (running_) {
    SetRunning(false);
    scrollBar_->setValue(kNewestRecord);
    scrollBar_->show();
    history_.ToTimeOrder();
  } else {
    SetRunning(true);
    scrollBar_->setValue(kNewestRecord);
    scrollBar_->hide();
  }
}

void Oscilloscope::ScrollBar1Change(int p) {
  if (running_ || context_.page() != Page::Parameters) return;
  p = std::clamp(p, 0, kNewestRecord);
  player_.Scrolled(p);  // a position the player did not set pauses it
  if (!player_.Playing() && playTimer_->isActive()) PausePlay();
  context_.registerOfRecord(history_.At(p)[0]);
  graph_->hide();
  dialogs_.SetBusyCursor(true);
  PerformanceGraph& g = graph_->Graph();
  const ScrollPlan plan = PlanHistoryScroll(p, g.Width(), g.StepSize());
  for (int i = 0; i < plan.emptySteps; ++i) g.Update();
  for (int i = plan.firstRecord; i < p; ++i) TraceRecord(history_.At(i));
  context_.showRecord(history_.At(p));
  dialogs_.SetBusyCursor(false);
  graph_->show();
  labelTim_->setText(QtText(FormatFixed((p + 1) * 0.1, 1) + " s"));
}

void Oscilloscope::UpDownXChanging() {
  const int position = std::clamp(upDownX_->value(), 1, 10);
  PerformanceGraph& g = graph_->Graph();
  g.SetStepSize(position);
  labelXScope_->setText(QtText(FormatFixed(g.GridSize() * 100 / position, 0) + "ms/dz"));
}

void Oscilloscope::BtnGridClick() {
  PerformanceGraph& g = graph_->Graph();
  g.SetGridlines(!g.Gridlines());
}

void Oscilloscope::ScopeCursorMoved(int cursor) {
  labelTim_->setText(QtText(FormatFixed(cursor * 0.1, 1) + " s"));
}

// ---------------------------------------------------------------------------------------
// Playing the history back

namespace {

// Where a history's data begin: the first record that is not all zero (0 when none is).
int FirstRecordWithData(const ReadingHistory& history) {
  for (int i = 0; i <= kNewestRecord; ++i) {
    const LiveReadings& r = history.At(i);
    if (std::any_of(r.begin(), r.end(), [](std::uint8_t b) { return b != 0; })) return i;
  }
  return 0;
}

}  // namespace

void Oscilloscope::PlaceHistoryBar(int left, int top, int width, int height) {
  const int speedWidth = 52, playWidth = height + 8;
  const int barWidth = std::max(0, width - speedWidth - playWidth);
  scrollBar_->setGeometry(left, top, barWidth, height);
  btnPlay_->setGeometry(left + barWidth, top, playWidth, height);
  cbSpeed_->setGeometry(left + barWidth + playWidth, top, speedWidth, height);
}

void Oscilloscope::ShowPlayState() {
  const bool playing = player_.Playing();
  btnPlay_->setIcon(btnPlay_->style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
  btnPlay_->setToolTip(QtText(UiText(playing ? 1221 : 1220)));
  btnPlay_->setProperty("playing", playing);
}

void Oscilloscope::PausePlay() {
  player_.Pause();
  playTimer_->stop();
  ShowPlayState();
}

// The history is page 1's: the player drives the oscilloscope there only, and leaving the
// page pauses it (pages 2 and 4 trace their own replies in the same graph).
void Oscilloscope::PageLeft(Page page) {
  if (page == Page::Parameters) PausePlay();
}

void Oscilloscope::PlayClick() {
  if (running_ || context_.page() != Page::Parameters) return;  // only a stopped history plays
  player_.Toggle(scrollBar_->value(), FirstRecordWithData(history_));
  if (!player_.Playing()) {
    PausePlay();
    return;
  }
  if (player_.Position() != scrollBar_->value()) {  // starting again from the beginning
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setValue(player_.Position());
    ScrollBar1Change(player_.Position());
  }
  playTimer_->start();
  ShowPlayState();
}

void Oscilloscope::PlayTick() {
  if (context_.page() != Page::Parameters) return PausePlay();
  const std::optional<int> position = player_.Tick();
  if (position) {
    // The scroll bar moves and everything it updates follows, as if it had been moved.
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setValue(*position);
    ScrollBar1Change(*position);
  }
  if (!player_.Playing()) PausePlay();
}
