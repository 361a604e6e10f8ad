// firmware_bench: times a programming run of a 16 KB image against the controller
// simulator's loader on a pseudo-terminal and compares it with what a 4800 baud line allows.
//
//  1. Paced simulator (2.083 ms per byte both ways, a turnaround before each reply): the time
//     from the first data block handed to WriteBuf until the loader's final status reaches
//     the dialogue, against the wire limit N x ((20 + 8 bytes) x 10 bits / 4800 baud +
//     turnaround).
//  2. Unpaced simulator (no line time, no turnaround): the same span, which is the program's
//     own cost and the pseudo-terminal's round trip.
//
// The bench is the main thread: TVaComm's dispatcher posts into a queue that the pump loop
// runs, and the pump calls TimerTxTimer whenever the host's transmit interval (the firmware
// page's 1000 ms) runs out, so the watchdog runs as in the program. It is a report, not a
// test: it exits 0 whether the goal is met or not, 1 when the simulator or the port cannot be
// set up, 2 on a bad option.
//
// Options: --runs N (paced runs, default 1), --loader-p N (P of the loader, default 0),
//          --turnaround MS (default 2), --simulator PATH.

#include <signal.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "../tests/support/LinkTestAccess.h"
#include "../tests/support/MainQueue.h"
#include "../tests/support/ScriptedDialogs.h"
#include "../tests/support/SimulatorProcess.h"
#include "../tests/support/TimedLinkHost.h"
#include "BenchSupport.h"
#include "base/NumberText.h"
#include "firmware/FirmwareImage.h"
#include "firmware/ProgrammingDialogue.h"
#include "link/ControllerLink.h"
#include "link/TVaComm.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr double kBaud = 4800.0;
constexpr double kBitsPerByte = 10.0;
constexpr double kByteMs = kBitsPerByte * 1000.0 / kBaud;
constexpr int kBlockFrameBytes = 20;
constexpr int kReplyBytes = 8;
constexpr double kRatioGoal = 1.02;
constexpr int kPageIntervalMs = 1000;
constexpr auto kRunTimeLimit = std::chrono::seconds(180);

std::string Int(long long value) { return std::to_string(value); }

// The programming window stand-in: notes the end of the run.
class BenchWindow : public ProgrammingWindow {
 public:
  void ShowProgress(int maximum) override { blocks = maximum; }
  void SetProgress(int) override {}
  void SetStatusText(const std::string&) override {}
  void SetMainWindowEnabled(bool enabled) override {
    if (enabled && !endedAt) endedAt = Clock::now();
  }
  void CloseProgrammingWindow() override {}
  std::optional<Clock::time_point> endedAt;
  int blocks = 0;
};

// Passes everything to TVaComm and notes when the first data block was handed over.
class TimedPort : public ForwardingSerialPort {
 public:
  explicit TimedPort(SerialPort& inner) : ForwardingSerialPort(inner) {}
  int WriteBuf(const std::uint8_t* buf, int count) override {
    const auto now = Clock::now();
    if (count == kBlockFrameBytes && buf[0] == programming::kProgrammingCode &&
        buf[1] == programming::kBlockKind) {
      if (!firstBlockAt) firstBlockAt = now;
      ++blocksWritten;
    }
    return Inner().WriteBuf(buf, count);
  }
  std::optional<Clock::time_point> firstBlockAt;
  int blocksWritten = 0;
};

struct Options {
  int runs = 1;
  int loaderP = 0;
  double turnaroundMs = 2.0;
  std::string simulator = ORV_SIMULATOR_PATH;
};

struct RunResult {
  bool completed = false;
  int result = 0;  // text id
  int blocks = 0;
  int blocksWritten = 0;
  double measuredMs = 0.0;
};

RunResult ProgramOnce(const Options& options, bool paced, double turnaroundMs,
                      const std::vector<std::uint8_t>& image) {
  std::vector<std::string> args = {"--turnaround", FormatFixed(turnaroundMs, 3), "--loader-p",
                                   Int(options.loaderP)};
  if (paced) args.push_back("--paced");
  SimulatorProcess simulator(std::move(args), options.simulator);
  RunResult result;
  if (!simulator.Started()) {
    Line("firmware_bench: " + simulator.StartError());
    return result;
  }
  MainQueue queue;
  TVaComm comm(queue.Dispatcher(), simulator.Pattern());
  comm.SetPortNum(1);
  try {
    comm.Open();
  } catch (const EVaCommError& e) {
    Line(std::string("firmware_bench: ") + e.what());
    return result;
  }
  {
    TimedPort port(comm);
    TimedLinkHost host;
    ReadingHistory history;
    ControllerLink link(port, host, host, history);
    port.OnRxChar = [&link](int count) { link.VaComm1RxChar(count); };
    BenchWindow window;
    ScriptedDialogs dialogs;
    ProgrammingDialogue dialogue(link, window, dialogs);

    LinkTestAccess::State(link).linkState = link_state::kStopped;  // the firmware page
    host.SetTxInterval(kPageIntervalMs);
    host.SetTxEnabled(true);
    dialogue.Start(image);

    const auto giveUp = Clock::now() + kRunTimeLimit;
    const auto done = [&window] { return window.endedAt.has_value(); };
    while (!done() && Clock::now() < giveUp) {
      if (queue.RunUntil(host.WaitLimit(giveUp), done)) break;
      if (host.TakeTick(Clock::now())) link.TimerTxTimer();
    }
    port.OnRxChar = nullptr;
    result.completed = done() && port.firstBlockAt.has_value();
    result.result = dialogue.LastResultText();
    result.blocks = window.blocks;
    result.blocksWritten = port.blocksWritten;
    if (result.completed) result.measuredMs = Ms(*window.endedAt - *port.firstBlockAt).count();
  }
  comm.Close();
  if (result.result != programming::kTextSucceeded) {
    const auto lines = simulator.LogLines();
    for (std::size_t i = lines.size() > 8 ? lines.size() - 8 : 0; i < lines.size(); ++i)
      Line("   sim: " + lines[i]);
  }
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    const std::string_view value = hasValue ? std::string_view(argv[i + 1]) : std::string_view();
    bool ok = hasValue;
    if (arg == "--runs")
      ok = ok && ParseNumber(value, options.runs) && options.runs >= 1 && options.runs <= 100;
    else if (arg == "--loader-p")
      ok = ok && ParseNumber(value, options.loaderP) && options.loaderP >= 0 && options.loaderP <= 255;
    else if (arg == "--turnaround")
      ok = ok && ParseNumber(value, options.turnaroundMs) && options.turnaroundMs >= 0 &&
           options.turnaroundMs <= 100;
    else if (arg == "--simulator")
      options.simulator = std::string(value);
    else
      ok = false;
    if (!ok) {
      Line("Usage: firmware_bench [--runs N] [--loader-p N] [--turnaround MS] [--simulator PATH]");
      return 2;
    }
    ++i;
  }
  ::signal(SIGPIPE, SIG_IGN);

  std::vector<std::uint8_t> image(kFirmwareImageBytes);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 131 + (i >> 7));

  const double perBlockMs = (kBlockFrameBytes + kReplyBytes) * kByteMs + options.turnaroundMs;
  Line("firmware_bench: programming a 16384-byte image over TVaComm against " + options.simulator);
  Line();
  Line("1. Paced simulator (4800 baud, turnaround " + FormatFixed(options.turnaroundMs, 3) + " ms, P " +
       Int(options.loaderP) + "), " + Int(options.runs) + " run(s)");
  Line("   run  blocks  result  measured ms  wire limit ms   ratio");
  std::vector<double> ratios;
  bool allSucceeded = true;
  for (int run = 1; run <= options.runs; ++run) {
    const RunResult r = ProgramOnce(options, true, options.turnaroundMs, image);
    if (!r.completed) {
      Line("   " + Int(run) + "  the run did not end within 180 s");
      allSucceeded = false;
      continue;
    }
    const double limitMs = r.blocks * perBlockMs;
    const double ratio = r.measuredMs / limitMs;
    if (r.result == programming::kTextSucceeded)
      ratios.push_back(ratio);
    else
      allSucceeded = false;
    Line("   " + std::string(3 - std::min<std::size_t>(3, Int(run).size()), ' ') + Int(run) + "    " +
         Int(r.blocks) + "     " + Int(r.result) + "     " + FormatFixed(r.measuredMs, 1) + "       " +
         FormatFixed(limitMs, 1) + "  " + FormatFixed(ratio, 4));
  }
  std::sort(ratios.begin(), ratios.end());
  const double median = ratios.empty() ? 0.0 : ratios[(ratios.size() - 1) / 2];
  const bool met = !ratios.empty() && allSucceeded && median <= kRatioGoal;
  Line("   median ratio of the successful runs " + FormatFixed(median, 4) +
       ", goal <= " + FormatFixed(kRatioGoal, 2) + (allSucceeded ? "" : " (not every run succeeded)") + ": " +
       (met ? "PASS" : "MISS"));
  Line("TABLE|programming 16 KB at 4800 baud, " + Int(options.runs) + " run(s), turnaround " +
       FormatFixed(options.turnaroundMs, 1) + " ms|ratio " + FormatFixed(median, 4) +
       " to the wire limit|<= " + FormatFixed(kRatioGoal, 2) + "|" + (met ? "PASS" : "MISS"));
  Line("   - wire limit: N x ((20 block + 8 reply bytes) x 10 bits / 4800 baud + turnaround) = N x " +
       FormatFixed(perBlockMs, 3) + " ms");
  Line("   - measured: first data block handed to WriteBuf .. the loader's final status handled");

  Line();
  const RunResult u = ProgramOnce(options, false, 0.0, image);
  Line("2. Unpaced simulator (no line time, turnaround 0)");
  if (!u.completed) {
    Line("   the run did not end");
    return 0;
  }
  Line("   " + Int(u.blocks) + " blocks in " + FormatFixed(u.measuredMs, 1) + " ms, " +
       FormatFixed(u.measuredMs * 1000.0 / u.blocks, 1) + " us per block (result " + Int(u.result) +
       "): the program's cost and the pseudo-terminal round trip, the floor under a paced block");
  return 0;
}
