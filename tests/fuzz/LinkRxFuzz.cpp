// The link's received-data handling with whatever the line delivers: the input picks the
// link's state, page, expected reply and window state, then is a stream of received-byte
// chunks (each raising a received-data event), transmit ticks and information ticks.
// The link must never write a parameter the user did not change, and never send a frame
// other than the ones it knows.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "firmware/ProgrammingDialogue.h"
#include "fuzz/FuzzInput.h"
#include "link/ControllerLink.h"
#include "link/LinkFrames.h"
#include "link/Supervision.h"
#include "support/FakeSerialPort.h"
#include "support/LinkTestAccess.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedLinkHost.h"

namespace {

// The programming window as the run leaves it: whether the main window takes input, and the
// progress shown.
class RecordedWindow : public ProgrammingWindow {
 public:
  void ShowProgress(int maximum) override {
    FUZZ_CHECK(maximum > 0);
    maximum_ = maximum;
  }
  void SetProgress(int position) override { FUZZ_CHECK(position >= 0 && position < 65536); }
  void SetStatusText(const std::string& text) override { FUZZ_CHECK(!text.empty()); }
  void SetMainWindowEnabled(bool enabled) override { mainWindowEnabled = enabled; }
  void CloseProgrammingWindow() override { maximum_ = 0; }
  bool mainWindowEnabled = true;

 private:
  int maximum_ = 0;
};

constexpr LinkState kStates[] = {link_state::kChoose,        link_state::kSetupPoll,
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
    case kLoader:
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
  ControllerLink link(port, host, host, history);
  link.SetPageSink(&host);
  ConnectionSupervisor supervisor(link, port, host, host);
  RecordedWindow window;
  ScriptedDialogs dialogs;
  std::optional<ProgrammingDialogue> programming;
  port.OnRxChar = [&](int count) { link.VaComm1RxChar(count); };

  LinkVariables& v = LinkTestAccess::State(link);
  v.linkState = in.Pick(kStates);
  v.currentPage = static_cast<Page>(in.Byte() % 8);
  const std::uint8_t flags = in.Byte();
  link.SetServiceMode(flags & 0x01);
  link.SetScopeAdvancing(flags & 0x02);
  link.SetMagnifierOpen(flags & 0x04);
  v.readPending = flags & 0x08;
  v.modeSwitchRequest = flags & 0x10;
  const bool programmingRun = flags & 0x20;
  host.autoPortSearch = flags & 0x40;
  v.reconnectPending = flags & 0x80;
  v.expectedReply = in.Pick(kReplies);
  link.SetRegisterIndex(in.Byte());
  v.requestIndex = in.Byte();
  v.buttonAction = in.Byte() % 5;
  port.Open();
  if (programmingRun) {  // a real run of an image of 0 to 16 KB, its bytes from the input
    programming.emplace(link, window, dialogs);
    std::vector<std::uint8_t> image(static_cast<std::size_t>(in.Byte()) * 64 + in.Byte() % 64);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + image.size());
    window.mainWindowEnabled = false;
    v.linkState = link_state::kStopped;  // as on the firmware page
    v.reconnectPending = false;
    programming->Start(std::move(image));
  }

  while (!in.Empty()) {
    const std::uint8_t op = in.Byte();
    switch (op % 8) {
      case 0: link.TimerTxTimer(); break;
      case 1: supervisor.TimerInfoTimer(); break;
      case 2:  // the window moves to another page
        v.currentPage = static_cast<Page>(in.Byte() % 8);
        break;
      default: {
        const std::string_view chunk = in.Bytes(op / 8);
        port.Feed(std::vector<std::uint8_t>(chunk.begin(), chunk.end()));
        break;
      }
    }
    FUZZ_CHECK(v.requestIndex >= 0 && v.requestIndex <= 256);
  }

  if (programming) {
    // Silence ends a run: the watchdog gives up and the main window takes input again.
    for (int tick = 0; tick < 10; ++tick) {
      link.TimerTxTimer();
      if (tick % 3 == 2) supervisor.TimerInfoTimer();
    }
    FUZZ_CHECK(programming->CurrentPhase() == ProgrammingDialogue::Phase::Idle);
    FUZZ_CHECK(window.mainWindowEnabled);
    if (programming->LastResultText() != 0) FUZZ_CHECK(dialogs.messages.size() >= 1);
  }

  for (const auto& frame : port.frames) {
    FUZZ_CHECK(!frame.empty());
    FUZZ_CHECK(frame[0] != link_code::kParameterWrite);  // nobody edited a parameter
    FUZZ_CHECK(KnownRequest(frame[0]));
  }
  return 0;
}
