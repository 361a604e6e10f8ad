#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "base/FileFlow.h"
#include "base/UiText.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

namespace {

// One table for saving and opening a file kind of its own (".kind") in a folder holding
// "old.kind" and "old.other". The dialog opens in "/remembered".
TEST(FileFlowTest, cancelledRefusedFailedAndDoneFilesAlongTheOneFlow) {
  const std::string big(50000, 'n');  // more than the full disk below takes
  struct Case {
    const char* what;
    bool save;
    const char* answer;  // nothing: cancelled
    bool readOnly, diskFull;
    int refusalId;        // what the reader says of the file
    std::string message;  // empty: none
    bool done;
  } cases[] = {
      {"save cancelled", true, nullptr, false, false, 0, "", false},
      {"save wrong extension", true, "old.other", false, false, 0, UiText(701), false},
      {"save read-only", true, "old.kind", true, false, 0, UiText(702) + " old.kind", false},
      {"save fails", true, "old.kind", false, true, 0, "", false},
      {"saved", true, "old.kind", false, false, 0, "", true},
      {"open cancelled", false, nullptr, false, false, 0, "", false},
      {"open wrong extension", false, "old.other", false, false, 0, UiText(701), false},
      {"open missing", false, "missing.kind", false, false, 0, UiText(702), false},
      {"open refused by the reader", false, "old.kind", false, false, 703, UiText(703) + " old.kind", false},
      {"opened", false, "old.kind", false, false, 0, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    for (const char* name : {"old.kind", "old.other"}) Put(folder / name, "old");
    if (c.readOnly) {
      ASSERT_EQ(chmod((folder / "old.kind").c_str(), 0444), 0);
    }
    ScriptedDialogs dialogs;
    dialogs.fileAnswers.push_back(c.answer ? std::optional(folder / c.answer) : std::nullopt);
    std::string remembered = "/remembered", loaded;
    const FileQuestion question{c.save ? FileDialogUse::SaveParameters : FileDialogUse::OpenParameters,
                                remembered, c.save ? "proposed.kind" : "",
                                [&](const std::string& f) { remembered = f; },
                                [](const std::string& path) { return path.ends_with(".kind"); }};
    bool done = false;
    if (c.save) {
      std::optional<FileSizeLimit> limit;
      if (c.diskFull) {
        ASSERT_TRUE(limit.emplace(20000).Applied());
      }
      done = SaveThroughDialog(dialogs, question, [&](const std::string& p, std::string* why) {
        return WriteFileAtomically(p, big, why);
      });
    } else {
      done = OpenThroughDialog(dialogs, question, [&](const std::string& p) {
        std::string bytes;
        if (!ReadWholeFile(p, bytes, 1000) || c.refusalId != 0) return FileRead{false, c.refusalId};
        loaded = bytes;
        return FileRead{true, 0};
      });
    }
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].initialDir, "/remembered");
    EXPECT_EQ(dialogs.fileRequests[0].proposedName, c.save ? "proposed.kind" : "");
    EXPECT_EQ(done, c.done);
    EXPECT_EQ(remembered, c.answer ? folder.Path() : "/remembered");  // also when refused
    // A full disk names the file and why, in the program's language.
    const std::string message =
        c.diskFull ? UiText(702) + " " + (folder / "old.kind") + ": " + UiText(1306) : c.message;
    EXPECT_EQ(dialogs.messages, message.empty() ? std::vector<std::string>{} : std::vector{message});
    EXPECT_EQ(Slurp(folder / "old.kind"), c.save && c.done ? big : "old");  // a refused file is kept
    EXPECT_EQ(Slurp(folder / "old.other"), "old");
    EXPECT_EQ(loaded, !c.save && c.done ? "old" : "");  // nothing loaded from a file not read
  }
}

}  // namespace
