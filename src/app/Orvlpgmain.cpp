#include "app/Orvlpgmain.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <functional>
#include <tuple>

#include "app/ConnectionModeLook.h"
#include "app/MainThreadQt.h"
#include "app/PageButtonStrip.h"
#include "app/PageTabsQt.h"
#include "app/SettingsStore.h"
#include "app/SplitterBarQt.h"
#include "app/VirtualKeysQt.h"
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
#include "map/MapPage.h"
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
constexpr int kBtnHelpWidth = 110;
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

QString RgbStyle(const Rgb& c) { return QString("rgb(%1,%2,%3)").arg(c.red).arg(c.green).arg(c.blue); }

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
  firmware_ = std::make_unique<FirmwarePageQt>(
      this, GridEx1, Memo1, *link_, *this, dialogs_, programDir_,
      FirmwareWindow{[this] { live_->CloseMagnifier(); }, [this] { return layout_.parameterRowsVisible; }});
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

  TabCon = new QWidget(client);
  TabCon->setObjectName("TabCon");
  tabs_ = std::make_unique<PageTabs>(TabCon);
  std::tie(TabSet, TabParam, TabConfig, TabUpg, TabMap, TabProc, tabGroup) =
      std::tuple{tabs_->TabSet, tabs_->TabParam, tabs_->TabConfig, tabs_->TabUpg,
                 tabs_->TabMap, tabs_->TabProc,  tabs_->group};
  connect(TabSet, &QToolButton::clicked, this, [this] { TabSetClick(); });
  connect(TabParam, &QToolButton::clicked, this, [this] { TabParamClick(); });
  connect(TabConfig, &QToolButton::clicked, this, [this] { TabConfigClick(); });
  connect(TabMap, &QToolButton::clicked, this, [this] { TabMapClick(); });
  connect(TabProc, &QToolButton::clicked, this, [this] { TabProcClick(); });
  connect(TabUpg, &QToolButton::clicked, this, [this] { TabUpgClick(); });

  PanelInfo = new QLabel(TabCon);
  PanelInfo->setObjectName("PanelInfo");
  PanelInfo->setAlignment(Qt::AlignCenter);
  PanelInfo->setFrameShape(QFrame::Panel);
  PanelInfo->setAutoFillBackground(true);
  PanelInfo->installEventFilter(this);
  CGRead = new QProgressBar(PanelInfo);
  CGRead->setObjectName("CGRead");
  CGRead->setTextVisible(false);
  CGRead->setStyleSheet("QProgressBar{background:red;border:0}QProgressBar::chunk{background:lime}");
  CGRead->hide();

  Panel3 = new QWidget(client);
  Panel3->setObjectName("Panel3");
  Memo1 = new QTextEdit(client);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  // Long lines (a port's access advice, a backup's file name) wrap rather than run out of view.
  Memo1->setLineWrapMode(QTextEdit::WidgetWidth);

  Splitter = new SplitterBar(client);
  Splitter->setObjectName("Splitter");
  Splitter->onMoved = [this](int top) {
    const int height = std::max(
        kPanel3MinHeight, std::min(top - kTabConHeight, UpperPanelLimit(this->centralWidget()->height())));
    settings_.WSize = height;
    LayoutMainWindow();
  };

  PanelLog = new QWidget(client);
  PanelLog->setObjectName("PanelLog");
  PanelLog->setStyleSheet("QWidget#PanelLog{background:white}");
  Image1 = new QLabel(PanelLog);
  Image1->setObjectName("Image1");
  Image1->setText("<b style='font-size:20px;color:#1a5a9a'>MERVOLANTE</b>");
  Image1->setAlignment(Qt::AlignCenter);
  Memo2 = new QTextEdit(PanelLog);
  Memo2->setObjectName("Memo2");
  Memo2->setReadOnly(true);

  PanelHint = new QLabel(client);
  PanelHint->setObjectName("PanelHint");
  PanelHint->setStyleSheet("background:rgb(255,255,225)");
  PanelHint->hide();
  CreateMonitor(client);

  GridEx1 = new FixedHeadingGrid(1, 2, client);
  GridEx1->setObjectName("GridEx1");
  GridEx1->verticalHeader()->hide();
  GridEx1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GridEx1->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(GridEx1, &QTableWidget::currentCellChanged, this,
          [this](int row, int, int, int) { GridEx1SelectCell(row); });

  BtnOpenPar = MakeButton(client, "BtnOpenPar", "O");
  BtnSavePar = MakeButton(client, "BtnSavePar", "S");
  BtnReadPar = MakeButton(client, "BtnReadPar", "R");
  BtnWritePar = MakeButton(client, "BtnWritePar", "F");
  BtnHelp = MakeButton(client, "BtnHelp", "?", kBtnHelpWidth);
  connect(BtnReadPar, &QPushButton::clicked, this, [this] { BtnReadParClick(); });
  connect(BtnOpenPar, &QPushButton::clicked, this, [this] { BtnOpenParClick(); });
  connect(BtnSavePar, &QPushButton::clicked, this, [this] { BtnSaveParClick(); });
  connect(BtnWritePar, &QPushButton::clicked, this, [this] { BtnWriteParClick(); });

  Btn1 = MakeButton(client, "Btn1", QString(), kPageButtonWidth, kPageButtonHeight);
  Btn2 = MakeButton(client, "Btn2", QString(), kPageButtonWidth, kPageButtonHeight);
  Btn3 = MakeButton(client, "Btn3", QString(), kPageButtonWidth, kPageButtonHeight);
  connect(Btn1, &QPushButton::clicked, this, [this] { Btn1Click(); });
  connect(Btn2, &QPushButton::clicked, this, [this] { Btn2Click(); });
  connect(Btn3, &QPushButton::clicked, this, [this] { Btn3Click(); });

  autoConfig_ = std::make_unique<AutoConfigPageQt>(
      WizardWidgets{client, Memo1, CGRead, GridEx1},
      WizardWindow{[this]() -> ParameterBlock& { return link_->parameterBlock; },
                   [this] { link_->RequestModeSwitch(); }, [this] { RebuildEditor(); },
                   [this](Mode mode) { ApplyConnectionMode(mode); }, [this] { return AutomaticBackupLine(); },
                   [this] { editorView_->RebuildEditor(); }},
      *link_, dialogs_);
  std::tie(BitBtnConBen, BitBtnConGas, BitBtnNext, BitBtnOk, BitBtnCancel) =
      std::tuple{autoConfig_->BitBtnConBen, autoConfig_->BitBtnConGas, autoConfig_->BitBtnNext,
                 autoConfig_->BitBtnOk, autoConfig_->BitBtnCancel};

  setup_ = std::make_unique<SetupPageQt>(
      GridEx1, *link_,
      SetupWindow{[this] { return connectionMode_; },
                  [this] { return std::max(1, layout_.parameterRowsVisible); },
                  [this](int index) { CBComChange(index); }, [this] { CBFontChange(); },
                  [this] { LayoutMainWindow(); }, [this] { RebuildEditor(); }});
  std::tie(CBCom, CBCAut, CBFAut, CBList, CBFont, EDFile) = std::tuple{
      setup_->CBCom, setup_->CBCAut, setup_->CBFAut, setup_->CBList, setup_->CBFont, setup_->EDFile};
  CBLang = new QComboBox(client);
  CBLang->setObjectName("CBLang");
  CBLang->addItems({"polski", "deutsch", "english", "italiano", "lietuviskas", "russian"});
  CBLang->hide();
  connect(CBLang, &QComboBox::activated, this, [this](int) { CBLangChange(); });

  FillRegisterList(live_->RegisterList());
  PanelHint->raise();  // the hints stand over the grids and the controls of the pages

  editorView_ = new ParameterEditorQt(*paramEditor_, GridEx1, PanelHint, [this] {
    return ParameterViewContext{ShownPage(), connectionMode_, CBList->currentIndex(),
                                layout_.parameterRowsVisible};
  });
  parametersPage_ = std::make_unique<ParametersPageQt>(*editorView_, GridEx1);
  map_ = std::make_unique<MapPage>(MapWindow{[this] { live_->CloseMagnifier(); },
                                             [this] { editorView_->RebuildEditor(); },
                                             [this](const MapColumnView& view) {
                                               editorView_->ShowMapColumn(view);
                                               live_->ShowMapReadings(view);
                                             }});
  inspector_ = std::make_unique<InspectorPageQt>(
      GridEx1, *link_,
      InspectorWindow{[this] { return std::max(1, layout_.parameterRowsVisible); },
                      [this] {
                        const Rgb& fixed = layout_.gridEx1FixedColour;
                        return QColor(fixed.red, fixed.green, fixed.blue);
                      },
                      [this](const PortView& view) { live_->ShowPortView(view); }});
  timerTx_ = new QTimer(this);
  timerTx_->setObjectName("TimerTx");
  timerTx_->setInterval(kPollIntervalMs);
  connect(timerTx_, &QTimer::timeout, this, [this] { TimerTxTimer(); });
  timerInfo_ = new QTimer(this);
  timerInfo_->setObjectName("TimerInfo");
  timerInfo_->setInterval(900);
  connect(timerInfo_, &QTimer::timeout, this, [this] { TimerInfoTimer(); });

  help_ = std::make_unique<HelpDesk>(HelpDeskLinks{this, client, GridEx1, live_->Widgets().Grid, &dialogs_,
                                                   [this] { return CurrentPage(); },
                                                   [this] { return FontSize(); }, programDir_});
  connect(BtnHelp, &QPushButton::clicked, this, [this] { BtnHelpClick(); });

  // Tab goes through the live views' controls where it always went: the history bar first,
  // the readings grid before the page grid, the scale after it, the register list and the
  // channels' boxes last.
  const LiveWidgets& w = live_->Widgets();
  QWidget* const tabOrder[] = {w.ScrollBar1, Memo1, Memo2, w.Grid, GridEx1, w.UpDownX};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
  QWidget* previous = CBLang;
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
  h.parameters = [this]() -> ParameterBlock& { return link_->parameterBlock; };
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
  h.autoSave = [this] { return CBFAut->currentIndex() == 1; };
  h.idleSpeedHidden = [this] { return Wizard().Step() == 4; };
  h.arrangementClicked = [this] { BtnWindowClick(); };
  live_ = std::make_unique<LiveMonitor>(this, client, PanelHint, std::move(h), dialogs_, history_,
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
  CBLang->setCurrentIndex(5);

  SettingsStore store(SettingsPath());
  std::string unreadable;
  if (!store.Load(&unreadable) && !store.Unreadable()) unreadable.clear();
  LoadSettings(store, settings_);
  ApplySettings();
  CBLang->setCurrentIndex(kLanguageAtStart);

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
  setup_->Apply({s.FileName, s.AutoComm, s.AutoSave, s.List, s.Font});
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
  std::tie(s.FileName, s.AutoComm, s.AutoSave, s.List, s.Font) =
      std::tuple{setup.fileName, setup.autoComm, setup.autoSave, setup.list, setup.font};
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
  s.Lang = CBLang->currentIndex();
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
  help_->LoadStartPage(*Memo2);
  tabs_->ApplyTexts();
  live_->ApplyTexts();
  BtnOpenPar->setToolTip(QtUiText(126));
  BtnSavePar->setToolTip(QtUiText(127));
  BtnReadPar->setToolTip(QtUiText(129));
  BtnWritePar->setToolTip(QtUiText(130));
  PanelInfo->setToolTip(QtUiText(131));
  BtnHelp->setText(QtUiText(930));
  BtnHelp->setToolTip(QtUiText(931));
  autoConfig_->ApplyTexts();
  Btn1->setText(QtUiText(135));
  Btn2->setText(QtUiText(136));
  Btn3->setText(QtUiText(137));
  setup_->ApplyTexts();
  Memo1->clear();  // the combos' items are assembled in the log, which ends up empty
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
  firmware_->Page().StartProgramming(GridEx1->currentRow(), connectionMode_);
}

void TForm1::Btn2Click() { PageButtonClick(2); }

void TForm1::Btn3Click() { PageButtonClick(3); }

QToolButton* TForm1::TabOfPage(Page page) const { return tabs_->TabOf(page); }

bool TForm1::TabVisible(Page page) const { return tabs_->Visible(page); }

void TForm1::ApplyConnectionMode(Mode mode) {
  connectionMode_ = mode;
  link_->SetConnectionMode(mode);
  if (env_.trace) env_.trace->Note("mode " + std::to_string(ModeNumber(mode)));
  const ConnectionModeLook look =
      LookOfConnectionMode(mode, link_->parameterBlock, serviceMode_, openedFileName_);
  setWindowTitle(QtText(look.caption));
  TabSet->show();
  TabParam->setVisible(look.paramVisible);
  TabConfig->setVisible(look.configVisible);
  TabMap->setVisible(look.mapVisible);
  TabUpg->setVisible(look.upgVisible);
  TabProc->setVisible(look.procVisible);
  tabs_->Place(PanelInfo->x() - kPageButtonGap);
  if (look.page) ChangePage(*look.page);
  if (look.versionWarning) {
    const bool wasRunning = link_->TransmitClockRunning();
    link_->StopTransmitClock();
    PanelLog->hide();
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
  Memo1->clear();
}

void TForm1::BtnOpenParClick() { transfer_->BtnOpenParClick(); }

void TForm1::BtnSaveParClick() { transfer_->BtnSaveParClick(); }

void TForm1::BtnWriteParClick() { transfer_->BtnWriteParClick(); }

void TForm1::CBLangChange() {
  ApplyTexts();
  LayoutMainWindow();
}

void TForm1::GridEx1SelectCell(int row) {
  setup_->SelectCell(row);
  editorView_->GridEx1SelectCell(row);
}

void TForm1::StepSelected(int direction) { editorView_->StepSelected(direction); }

std::string TForm1::FileNameBase() const { return setup_->Values().fileName; }
int TForm1::ListOrder() const { return CBList->currentIndex(); }

void TForm1::MakeAutomaticBackup() {
  const std::string line = AutomaticBackupLine();
  if (!line.empty()) AddLogLine(line);
}

std::string TForm1::AutomaticBackupLine() {
  if (connectionMode_ != Mode::Controller) return {};
  const std::string folder = env_.backupDir.empty() ? DefaultBackupFolder() : env_.backupDir;
  return BackupLogLine(MakeParameterBackup(link_->parameterBlock, folder, std::time(nullptr)));
}

int TForm1::FontSize() const {
  bool ok = false;
  const int size = CBFont->currentText().toInt(&ok);
  return ok ? size : kFontSizes[0];
}

void TForm1::SetFontSize(int size) {
  QFont f = font();
  f.setPointSize(size);
  setFont(f);
  // A widget with a style sheet of its own takes no font from its parent: the tables get it.
  QFont gridFont = GridEx1->font();
  gridFont.setPointSize(size);
  GridEx1->setFont(gridFont);
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

// The design's column widths are too narrow for some texts in the fonts at hand: the two
// columns of the parameter-like pages share their width by what they show, and the memory
// pages' columns hold their headings and values whole.
bool TForm1::FitGridEx1Columns() {
  const Page page = ShownPage();
  std::vector<int> before;
  for (int c = 0; c < GridEx1->columnCount(); ++c) before.push_back(GridEx1->columnWidth(c));
  if (page == Page::Map)
    WidenColumnsToTexts(GridEx1, "88.8");
  else if (page == Page::Sram || page == Page::Eeprom)
    WidenColumnsToTexts(GridEx1, "888");
  else if (page != Page::Port)
    BalanceTwoColumns(GridEx1);
  for (int c = 0; c < GridEx1->columnCount(); ++c)
    if (GridEx1->columnWidth(c) != before[static_cast<std::size_t>(c)]) return true;
  return false;
}

void TForm1::LayoutMainWindow() {
  QWidget* client = centralWidget();
  const int W = client->width();
  const int H = client->height();
  const int fontSize = FontSize();
  const int panel3Height = std::max(kPanel3MinHeight, std::min(settings_.WSize, UpperPanelLimit(H)));

  TabCon->setGeometry(0, 0, W, kTabConHeight);
  PanelInfo->setGeometry(W - 103 - 4, 5, 103, 30);
  tabs_->Place(PanelInfo->x() - kPageButtonGap);
  CGRead->setGeometry(2, 2, 99, 26);
  Panel3->setGeometry(0, kTabConHeight, W, panel3Height);
  Splitter->setGeometry(0, kTabConHeight + panel3Height, W, kSplitterHeight);

  LayoutInput in;
  in.clientWidth = W;
  in.clientHeight = H;
  in.currentPage = ShownPage();
  in.arrangementFlag = arrangementFlag_;
  in.fontSize = fontSize;
  in.splitterTop = kTabConHeight + panel3Height;
  in.selectedRow = std::max(1, GridEx1->currentRow());
  in.topRow = TopRow(GridEx1);
  in.readingsGridNeed = gridNeeds_[0];
  in.parameterGridNeed = gridNeeds_[1];
  layout_ = ComputeMainLayout(in);
  const MainLayout& L = layout_;

  // The wizard's buttons stand right of the oscilloscope: wider ones take from its width.
  PlacedControl scope = L.panelSco;
  scope.rect.width -=
      autoConfig_->PlaceButtons(L.wizardButtonsVisible, L.wizardButtonsLeft, kTabConHeight + 8);
  Place(GridEx1, L.gridEx1);
  GridEx1->setColumnCount(L.gridEx1ColumnCount);
  for (int c = 0; c < L.gridEx1ColumnCount; ++c) GridEx1->setColumnWidth(c, L.gridEx1ColumnWidth);
  if (L.gridEx1Column1Width) GridEx1->setColumnWidth(1, *L.gridEx1Column1Width);
  GridEx1->verticalHeader()->setDefaultSectionSize(L.gridEx1RowHeight + 1);
  SetHeadingRowHeight(GridEx1, L.gridEx1RowHeight + 1);
  GridEx1->setSelectionBehavior(L.gridEx1RowSelect ? QAbstractItemView::SelectRows
                                                   : QAbstractItemView::SelectItems);
  GridEx1->setStyleSheet(QString("QTableView{background:%1}").arg(RgbStyle(L.gridEx1Colour)));
  GridEx1->SetFixedColumn(L.gridEx1FixedColumnCount > 0);
  // Where the fixed row and column have a colour of their own, they show it.
  const Rgb& fixed = L.gridEx1FixedColour;
  GridEx1->SetFixedColour(fixed == L.gridEx1Colour ? QColor() : QColor(fixed.red, fixed.green, fixed.blue));
  if (L.gridEx1RowCount) GridEx1->setRowCount(*L.gridEx1RowCount);
  if (L.clearGridEx1Cells) GridEx1->clearContents();

  QPushButton* parameterButtons[5] = {BtnOpenPar, BtnSavePar, BtnReadPar, BtnWritePar, BtnHelp};
  for (int i = 0; i < 5; ++i) {
    parameterButtons[i]->setVisible(L.parameterButtonsVisible);
    parameterButtons[i]->move(L.parameterButtonLefts[i], L.parameterButtonsTop);
  }
  // A wider help button keeps to the window's right edge, clear of the button before it.
  const int helpWidth = FitCaptions(BtnHelp, kBtnHelpWidth, {BtnHelp->text()});
  BtnHelp->move(std::max(BtnWritePar->geometry().right() + 3, std::min(BtnHelp->x(), W - helpWidth)),
                BtnHelp->y());
  QPushButton* pageButtons[3] = {Btn1, Btn2, Btn3};
  for (int i = 0; i < 3; ++i) {
    const PageButtonPlace& p = L.pageButtons[i];
    pageButtons[i]->setVisible(p.visible);
    if (!p.visible) continue;
    Place(pageButtons[i], p.rect);
    pageButtons[i]->setText(p.captionId ? QtUiText(p.captionId) : QtText(p.caption));
    FitCaptions(pageButtons[i], kPageButtonWidth, {pageButtons[i]->text()});
  }
  // A widened button moves the ones beside it along: those after it on the map and firmware
  // pages, those before it on the processor pages, whose buttons end at the right edge.
  constexpr int kPageButtonsGap = 7;
  const bool fromRight = IsInspectorPage(ShownPage());
  for (int n = 0, edge = fromRight ? W - 1 : 0; n < 3; ++n) {
    QPushButton* b = pageButtons[fromRight ? 2 - n : n];
    if (!b->isVisibleTo(this)) continue;
    b->move(fromRight ? std::min(b->x(), edge - b->width()) : std::max(b->x(), edge), b->y());
    edge = fromRight ? b->x() - kPageButtonsGap : b->geometry().right() + 1 + kPageButtonsGap;
  }
  MonitorLayout monitor = MonitorPart(L, scope);
  if (ShownPage() == Page::Map) monitor.btnLupMinLeft = Btn3->geometry().right() + 1 + kPageButtonsGap;
  live_->Layout(monitor);
  Place(Memo1, L.memo1);
  Place(PanelLog, L.panelLog);
  if (L.panelLog.visible) {
    Image1->setGeometry(0, 0, L.panelLog.rect.width, 60);
    Memo2->setGeometry(0, 60, L.panelLog.rect.width, std::max(0, L.panelLog.rect.height - 60));
  }
  RebuildEditor();
  if (L.gridEx1TopRow > 0 && L.gridEx1TopRow < GridEx1->rowCount())
    GridEx1->scrollTo(GridEx1->model()->index(L.gridEx1TopRow, 0), QAbstractItemView::PositionAtTop);
  // The grids' texts are known only once they are filled: when they need other widths than
  // this layout gave them, it runs once more with them.
  const Page page = ShownPage();
  const std::array<int, 2> needs{L.grid.visible ? live_->GridNeed() : 0,
                                 page <= Page::Configuration ? TwoColumnsNeed(GridEx1) : 0};
  if (needs != gridNeeds_ && !relayingOut_) {
    gridNeeds_ = needs;
    relayingOut_ = true;
    LayoutMainWindow();
    relayingOut_ = false;
  }
}

// The editors over the cells are placed while the grid fills, so a grid whose columns had
// to change is filled once more. The readings' rows follow bytes 33, 34 and 81 in every path
// that changes them: then the whole window is laid out, which fills the grid as well.
void TForm1::RebuildEditor() {
  if (live_->LayoutOutdated()) return LayoutMainWindow();
  FillGridEx1();
  if (FitGridEx1Columns()) FillGridEx1();
}

// The grid's content for the page: every page fills it as it shows it; the set-up page's
// boxes, the processor cells and the parameter view's controls leave with their pages.
void TForm1::FillGridEx1() {
  const Page page = ShownPage();
  setup_->HideEditors();
  if (!IsInspectorPage(page)) inspector_->Release();
  if (page == Page::Firmware) editorView_->RebuildEditor();
  PageFor(page).Layout();
}

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
  if (watched == PanelInfo && event->type() == QEvent::MouseButtonPress) {
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
    case KeyAction::FocusGrid: GridEx1->setFocus(); break;
    case KeyAction::ModeSwitchOrReconnect: PanelInfoClick(); break;
    case KeyAction::NextFontSize:
      CBFont->setCurrentIndex(NextFontIndex(CBFont->currentIndex()));
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
  PanelInfo->setText("F8");
  PanelInfo->setPalette(QApplication::palette());
  PanelInfo->setStyleSheet(QString());
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
  CBList->setCurrentIndex(CBList->currentIndex() == 0 ? 1 : 0);
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

void TForm1::ShowReadProgress(int maximum) {
  CGRead->setRange(0, maximum);
  CGRead->setValue(0);
  CGRead->show();
}

void TForm1::SetReadProgress(int position) { CGRead->setValue(std::min(position, CGRead->maximum())); }

void TForm1::HideReadProgress() {
  CGRead->hide();
  CGRead->setValue(0);
}

// An entry the log ends with is not added again: a port that cannot be opened is tried each
// information tick, and its entry would fill the log.
void TForm1::AddLogLine(const std::string& line) {
  if (env_.trace) env_.trace->Note(line);
  if (ShownPage() == Page::Firmware) firmware_->KeepLogLine(line);
  const QString shown = QtText(DisplayText(line));
  QStringList newest;
  QTextBlock block = Memo1->document()->lastBlock();
  for (qsizetype n = shown.count('\n') + 1; n > 0 && block.isValid(); --n, block = block.previous())
    newest.prepend(block.text());
  if (newest.join('\n') == shown) return;
  Memo1->append(shown);
}

std::string TForm1::LogText() const { return Memo1->toPlainText().toStdString(); }

void TForm1::ShowMessage(const std::string& text) { dialogs_.ShowMessage(text, MessageButtons::Ok); }

void TForm1::Beep() { dialogs_.Beep(); }

void TForm1::ParametersRead() { LayoutMainWindow(); }

void TForm1::PlausibilityCheck() { paramEditor_->PlausibilityCheck(false); }

std::string TForm1::ParameterChangeText(int index, std::uint8_t value) const {
  return ::ParameterChangeText(link_->parameterBlock, index, value, ListOrder());
}

// ---------------------------------------------------------------------------------------
// SupervisionHost

bool TForm1::AutoPortSearch() const { return CBCAut->currentIndex() == 1; }

void TForm1::ShowPortInComboBox(int port) { setup_->ShowPort(port); }

void TForm1::SelectSetupPage() { TabSetClick(); }

void TForm1::ClearLog() { Memo1->clear(); }

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

void TForm1::ShowModePanel(const ModePanelLook& look) {
  const QString background = look.buttonFace ? QApplication::palette().color(QPalette::Button).name()
                                             : QColor::fromRgb(static_cast<QRgb>(look.colour)).name();
  const QString text = QColor::fromRgb(static_cast<QRgb>(look.textColour)).name();
  PanelInfo->setStyleSheet(QString("QLabel#PanelInfo{background:%1;color:%2}").arg(background, text));
  PanelInfo->setText(QtText(look.text));
}

void TForm1::HideAutoMessage() { live_->HideAutoMessage(); }

bool TForm1::ReadingsGridVisible() const { return live_->GridVisible(); }

// The message stands over one cell of the readings grid.
void TForm1::ShowAutoMessage(const std::string& text) { live_->ShowAutoMessage(text, font()); }

void TForm1::HideHintPanel() { live_->HideHint(); }

void TForm1::ShowParamAndConfigTabs() {
  TabParam->show();
  TabConfig->show();
}
