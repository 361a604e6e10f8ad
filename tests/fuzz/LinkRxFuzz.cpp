// The link's received-data handling with whatever the line delivers: the input picks the
// link's state, page, expected reply and window state, then is a stream of received-byte
// chunks (each raising a received-data event), transmit ticks and information ticks.
// The link must never write a parameter the user did not change, and never send a frame
// other than the ones it knows.

#include <cstdint>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "link/ControllerLink.h"
#include "link/LinkFrames.h"
#include "link/Supervision.h"
#include "support/FakeSerialPort.h"
#include "support/ScriptedLinkHost.h"

namespace {

// Stands in for the loader's side of a programming run: answers every tick with a
// programming frame, so that replies arrive while the link holds state 254.
class ProgrammingStandIn : public ProgrammingHandler {
 public:
  explicit ProgrammingStandIn(ControllerLink& link) : link_(link) {}
  void OnProgrammingReply(const std::uint8_t* reply, int count) override {
    FUZZ_CHECK(count >= ReplyLength(link_code::kProgrammingFrame));
    checksum_ += reply[0] + reply[count - 1];
  }
  void OnProgrammingTick() override {
    link_.SendFrame({link_code::kProgrammingFrame, 0x01, 0x02, 0x0A}, link_code::kProgrammingFrame);
  }

 private:
  ControllerLink& link_;
  unsigned checksum_ = 0;
};

constexpr int kStates[] = {link_state::kChoose,        link_state::kSetupPoll,
                           link_state::kParameterPoll, link_state::kConfigurationPoll,
                           link_state::kTester,        link_state::kMap,
                           link_state::kPortPoll,      link_state::kSramPoll,
                           link_state::kEepromPoll,    link_state::kProgramming,
                           link_state::kStopped};
constexpr int kReplies[] = {0,
                            link_code::kParameterRead,
                            link_code::kLiveData,
                            link_code::kRegisterRead,
                            link_code::kConfiguration,
                            link_code::kMapColumn,
                            link_code::kPortView,
                            link_code::kEepromBlock,
                            link_code::kParameterWrite,
                            link_code::kLoader,
                            link_code::kProgrammingFrame,
                            kLoaderReportPending,
                            kLoaderReportDone,
                            0x12};

// The first byte of every frame the link may send on its own.
bool KnownRequest(std::uint8_t code) {
  using namespace link_code;
  switch (code) {
    case kParameterRead:
    case kLiveData:
    case kRegisterRead:
    case kConfiguration:
    case kMapColumn:
    case kMapRead:
    case kMapWrite:
    case kMapErase:
    case kPortView:
    case kEepromBlock:
    case kModePrefix:
    case kProgrammingFrame: return true;
    default: return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  FakeSerialPort port;
  ScriptedLinkHost host;
  ReadingHistory history;
  ControllerLink link(port, host, history);
  ConnectionSupervisor supervisor(link, port, host, host);
  ProgrammingStandIn programming(link);
  port.OnRxChar = [&](int count) { link.VaComm1RxChar(count); };

  LinkVariables& v = link.vars;
  v.linkState = in.Pick(kStates);
  v.currentPage = in.Byte() % 8;
  const std::uint8_t flags = in.Byte();
  host.serviceMode = flags & 0x01;
  host.scopeRunning = flags & 0x02;
  host.magnifierOpen = flags & 0x04;
  v.readPending = flags & 0x08;
  v.modeSwitchRequest = flags & 0x10;
  if (flags & 0x20) link.SetProgrammingHandler(&programming);
  host.autoPortSearch = flags & 0x40;
  v.reconnectPending = flags & 0x80;
  v.expectedReply = in.Pick(kReplies);
  host.registerIndex = in.Byte();
  v.requestIndex = in.Byte();
  v.buttonAction = in.Byte() % 5;
  port.Open();

  while (!in.Empty()) {
    const std::uint8_t op = in.Byte();
    switch (op % 8) {
      case 0: link.TimerTxTimer(); break;
      case 1: supervisor.TimerInfoTimer(); break;
      case 2:  // the window moves to another page
        v.currentPage = in.Byte() % 8;
        break;
      default: {
        const std::string_view chunk = in.Bytes(op / 8);
        port.Feed(std::vector<std::uint8_t>(chunk.begin(), chunk.end()));
        break;
      }
    }
    FUZZ_CHECK(v.requestIndex >= 0 && v.requestIndex <= 256);
  }

  for (const auto& frame : port.frames) {
    FUZZ_CHECK(!frame.empty());
    FUZZ_CHECK(frame[0] != link_code::kParameterWrite);  // nobody edited a parameter
    FUZZ_CHECK(KnownRequest(frame[0]));
  }
  return 0;
}
