// The program as a process: started from the fitter's folder, ended by a signal, asked for its usage.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "base/UiText.h"
#include "params/ParameterFiles.h"
#include "params/ParameterTestBlocks.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

namespace {

#ifdef ORV_PROGRAM_PATH

// The program started in folder (its working folder) with args, its settings and data in
// folder/home, no serial device present, its output in folder/out.txt.
pid_t StartProgram(const TempFolder& folder, const std::vector<std::string>& args) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const std::string home = folder / "home";
    std::filesystem::create_directories(home);
    ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    ::setenv("ORV_COMM_PATTERN", (folder / "tty%d").c_str(), 1);
    ::setenv("ORV_TRACE", (folder / "env-trace.txt").c_str(), 1);  // written only by a window
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ExecInFolder(folder.Path(), ORV_PROGRAM_PATH, args, false);
  }
  return pid;
}

int ExitStatus(pid_t pid) {
  int status = -1;  // not an exit: -1
  if (!ReapWithin(pid, std::chrono::seconds(120), &status)) EndChild(pid);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ProgramProcessTest, anEndSignalClosesTheWindowAndWritesTheSettings) {
  for (const int signal : {SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    TempFolder folder;
    // The trace's name is the fitter's: taken from the folder he started the program in.
    const pid_t pid = StartProgram(folder, {"--trace", "trace.txt"});
    ASSERT_GT(pid, 0);
    bool tried = false;
    for (int i = 0; i < 2400 && !tried; ++i) {
      tried = Slurp(folder / "trace.txt").find("COM1 open failed") != std::string::npos;
      if (!tried) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(tried) << Slurp(folder / "out.txt");
    ::kill(pid, signal);
    EXPECT_EQ(ExitStatus(pid), 0) << Slurp(folder / "out.txt");
    EXPECT_NE(Slurp(folder / "home/config/ORV/LPG2.reg").find("\"COMM\"=dword:00000001"), std::string::npos);
  }
}

TEST(ProgramProcessTest, usageVersionAndUnknownOptionsNeverOpenTheWindow) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string shows;
  };
  const std::vector<Case> cases = {
      {{"--help"}, 0, "--list-ports"},
      {{"-h"}, 0, "--compare A.orvp B.orvp"},
      {{"--version"}, 0, "MERVOLANTE LPG V1.61"},
      {{"--colour"}, 2, UiText(1358) + "--colour"},
      {{"a.orvp", "b.orvp"}, 2, "--export-csv"},
      {{"--list-ports"}, 0, "/tty1  (" + UiText(1340) + ")"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0]);
    TempFolder folder;
    EXPECT_EQ(ExitStatus(StartProgram(folder, c.args)), c.status);
    const std::string out = Slurp(folder / "out.txt");
    EXPECT_NE(out.find(c.shows), std::string::npos) << out;
    EXPECT_FALSE(std::filesystem::exists(folder / "env-trace.txt"));  // no window, no port
    EXPECT_FALSE(std::filesystem::exists(folder / "home/config"));
  }
}

TEST(ProgramProcessTest, commandLineNamesAreTakenFromTheCallersFolder) {
  TempFolder folder;
  ParameterBlock block = TypicalBlock();
  ASSERT_TRUE(SaveParameterFile(folder / "a.orvp", block));
  block[57] = 29;  // the TPS threshold
  ASSERT_TRUE(SaveParameterFile(folder / "b.orvp", block));
  EXPECT_EQ(ExitStatus(StartProgram(folder, {"--compare", "a.orvp", "b.orvp"})), 1)
      << Slurp(folder / "out.txt");
  EXPECT_NE(Slurp(folder / "out.txt").find("0.58 [V]"), std::string::npos);
}

#endif

}  // namespace
