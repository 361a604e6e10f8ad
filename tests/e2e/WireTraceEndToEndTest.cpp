// The wire trace against the controller simulator: the traced serial port under the link,
// and the program itself started with --trace.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/UiText.h"
#include "link/ControllerLink.h"
#include "link/WireTrace.h"
#include "support/ChildProcess.h"
#include "support/MainQueue.h"
#include "support/SimulatorProcess.h"
#include "support/TempFolder.h"
#include "support/TimedLinkHost.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The trace's lines without their time stamps.
std::vector<std::string> TraceEvents(const std::string& path) {
  std::vector<std::string> events;
  std::istringstream in(Slurp(path));
  for (std::string line; std::getline(in, line);)
    if (line.size() > 24) events.push_back(line.substr(24));
  return events;
}

bool Has(const std::vector<std::string>& events, const std::string& event) {
  return std::find(events.begin(), events.end(), event) != events.end();
}

TEST(WireTraceEndToEnd, everyFrameSentAndEveryByteReceivedIsTraced) {
  SimulatorProcess sim;
  ASSERT_TRUE(sim.Started()) << sim.ErrorOutput();
  TempFolder folder{"orv-trace"};
  const std::string path = folder / "wire.txt";
  MainQueue main;
  TimedLinkHost host;
  ReadingHistory history;
  TracedSerialPort port(std::make_unique<TVaComm>(main.Dispatcher(), sim.Pattern()),
                        std::make_shared<WireTrace>(path));
  ControllerLink link(port, host, host, history);
  port.OnRxChar = [&](int count) { link.VaComm1RxChar(count); };
  auto runUntil = [&](const std::function<bool()>& pred) {
    const auto deadline = Clock::now() + milliseconds(10000);
    while (!pred() && Clock::now() < deadline) {
      if (host.TakeTick(Clock::now())) link.TimerTxTimer();
      main.RunPosted(host.WaitLimit(Clock::now() + milliseconds(20)));
    }
    return pred();
  };

  port.Open();
  link.StartLink();
  host.txDue = Clock::now();
  ASSERT_TRUE(runUntil([&] { return !host.modes.empty(); })) << sim.Log();
  host.SetTxEnabled(false);
  const auto settled = Clock::now() + milliseconds(200);  // a reply still on its way comes in
  runUntil([&] { return Clock::now() >= settled; });

  const std::vector<std::string> events = TraceEvents(path);
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events[0], "-- trace started");
  EXPECT_EQ(events[1], "-- COM1 opened (" + sim.Device() + ")");
  // The frames sent are the frames the controller received, in order.
  std::vector<std::string> sent, received;
  for (const std::string& e : events)
    if (e.rfind("TX ", 0) == 0) sent.push_back("RX " + e.substr(3));
  for (const std::string& l : sim.LogLines())
    if (l.rfind("RX ", 0) == 0) received.push_back(l);
  EXPECT_EQ(sent, received);
  EXPECT_EQ(sent.front(), "RX 55 00 55");
  // The bytes received are the replies: 4 for each of the 210 parameter reads.
  std::size_t bytes = 0;
  for (const std::string& e : events)
    if (e.rfind("RX ", 0) == 0) bytes += (e.size() - 2) / 3;
  EXPECT_GE(bytes, 210u * 4u);
  EXPECT_TRUE(Has(events, "RX 55 00 64 B9") || Has(events, "RX 55 00 64")) << Slurp(path);

  ASSERT_TRUE(sim.Send("vanish"));
  host.SetTxEnabled(true);
  EXPECT_TRUE(runUntil([&] { return Has(TraceEvents(path), "-- COM1 device lost"); })) << Slurp(path);
  port.Close();
  EXPECT_EQ(TraceEvents(path).back(), "-- COM1 closed");
}

#ifdef ORV_PROGRAM_PATH
TEST(WireTraceEndToEnd, programStartedWithTraceWritesTheConnection) {
  SimulatorProcess sim;
  ASSERT_TRUE(sim.Started()) << sim.ErrorOutput();
  TempFolder folder{"orv-trace"};
  const std::string path = folder / "wire.txt";
  const std::string pattern = sim.Pattern();
  const std::string config = folder.Path();

  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("ORV_COMM_PATTERN", pattern.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::unsetenv(WireTrace::kTraceVariable);
    ::execl(ORV_PROGRAM_PATH, ORV_PROGRAM_PATH, "--trace", path.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ASSERT_GT(pid, 0);
  const auto deadline = Clock::now() + std::chrono::seconds(60);
  while (!Has(TraceEvents(path), "-- mode 2") && Clock::now() < deadline)
    std::this_thread::sleep_for(milliseconds(50));
  EndChild(pid);

  const std::vector<std::string> events = TraceEvents(path);
  ASSERT_TRUE(Has(events, "-- mode 2")) << Slurp(path);
  EXPECT_EQ(events.front(), "-- trace started");
  EXPECT_TRUE(Has(events, "-- COM1 opened (" + sim.Device() + ")")) << Slurp(path);
  EXPECT_TRUE(Has(events, "-- " + UiText(721) + "1 -" + UiText(723))) << Slurp(path);
  EXPECT_TRUE(Has(events, "TX 55 00 55"));
  EXPECT_TRUE(Has(events, "TX 55 68 BD")) << Slurp(path);  // the last read, index 104
}
#endif

}  // namespace
