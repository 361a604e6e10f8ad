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
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <tuple>

#include "app/MainThreadQt.h"
#include "app/PageButtonStrip.h"
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
#include "help/HelpDeskQt.h"
#include "link/TVaComm.h"
#include "model/ParameterBlock.h"
#include "monitor/CGaugeQt.h"
#include "monitor/LiveMonitorQt.h"
#include "monitor/PerformanceGraphQt.h"
#include "params/ParameterBackup.h"
#include "params/ParameterEditorQt.h"

namespace {

using Mode = ::ConnectionMode;

constexpr const char* kBaseCaption = "MERVOLANTE LPG V1.61";
constexpr int kDesignClientHeight = 445;
constexpr int kTabTop = 7;
constexpr int kTabWidth = 108;
constexpr int kTabHeight = 28;
constexpr int kScopeHistoryLast = ReadingHistory::kRecords - 1;
constexpr int kVersionWarningFrom = 176;
// Stored window bounds are outer bounds, as the settings have always held them: the client
// area plus a fixed frame allowance, so that a bound read back gives the same client size on
// any window manager.
constexpr int kFrameExtraWidth = kDesignWindowWidth - kDesignClientWidth;
constexpr int kFrameExtraHeight = kDesignWindowHeight - kDesignClientHeight;

QString T(int id) { return QString::fromStdString(DisplayText(UiText(id))); }

std::string ProgramFolder() {
  std::string dir = QCoreApplication::applicationDirPath().toStdString();
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

QString RgbStyle(const Rgb& c) { return QString("rgb(%1,%2,%3)").arg(c.red).arg(c.green).arg(c.blue); }

void Place(QWidget* w, const Rect& r) { w->setGeometry(r.left, r.top, r.width, r.height); }

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

QComboBox* MakeCombo(QWidget* parent, const char* name, const QStringList& items) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  c->addItems(items);
  c->hide();
  return c;
}

// Channel order of the arrays: RPM, LAM, SIM, TPS, MOT, DEF, PSI, RAM.
constexpr const char* kChannelNames[8] = {"RPM", "LAM", "SIM", "TPS", "MOT", "DEF", "PSI", "Ram"};

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
  firmware_ = std::make_unique<FirmwarePageQt>(this, GridEx1, Memo1, *link_, *this, dialogs_, programDir_);
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
  tabGroup = new QButtonGroup(this);
  tabGroup->setExclusive(true);
  QFont tabFont("Times New Roman");
  tabFont.setPixelSize(16);
  auto makeTab = [&](const char* name, int left, int width, const QString& caption) {
    auto* b = new QToolButton(TabCon);
    b->setObjectName(name);
    b->setCheckable(true);
    b->setAutoRaise(false);
    b->setFont(tabFont);
    b->setText(caption);
    b->setGeometry(left, kTabTop, width, kTabHeight);
    b->setFocusPolicy(Qt::NoFocus);
    tabGroup->addButton(b);
    b->hide();
    return b;
  };
  TabSet = makeTab("TabSet", 0, kTabWidth, QString());
  TabParam = makeTab("TabParam", 112, kTabWidth, QString());
  TabConfig = makeTab("TabConfig", 224, kTabWidth, QString());
  TabUpg = makeTab("TabUpg", 336, kTabWidth, QString());
  TabMap = makeTab("TabMap", 448, kTabWidth, QString());
  TabProc = makeTab("TabProc", 560, 28, "P");
  TabSet->show();
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
  PanelSco = new QFrame(client);
  PanelSco->setObjectName("PanelSco");
  PanelSco->setStyleSheet("QFrame#PanelSco{background:black}");
  Graph1 = new TPerformanceGraph(PanelSco);
  Graph1->setObjectName("Graph1");
  LabelXScope = new QLabel(PanelSco);
  LabelXScope->setObjectName("LabelXScope");
  LabelXScope->setStyleSheet("color:silver");
  LabelTim = new QLabel(PanelSco);
  LabelTim->setObjectName("LabelTim");
  LabelTim->setStyleSheet("color:silver");
  ScrollBar1 = new QScrollBar(Qt::Horizontal, PanelSco);
  ScrollBar1->setObjectName("ScrollBar1");
  ScrollBar1->setRange(0, kScopeHistoryLast);
  ScrollBar1->hide();
  Memo1 = new QTextEdit(client);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QTextEdit::NoWrap);

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

  Grid = new QTableWidget(1, 4, client);
  Grid->setObjectName("Grid");
  Grid->setStyleSheet("QTableWidget#Grid{background:rgb(207,207,207)}");
  Grid->horizontalHeader()->hide();
  Grid->verticalHeader()->hide();
  Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);

  GridEx1 = new FixedHeadingGrid(1, 2, client);
  GridEx1->setObjectName("GridEx1");
  GridEx1->verticalHeader()->hide();
  GridEx1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GridEx1->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(GridEx1, &QTableWidget::currentCellChanged, this,
          [this](int row, int, int, int) { GridEx1SelectCell(row); });

  BtnOpenVis = MakeButton(client, "BtnOpenVis", "O");
  BtnSaveVis = MakeButton(client, "BtnSaveVis", "S");
  BtnScope = MakeButton(client, "BtnScope", "STOP", 48);
  UpDownX = new QSpinBox(client);
  UpDownX->setObjectName("UpDownX");
  UpDownX->setRange(1, 10);
  UpDownX->resize(40, 24);
  BtnGrid = MakeButton(client, "BtnGrid", "#");
  BtnWindow = MakeButton(client, "BtnWindow", "W");
  BtnLup = MakeButton(client, "BtnLup", "+");
  connect(BtnScope, &QPushButton::clicked, this, [this] { BtnScopeClick(); });
  connect(BtnGrid, &QPushButton::clicked, this, [this] { BtnGridClick(); });
  connect(BtnLup, &QPushButton::clicked, this, [this] { BtnLupClick(); });
  connect(BtnOpenVis, &QPushButton::clicked, this, [this] { BtnOpenVisClick(); });
  connect(BtnSaveVis, &QPushButton::clicked, this, [this] { BtnSaveVisClick(); });
  connect(UpDownX, &QSpinBox::valueChanged, this, [this] { UpDownXChanging(); });
  connect(ScrollBar1, &QScrollBar::valueChanged, this, [this](int p) { ScrollBar1Change(p); });
  connect(BtnWindow, &QPushButton::clicked, this, [this] { BtnWindowClick(); });

  BtnOpenPar = MakeButton(client, "BtnOpenPar", "O");
  BtnSavePar = MakeButton(client, "BtnSavePar", "S");
  BtnReadPar = MakeButton(client, "BtnReadPar", "R");
  BtnWritePar = MakeButton(client, "BtnWritePar", "F");
  BtnHelp = MakeButton(client, "BtnHelp", "?", 110);
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

  BitBtnConBen = MakeButton(client, "BitBtnConBen", QString(), 90);
  BitBtnConGas = MakeButton(client, "BitBtnConGas", QString(), 90);
  BitBtnNext = MakeButton(client, "BitBtnNext", QString(), 90);
  BitBtnOk = MakeButton(client, "BitBtnOk", QString(), 90);
  BitBtnCancel = MakeButton(client, "BitBtnCancel", QString(), 90);
  autoConfig_ = std::make_unique<AutoConfigPageQt>(
      WizardWidgets{Memo1, CGRead, GridEx1, BitBtnNext, BitBtnOk, BitBtnCancel},
      WizardWindow{[this]() -> ParameterBlock& { return link_->parameterBlock; },
                   [this] { link_->RequestModeSwitch(); }, [this] { RebuildEditor(); },
                   [this](Mode mode) { ApplyConnectionMode(mode); },
                   [this] { return AutomaticBackupLine(); }},
      dialogs_);
  connect(BitBtnConBen, &QPushButton::clicked, this, [this] { BitBtnConBenClick(); });
  connect(BitBtnConGas, &QPushButton::clicked, this, [this] { BitBtnConGasClick(); });
  connect(BitBtnNext, &QPushButton::clicked, this, [this] { BitBtnNextClick(); });
  connect(BitBtnOk, &QPushButton::clicked, this, [this] { BitBtnOkClick(); });
  connect(BitBtnCancel, &QPushButton::clicked, this, [this] { BitBtnCancelClick(); });

  CBCom = MakeCombo(GridEx1->viewport(), "CBCom", {"COM1", "COM2", "COM3", "COM4"});
  CBCAut = MakeCombo(GridEx1->viewport(), "CBCAut", {"Nie", "Tak"});
  CBFAut = MakeCombo(GridEx1->viewport(), "CBFAut", {"Nie", "Tak"});
  CBList = MakeCombo(GridEx1->viewport(), "CBList", {"wg. funkcji", "wg. typu"});
  CBFont = MakeCombo(GridEx1->viewport(), "CBFont", {"10", "12", "14"});
  CBLang =
      MakeCombo(client, "CBLang", {"polski", "deutsch", "english", "italiano", "lietuviskas", "russian"});
  EDFile = new QLineEdit(GridEx1->viewport());
  EDFile->setObjectName("EDFile");
  EDFile->hide();
  connect(CBCom, &QComboBox::activated, this, [this](int index) { CBComChange(index); });
  connect(CBFont, &QComboBox::activated, this, [this](int) { CBFontChange(); });
  connect(CBList, &QComboBox::activated, this, [this](int) { LayoutMainWindow(); });
  connect(CBLang, &QComboBox::activated, this, [this](int) { CBLangChange(); });
  for (QComboBox* c : {CBCAut, CBFAut, CBList})
    connect(c, &QComboBox::activated, this, [this](int) { RebuildEditor(); });
  // Typing leaves the box in place and focused; only the value cell under it follows.
  connect(EDFile, &QLineEdit::textEdited, this, [this](const QString& text) {
    for (int r = 1; r < GridEx1->rowCount(); ++r)
      if (auto* item = GridEx1->item(r, 1); item && item->data(Qt::UserRole).value<void*>() == EDFile)
        item->setText(text);
  });

  CBReg = new QComboBox(client);
  CBReg->setObjectName("CBReg");
  FillRegisterList(CBReg);
  CBReg->hide();

  PanelAuto = new QLabel(client);
  PanelAuto->setObjectName("PanelAuto");
  PanelAuto->hide();
  PanelErr = new QLabel(client);
  PanelErr->setObjectName("PanelErr");
  PanelErr->hide();
  PanelHint = new QLabel(client);
  PanelHint->setObjectName("PanelHint");
  PanelHint->setStyleSheet("background:rgb(255,255,225)");
  PanelHint->hide();
  editorView_ = new ParameterEditorQt(*paramEditor_, GridEx1, PanelHint, [this] {
    return ParameterViewContext{ShownPage(), connectionMode_, CBList->currentIndex(),
                                layout_.parameterRowsVisible};
  });
  PanelLam = new QWidget(client);
  PanelLam->setObjectName("PanelLam");
  PanelLam->hide();

  for (int i = 0; i < 8; ++i) {
    channelChecks[i] = new QCheckBox(client);
    channelChecks[i]->setObjectName(QString("CheckBox") + (i == 7 ? "Ram" : kChannelNames[i]));
    channelChecks[i]->hide();
    channelSwatches[i] = new QFrame(client);
    channelSwatches[i]->setObjectName(QString("Pa") + QString(kChannelNames[i]).toUpper());
    channelSwatches[i]->setAutoFillBackground(true);
    channelSwatches[i]->resize(14, 14);
    channelSwatches[i]->hide();
  }
  const char* gaugeNames[6] = {"CGRpm", "CGLam", "CGTps", "CGMot", "CGDef", "CGPsi"};
  for (int i = 0; i < 6; ++i) {
    gauges[i] = new TCGauge(client);
    gauges[i]->setObjectName(gaugeNames[i]);
    gauges[i]->hide();
  }

  timerTx_ = new QTimer(this);
  timerTx_->setObjectName("TimerTx");
  timerTx_->setInterval(kPollIntervalMs);
  connect(timerTx_, &QTimer::timeout, this, [this] { TimerTxTimer(); });
  timerInfo_ = new QTimer(this);
  timerInfo_->setObjectName("TimerInfo");
  timerInfo_->setInterval(900);
  connect(timerInfo_, &QTimer::timeout, this, [this] { TimerInfoTimer(); });

  LiveWidgets w{this,  Grid,     Graph1,    LabelTim,  LabelXScope, ScrollBar1,    BtnScope,        UpDownX,
                CBReg, PanelErr, PanelAuto, PanelHint, PanelLam,    channelChecks, channelSwatches, gauges};
  LiveHooks h;
  h.parameters = [this]() -> ParameterBlock& { return link_->parameterBlock; };
  h.page = [this] { return CurrentPage(); };
  h.service = [this] { return serviceMode_; };
  h.stopPolling = [this] { timerTx_->stop(); };
  h.recordingOpened = [this](const std::string& path) {
    openedFileName_ = FileNameOf(path);  // the caption names the file without its folder
    ApplyConnectionMode(Mode::File);
    LayoutMainWindow();
  };
  h.folder = [this](bool save) { return save ? settings_.DirSave : settings_.DirOpen; };
  h.setFolder = [this](bool save, const std::string& dir) {
    (save ? settings_.DirSave : settings_.DirOpen) = dir;
  };
  h.filePrefix = [this] { return EDFile->text().toStdString(); };
  h.autoSave = [this] { return CBFAut->currentIndex() == 1; };
  live_ = std::make_unique<LiveMonitor>(w, std::move(h), dialogs_, history_, channelColours_);
  help_ = std::make_unique<HelpDesk>(HelpDeskLinks{this, client, GridEx1, Grid, &dialogs_,
                                                   [this] { return CurrentPage(); },
                                                   [this] { return FontSize(); }});
  connect(BtnHelp, &QPushButton::clicked, this, [this] { BtnHelpClick(); });
}

// ---------------------------------------------------------------------------------------
// Start and stop

void TForm1::FormCreate() {
  setWindowTitle(kBaseCaption);
  qApp->installEventFilter(this);  // the window sees every key before its controls

  settings_ = DefaultAppSettings(programDir_);
  CBCAut->setCurrentIndex(0);
  CBFAut->setCurrentIndex(0);
  CBList->setCurrentIndex(1);
  CBFont->setCurrentIndex(0);
  CBLang->setCurrentIndex(5);

  const SettingsStore store =
      SettingsStore::Open(env_.settingsPath.empty() ? SettingsStore::DefaultFilePath() : env_.settingsPath);
  LoadSettings(store, settings_);
  ApplySettings();
  CBLang->setCurrentIndex(kLanguageAtStart);

  ApplyTexts();
  if (port_->PortNum() == 0) port_->SetPortNum(1);
  SetFontSize(FontSize());

  link_->EnterPage(Page::Setup);
  TabSet->setChecked(true);
  TabSetClick();
  UpDownXChanging();

  link_->parameterBlock = FreshParameterBlock();
  link_->sentParameterBlock = FreshParameterBlock();
  link_->ForgetController();
  link_->RequestReconnect();

  BtnWindowClick();
  ScrollBar1->setRange(0, kScopeHistoryLast);
  ScrollBar1->setValue(kScopeHistoryLast);
  timerTx_->start();
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
  timerTx_->stop();
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
  EDFile->setText(QtText(s.FileName));
  help_->SetHelpWindowMode(s.Help);
  if (s.RamIndex >= 0 && s.RamIndex < CBReg->count()) CBReg->setCurrentIndex(s.RamIndex);
  UpDownX->setValue(s.TrackX);
  try {
    port_->SetPortNum(s.COMM);
  } catch (const std::exception&) {
  }
  const bool lines[8] = {s.LineRPM, s.LineLAM, s.LineSIM, s.LineTPS,
                         s.LineMOT, s.LineDEF, s.LinePSI, s.LineRAM};
  for (int i = 0; i < 8; ++i) channelChecks[i]->setChecked(lines[i]);
  channelColours_ = {s.ColorRPM,  s.ColorLAM1, s.ColorSIM, s.ColorTPS,
                     s.ColorMOT1, s.ColorDEF,  s.ColorPSI, s.ColorRAM};
  live_->ApplyColours();
  CBList->setCurrentIndex(s.List ? 1 : 0);
  CBFont->setCurrentIndex(s.Font);
  CBFAut->setCurrentIndex(s.AutoSave ? 1 : 0);
  CBCAut->setCurrentIndex(s.AutoComm ? 1 : 0);
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
  s.FileName = EDFile->text().toStdString();
  s.Help = help_->HelpWindowMode();
  s.RamIndex = CBReg->currentIndex();
  s.TrackX = UpDownX->value();
  s.COMM = port_->PortNum();
  bool* lines[8] = {&s.LineRPM, &s.LineLAM, &s.LineSIM, &s.LineTPS,
                    &s.LineMOT, &s.LineDEF, &s.LinePSI, &s.LineRAM};
  for (int i = 0; i < 8; ++i) *lines[i] = channelChecks[i]->isChecked();
  std::int32_t* colours[8] = {&s.ColorRPM,  &s.ColorLAM1, &s.ColorSIM, &s.ColorTPS,
                              &s.ColorMOT1, &s.ColorDEF,  &s.ColorPSI, &s.ColorRAM};
  for (int i = 0; i < 8; ++i) *colours[i] = channelColours_[i];
  s.List = CBList->currentIndex() != 0;
  s.Font = CBFont->currentIndex();
  s.Lang = CBLang->currentIndex();
  s.AutoSave = CBFAut->currentIndex() != 0;
  s.AutoComm = CBCAut->currentIndex() != 0;
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
  SettingsStore store =
      SettingsStore::Open(env_.settingsPath.empty() ? SettingsStore::DefaultFilePath() : env_.settingsPath);
  SaveSettings(store, CurrentSettings(), programDir_, link_->Vars().controllerSeen, isMaximized());
  store.Save();
}

void TForm1::ApplyTexts() {
  help_->LoadStartPage(*Memo2);
  TabParam->setText(T(110));
  TabConfig->setText(T(111));
  TabSet->setText(T(112));
  TabUpg->setText(T(115));
  TabMap->setText(T(113));
  BtnOpenVis->setToolTip(T(120));
  BtnSaveVis->setToolTip(T(121));
  BtnScope->setToolTip(T(122));
  UpDownX->setToolTip(T(123));
  BtnGrid->setToolTip(T(124));
  BtnWindow->setToolTip(T(125));
  BtnLup->setToolTip(T(128));
  BtnOpenPar->setToolTip(T(126));
  BtnSavePar->setToolTip(T(127));
  BtnReadPar->setToolTip(T(129));
  BtnWritePar->setToolTip(T(130));
  PanelInfo->setToolTip(T(131));
  BtnHelp->setText(T(930));
  BtnHelp->setToolTip(T(931));
  BitBtnConBen->setText(T(142));
  BitBtnConGas->setText(T(144));
  BitBtnNext->setText(T(132));
  BitBtnOk->setText(T(133));
  BitBtnCancel->setText(T(134));
  Btn1->setText(T(135));
  Btn2->setText(T(136));
  Btn3->setText(T(137));
  for (auto [combo, first] : {std::pair{CBCAut, 320}, std::pair{CBFAut, 320}, std::pair{CBList, 322}}) {
    const int index = combo->currentIndex();
    combo->clear();
    combo->addItems({T(first), T(first + 1)});
    combo->setCurrentIndex(index);
  }
  Memo1->clear();  // the combos' items are assembled in the log, which ends up empty
}

// ---------------------------------------------------------------------------------------
// Pages

void TForm1::LeavePage() {
  const Page page = ShownPage();
  if (page == Page::Firmware) firmware_->PageLeft();
  if (page == Page::Configuration) {
    for (QWidget* b : {BitBtnConBen, BitBtnConGas, BitBtnNext, BitBtnOk, BitBtnCancel}) b->hide();
    HideReadProgress();
    Wizard().LeavePage();
    Memo1->clear();
  }
}

void TForm1::SelectPage(Page page) {
  link_->EnterPage(page);
  // Leaving the wizard's page may apply its result, which selects the parameters page on its
  // way: the pressed page button follows the page finally shown.
  if (QToolButton* tab = TabOfPage(PageNumber(page))) tab->setChecked(true);
  LayoutMainWindow();
}

void TForm1::TabSetClick() {
  LeavePage();
  if (connectionMode_ == Mode::Controller) {
    SetTxInterval(kPollIntervalMs);
    link_->PollSetup();
  }
  SelectPage(Page::Setup);
}

void TForm1::PollPage(Page page, int linkState) {
  LeavePage();
  SetTxInterval(kPollIntervalMs);
  link_->PollWith(linkState);
  SelectPage(page);
  GridEx1->setFocus();
}

void TForm1::TabParamClick() { PollPage(Page::Parameters, link_state::kParameterPoll); }

void TForm1::TabConfigClick() {
  PollPage(Page::Configuration, link_state::kConfigurationPoll);
  Wizard().Reset();
}

AutoConfiguration& TForm1::Wizard() { return autoConfig_->Wizard(); }

void TForm1::BitBtnConBenClick() { Wizard().BitBtnConBenClick(); }

void TForm1::BitBtnConGasClick() { Wizard().BitBtnConGasClick(); }

void TForm1::BitBtnNextClick() { Wizard().BitBtnNextClick(); }

void TForm1::BitBtnOkClick() { Wizard().BitBtnOkClick(); }

void TForm1::BitBtnCancelClick() { Wizard().BitBtnCancelClick(); }

void TForm1::TabMapClick() {
  LeavePage();
  SetTxInterval(kPollIntervalMs);
  link_->PollMap();
  live_->CloseMagnifier();
  SelectPage(Page::Map);
}

void TForm1::TabProcClick() {
  const Page page = InspectorPageFor(link_->Vars().buttonAction);
  PollPage(page, InspectorLinkState(page));
}

void TForm1::TabUpgClick() {
  LeavePage();
  SetTxInterval(kLinkStartIntervalMs);
  live_->CloseMagnifier();
  link_->StopForFirmware();
  SelectPage(Page::Firmware);
}

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

QToolButton* TForm1::TabOfPage(int page) const {
  switch (page) {
    case 0: return TabSet;
    case 1: return TabParam;
    case 2: return TabConfig;
    case 3: return TabMap;
    case 4:
    case 5:
    case 6: return TabProc;
    case 7: return TabUpg;
    default: return nullptr;
  }
}

bool TForm1::TabVisible(int page) const {
  if (page == 5 || page == 6) return false;
  const QToolButton* tab = TabOfPage(page);
  return tab && !tab->isHidden();
}

void TForm1::ApplyConnectionMode(Mode mode) {
  connectionMode_ = mode;
  if (env_.trace) env_.trace->Note("mode " + std::to_string(ModeNumber(mode)));
  const ParameterBlock& block = link_->parameterBlock;
  const ModelDescription model = ModelText(block[kTypeByte]);
  const std::string deviceText = model.deviceTextId ? UiText(model.deviceTextId) : std::string();
  const std::string version = VersionText(block);
  std::string caption = kBaseCaption;
  switch (mode) {
    case Mode::File: caption += " - [" + openedFileName_ + "] -" + model.model + " V" + version; break;
    case Mode::Controller:
    case Mode::Tester: caption += deviceText + model.model + " V" + version; break;
    case Mode::Loader: caption += deviceText + model.model; break;
    default: break;
  }
  setWindowTitle(QtText(caption));

  const bool mapForbidden = (block[kPresenceMaskByte] & 0x04) && !serviceMode_;
  const bool upgForbidden = (block[kPresenceMaskByte] & 0x08) && !serviceMode_;
  TabSet->show();
  TabParam->setVisible(mode == Mode::File || mode == Mode::Controller);
  TabConfig->setVisible(mode == Mode::Controller);
  TabMap->setVisible(mode == Mode::Controller && !mapForbidden);
  TabUpg->setVisible((mode == Mode::Controller && !upgForbidden) || mode == Mode::Tester ||
                     mode == Mode::Loader);
  TabProc->setVisible(mode == Mode::Controller && serviceMode_);
  PlaceTabs(PanelInfo->x() - kPageButtonGap);

  if (mode == Mode::Controller) {
    TabParam->setChecked(true);
    TabParamClick();
  } else if (mode == Mode::Tester || mode == Mode::Loader) {
    TabUpg->setChecked(true);
    TabUpgClick();
  }

  if ((mode == Mode::File || mode == Mode::Controller) && block[kVersionByte] >= kVersionWarningFrom) {
    const bool wasRunning = timerTx_->isActive();
    timerTx_->stop();
    PanelLog->hide();
    dialogs_.ShowMessage(UiText(741) + std::to_string(block[kVersionByte] & 0xF0) + " .\n\r",
                         MessageButtons::Ok);
    if (wasRunning) timerTx_->start();
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
  if (ShownPage() == Page::Setup && row >= 1) {
    setupSelectedRow_ = row;
    PlaceSetupEditors();
  }
  editorView_->GridEx1SelectCell(row);
}

void TForm1::StepSelected(int direction) { editorView_->StepSelected(direction); }

std::string TForm1::FileNameBase() const { return EDFile->text().toStdString(); }
int TForm1::ListOrder() const { return CBList->currentIndex(); }

void TForm1::MakeAutomaticBackup() {
  const std::string line = AutomaticBackupLine();
  if (!line.empty()) AddLogLine(line);
}

std::string TForm1::AutomaticBackupLine() {
  if (connectionMode_ != Mode::Controller) return {};
  return BackupLogLine(MakeParameterBackup(link_->parameterBlock, DefaultBackupFolder(), std::time(nullptr)));
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

void TForm1::PlaceTabs(int limit) {
  std::vector<QToolButton*> tabs;
  std::vector<PageButtonPlace1D> design;
  std::vector<int> captions;
  for (auto [tab, left, width] : {std::tuple{TabSet, 0, kTabWidth}, std::tuple{TabParam, 112, kTabWidth},
                                  std::tuple{TabConfig, 224, kTabWidth}, std::tuple{TabUpg, 336, kTabWidth},
                                  std::tuple{TabMap, 448, kTabWidth}, std::tuple{TabProc, 560, 28}}) {
    if (tab->isHidden()) continue;
    tabs.push_back(tab);
    design.push_back({left, width});
    captions.push_back(QFontMetrics(tab->font()).horizontalAdvance(tab->text()));
  }
  const std::vector<PageButtonPlace1D> placed = PlacePageButtons(design, captions, limit);
  for (std::size_t i = 0; i < tabs.size(); ++i)
    tabs[i]->setGeometry(placed[i].left, kTabTop, placed[i].width, kTabHeight);
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
  PlaceTabs(PanelInfo->x() - kPageButtonGap);
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

  Place(PanelSco, L.panelSco);
  if (L.panelSco.visible) {
    Graph1->setGeometry(0, 0, L.panelSco.rect.width, L.panelSco.rect.height - 16);
    LabelTim->setGeometry(L.panelSco.rect.width - 150, 2, 70, 16);
    LabelXScope->setGeometry(L.panelSco.rect.width - 75, 2, 70, 16);
    live_->PlaceHistoryBar(0, L.panelSco.rect.height - 16, L.panelSco.rect.width, 16);
  }
  int wizardTop = kTabConHeight + 8;
  for (QWidget* b : {BitBtnConBen, BitBtnConGas, BitBtnNext, BitBtnOk, BitBtnCancel}) {
    b->setVisible(L.wizardButtonsVisible);
    b->move(L.wizardButtonsLeft, wizardTop);
    wizardTop += 30;
  }

  Place(Grid, L.grid);
  if (L.grid.visible) {
    for (int c = 0; c < 4; ++c) Grid->setColumnWidth(c, L.gridColumnWidth);
    Grid->verticalHeader()->setDefaultSectionSize(L.gridRowHeight + 1);
    Grid->setRowCount(std::max(1, L.readingRowsVisible));
  }
  int left = 0;
  for (QWidget* b :
       {static_cast<QWidget*>(BtnOpenVis), static_cast<QWidget*>(BtnSaveVis), static_cast<QWidget*>(BtnScope),
        static_cast<QWidget*>(UpDownX), static_cast<QWidget*>(BtnGrid), static_cast<QWidget*>(BtnWindow)}) {
    b->setVisible(L.scopeRowVisible);
    b->move(left, L.scopeRowTop);
    left += b->width() + 4;
  }
  BtnLup->setVisible(L.btnLupVisible);
  BtnLup->move(L.btnLupLeft, L.btnLupTop);

  Place(GridEx1, L.gridEx1);
  GridEx1->setColumnCount(L.gridEx1ColumnCount);
  for (int c = 0; c < L.gridEx1ColumnCount; ++c) GridEx1->setColumnWidth(c, L.gridEx1ColumnWidth);
  if (L.gridEx1Column1Width) GridEx1->setColumnWidth(1, *L.gridEx1Column1Width);
  GridEx1->verticalHeader()->setDefaultSectionSize(L.gridEx1RowHeight + 1);
  SetHeadingRowHeight(GridEx1, L.gridEx1RowHeight + 1);
  GridEx1->setSelectionBehavior(L.gridEx1RowSelect ? QAbstractItemView::SelectRows
                                                   : QAbstractItemView::SelectItems);
  GridEx1->setStyleSheet(QString("QTableWidget{background:%1}").arg(RgbStyle(L.gridEx1Colour)));
  if (L.gridEx1RowCount) GridEx1->setRowCount(*L.gridEx1RowCount);
  if (L.clearGridEx1Cells) GridEx1->clearContents();

  QPushButton* parameterButtons[5] = {BtnOpenPar, BtnSavePar, BtnReadPar, BtnWritePar, BtnHelp};
  for (int i = 0; i < 5; ++i) {
    parameterButtons[i]->setVisible(L.parameterButtonsVisible);
    parameterButtons[i]->move(L.parameterButtonLefts[i], L.parameterButtonsTop);
  }
  QPushButton* pageButtons[3] = {Btn1, Btn2, Btn3};
  for (int i = 0; i < 3; ++i) {
    const PageButtonPlace& p = L.pageButtons[i];
    pageButtons[i]->setVisible(p.visible);
    if (!p.visible) continue;
    Place(pageButtons[i], p.rect);
    pageButtons[i]->setText(p.captionId ? T(p.captionId) : QtText(p.caption));
  }
  Place(PanelLam, L.panelLam);
  // The TPS gauge takes its channel's colour before the readings are laid out.
  gauges[kGaugeTps]->SetForeColor(channelColours_[kChTps]);
  live_->LayoutReadings(L.grid.visible, L.gridRowHeight, L.readingRowsVisible);
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

// The grid's content for the page. The set-up page lists the program's own settings; the
// other pages are filled by their views.
void TForm1::FillGridEx1() {
  // A focused box that is hidden would hand the keyboard to the grid's next cell: the grid
  // takes it meanwhile, and the file name box gets it back when it is placed again.
  const bool typing = EDFile->hasFocus();
  if (typing) GridEx1->setFocus();
  for (QWidget* w :
       {static_cast<QWidget*>(CBCom), static_cast<QWidget*>(CBCAut), static_cast<QWidget*>(EDFile),
        static_cast<QWidget*>(CBFAut), static_cast<QWidget*>(CBList), static_cast<QWidget*>(CBFont)})
    w->hide();
  const Page page = ShownPage();
  auto setCell = [this](int row, int column, const QString& text) {
    if (row >= GridEx1->rowCount() || column >= GridEx1->columnCount()) return;
    auto* item = GridEx1->item(row, column);
    if (!item) GridEx1->setItem(row, column, item = new QTableWidgetItem);
    item->setText(text);
  };
  const int minimumRows = std::max(1, layout_.parameterRowsVisible);
  if (IsInspectorPage(page)) {
    const Rgb& fixed = layout_.gridEx1FixedColour;
    inspectorPage_.Build(GridEx1, page, link_->parameterBlock[kTypeByte], minimumRows,
                         QColor(fixed.red, fixed.green, fixed.blue));
    return;
  }
  inspectorPage_.Leave(GridEx1);
  if (page == Page::Setup) {
    struct Row {
      int labelId;
      QWidget* editor;
    };
    std::vector<Row> rows{{302, CBCom}, {303, CBCAut}};
    if (connectionMode_ == Mode::Controller) rows.insert(rows.end(), {{304, EDFile}, {305, CBFAut}});
    if (connectionMode_ == Mode::File || connectionMode_ == Mode::Controller) rows.push_back({306, CBList});
    rows.push_back({307, CBFont});
    GridEx1->clearContents();
    GridEx1->setRowCount(std::max<int>(minimumRows, static_cast<int>(rows.size()) + 1));
    setCell(0, 0, T(300));
    setCell(0, 1, T(301));
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const int r = static_cast<int>(i) + 1;
      setCell(r, 0, T(rows[i].labelId));
      const auto* combo = qobject_cast<QComboBox*>(rows[i].editor);
      setCell(r, 1, combo ? combo->currentText() : EDFile->text());
      GridEx1->item(r, 1)->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(rows[i].editor)));
    }
    setupSelectedRow_ = std::clamp(setupSelectedRow_, 1, static_cast<int>(rows.size()));
    GridEx1->setCurrentCell(setupSelectedRow_, 1);
    PlaceSetupEditors();
    if (typing && EDFile->isVisible()) EDFile->setFocus();
    return;
  }
  if (editorView_->RebuildEditor()) return;
  if (page == Page::Firmware) ListFirmwareImages();
}

void TForm1::PlaceSetupEditors() {
  const int row = GridEx1->currentRow();
  auto* item = row > 0 ? GridEx1->item(row, 1) : nullptr;
  if (!item) return;
  auto* editor = static_cast<QWidget*>(item->data(Qt::UserRole).value<void*>());
  if (!editor) return;
  editor->setGeometry(GridEx1->visualItemRect(item));
  editor->show();
  editor->raise();
}

// ---------------------------------------------------------------------------------------
// Keys

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (firmware_ && firmware_->HoldsInput(watched, event)) return true;
  if (event->type() == QEvent::KeyPress) {
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
  ctx.tabParamVisible = TabVisible(1);
  ctx.tabConfigVisible = TabVisible(2);
  ctx.tabMapVisible = TabVisible(3);
  ctx.tabUpgVisible = TabVisible(7);
  return ctx;
}

bool TForm1::FormKeyDown(int virtualKey) {
  switch (HandleKeyDown(virtualKey, keyHistory_, CurrentKeyContext())) {
    case KeyAction::None: return false;
    case KeyAction::ShowKeyLabelsAndHelp:
      ShowKeyLabels();
      help_->OpenHelp(false);
      break;
    case KeyAction::SelectSetup:
      TabSet->setChecked(true);
      TabSetClick();
      break;
    case KeyAction::SelectParam:
      TabParam->setChecked(true);
      TabParamClick();
      break;
    case KeyAction::SelectConfig:
      TabConfig->setChecked(true);
      TabConfigClick();
      break;
    case KeyAction::SelectMap:
      TabMap->setChecked(true);
      TabMapClick();
      break;
    case KeyAction::SelectUpg:
      TabUpg->setChecked(true);
      TabUpgClick();
      break;
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
  TabSet->setText("F2");
  TabParam->setText("F3");
  TabConfig->setText("F4");
  TabMap->setText("F5");
  TabUpg->setText("F6");
  TabProc->setText(QString());
  PanelInfo->setText("F8");
  PanelInfo->setPalette(QApplication::palette());
  PanelInfo->setStyleSheet(QString());
  supervisor_->StartKeyLabelCountdown();
}

void TForm1::RestoreTabCaptions() {
  TabParam->setText(T(110));
  TabConfig->setText(T(111));
  TabSet->setText(T(112));
  TabMap->setText(T(113));
  TabUpg->setText(T(115));
  TabProc->setText(T(114));
}

void TForm1::ToggleServiceMode() {
  serviceMode_ = !serviceMode_;
  if (serviceMode_) {
    for (QToolButton* b : {TabSet, TabParam, TabConfig, TabMap, TabUpg, TabProc}) b->show();
  } else {
    TabProc->hide();
  }
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

void TForm1::AddLogLine(const std::string& line) {
  if (env_.trace) env_.trace->Note(line);
  if (ShownPage() == Page::Firmware) firmware_->KeepLogLine(line);
  Memo1->append(QtText(DisplayText(line)));
}

std::string TForm1::LogText() const { return Memo1->toPlainText().toStdString(); }

void TForm1::ShowMessage(const std::string& text) { dialogs_.ShowMessage(text, MessageButtons::Ok); }

void TForm1::Beep() { dialogs_.Beep(); }

void TForm1::ParametersRead() { LayoutMainWindow(); }

void TForm1::PlausibilityCheck() { paramEditor_->PlausibilityCheck(false); }

bool TForm1::ScopeRunning() const { return live_->Running(); }

int TForm1::RegisterIndex() const { return std::max(0, CBReg->currentIndex()); }

bool TForm1::MagnifierOpen() const { return live_->MagnifierShown(); }

void TForm1::SetMagnifierTexts(const std::string& first, const std::string& second) {
  live_->SetMagnifierTexts(first, second);
}

void TForm1::HistoryAboutToWrap() { live_->HistoryAboutToWrap(); }

void TForm1::ScopeCursorMoved(int cursor) { live_->ScopeCursorMoved(cursor); }

void TForm1::ShowRecord(const LiveReadings& record) { live_->ShowRecord(record, true); }

// The wizard's step 4 counts the idle speed and shows "---" instead of it.
void TForm1::ShowConfiguration(const ConfigurationView& view) {
  live_->ShowConfiguration(view, Wizard().Step() == 4);
  if (ShownPage() == Page::Configuration)
    Wizard().OnConfigurationReply(view.engineSpeed, view.lambda, view.stepper, view.throttle);
}

void TForm1::WizardStep() { Wizard().OnTransmitTick(link_->Vars().controllerStatus); }

void TForm1::ShowMapColumn(const MapColumnView& view) {
  editorView_->ShowMapColumn(view);
  live_->ShowMapReadings(view);
}

void TForm1::ShowMemoryBlock(const MemoryBlockView& view) {
  inspectorPage_.Show(GridEx1, MemoryBlockCells(view, ShownPage()));
}

void TForm1::ShowPortView(const PortView& view) {
  inspectorPage_.Show(GridEx1, PortPinCells(view, ShownPage()));
  live_->ShowPortView(view);
}

// ---------------------------------------------------------------------------------------
// SupervisionHost

bool TForm1::AutoPortSearch() const { return CBCAut->currentIndex() == 1; }

void TForm1::ShowPortInComboBox(int port) {
  CBCom->setCurrentIndex(std::clamp(port, 1, 4) - 1);
  if (ShownPage() == Page::Setup && GridEx1->rowCount() > 1) {
    if (auto* item = GridEx1->item(1, 1)) item->setText(CBCom->currentText());
  }
}

void TForm1::SelectSetupPage() {
  TabSet->setChecked(true);
  TabSetClick();
}

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

void TForm1::HideAutoMessage() { PanelAuto->hide(); }

bool TForm1::ReadingsGridVisible() const { return Grid->isVisible(); }

void TForm1::ShowAutoMessage(const std::string& text) {
  PanelAuto->setText(QtText(text));
  PanelAuto->show();
}

void TForm1::HideHintPanel() { live_->HideHint(); }

void TForm1::ShowParamAndConfigTabs() {
  TabParam->show();
  TabConfig->show();
}
