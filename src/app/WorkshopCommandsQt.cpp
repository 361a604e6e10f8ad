#include "app/WorkshopCommandsQt.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/AppSettings.h"
#include "app/MainThreadQt.h"
#include "app/ServiceReportActionQt.h"
#include "app/SettingsStore.h"
#include "base/AtomicFile.h"
#include "base/FilePaths.h"
#include "base/UiText.h"
#include "base/UserDialogs.h"
#include "firmware/FirmwarePage.h"
#include "link/ControllerLink.h"
#include "link/Supervision.h"
#include "link/TVaComm.h"
#include "link/WireTrace.h"
#include "monitor/RecordingFile.h"
#include "params/ParameterBackup.h"
#include "params/ParameterCompare.h"
#include "params/ParameterFiles.h"
#include "params/ServiceReportQt.h"

namespace {

constexpr int kDone = 0;
constexpr int kNotCompleted = 1;
constexpr int kMistake = 2;
constexpr int kNoController = 3;

constexpr int kBadExtension = 701;
constexpr int kCannotOpen = 702;
constexpr int kBadData = 703;
constexpr int kNoAnswer = 1426;
constexpr int kWriteQuestion = 1427;
constexpr int kCancelled = 1428;
constexpr int kHoldsFile = 1429;
constexpr int kDoesNotHoldFile = 1430;
constexpr int kWritten = 1431;
constexpr int kImageDoesNotFit = 1432;
constexpr int kProgrammingText = 1433;
constexpr int kBadValue = 1434;
constexpr int kSamplesText = 1435;
constexpr int kGoOnQuestion = 1436;
constexpr int kLinkLost = 1437;
constexpr int kUnknownOption = 1358;

// How long a command waits for a controller to answer a full read: the port is opened again
// every information tick until then.
constexpr std::chrono::seconds kConnectLimit{30};
// Information ticks with the port still closed (a device not there, held, not permitted)
// after which no controller is taken to be there.
constexpr int kOpenTries = 5;
// The most the writes of a file may take, and how often the file is written again when the
// read after the writes still shows a difference (writes the controller never acknowledged).
constexpr std::chrono::seconds kWriteLimit{60};
constexpr int kWriteRounds = 3;
constexpr int kSamplesPerSecond = 1000 / kPollIntervalMs;
constexpr int kLongestRecordingSeconds = ReadingHistory::kRecords / kSamplesPerSecond;
constexpr int kProgressStepPercent = 5;

void Say(const std::string& text) { std::fprintf(stderr, "%s\n", DisplayText(text).c_str()); }

bool Yes(const std::string& question) {
  std::fputs(DisplayText(question).c_str(), stderr);
  std::fflush(stderr);
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "д" || answer == "Д";
}

// The command's words: the command, its values, and the options every command takes.
struct Arguments {
  std::string command;
  std::vector<std::string> values;
  std::optional<int> port;
  bool yes = false;
  std::string mistake;  // an option no command takes, or a port that is none
};

Arguments Parse(int argc, char** argv) {
  Arguments a;
  a.command = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--yes") {
      a.yes = true;
    } else if (arg == "--trace" && i + 1 < argc) {
      ++i;  // the port's trace, taken by WireTrace
    } else if (arg.starts_with("--trace=")) {
    } else if ((arg == "--port" && i + 1 < argc) || arg.starts_with("--port=")) {
      std::string_view name = arg == "--port" ? std::string_view(argv[++i]) : arg.substr(7);
      if (name.size() == 4 && (name.starts_with("COM") || name.starts_with("com")) && name[3] >= '1' &&
          name[3] <= '4')
        a.port = name[3] - '0';
      else
        a.mistake = std::string(name);
    } else if (arg.size() > 1 && arg[0] == '-') {
      a.mistake = std::string(arg);
    } else {
      a.values.emplace_back(arg);
    }
  }
  return a;
}

AppSettings StoredSettings() {
  AppSettings settings = DefaultAppSettings("");
  LoadSettings(SettingsStore::Open(SettingsStore::DefaultFilePath()), settings);
  return settings;
}

// Questions on the terminal: a message is printed; a question is asked "y/N" unless the
// command was given --yes.
class TerminalDialogs : public UserDialogs {
 public:
  explicit TerminalDialogs(bool assumeYes) : assumeYes_(assumeYes) {}
  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override {
    if (buttons == MessageButtons::Ok) {
      Say(text);
      return MessageAnswer::Ok;
    }
    if (!assumeYes_) Say(text);
    const bool yes = assumeYes_ || Yes(UiText(kGoOnQuestion));
    if (buttons == MessageButtons::OkCancel) return yes ? MessageAnswer::Ok : MessageAnswer::Cancel;
    return yes ? MessageAnswer::Yes : MessageAnswer::No;
  }
  void Beep() override {}
  void SetBusyCursor(bool) override {}
  // As in the window, the pause holds the main thread.
  void PauseOneSecond() override { std::this_thread::sleep_for(std::chrono::seconds(1)); }
  std::optional<std::string> AskFileName(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::int32_t> AskColour(std::int32_t) override { return std::nullopt; }

 private:
  bool assumeYes_;
};

// The window's part for the link without a window: the two timers, the connection mode and
// the page the link polls for, the log on stderr, and the live samples counted.
class HeadlessSession : public LinkHost,
                        public ReplySink,
                        public SupervisionHost,
                        public FirmwareHost,
                        public FirmwarePageView {
 public:
  HeadlessSession(const AppSettings& settings, const Arguments& args, int argc, char** argv)
      : dialogs_(args.yes), listOrder_(settings.List ? 1 : 0), autoSearch_(settings.AutoComm && !args.port) {
    port_ = std::make_unique<TVaComm>(MakeQtMainThreadDispatcher(&context_));
    if (const std::string trace = WireTrace::PathFromArguments(argc, argv); !trace.empty()) {
      try {
        port_ = std::make_unique<TracedSerialPort>(std::move(port_), std::make_shared<WireTrace>(trace));
      } catch (const std::exception& e) {
        Say(e.what());
      }
    }
    port_->SetPortNum(args.port.value_or(settings.COMM));
    link_ = std::make_unique<ControllerLink>(*port_, *this, *this, history_);
    link_->SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    supervisor_ = std::make_unique<ConnectionSupervisor>(*link_, *port_, *this, *this);
    port_->OnRxChar = [this](int count) { link_->VaComm1RxChar(count); };
    tx_.setInterval(kPollIntervalMs);
    QObject::connect(&tx_, &QTimer::timeout, &context_, [this] { link_->TimerTxTimer(); });
    info_.setInterval(900);
    QObject::connect(&info_, &QTimer::timeout, &context_, [this] {
      supervisor_->TimerInfoTimer();
      closedTicks_ = port_->Active() ? 0 : closedTicks_ + 1;
    });
  }
  ~HeadlessSession() override {
    tx_.stop();
    info_.stop();
    port_->OnRxChar = nullptr;
    try {
      port_->Close();
    } catch (const std::exception&) {
    }
  }

  ControllerLink& Link() { return *link_; }
  TerminalDialogs& Dialogs() { return dialogs_; }
  ConnectionMode Mode() const { return mode_; }
  int ListOrder() const { return listOrder_; }
  int Reads() const { return reads_; }
  // The controller's parameters as the last complete read found them.
  const ParameterBlock& LastRead() const { return lastRead_; }
  int Samples() const { return samples_; }
  // The oscilloscope advances while a recording is made.
  void Record(bool on) {
    recording_ = on;
    link_->SetScopeAdvancing(on);
  }
  const ReadingHistory& History() const { return history_; }

  // Runs the events until done() or the limit; false at the limit.
  bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    while (!done()) {
      if (clock.elapsed() > limit.count()) return false;
      loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
  }

  // The link gave up after repeated losses (the transmit timer is off and no reconnect
  // waits), or the port has not opened for several information ticks.
  bool GaveUp() const {
    return (started_ && !tx_.isActive() && !link_->Vars().reconnectPending) || closedTicks_ >= kOpenTries;
  }

  // Opens the port and reads every parameter, as the window does at start. True when a
  // controller (or a tester, or a loader) answered the read.
  bool Connect() {
    link_->RequestReconnect();
    info_.start();
    supervisor_->TimerInfoTimer();  // the first information tick at once
    return ReadAgain();
  }
  bool ReadAgain() {
    const int before = reads_;
    if (started_ && !link_->Vars().reconnectPending) link_->RequestFullRead();
    return WaitFor([&] { return reads_ > before || GaveUp(); }, kConnectLimit) && reads_ > before;
  }

  // LinkTimer
  void SetTxInterval(int ms) override { tx_.setInterval(ms); }
  void SetTxEnabled(bool enabled) override {
    if (enabled) started_ = true;
    if (enabled && !tx_.isActive()) tx_.start();
    if (!enabled) tx_.stop();
  }
  bool TxEnabled() const override { return tx_.isActive(); }

  // ConnectionReport
  void ApplyConnectionMode(ConnectionMode mode) override {
    mode_ = mode;
    link_->SetConnectionMode(mode);
    if (mode == ConnectionMode::Controller) link_->EnterPage(Page::Parameters);      // as the window shows it
    if (mode == ConnectionMode::Tester || mode == ConnectionMode::Loader) ++reads_;  // nothing more comes
  }
  void SetBaseCaption() override {}
  void SetBusyCursor(bool) override {}
  void ShowReadProgress(int) override {}
  void SetReadProgress(int) override {}
  void HideReadProgress() override {}
  void AddLogLine(const std::string& line) override { Say(line); }
  void ShowMessage(const std::string& text) override { Say(text); }
  void Beep() override {}
  void ParametersRead() override {
    lastRead_ = link_->SentBlock();  // what the read brought, before changes go back in
    ++reads_;
  }
  void PlausibilityCheck() override {}
  std::string ParameterChangeText(int index, std::uint8_t value) const override {
    return ::ParameterChangeText(link_->Block(), index, value, listOrder_);
  }

  // ReplySink: of what the window shows, only the live samples are counted.
  void SetMagnifierTexts(const std::string&, const std::string&) override {}
  void HistoryAboutToWrap() override {}
  void ScopeCursorMoved(int) override {}
  void ShowRecord(const LiveReadings&) override { ++samples_; }
  void ShowConfigurationReadings(const ConfigurationView&) override {}

  // SupervisionHost
  bool AutoPortSearch() const override { return autoSearch_; }
  void ShowPortInComboBox(int) override {}
  void SelectSetupPage() override { link_->EnterPage(Page::Setup); }
  void ClearLog() override {}
  bool TakeHelpRequest() override { return false; }
  void OpenHelp() override {}
  void RestoreTabCaptions() override {}
  void ShowModePanel(const ModePanelLook&) override {}
  void HideAutoMessage() override {}
  bool ReadingsGridVisible() const override { return false; }
  void ShowAutoMessage(const std::string&) override {}
  void HideHintPanel() override {}
  void ShowParamAndConfigTabs() override {}

  // FirmwareHost: the backup before a run, and the transmit timer that times it.
  void MakeAutomaticBackup() override {
    if (mode_ == ConnectionMode::Controller)
      Say(BackupLogLine(MakeParameterBackup(link_->Block(), DefaultBackupFolder(), std::time(nullptr))));
  }
  void RunTransmitTimer() override { SetTxEnabled(true); }

  // FirmwarePageView: the list stays unseen; the progress goes to stderr.
  void ShowImageList(const std::vector<ListedImage>&, int) override {}
  void OpenProgrammingWindow() override {}
  void SetFileText(const std::string& text) override { Say(text); }
  void ShowProgress(int maximum) override {
    maximum_ = std::max(1, maximum);
    shownPercent_ = -1;
    SetProgress(0);
  }
  void SetProgress(int position) override {
    const int percent = std::clamp(position * 100 / maximum_, 0, 100);
    if (isatty(STDERR_FILENO)) {  // a bar, drawn again in place
      if (percent == shownPercent_) return;
      const int filled = percent / kProgressStepPercent;
      std::fprintf(stderr, "\r%s[%s%s] %3d %%", UiText(kProgrammingText).c_str(),
                   std::string(filled, '#').c_str(),
                   std::string(100 / kProgressStepPercent - filled, '.').c_str(), percent);
      if (percent == 100) std::fputc('\n', stderr);
      std::fflush(stderr);
      shownPercent_ = percent;
      return;
    }
    const int step = percent / kProgressStepPercent * kProgressStepPercent;  // a line per step
    if (step <= shownPercent_) return;
    std::fprintf(stderr, "%s%d %%\n", UiText(kProgrammingText).c_str(), step);
    shownPercent_ = step;
  }
  void SetStatusText(const std::string&) override {}
  void SetMainWindowEnabled(bool) override {}
  void CloseProgrammingWindow() override {}

 private:
  QObject context_;  // the main thread's receiver of the port's events and the timers
  TerminalDialogs dialogs_;
  int listOrder_ = 0;
  bool autoSearch_ = false;
  ReadingHistory history_;
  std::unique_ptr<SerialPort> port_;
  std::unique_ptr<ControllerLink> link_;
  std::unique_ptr<ConnectionSupervisor> supervisor_;
  QTimer tx_;
  QTimer info_;
  ConnectionMode mode_ = ConnectionMode::None;
  bool started_ = false;
  bool recording_ = false;
  int reads_ = 0;
  int samples_ = 0;
  int closedTicks_ = 0;
  ParameterBlock lastRead_ = FreshParameterBlock();
  int maximum_ = 1;
  int shownPercent_ = -1;
};

// The parameter file named, or the message why it cannot be used.
std::optional<ParameterBlock> LoadForCommand(const std::string& path) {
  if (!HasParameterExtension(path)) {
    Say(UiTextAndName(kBadExtension, path));
    return std::nullopt;
  }
  const LoadedParameterFile file = LoadParameterFile(path);
  if (file.status == ParameterFileStatus::Loaded) return file.bytes;
  Say(UiTextAndName(file.status == ParameterFileStatus::WrongSize ? kBadData : kCannotOpen, path));
  return std::nullopt;
}

int NoController(HeadlessSession& session) {
  Say(UiText(session.Mode() == ConnectionMode::None && session.Reads() > 0 ? kLinkLost : kNoAnswer));
  return kNoController;
}

// A controller with parameters answered; a tester or a loader has none to read or write.
bool ControllerAnswered(HeadlessSession& session) {
  return session.Connect() && session.Mode() == ConnectionMode::Controller;
}

int Report(const Arguments& a) {
  if (a.values.empty() || a.values.size() > 2) return -1;
  const std::optional<ParameterBlock> block = LoadForCommand(a.values[0]);
  if (!block) return kMistake;
  std::string out = a.values.size() == 2 ? a.values[1] : a.values[0];
  if (a.values.size() == 1) out = out.substr(0, out.size() - 5) + ".pdf";
  const AppSettings settings = StoredSettings();
  const SettingsStore store = SettingsStore::Open(SettingsStore::DefaultFilePath());
  const ServiceReport report = BuildServiceReport(
      ReportInputFor(*block, settings.List ? 1 : 0, store, DefaultBackupFolder(), std::time(nullptr)));
  std::string why;
  if (!WriteServiceReportPdf(report, out, &why)) {
    Say(UiText(kCannotOpen) + " " + why);
    return kMistake;
  }
  Say(UiText(kWritten) + out);
  return kDone;
}

int Read(HeadlessSession& session, const Arguments& a) {
  if (a.values.size() != 1) return -1;
  const std::string& out = a.values[0];
  if (!HasParameterExtension(out)) {
    Say(UiTextAndName(kBadExtension, out));
    return kMistake;
  }
  if (!ControllerAnswered(session)) return NoController(session);
  std::string why;
  if (!SaveParameterFile(out, session.Link().Block(), &why)) {
    Say(UiText(kCannotOpen) + " " + why);
    return kNotCompleted;
  }
  Say(UiText(kWritten) + out);
  return kDone;
}

bool HoldsFile(const ParameterBlock& controller, const ParameterBlock& file) {
  ParameterBlock wanted = controller;
  CopyFileToController(file, wanted);
  return DifferingParameterBytes(controller, wanted) == 0;
}

int Write(HeadlessSession& session, const Arguments& a) {
  if (a.values.size() != 1) return -1;
  const std::optional<ParameterBlock> file = LoadForCommand(a.values[0]);
  if (!file) return kMistake;
  if (!ControllerAnswered(session)) return NoController(session);
  ControllerLink& link = session.Link();
  ParameterBlock loaded = link.Block();
  CopyFileToController(*file, loaded);
  std::fputs(LoadDifferencesText(link.Block(), loaded, session.ListOrder(), &*file).c_str(), stdout);
  std::fflush(stdout);
  if (!a.yes && !Yes(UiText(kWriteQuestion))) {
    Say(UiText(kCancelled));
    return kNotCompleted;
  }
  session.MakeAutomaticBackup();
  for (int round = 0; round < kWriteRounds && !HoldsFile(session.LastRead(), *file); ++round) {
    ParameterBlock block = link.Block();
    CopyFileToController(*file, block);
    link.LoadBlock(block);
    Say(UiText(1232) + std::to_string(DifferingParameterBytes(link.Block(), link.SentBlock())));
    // Every write is acknowledged (or given up after its last try), then the controller is
    // read again: what it holds is what counts.
    if (!session.WaitFor(
            [&] { return !link.WritesOutstanding() || session.Mode() != ConnectionMode::Controller; },
            kWriteLimit) ||
        session.Mode() != ConnectionMode::Controller)
      return NoController(session);
    if (!session.ReadAgain() || session.Mode() != ConnectionMode::Controller) return NoController(session);
  }
  // What counts is what the controller was read with, not what the block holds: after a read
  // the link puts back into the block the changes it was still to write.
  if (HoldsFile(session.LastRead(), *file)) {
    Say(UiText(kHoldsFile));
    return kDone;
  }
  ParameterBlock wanted = session.LastRead();
  CopyFileToController(*file, wanted);
  Say(UiText(kDoesNotHoldFile));
  std::fputs(LoadDifferencesText(session.LastRead(), wanted, session.ListOrder(), &*file).c_str(), stderr);
  return kNotCompleted;
}

int Record(HeadlessSession& session, const Arguments& a) {
  if (a.values.size() != 2) return -1;
  int seconds = 0;
  try {
    seconds = std::stoi(a.values[0]);
  } catch (const std::exception&) {
  }
  if (seconds < 1 || seconds > kLongestRecordingSeconds || std::to_string(seconds) != a.values[0]) {
    Say(UiText(kBadValue) + a.values[0]);
    return kMistake;
  }
  const std::string& out = a.values[1];
  if (!HasRecordingExtension(out)) {
    Say(UiTextAndName(kBadExtension, out));
    return kMistake;
  }
  if (!ControllerAnswered(session)) return NoController(session);
  // A sample comes with every poll: the oscilloscope's rate, ten a second.
  const int samples = seconds * kSamplesPerSecond;
  session.Record(true);
  const bool recorded = session.WaitFor(
      [&] { return session.Samples() >= samples || session.Mode() != ConnectionMode::Controller; },
      std::chrono::seconds(3 * seconds) + kConnectLimit);
  session.Record(false);
  if (session.Mode() != ConnectionMode::Controller) return NoController(session);
  Say(UiText(kSamplesText) + std::to_string(session.Samples()));
  std::string why;
  if (!WriteFileAtomically(out, RecordingBytes(session.Link().Block(), session.History(), true), &why)) {
    Say(UiText(kCannotOpen) + " " + why);
    return kNotCompleted;
  }
  Say(UiText(kWritten) + out);
  return recorded ? kDone : kNotCompleted;
}

int Program(HeadlessSession& session, const Arguments& a) {
  if (a.values.size() != 1) return -1;
  const std::string& image = a.values[0];
  ImageHeader header;
  if (ReadImageHeader(image, header) != ImageReadResult::Ok) {
    Say(UiTextAndName(kCannotOpen, image));
    return kMistake;
  }
  if (!session.Connect()) return NoController(session);
  ControllerLink& link = session.Link();
  // The firmware page: the polls stop for the loader's slower start, the images of the
  // image's folder that fit the device are listed, and the one named is programmed.
  link.EnterPage(Page::Firmware);
  std::string folder = FolderOf(image);
  if (folder.empty()) folder = ".";
  FirmwarePage page(link, session, session, session.Dialogs(), folder);
  link.SetProgrammingHandler(&page.Dialogue());
  page.ListFirmwareImages(1);
  int row = 0;
  for (std::size_t i = 0; i < page.FirmwareList().size(); ++i)
    if (FileNameOf(page.FirmwareList()[i].path) == FileNameOf(image)) row = static_cast<int>(i) + 1;
  if (row == 0) {
    Say(UiText(kImageDoesNotFit) + FileNameOf(image));
    link.SetProgrammingHandler(nullptr);
    return kNotCompleted;
  }
  page.StartProgramming(row, session.Mode());
  session.WaitFor([&] { return page.Dialogue().CurrentPhase() == ProgrammingDialogue::Phase::Idle; },
                  std::chrono::hours(1));
  link.SetProgrammingHandler(nullptr);
  if (page.Dialogue().LastResultText() == 0) Say(UiText(kCancelled));  // the question answered No
  return page.Dialogue().LastResultText() == programming::kTextSucceeded ? kDone : kNotCompleted;
}

bool IsWorkshopCommand(std::string_view command) {
  return command == "--report" || command == "--read" || command == "--write" || command == "--record" ||
         command == "--program";
}

}  // namespace

std::optional<int> RunWorkshopCommand(int argc, char** argv) {
  if (argc < 2 || !IsWorkshopCommand(argv[1])) return std::nullopt;
  const Arguments args = Parse(argc, argv);
  if (!args.mistake.empty()) {
    Say(UiText(kUnknownOption) + args.mistake);
    return kMistake;
  }
  int status = -1;
  if (args.command == "--report") {
    // The document is laid out with the toolkit's fonts; no window is shown, so no display
    // is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    status = Report(args);
  } else {
    QCoreApplication app(argc, argv);
    HeadlessSession session(StoredSettings(), args, argc, argv);
    if (args.command == "--read") status = Read(session, args);
    if (args.command == "--write") status = Write(session, args);
    if (args.command == "--record") status = Record(session, args);
    if (args.command == "--program") status = Program(session, args);
  }
  if (status < 0) {
    Say(UiText(kUnknownOption) + args.command);
    return kMistake;
  }
  return status;
}
