// The program's serial port and link engine against the controller simulator program, over a
// real pseudo-terminal. The test thread plays the main thread: it runs what the port posts
// and fires the transmit and information timers itself.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "SimController.h"
#include "base/UiText.h"
#include "link/ControllerLink.h"
#include "link/LinkFrames.h"
#include "link/Supervision.h"
#include "link/TVaComm.h"
#include "support/LinkRig.h"
#include "support/LinkTestAccess.h"
#include "support/MainQueue.h"
#include "support/PortHolder.h"
#include "support/ProcessUsage.h"
#include "support/SimulatorProcess.h"
#include "support/TimedLinkHost.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
constexpr int kLimitMs = 60000;  // a last guard: far beyond what a loaded machine takes

// One connection, counting the ticks that repeat an unanswered parameter read.
struct Rig : LinkRig {
  explicit Rig(std::vector<std::string> options = {}) : LinkRig(std::move(options), kLimitMs) {
    beforeTick = [this] {
      const LinkVariables& v = link.Vars();
      if (v.linkState == link_state::kChoose && v.readPending && v.requestIndex > 0) ++retryTicks;
    };
  }

  // Opens the port and starts the link as the supervision does; true once the read is done.
  bool Connect() {
    port.Open();
    link.StartLink();
    return RunUntil([this] { return !host.modes.empty(); });
  }

  int retryTicks = 0;  // ticks that repeated an unanswered parameter read
};

const sim::SimController::Memory& SimulatorMemory() {
  static const sim::SimController reference{sim::SimControllerOptions{}};
  return reference.ParameterMemory();
}

// The reads of one full read: index 0, each of 1..104 twice, then 105.
std::vector<int> FullReadSequence() {
  std::vector<int> s{0};
  for (int i = 1; i <= 104; ++i) s.insert(s.end(), {i, i});
  s.push_back(105);
  return s;
}

TEST(LinkEndToEnd, fullReadBringsTheControllersParameterMemory) {
  Rig rig;
  ASSERT_TRUE(rig.sim.Started()) << rig.sim.ErrorOutput();
  ASSERT_TRUE(rig.Connect()) << rig.sim.Log();
  EXPECT_EQ(rig.host.modes, std::vector<int>{2});
  EXPECT_EQ(rig.link.Vars().linkState, link_state::kParameterPoll);
  EXPECT_EQ(rig.host.parametersRead, 1);

  const auto& memory = SimulatorMemory();
  for (int i = 0; i <= 104; ++i) {
    EXPECT_EQ(rig.link.Block()[i], memory[i]) << i;
    EXPECT_EQ(rig.link.SentBlock()[i], memory[i]) << i;
  }
  EXPECT_EQ(rig.link.Block()[0], 0x64);
  EXPECT_EQ(rig.link.Block()[1], 145);

  const std::vector<int> reads = rig.sim.ParameterReads();
  if (rig.retryTicks == 0)
    EXPECT_EQ(reads, FullReadSequence());
  else
    EXPECT_EQ(FullReadProblem(rig.sim.LogLines()), "");  // a slow tick may repeat a read
  EXPECT_EQ(reads.back(), 105);
}

TEST(LinkEndToEnd, editedByteIsWrittenAndReadBackFromTheController) {
  Rig rig;
  ASSERT_TRUE(rig.sim.Started()) << rig.sim.ErrorOutput();
  ASSERT_TRUE(rig.Connect());
  ASSERT_EQ(rig.link.Block()[40], SimulatorMemory()[40]);

  const std::uint8_t value = 77;
  LinkTestAccess::Block(rig.link)[40] = value;
  const std::string frame = "RX " + HexBytes(ParameterWriteFrame(40, value));
  EXPECT_EQ(frame, "RX AA 28 4D 1F");
  EXPECT_TRUE(rig.RunUntil([&] { return rig.sim.LogHas(frame) && !rig.link.WritesOutstanding(); }))
      << rig.sim.Log();

  // Forget the acknowledged byte, then read everything again.
  LinkTestAccess::Block(rig.link)[40] = LinkTestAccess::Sent(rig.link)[40] = 0;
  LinkTestAccess::State(rig.link).requestIndex = 0;
  LinkTestAccess::State(rig.link).readPending = true;
  ASSERT_TRUE(rig.RunUntil([&] { return rig.host.modes.size() == 2; })) << rig.sim.Log();
  EXPECT_EQ(rig.host.modes.back(), 2);
  EXPECT_EQ(rig.link.Block()[40], value);
  EXPECT_EQ(rig.link.SentBlock()[40], value);
  EXPECT_EQ(rig.link.Block()[41], SimulatorMemory()[41]);
}

TEST(LinkEndToEnd, liveReplyArrivesAsOneReceivedDataEvent) {
  Rig rig;
  ASSERT_TRUE(rig.sim.Started()) << rig.sim.ErrorOutput();
  ASSERT_TRUE(rig.Connect());
  rig.host.SetTxEnabled(false);  // the link stays idle; requests go out by hand
  rig.RunFor(150);               // a poll still on its way is taken
  LinkTestAccess::State(rig.link).currentPage = static_cast<Page>(1);

  constexpr int kPolls = 20;
  int single = 0;
  for (int p = 0; p < kPolls; ++p) {
    rig.rxCounts.clear();
    const std::size_t shown = rig.host.records.size();
    rig.link.SendCommand(link_code::kLiveData);
    ASSERT_TRUE(rig.RunUntil([&] { return rig.host.records.size() > shown; })) << p;
    EXPECT_EQ(rig.link.Vars().unansweredCount, 0);
    ASSERT_FALSE(rig.rxCounts.empty());
    EXPECT_GE(rig.rxCounts.back(), 16) << p;
    EXPECT_EQ(rig.port.ReadBufUsed(), 0);
    if (rig.rxCounts == std::vector<int>{16}) ++single;
  }
  EXPECT_GE(single, 15);
  EXPECT_EQ(rig.link.Vars().controllerStatus, sim::SimController{}.StatusByte());
  EXPECT_EQ(rig.host.records.back()[1], rig.link.Vars().controllerStatus);
}

TEST(LinkEndToEnd, controllerVanishingMidReadLeavesThePortQuietAndClosable) {
  Rig rig;
  ASSERT_TRUE(rig.sim.Started()) << rig.sim.ErrorOutput();
  rig.port.Open();
  rig.link.StartLink();
  ASSERT_TRUE(rig.RunUntil([&] { return rig.link.Vars().requestIndex >= 30; }));
  ASSERT_TRUE(rig.sim.Send("vanish"));

  EXPECT_TRUE(rig.RunUntil([&] { return rig.port.DeviceLost() && rig.link.Vars().unansweredCount >= 3; }));
  EXPECT_TRUE(rig.host.modes.empty());
  EXPECT_TRUE(rig.link.Vars().readPending);
  const int unanswered = rig.link.Vars().unansweredCount;

  const double cpuBefore = ProcessCpuSeconds();
  rig.RunFor(300);
  EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.1);
  EXPECT_GT(rig.link.Vars().unansweredCount, unanswered);  // the link keeps asking, unheard
  EXPECT_TRUE(rig.host.modes.empty());

  rig.port.Close();
  EXPECT_FALSE(rig.port.Active());
  EXPECT_FALSE(rig.port.DeviceLost());
}

TEST(LinkEndToEnd, portHeldByAnotherProcessCannotBeOpened) {
  Rig rig;
  ASSERT_TRUE(rig.sim.Started()) << rig.sim.ErrorOutput();
  PortHolder other(rig.sim.Pattern());
  EXPECT_TRUE(other.Opened(milliseconds(kLimitMs)));

  const std::string prefix = "Unable to open specified device " + rig.sim.Device();
  try {
    rig.port.Open();
    ADD_FAILURE() << "opened a port held by another process";
  } catch (const EVaCommError& e) {
    EXPECT_EQ(std::string(e.what()).rfind(prefix, 0), 0u) << e.what();
  }
  EXPECT_FALSE(rig.port.Active());

  EXPECT_TRUE(other.Release());

  ASSERT_NO_THROW(rig.port.Open());
  rig.link.SendCommand(link_code::kLiveData);
  EXPECT_TRUE(rig.RunUntil([&] { return rig.link.Vars().unansweredCount == 0; }));
}

TEST(LinkEndToEnd, silentControllerIsDeclaredLostAndReadAgainWhenItAnswers) {
  Rig rig;
  ASSERT_TRUE(rig.sim.Started()) << rig.sim.ErrorOutput();
  auto logged = [&](int id) { return std::count(rig.host.log.begin(), rig.host.log.end(), UiText(id)); };
  // The way the window starts: a reconnect request taken by the information tick.
  rig.supervisor.RequestReconnect();
  rig.StartInfoTimer();
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.host.modes.empty(); })) << rig.sim.Log();
  EXPECT_EQ(rig.host.modes, std::vector<int>{2});
  ASSERT_FALSE(rig.host.log.empty());
  EXPECT_EQ(rig.host.log.front(), UiText(721) + "1 -" + UiText(723));
  EXPECT_EQ(logged(725), 1);

  ASSERT_TRUE(rig.sim.Send("silent on"));
  ASSERT_TRUE(rig.RunUntil([&] { return logged(724) >= 1; })) << rig.sim.Log();
  EXPECT_EQ(rig.host.modes.back(), 0);
  ASSERT_TRUE(rig.RunUntil([&] { return logged(725) == 2; }));  // a new read has started
  EXPECT_TRUE(rig.link.Vars().readPending);

  ASSERT_TRUE(rig.sim.Send("silent off"));
  ASSERT_TRUE(rig.RunUntil([&] { return rig.host.modes.back() == 2; })) << rig.sim.Log();
  EXPECT_FALSE(rig.link.Vars().readPending);
  EXPECT_EQ(rig.host.parametersRead, 2);
  EXPECT_EQ(rig.link.Block()[64], SimulatorMemory()[64]);
  EXPECT_TRUE(rig.sim.LogHas("CMD silent on"));
  EXPECT_TRUE(rig.sim.LogHas("CMD silent off"));
}

TEST(LinkEndToEnd, testerAndLoaderEndInTheirConnectionModes) {
  {
    Rig rig({"--tester"});
    ASSERT_TRUE(rig.sim.Started()) << rig.sim.ErrorOutput();
    ASSERT_TRUE(rig.Connect()) << rig.sim.Log();
    EXPECT_EQ(rig.host.modes, std::vector<int>{3});
    EXPECT_EQ(rig.link.Vars().linkState, link_state::kTester);
    EXPECT_EQ(rig.link.Block()[0], sim::kTesterType);
    EXPECT_EQ(rig.sim.ParameterReads().back(), 4);
  }
  {
    Rig rig({"--loader", "1"});
    ASSERT_TRUE(rig.sim.Started()) << rig.sim.ErrorOutput();
    ASSERT_TRUE(rig.Connect()) << rig.sim.Log();
    EXPECT_EQ(rig.host.modes, std::vector<int>{4});
    EXPECT_EQ(rig.link.Vars().linkState, link_state::kStopped);
    EXPECT_EQ(rig.host.messages, std::vector<std::string>{UiText(920) + UiText(922)});
    EXPECT_EQ(rig.link.Block()[0], 0x64);
    EXPECT_EQ(rig.link.Block()[1], 145);
  }
}

}  // namespace
