// Saving when the disk is full (the file-size limit cuts the write part way) or the file
// cannot be made at all (its folder is missing, or is a file): the user is told, the file
// that was there before is unchanged, and no temporary file is left behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/AtomicFile.h"
#include "base/UiText.h"
#include "link/ControllerLink.h"
#include "monitor/RecordingCsv.h"
#include "monitor/RecordingFile.h"
#include "params/ParameterBackup.h"
#include "params/ParameterFiles.h"
#include "params/ParameterTransfer.h"
#include "support/FakeSerialPort.h"
#include "support/FileSizeLimit.h"
#include "support/LinkTestAccess.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedLinkHost.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes, 1u << 24)) << path;
  return bytes;
}

int FilesIn(const std::string& folder) {
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
  return n;
}

struct TransferHost : ParameterTransferHost {
  std::string& DirOpen() override { return dir; }
  std::string& DirSave() override { return dir; }
  std::string FileNameBase() const override { return "car"; }
  void SetOpenedFileName(const std::string&) override {}
  ::ConnectionMode ConnectionMode() const override { return ::ConnectionMode::Controller; }
  void DependentDefaultsForSelectedRow() override {}
  void MakeAutomaticBackup() override {}
  std::string dir;
};

// The places a save cannot go: a missing folder and a "folder" that is a file.
std::vector<std::string> UnwritablePaths(const TempFolder& folder, const std::string& name) {
  const std::string file = folder.Path() + "/plain-file";
  if (!fs::exists(file)) {
    EXPECT_TRUE(WriteFileAtomically(file, "x"));
  }
  return {folder.Path() + "/missing/" + name, file + "/" + name};
}

ParameterBlock Pattern(std::uint8_t seed) {
  ParameterBlock b{};
  for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(seed + i);
  return b;
}

}  // namespace

TEST(FullDisk, parameterFileSaveTellsTheUserAndKeepsThePreviousFile) {
  TempFolder folder;
  FakeSerialPort port;
  ScriptedLinkHost linkHost;
  ReadingHistory history;
  ControllerLink link(port, linkHost, linkHost, history);
  TransferHost host;
  ScriptedDialogs dialogs;
  ParameterTransfer transfer(link, linkHost, host, dialogs);

  const std::string path = folder.Path() + "/car.orvp";
  ASSERT_TRUE(SaveParameterFile(path, Pattern(1)));
  const std::string before = Contents(path);
  LinkTestAccess::Block(link) = Pattern(99);
  {
    FileSizeLimit full(100);
    ASSERT_TRUE(full.Applied());
    dialogs.fileAnswers.push_back(path);
    transfer.BtnSaveParClick();
  }
  // The message names the file and why, in the program's language.
  ASSERT_EQ(dialogs.messages, std::vector<std::string>{UiText(702) + " " + path + ": " + UiText(1306)});
  EXPECT_EQ(Contents(path), before);
  EXPECT_EQ(FilesIn(folder.Path()), 1);

  for (const std::string& bad : UnwritablePaths(folder, "car.orvp")) {
    dialogs.messages.clear();
    dialogs.fileAnswers.push_back(bad);
    transfer.BtnSaveParClick();
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{UiText(702) + " " + bad + ": " + UiText(1304)})
        << bad;
  }
}

TEST(FullDisk, csvExportOfARecordingFailsWithTheReasonAndKeepsThePreviousCsv) {
  TempFolder folder;
  ParameterBlock block = Pattern(3);
  ReadingHistory history;
  for (int k = 0; k < ReadingHistory::kRecords; ++k) history.At(k).fill(static_cast<std::uint8_t>(k | 1));
  const std::string recording = folder.Path() + "/drive.orvv";
  ASSERT_TRUE(WriteFileAtomically(recording, RecordingBytes(block, history, false)));
  const std::string csv = folder.Path() + "/drive.csv";
  ASSERT_TRUE(WriteFileAtomically(csv, "previous export\r\n"));

  std::string error;
  {
    FileSizeLimit full(4096);
    ASSERT_TRUE(full.Applied());
    EXPECT_EQ(ExportRecordingCsv(recording, csv, &error), 1);
  }
  EXPECT_NE(error.find(csv), std::string::npos) << error;
  EXPECT_EQ(Contents(csv), "previous export\r\n");
  EXPECT_EQ(FilesIn(folder.Path()), 2);

  for (const std::string& bad : UnwritablePaths(folder, "drive.csv")) {
    error.clear();
    EXPECT_EQ(ExportRecordingCsv(recording, bad, &error), 1) << bad;
    EXPECT_NE(error.find(bad), std::string::npos) << error;
  }
  EXPECT_EQ(ExportRecordingCsv(recording, csv, &error), 0) << error;  // room again: it works
  EXPECT_NE(Contents(csv), "previous export\r\n");
}

TEST(FullDisk, recordingSaveCutShortKeepsThePreviousRecording) {
  TempFolder folder;
  ReadingHistory history;
  const std::string path = folder.Path() + "/drive.orvv";
  ASSERT_TRUE(WriteFileAtomically(path, RecordingBytes(Pattern(5), history, false)));
  const std::string before = Contents(path);
  history.At(7).fill(0x42);
  std::string error;
  {
    FileSizeLimit full(30000);
    ASSERT_TRUE(full.Applied());
    EXPECT_FALSE(WriteFileAtomically(path, RecordingBytes(Pattern(6), history, true), &error));
  }
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Contents(path), before);
  EXPECT_EQ(FilesIn(folder.Path()), 1);
}

TEST(FullDisk, backupThatCannotBeWrittenSaysSoInTheLogAndLeavesOlderBackups) {
  TempFolder folder;
  const std::string backups = folder.Path() + "/backup";
  const BackupResult first = MakeParameterBackup(Pattern(1), backups, 1000);
  ASSERT_TRUE(first.ok) << first.error;
  const std::string before = Contents(first.path);

  BackupResult cut;
  {
    FileSizeLimit full(100);
    ASSERT_TRUE(full.Applied());
    cut = MakeParameterBackup(Pattern(2), backups, 2000);
  }
  EXPECT_FALSE(cut.ok);
  EXPECT_FALSE(cut.error.empty());
  EXPECT_NE(BackupLogLine(cut).find(cut.error), std::string::npos);
  EXPECT_EQ(BackupLogLine(cut).find(first.path), std::string::npos);
  EXPECT_EQ(Contents(first.path), before);
  EXPECT_EQ(FilesIn(backups), 1);

  // A backup folder that is missing is made; one whose place is taken by a file cannot be.
  const std::string blocked = UnwritablePaths(folder, "backup")[1];
  const BackupResult r = MakeParameterBackup(Pattern(3), blocked, 3000);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(BackupLogLine(r).find(r.error), std::string::npos);
}
