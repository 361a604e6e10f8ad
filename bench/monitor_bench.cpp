// The live views' costs: one graph step, a full history scroll, and the program's CPU use
// while it polls live data with the oscilloscope running against the simulator.
//
//   monitor_bench [--seconds N] [--no-program]

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "../tests/support/ChildProcess.h"
#include "../tests/support/FakeSerialPort.h"
#include "../tests/support/ScriptedDialogs.h"
#include "../tests/support/SimulatorProcess.h"
#include "app/KeyTable.h"
#include "app/Orvlpgmain.h"
#include "base/AtomicFile.h"
#include "monitor/LiveMonitorQt.h"
#include "monitor/PerformanceGraphQt.h"
#include "monitor/ReadingRows.h"
#include "monitor/RecordingFile.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDesignGraphWidth = 371;  // 372 steps at the finest time base
constexpr int kGraphHeight = 144;
constexpr int kWideGraphWidth = 1920;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// The value below which 99 % of the samples lie (the largest of fewer than 100).
double P99(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[std::min(v.size() - 1, v.size() * 99 / 100)];
}

double CpuMilliseconds() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// Ten series: the black scale mark and nine traces that wander like engine readings.
void AddStep(PerformanceGraph& g, int t) {
  g.DataPoint(kColourBlack, kScaleMarkValue);
  for (int s = 0; s < 9; ++s)
    g.DataPoint(kInitialColours[static_cast<std::size_t>(s % kChannelCount)] + s / kChannelCount,
                22 + (t * (s + 3) + s * 40) % 255);
}

struct ScrollFigures {
  double median = 0, p99 = 0, cpu = 0;  // ms; cpu per scroll
};

// What one scroll position costs at the finest time base, as the oscilloscope redraws it: the
// graph hidden, width + 1 steps traced, the graph shown and painted.
ScrollFigures FullHistoryScrolls(TPerformanceGraph& widget, int width, int runs) {
  widget.resize(width, kGraphHeight);
  PerformanceGraph& g = widget.Graph();
  g.SetSize(width, kGraphHeight);
  for (int t = 0; t < width + 2; ++t) {  // a full ring, the scale settled
    AddStep(g, t);
    g.Update();
  }
  std::vector<double> scrolls;
  const double cpuBefore = CpuMilliseconds();
  for (int run = 0; run < runs; ++run) {
    const auto a = Clock::now();
    widget.hide();
    for (int t = 0; t < width + 1; ++t) {
      AddStep(g, t + run);
      g.Update();
    }
    widget.show();
    widget.repaint();
    scrolls.push_back(std::chrono::duration<double, std::milli>(Clock::now() - a).count());
  }
  return {Median(scrolls), P99(scrolls), (CpuMilliseconds() - cpuBefore) / runs};
}

struct PlayFigures {
  double cpuPercent = -1;  // of one core
  double recordsPerSecond = 0;
  int graphWidth = 0, timeBase = 0;
  int pointsPerStep = 0;  // the most in a step of the graph's ring
};

// The program's main window (offscreen, in this process, no controller) with a six-minute
// recording opened on the readings page and playing at x16: the process's CPU over `seconds`
// while the play timer moves the history on. Seven traces are ticked at the finest time base.
PlayFigures PlayingCpu(int seconds) {
  char folderTemplate[] = "/tmp/orv-play-bench-XXXXXX";
  if (!::mkdtemp(folderTemplate)) return {};
  const std::string folder = folderTemplate;
  std::filesystem::create_directories(folder + "/ORV");
  {
    std::ofstream settings(folder + "/ORV/LPG2.reg");
    settings << "[Software\\ORV\\LPG2]\n\"TrackX\"=dword:00000001\n";
    for (const char* line : {"LineRPM", "LineLAM", "LineSIM", "LineTPS", "LineMOT", "LinePSI", "LineDEF"})
      settings << '"' << line << "\"=dword:00000001\n";
  }
  ParameterBlock block{};
  block[0] = 0x64;
  block[kOptionByte] = 0xFF;  // every option: simulation, vacuum sensor, injection, ...
  block[81] = 1;              // a vacuum sensor type
  ReadingHistory history;
  for (int i = 0; i < ReadingHistory::kRecords; ++i) {
    LiveReadings& r = history.At(i);
    for (int b = 1; b <= 14; ++b)
      r[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>((i * (b + 2) + b * 37) % 240);
  }
  const std::string path = folder + "/drive.orvv";
  if (!WriteFileAtomically(path, RecordingBytes(block, history, true))) return {};

  ScriptedDialogs dialogs;
  MainWindowEnvironment env;
  env.dialogs = &dialogs;
  env.settingsPath = folder + "/ORV/LPG2.reg";
  env.programDir = folder;
  auto port = std::make_unique<FakeSerialPort>();
  port->failOpen = true;
  env.port = std::move(port);
  TForm1 form(std::move(env));
  form.show();
  dialogs.fileAnswers.push_back(path);
  form.FormKeyDown(VK_CONTROL);
  form.FormKeyDown('O');
  if (form.CurrentPage() != Page::Parameters) form.FormKeyDown(VK_F3);
  for (QCheckBox* check : form.Live().Widgets().checks) check->setChecked(true);
  LiveMonitor& live = form.Live();
  live.SpeedBox()->setCurrentIndex(2);
  form.Live().Widgets().ScrollBar1->setValue(0);
  form.FormKeyDown(VK_CONTROL);
  form.FormKeyDown('P');
  if (!live.Playing()) {
    std::fprintf(stderr, "the recording did not play\n");
    return {};
  }
  auto runFor = [](int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
  };
  runFor(1000);  // settled
  long long records = 0;
  int last = form.Live().Widgets().ScrollBar1->value();
  const double cpuBefore = CpuMilliseconds();
  const auto start = Clock::now();
  for (int s = 0; s < seconds; ++s) {
    runFor(1000);
    const int now = form.Live().Widgets().ScrollBar1->value();
    records += now - last;
    last = now;
    if (!live.Playing()) {  // the end of the drive: again from its start
      form.Live().Widgets().ScrollBar1->setValue(0);
      last = 0;
      form.FormKeyDown(VK_CONTROL);
      form.FormKeyDown('P');
    }
  }
  const double wall = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  const double cpu = CpuMilliseconds() - cpuBefore;
  std::filesystem::remove_all(folder);
  int points = 0;
  for (const GraphStep& step : form.Live().Widgets().Graph1->Graph().StepsOldestFirst())
    points = std::max(points, step.count);
  return {cpu / wall * 100.0, static_cast<double>(records) / (wall / 1000.0),
          form.Live().Widgets().Graph1->Graph().Width(), form.Live().Widgets().Graph1->Graph().StepSize(),
          points};
}

double ClockTicksOf(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string content((std::istreambuf_iterator<char>(stat)), {});
  const std::size_t close = content.rfind(')');
  if (close == std::string::npos) return -1;
  std::vector<std::string> fields;
  std::string field;
  for (std::size_t i = close + 2; i <= content.size(); ++i) {
    if (i == content.size() || content[i] == ' ') {
      fields.push_back(field);
      field.clear();
    } else {
      field += content[i];
    }
  }
  // Fields after the name start at state (3): utime is field 14, stime 15.
  if (fields.size() < 13) return -1;
  return std::stod(fields[11]) + std::stod(fields[12]);
}

double ProgramCpuPercent(int seconds) {
  SimulatorProcess sim;
  if (!sim.Started()) {
    std::fprintf(stderr, "simulator: %s\n", sim.StartError().c_str());
    return -1;
  }
  const std::string config = sim.Folder() + "/config";
  std::filesystem::create_directories(config + "/ORV");
  std::ofstream settings(config + "/ORV/LPG2.reg");
  settings << "[Software\\ORV\\LPG2]\n\"TrackX\"=dword:00000001\n";
  for (const char* line : {"LineRPM", "LineLAM", "LineSIM", "LineTPS", "LineMOT", "LinePSI", "LineDEF"})
    settings << '"' << line << "\"=dword:00000001\n";
  settings.close();

  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("ORV_COMM_PATTERN", sim.Pattern().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::execl(ORV_PROGRAM_PATH, ORV_PROGRAM_PATH, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // Connected and polling live data on the parameters page.
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  while (!sim.LogHas("RX 33 33") && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (!sim.LogHas("RX 33 33")) {
    EndChild(pid);
    std::fprintf(stderr, "the program did not reach live polling\n");
    return -1;
  }
  std::this_thread::sleep_for(std::chrono::seconds(2));
  const double ticksBefore = ClockTicksOf(pid);
  const auto start = Clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const double ticksAfter = ClockTicksOf(pid);
  const double wall = std::chrono::duration<double>(Clock::now() - start).count();
  EndChild(pid);
  return (ticksAfter - ticksBefore) / static_cast<double>(::sysconf(_SC_CLK_TCK)) / wall * 100.0;
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = 30;
  bool program = true;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--seconds" && i + 1 < argc) {
      seconds = std::max(1, std::atoi(argv[++i]));
    } else if (a == "--no-program") {
      program = false;
    } else {
      std::fprintf(stderr, "usage: %s [--seconds N] [--no-program]\n", argv[0]);
      return 2;
    }
  }
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);

  TPerformanceGraph widget;
  widget.resize(kDesignGraphWidth, kGraphHeight);
  widget.show();
  PerformanceGraph& g = widget.Graph();
  g.SetGridlines(false);
  g.SetStepSize(1);
  for (int t = 0; t < 400; ++t) {  // fill the ring and settle the scale
    AddStep(g, t);
    g.Update();
  }
  std::vector<double> updates;
  for (int t = 0; t < 3000; ++t) {
    const auto a = Clock::now();
    AddStep(g, t);
    g.Update();
    updates.push_back(std::chrono::duration<double, std::micro>(Clock::now() - a).count());
  }

  std::printf("graph %dx%d, ten series per step\n", kDesignGraphWidth, kGraphHeight);
  std::printf("  one Update (points, scroll, strip):   median %.1f us\n", Median(updates));
  std::printf("TABLE|one graph Update (points, scroll, strip; 371x%d, ten series)|median %.1f us||\n",
              kGraphHeight, Median(updates));
  for (const int width : {kDesignGraphWidth, kWideGraphWidth}) {
    const ScrollFigures f = FullHistoryScrolls(widget, width, width == kDesignGraphWidth ? 200 : 60);
    std::printf("  full-history scroll, %d px, %d steps: median %.2f ms, p99 %.2f ms, CPU %.2f ms each\n",
                width, width + 1, f.median, f.p99, f.cpu);
    std::printf(
        "TABLE|full history redraw, %d px (%d steps traced, shown, painted), median|%.2f ms|< 8 ms|%s\n",
        width, width + 1, f.median, f.median < 8 ? "PASS" : "MISS");
    std::printf("TABLE|full history redraw, %d px, p99|%.2f ms|< 16 ms|%s\n", width, f.p99,
                f.p99 < 16 ? "PASS" : "MISS");
    std::printf("TABLE|full history redraw, %d px, CPU (user + system) per redraw|%.2f ms||\n", width, f.cpu);
  }
  const PlayFigures play = PlayingCpu(std::min(seconds, 20));
  if (play.cpuPercent >= 0) {
    std::printf(
        "  program playing a recording at x16:     %.2f %% of one core, %.0f records a second, graph %d px "
        "at "
        "time base %d, %d points a step %s\n",
        play.cpuPercent, play.recordsPerSecond, play.graphWidth, play.timeBase, play.pointsPerStep,
        play.cpuPercent < 10 ? "PASS" : "MISS");
    std::printf(
        "TABLE|CPU while playing a recording at x16 (%.0f records a second), %d s|%.2f %%|< 10 %%|%s\n",
        play.recordsPerSecond, std::min(seconds, 20), play.cpuPercent,
        play.cpuPercent < 10 ? "PASS" : "MISS");
  } else {
    std::printf(
        "TABLE|CPU while playing a recording at x16|not measured (the recording did not play)|< 10 "
        "%%|MISS\n");
  }
  if (program) {
    const double cpu = ProgramCpuPercent(seconds);
    if (cpu >= 0) {
      std::printf("  program polling live data, scope on:   %.2f %% of one core over %d s (goal < 3 %%) %s\n",
                  cpu, seconds, cpu < 3 ? "PASS" : "MISS");
      std::printf("TABLE|CPU while polling, oscilloscope running, %d s|%.2f %%|< 3 %%|%s\n", seconds, cpu,
                  cpu < 3 ? "PASS" : "MISS");
    } else {
      std::printf(
          "TABLE|CPU while polling, oscilloscope running|not measured (program did not poll)|< 3 %%|MISS\n");
    }
  }
  return 0;
}
