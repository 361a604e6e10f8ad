#include "link/ControllerLink.h"

#include <algorithm>

#include "base/UiText.h"
#include "link/LinkFrames.h"

using namespace link_code;
using namespace link_state;

namespace {
constexpr int kTesterTypeByte = 203;
constexpr int kLastParameterIndex = 104;
constexpr int kTesterLastIndex = 4;
constexpr int kReadProgressMaximum = 105;
constexpr int kScopeSampleOffset = 1;  // live reply bytes 1..14 land in record bytes 1..14
constexpr int kScopeSampleBytes = 14;
constexpr int kLoaderReportBytes = 8;

int NextInCycle(int value, int first, int last) { return value >= last ? first : value + 1; }
bool InRange(int value, int first, int last) { return value >= first && value <= last; }

// A reply ends in the low 8 bits of the sum of the bytes before its last one.
bool ChecksumRight(const std::uint8_t* r, int length) {
  return length >= 2 && r[length - 1] == FrameChecksum(r, static_cast<std::size_t>(length - 1));
}

constexpr int kWriteGivenUpText = 1240;
constexpr int kWriteAgainText = 1241;
constexpr int kNotDeliveredText = 1242;
}  // namespace

PagePoll PollOfPage(Page page) {
  PagePoll p;
  switch (page) {
    case Page::Setup:
      p.state = kSetupPoll;
      p.needsController = true;
      p.firstRequest = 0;
      break;
    case Page::Parameters: p.state = kParameterPoll; break;
    case Page::Configuration: p.state = kConfigurationPoll; break;
    case Page::Map:
      p.state = kMap;
      p.firstRequest = kMapFirstColumn;
      p.clearsButtonAction = true;
      break;
    case Page::Port: p.state = kPortPoll; break;
    case Page::Sram: p.state = kSramPoll; break;
    case Page::Eeprom: p.state = kEepromPoll; break;
    case Page::Firmware:  // the firmware page's requests are the loader dialogue's
      p.state = kStopped;
      p.intervalMs = kLinkStartIntervalMs;
      p.clearsButtonAction = true;
      p.forgetsStatus = true;
      break;
  }
  return p;
}

ControllerLink::ControllerLink(SerialPort& port, LinkHost& host, ReplySink& sink, ReadingHistory& history)
    : port_(port), timer_(host), report_(host), sink_(&sink), history_(history) {}

ControllerLink::ControllerLink(SerialPort& port, LinkHost& host, ReadingHistory& history)
    : port_(port), timer_(host), report_(host), history_(history) {}

std::uint32_t ControllerLink::NextRandom() {
  randSeed_ = randSeed_ * 0x08088405u + 1u;
  return randSeed_ >> 1;
}

// ---------------------------------------------------------------------------------------
// Sending

void ControllerLink::SendFrame(const std::vector<std::uint8_t>& frame, std::uint8_t replyCode) {
  heldReplyBytes_ = 0;  // what is held belongs to the request before
  vars.expectedReply = replyCode;
  ++vars.unansweredCount;
  port_.WriteBuf(frame.data(), static_cast<int>(frame.size()));
}

void ControllerLink::SendFrame(const std::vector<std::uint8_t>& frame) {
  if (!frame.empty()) SendFrame(frame, frame[0]);
}

void ControllerLink::SendCommand(std::uint8_t code) { SendFrame(CommandFrame(code)); }

// The reply to a prefixed command begins with the command's code, not the prefix.
void ControllerLink::SendPrefixedCommand(std::uint8_t code) { SendFrame(PrefixedCommandFrame(code), code); }

void ControllerLink::SendIndexed(std::uint8_t code, std::uint8_t index) {
  SendFrame(IndexedFrame(code, index));
}

void ControllerLink::SendParameterWrite(std::uint8_t index, std::uint8_t value) {
  SendFrame(ParameterWriteFrame(index, value));
}

// ---------------------------------------------------------------------------------------
// The transmit tick

void ControllerLink::StartLink() {
  timer_.SetTxInterval(kLinkStartIntervalMs);
  vars.requestIndex = 0;
  vars.readPending = true;
  vars.linkState = kChoose;
  vars.unansweredCount = 0;
  vars.controllerStatus = 255;
  vars.controllerErrorCode = 0;
  timer_.SetTxEnabled(true);
}

void ControllerLink::RequestFullRead() {
  vars.requestIndex = 0;
  vars.readPending = true;
}

void ControllerLink::RequestReconnect() {
  vars.reconnectPending = true;
  vars.failedReconnects = 0;
}

void ControllerLink::ForgetController() {
  vars.controllerStatus = 255;
  vars.controllerErrorCode = 0;
  vars.unansweredCount = 0;
}

void ControllerLink::EnterPage(Page page) {
  vars.currentPage = page;
  const PagePoll poll = PollOfPage(page);
  if (poll.needsController && connectionMode_ != ConnectionMode::Controller) return;
  timer_.SetTxInterval(poll.intervalMs);
  if (!finishingRead_) vars.linkState = poll.state;
  if (poll.firstRequest >= 0) vars.requestIndex = poll.firstRequest;
  if (poll.clearsButtonAction) vars.buttonAction = 0;
  if (poll.forgetsStatus) vars.controllerStatus = 255;
}

void ControllerLink::GiveUp() {
  timer_.SetTxEnabled(false);
  report_.SetBusyCursor(false);
  timer_.SetTxInterval(kPollIntervalMs);
  vars.readPending = false;
  vars.reconnectPending = false;
  vars.failedReconnects = 0;
  report_.HideReadProgress();
}

void ControllerLink::ForceWrite(int index, std::uint8_t value) {
  if (index < 0 || index >= static_cast<int>(parameterBlock.size())) return;
  constexpr std::uint8_t kForcedWrite = 255;  // no value the controller was sent
  parameterBlock[static_cast<std::size_t>(index)] = value;
  sentParameterBlock[static_cast<std::size_t>(index)] = kForcedWrite;
}

void ControllerLink::SetParameter(int index, std::uint8_t value) {
  if (index < 0 || index >= static_cast<int>(parameterBlock.size())) return;
  parameterBlock[static_cast<std::size_t>(index)] = value;
}

void ControllerLink::BeginProgramming() {
  vars.linkState = kProgramming;
  vars.unansweredCount = 0;
}

void ControllerLink::ControllerHolds(int index, std::uint8_t value) {
  if (index < 0 || index >= static_cast<int>(parameterBlock.size())) return;
  parameterBlock[static_cast<std::size_t>(index)] = value;
  sentParameterBlock[static_cast<std::size_t>(index)] = value;
}

bool ControllerLink::WritesOutstanding() const {
  if (writes_.Held()) return false;  // nothing goes out before the next full read
  if (writes_.InFlight()) return true;
  return !std::equal(parameterBlock.begin(), parameterBlock.begin() + kExchangedParameterBytes,
                     sentParameterBlock.begin());
}

void ControllerLink::DiscardWaiting() {
  heldReplyBytes_ = 0;
  for (int guard = 0; guard < 64; ++guard) {
    const int waiting = port_.ReadBufUsed();
    if (waiting <= 0) return;
    if (port_.ReadBuf(work_.data(), std::min<int>(waiting, static_cast<int>(work_.size()))) <= 0) return;
  }
}

void ControllerLink::CheckProgrammingHold(bool txRunning) {
  if (!programming_ || !programming_->RunUnderWay()) return;
  const bool awaitingLoader = vars.linkState == kStopped && vars.expectedReply == kLoader;
  const bool held = txRunning && !vars.reconnectPending && (vars.linkState == kProgramming || awaitingLoader);
  if (!held) programming_->OnLinkLeftRun();
}

void ControllerLink::TimerTxTimer() {
  NextRandom();  // keeps the generator moving; the programming seed is drawn from it
  CheckProgrammingHold(true);
  if (vars.reconnectPending) return;
  // A programming start waits for the loader's answer with the link stopped; the same
  // handler times that wait.
  const bool awaitingLoader = vars.linkState == kStopped && vars.expectedReply == kLoader;
  if (vars.linkState == kProgramming || awaitingLoader) {
    if (programming_) programming_->OnProgrammingTick();
    return;
  }
  if (vars.linkState == kStopped) return;
  DiscardWaiting();

  if (vars.linkState == kChoose) {
    if (!vars.readPending) {
      // Only the pages up to the port view take their state here; the others wait for theirs.
      if (vars.currentPage <= Page::Port) vars.linkState = PollOfPage(vars.currentPage).state;
    } else if (vars.requestIndex == 0) {
      StartFullRead();
    } else {
      SendParameterRead(vars.requestIndex);  // retry
    }
    return;
  }

  if (SendPendingWrite()) return;

  if (vars.readPending) {
    vars.linkState = kChoose;
    return;
  }

  SendPoll();

  // The tick after a completed read also checks the parameters it brought.
  if (vars.validateAfterRead) {
    vars.validateAfterRead = false;
    report_.PlausibilityCheck();
  }
}

// Writes go out one a tick, lowest index first; one the controller has not acknowledged by
// the next tick goes out again, and after its last try the log names it.
bool ControllerLink::SendPendingWrite() {
  const ParameterWrites::Decision d = writes_.Tick(parameterBlock, sentParameterBlock);
  if (d.givenUp) ReportChanges(kWriteGivenUpText, {*d.givenUp}, false);
  if (!d.send) return false;
  SendParameterWrite(static_cast<std::uint8_t>(d.send->index), d.send->value);
  return true;
}

void ControllerLink::ReportChanges(int textId, const std::vector<ParameterChange>& changes, bool asMessage) {
  if (changes.empty()) return;
  if (!asMessage) {
    for (const ParameterChange& c : changes)
      report_.AddLogLine(UiText(textId) + report_.ParameterChangeText(c.index, c.value));
    return;
  }
  std::string text = UiText(textId);
  for (const ParameterChange& c : changes) text += "\n\r" + report_.ParameterChangeText(c.index, c.value);
  report_.ShowMessage(text);
}

void ControllerLink::SendParameterRead(int index) {
  askedIndex_ = index;
  SendIndexed(kParameterRead, static_cast<std::uint8_t>(index));
}

void ControllerLink::StartFullRead() {
  // What the controller has not acknowledged is kept aside; the read shows what it holds.
  writes_.ReadStarts(parameterBlock, sentParameterBlock);
  report_.SetBaseCaption();
  report_.SetBusyCursor(true);
  timer_.SetTxInterval(kReadStartIntervalMs);
  report_.ShowReadProgress(kReadProgressMaximum);
  report_.AddLogLine(UiText(725));
  SendParameterRead(0);
  vars.requestIndex = 1;
}

void ControllerLink::AdvanceScope() {
  if (history_.WillWrap()) sink_->HistoryAboutToWrap();
  history_.Advance();
  sink_->ScopeCursorMoved(history_.ScopeCursor());
}

void ControllerLink::SendPoll() {
  const bool prefixed = vars.modeSwitchRequest;
  switch (vars.linkState) {
    case kSetupPoll:
    case kParameterPoll:
      if (vars.linkState == kParameterPoll && vars.currentPage == Page::Parameters && scopeAdvancing_)
        AdvanceScope();
      vars.modeSwitchRequest = false;
      prefixed ? SendPrefixedCommand(kLiveData) : SendCommand(kLiveData);
      break;
    case kConfigurationPoll:
      vars.modeSwitchRequest = false;
      prefixed ? SendPrefixedCommand(kConfiguration) : SendCommand(kConfiguration);
      pageSink_->WizardStep();
      break;
    case kMap:
      if (prefixed) {
        vars.modeSwitchRequest = false;
        SendPrefixedCommand(kLiveData);
      } else if (InRange(vars.buttonAction, 1, 3)) {
        static constexpr std::uint8_t kMapCommands[] = {kMapRead, kMapWrite, kMapErase};
        SendCommand(kMapCommands[vars.buttonAction - 1]);
        vars.buttonAction = 0;
      } else {
        if (!InRange(vars.requestIndex, kMapFirstColumn, kMapLastColumn)) vars.requestIndex = kMapFirstColumn;
        SendIndexed(kMapColumn, static_cast<std::uint8_t>(vars.requestIndex));
        vars.requestIndex = NextInCycle(vars.requestIndex, kMapFirstColumn, kMapLastColumn);
      }
      break;
    case kPortPoll:
      vars.modeSwitchRequest = false;
      prefixed ? SendPrefixedCommand(kLiveData) : SendCommand(kPortView);
      break;
    case kSramPoll:
    case kEepromPoll: {
      const bool sram = vars.linkState == kSramPoll;
      const int last = (sram ? kSramBlocks : kEepromBlocks) - 1;
      // The index is kept from the view before: one beyond the last page is asked once (its
      // reply fills nothing) and the next tick starts again at page 0.
      if (!InRange(vars.requestIndex, 0, 255)) vars.requestIndex = 0;
      vars.modeSwitchRequest = false;
      if (prefixed)
        SendPrefixedCommand(kLiveData);
      else
        SendIndexed(sram ? kSramBlock : kEepromBlock, static_cast<std::uint8_t>(vars.requestIndex));
      vars.requestIndex = NextInCycle(vars.requestIndex, 0, last);
      break;
    }
    default:  // the tester state sends nothing but writes; a mode switch stays pending
      break;
  }
}

// ---------------------------------------------------------------------------------------
// Receiving

void ControllerLink::VaComm1RxChar(int /*count*/) {
  const int expected = vars.expectedReply;
  if (expected == kParameterRead || expected == kLoaderReportPending) {
    ReceiveParameterReply();
    return;
  }
  const int need = ReplyLength(expected);
  if (need == 0 || expected == kLoaderReportDone) return;
  const int waiting = port_.ReadBufUsed();
  if (waiting < need) return;
  const int n = port_.ReadBuf(work_.data(), std::min<int>(waiting, static_cast<int>(work_.size())));
  if (n < need) return;
  const std::uint8_t* r = work_.data();

  // A damaged reply counts as none: nothing of it is taken.
  if (!ChecksumRight(r, need)) return;
  if (expected == kLoader || expected == kProgrammingFrame) {
    if (programming_) programming_->OnProgrammingReply(r, n);
    return;
  }
  if (r[0] != expected) return;  // not the reply we wait for: dropped

  vars.unansweredCount = 0;
  switch (expected) {
    case kLiveData: HandleLiveData(r); break;
    case kRegisterRead: HandleRegisterValue(r); break;
    case kConfiguration: {
      vars.controllerStatus = r[1];
      vars.controllerErrorCode = 0;
      // The readings are shown whatever the page; a reply that arrives after the wizard's
      // page was left goes to the page now in view, which does not take it.
      const ConfigurationView view = DecodeConfiguration(r, parameterBlock);
      sink_->ShowConfigurationReadings(view);
      pageSink_->ShowConfiguration(view);
      break;
    }
    case kMapColumn: HandleMapOrSram(r); break;
    case kEepromBlock:
      vars.controllerStatus = r[1];
      vars.controllerErrorCode = 0;
      if (vars.currentPage == Page::Eeprom) pageSink_->ShowMemoryBlock(DecodeMemoryBlock(r, kEepromBlocks));
      break;
    case kPortView:
      if (vars.currentPage == Page::Port) {
        const PortView view = DecodePortView(r, parameterBlock);
        vars.controllerStatus = view.status;
        vars.controllerErrorCode = 0;
        pageSink_->ShowPortView(view);
      }
      break;
    case kParameterWrite:
      writes_.Acknowledged(sentParameterBlock);
      report_.Beep();
      break;
    default: break;
  }
}

// A parameter read is answered in 4 bytes, or by the loader in its 8-byte report. At the
// line's speed the report arrives a few bytes at a time: once its first byte is seen, the
// bytes read so far are held until the report is whole. The next tick discards what is
// still incomplete, like any reply that did not arrive within one tick.
void ControllerLink::ReceiveParameterReply() {
  const int held = heldReplyBytes_;
  const int waiting = port_.ReadBufUsed();
  if (waiting <= 0 || (held == 0 && waiting < ReplyLength(kParameterRead))) return;
  const int room = static_cast<int>(work_.size()) - held;
  const int got = port_.ReadBuf(work_.data() + held, std::min(waiting, room));
  if (got <= 0) return;
  const int n = held + got;
  heldReplyBytes_ = 0;
  if (n < ReplyLength(kParameterRead)) return;
  const std::uint8_t* r = work_.data();
  if (r[0] == kLoader && n < kLoaderReportBytes) {
    vars.failedReconnects = 0;
    vars.expectedReply = kLoaderReportPending;
    heldReplyBytes_ = n;
    return;
  }
  HandleParameterReply(r, n);
}

// A damaged reply, or one for another index than the one asked, counts as none: the tick
// asks again and nothing of it is stored. Something answers on the port, though: the link is
// not given up while it does.
void ControllerLink::HandleParameterReply(const std::uint8_t* r, int n) {
  vars.failedReconnects = 0;
  if (r[0] == kLoader) {
    if (!ChecksumRight(r, kLoaderReportBytes)) {
      vars.expectedReply = kParameterRead;
      return;
    }
    vars.expectedReply = kLoaderReportPending;
    if (n >= kLoaderReportBytes) HandleLoaderReport(r);
    return;
  }
  if (r[0] != kParameterRead || !ChecksumRight(r, ReplyLength(kParameterRead)) || r[1] != askedIndex_) return;

  const int i = r[1];
  vars.unansweredCount = 0;
  parameterBlock[i] = r[2];
  sentParameterBlock[i] = r[2];
  report_.SetReadProgress(i);

  if (i >= kTesterLastIndex && parameterBlock[kTypeByte] == kTesterTypeByte) {
    FinishRead(ConnectionMode::Tester, kTester);
    return;
  }
  if (i > kLastParameterIndex) {
    vars.validateAfterRead = true;
    FinishRead(ConnectionMode::Controller, kParameterPoll);
    return;
  }
  // A retry from the tick comes only after 100 ms of silence.
  timer_.SetTxEnabled(false);
  timer_.SetTxInterval(kPollIntervalMs);
  timer_.SetTxEnabled(true);
  SendParameterRead(vars.requestIndex);
  vars.requestIndex = i + 1;
}

// The engine's state is complete before the window is told, because the window may open a
// modal box whose event loop runs ticks and receive events. The page the new connection mode
// shows is entered meanwhile; the read's final state stays.
void ControllerLink::FinishRead(ConnectionMode connectionMode, LinkState finalLinkState) {
  vars.controllerSeen = true;
  vars.readPending = false;
  vars.linkState = finalLinkState;
  report_.SetBusyCursor(false);
  timer_.SetTxInterval(kPollIntervalMs);
  report_.HideReadProgress();
  // Changes that did not reach the controller go to it again when it is the same one.
  ParameterWrites::Outcome changes;
  if (connectionMode == ConnectionMode::Controller)
    changes = writes_.ControllerRead(parameterBlock, sentParameterBlock);
  else
    changes.notDelivered = writes_.OtherDeviceRead();
  finishingRead_ = true;
  report_.ApplyConnectionMode(connectionMode);
  if (connectionMode == ConnectionMode::Controller) report_.ParametersRead();
  finishingRead_ = false;
  ReportChanges(kWriteAgainText, changes.resent, false);
  ReportChanges(kNotDeliveredText, changes.notDelivered, true);
}

void ControllerLink::HandleLoaderReport(const std::uint8_t* r) {
  vars.expectedReply = kLoaderReportDone;
  vars.unansweredCount = 0;
  parameterBlock[0] = sentParameterBlock[0] = r[1];
  parameterBlock[1] = sentParameterBlock[1] = r[2];
  FinishRead(ConnectionMode::Loader, kStopped);

  std::string text = UiText(920);
  if (r[6] <= 3) text += UiText(921 + r[6]);
  report_.ShowMessage(text);
}

void ControllerLink::HandleLiveData(const std::uint8_t* r) {
  vars.controllerStatus = r[1];
  vars.controllerErrorCode = r[7];
  if (magnifierOpen_) sink_->SetMagnifierTexts(EngineSpeedText(r[3]), StepperText(r[10]));
  if (vars.currentPage != Page::Parameters || !scopeAdvancing_) return;

  LiveReadings& record = history_.Current();
  std::copy_n(r + kScopeSampleOffset, kScopeSampleBytes, record.begin() + kScopeSampleOffset);
  if (serviceMode_)
    SendFrame(RegisterReadFrame(static_cast<std::uint8_t>(registerIndex_)));
  else
    sink_->ShowRecord(record);
}

void ControllerLink::HandleRegisterValue(const std::uint8_t* r) {
  LiveReadings& record = history_.Current();
  record[0] = static_cast<std::uint8_t>(registerIndex_);
  record[15] = r[2];
  sink_->ShowRecord(record);
}

void ControllerLink::HandleMapOrSram(const std::uint8_t* r) {
  vars.controllerStatus = r[1];
  vars.controllerErrorCode = 0;
  if (vars.currentPage == Page::Map)
    pageSink_->ShowMapColumn(DecodeMapColumn(r, parameterBlock));
  else if (vars.currentPage == Page::Sram)
    pageSink_->ShowMemoryBlock(DecodeMemoryBlock(r, kSramBlocks));
}
