#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "ParameterTestBlocks.h"
#include "base/UiText.h"
#include "params/ParameterBackup.h"
#include "params/ParameterFiles.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

ParameterBlock Counting() {
  ParameterBlock b{};
  for (int i = 0; i < 256; ++i) b[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return b;
}

TEST(ParameterFiles, ExtensionIsOrvpInEitherCase) {
  for (const char* good : {"a.orvp", "/x/y/A.ORVP", "b.OrVp", "dir.v/c.orvp"})
    EXPECT_TRUE(HasParameterExtension(good)) << good;
  for (const char* bad : {"a.orvv", "a", "/x.orvp/a", "a.orvp.bak", "orvp", "a.orv"})
    EXPECT_FALSE(HasParameterExtension(bad)) << bad;
}

TEST(ParameterFiles, SaveAndLoadRoundTripAllBytes) {
  TempFolder folder;
  const ParameterBlock block = Counting();
  ASSERT_TRUE(SaveParameterFile(folder / "p.orvp", block));
  EXPECT_EQ(ReadAll(folder / "p.orvp").size(), 256u);
  const LoadedParameterFile loaded = LoadParameterFile(folder / "p.orvp");
  ASSERT_EQ(loaded.status, ParameterFileStatus::Loaded);
  EXPECT_EQ(loaded.bytes, block);

  // A fresh block saves as 256 bytes of 255.
  ASSERT_TRUE(SaveParameterFile(folder / "fresh.orvp", FreshParameterBlock()));
  EXPECT_EQ(ReadAll(folder / "fresh.orvp"), std::string(256, '\xFF'));
}

TEST(ParameterFiles, ReadOnlyFileLoadsAFileOfAnyOtherSizeIsRefused) {
  TempFolder folder;
  const ParameterBlock block = Counting();
  const std::string bytes(reinterpret_cast<const char*>(block.data()), 256);
  WriteAll(folder / "ro.orvp", bytes);
  ASSERT_EQ(::chmod((folder / "ro.orvp").c_str(), 0444), 0);
  EXPECT_EQ(LoadParameterFile(folder / "ro.orvp").status, ParameterFileStatus::Loaded);

  for (std::size_t size : {0, 255, 256, 257, 1 << 20}) {
    WriteAll(folder / "sized.orvp", (bytes + std::string(size, 'x')).substr(0, size));
    const LoadedParameterFile loaded = LoadParameterFile(folder / "sized.orvp");
    EXPECT_EQ(loaded.status, size == 256 ? ParameterFileStatus::Loaded : ParameterFileStatus::WrongSize)
        << size;
    EXPECT_EQ(loaded.bytes, size == 256 ? block : ParameterBlock{}) << size;
  }

  EXPECT_EQ(LoadParameterFile(folder / "missing.orvp").status, ParameterFileStatus::CannotOpen);
  EXPECT_EQ(LoadParameterFile(folder.Path()).status, ParameterFileStatus::CannotOpen);
  ASSERT_EQ(::mkfifo((folder / "fifo.orvp").c_str(), 0644), 0);
  EXPECT_EQ(LoadParameterFile(folder / "fifo.orvp").status, ParameterFileStatus::CannotOpen);
}

TEST(ParameterFiles, FailedSaveLeavesThePreviousFile) {
  TempFolder folder;
  ASSERT_TRUE(SaveParameterFile(folder / "p.orvp", Counting()));
  std::string error;
  {
    FileSizeLimit full(100);  // the disk fills up part way through the write
    ASSERT_TRUE(full.Applied());
    EXPECT_FALSE(SaveParameterFile(folder / "p.orvp", FreshParameterBlock(), &error));
  }
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(LoadParameterFile(folder / "p.orvp").bytes, Counting());
  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder.Path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(ParameterFiles, ControllerKeepsItsHeaderFileModeTakesEverythingUpTo104) {
  const ParameterBlock file = Counting();
  ParameterBlock block = FreshParameterBlock();
  CopyFileToController(file, block);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(block[i], i >= 16 && i <= 104 ? file[i] : 255) << i;
  block = FreshParameterBlock();
  CopyFileForViewing(file, block);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(block[i], i <= 104 ? file[i] : 255) << i;
  EXPECT_EQ(FolderOf("/a/b/c.orvp"), "/a/b");
  EXPECT_EQ(FolderOf("/c.orvp"), "/");
  EXPECT_EQ(FileNameOf("/a/b/c.orvp"), "c.orvp");
}

std::time_t LocalTime(int year, int month, int day, int h, int m, int s) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = h;
  t.tm_min = m;
  t.tm_sec = s;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

TEST(ParameterBackup, NamedByTimeTypeAndVersionAndLoadableAsParameterFile) {
  TempFolder folder;
  const ParameterBlock block = TypicalBlock();
  const std::time_t when = LocalTime(2026, 12, 8, 14, 30, 5);
  EXPECT_EQ(BackupFileName(block, when), "20261208-143005-TELK100-V1.45.orvp");
  ParameterBlock other = block;
  other[0] = 0x11;
  EXPECT_EQ(BackupFileName(other, when), "20261208-143005-TYPE11-V1.45.orvp");

  const std::string target = folder / "deep/backup";
  const BackupResult r = MakeParameterBackup(block, target, when);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.path, target + "/20261208-143005-TELK100-V1.45.orvp");
  EXPECT_EQ(LoadParameterFile(r.path).bytes, block);
  EXPECT_NE(BackupLogLine(r).find(r.path), std::string::npos);

  const BackupResult again = MakeParameterBackup(block, target, when);  // same second: a name of its own
  ASSERT_TRUE(again.ok);
  EXPECT_NE(again.path, r.path);
  EXPECT_TRUE(fs::exists(r.path));
}

TEST(ParameterBackup, KeepsTheNewestHundredAndLeavesOtherFiles) {
  TempFolder folder;
  WriteAll(folder / "mine.orvp", "not a backup");
  const std::time_t start = LocalTime(2026, 1, 1, 0, 0, 0);
  for (int i = 0; i < 103; ++i)
    ASSERT_TRUE(MakeParameterBackup(TypicalBlock(), folder.Path(), start + 60 * i).ok);
  int backups = 0;
  for (const auto& e : fs::directory_iterator(folder.Path())) backups += e.path().filename() != "mine.orvp";
  EXPECT_EQ(backups, 100);
  EXPECT_TRUE(fs::exists(folder / "mine.orvp"));
  EXPECT_FALSE(fs::exists(folder / BackupFileName(TypicalBlock(), start + 120)));
  EXPECT_TRUE(fs::exists(folder / BackupFileName(TypicalBlock(), start + 180)));
}

TEST(ParameterBackup, FolderThatCannotBeMadeIsReported) {
  TempFolder folder;
  WriteAll(folder / "file", "x");
  const BackupResult r = MakeParameterBackup(TypicalBlock(), folder / "file/backup", 0);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.empty());
  EXPECT_NE(BackupLogLine(r).find(r.error), std::string::npos);
  // The reason in the program's language, for a folder and for a full disk alike.
  EXPECT_EQ(r.error, folder / "file/backup" + ": " + UiText(1304));
  FileSizeLimit full(100);
  ASSERT_TRUE(full.Applied());
  const BackupResult cut = MakeParameterBackup(TypicalBlock(), folder / "backup", 0);
  EXPECT_EQ(cut.error, folder / "backup" + "/" + BackupFileName(TypicalBlock(), 0) + ": " + UiText(1306));
}

TEST(ParameterBackup, FolderFollowsXdgDataHome) {
  const char* old = std::getenv("XDG_DATA_HOME");
  const std::string saved = old ? old : "";
  setenv("XDG_DATA_HOME", "/data/home", 1);
  EXPECT_EQ(DefaultBackupFolder(), "/data/home/ORV/backup");
  setenv("XDG_DATA_HOME", "relative", 1);
  EXPECT_EQ(DefaultBackupFolder(), std::string(std::getenv("HOME")) + "/.local/share/ORV/backup");
  if (old)
    setenv("XDG_DATA_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
}

}  // namespace
