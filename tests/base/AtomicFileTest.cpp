#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return dir_ / name; }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_.Path())) names.push_back(e.path().filename());
    return names;
  }

  TempFolder dir_;
};

TEST_F(AtomicFileTest, WritesNewFileWithExactBytesAndNoTemporaryLeft) {
  const std::string bytes("a\0b\xff\r\n", 6);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(PathOf("new.bin"), bytes, &error)) << error;
  EXPECT_EQ(Slurp(PathOf("new.bin")), bytes);
  EXPECT_EQ(Entries(), std::vector<std::string>{"new.bin"});
  struct stat st {};
  ASSERT_EQ(::stat(PathOf("new.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST_F(AtomicFileTest, WritesEmptyFile) {
  Put(PathOf("f"), "old");
  ASSERT_TRUE(WriteFileAtomically(PathOf("f"), ""));
  EXPECT_EQ(Slurp(PathOf("f")), "");
}

TEST_F(AtomicFileTest, ReplacesExistingFileAndKeepsItsPermissions) {
  Put(PathOf("f"), "old contents that are longer");
  ASSERT_EQ(::chmod(PathOf("f").c_str(), 0600), 0);
  ASSERT_TRUE(WriteFileAtomically(PathOf("f"), "new"));
  EXPECT_EQ(Slurp(PathOf("f")), "new");
  struct stat st {};
  ASSERT_EQ(::stat(PathOf("f").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(Entries(), std::vector<std::string>{"f"});
}

TEST_F(AtomicFileTest, FailsWithMessageWhenFolderIsMissing) {
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(PathOf("missing/f"), "x", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(fs::exists(PathOf("missing")));
}

TEST_F(AtomicFileTest, RefusesToReplaceAFolder) {
  fs::create_directory(PathOf("sub"));
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(PathOf("sub"), "x", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::is_directory(PathOf("sub")));
}

TEST_F(AtomicFileTest, FailedWriteKeepsOldFileAndRemovesTemporary) {
  Put(PathOf("f"), "old");
  // A file size limit makes the write of the temporary file fail part way, for any user.
  FileSizeLimit limit(16);
  ASSERT_TRUE(limit.Applied());
  std::string error;
  const bool ok = WriteFileAtomically(PathOf("f"), std::string(4096, 'n'), &error);
  limit.Lift();

  EXPECT_FALSE(ok);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Slurp(PathOf("f")), "old");
  EXPECT_EQ(Entries(), std::vector<std::string>{"f"});
}

TEST_F(AtomicFileTest, ReadsWholeFileUpToTheLimit) {
  Put(PathOf("f"), std::string(100, 'x'));
  std::string out = "previous";
  ASSERT_TRUE(ReadWholeFile(PathOf("f"), out, 100));
  EXPECT_EQ(out, std::string(100, 'x'));

  Put(PathOf("empty"), "");
  ASSERT_TRUE(ReadWholeFile(PathOf("empty"), out, 100));
  EXPECT_EQ(out, "");
}

TEST_F(AtomicFileTest, RefusesFileOneByteOverTheLimitAndLeavesOutputAlone) {
  Put(PathOf("f"), std::string(101, 'x'));
  std::string out = "previous";
  std::string error;
  EXPECT_FALSE(ReadWholeFile(PathOf("f"), out, 100, &error));
  EXPECT_EQ(out, "previous");
  EXPECT_FALSE(error.empty());
}

TEST_F(AtomicFileTest, ReadsLargerThanOneBufferWithoutLosingBytes) {
  std::string big;
  for (int i = 0; i < 300000; ++i) big.push_back(static_cast<char>(i * 7));
  Put(PathOf("big"), big);
  std::string out;
  ASSERT_TRUE(ReadWholeFile(PathOf("big"), out, big.size()));
  EXPECT_EQ(out, big);
}

TEST_F(AtomicFileTest, RefusesMissingFileFolderAndFifo) {
  fs::create_directory(PathOf("sub"));
  ASSERT_EQ(::mkfifo(PathOf("fifo").c_str(), 0600), 0);
  for (const std::string name : {"missing", "sub", "fifo"}) {
    std::string out = "previous";
    std::string error;
    EXPECT_FALSE(ReadWholeFile(PathOf(name), out, 1000, &error)) << name;
    EXPECT_EQ(out, "previous") << name;
    EXPECT_FALSE(error.empty()) << name;
  }
}

}  // namespace
