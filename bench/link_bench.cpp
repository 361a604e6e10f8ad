// link_bench: times the link's full parameter read (requests 0, 1, 1, 2, 2, ..., 104, 104,
// 105) against the controller simulator on a pseudo-terminal and compares it with what a
// 4800 baud line allows.
//
//  1. Paced simulator (2.083 ms per byte both ways, a turnaround before each reply): the
//     time from the first request written to the completed read, against the wire limit
//     exchanges x ((3 + 4 bytes) x 10 bits / 4800 baud + turnaround).
//  2. Unpaced simulator (no line time, no turnaround): the program's own cost per exchange,
//     from the reply handed to VaComm1RxChar to the next request queued by WriteBuf.
//  3. The same two with the wire trace on (a TracedSerialPort writing to a file under /tmp):
//     its cost per exchange and its share of a paced full read.
//
// Lines beginning with "TABLE|" are the rows bench/run-all.sh gathers into one table.
//
// The bench is the main thread: TVaComm's dispatcher posts into a queue that the pump loop
// runs at once, and the pump calls TimerTxTimer whenever the host's transmit interval runs
// out. It is a report, not a test: it exits 0 whether the goals are met or not, and 1 only
// when the simulator or the port cannot be set up.
//
// Options: --runs N (paced reads, default 5), --reads N (unpaced reads, default 20),
//          --turnaround MS (default 2), --simulator PATH.

#include <signal.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "../tests/support/MainQueue.h"
#include "../tests/support/SimulatorProcess.h"
#include "../tests/support/TimedLinkHost.h"
#include "BenchSupport.h"
#include "base/NumberText.h"
#include "link/ControllerLink.h"
#include "link/LinkFrames.h"
#include "link/TVaComm.h"
#include "link/WireTrace.h"
#include "model/ReadingHistory.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;
using Us = std::chrono::duration<double, std::micro>;

constexpr double kBaud = 4800.0;
constexpr double kBitsPerByte = 10.0;  // start bit, 8 data bits, stop bit
constexpr double kByteMs = kBitsPerByte * 1000.0 / kBaud;
constexpr int kRequestBytes = 3;  // 0x55, index, checksum
constexpr int kReplyBytes = 4;    // 0x55, index, value, checksum
constexpr int kExpectedExchanges = 210;
constexpr double kRatioGoal = 1.03;
constexpr double kCostGoalUs = 200.0;
constexpr auto kReadTimeLimit = std::chrono::seconds(30);

// ---------------------------------------------------------------------------------------
// Text, without the global locale.

std::string Int(long long value) {
  char text[24];
  const auto r = std::to_chars(text, text + sizeof text, value);
  return std::string(text, r.ptr);
}

std::string Right(std::string text, std::size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

void Print(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }
// Nearest-rank percentile (p in 0..1) of an unsorted sample; 0 for an empty one.
double Percentile(std::vector<double> sample, double p) {
  if (sample.empty()) return 0.0;
  std::sort(sample.begin(), sample.end());
  const double rank = p * static_cast<double>(sample.size());
  std::size_t index = rank <= 1.0 ? 0 : static_cast<std::size_t>(rank + 0.999999) - 1;
  return sample[std::min(index, sample.size() - 1)];
}

double Median(const std::vector<double>& sample) { return Percentile(sample, 0.5); }

// ---------------------------------------------------------------------------------------
// The window stand-in with its transmit timer; notes when the read completed.

class BenchHost : public TimedLinkHost {
 public:
  void ApplyConnectionMode(ConnectionMode mode) override {
    if (mode == ConnectionMode::Controller && !completedAt) completedAt = Clock::now();
    TimedLinkHost::ApplyConnectionMode(mode);
  }

  std::optional<Clock::time_point> completedAt;
};

// ---------------------------------------------------------------------------------------
// A serial port that passes everything to TVaComm and notes when frames are written and
// when received-data events reach the link.

class TimedPort : public ForwardingSerialPort {
 public:
  struct Frame {
    Clock::time_point entered;  // WriteBuf called
    Clock::time_point written;  // WriteBuf returned
    Clock::time_point rxStart;  // the received-data event that sent it (fromReply only)
    std::uint8_t code = 0;
    bool fromReply = false;  // sent by the received-data handler, not by the tick
    int rxEventsBefore = 0;  // received-data events since the previous frame
  };

  explicit TimedPort(SerialPort& inner) : ForwardingSerialPort(inner) {}

  int WriteBuf(const std::uint8_t* buf, int count) override {
    Frame frame;
    frame.entered = Clock::now();
    const int n = Inner().WriteBuf(buf, count);
    frame.written = Clock::now();
    frame.code = buf != nullptr && count > 0 ? buf[0] : 0;
    frame.fromReply = inRx_;
    frame.rxStart = rxStart_;
    frame.rxEventsBefore = rxEvents_;
    rxEvents_ = 0;
    frames.push_back(frame);
    return n;
  }

  std::vector<Frame> frames;

 private:
  void RxChar(int count) override {
    ++rxEvents_;
    rxStart_ = Clock::now();
    inRx_ = true;
    struct Leave {
      bool& flag;
      ~Leave() { flag = false; }
    } leave{inRx_};
    ForwardingSerialPort::RxChar(count);
  }

  bool inRx_ = false;
  Clock::time_point rxStart_{};
  int rxEvents_ = 0;
};

// ---------------------------------------------------------------------------------------
// One full read.

struct ReadResult {
  bool completed = false;
  double totalMs = 0.0;          // first request written .. read complete
  int exchanges = 0;             // parameter read requests written
  int retries = 0;               // of those, sent by the tick after the first
  int rxEvents = 0;              // received-data events that reached the link
  long long simulatorReads = 0;  // parameter reads in the simulator's log
  std::vector<double> costUs;    // per exchange: VaComm1RxChar called .. WriteBuf returned
  std::vector<double> cycleMs;   // per exchange: request written .. its reply handed over
};

ReadResult RunFullRead(TimedPort& port, MainQueue& queue) {
  BenchHost host;
  ReadingHistory history;
  ControllerLink link(port, host, host, history);
  port.OnRxChar = [&link](int count) { link.VaComm1RxChar(count); };
  const std::size_t firstFrame = port.frames.size();

  link.StartLink();
  // The link-start interval (1000 ms) is not waited for: the first tick, which starts the
  // read, comes at once. It lies before the first request and outside every measurement.
  link.TimerTxTimer();

  const auto giveUp = Clock::now() + kReadTimeLimit;
  const auto done = [&host] { return host.completedAt.has_value(); };
  while (!done() && Clock::now() < giveUp) {
    if (queue.RunUntil(host.WaitLimit(giveUp), done)) break;
    if (host.TakeTick(Clock::now())) link.TimerTxTimer();
  }
  port.OnRxChar = nullptr;

  ReadResult result;
  result.completed = done();
  const std::vector<TimedPort::Frame> frames(port.frames.begin() + static_cast<std::ptrdiff_t>(firstFrame),
                                             port.frames.end());
  for (std::size_t k = 0; k < frames.size(); ++k) {
    const TimedPort::Frame& f = frames[k];
    if (f.code != link_code::kParameterRead) continue;
    ++result.exchanges;
    if (!f.fromReply && k > 0) ++result.retries;
    result.rxEvents += f.rxEventsBefore;
    if (f.fromReply) {
      result.costUs.push_back(Us(f.written - f.rxStart).count());
      if (k > 0) result.cycleMs.push_back(Ms(f.rxStart - frames[k - 1].entered).count());
    }
  }
  if (result.completed && !frames.empty()) {
    result.totalMs = Ms(*host.completedAt - frames.front().entered).count();
    result.cycleMs.push_back(Ms(*host.completedAt - frames.back().entered).count());
    result.rxEvents += 1;  // the event that completed the read sent nothing
  }
  return result;
}

// ---------------------------------------------------------------------------------------

struct Options {
  int runs = 5;
  int reads = 20;
  double turnaroundMs = 2.0;
  std::string simulator = ORV_SIMULATOR_PATH;
};

constexpr std::string_view kUsage =
    "Usage: link_bench [--runs N] [--reads N] [--turnaround MS] [--simulator PATH]\n"
    "  --runs N          full reads against the paced simulator (default 5)\n"
    "  --reads N         full reads against the unpaced simulator (default 20)\n"
    "  --turnaround MS   the paced simulator's delay before each reply (default 2)\n"
    "  --simulator PATH  the orv-simulator program (default: the one built with the bench)\n";

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    const std::string_view value = hasValue ? std::string_view(argv[i + 1]) : std::string_view();
    if (arg == "--help" || arg == "-h") {
      return false;
    } else if (arg == "--runs" && hasValue && ParseNumber(value, options.runs) && options.runs >= 1 &&
               options.runs <= 1000) {
    } else if (arg == "--reads" && hasValue && ParseNumber(value, options.reads) && options.reads >= 1 &&
               options.reads <= 1000) {
    } else if (arg == "--turnaround" && hasValue && ParseNumber(value, options.turnaroundMs) &&
               options.turnaroundMs >= 0.0 && options.turnaroundMs <= 1000.0) {
    } else if (arg == "--simulator" && hasValue && !value.empty()) {
      options.simulator = std::string(value);
    } else {
      return false;
    }
    ++i;
  }
  return true;
}

// A simulator, a TVaComm on its line (traced when asked) and the counting port around it.
struct Bench {
  MainQueue queue;
  std::optional<SimulatorProcess> simulator;
  std::unique_ptr<SerialPort> comm;
  std::optional<TimedPort> port;
  std::string tracePath;

  bool Start(const Options& options, bool paced, double turnaroundMs, bool trace = false) {
    std::vector<std::string> args = {"--turnaround", FormatFixed(turnaroundMs, 3)};
    if (paced) args.push_back("--paced");
    simulator.emplace(std::move(args), options.simulator);
    if (!simulator->Started()) {
      Line("link_bench: " + simulator->StartError());
      Print(simulator->ErrorOutput());
      return false;
    }
    comm = std::make_unique<TVaComm>(queue.Dispatcher(), simulator->Pattern());
    if (trace) {
      tracePath = simulator->Folder() + "/wire-trace.txt";
      comm = std::make_unique<TracedSerialPort>(std::move(comm), std::make_shared<WireTrace>(tracePath));
    }
    comm->SetPortNum(1);
    try {
      comm->Open();
    } catch (const EVaCommError& e) {
      Line(std::string("link_bench: ") + e.what());
      return false;
    }
    port.emplace(*comm);
    return true;
  }

  ReadResult Read() {
    const std::size_t before = simulator->ParameterReads().size();
    ReadResult result = RunFullRead(*port, queue);
    result.simulatorReads = static_cast<long long>(simulator->ParameterReads().size() - before);
    return result;
  }

  ~Bench() {
    port.reset();
    if (comm) comm->Close();
    comm.reset();
    simulator.reset();
  }
};

std::string Verdict(bool met) { return met ? "PASS" : "MISS"; }

// What the measurements found, for the table.
struct Figures {
  double pacedRatio = 0.0, pacedMs = 0.0, pacedLimitMs = 0.0;
  double costMedianUs = 0.0, costP99Us = 0.0;
};

// Measurement 1: paced full reads against the wire limit.
bool PacedReads(const Options& options, Figures& figures, bool trace = false) {
  Bench bench;
  if (!bench.Start(options, true, options.turnaroundMs, trace)) return false;

  const double wirePerExchangeMs = (kRequestBytes + kReplyBytes) * kByteMs + options.turnaroundMs;
  Line("1. Full parameter read, paced simulator (4800 baud, turnaround " +
       FormatFixed(options.turnaroundMs, 3) + " ms), " + Int(options.runs) + " runs");
  Line("   run  exchanges  sim.reads  retries  measured ms  wire limit ms   ratio");
  std::vector<double> measured, limits, ratios, cycles, costs;
  int rxEvents = 0, exchanges = 0;
  for (int run = 1; run <= options.runs; ++run) {
    const ReadResult r = bench.Read();
    if (!r.completed) {
      Line("   " + Right(Int(run), 3) + "  the read did not complete within 30 s");
      continue;
    }
    const double limitMs = r.exchanges * wirePerExchangeMs;
    const double ratio = r.totalMs / limitMs;
    measured.push_back(r.totalMs);
    limits.push_back(limitMs);
    ratios.push_back(ratio);
    for (double c : r.cycleMs) cycles.push_back(c - wirePerExchangeMs);
    costs.insert(costs.end(), r.costUs.begin(), r.costUs.end());
    rxEvents += r.rxEvents;
    exchanges += r.exchanges;
    Line("   " + Right(Int(run), 3) + Right(Int(r.exchanges), 11) + Right(Int(r.simulatorReads), 11) +
         Right(Int(r.retries), 9) + Right(FormatFixed(r.totalMs, 2), 13) +
         Right(FormatFixed(limitMs, 2), 15) + Right(FormatFixed(ratio, 4), 8));
  }
  if (ratios.empty()) {
    Line("   no read completed");
    return true;
  }
  const double ratio = Median(ratios);
  figures.pacedRatio = ratio;
  figures.pacedMs = Median(measured);
  figures.pacedLimitMs = Median(limits);
  Line("   median" + Right("", 31) + Right(FormatFixed(Median(measured), 2), 13) +
       Right(FormatFixed(Median(limits), 2), 15) + Right(FormatFixed(ratio, 4), 8) +
       "   goal <= " + FormatFixed(kRatioGoal, 2) + ": " + Verdict(ratio <= kRatioGoal));
  Line("   - wire limit: (3 request + 4 reply bytes) x 10 bits / 4800 baud + turnaround = " +
       FormatFixed(wirePerExchangeMs, 3) + " ms per exchange,");
  Line("     times the parameter reads actually written (" + Int(kExpectedExchanges) +
       " when none is repeated; sim.reads: as logged by the simulator)");
  Line("   - measured: first request handed to WriteBuf .. ApplyConnectionMode(2) at the end of the read");
  const double overPerExchange = (Median(measured) - Median(limits)) / (Median(limits) / wirePerExchangeMs);
  Line("   - measured - limit = " + FormatFixed(Median(measured) - Median(limits), 1) + " ms, " +
       FormatFixed(overPerExchange, 3) + " ms per exchange (goal allows " +
       FormatFixed((kRatioGoal - 1.0) * wirePerExchangeMs, 3) + " ms)");
  Line("   - lag per exchange (request written .. reply handed to the link, less the wire time):");
  Line("     median " + FormatFixed(Median(cycles), 3) + " ms, p10 " +
       FormatFixed(Percentile(cycles, 0.1), 3) + ", p90 " + FormatFixed(Percentile(cycles, 0.9), 3) +
       ", max " + FormatFixed(Percentile(cycles, 1.0), 3) + " ms");
  Line("   - handler cost per exchange while paced: median " + FormatFixed(Median(costs), 1) + " us; " +
       FormatFixed(exchanges > 0 ? static_cast<double>(rxEvents) / exchanges : 0.0, 2) +
       " received-data events per exchange");
  Line("     (4 when each reply byte is reported as it arrives, fewer when a late look finds several)");

  // Where the lag falls, in 0.25 ms steps: an even spread over 0..2 ms points at a 2 ms
  // polling step; a narrow peak near 0 at pure hand-off costs.
  std::string spread = "   - lag spread (ms):";
  constexpr double kStep = 0.25;
  constexpr int kBins = 10;
  std::vector<int> bins(kBins + 1, 0);
  for (double c : cycles) {
    int bin = static_cast<int>(std::max(c, 0.0) / kStep);
    ++bins[static_cast<std::size_t>(std::min(bin, kBins))];
  }
  for (int b = 0; b <= kBins; ++b) {
    const double share = 100.0 * bins[static_cast<std::size_t>(b)] / static_cast<double>(cycles.size());
    spread += " " +
              (b < kBins ? "<" + FormatFixed(kStep * (b + 1), 2) : ">=" + FormatFixed(kStep * kBins, 2)) +
              ":" + FormatFixed(share, 0) + "%";
  }
  Line(spread);
  return true;
}

// Measurement 2: the program's own cost per exchange against the unpaced simulator.
bool UnpacedReads(const Options& options, Figures& figures, bool trace = false) {
  Bench bench;
  if (!bench.Start(options, false, 0.0, trace)) return false;

  std::vector<double> costs, totals, perExchange;
  int incomplete = 0, exchanges = 0;
  for (int read = 0; read < options.reads; ++read) {
    const ReadResult r = bench.Read();
    if (!r.completed) {
      ++incomplete;
      continue;
    }
    costs.insert(costs.end(), r.costUs.begin(), r.costUs.end());
    totals.push_back(r.totalMs);
    perExchange.push_back(r.totalMs / r.exchanges);
    exchanges += r.exchanges;
  }
  Line();
  Line("2. Program cost, unpaced simulator (no line time, turnaround 0), " + Int(options.reads) + " reads, " +
       Int(static_cast<long long>(costs.size())) + " exchanges timed" +
       (incomplete > 0 ? ", " + Int(incomplete) + " reads incomplete" : std::string()));
  if (costs.empty()) {
    Line("   no exchange timed");
    return true;
  }
  const double median = Median(costs);
  figures.costMedianUs = median;
  figures.costP99Us = Percentile(costs, 0.99);
  Line("   exchange cost      median " + Right(FormatFixed(median, 1), 8) + " us   p99 " +
       Right(FormatFixed(Percentile(costs, 0.99), 1), 8) + " us   max " +
       Right(FormatFixed(Percentile(costs, 1.0), 1), 8) + " us   goal median < " +
       FormatFixed(kCostGoalUs, 0) + " us: " + Verdict(median < kCostGoalUs));
  Line("   - from VaComm1RxChar called with the reply to the next request's WriteBuf returned: read the");
  Line("     reply, store the byte, tell the window, build the frame, queue it for the writer thread");
  Line("   full read          median " + Right(FormatFixed(Median(totals), 2), 8) + " ms   min " +
       Right(FormatFixed(Percentile(totals, 0.0), 2), 8) + " ms   max " +
       Right(FormatFixed(Percentile(totals, 1.0), 2), 8) + " ms   (" +
       Int(totals.empty() ? 0 : exchanges / static_cast<int>(totals.size())) + " exchanges)");
  Line("   per exchange       median " + Right(FormatFixed(Median(perExchange) * 1000.0, 1), 8) + " us");
  Line("   - the round trip without line time: writer thread, pty, simulator, event thread, dispatcher");
  Line("     and handler; the floor under any paced exchange beyond its wire time");
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    Print(kUsage);
    return 2;
  }
  ::signal(SIGPIPE, SIG_IGN);

  Line("link_bench: full parameter read over TVaComm against " + options.simulator);
  Line();
  Figures plain, traced;
  if (!PacedReads(options, plain)) return 1;
  if (!UnpacedReads(options, plain)) return 1;
  Line();
  Line("3. The same with the wire trace on");
  if (!PacedReads(options, traced, true)) return 1;
  if (!UnpacedReads(options, traced, true)) return 1;

  const double traceShare = plain.pacedMs > 0 ? (traced.pacedMs - plain.pacedMs) / plain.pacedMs : 0.0;
  Line();
  Line("TABLE|full parameter read at 4800 baud, 210 exchanges, turnaround " +
       FormatFixed(options.turnaroundMs, 0) + " ms|" + FormatFixed(plain.pacedMs, 0) +
       " ms against a wire limit of " + FormatFixed(plain.pacedLimitMs, 1) + " ms: ratio " +
       FormatFixed(plain.pacedRatio, 4) + "|ratio <= " + FormatFixed(kRatioGoal, 2) + "|" +
       Verdict(plain.pacedRatio > 0 && plain.pacedRatio <= kRatioGoal));
  Line("TABLE|own cost per exchange (reply handed to the link .. next request queued)|median " +
       FormatFixed(plain.costMedianUs, 1) + " us, p99 " + FormatFixed(plain.costP99Us, 1) + " us|median < " +
       FormatFixed(kCostGoalUs, 0) + " us|" + Verdict(plain.costMedianUs < kCostGoalUs));
  Line("TABLE|wire trace on: own cost per exchange|median " + FormatFixed(traced.costMedianUs, 1) +
       " us, p99 " + FormatFixed(traced.costP99Us, 1) + " us (off: " + FormatFixed(plain.costMedianUs, 1) +
       " us)|median < " + FormatFixed(kCostGoalUs, 0) + " us|" + Verdict(traced.costMedianUs < kCostGoalUs));
  Line("TABLE|wire trace on: paced full read against trace off|" + FormatFixed(traced.pacedMs, 0) +
       " ms vs " + FormatFixed(plain.pacedMs, 0) + " ms: " + (traceShare >= 0 ? "+" : "") +
       FormatFixed(100.0 * traceShare, 2) + " %|< 5 %|" + Verdict(traced.pacedMs > 0 && traceShare < 0.05));
  return 0;
}
