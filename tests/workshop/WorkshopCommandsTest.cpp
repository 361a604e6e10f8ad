// The workshop commands as a fitter's script runs them: the program without a window against
// the simulator on a pseudo-terminal, its exit status and what it leaves behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/UiText.h"
#include "firmware/FirmwareImage.h"
#include "model/ReadingHistory.h"
#include "monitor/RecordingFile.h"
#include "params/ParameterFiles.h"
#include "params/ParameterTestBlocks.h"
#include "support/ChildProcess.h"
#include "support/SimulatorProcess.h"
#include "support/TempFolder.h"

namespace {

// The program run in folder with args, its settings and data in folder/home, the ports of
// `pattern`, stdin from `input`; its output in folder/out.txt. Returns the exit status.
int RunProgram(const TempFolder& folder, const std::vector<std::string>& args, const std::string& pattern,
               const std::string& input = "") {
  Put(folder / "in.txt", input);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const std::string home = folder / "home";
    ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    ::setenv("ORV_COMM_PATTERN", pattern.c_str(), 1);
    ExecInFolder(folder.Path(), ORV_PROGRAM_PATH, args, true);
  }
  int status = -1;
  if (!ReapWithin(pid, std::chrono::seconds(180), &status)) EndChild(pid);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The simulator's parameter memory, asked for now: the next "MEMORY" line of its log.
std::vector<int> SimulatorMemory(SimulatorProcess& sim) {
  auto lines = [&] {
    std::size_t n = 0;
    for (const std::string& l : sim.LogLines()) n += l.compare(0, 7, "MEMORY ") == 0;
    return n;
  };
  const std::size_t before = lines();
  sim.Send("memory");
  for (int i = 0; i < 12000 && lines() == before; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return sim.LastMemory();
}

std::vector<int> Bytes(const ParameterBlock& block, int first, int last) {
  return std::vector<int>(block.begin() + first, block.begin() + last + 1);
}

class WorkshopCommandsTest : public ::testing::Test {
 protected:
  void Start(std::vector<std::string> options = {}) {
    sim = std::make_unique<SimulatorProcess>(std::move(options));
    ASSERT_TRUE(sim->Started()) << sim->StartError();
  }
  int Run(const std::vector<std::string>& args, const std::string& input = "") {
    return RunProgram(folder, args, sim ? sim->Pattern() : folder / "none%d", input);
  }
  std::string Output() const { return Slurp(folder / "out.txt"); }

  TempFolder folder;
  std::unique_ptr<SimulatorProcess> sim;
};

TEST_F(WorkshopCommandsTest, readWritesTheSimulatorsParameterMemory) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_EQ(Run({"--read", "car.orvp"}), 0) << Output();
  const LoadedParameterFile file = LoadParameterFile(folder / "car.orvp");
  ASSERT_EQ(file.status, ParameterFileStatus::Loaded);
  EXPECT_EQ(Bytes(file.bytes, 0, 104), SimulatorMemory(*sim));
}

TEST_F(WorkshopCommandsTest, writeLeavesTheControllerHoldingTheFileThoughWritesAreDropped) {
  ASSERT_NO_FATAL_FAILURE(Start({"--drop-writes", "0.2"}));
  ASSERT_EQ(Run({"--read", "car.orvp"}), 0) << Output();
  LoadedParameterFile file = LoadParameterFile(folder / "car.orvp");
  for (int i = 32; i <= 72; i += 2) file.bytes[static_cast<std::size_t>(i)] ^= 1;
  ASSERT_TRUE(SaveParameterFile(folder / "changed.orvp", file.bytes));
  ASSERT_EQ(Run({"--write", "changed.orvp", "--yes"}), 0) << Output();
  EXPECT_NE(Output().find(UiText(1429)), std::string::npos);
  const std::vector<int> memory = SimulatorMemory(*sim);
  ASSERT_EQ(memory.size(), 105u);
  EXPECT_EQ(std::vector<int>(memory.begin() + 16, memory.end()), Bytes(file.bytes, 16, 104));
  // The controller was backed up before the writes, as the window does.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "home/data/ORV/backup"),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(WorkshopCommandsTest, recordGivesAFileTheRecordingReaderTakes) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_EQ(Run({"--record", "5", "drive.orvv"}), 0) << Output();
  const std::string bytes = Slurp(folder / "drive.orvv");
  ASSERT_EQ(bytes.size(), kRecordingBytes);
  ParameterBlock block{};
  ReadingHistory history;
  ASSERT_EQ(LoadRecording(bytes, block, history), ReadingHistory::kRecords);
  EXPECT_EQ(Bytes(block, 0, 104), SimulatorMemory(*sim));
  // Every sample the program counted is a record of the file, the newest last.
  const std::string said = UiText(1435);
  const std::size_t at = Output().find(said);
  ASSERT_NE(at, std::string::npos) << Output();
  const int samples = std::stoi(Output().substr(at + said.size()));
  EXPECT_GE(samples, 50);
  int filled = 0;
  for (const LiveReadings& record : history.Records())
    filled += std::any_of(record.begin() + 1, record.begin() + 15, [](std::uint8_t b) { return b != 0; });
  EXPECT_EQ(filled, samples);
  const LiveReadings& newest = history.Records().back();
  EXPECT_TRUE(std::any_of(newest.begin() + 1, newest.begin() + 15, [](std::uint8_t b) { return b != 0; }));
}

TEST_F(WorkshopCommandsTest, programDeliversTheImageIntact) {
  ASSERT_NO_FATAL_FAILURE(Start({"--received", folder / "received.bin"}));
  std::vector<std::uint8_t> plain(4096);
  for (std::size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  ImageInfo info;
  info.target = 0x64;
  info.version = 161;
  const std::vector<std::uint8_t> image = BuildImageFile(plain, info, "TELK100 test");
  Put(folder / "new.img", std::string(image.begin(), image.end()));
  ASSERT_EQ(Run({"--program", "new.img", "--yes"}), 0) << Output();
  const std::string received = Slurp(folder / "received.bin");
  ASSERT_GE(received.size(), plain.size());
  EXPECT_EQ(received.substr(0, plain.size()), std::string(plain.begin(), plain.end()));
  EXPECT_EQ(received.find_first_not_of('\0', plain.size()), std::string::npos);
  EXPECT_NE(Output().find(UiText(1433) + "100 %"), std::string::npos);
}

TEST_F(WorkshopCommandsTest, exitStatusTellsWhatHappened) {
  ASSERT_TRUE(SaveParameterFile(folder / "good.orvp", TypicalBlock()));
  Put(folder / "short.orvp", "abc");
  ImageInfo other;
  other.target = 0x32;  // a TELK50's program
  const std::vector<std::uint8_t> image = BuildImageFile(std::vector<std::uint8_t>(64, 1), other, "TELK50");
  Put(folder / "other.img", std::string(image.begin(), image.end()));
  ImageInfo fitting;
  fitting.target = 0x64;
  const std::vector<std::uint8_t> fit = BuildImageFile(std::vector<std::uint8_t>(64, 1), fitting, "TELK100");
  Put(folder / "fit.img", std::string(fit.begin(), fit.end()));
  const struct {
    std::vector<std::string> args;
    bool simulator;
    std::string input;
    int status;
    std::string says;
  } cases[] = {
      {{"--read", "a.orvp"}, false, "", 3, UiText(1426)},
      {{"--read", "a.txt"}, false, "", 2, UiText(701)},
      {{"--read", "a.orvp", "--port", "COM9"}, false, "", 2, "COM9"},
      {{"--write", "missing.orvp"}, false, "", 2, UiText(702)},
      {{"--write", "short.orvp"}, false, "", 2, UiText(703)},
      {{"--record", "0", "r.orvv"}, false, "", 2, UiText(1434)},
      {{"--report", "missing.orvp"}, false, "", 2, UiText(702)},
      {{"--report", "good.orvp", "good.pdf"}, false, "", 0, UiText(1431) + "good.pdf"},
      {{"--write", "good.orvp"}, true, "n\n", 1, UiText(1428)},
      {{"--program", "other.img", "--yes"}, true, "", 1, UiText(1432)},
      {{"--program", "fit.img"}, true, "n\n", 1, UiText(1428)},
      {{"--read", "b.orvp", "--port", "COM1"}, true, "", 0, UiText(1431) + "b.orvp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    if (c.simulator && !sim) {
      ASSERT_NO_FATAL_FAILURE(Start());
    }
    const std::string pattern = c.simulator ? sim->Pattern() : folder / "none%d";
    EXPECT_EQ(RunProgram(folder, c.args, pattern, c.input), c.status);
    EXPECT_NE(Output().find(c.says), std::string::npos) << Output();
  }
  EXPECT_GT(std::filesystem::file_size(folder / "good.pdf"), 1000u);
}

}  // namespace
