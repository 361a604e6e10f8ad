#include "monitor/LiveMonitorQt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFont>
#include <QFontMetrics>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "base/TextQt.h"
#include "base/UiText.h"
#include "monitor/CGaugeQt.h"
#include "monitor/PerformanceGraphQt.h"
#include "monitor/RecordingFile.h"

using namespace row_kind;

namespace {

constexpr int kMagnifierLineChars = 19;
constexpr int kScopeRowGap = 4;

QPushButton* MakeRecordingButton(QWidget* parent, const char* name, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->resize(24, 24);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

// A button as wide as its design, or wider when one of its captions needs more room in the
// window's font size.
void FitButtonToCaptions(QPushButton* b, int designWidth, const QStringList& captions) {
  constexpr int kCaptionPadding = 6;
  int width = designWidth;
  for (const QString& caption : captions)
    width = std::max(width, b->fontMetrics().horizontalAdvance(caption) + kCaptionPadding);
  b->resize(width, b->height());
}

}  // namespace

LiveMonitor::LiveMonitor(QWidget* window, QWidget* client, QLabel* hint, LiveHooks hooks,
                         UserDialogs& dialogs, ReadingHistory& history,
                         std::array<std::int32_t, kChannelCount>& colours)
    : window_(window), hooks_(std::move(hooks)), dialogs_(dialogs), history_(history) {
  btnOpenVis_ = MakeRecordingButton(client, "BtnOpenVis", "O");
  btnSaveVis_ = MakeRecordingButton(client, "BtnSaveVis", "S");
  scope_ = std::make_unique<Oscilloscope>(
      client,
      Oscilloscope::Context{hooks_.parameters, hooks_.page, hooks_.service,
                            [this] { return readings_->Traces(); },
                            [this](bool running) {
                              if (link_) link_->SetScopeAdvancing(running);
                            },
                            [this](const LiveReadings& record) { ShowRecord(record, true); },
                            [this](int index) { readings_->ChooseRegister(index); }},
      dialogs, history);
  btnWindow_ = MakeRecordingButton(client, "BtnWindow", "W");
  btnLup_ = MakeRecordingButton(client, "BtnLup", "+");
  readings_ = std::make_unique<ReadingsGrid>(
      client, hint, ReadingsGrid::Context{hooks_.parameters, hooks_.page, hooks_.service}, dialogs, colours);
  readings_->registerChosen = [this](int index) {
    if (link_) link_->SetRegisterIndex(index);
  };
  connect(btnLup_, &QPushButton::clicked, this, [this] { BtnLupClick(); });
  connect(btnOpenVis_, &QPushButton::clicked, this, [this] { BtnOpenVisClick(); });
  connect(btnSaveVis_, &QPushButton::clicked, this, [this] { BtnSaveVisClick(); });
  connect(btnWindow_, &QPushButton::clicked, this, [this] {
    if (hooks_.arrangementClicked) hooks_.arrangementClicked();
  });

  const ReadingsGrid& r = *readings_;
  const Oscilloscope& s = *scope_;
  w_.Grid = r.Grid();
  w_.PanelSco = s.PanelSco();
  w_.Graph1 = s.Graph();
  w_.LabelTim = s.LabelTim();
  w_.LabelXScope = s.LabelXScope();
  w_.ScrollBar1 = s.ScrollBar();
  w_.BtnOpenVis = btnOpenVis_;
  w_.BtnSaveVis = btnSaveVis_;
  w_.BtnScope = s.BtnScope();
  w_.BtnGrid = s.BtnGrid();
  w_.BtnWindow = btnWindow_;
  w_.BtnLup = btnLup_;
  w_.UpDownX = s.UpDownX();
  w_.CBReg = r.RegisterList();
  w_.PanelErr = r.PanelErr();
  w_.PanelAuto = r.PanelAuto();
  w_.PanelHint = hint;
  w_.PanelLam = r.PanelLam();
  w_.checks = r.Checks();
  w_.swatches = r.Swatches();
  w_.gauges = r.Gauges();
}

LiveMonitor::~LiveMonitor() {
  if (magnifier_) magnifier_->onShown = nullptr;
}

void LiveMonitor::AttachLink(ControllerLink& link) {
  link_ = &link;
  link.SetReplySink(this);
  link.SetScopeAdvancing(scope_->Running());
  link.SetRegisterIndex(readings_->RegisterChoice());
  link.SetMagnifierOpen(MagnifierShown());
}

// ---------------------------------------------------------------------------------------
// Placing, texts and settings

void LiveMonitor::Layout(const MonitorLayout& L) {
  scope_->Layout(L.scope);
  readings_->Layout(L);
  PlaceScopeRow(L);
  // The TPS gauge takes its channel's colour before the readings are laid out.
  readings_->ApplyTpsColour();
  readings_->LayoutReadings(L.grid.visible, L.gridRowHeight, L.readingRowsVisible);
}

void LiveMonitor::PlaceScopeRow(const MonitorLayout& L) {
  constexpr int kScopeButtonWidth = 48;
  FitButtonToCaptions(w_.BtnScope, kScopeButtonWidth, {"STOP", "START"});
  int left = 0;
  for (QWidget* b : {static_cast<QWidget*>(w_.BtnOpenVis), static_cast<QWidget*>(w_.BtnSaveVis),
                     static_cast<QWidget*>(w_.BtnScope), static_cast<QWidget*>(w_.UpDownX),
                     static_cast<QWidget*>(w_.BtnGrid), static_cast<QWidget*>(w_.BtnWindow)}) {
    b->setVisible(L.scopeRowVisible);
    b->move(left, L.scopeRowTop);
    left += b->width() + kScopeRowGap;
  }
  btnLup_->setVisible(L.btnLupVisible);
  btnLup_->move(std::max(L.btnLupLeft, L.btnLupMinLeft), L.btnLupTop);
}

void LiveMonitor::ApplyTexts() {
  btnOpenVis_->setToolTip(QtUiText(120));
  btnSaveVis_->setToolTip(QtUiText(121));
  scope_->ApplyTexts();
  btnWindow_->setToolTip(QtUiText(125));
  btnLup_->setToolTip(QtUiText(128));
}

void LiveMonitor::ApplySettings(const LiveSettings& s) {
  if (s.ramIndex >= 0 && s.ramIndex < w_.CBReg->count()) w_.CBReg->setCurrentIndex(s.ramIndex);
  w_.UpDownX->setValue(s.trackX);
  for (int i = 0; i < kChannelCount; ++i) readings_->SetTicked(i, s.lines[static_cast<std::size_t>(i)]);
}

LiveSettings LiveMonitor::Settings() const {
  LiveSettings s;
  s.ramIndex = w_.CBReg->currentIndex();
  s.trackX = w_.UpDownX->value();
  for (int i = 0; i < kChannelCount; ++i) s.lines[static_cast<std::size_t>(i)] = readings_->Ticked(i);
  return s;
}

// A widget with a style sheet of its own takes no font from its parent: the grid gets it.
void LiveMonitor::SetGridPointSize(int size) {
  QFont gridFont = w_.Grid->font();
  gridFont.setPointSize(size);
  w_.Grid->setFont(gridFont);
}

// ---------------------------------------------------------------------------------------
// Replies

void LiveMonitor::ShowRecord(const LiveReadings& r, bool refreshCells) {
  if (refreshCells) {
    readings_->ShowRecordCells(r);
    lines_[0] = CutToCharacters(ReadingCellText(kRpm, r), kMagnifierLineChars);
    lines_[1] = CutToCharacters(ReadingCellText(kMotor, r), kMagnifierLineChars);
  }
  scope_->TraceRecord(r);
}

// The wizard's step 4 counts the idle speed and shows "---" instead of it.
void LiveMonitor::ShowConfigurationReadings(const ConfigurationView& view) {
  ShowConfiguration(view, hooks_.idleSpeedHidden && hooks_.idleSpeedHidden());
}

void LiveMonitor::ShowConfiguration(const ConfigurationView& v, bool hideSpeed) {
  readings_->ShowConfigurationCells(v, hideSpeed);
  lines_[0] = CutToCharacters(hideSpeed ? "---" : v.rpmText, kMagnifierLineChars);
  lines_[1] = CutToCharacters(v.motorText, kMagnifierLineChars);
  scope_->TraceView(v.points);
}

void LiveMonitor::ShowPortView(const PortView& v) {
  readings_->ShowPortCells(v);
  scope_->TraceView(v.points);
}

void LiveMonitor::ShowMapReadings(const MapColumnView& v) {
  readings_->ShowLambda(v.lamGauge);
  if (MagnifierShown()) SetMagnifierTexts(v.rpmText, v.vacuumText);
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
    magnifier_ = new TForm2(window_, &lines_);
    magnifier_->setAttribute(Qt::WA_ShowWithoutActivating);
    magnifier_->onShown = [this](bool shown) {
      if (link_) link_->SetMagnifierOpen(shown);
    };
  }
  magnifier_->move(window_->x() + 10, window_->y() + 70);
  magnifier_->show();
  magnifier_->TimerTimer();
  window_->activateWindow();
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
  scope_->PausePlay();
  if (!OpenRecordingThroughDialog(dialogs_, hooks_, history_, named)) return;
  scope_->ShowOpenedHistory();
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
                         [this] { return scope_->Running() ? history_.ScopeCursor() + 1 : 0; });
}
