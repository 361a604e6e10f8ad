// window_bench: the program as a whole.
//
//  1. Start-up: from starting a process to the main window shown (exposed and painted once),
//     on the platform QT_QPA_PLATFORM names (offscreen when unset and there is no DISPLAY).
//     The bench runs itself as the child: it makes the application and the main window as the
//     program does and reports the moment of the first paint.
//  2. Polling: the program itself (mervolante-lpg) against the paced simulator on the
//     parameters page, live data every 100 ms: its CPU share and its resident memory over the
//     run (--minutes M, default 2), sampled from /proc.
//
// Lines beginning with "TABLE|" are the rows bench/run-all.sh gathers into one table. Exits 0
// whether goals are met or not; 1 when the program or the simulator cannot be run.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "../tests/support/ChildProcess.h"
#include "../tests/support/SimulatorProcess.h"
#include "../tests/support/TempFolder.h"
#include "BenchSupport.h"
#include "app/Orvlpgmain.h"
#include "app/UserDialogsQt.h"
#include "base/NumberText.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kStartGoalMs = 500.0;
constexpr double kCpuGoalPercent = 3.0;
constexpr double kMemoryGoalMb = 80.0;
constexpr int kStartRuns = 7;

std::string Verdict(bool met) { return met ? "PASS" : "MISS"; }

long long MonotonicNs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// ---------------------------------------------------------------------------------------
// 1. Start-up

// Notes the first paint of the watched window.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched == window && paintedAt == 0) paintedAt = MonotonicNs();
    return false;
  }
  QObject* window = nullptr;
  long long paintedAt = 0;
};

// The child: the program's start, up to the first paint of the main window.
int StartupChild(int argc, char** argv, const std::string& folder) {
  QApplication app(argc, argv);
  app.setApplicationName("MERVOLANTE LPG");
  QtUserDialogs dialogs;
  MainWindowEnvironment env;
  env.dialogs = &dialogs;
  env.settingsPath = folder + "/ORV/LPG2.reg";
  TForm1 form(std::move(env));
  dialogs.SetParent(&form);
  FirstPaint paint;
  paint.window = &form;
  form.installEventFilter(&paint);
  form.show();
  const auto giveUp = Clock::now() + std::chrono::seconds(10);
  while (paint.paintedAt == 0 && Clock::now() < giveUp) QApplication::processEvents(QEventLoop::AllEvents, 5);
  std::printf("%lld\n", paint.paintedAt);
  std::fflush(stdout);
  return paint.paintedAt != 0 ? 0 : 1;
}

// Milliseconds from fork to the child's first paint; negative when it failed.
double OneStart(const char* self, const std::string& folder) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return -1;
  const long long started = MonotonicNs();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], 1);
    ::execl(self, self, "--startup-child", folder.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  std::string text;
  char buf[64];
  ssize_t n;
  while ((n = ::read(out[0], buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
    if (n > 0) text.append(buf, static_cast<std::size_t>(n));
  ::close(out[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  long long painted = 0;
  std::from_chars(text.data(), text.data() + text.size(), painted);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || painted == 0) return -1;
  return static_cast<double>(painted - started) / 1e6;
}

void Startup(const char* self) {
  TempFolder folder("orv-bench");
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const std::string where = platform ? platform : (std::getenv("DISPLAY") ? "the display" : "offscreen");
  Line("1. Start-up to the first paint of the main window (" + where + "), " + std::to_string(kStartRuns) +
       " runs");
  std::vector<double> times;
  for (int run = 0; run < kStartRuns; ++run) {
    const double ms = OneStart(self, folder.Path());
    Line("   run " + std::to_string(run + 1) + ": " +
         (ms < 0 ? std::string("failed") : FormatFixed(ms, 1) + " ms"));
    if (ms >= 0) times.push_back(ms);
  }
  if (times.empty()) {
    Line("TABLE|time from start to the first shown window|failed|< 500 ms|MISS");
    return;
  }
  std::sort(times.begin(), times.end());
  const double median = times[times.size() / 2];
  Line("TABLE|time from start to the first shown window (" + where + ", median of " +
       std::to_string(times.size()) + ")|" + FormatFixed(median, 0) + " ms (" +
       FormatFixed(times.front(), 0) + " to " + FormatFixed(times.back(), 0) + ")|< " +
       FormatFixed(kStartGoalMs, 0) + " ms|" + Verdict(median < kStartGoalMs));
}

// ---------------------------------------------------------------------------------------
// 2. Polling

struct Usage {
  double cpuSeconds = 0;  // user + system
  double rssMb = 0;
};

Usage UsageOf(pid_t pid) {
  Usage usage;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const std::size_t close = text.rfind(')');
  if (close != std::string::npos) {
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int i = 3; fields >> field; ++i) {  // field 3 is the state
      if (i == 14) utime = std::stoll(field);
      if (i == 15) {
        stime = std::stoll(field);
        break;
      }
    }
    usage.cpuSeconds = static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
  }
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) usage.rssMb = std::stod(line.substr(6)) / 1024.0;
  return usage;
}

bool Polling(double minutes) {
  SimulatorProcess sim({"--paced"});
  if (!sim.Started()) {
    Line("window_bench: " + sim.StartError());
    return false;
  }
  TempFolder folder("orv-bench");
  const std::string pattern = sim.Pattern();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("ORV_COMM_PATTERN", pattern.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
    if (!std::getenv("DISPLAY")) ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const int devNull = ::open("/dev/null", O_WRONLY);
    if (devNull >= 0) ::dup2(devNull, 2);
    ::execl(ORV_PROGRAM_PATH, ORV_PROGRAM_PATH, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  if (pid < 0) return false;
  struct Ender {
    pid_t pid;
    ~Ender() { EndChild(pid); }
  } ender{pid};

  // Connected and polling: the live-data request shows up in the simulator's log.
  const auto giveUp = Clock::now() + std::chrono::seconds(60);
  while (!sim.LogHas("RX 33 33") && Clock::now() < giveUp)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  if (!sim.LogHas("RX 33 33")) {
    Line("window_bench: the program did not start polling within 60 s");
    return false;
  }
  Line();
  Line("2. Polling on the parameters page against the paced simulator, " + FormatFixed(minutes, 1) +
       " minutes (no oscilloscope)");
  const auto start = Clock::now();
  const Usage first = UsageOf(pid);
  const auto end = start + std::chrono::milliseconds(static_cast<long long>(minutes * 60000.0));
  std::vector<double> rss{first.rssMb};
  Usage last = first;
  double afterFirstMinute = first.rssMb;
  while (Clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::seconds(10));
    last = UsageOf(pid);
    rss.push_back(last.rssMb);
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    if (elapsed <= 65.0) afterFirstMinute = last.rssMb;
    Line("   " + FormatFixed(elapsed, 0) + " s: resident " + FormatFixed(last.rssMb, 1) + " MB, CPU so far " +
         FormatFixed(100.0 * (last.cpuSeconds - first.cpuSeconds) / elapsed, 2) + " %");
  }
  const double wall = std::chrono::duration<double>(Clock::now() - start).count();
  const double cpu = 100.0 * (last.cpuSeconds - first.cpuSeconds) / wall;
  const std::vector<std::string> logged = sim.LogLines();
  const auto polls = std::count(logged.begin(), logged.end(), std::string("RX 33 33"));
  Line("   " + std::to_string(polls) + " live-data polls answered in all");
  const double growth = last.rssMb - afterFirstMinute;
  const double growthPerHour = wall > 70.0 ? growth / ((wall - 60.0) / 3600.0) : 0.0;
  Line("TABLE|CPU while polling (parameters page, no oscilloscope yet), " + FormatFixed(minutes, 0) +
       " min|" + FormatFixed(cpu, 2) + " % of a core|< " + FormatFixed(kCpuGoalPercent, 0) + " %|" +
       Verdict(cpu < kCpuGoalPercent));
  Line("TABLE|resident memory after " + FormatFixed(minutes, 0) + " min of polling|" +
       FormatFixed(last.rssMb, 1) + " MB; " + (growth >= 0 ? "+" : "") + FormatFixed(growth * 1024.0, 0) +
       " kB after the first minute (" + FormatFixed(growthPerHour, 1) + " MB/h)|< " +
       FormatFixed(kMemoryGoalMb, 0) + " MB, not growing|" +
       Verdict(last.rssMb < kMemoryGoalMb && growth < 1.0));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string_view(argv[1]) == "--startup-child") {
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("ORV_COMM_PATTERN", "/nonexistent/orv-tty%d", 1);
    return StartupChild(1, argv, argv[2]);
  }
  double minutes = 2.0;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::string_view(argv[i]) == "--minutes") {
      const auto r = std::from_chars(argv[i + 1], argv[i + 1] + std::strlen(argv[i + 1]), minutes);
      if (r.ec != std::errc() || minutes <= 0 || minutes > 600) minutes = 2.0;
    }
  }
  ::signal(SIGPIPE, SIG_IGN);
  Line("window_bench: " + std::string(ORV_PROGRAM_PATH));
  Line();
  Startup(argv[0]);
  return Polling(minutes) ? 0 : 1;
}
