#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>

#include "app/AppSettings.h"
#include "app/ControllerBackups.h"
#include "app/KeyTable.h"
#include "app/MainLayout.h"
#include "app/WindowControlsQt.h"
#include "autoconfig/AutoConfigPageQt.h"
#include "base/FixedHeadingRowQt.h"
#include "base/UserDialogs.h"
#include "firmware/FirmwarePageQt.h"
#include "inspector/InspectorPageQt.h"
#include "link/ControllerLink.h"
#include "link/Supervision.h"
#include "link/WireTrace.h"
#include "model/PageChanges.h"
#include "model/ReadingHistory.h"
#include "params/ParameterEditor.h"
#include "params/ParameterTransfer.h"
#include "params/ParametersPageQt.h"
#include "params/ServiceReport.h"
#include "setup/SetupPageQt.h"

class AutoConfiguration;
class MapPageQt;
class PageButtons;
class PageGrid;
class PageTabs;
class PageView;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTextEdit;
class QTimer;
class QToolButton;
class SplitterBar;
class ParameterEditorQt;
class LiveMonitor;
class HelpDesk;
class KeyDispatcher;
class MainWindowLayOut;
class WindowSettings;
class WindowSupervision;

// What the main window is given from outside: dialogs, the settings file, the program's
// folder, the backup folder and, for tests, a serial port of their own.
struct MainWindowEnvironment {
  UserDialogs* dialogs = nullptr;    // required
  std::string settingsPath;          // empty: the current user's settings file
  std::string programDir;            // empty: the executable's folder
  std::string backupDir;             // empty: the current user's backup folder
  std::unique_ptr<SerialPort> port;  // empty: the POSIX serial port
  std::shared_ptr<WireTrace> trace;  // set: the port's traffic and the link's changes go to it
};

// The main window. It owns the state of the run through the core objects it holds and
// implements the host interfaces through which they ask for side effects.
class TForm1 : public QMainWindow,
               public LinkHost,
               public ParameterEditorHost,
               public ParameterTransferHost,
               public FirmwareHost {
  Q_OBJECT

 public:
  explicit TForm1(MainWindowEnvironment env, QWidget* parent = nullptr);
  ~TForm1() override;

  // State for the views and for tests.
  // The page in view and the connection mode.
  Page CurrentPage() const { return ShownPage(); }
  ::ConnectionMode ConnectionMode() const override { return connectionMode_; }
  Page ShownPage() const { return link_->Vars().currentPage; }
  bool ServiceModeOn() const { return serviceMode_; }
  ControllerLink& Link() { return *link_; }
  ConnectionSupervisor& Supervisor() { return *supervisor_; }
  FirmwarePageQt& Firmware() { return *firmware_; }
  SerialPort& Port() { return *port_; }
  const MainLayout& LastLayout() const;
  QTimer* TimerTx() const { return timerTx_; }
  QTimer* TimerInfo() const { return timerInfo_; }
  std::string LogText() const;
  bool TabVisible(Page page) const;  // the processor views' button counts as Port's
  QToolButton* TabOfPage(Page page) const;
  AppSettings CurrentSettings() const;
  const AppSettings& StoredSettings() const { return settings_; }
  AutoConfiguration& Wizard();
  ParameterEditor& Editor() { return *paramEditor_; }
  ParameterEditorQt& EditorView();
  HelpDesk& Help() { return *help_; }
  // The pages, each with its own widgets.
  SetupPageQt& Setup() { return *setup_; }
  ParametersPageQt& Parameters() { return *parametersPage_; }
  AutoConfigPageQt& Configuration() { return *autoConfig_; }

  // Event handlers, named after the control and the event.
  void FormCreate();
  void FormDestroy();
  // The settings file of this window: the one of the environment, else the user's.
  std::string SettingsPath() const;
  void TabSetClick();
  void TabParamClick();
  void TabConfigClick();
  void TabMapClick();
  void TabProcClick();
  void TabUpgClick();
  void Btn1Click();
  void Btn2Click();
  void Btn3Click();
  void BtnWindowClick();
  void BtnScopeClick();
  void ScrollBar1Change(int position);
  void UpDownXChanging();
  void BtnGridClick();
  void BtnLupClick();
  void BtnSaveVisClick();
  void BtnOpenVisClick();
  // A file handed over at start (the file manager's double-click): a recording opens as
  // Ctrl+O does, a parameter file as the open button does; any other name is refused (701).
  void OpenFile(const std::string& path);
  void ExportCsvKey();
  void PaRPMClick();
  void PaLAMClick();
  void PaSIMClick();
  void PaTPSClick();
  void PaMOTClick();
  void PaDEFClick();
  void PaPSIClick();
  void PaRAMClick();
  LiveMonitor& Live() { return *live_; }
  void BtnReadParClick();
  void BtnOpenParClick();
  void BtnSaveParClick();
  void BtnWriteParClick();
  void BtnReportClick();  // the service report, also Ctrl+R
  void CBLangChange();
  void GridEx1SelectCell(int row);
  void GridEx1MouseDown(int x, int y);
  void GridEx1MouseMove(int x, int y);
  void PanelHintClick();
  void StepSelected(int direction);
  void BtnHelpClick();
  void CBFontChange();
  void CBComChange(int index);
  void PanelInfoClick();
  void TimerTxTimer();
  void TimerInfoTimer();
  void VaComm1RxChar(int count);
  // Returns true when the key was handled.
  bool FormKeyDown(int virtualKey);
  void LayoutMainWindow();
  void BitBtnConBenClick();
  void BitBtnConGasClick();
  void BitBtnNextClick();
  void BitBtnOkClick();
  void BitBtnCancelClick();
  void RebuildEditor() override;
  int ListFirmwareImages();
  void StartProgramming();

  // LinkHost
  void SetTxInterval(int ms) override;
  void SetTxEnabled(bool enabled) override;
  bool TxEnabled() const override;
  void ApplyConnectionMode(::ConnectionMode mode) override;
  void SetBaseCaption() override;
  void SetBusyCursor(bool busy) override;
  void ShowReadProgress(int maximum) override;
  void SetReadProgress(int position) override;
  void HideReadProgress() override;
  void AddLogLine(const std::string& line) override;
  void ShowMessage(const std::string& text) override;
  void Beep() override;
  void ParametersRead() override;
  void PlausibilityCheck() override;
  std::string ParameterChangeText(int index, std::uint8_t value) const override;

  // ParameterTransferHost
  std::string& DirOpen() override { return settings_.DirOpen; }
  std::string& DirSave() override { return settings_.DirSave; }
  std::string FileNameBase() const override;
  void SetOpenedFileName(const std::string& name) override { openedFileName_ = name; }
  void DependentDefaultsForSelectedRow() override { paramEditor_->DependentDefaults(); }
  int ListOrder() const override;
  // FirmwareHost
  void RunTransmitTimer() override { link_->StartTransmitClock(); }
  // ParameterTransferHost and FirmwareHost: saves the controller's block into the backup folder and logs the
  // file's name.
  void MakeAutomaticBackup() override;
  std::string AutomaticBackupLine();  // the backup's log line; empty without a controller

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // Closing the main window ends the program, whatever other window is open.
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateComponents();
  void CreateMonitor(QWidget* client);
  void Compose();

 public:
  // Every text the window and its pages show, in the language in use; a window in use is
  // laid out again with them.
  void ApplyTexts();

 private:
  // Page changes go one after another (see PageChanges): the page in view leaves, the new
  // one enters, the window is laid out and the page is shown with its button pressed.
  void ChangePage(Page page);
  void SwitchPage(Page page);
  PageView& PageFor(Page page);
  void PageButtonClick(int action);
  void ToggleServiceMode();

  MainWindowEnvironment env_;
  UserDialogs& dialogs_;
  std::string programDir_;
  AppSettings settings_;
  ReadingHistory history_;
  std::unique_ptr<SerialPort> port_;
  std::unique_ptr<ControllerLink> link_;
  std::unique_ptr<PageTabs> tabs_;
  std::unique_ptr<SetupPageQt> setup_;
  std::unique_ptr<ParametersPageQt> parametersPage_;
  std::unique_ptr<MapPageQt> map_;
  std::unique_ptr<AutoConfigPageQt> autoConfig_;
  std::unique_ptr<InspectorPageQt> inspector_;
  PageChanges pageChanges_{[this](Page page) { SwitchPage(page); }};
  std::unique_ptr<ParameterEditor> paramEditor_;
  std::unique_ptr<PageGrid> pageGrid_;        // GridEx1, lent to the page in view
  std::unique_ptr<PageButtons> pageButtons_;  // Btn1, Btn2, Btn3
  std::unique_ptr<ParameterTransfer> transfer_;
  std::unique_ptr<HelpDesk> help_;
  std::unique_ptr<FirmwarePageQt> firmware_;
  ::ConnectionMode connectionMode_ = ::ConnectionMode::None;
  bool serviceMode_ = false;
  bool destroyed_ = false;
  bool started_ = false;  // FormCreate is done
  std::string openedFileName_;
  ControllerBackups backups_;
  std::array<std::int32_t, 8> channelColours_{};
  std::unique_ptr<LiveMonitor> live_;  // readings, oscilloscope, magnifier, recordings
  std::unique_ptr<MainWindowLayOut> layOut_;
  std::unique_ptr<WindowSupervision> supervision_;  // what the supervisor asks of the window
  std::unique_ptr<ConnectionSupervisor> supervisor_;
  std::unique_ptr<KeyDispatcher> keys_;
  std::unique_ptr<WindowSettings> windowSettings_;

  WindowControls controls_;  // the window's own controls
  QTimer* timerTx_ = nullptr;
  QTimer* timerInfo_ = nullptr;
};
