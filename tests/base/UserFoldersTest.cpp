#include <gtest/gtest.h>

#include <string>

#include "base/FailureText.h"
#include "base/UiText.h"
#include "base/UserFolders.h"

namespace {

// Every choice of folder, for a program installed under /usr/lib and one run from its build
// tree, with the working folder writable or not and a folder remembered or not.
TEST(UserFoldersTest, dialogsRecordingsAndTheHelpDocumentFindTheirFolders) {
  struct Case {
    const char* what;
    std::string programDir, remembered;
    bool workingWritable, helpInWorkingFolder;
    std::string dialog, recordings, help;
  };
  const std::vector<Case> cases = {
      {"installed, started in the home folder", "/usr/lib/mervolante-lpg", "", true, false, "/home/f",
       "/home/f", "/usr/lib/mervolante-lpg/mervolante.rtf"},
      {"installed, started in a folder it may not write", "/usr/lib/mervolante-lpg", "", false, false,
       "/home/f", "/data/ORV/recordings", "/usr/lib/mervolante-lpg/mervolante.rtf"},
      {"installed, a folder remembered", "/usr/lib/mervolante-lpg", "/cars", false, false, "/cars",
       "/data/ORV/recordings", "/usr/lib/mervolante-lpg/mervolante.rtf"},
      {"build tree, a help document of the working folder's own", "/src/build", "", true, true, "/home/f",
       "/home/f", "/home/f/mervolante.rtf"},
      {"build tree, a folder remembered", "/src/build", "/cars", true, false, "/cars", "/home/f",
       "/src/build/mervolante.rtf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FolderFacts facts;
    facts.workingDir = "/home/f";
    facts.homeDir = "/home/f";
    facts.dataHome = "/data";
    facts.isWritableFolder = [&](const std::string& f) { return f == facts.workingDir && c.workingWritable; };
    facts.exists = [&](const std::string& p) {
      return c.helpInWorkingFolder && p == "/home/f/mervolante.rtf";
    };
    if (!c.workingWritable) facts.workingDir = "/";
    EXPECT_EQ(DialogStartFolder(c.remembered, facts), c.dialog);
    EXPECT_EQ(AutoRecordingFolder(facts), c.recordings);
    if (!c.workingWritable) facts.workingDir = "/home/f";
    EXPECT_EQ(HelpDocumentPath("mervolante.rtf", c.programDir, facts), c.help);
  }
}

// Every reason in words of the program's language, none in English.
TEST(UserFoldersTest, failureReasonsAreInTheProgramsLanguage) {
  for (int error : {ENOSPC, EACCES, EROFS, ENOENT, EISDIR, EFBIG, EIO, EBUSY, ENODEV})
    EXPECT_EQ(FailureReason(error).find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos);
  EXPECT_EQ(FailureReason(ENOSPC), "нет места на диске");
  EXPECT_EQ(FailureReason(12345), UiText(1312) + "12345");
}

}  // namespace
