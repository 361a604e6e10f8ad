#include "app/Orvlpgmain.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <functional>
#include <tuple>

#include "app/ConnectionModeLook.h"
#include "app/MainThreadQt.h"
#include "app/PageButtonStrip.h"
#include "app/PageButtonsQt.h"
#include "app/PageTabsQt.h"
#include "app/ProgramLanguageQt.h"
#include "app/ServiceReportActionQt.h"
#include "app/SettingsStore.h"
#include "app/SplitterBarQt.h"
#include "app/VirtualKeysQt.h"
#include "app/WindowControlsQt.h"
#include "autoconfig/AutoConfigPageQt.h"
#include "base/FilePaths.h"
#include "base/FixedHeadingRowQt.h"
#include "base/GridFitQt.h"
#include "base/NumberText.h"
#include "base/TextQt.h"
#include "base/UiText.h"
#include "base/UserFolders.h"
#include "help/HelpDeskQt.h"
#include "link/TVaComm.h"
#include "map/MapPageQt.h"
#include "model/PageGridQt.h"
#include "model/ParameterBlock.h"
#include "monitor/LiveMonitorQt.h"
#include "params/ParameterBackup.h"
#include "params/ParameterCompare.h"
#include "params/ParameterEditorQt.h"
#include "params/ParameterFiles.h"
#include "params/ParametersPageQt.h"
#include "setup/SetupPageQt.h"

namespace {

using Mode = ::ConnectionMode;

constexpr int kDesignClientHeight = 445;
constexpr int kSettingsUnreadable = 1320;
constexpr int kSettingsNotWritten = 1321;
// Stored window bounds are outer bounds, as the settings have always held them: the client
// area plus a fixed frame allowance, so that a bound read back gives the same client size on
// any window manager.
constexpr int kFrameExtraWidth = kDesignWindowWidth - kDesignClientWidth;
constexpr int kFrameExtraHeight = kDesignWindowHeight - kDesignClientHeight;

std::string ProgramFolder() {
  std::string dir = QCoreApplication::applicationDirPath().toStdString();
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

void Place(QWidget* w, const Rect& r) { w->setGeometry(r.left, r.top, r.width, r.height); }

// A button as wide as its design, or wider when one of its captions needs more room in the
// window's font size.
int FitCaptions(QPushButton* b, int designWidth, const QStringList& captions) {
  constexpr int kCaptionPadding = 6;
  int width = designWidth;
  for (const QString& caption : captions)
    width = std::max(width, b->fontMetrics().horizontalAdvance(caption) + kCaptionPadding);
  b->resize(width, b->height());
  return width;
}

MonitorArea Area(const PlacedControl& p) {
  return {p.visible, p.rect.left, p.rect.top, p.rect.width, p.rect.height};
}

// What the live views take of the window's layout; the wizard's buttons have taken their
// width from the oscilloscope's.
MonitorLayout MonitorPart(const MainLayout& L, const PlacedControl& scope) {
  MonitorLayout m;
  m.scope = Area(scope);
  m.grid = Area(L.grid);
  m.gridColumnWidth = L.gridColumnWidth;
  m.gridRowHeight = L.gridRowHeight;
  m.readingRowsVisible = L.readingRowsVisible;
  m.scopeRowVisible = L.scopeRowVisible;
  m.scopeRowTop = L.scopeRowTop;
  m.btnLupVisible = L.btnLupVisible;
  m.btnLupLeft = L.btnLupLeft;
  m.btnLupTop = L.btnLupTop;
  m.panelLam = Area(L.panelLam);
  return m;
}

void Place(QWidget* w, const PlacedControl& p) {
  w->setVisible(p.visible);
  if (p.visible) Place(w, p.rect);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int width = 24,
                        int height = 24) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->resize(width, height);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

// The longest the closing window waits for the controller to take the changes still on their
// way: a write goes out each transmit tick, the wizard's restore is at most eight of them.
constexpr int kFinishWritesMs = 3000;

void FinishPendingWrites(const ControllerLink& link, const std::function<bool()>& running) {
  QElapsedTimer clock;
  clock.start();
  while (running() && link.WritesOutstanding() && clock.elapsed() < kFinishWritesMs)
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Construction

TForm1::TForm1(MainWindowEnvironment env, QWidget* parent)
    : QMainWindow(parent), env_(std::move(env)), dialogs_(*env_.dialogs) {
  programDir_ = env_.programDir.empty() ? ProgramFolder() : env_.programDir;
  if (env_.port)
    port_ = std::move(env_.port);
  else
    port_ = std::make_unique<TVaComm>(MakeQtMainThreadDispatcher(this));
  if (env_.trace) port_ = std::make_unique<TracedSerialPort>(std::move(port_), env_.trace);
  link_ = std::make_unique<ControllerLink>(*port_, *this, history_);
  link_->SeedRandom(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch()));
  supervisor_ = std::make_unique<ConnectionSupervisor>(*link_, *port_, *this, *this);
  paramEditor_ = std::make_unique<ParameterEditor>(*link_, *this);
  transfer_ = std::make_unique<ParameterTransfer>(*link_, *this, *this, dialogs_);
  port_->OnRxChar = [this](int count) { VaComm1RxChar(count); };
  CreateComponents();
  firmware_ =
      std::make_unique<FirmwarePageQt>(this, *pageGrid_, controls_.Memo1, *link_, *this, dialogs_,
                                       programDir_, FirmwareWindow{[this] { live_->CloseMagnifier(); }});
  FormCreate();
}

TForm1::~TForm1() {
  FormDestroy();
  qApp->removeEventFilter(this);
  timerTx_->stop();
  timerInfo_->stop();
  port_->OnRxChar = nullptr;
  try {
    port_->Close();
  } catch (const std::exception&) {
  }
}

void TForm1::CreateComponents() {
  auto* client = new QWidget(this);
  client->setObjectName("client");
  setCentralWidget(client);
  setMinimumSize(kMinWindowWidth - kFrameExtraWidth, kMinWindowHeight - kFrameExtraHeight);
  resize(kDesignClientWidth, kDesignClientHeight);

  controls_.CreateTop(client, [this](QWidget* strip) { tabs_ = std::make_unique<PageTabs>(strip); });
  connect(tabs_->TabSet, &QToolButton::clicked, this, [this] { TabSetClick(); });
  connect(tabs_->TabParam, &QToolButton::clicked, this, [this] { TabParamClick(); });
  connect(tabs_->TabConfig, &QToolButton::clicked, this, [this] { TabConfigClick(); });
  connect(tabs_->TabMap, &QToolButton::clicked, this, [this] { TabMapClick(); });
  connect(tabs_->TabProc, &QToolButton::clicked, this, [this] { TabProcClick(); });
  connect(tabs_->TabUpg, &QToolButton::clicked, this, [this] { TabUpgClick(); });

  controls_.PanelInfo->installEventFilter(this);
  controls_.CreateLog(client);
  controls_.Splitter->onMoved = [this](int top) {
    const int height = std::max(
        kPanel3MinHeight, std::min(top - kTabConHeight, UpperPanelLimit(this->centralWidget()->height())));
    settings_.WSize = height;
    LayoutMainWindow();
  };

  controls_.CreatePanels(client);
  CreateMonitor(client);

  pageGrid_ = std::make_unique<PageGrid>(client);
  connect(pageGrid_->Widget(), &QTableWidget::currentCellChanged, this,
          [this](int row, int, int, int) { GridEx1SelectCell(row); });

  pageButtons_ = std::make_unique<PageButtons>(client, [this](int button) {
    if (button == 1) Btn1Click();
    if (button == 2) Btn2Click();
    if (button == 3) Btn3Click();
  });

  autoConfig_ = std::make_unique<AutoConfigPageQt>(
      WizardWidgets{client, controls_.Memo1, controls_.CGRead}, *pageGrid_,
      WizardWindow{[this] { link_->RequestModeSwitch(); }, [this] { RebuildEditor(); },
                   [this](Mode mode) { ApplyConnectionMode(mode); },
                   [this] { return AutomaticBackupLine(); }},
      *link_, dialogs_);
  setup_ = std::make_unique<SetupPageQt>(
      *pageGrid_, *link_,
      SetupWindow{[this] { return connectionMode_; }, [this](int index) { CBComChange(index); },
                  [this] { CBFontChange(); }, [this] { LayoutMainWindow(); }, [this] { RebuildEditor(); },
                  AvailableLanguages(), [this] { CBLangChange(); }});

  FillRegisterList(live_->RegisterList());
  controls_.PanelHint->raise();  // the hints stand over the grids and the controls of the pages

  pageGrid_->SetHint(controls_.PanelHint);
  parametersPage_ = std::make_unique<ParametersPageQt>(
      *paramEditor_, *pageGrid_,
      [this] {
        return ParameterViewContext{ShownPage(), connectionMode_, ListOrder(), layout_.parameterRowsVisible};
      },
      *link_,
      ParametersWindow{[this] { BtnOpenParClick(); }, [this] { BtnSaveParClick(); },
                       [this] { BtnReadParClick(); }, [this] { BtnWriteParClick(); },
                       [this] { BtnHelpClick(); }, [this] { BtnReportClick(); }});
  map_ = std::make_unique<MapPageQt>(
      *pageGrid_, *link_,
      MapWindow{[this] { live_->CloseMagnifier(); },
                [this](const MapColumnView& view) { live_->ShowMapReadings(view); }});
  inspector_ = std::make_unique<InspectorPageQt>(
      *pageGrid_, *link_, InspectorWindow{[this](const PortView& view) { live_->ShowPortView(view); }});
  timerTx_ = new QTimer(this);
  timerTx_->setObjectName("TimerTx");
  timerTx_->setInterval(kPollIntervalMs);
  connect(timerTx_, &QTimer::timeout, this, [this] { TimerTxTimer(); });
  timerInfo_ = new QTimer(this);
  timerInfo_->setObjectName("TimerInfo");
  timerInfo_->setInterval(900);
  connect(timerInfo_, &QTimer::timeout, this, [this] { TimerInfoTimer(); });

  help_ = std::make_unique<HelpDesk>(HelpDeskLinks{this, client, pageGrid_->Widget(), live_->Widgets().Grid,
                                                   &dialogs_, [this] { return CurrentPage(); },
                                                   [this] { return FontSize(); }, programDir_});

  // Tab goes through the live views' controls where it always went: the history bar first,
  // the readings grid before the page grid, the scale after it, the register list and the
  // channels' boxes last.
  const LiveWidgets& w = live_->Widgets();
  QWidget* const tabOrder[] = {w.ScrollBar1, controls_.Memo1,     controls_.Memo2,
                               w.Grid,       pageGrid_->Widget(), w.UpDownX};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
  QWidget* previous = setup_->CBLang;
  for (QWidget* next :
       std::initializer_list<QWidget*>{w.CBReg, w.checks[0], w.checks[1], w.checks[2], w.checks[3],
                                       w.checks[4], w.checks[5], w.checks[6], w.checks[7]}) {
    setTabOrder(previous, next);
    previous = next;
  }
}

// The live views: the readings grid, the oscilloscope, the magnifier and the recordings.
void TForm1::CreateMonitor(QWidget* client) {
  LiveHooks h;
  h.parameters = [this]() -> const ParameterBlock& { return link_->Block(); };
  h.loadParameters = [this](const ParameterBlock& block) { link_->LoadBlock(block); };
  h.page = [this] { return CurrentPage(); };
  h.service = [this] { return serviceMode_; };
  h.stopPolling = [this] { link_->StopTransmitClock(); };
  h.recordingOpened = [this](const std::string& path) {
    openedFileName_ = FileNameOf(path);  // the caption names the file without its folder
    ApplyConnectionMode(Mode::File);
    LayoutMainWindow();
  };
  h.folder = [this](bool save) { return save ? settings_.DirSave : settings_.DirOpen; };
  h.setFolder = [this](bool save, const std::string& dir) {
    (save ? settings_.DirSave : settings_.DirOpen) = dir;
  };
  h.recordingFolder = [] { return AutoRecordingFolder(CurrentFolderFacts()); };
  h.filePrefix = [this] { return FileNameBase(); };
  h.autoSave = [this] { return setup_->CBFAut->currentIndex() == 1; };
  h.idleSpeedHidden = [this] { return Wizard().Step() == 4; };
  h.arrangementClicked = [this] { BtnWindowClick(); };
  live_ = std::make_unique<LiveMonitor>(this, client, controls_.PanelHint, std::move(h), dialogs_, history_,
                                        channelColours_);
  live_->AttachLink(*link_);
}

// ---------------------------------------------------------------------------------------
// Start and stop

void TForm1::FormCreate() {
  setWindowTitle(kBaseCaption);
  qApp->installEventFilter(this);  // the window sees every key before its controls

  // No folder is remembered until the user picks one: the dialogs then open in the working
  // folder or the home folder (DialogStartFolder), never in the program's own.
  settings_ = DefaultAppSettings("");

  SettingsStore store(SettingsPath());
  std::string unreadable;
  if (!store.Load(&unreadable) && !store.Unreadable()) unreadable.clear();
  LoadSettings(store, settings_);
  settings_.Lang = SelectLanguage(settings_.Lang);
  ApplySettings();

  ApplyTexts();
  // Said once, after the texts cleared the log; the file is left as it is at exit.
  if (!unreadable.empty()) AddLogLine(UiText(kSettingsUnreadable) + unreadable);
  if (port_->PortNum() == 0) port_->SetPortNum(1);
  SetFontSize(FontSize());

  link_->EnterPage(Page::Setup);
  TabSetClick();
  UpDownXChanging();

  link_->ForgetParameters();
  link_->ForgetController();
  link_->RequestReconnect();

  BtnWindowClick();
  live_->ScrollToNewest();
  link_->StartTransmitClock();
  timerInfo_->start();
  started_ = true;
}

// The wizard's phase gives its bytes back and the changes still on their way reach the
// controller before the port closes; the other windows close with this one, the settings are
// written and the program ends.
void TForm1::closeEvent(QCloseEvent* event) {
  if (ShownPage() == Page::Configuration) Wizard().Abandon();
  FinishPendingWrites(*link_, [this] { return timerTx_->isActive() && connectionMode_ == Mode::Controller; });
  help_->CloseWindow();
  live_->CloseMagnifier();
  firmware_->CloseProgrammingWindow();
  link_->StopTransmitClock();
  timerInfo_->stop();
  FormDestroy();
  try {
    port_->Close();
  } catch (const std::exception&) {
  }
  QMainWindow::closeEvent(event);
  QCoreApplication::quit();
}

void TForm1::ApplySettings() {
  const AppSettings& s = settings_;
  setup_->Apply({s.FileName, s.AutoComm, s.AutoSave, s.List, s.Font, s.Lang});
  help_->SetHelpWindowMode(s.Help);
  live_->ApplySettings(
      {s.RamIndex,
       s.TrackX,
       {s.LineRPM, s.LineLAM, s.LineSIM, s.LineTPS, s.LineMOT, s.LineDEF, s.LinePSI, s.LineRAM}});
  try {
    port_->SetPortNum(s.COMM);
  } catch (const std::exception&) {
  }
  channelColours_ = {s.ColorRPM,  s.ColorLAM1, s.ColorSIM, s.ColorTPS,
                     s.ColorMOT1, s.ColorDEF,  s.ColorPSI, s.ColorRAM};
  live_->ApplyColours();
  arrangementFlag_ = s.VisuWin ? 0 : 1;  // BtnWindowClick at start inverts it
  std::vector<ScreenArea> screens;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect area = screen->availableGeometry();
    screens.push_back({area.left(), area.top(), area.width(), area.height()});
  }
  FitSettingsToScreens(settings_, screens, kFrameExtraHeight);
  if (s.boundsRead) {
    move(s.WLeft, s.WTop);
    resize(s.WWidth - kFrameExtraWidth, s.WHeight - kFrameExtraHeight);
  }
}

AppSettings TForm1::CurrentSettings() const {
  AppSettings s = settings_;
  const SetupValues setup = setup_->Values();
  std::tie(s.FileName, s.AutoComm, s.AutoSave, s.List, s.Font, s.Lang) =
      std::tuple{setup.fileName, setup.autoComm, setup.autoSave, setup.list, setup.font, setup.language};
  s.Help = help_->HelpWindowMode();
  const LiveSettings live = live_->Settings();
  s.RamIndex = live.ramIndex;
  s.TrackX = live.trackX;
  s.COMM = port_->PortNum();
  std::tie(s.LineRPM, s.LineLAM, s.LineSIM, s.LineTPS, s.LineMOT, s.LineDEF, s.LinePSI, s.LineRAM) =
      std::tuple{live.lines[0], live.lines[1], live.lines[2], live.lines[3],
                 live.lines[4], live.lines[5], live.lines[6], live.lines[7]};
  std::int32_t* colours[8] = {&s.ColorRPM,  &s.ColorLAM1, &s.ColorSIM, &s.ColorTPS,
                              &s.ColorMOT1, &s.ColorDEF,  &s.ColorPSI, &s.ColorRAM};
  for (int i = 0; i < 8; ++i) *colours[i] = channelColours_[i];
  s.VisuWin = arrangementFlag_ != 0;
  s.WState = isMaximized() ? 2 : isMinimized() ? 1 : 0;
  s.WLeft = pos().x();
  s.WTop = pos().y();
  s.WWidth = width() + kFrameExtraWidth;
  s.WHeight = height() + kFrameExtraHeight;
  s.WSize = std::min(s.WSize, UpperPanelLimit(centralWidget()->height()));
  return s;
}

void TForm1::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  SettingsStore store = SettingsStore::Open(SettingsPath());
  if (store.Unreadable()) return;  // the user's file stays; the start said why
  SaveSettings(store, CurrentSettings(), programDir_, link_->Vars().controllerSeen, isMaximized());
  std::string why;
  if (!store.Save(&why)) dialogs_.ShowMessage(UiText(kSettingsNotWritten) + why, MessageButtons::Ok);
}

std::string TForm1::SettingsPath() const {
  return env_.settingsPath.empty() ? SettingsStore::DefaultFilePath() : env_.settingsPath;
}

void TForm1::ApplyTexts() {
  help_->LoadStartPage(*controls_.Memo2);
  tabs_->ApplyTexts();
  live_->ApplyTexts();
  controls_.PanelInfo->setToolTip(QtUiText(131));
  pageButtons_->ApplyTexts();
  for (PageView* page :
       std::initializer_list<PageView*>{setup_.get(), parametersPage_.get(), autoConfig_.get(), map_.get(),
                                        inspector_.get(), firmware_.get()})
    page->ApplyTexts();
  controls_.Memo1->clear();  // the combos' items are assembled in the log, which ends up empty
  // A window in use is laid out again: the pages write their rows in the new language.
  if (started_) LayoutMainWindow();
}

// ---------------------------------------------------------------------------------------
// Pages

PageView& TForm1::PageFor(Page page) {
  switch (page) {
    case Page::Setup: return *setup_;
    case Page::Parameters: return *parametersPage_;
    case Page::Configuration: return *autoConfig_;
    case Page::Map: return *map_;
    case Page::Port:
    case Page::Sram:
    case Page::Eeprom: return *inspector_;
    case Page::Firmware: return *firmware_;
  }
  return *setup_;
}

// The page's button is pressed when its page is asked for, as a click presses it, and again
// when a page is entered: a change asked for on the way may have pressed another.
void TForm1::ChangePage(Page page) {
  TabOfPage(page)->setChecked(true);
  pageChanges_.Request(page);
}

void TForm1::SwitchPage(Page page) {
  PageFor(ShownPage()).Leave();
  live_->PageLeft(ShownPage());
  page = pageChanges_.Destination(page);
  PageView& entered = PageFor(page);
  entered.Enter(page);
  pageGrid_->LendTo(entered);
  link_->EnterPage(page);
  link_->SetPageSink(dynamic_cast<PageReplySink*>(&entered));  // a page that shows replies of its own
  TabOfPage(page)->setChecked(true);
  LayoutMainWindow();
  entered.Shown();
}

void TForm1::TabSetClick() { ChangePage(Page::Setup); }
void TForm1::TabParamClick() { ChangePage(Page::Parameters); }
void TForm1::TabConfigClick() { ChangePage(Page::Configuration); }
void TForm1::TabMapClick() { ChangePage(Page::Map); }
void TForm1::TabProcClick() { ChangePage(InspectorPageFor(link_->Vars().buttonAction)); }
void TForm1::TabUpgClick() { ChangePage(Page::Firmware); }

AutoConfiguration& TForm1::Wizard() { return autoConfig_->Wizard(); }
void TForm1::BitBtnConBenClick() { Wizard().BitBtnConBenClick(); }
void TForm1::BitBtnConGasClick() { Wizard().BitBtnConGasClick(); }
void TForm1::BitBtnNextClick() { Wizard().BitBtnNextClick(); }
void TForm1::BitBtnOkClick() { Wizard().BitBtnOkClick(); }
void TForm1::BitBtnCancelClick() { Wizard().BitBtnCancelClick(); }

// On the processor pages the three buttons choose the view; on the map page the link
// carries out the action.
void TForm1::PageButtonClick(int action) {
  link_->PressPageButton(action);
  if (IsInspectorPage(ShownPage())) TabProcClick();
}

void TForm1::Btn1Click() {
  if (ShownPage() == Page::Firmware)
    StartProgramming();
  else
    PageButtonClick(1);
}

int TForm1::ListFirmwareImages() {
  return firmware_->Page().ListFirmwareImages(layout_.parameterRowsVisible);
}

void TForm1::StartProgramming() {
  firmware_->Page().StartProgramming(pageGrid_->Widget()->currentRow(), connectionMode_);
}

void TForm1::Btn2Click() { PageButtonClick(2); }

void TForm1::Btn3Click() { PageButtonClick(3); }

QToolButton* TForm1::TabOfPage(Page page) const { return tabs_->TabOf(page); }

bool TForm1::TabVisible(Page page) const { return tabs_->Visible(page); }

void TForm1::ApplyConnectionMode(Mode mode) {
  connectionMode_ = mode;
  link_->SetConnectionMode(mode);
  if (env_.trace) env_.trace->Note("mode " + std::to_string(ModeNumber(mode)));
  const ConnectionModeLook look = LookOfConnectionMode(mode, link_->Block(), serviceMode_, openedFileName_);
  setWindowTitle(QtText(look.caption));
  tabs_->TabSet->show();
  tabs_->TabParam->setVisible(look.paramVisible);
  tabs_->TabConfig->setVisible(look.configVisible);
  tabs_->TabMap->setVisible(look.mapVisible);
  tabs_->TabUpg->setVisible(look.upgVisible);
  tabs_->TabProc->setVisible(look.procVisible);
  tabs_->Place(controls_.PanelInfo->x() - kPageButtonGap);
  if (look.page) ChangePage(*look.page);
  if (look.versionWarning) {
    const bool wasRunning = link_->TransmitClockRunning();
    link_->StopTransmitClock();
    controls_.PanelLog->hide();
    dialogs_.ShowMessage(*look.versionWarning, MessageButtons::Ok);
    if (wasRunning) link_->StartTransmitClock();
  }
}

void TForm1::BtnWindowClick() {
  arrangementFlag_ = arrangementFlag_ ? 0 : 1;
  LayoutMainWindow();
}

void TForm1::BtnScopeClick() { live_->BtnScopeClick(); }
void TForm1::ScrollBar1Change(int position) { live_->ScrollBar1Change(position); }
void TForm1::UpDownXChanging() { live_->UpDownXChanging(); }
void TForm1::BtnGridClick() { live_->BtnGridClick(); }
void TForm1::BtnLupClick() { live_->BtnLupClick(); }
void TForm1::BtnSaveVisClick() { live_->BtnSaveVisClick(); }
void TForm1::BtnOpenVisClick() { live_->BtnOpenVisClick(); }

void TForm1::OpenFile(const std::string& path) {
  if (HasParameterExtension(path))
    transfer_->BtnOpenParClick(path);
  else
    live_->BtnOpenVisClick(path);
}
void TForm1::ExportCsvKey() { live_->ExportCsv(); }
void TForm1::PaRPMClick() { live_->SwatchClick(kChRpm); }
void TForm1::PaLAMClick() { live_->SwatchClick(kChLam); }
void TForm1::PaSIMClick() { live_->SwatchClick(kChSim); }
void TForm1::PaTPSClick() { live_->SwatchClick(kChTps); }
void TForm1::PaMOTClick() { live_->SwatchClick(kChMot); }
void TForm1::PaDEFClick() { live_->SwatchClick(kChDef); }
void TForm1::PaPSIClick() { live_->SwatchClick(kChPsi); }
void TForm1::PaRAMClick() { live_->SwatchClick(kChRam); }

void TForm1::BtnReadParClick() {
  supervisor_->RequestReconnect();
  controls_.Memo1->clear();
}

void TForm1::BtnOpenParClick() { transfer_->BtnOpenParClick(); }

void TForm1::BtnSaveParClick() { transfer_->BtnSaveParClick(); }

void TForm1::BtnWriteParClick() {
  transfer_->BtnWriteParClick();
  if (link_->Block()[0] == 0 && link_->Vars().readPending) factoryKeeper_.ResetAsked();
}

void TForm1::BtnReportClick() {
  MakeServiceReport({this, &dialogs_, &link_->Block(), connectionMode_, ListOrder(), FileNameBase(),
                     SettingsPath(), env_.backupDir.empty() ? DefaultBackupFolder() : env_.backupDir,
                     [this](const std::string& line) { AddLogLine(line); }});
}

// The new language's table and the toolkit's texts, then every text of the window again; an
// open help window closes, and the next opening shows the language's own document.
void TForm1::CBLangChange() {
  settings_.Lang = SelectLanguage(setup_->Values().language);
  setup_->CBLang->setCurrentIndex(
      std::max(0, setup_->CBLang->findData(settings_.Lang)));  // Russian if it failed
  help_->CloseWindow();
  ApplyTexts();  // lays the window out again
  setWindowTitle(
      QtText(LookOfConnectionMode(connectionMode_, link_->Block(), serviceMode_, openedFileName_).caption));
}

void TForm1::GridEx1SelectCell(int row) { PageFor(ShownPage()).CellSelected(row); }

void TForm1::GridEx1MouseDown(int x, int y) { pageGrid_->GridEx1MouseDown(x, y); }
void TForm1::GridEx1MouseMove(int x, int y) { pageGrid_->GridEx1MouseMove(x, y); }
void TForm1::PanelHintClick() { pageGrid_->PanelHintClick(); }

void TForm1::StepSelected(int direction) { EditorView().StepSelected(direction); }

ParameterEditorQt& TForm1::EditorView() { return parametersPage_->View(); }

std::string TForm1::FileNameBase() const { return setup_->Values().fileName; }
int TForm1::ListOrder() const { return setup_->CBList->currentIndex(); }

void TForm1::MakeAutomaticBackup() {
  const std::string line = AutomaticBackupLine();
  if (!line.empty()) AddLogLine(line);
}

std::string TForm1::AutomaticBackupLine() {
  if (connectionMode_ != Mode::Controller) return {};
  const std::string folder = env_.backupDir.empty() ? DefaultBackupFolder() : env_.backupDir;
  return BackupLogLine(MakeParameterBackup(link_->Block(), folder, std::time(nullptr)));
}

int TForm1::FontSize() const {
  bool ok = false;
  const int size = setup_->CBFont->currentText().toInt(&ok);
  return ok ? size : kFontSizes[0];
}

void TForm1::SetFontSize(int size) {
  QFont f = font();
  f.setPointSize(size);
  setFont(f);
  // A widget with a style sheet of its own takes no font from its parent: the tables get it.
  QTableWidget* pageGrid = pageGrid_->Widget();
  QFont gridFont = pageGrid->font();
  gridFont.setPointSize(size);
  pageGrid->setFont(gridFont);
  live_->SetGridPointSize(size);
}

void TForm1::CBFontChange() {
  SetFontSize(FontSize());
  LayoutMainWindow();
}

void TForm1::CBComChange(int index) { supervisor_->CBComChange(index); }

void TForm1::PanelInfoClick() {
  supervisor_->PanelInfoClick();
  // The panel shows the result at once rather than at the next information tick.
}

// ---------------------------------------------------------------------------------------
// Layout

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (timerInfo_ && timerInfo_->isActive()) LayoutMainWindow();
}

void TForm1::LayoutMainWindow() {
  QWidget* client = centralWidget();
  const int W = client->width();
  const int H = client->height();
  const int fontSize = FontSize();
  const int panel3Height = std::max(kPanel3MinHeight, std::min(settings_.WSize, UpperPanelLimit(H)));

  controls_.PlaceTop(W, panel3Height);
  tabs_->Place(controls_.PanelInfo->x() - kPageButtonGap);

  LayoutInput in;
  in.clientWidth = W;
  in.clientHeight = H;
  in.currentPage = ShownPage();
  in.arrangementFlag = arrangementFlag_;
  in.fontSize = fontSize;
  in.splitterTop = kTabConHeight + panel3Height;
  in.selectedRow = std::max(1, pageGrid_->Widget()->currentRow());
  in.topRow = TopRow(pageGrid_->Widget());
  in.readingsGridNeed = gridNeeds_[0];
  in.parameterGridNeed = gridNeeds_[1];
  layout_ = ComputeMainLayout(in);
  const MainLayout& L = layout_;

  // The wizard's buttons stand right of the oscilloscope: wider ones take from its width.
  PlacedControl scope = L.panelSco;
  scope.rect.width -= autoConfig_->PlaceButtons(L, kTabConHeight + 8);
  pageGrid_->Place(L);
  parametersPage_->PlaceButtons(L);
  pageButtons_->Place(L, ShownPage());
  MonitorLayout monitor = MonitorPart(L, scope);
  if (ShownPage() == Page::Map) monitor.btnLupMinLeft = pageButtons_->LastRight() + PageButtons::kGap;
  live_->Layout(monitor);
  controls_.PlaceLog(L);
  if (relayingOut_)
    FitPageGrid(true);
  else
    RebuildEditor();
  pageGrid_->ScrollToTopRow(L);
  // The grids' texts are known only once they are filled: when they need other widths than
  // this layout gave them, it runs once more with them.
  const Page page = ShownPage();
  const std::array<int, 2> needs{L.grid.visible ? live_->GridNeed() : 0,
                                 page <= Page::Configuration ? TwoColumnsNeed(pageGrid_->Widget()) : 0};
  if (needs != gridNeeds_ && !relayingOut_) {
    gridNeeds_ = needs;
    relayingOut_ = true;
    LayoutMainWindow();
    relayingOut_ = false;
  }
}

// The editors over the cells are placed while the grid fills, so a grid whose columns had
// to change has them placed once more (the page decides whether it fills the grid again). The readings' rows
// follow bytes 33, 34 and 81 in every path that changes them: then the whole window is laid out, which fills
// the grid as well.
void TForm1::RebuildEditor() {
  if (live_->LayoutOutdated()) return LayoutMainWindow();
  FillGridEx1();
  FitPageGrid(false);
}

void TForm1::FitPageGrid(bool widthsChanged) {
  PageView& page = PageFor(ShownPage());
  if (widthsChanged) page.ColumnsChanged(layout_);
  if (pageGrid_->FitColumns(ShownPage())) page.ColumnsChanged(layout_);
}

// The page in view places its widgets and fills the page grid; what another page laid over
// the grid went with that page.
void TForm1::FillGridEx1() { PageFor(ShownPage()).Layout(layout_); }

// ---------------------------------------------------------------------------------------
// Keys

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (firmware_ && firmware_->HoldsInput(watched, event)) return true;
  // A key from the window system enters through the window itself, whichever control has the
  // focus and also when none has it (as after a message box closed without a window manager
  // to give the focus back): the key table decides there, and a key it leaves goes on to the
  // control, which does not decide it again.
  if (event->type() == QEvent::KeyPress && watched == static_cast<QObject*>(windowHandle()) &&
      event != keyPassedOn_) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (FormKeyDown(VirtualKeyFromQt(key->key(), key->nativeScanCode()))) return true;
    keyPassedOn_ = event;
    watched->event(event);
    keyPassedOn_ = nullptr;
    return true;
  }
  if (event->type() == QEvent::KeyPress && event != keyPassedOn_) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == this && widget->isWindow() == (widget == this)) {
      auto* key = static_cast<QKeyEvent*>(event);
      // The application filter sees a key once per receiver on its way up; take it once.
      if (widget == QApplication::focusWidget() || (widget == this && !QApplication::focusWidget()))
        return FormKeyDown(VirtualKeyFromQt(key->key(), key->nativeScanCode()));
    }
  }
  if (watched == controls_.PanelInfo && event->type() == QEvent::MouseButtonPress) {
    PanelInfoClick();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

KeyContext TForm1::CurrentKeyContext() const {
  KeyContext ctx;
  ctx.currentPage = ShownPage();
  ctx.connectionMode = connectionMode_;
  ctx.tabParamVisible = TabVisible(Page::Parameters);
  ctx.tabConfigVisible = TabVisible(Page::Configuration);
  ctx.tabMapVisible = TabVisible(Page::Map);
  ctx.tabUpgVisible = TabVisible(Page::Firmware);
  return ctx;
}

bool TForm1::FormKeyDown(int virtualKey) {
  switch (HandleKeyDown(virtualKey, keyHistory_, CurrentKeyContext())) {
    case KeyAction::None: return false;
    case KeyAction::ShowKeyLabelsAndHelp:
      ShowKeyLabels();
      help_->OpenHelp(false);
      break;
    case KeyAction::SelectSetup: TabSetClick(); break;
    case KeyAction::SelectParam: TabParamClick(); break;
    case KeyAction::SelectConfig: TabConfigClick(); break;
    case KeyAction::SelectMap: TabMapClick(); break;
    case KeyAction::SelectUpg: TabUpgClick(); break;
    case KeyAction::FocusGrid: pageGrid_->Widget()->setFocus(); break;
    case KeyAction::ModeSwitchOrReconnect: PanelInfoClick(); break;
    case KeyAction::NextFontSize:
      setup_->CBFont->setCurrentIndex(NextFontIndex(setup_->CBFont->currentIndex()));
      CBFontChange();
      break;
    case KeyAction::Reconnect: supervisor_->RequestReconnect(); break;
    case KeyAction::SwitchListOrder: SwitchListOrder(); break;
    case KeyAction::StopLink: StopLinkKey(); break;
    case KeyAction::ResetChannelColours: ResetChannelColours(); break;
    case KeyAction::SaveRecording: BtnSaveVisClick(); break;
    case KeyAction::OpenRecording: BtnOpenVisClick(); break;
    case KeyAction::ExportCsv: ExportCsvKey(); break;
    case KeyAction::TogglePlay: live_->PlayClick(); break;
    case KeyAction::ServiceReport: BtnReportClick(); break;
    case KeyAction::ToggleScope: BtnScopeClick(); break;
    case KeyAction::StartProgramming: Btn1Click(); break;
    case KeyAction::StepDown: StepSelected(0); break;
    case KeyAction::StepUp: StepSelected(1); break;
    case KeyAction::ToggleServiceMode: ToggleServiceMode(); break;
  }
  return true;
}

void TForm1::ShowKeyLabels() {
  tabs_->ShowKeyLabels();
  controls_.ShowKeyLabel();
  supervisor_->StartKeyLabelCountdown();
}

void TForm1::RestoreTabCaptions() { tabs_->RestoreCaptions(); }

void TForm1::ToggleServiceMode() {
  serviceMode_ = !serviceMode_;
  link_->SetServiceMode(serviceMode_);
  tabs_->SetServiceMode(serviceMode_);
  LayoutMainWindow();
}

void TForm1::SwitchListOrder() {
  setup_->CBList->setCurrentIndex(setup_->CBList->currentIndex() == 0 ? 1 : 0);
  LayoutMainWindow();
}

void TForm1::StopLinkKey() {
  supervisor_->StopLink();
  link_->CancelReconnect();
}

void TForm1::ResetChannelColours() { live_->ResetColours(); }

// ---------------------------------------------------------------------------------------
// Timers and the serial event

void TForm1::TimerTxTimer() { link_->TimerTxTimer(); }

void TForm1::TimerInfoTimer() { supervisor_->TimerInfoTimer(); }

void TForm1::VaComm1RxChar(int count) { link_->VaComm1RxChar(count); }

// ---------------------------------------------------------------------------------------
// LinkHost

void TForm1::SetTxInterval(int ms) { timerTx_->setInterval(ms); }

void TForm1::SetTxEnabled(bool enabled) {
  if (enabled)
    timerTx_->start();
  else
    timerTx_->stop();
}

bool TForm1::TxEnabled() const { return timerTx_->isActive(); }

void TForm1::SetBaseCaption() { setWindowTitle(kBaseCaption); }

void TForm1::SetBusyCursor(bool busy) { dialogs_.SetBusyCursor(busy); }

void TForm1::ShowReadProgress(int maximum) { controls_.ShowReadProgress(maximum); }

void TForm1::SetReadProgress(int position) { controls_.SetReadProgress(position); }

void TForm1::HideReadProgress() { controls_.HideReadProgress(); }

void TForm1::AddLogLine(const std::string& line) {
  if (env_.trace) env_.trace->Note(line);
  if (ShownPage() == Page::Firmware) firmware_->KeepLogLine(line);
  controls_.AddLogLine(line);
}

std::string TForm1::LogText() const { return controls_.LogText(); }

void TForm1::ShowMessage(const std::string& text) { dialogs_.ShowMessage(text, MessageButtons::Ok); }

void TForm1::Beep() { dialogs_.Beep(); }

void TForm1::ParametersRead() {
  LayoutMainWindow();
  if (connectionMode_ != Mode::Controller) return;
  const std::string folder = env_.backupDir.empty() ? DefaultBackupFolder() : env_.backupDir;
  const std::string kept = factoryKeeper_.ReadCompleted(link_->Block(), link_->SentBlock(), folder);
  if (!kept.empty()) AddLogLine(kept);
}

void TForm1::PlausibilityCheck() { paramEditor_->PlausibilityCheck(false); }

std::string TForm1::ParameterChangeText(int index, std::uint8_t value) const {
  return ::ParameterChangeText(link_->Block(), index, value, ListOrder());
}

// ---------------------------------------------------------------------------------------
// SupervisionHost

bool TForm1::AutoPortSearch() const { return setup_->CBCAut->currentIndex() == 1; }

void TForm1::ShowPortInComboBox(int port) { setup_->ShowPort(port); }

void TForm1::SelectSetupPage() { TabSetClick(); }

void TForm1::ClearLog() { controls_.Memo1->clear(); }

bool TForm1::TakeHelpRequest() {
  const bool pending = help_->TakeResyncRequest() || helpRequest_;
  helpRequest_ = false;
  return pending;
}

// The help follows the selection while the keyboard stays with the main window.
void TForm1::OpenHelp() {
  help_->OpenHelp(false);
  activateWindow();
}

void TForm1::BtnHelpClick() { help_->OpenHelp(true); }

void TForm1::ShowModePanel(const ModePanelLook& look) { controls_.ShowModePanel(look); }

void TForm1::HideAutoMessage() { live_->HideAutoMessage(); }

bool TForm1::ReadingsGridVisible() const { return live_->GridVisible(); }

// The message stands over one cell of the readings grid.
void TForm1::ShowAutoMessage(const std::string& text) { live_->ShowAutoMessage(text, font()); }

void TForm1::HideHintPanel() { live_->HideHint(); }

void TForm1::ShowParamAndConfigTabs() {
  tabs_->TabParam->show();
  tabs_->TabConfig->show();
}
