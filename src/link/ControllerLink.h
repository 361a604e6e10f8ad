#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "link/ParameterWrites.h"
#include "link/ReplyDecoding.h"
#include "link/SerialPort.h"
#include "model/PageAndMode.h"
#include "model/ParameterBlock.h"
#include "model/ReadingHistory.h"

// What the transmit tick sends.
enum class LinkState : std::uint8_t {
  kChoose = 0,
  kSetupPoll = 1,
  kParameterPoll = 2,
  kConfigurationPoll = 3,
  kTester = 4,
  kMap = 5,
  kPortPoll = 6,
  kSramPoll = 62,
  kEepromPoll = 63,
  kProgramming = 254,
  kStopped = 255,
};
namespace link_state {
using enum LinkState;
}  // namespace link_state
constexpr int LinkStateNumber(LinkState state) { return static_cast<int>(state); }
inline std::ostream& operator<<(std::ostream& out, LinkState state) { return out << LinkStateNumber(state); }

// Internal values of ExpectedReply.
inline constexpr int kLoaderReportPending = 254;
inline constexpr int kLoaderReportDone = 255;

// Transmit intervals of the link.
inline constexpr int kPollIntervalMs = 100;
inline constexpr int kReadStartIntervalMs = 40;
inline constexpr int kLinkStartIntervalMs = 1000;

inline constexpr int kMapFirstColumn = 16;
inline constexpr int kMapLastColumn = 37;
inline constexpr int kSramBlocks = 38;
inline constexpr int kEepromBlocks = 32;

// How the link polls while a page is in view: the one table the link follows when a page is
// entered, and when it has read the parameters and chooses the poll anew.
struct PagePoll {
  LinkState state = LinkState::kChoose;
  int intervalMs = kPollIntervalMs;
  bool needsController = false;  // the set-up page polls only while a controller answers
  int firstRequest = -1;         // the request index the poll starts from; -1 keeps it
  bool clearsButtonAction = false;
  bool forgetsStatus = false;
};
PagePoll PollOfPage(Page page);

// What the link needs of the transmit timer.
class LinkTimer {
 public:
  virtual ~LinkTimer() = default;
  virtual void SetTxInterval(int ms) = 0;
  virtual void SetTxEnabled(bool enabled) = 0;
  virtual bool TxEnabled() const = 0;
};

// What the link reports about the connection: its mode, the caption, the cursor, the read's
// progress, the log, messages and beeps, and a completed read.
class ConnectionReport {
 public:
  virtual ~ConnectionReport() = default;
  virtual void ApplyConnectionMode(ConnectionMode mode) = 0;
  virtual void SetBaseCaption() = 0;               // "MERVOLANTE LPG V1.61"
  virtual void SetBusyCursor(bool busy) = 0;       // false restores the normal cursor
  virtual void ShowReadProgress(int maximum) = 0;  // CGRead visible, progress 0
  virtual void SetReadProgress(int position) = 0;
  virtual void HideReadProgress() = 0;  // hidden with progress 0
  virtual void AddLogLine(const std::string& line) = 0;
  virtual void ShowMessage(const std::string& text) = 0;  // OK box captioned UiText 700
  virtual void Beep() = 0;
  virtual void ParametersRead() = 0;  // RebuildEditor and the readings layout after a full read
  virtual void PlausibilityCheck() = 0;
  // A parameter byte with a value, as the editor shows it: "label: value".
  virtual std::string ParameterChangeText(int index, std::uint8_t value) const {
    return std::to_string(index) + ": " + std::to_string(value);
  }
};

// Where the decoded replies that every page shows go: the live record, the scope, the
// magnifier and the readings a configuration reply brings. The monitor shows them whichever
// page is in view; what the link must know of it (the register to read, whether the scope
// advances, whether the magnifier is open) it is told through its named operations.
class ReplySink {
 public:
  virtual ~ReplySink() = default;
  virtual void SetMagnifierTexts(const std::string& first, const std::string& second) = 0;
  virtual void HistoryAboutToWrap() = 0;  // automatic save of a full history
  virtual void ScopeCursorMoved(int cursor) = 0;
  virtual void ShowRecord(const LiveReadings& record) = 0;
  // Every configuration reply, also one that arrives after its page was left.
  virtual void ShowConfigurationReadings(const ConfigurationView& view) = 0;
};

// Where the replies go before a monitor is set: nowhere.
class NoReplySink : public ReplySink {
 public:
  void SetMagnifierTexts(const std::string&, const std::string&) override {}
  void HistoryAboutToWrap() override {}
  void ScopeCursorMoved(int) override {}
  void ShowRecord(const LiveReadings&) override {}
  void ShowConfigurationReadings(const ConfigurationView&) override {}
};

// Where the replies that only one page shows go: the page in view takes them (the wizard
// its configuration replies and polls, the map page its columns, the processor views their
// blocks and port pins). A page shows only its own; the rest does nothing.
class PageReplySink {
 public:
  virtual ~PageReplySink() = default;
  virtual void ShowConfiguration(const ConfigurationView& /*view*/) {}
  virtual void WizardStep() {}  // one auto-configuration step per configuration poll
  virtual void ShowMapColumn(const MapColumnView& /*view*/) {}
  virtual void ShowMemoryBlock(const MemoryBlockView& /*view*/) {}
  virtual void ShowPortView(const PortView& /*view*/) {}
};

// What the link needs of the main window; tests script it. The replies go to the monitor's
// sink and to the page in view.
class LinkHost : public LinkTimer, public ConnectionReport {};

// The loader side of a firmware run: receives the replies while a run is under way and is
// ticked while the link holds LinkState 254.
class ProgrammingHandler {
 public:
  virtual ~ProgrammingHandler() = default;
  virtual void OnProgrammingReply(const std::uint8_t* reply, int count) = 0;
  virtual void OnProgrammingTick() = 0;
  // A run is under way: from the start request to its end.
  virtual bool RunUnderWay() const = 0;
  // Something took the link out of the run's states: the run ends as failed.
  virtual void OnLinkLeftRun() = 0;
};

// The state of the link. Only ControllerLink writes it; everyone else, the connection
// supervision too, reads it through ControllerLink::Vars() and changes it through the link's
// named operations.
struct LinkVariables {
  LinkState linkState = LinkState::kChoose;
  int expectedReply = 0;
  int unansweredCount = 0;
  int requestIndex = 0;
  bool readPending = false;
  bool reconnectPending = false;
  bool modeSwitchRequest = false;
  bool validateAfterRead = false;
  std::uint8_t controllerStatus = 255;
  std::uint8_t controllerErrorCode = 0;
  int buttonAction = 0;
  Page currentPage = Page::Setup;
  int failedReconnects = 0;
  bool controllerSeen = false;
};

// The request/response engine. The PC is the master: each transmit tick sends at most one
// request, and the controller answers with a reply that begins with the request's code.
class ControllerLink {
 public:
  // Replies the monitor shows go to sink, until SetReplySink names another.
  ControllerLink(SerialPort& port, LinkHost& host, ReplySink& sink, ReadingHistory& history);
  ControllerLink(SerialPort& port, LinkHost& host, ReadingHistory& history);
  ControllerLink(const ControllerLink&) = delete;  // it holds its own "no page" sink
  ControllerLink& operator=(const ControllerLink&) = delete;

  const LinkVariables& Vars() const { return vars; }
  // The ParameterBlock: the program's image of the controller's parameters, as read, edited
  // or loaded from a file. Everyone reads it here; it changes through the operations below.
  const ParameterBlock& Block() const { return parameterBlock; }
  // What the controller was sent and acknowledged, or sent in a read; only the link writes it.
  const ParameterBlock& SentBlock() const { return sentParameterBlock; }

  void SetProgrammingHandler(ProgrammingHandler* handler) { programming_ = handler; }

  // The transmit tick.
  void TimerTxTimer();
  // The received-data event; the count is only a hint.
  void VaComm1RxChar(int count);

  // A programming run holds the link: LinkState 254, or 255 while the start request waits
  // for the loader, with no reconnect pending and the transmit timer running. When anything
  // has taken the link out of that, the run ends through its one end path.
  void CheckProgrammingHold(bool txRunning);

  // Link start after the port was opened: interval 1000 ms, a full read follows.
  void StartLink();

  // The named operations: each carries out one of the link's rules.
  // All parameters are read again, from the first.
  void RequestFullRead();
  // The port is opened again and the link restarted on the next information tick.
  void RequestReconnect();
  // The information tick no longer reopens the port.
  void CancelReconnect() { vars.reconnectPending = false; }
  // The port did not open, or the device went away: the next information tick opens it
  // again. The count of failed reconnects goes on.
  void ReopenPort() { vars.reconnectPending = true; }
  // Another loss of the link without a reconnect; returns how many there were in a row.
  int CountFailedReconnect() { return ++vars.failedReconnects; }
  // The link gives up: the transmit clock stops, no read and no reconnect is pending.
  void GiveUp();
  // The transmit clock, which drives every request of the link.
  void StartTransmitClock() { timer_.SetTxEnabled(true); }
  void StopTransmitClock() { timer_.SetTxEnabled(false); }
  bool TransmitClockRunning() const { return timer_.TxEnabled(); }
  // The next poll asks the controller to switch its operating mode.
  void RequestModeSwitch() { vars.modeSwitchRequest = true; }
  // Nothing is known of the controller's status until its next reply.
  void ForgetControllerStatus() { vars.controllerStatus = 255; }
  // At program start: no status, no error, nothing unanswered.
  void ForgetController();
  // At program start: both blocks hold nothing the controller was sent.
  void ForgetParameters() { parameterBlock = sentParameterBlock = FreshParameterBlock(); }
  // The page in view: what the link polls follows it (PollOfPage). While a read ends, the
  // read's own final state stays.
  void EnterPage(Page page);
  // The window's connection mode, as it applies it: the set-up page polls only with a
  // controller.
  void SetConnectionMode(ConnectionMode mode) { connectionMode_ = mode; }
  // What the monitor shows and the link must know: the register a service-mode reading
  // asks for, whether the scope advances and takes the live data, whether the magnifier is
  // open.
  void SetRegisterIndex(int index) { registerIndex_ = std::max(0, index); }
  void SetScopeAdvancing(bool advancing) { scopeAdvancing_ = advancing; }
  void SetServiceMode(bool on) { serviceMode_ = on; }
  void SetMagnifierOpen(bool open) { magnifierOpen_ = open; }
  void SetReplySink(ReplySink* sink) { sink_ = sink ? sink : &noReplySink_; }
  // The page in view takes the replies only it shows; none when it shows none.
  void SetPageSink(PageReplySink* sink) { pageSink_ = sink ? sink : &noPageSink_; }
  PageReplySink& PageSink() const { return *pageSink_; }
  // A button of the map or processor pages.
  void PressPageButton(int action) { vars.buttonAction = action; }
  // A firmware run holds the link from its header frame on; its end stops the link.
  void BeginProgramming();
  void EndProgramming() { vars.linkState = LinkState::kStopped; }
  // A loader reply answers the request before it.
  void LoaderAnswered() { vars.unansweredCount = 0; }
  // Bytes received before a request cannot answer it. The ticks discard them before every
  // send; a request sent outside a tick (the programming start) discards them first too.
  void DiscardWaiting();

  // A parameter change is still to be sent, or the last one sent is not yet acknowledged;
  // not while writes are held after a lost link.
  bool WritesOutstanding() const;
  // The controller stopped answering: the unanswered requests are counted afresh, what it
  // has not acknowledged is kept, and nothing is written until a full read has shown which
  // controller answers.
  void LinkLost() {
    vars.unansweredCount = 0;
    writes_.LinkLost();
  }
  // The byte is written to the controller with value on the next ticks, even when the
  // controller was last sent that value (clearing its counters, the factory parameters).
  void ForceWrite(int index, std::uint8_t value);
  // The controller sets the byte itself (the typical simulation's times): the block shows
  // value and nothing is written for it.
  void ControllerHolds(int index, std::uint8_t value);
  // The block shows a file, not the controller's parameters: no change is pending.
  void ForgetChanges() { writes_.Forget(); }
  // The fitter or the wizard gave the byte a value: it goes to the controller on the next
  // ticks when the controller was last sent another.
  void SetParameter(int index, std::uint8_t value);
  // The block takes the bytes of a file (parameters for the controller or for viewing, a
  // recording): every byte that differs from what the controller was sent is to be written,
  // unless ForgetChanges follows.
  void LoadBlock(const ParameterBlock& block) { parameterBlock = block; }
  const ParameterWrites& Writes() const { return writes_; }

  // Send operations: write one frame, set ExpectedReply, count it as unanswered.
  void SendCommand(std::uint8_t code);
  void SendPrefixedCommand(std::uint8_t code);
  void SendIndexed(std::uint8_t code, std::uint8_t index);
  void SendParameterWrite(std::uint8_t index, std::uint8_t value);
  // A composed frame (register read, programming frames): its reply begins with the
  // frame's first byte, or with replyCode.
  void SendFrame(const std::vector<std::uint8_t>& frame);
  void SendFrame(const std::vector<std::uint8_t>& frame, std::uint8_t replyCode);

  // The runtime's pseudo-random generator, drawn once per tick; the programming seed comes
  // from it. Values 0 .. 2^31-1.
  std::uint32_t NextRandom();
  void SeedRandom(std::uint32_t seed) { randSeed_ = seed; }

 private:
  void StartFullRead();
  void SendParameterRead(int index);
  bool SendPendingWrite();
  void ReportChanges(int textId, const std::vector<ParameterChange>& changes, bool asMessage);
  void SendPoll();
  void AdvanceScope();
  void ReceiveParameterReply();
  void HandleParameterReply(const std::uint8_t* r, int n);
  void HandleLoaderReport(const std::uint8_t* r);
  void HandleLiveData(const std::uint8_t* r);
  void HandleRegisterValue(const std::uint8_t* r);
  void HandleMapOrSram(const std::uint8_t* r);
  void FinishRead(ConnectionMode connectionMode, LinkState finalLinkState);

  friend struct LinkTestAccess;  // tests set up the state a scenario starts from

  LinkVariables vars;
  ParameterBlock parameterBlock = FreshParameterBlock();
  ParameterBlock sentParameterBlock = FreshParameterBlock();
  SerialPort& port_;
  LinkTimer& timer_;
  ConnectionReport& report_;
  NoReplySink noReplySink_;
  ReplySink* sink_ = &noReplySink_;
  PageReplySink noPageSink_;
  PageReplySink* pageSink_ = &noPageSink_;
  ReadingHistory& history_;
  ProgrammingHandler* programming_ = nullptr;
  std::uint32_t randSeed_ = 0;
  ParameterWrites writes_;
  int askedIndex_ = -1;  // the index of the last parameter read sent
  std::array<std::uint8_t, 4096> work_{};
  int heldReplyBytes_ = 0;  // the start of a loader report, at the front of work_
  ConnectionMode connectionMode_ = ConnectionMode::None;
  bool finishingRead_ = false;
  int registerIndex_ = 0;
  bool scopeAdvancing_ = true;
  bool serviceMode_ = false;
  bool magnifierOpen_ = false;
};
