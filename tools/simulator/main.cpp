// orv-simulator: answers on a pseudo-terminal as the gas controller (or its loader) would.

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "PtyLine.h"
#include "SimController.h"

namespace {

using Clock = std::chrono::steady_clock;
using Duration = std::chrono::duration<double, std::milli>;

constexpr double kByteMs = 10.0 * 1000.0 / 4800.0;  // start bit, 8 data bits, stop bit
constexpr std::size_t kMaxQueued = 65536;
constexpr double kVanishLingerMs = 2000.0;

constexpr std::string_view kUsage =
    "Usage: orv-simulator [options]\n"
    "Stands in for the gas controller (or its loader) on a pseudo-terminal.\n"
    "\n"
    "  --pattern PATTERN   device path pattern with one %d, as ORV_COMM_PATTERN\n"
    "                      (default: $ORV_COMM_PATTERN, else /tmp/orv-tty%d)\n"
    "  --port N            COM port 1..4 to appear as (%d = N-1; default 1)\n"
    "  --type HEX          controller type byte (default 64)\n"
    "  --version N         firmware version byte (default 145)\n"
    "  --tester            answer as the tester (type CB): parameter reads and writes only\n"
    "  --loader BYTE6      answer as the loader; BYTE6 is byte 6 of its report (0..255)\n"
    "  --image FILE        raw image bytes a programming run must deliver (checked, logged)\n"
    "  --loader-p N        P of the loader's answer, 0..255 (default 8; E = P div 8 extra blocks)\n"
    "  --received FILE     written with the reassembled image at the end of every run\n"
    "  --paced             pace both directions like 4800 baud (2.083 ms per byte)\n"
    "  --turnaround MS     delay before a reply (default 0, or 2 when paced)\n"
    "  --driven-clock      the engine's time moves 100 ms with every poll answered (live data,\n"
    "                      configuration, PORT view), not with the wall clock\n"
    "  --garble RATE       replace each reply byte by a random one with probability RATE\n"
    "  --drop-writes RATE  lose each parameter write on its way in with probability RATE\n"
    "  --silent            receive but never answer\n"
    "  --seed N            seed of the random generator (default 1)\n"
    "  --coil N            the car's ignition coil, as parameter byte 32 (0..6, default 0)\n"
    "  --tps N             the car's throttle sensor, as byte 33 (0..4, default 0)\n"
    "  --probe N           the car's lambda probe, as byte 34 (0..4, default 0)\n"
    "  --engine STATE      demo (runs, the driver revs every 30 s; default), idle, stopped\n"
    "  --log FILE          frame log, one line per frame received (default stderr)\n"
    "  --ready-file FILE   written once the device link exists\n"
    "  --help              this text\n"
    "\n"
    "Commands on stdin, one per line: silent on | silent off | garble RATE | drop-writes RATE |\n"
    "memory (log the parameter bytes 0..104) |\n"
    "vanish (close the line, remove the link, exit soon after) | quit |\n"
    "engine start | engine stop | rpm N (engine speed to reach, e.g. rpm 3000) | idle | demo |\n"
    "silent after N (the loader falls silent once it has received N more blocks)\n";

volatile std::sig_atomic_t gStop = 0;
void OnSignal(int) { gStop = 1; }

struct Config {
  std::string pattern;
  int port = 1;
  sim::SimControllerOptions engine;
  std::string imagePath;
  std::string receivedPath;
  bool paced = false;
  std::optional<double> turnaroundMs;
  std::string logPath;
  std::string readyFile;
};

template <typename T>
bool ParseNumber(std::string_view text, T& value, int base = 10) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  std::from_chars_result r;
  if constexpr (std::is_floating_point_v<T>)
    r = std::from_chars(first, last, value);
  else
    r = std::from_chars(first, last, value, base);
  return r.ec == std::errc() && r.ptr == last && first != last;
}

void WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

void Fail(std::string_view message) {
  WriteAll(2, "orv-simulator: ");
  WriteAll(2, message);
  WriteAll(2, "\n");
}

// Returns 0 on success, else the exit code (0 too for --help, signalled by `done`).
int ParseArgs(int argc, char** argv, Config& cfg, bool& done) {
  if (const char* env = std::getenv("ORV_COMM_PATTERN"); env && *env)
    cfg.pattern = env;
  else
    cfg.pattern = "/tmp/orv-tty%d";
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    auto value = [&](std::string_view& out) {
      if (i + 1 >= argc) {
        Fail(std::string(arg) + " needs a value");
        return false;
      }
      out = argv[++i];
      return true;
    };
    std::string_view v;
    if (arg == "--help" || arg == "-h") {
      WriteAll(1, kUsage);
      done = true;
      return 0;
    } else if (arg == "--tester") {
      cfg.engine.tester = true;
    } else if (arg == "--paced") {
      cfg.paced = true;
    } else if (arg == "--driven-clock") {
      cfg.engine.drivenClock = true;
    } else if (arg == "--silent") {
      cfg.engine.silent = true;
    } else if (arg == "--pattern") {
      if (!value(v)) return 2;
      cfg.pattern = v;
    } else if (arg == "--port") {
      if (!value(v) || !ParseNumber(v, cfg.port) || cfg.port < 1 || cfg.port > 4)
        return Fail("--port takes 1..4"), 2;
    } else if (arg == "--type") {
      if (!value(v)) return 2;
      if (v.starts_with("0x") || v.starts_with("0X")) v.remove_prefix(2);
      if (!ParseNumber(v, cfg.engine.typeByte, 16)) return Fail("--type takes a hex byte"), 2;
    } else if (arg == "--version") {
      if (!value(v) || !ParseNumber(v, cfg.engine.versionByte)) return Fail("--version takes 0..255"), 2;
    } else if (arg == "--loader") {
      if (!value(v) || !ParseNumber(v, cfg.engine.loaderReportByte6)) return Fail("--loader takes 0..255"), 2;
      cfg.engine.loader = true;
    } else if (arg == "--turnaround") {
      double ms = 0;
      if (!value(v) || !ParseNumber(v, ms) || !(ms >= 0.0 && ms <= 10000.0))
        return Fail("--turnaround takes milliseconds"), 2;
      cfg.turnaroundMs = ms;
    } else if (arg == "--garble") {
      if (!value(v) || !ParseNumber(v, cfg.engine.garbleRate) || !(cfg.engine.garbleRate >= 0.0) ||
          cfg.engine.garbleRate > 1.0)
        return Fail("--garble takes a rate 0..1"), 2;
    } else if (arg == "--drop-writes") {
      if (!value(v) || !ParseNumber(v, cfg.engine.dropWriteRate) || !(cfg.engine.dropWriteRate >= 0.0) ||
          cfg.engine.dropWriteRate > 1.0)
        return Fail("--drop-writes takes a rate 0..1"), 2;
    } else if (arg == "--seed") {
      if (!value(v) || !ParseNumber(v, cfg.engine.seed)) return Fail("--seed takes a number"), 2;
    } else if (sim::IsCarOption(arg)) {
      if (!value(v) || !sim::SetCarOption(arg, v, cfg.engine.car))
        return Fail(std::string(arg) + ": see --help"), 2;
    } else if (arg == "--log") {
      if (!value(v)) return 2;
      cfg.logPath = v;
    } else if (arg == "--image") {
      if (!value(v)) return 2;
      cfg.imagePath = v;
    } else if (arg == "--loader-p") {
      if (!value(v) || !ParseNumber(v, cfg.engine.loaderValueP)) return Fail("--loader-p takes 0..255"), 2;
    } else if (arg == "--received") {
      if (!value(v)) return 2;
      cfg.receivedPath = v;
    } else if (arg == "--ready-file") {
      if (!value(v)) return 2;
      cfg.readyFile = v;
    } else {
      Fail("unknown option " + std::string(arg) + " (see --help)");
      return 2;
    }
  }
  return 0;
}

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& data) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  std::uint8_t buf[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    data.insert(data.end(), buf, buf + n);
    if (data.size() > (1u << 20)) break;  // far beyond any image
  }
  ::close(fd);
  return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view text) {
  const std::string temp = path + ".tmp" + std::to_string(getpid());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  WriteAll(fd, text);
  ::close(fd);
  return ::rename(temp.c_str(), path.c_str()) == 0;
}

class Simulator {
 public:
  Simulator(Config cfg, int logFd) : cfg_(std::move(cfg)), engine_(cfg_.engine), logFd_(logFd) {
    engine_.SetLogSink([this](const std::string& line) { WriteAll(logFd_, line + "\n"); });
    turnaround_ = cfg_.turnaroundMs.value_or(cfg_.paced ? 2.0 : 0.0);
    start_ = Clock::now();
  }

  int Run(const std::string& linkPath) {
    std::string error;
    if (!line_.Open(error) || !line_.Link(linkPath, error)) {
      Fail(error);
      return 1;
    }
    if (!cfg_.readyFile.empty() &&
        !WriteFileAtomically(cfg_.readyFile, linkPath + "\n" + line_.SlaveName() + "\n")) {
      Fail("cannot write " + cfg_.readyFile);
      line_.Unlink();
      return 1;
    }
    WriteAll(logFd_, "LINK " + linkPath + " -> " + line_.SlaveName() + "\n");

    sigset_t blocked, waitMask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGHUP);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);
    sigdelset(&waitMask, SIGHUP);

    while (!gStop && !quit_) {
      const auto now = Clock::now();
      // Input that fell due while the simulator was not running is delivered before the
      // clock moves on, so a late wake-up does not turn a whole frame into a stale one.
      DeliverInput(now);
      AdvanceEngine(now);
      FlushOutput(now);
      if (vanishedAt_ && Duration(now - *vanishedAt_).count() >= kVanishLingerMs) break;

      double waitMs = 1000.0;
      if (!input_.empty()) waitMs = std::min(waitMs, Duration(input_.front().first - now).count());
      if (!output_.empty()) waitMs = std::min(waitMs, Duration(output_.front().first - now).count());
      if (vanishedAt_) waitMs = std::min(waitMs, kVanishLingerMs - Duration(now - *vanishedAt_).count());
      waitMs = std::max(waitMs, 0.0);
      timespec timeout{};
      timeout.tv_sec = static_cast<time_t>(waitMs / 1000.0);
      timeout.tv_nsec = static_cast<long>((waitMs - static_cast<double>(timeout.tv_sec) * 1000.0) * 1e6);

      pollfd fds[2] = {{line_.MasterFd(), POLLIN, 0}, {stdinOpen_ ? 0 : -1, POLLIN, 0}};
      const int r = ppoll(fds, 2, &timeout, &waitMask);
      if (r < 0) {
        if (errno == EINTR) continue;
        Fail(std::string("poll: ") + std::strerror(errno));
        break;
      }
      if (fds[0].fd >= 0 && (fds[0].revents & POLLIN)) ReadLine(Clock::now());
      if (fds[1].fd >= 0 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) ReadStdin();
    }
    line_.Unlink();
    line_.Close();
    return 0;
  }

 private:
  void AdvanceEngine(Clock::time_point now) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - start_).count();
    while (advancedMs_ < elapsed) {
      const auto step = std::min<long long>(elapsed - advancedMs_, 1000);
      engine_.Advance(static_cast<int>(step));
      advancedMs_ += step;
    }
  }

  void ReadLine(Clock::time_point now) {
    std::uint8_t buf[4096];
    const ssize_t n = ::read(line_.MasterFd(), buf, sizeof buf);
    if (n <= 0) return;
    for (ssize_t i = 0; i < n; ++i) {
      if (input_.size() >= kMaxQueued) break;  // receive overrun
      auto due = now;
      if (cfg_.paced) {
        // A byte is received one byte time after the line became free for it.
        const auto from = std::max(now, lastInputDue_);
        due = from + std::chrono::duration_cast<Clock::duration>(Duration(kByteMs));
        lastInputDue_ = due;
      }
      input_.emplace_back(due, buf[i]);
    }
  }

  void DeliverInput(Clock::time_point now) {
    std::vector<std::uint8_t> chunk;
    while (!input_.empty() && input_.front().first <= now) {
      chunk.push_back(input_.front().second);
      input_.pop_front();
    }
    if (chunk.empty()) return;
    const auto reply = engine_.Receive(chunk.data(), chunk.size());
    if (engine_.RunsEnded() != runsWritten_) WriteReceivedImage();
    if (reply.empty() || line_.MasterFd() < 0) return;
    auto startAt = now + std::chrono::duration_cast<Clock::duration>(Duration(turnaround_));
    if (!output_.empty()) startAt = std::max(startAt, output_.back().first);
    for (std::size_t j = 0; j < reply.size() && output_.size() < kMaxQueued; ++j) {
      auto due = startAt;
      if (cfg_.paced)
        due += std::chrono::duration_cast<Clock::duration>(Duration(kByteMs * static_cast<double>(j + 1)));
      output_.emplace_back(due, reply[j]);
    }
  }

  void WriteReceivedImage() {
    runsWritten_ = engine_.RunsEnded();
    if (cfg_.receivedPath.empty()) return;
    const auto& image = engine_.ReceivedImage();
    const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
    if (!WriteFileAtomically(cfg_.receivedPath, bytes)) Fail("cannot write " + cfg_.receivedPath);
    WriteAll(logFd_, "RECEIVED " + std::to_string(image.size()) + " bytes\n");
  }

  void FlushOutput(Clock::time_point now) {
    std::vector<std::uint8_t> chunk;
    while (!output_.empty() && output_.front().first <= now) {
      chunk.push_back(output_.front().second);
      output_.pop_front();
    }
    if (chunk.empty() || line_.MasterFd() < 0) return;
    const ssize_t n = ::write(line_.MasterFd(), chunk.data(), chunk.size());
    if (n < static_cast<ssize_t>(chunk.size()))
      WriteAll(logFd_, "TX overflow: " +
                           std::to_string(chunk.size() - static_cast<std::size_t>(std::max<ssize_t>(n, 0))) +
                           " bytes lost\n");
  }

  void ReadStdin() {
    char buf[512];
    const ssize_t n = ::read(0, buf, sizeof buf);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (n <= 0) {
      stdinOpen_ = false;
      if (vanishedAt_) quit_ = true;
      return;
    }
    stdinBuffer_.append(buf, static_cast<std::size_t>(n));
    if (stdinBuffer_.size() > 4096) stdinBuffer_.clear();  // no command is that long
    std::size_t eol;
    while ((eol = stdinBuffer_.find('\n')) != std::string::npos) {
      std::string cmd = stdinBuffer_.substr(0, eol);
      stdinBuffer_.erase(0, eol + 1);
      while (!cmd.empty() && (cmd.back() == '\r' || cmd.back() == ' ')) cmd.pop_back();
      Command(cmd);
    }
  }

  // "NAME RATE": a probability 0..1 for the engine.
  void SetRate(std::string_view cmd, std::string_view name, void (sim::SimController::*set)(double)) {
    double rate = 0;
    if (ParseNumber(cmd.substr(name.size() + 1), rate) && rate >= 0.0 && rate <= 1.0)
      (engine_.*set)(rate);
    else
      Fail(std::string(name) + " takes a rate 0..1");
  }

  void Command(std::string_view cmd) {
    while (!cmd.empty() && cmd.front() == ' ') cmd.remove_prefix(1);
    if (cmd.empty()) return;
    WriteAll(logFd_, "CMD " + std::string(cmd) + "\n");
    if (cmd == "silent on") {
      engine_.SetSilent(true);
    } else if (cmd == "silent off") {
      engine_.SetSilent(false);
    } else if (cmd.starts_with("garble ")) {
      SetRate(cmd, "garble", &sim::SimController::SetGarbleRate);
    } else if (cmd.starts_with("drop-writes ")) {
      SetRate(cmd, "drop-writes", &sim::SimController::SetDropWriteRate);
    } else if (cmd == "memory") {
      engine_.LogParameterMemory();
    } else if (cmd == "vanish") {
      if (!vanishedAt_) {
        line_.Unlink();
        line_.Close();
        input_.clear();
        output_.clear();
        vanishedAt_ = Clock::now();
      }
    } else if (cmd.starts_with("silent after ")) {
      int blocks = 0;
      if (ParseNumber(cmd.substr(13), blocks) && blocks > 0)
        engine_.SetSilentAfterBlocks(blocks);
      else
        Fail("silent after takes a number of blocks");
    } else if (cmd == "quit") {
      quit_ = true;
    } else if (engine_.EngineCommand(cmd)) {
    } else {
      Fail("unknown command: " + std::string(cmd));
    }
  }

  Config cfg_;
  sim::SimController engine_;
  sim::PtyLine line_;
  int logFd_;
  double turnaround_ = 0.0;
  Clock::time_point start_;
  long long advancedMs_ = 0;
  std::deque<std::pair<Clock::time_point, std::uint8_t>> input_;
  std::deque<std::pair<Clock::time_point, std::uint8_t>> output_;
  Clock::time_point lastInputDue_{};
  std::string stdinBuffer_;
  bool stdinOpen_ = true;
  bool quit_ = false;
  int runsWritten_ = 0;
  std::optional<Clock::time_point> vanishedAt_;
};

}  // namespace

int main(int argc, char** argv) {
  Config cfg;
  bool done = false;
  if (const int rc = ParseArgs(argc, argv, cfg, done); rc != 0 || done) return rc;

  const auto linkPath = sim::ExpandPortPattern(cfg.pattern, cfg.port - 1);
  if (!linkPath) {
    Fail("the pattern needs exactly one %d: " + cfg.pattern);
    return 2;
  }
  if (!cfg.imagePath.empty() && !ReadFile(cfg.imagePath, cfg.engine.expectedImage)) {
    Fail("cannot read " + cfg.imagePath);
    return 1;
  }
  int logFd = 2;
  if (!cfg.logPath.empty()) {
    // The log is a stream of lines written as frames arrive, not a file written whole.
    logFd = ::open(cfg.logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644);
    if (logFd < 0) {
      Fail("cannot open " + cfg.logPath);
      return 1;
    }
  }

  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  Simulator simulator(std::move(cfg), logFd);
  return simulator.Run(*linkPath);
}
