// fault_bench: what the program costs while its serial device is gone. The link and its
// supervision run over TVaComm against the simulator; once the full read is under way the
// simulator's device vanishes, and the process's CPU time (main thread and the port's
// threads) is measured over the next 10 s, while the transmit tick goes on and the
// information tick tries to open the device again. The second case does the same while a
// firmware image is being programmed: the run ends (its watchdog) and the reopening goes on.
//
// Lines beginning with "TABLE|" are the rows bench/run-all.sh gathers into one table.

#include <signal.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "../tests/support/LinkTestAccess.h"
#include "../tests/support/MainQueue.h"
#include "../tests/support/ProcessUsage.h"
#include "../tests/support/ScriptedDialogs.h"
#include "../tests/support/SimulatorProcess.h"
#include "../tests/support/TimedLinkHost.h"
#include "BenchSupport.h"
#include "base/NumberText.h"
#include "base/UiText.h"
#include "firmware/FirmwareImage.h"
#include "firmware/ProgrammingDialogue.h"
#include "link/ControllerLink.h"
#include "link/Supervision.h"
#include "link/TVaComm.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
constexpr double kGoalPercent = 5.0;
constexpr int kMeasureMs = 10000;

struct RunWindow : ProgrammingWindow {
  void ShowProgress(int) override {}
  void SetProgress(int position) override { progress = position; }
  void SetStatusText(const std::string&) override {}
  void SetMainWindowEnabled(bool) override {}
  void CloseProgrammingWindow() override {}
  int progress = 0;
};

// The device vanishes mid-read, or mid-programming; returns false when the case could not run.
bool MeasureAfterLoss(bool midProgramming) {
  SimulatorProcess sim;
  if (!sim.Started()) {
    Line("fault_bench: " + sim.StartError());
    return false;
  }
  MainQueue main;
  TimedLinkHost host;
  ReadingHistory history;
  TVaComm port(main.Dispatcher(), sim.Pattern());
  ControllerLink link(port, host, host, history);
  ConnectionSupervisor supervisor(link, port, host, host);
  port.OnRxChar = [&](int count) { link.VaComm1RxChar(count); };
  auto infoDue = Clock::now();
  auto runUntil = [&](const std::function<bool()>& pred, int ms) {
    const auto deadline = Clock::now() + milliseconds(ms);
    while (!pred() && Clock::now() < deadline) {
      const auto now = Clock::now();
      if (host.TakeTick(now)) {
        link.TimerTxTimer();
        continue;
      }
      if (now >= infoDue) {
        infoDue = std::max(infoDue + milliseconds(900), now);
        supervisor.TimerInfoTimer();
        continue;
      }
      main.RunPosted(std::min(host.WaitLimit(std::min(deadline, now + milliseconds(20))), infoDue));
    }
    return pred();
  };
  const std::string refused = UiText(721) + "1 -" + UiText(722);
  auto refusals = [&] { return std::count(host.log.begin(), host.log.end(), refused); };

  RunWindow window;
  ScriptedDialogs dialogs;
  ProgrammingDialogue dialogue(link, window, dialogs);

  supervisor.RequestReconnect();
  const auto started = [&] {
    if (!midProgramming) return link.Vars().requestIndex >= 30;
    return !host.modes.empty() && host.modes.back() == 2 && !link.Vars().readPending;  // connected
  };
  if (!runUntil(started, 20000)) {
    Line("fault_bench: the read did not start");
    return false;
  }
  if (midProgramming) {
    LinkTestAccess::State(link).linkState = link_state::kStopped;  // as the firmware page starts a run
    dialogue.Start(std::vector<std::uint8_t>(kFirmwareImageBytes, 0x5A));
    if (!runUntil([&] { return window.progress >= 50; }, 20000)) {
      Line("fault_bench: the programming run did not start");
      return false;
    }
  }
  sim.Send("vanish");
  if (!runUntil([&] { return port.DeviceLost(); }, 5000)) {
    Line("fault_bench: the device loss was not noticed");
    return false;
  }
  Line("device lost; measuring " + std::to_string(kMeasureMs / 1000) + " s");
  const double cpuBefore = ProcessCpuSeconds();
  const auto start = Clock::now();
  runUntil([] { return false; }, kMeasureMs);
  const double wall = std::chrono::duration<double>(Clock::now() - start).count();
  const double percent = 100.0 * (ProcessCpuSeconds() - cpuBefore) / wall;
  const long tries = static_cast<long>(refusals());
  Line("CPU " + FormatFixed(percent, 2) + " % of a core over " + FormatFixed(wall, 1) + " s; " +
       std::to_string(tries) + " attempts to open the device again");
  const bool runEnded = !midProgramming || (dialogue.CurrentPhase() == ProgrammingDialogue::Phase::Idle &&
                                            dialogue.LastResultText() == 909);
  if (midProgramming) Line(std::string("programming run ended with 909: ") + (runEnded ? "yes" : "no"));
  Line(std::string("TABLE|CPU in the 10 s after the serial device vanished mid-") +
       (midProgramming ? "programming" : "read") + " (" + std::to_string(tries) +
       " reopen attempts meanwhile)|" + FormatFixed(percent, 2) + " % of a core|< " +
       FormatFixed(kGoalPercent, 0) + " %|" +
       (percent < kGoalPercent && tries >= 5 && runEnded ? "PASS" : "MISS"));
  return true;
}

}  // namespace

int main() {
  ::signal(SIGPIPE, SIG_IGN);
  const bool read = MeasureAfterLoss(false);
  const bool programming = MeasureAfterLoss(true);
  return read && programming ? 0 : 1;
}
