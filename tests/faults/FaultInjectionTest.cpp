// The link under the faults of a real line, against the simulator program over a real
// pseudo-terminal: silence, garbled bytes, a device that goes away and a port held by
// another program. The test thread plays the main thread and fires the transmit and
// information timers itself, as the window does.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "base/UiText.h"
#include "firmware/FirmwareImage.h"
#include "firmware/ProgrammingDialogue.h"
#include "link/ControllerLink.h"
#include "link/Supervision.h"
#include "link/TVaComm.h"
#include "support/LinkRig.h"
#include "support/LinkTestAccess.h"
#include "support/MainQueue.h"
#include "support/PortHolder.h"
#include "support/ProcessUsage.h"
#include "support/ScriptedDialogs.h"
#include "support/SimulatorProcess.h"
#include "support/TimedLinkHost.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
constexpr int kLimitMs = 60000;  // a last guard: far beyond what a loaded machine takes

// How long a garbled line is kept up. A field test would run a minute; 10 s are some 100
// polls, enough to meet every kind of damaged reply many times, at a cost CI can carry.
constexpr int kGarbleMs = 10000;

struct Rig : LinkRig {
  explicit Rig(std::vector<std::string> options = {}) : LinkRig(std::move(options), kLimitMs) {
    link.SetScopeAdvancing(true);
  }

  // The way the window starts: a reconnect request taken by the information tick.
  bool Start() {
    supervisor.RequestReconnect();
    StartInfoTimer(Clock::now());
    return RunUntil([this] { return Connected(); });
  }

  bool Connected() const { return !host.modes.empty() && host.modes.back() == 2 && !link.Vars().readPending; }
  int Logged(const std::string& line) const {
    return static_cast<int>(std::count(host.log.begin(), host.log.end(), line));
  }
  // A live reply shown since `before` records.
  bool LiveAgain(std::size_t before) const { return host.records.size() > before + 2; }

  // Frames of a parameter write the simulator received.
  static int Writes(const SimulatorProcess& s) {
    int writes = 0;
    for (const std::string& line : s.LogLines())
      if (line.rfind("RX AA", 0) == 0) ++writes;
    return writes;
  }
};

const std::string kLost = UiText(724);
const std::string kOpenRefused = UiText(721) + "1 -" + UiText(722);

TEST(FaultInjection, silenceDuringTheFullReadAndDuringPollingIsOutlived) {
  Rig rig;
  ASSERT_TRUE(rig.sim.Started()) << rig.sim.ErrorOutput();
  LinkTestAccess::State(rig.link).currentPage = static_cast<Page>(1);
  rig.supervisor.RequestReconnect();
  rig.StartInfoTimer(Clock::now());
  ASSERT_TRUE(rig.RunUntil([&] { return rig.link.Vars().requestIndex >= 40; }));

  // Mid-read.
  ASSERT_TRUE(rig.sim.Send("silent on"));
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Logged(kLost) == 1; })) << rig.sim.Log();
  ASSERT_TRUE(rig.sim.Send("silent off"));
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Connected(); })) << rig.sim.Log();

  // While polling.
  const std::size_t shown = rig.host.records.size();
  ASSERT_TRUE(rig.RunUntil([&] { return rig.LiveAgain(shown); }));
  ASSERT_TRUE(rig.sim.Send("silent on"));
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Logged(kLost) == 2; })) << rig.sim.Log();
  EXPECT_EQ(rig.host.modes.back(), 0);
  ASSERT_TRUE(rig.sim.Send("silent off"));
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Connected(); })) << rig.sim.Log();
  const std::size_t again = rig.host.records.size();
  EXPECT_TRUE(rig.RunUntil([&] { return rig.LiveAgain(again); }));

  EXPECT_EQ(rig.host.parametersRead, 2);
  EXPECT_EQ(Rig::Writes(rig.sim), 0) << rig.sim.Log();
}

class GarbledLine : public ::testing::TestWithParam<const char*> {};

TEST_P(GarbledLine, keepsTheLinkRunningWithoutWritesAndRecoversOnACleanLine) {
  Rig rig;
  ASSERT_TRUE(rig.sim.Started()) << rig.sim.ErrorOutput();
  LinkTestAccess::State(rig.link).currentPage = static_cast<Page>(1);
  ASSERT_TRUE(rig.Start()) << rig.sim.Log();

  ASSERT_TRUE(rig.sim.Send(std::string("garble ") + GetParam()));
  rig.RunFor(kGarbleMs);
  EXPECT_TRUE(rig.sim.LogHas(std::string("CMD garble ") + GetParam())) << rig.sim.Log();
  EXPECT_TRUE(rig.host.txEnabled);  // still asking, whatever came back

  ASSERT_TRUE(rig.sim.Send("garble 0"));
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Connected(); })) << rig.sim.Log();
  const std::size_t shown = rig.host.records.size();
  EXPECT_TRUE(rig.RunUntil([&] { return rig.LiveAgain(shown); }));
  EXPECT_EQ(rig.link.Vars().unansweredCount, 0);
  EXPECT_EQ(Rig::Writes(rig.sim), 0) << rig.sim.Log();
}

INSTANTIATE_TEST_SUITE_P(Rates, GarbledLine, ::testing::Values("0.01", "0.1"));

// On a line that damages replies and loses writes, the program shows exactly what the
// controller holds after the full read, and the controller holds exactly what the program
// shows after ten edits and a whole file's worth of changes.
TEST(FaultInjection, damagedRepliesAndLostWritesLeaveProgramAndControllerAlike) {
  Rig rig({"--garble", "0.05", "--drop-writes", "0.2", "--seed", "7"});
  rig.limitMs = 60000;
  LinkTestAccess::State(rig.link).currentPage = static_cast<Page>(1);
  ASSERT_TRUE(rig.Start()) << rig.sim.Log();
  auto memoryLines = [&] {
    const auto lines = rig.sim.LogLines();
    return std::count_if(lines.begin(), lines.end(),
                         [](const std::string& l) { return l.rfind("MEMORY", 0) == 0; });
  };
  auto alike = [&] {  // once every change is acknowledged; one given up goes again after a read
    for (int read = 0; read < 4; ++read) {
      rig.RunUntil([&] { return rig.Connected() && !rig.link.WritesOutstanding(); });
      if (rig.link.Writes().Unconfirmed().empty()) break;
      rig.link.RequestFullRead();
    }
    const auto asked = memoryLines();
    rig.sim.Send("memory");
    rig.RunUntil([&] { return memoryLines() > asked; });
    return std::vector<int>(rig.link.Block().begin(), rig.link.Block().begin() + 105) == rig.sim.LastMemory();
  };
  EXPECT_TRUE(alike());
  for (int i = 0; i < 10; ++i) LinkTestAccess::Block(rig.link)[40 + 3 * i] ^= 0x03;
  EXPECT_TRUE(alike());
  for (int i = 16; i <= 104; ++i) LinkTestAccess::Block(rig.link)[i] = static_cast<std::uint8_t>(i * 5 + 1);
  EXPECT_TRUE(alike()) << rig.sim.Log();
  EXPECT_NE(rig.sim.Log().find("DROP write"), std::string::npos);
}

TEST(FaultInjection, vanishedDeviceIsOpenedAgainEachTickWithoutSpinningUntilItIsBack) {
  Rig rig;
  ASSERT_TRUE(rig.sim.Started()) << rig.sim.ErrorOutput();
  rig.supervisor.RequestReconnect();
  rig.StartInfoTimer(Clock::now());
  ASSERT_TRUE(rig.RunUntil([&] { return rig.link.Vars().requestIndex >= 30; }));
  ASSERT_TRUE(rig.sim.Send("vanish"));
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Logged(kLost) == 1; }));
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Logged(kOpenRefused) >= 1; }));

  // Nothing spins while the device is away: the whole process (main thread and the
  // port's threads) stays far below a tenth of a core. The bench measures it exactly.
  const double cpuBefore = ProcessCpuSeconds();
  const int refusedBefore = rig.Logged(kOpenRefused);
  ASSERT_TRUE(rig.RunInfoTicks(3));
  EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.3);
  EXPECT_GE(rig.Logged(kOpenRefused) - refusedBefore, 2);  // a retry each information tick
  EXPECT_TRUE(rig.host.modes.back() == 0);

  // The device comes back where it was.
  SimulatorProcess back({"--pattern", rig.sim.Pattern()});
  ASSERT_TRUE(back.Started()) << back.ErrorOutput();
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Connected(); })) << back.Log();
  EXPECT_EQ(rig.Logged(UiText(721) + "1 -" + UiText(723)), 2);
  EXPECT_EQ(Rig::Writes(back), 0);
}

TEST(FaultInjection, portHeldByAnotherProgramIsTriedEachTickUntilItIsFree) {
  Rig rig;
  ASSERT_TRUE(rig.sim.Started()) << rig.sim.ErrorOutput();
  PortHolder other(rig.sim.Pattern());
  ASSERT_TRUE(other.Opened(milliseconds(kLimitMs)));

  rig.supervisor.RequestReconnect();
  rig.StartInfoTimer(Clock::now());
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Logged(kOpenRefused) >= 3; }));
  EXPECT_TRUE(rig.host.modes.empty());
  EXPECT_FALSE(rig.port.Active());

  EXPECT_TRUE(other.Release());
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Connected(); })) << rig.sim.Log();
  EXPECT_EQ(rig.host.log.back(), UiText(725));  // the read that followed the opening
}

}  // namespace

namespace {

// The programming window as a run leaves it.
struct RunWindow : ProgrammingWindow {
  void ShowProgress(int maximum) override { shownMaximum = maximum; }
  void SetProgress(int position) override { progress = position; }
  void SetStatusText(const std::string&) override {}
  void SetMainWindowEnabled(bool enabled) override { mainWindowEnabled = enabled; }
  void CloseProgrammingWindow() override { closed = true; }
  int shownMaximum = 0, progress = 0;
  bool mainWindowEnabled = true, closed = false;
};

}  // namespace

TEST(FaultInjection, deviceVanishingMidProgrammingEndsTheRunAndReconnectAttemptsGoOn) {
  Rig rig;
  ASSERT_TRUE(rig.sim.Started()) << rig.sim.ErrorOutput();
  ASSERT_TRUE(rig.Start());
  RunWindow window;
  ScriptedDialogs dialogs;
  ProgrammingDialogue dialogue(rig.link, window, dialogs);

  // As the firmware page starts a run: the link stopped, the main window disabled.
  LinkTestAccess::State(rig.link).linkState = link_state::kStopped;
  window.mainWindowEnabled = false;
  std::vector<std::uint8_t> image(kFirmwareImageBytes);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 13);
  dialogue.Start(image);
  ASSERT_TRUE(rig.RunUntil([&] { return window.progress >= 50; })) << rig.sim.Log();
  ASSERT_TRUE(rig.sim.Send("vanish"));

  ASSERT_TRUE(rig.RunUntil([&] { return dialogue.CurrentPhase() == ProgrammingDialogue::Phase::Idle; }));
  EXPECT_EQ(dialogue.LastResultText(), 909);
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{UiText(909)});
  EXPECT_TRUE(window.mainWindowEnabled);
  EXPECT_TRUE(window.closed);

  // The link goes on trying the device each information tick, without spinning.
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Logged(kOpenRefused) >= 1; }));
  const double cpuBefore = ProcessCpuSeconds();
  const int refusedBefore = rig.Logged(kOpenRefused);
  ASSERT_TRUE(rig.RunInfoTicks(3));
  EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.3);
  EXPECT_GE(rig.Logged(kOpenRefused) - refusedBefore, 2);
}
