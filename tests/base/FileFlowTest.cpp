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

constexpr const char* kRemembered = "/remembered";

// A file kind of its own: names ending in ".kind".
bool IsKind(const std::string& path) { return path.size() > 5 && path.ends_with(".kind"); }

struct FlowRig {
  TempFolder folder;
  ScriptedDialogs dialogs;
  std::string remembered = kRemembered;
  int calls = 0;  // writes or reads asked of the callback

  FileQuestion Question(FileDialogUse use, const std::string& proposed) {
    return {use, remembered, proposed, [this](const std::string& f) { remembered = f; }, IsKind};
  }
  void Answer(const char* name) {
    if (name)
      dialogs.fileAnswers.push_back(folder / name);
    else
      dialogs.fileAnswers.push_back(std::nullopt);
  }
};

struct Expected {
  bool done;
  bool folderRemembered;
  std::string message;  // empty: none shown
};

std::vector<std::string> Shown(const Expected& e) {
  if (e.message.empty()) return {};
  return {e.message};
}

TEST(FileFlowTest, saveAsksRemembersChecksAndKeepsTheOldFileOnEveryRefusal) {
  const std::string big(50000, 'n');  // larger than the size limit of the failing write
  struct Case {
    const char* what;
    const char* answer;  // nothing: cancelled
    bool readOnly;
    bool diskFull;
    Expected expected;
    bool written;
  } cases[] = {
      {"cancelled", nullptr, false, false, {false, false, ""}, false},
      {"wrong extension", "old.other", false, false, {false, true, UiText(701)}, false},
      {"read-only", "old.kind", true, false, {false, true, UiText(702) + " old.kind"}, false},
      {"write fails", "old.kind", false, true, {false, true, UiText(702)}, false},
      {"written", "old.kind", false, false, {true, true, ""}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FlowRig rig;
    for (const char* name : {"old.kind", "old.other"}) Put(rig.folder / name, "old");
    if (c.readOnly) {
      ASSERT_EQ(chmod((rig.folder / "old.kind").c_str(), 0444), 0);
    }
    rig.Answer(c.answer);
    bool done = false;
    {
      std::optional<FileSizeLimit> limit;
      if (c.diskFull) {
        ASSERT_TRUE(limit.emplace(20000).Applied());
      }
      done = SaveThroughDialog(rig.dialogs, rig.Question(FileDialogUse::SaveParameters, "proposed.kind"),
                               [&](const std::string& path) {
                                 ++rig.calls;
                                 return WriteFileAtomically(path, big);
                               });
    }
    ASSERT_EQ(rig.dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(rig.dialogs.fileRequests[0].use, FileDialogUse::SaveParameters);
    EXPECT_EQ(rig.dialogs.fileRequests[0].initialDir, kRemembered);
    EXPECT_EQ(rig.dialogs.fileRequests[0].proposedName, "proposed.kind");
    EXPECT_EQ(done, c.expected.done);
    EXPECT_EQ(rig.remembered, c.expected.folderRemembered ? rig.folder.Path() : kRemembered);
    EXPECT_EQ(rig.dialogs.messages, Shown(c.expected));
    EXPECT_EQ(rig.calls, c.diskFull || c.written ? 1 : 0);  // a protected file is not even tried
    EXPECT_EQ(Slurp(rig.folder / "old.kind"), c.written ? big : "old");
    EXPECT_EQ(Slurp(rig.folder / "old.other"), "old");
  }
}

TEST(FileFlowTest, openAsksRemembersChecksAndLoadsNothingFromAFileItCannotRead) {
  struct Case {
    const char* what;
    const char* answer;
    int refusalId;  // what the reader says of a file it can read but not take
    Expected expected;
    std::string loaded;
  } cases[] = {
      {"cancelled", nullptr, 0, {false, false, ""}, ""},
      {"wrong extension", "there.other", 0, {false, true, UiText(701)}, ""},
      {"missing", "missing.kind", 0, {false, true, UiText(702)}, ""},
      {"refused by the reader", "there.kind", 703, {false, true, UiText(703) + " there.kind"}, ""},
      {"read", "there.kind", 0, {true, true, ""}, "content"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FlowRig rig;
    for (const char* name : {"there.kind", "there.other"}) Put(rig.folder / name, "content");
    rig.Answer(c.answer);
    std::string loaded;
    const bool done = OpenThroughDialog(rig.dialogs, rig.Question(FileDialogUse::OpenRecording, ""),
                                        [&](const std::string& path) {
                                          ++rig.calls;
                                          std::string bytes;
                                          if (!ReadWholeFile(path, bytes, 1000)) return FileRead{false, 0};
                                          if (c.refusalId != 0) return FileRead{false, c.refusalId};
                                          loaded = bytes;
                                          return FileRead{true, 0};
                                        });
    ASSERT_EQ(rig.dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(rig.dialogs.fileRequests[0].use, FileDialogUse::OpenRecording);
    EXPECT_EQ(rig.dialogs.fileRequests[0].initialDir, kRemembered);
    EXPECT_EQ(done, c.expected.done);
    EXPECT_EQ(rig.remembered, c.expected.folderRemembered ? rig.folder.Path() : kRemembered);
    EXPECT_EQ(rig.dialogs.messages, Shown(c.expected));
    EXPECT_EQ(rig.calls, c.answer && IsKind(c.answer) ? 1 : 0);
    EXPECT_EQ(loaded, c.loaded);
  }
}

}  // namespace
