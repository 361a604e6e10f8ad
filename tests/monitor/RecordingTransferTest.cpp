#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "base/AtomicFile.h"
#include "base/UiText.h"
#include "monitor/RecordingTransfer.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

namespace {

// The file dialog is modal, but the transmit timer goes on firing while it is open.
class DialogsWhileSampling : public ScriptedDialogs {
 public:
  std::function<void()> whileOpen;
  std::optional<std::string> AskFileName(const FileDialogRequest& request) override {
    if (whileOpen) whileOpen();
    return ScriptedDialogs::AskFileName(request);
  }
};

// The recordings without a window: the main window's part is a few fields.
struct RecordingRig {
  DialogsWhileSampling dialogs;
  ParameterBlock block = FreshParameterBlock();
  ReadingHistory history;
  std::string saveFolder = "/save", openFolder = "/open", opened;
  bool polling = true;
  RecordingHooks hooks;

  RecordingRig() {
    hooks.parameters = [this]() -> ParameterBlock& { return block; };
    hooks.service = [] { return false; };
    hooks.stopPolling = [this] { polling = false; };
    hooks.recordingOpened = [this](const std::string& path) { opened = path; };
    hooks.folder = [this](bool save) { return save ? saveFolder : openFolder; };
    hooks.setFolder = [this](bool save, const std::string& f) { (save ? saveFolder : openFolder) = f; };
  }
  void Sample(std::uint8_t rpm) {
    history.Advance();
    history.Current()[3] = rpm;
  }
};

TEST(RecordingTransferTest, aRecordingGoesThroughTheFileFlowAndComesBackInTimeOrder) {
  TempFolder folder;
  RecordingRig rig;
  rig.block[0] = 0x64;
  for (int i = 0; i < 3610; ++i) rig.Sample(static_cast<std::uint8_t>(i % 200 + 1));  // the ring wrapped
  ASSERT_TRUE(rig.history.HasUnsavedSamples());

  // A cancelled save changes nothing.
  EXPECT_FALSE(SaveRecordingThroughDialog(rig.dialogs, rig.hooks, rig.history, "drive1234.orvv"));
  EXPECT_EQ(rig.saveFolder, "/save");
  EXPECT_TRUE(rig.history.HasUnsavedSamples());

  const std::string path = folder / "drive.orvv";
  rig.dialogs.fileAnswers.push_back(path);
  ASSERT_TRUE(SaveRecordingThroughDialog(rig.dialogs, rig.hooks, rig.history, "drive1234.orvv"));
  EXPECT_EQ(rig.dialogs.fileRequests.back().use, FileDialogUse::SaveRecording);
  EXPECT_EQ(rig.dialogs.fileRequests.back().initialDir, "/save");
  EXPECT_EQ(rig.dialogs.fileRequests.back().proposedName, "drive1234.orvv");
  EXPECT_EQ(rig.saveFolder, folder.Path());
  EXPECT_EQ(rig.openFolder, "/open");
  EXPECT_FALSE(rig.history.HasUnsavedSamples());
  EXPECT_TRUE(rig.dialogs.messages.empty());

  // Opened into another window's state: the same block and records, the newest last.
  RecordingRig other;
  other.history.SetScopeCursor(17);
  other.dialogs.fileAnswers.push_back(path);
  ASSERT_TRUE(OpenRecordingThroughDialog(other.dialogs, other.hooks, other.history));
  EXPECT_EQ(other.dialogs.fileRequests.back().use, FileDialogUse::OpenRecording);
  EXPECT_EQ(other.dialogs.fileRequests.back().initialDir, "/open");
  EXPECT_EQ(other.openFolder, folder.Path());
  EXPECT_EQ(other.opened, path);
  EXPECT_FALSE(other.polling);
  EXPECT_EQ(other.block, rig.block);
  EXPECT_EQ(other.history.ScopeCursor(), ReadingHistory::kRecords - 1);
  for (int k = 0; k < ReadingHistory::kRecords; ++k)
    ASSERT_EQ(other.history.At(k),
              rig.history.At((rig.history.ScopeCursor() + 1 + k) % ReadingHistory::kRecords))
        << k;
  // Saving it again writes the same file.
  const std::string again = folder / "again.orvv";
  other.dialogs.fileAnswers.push_back(again);
  ASSERT_TRUE(SaveRecordingThroughDialog(other.dialogs, other.hooks, other.history, "x.orvv"));
  EXPECT_TRUE(Slurp(again) == Slurp(path));
}

TEST(RecordingTransferTest, openingAFileThatIsNoRecordingLeavesTheHistoryAndPollingAlone) {
  TempFolder folder;
  Put(folder / "drive.orvp", std::string(57856, '\x05'));
  RecordingRig rig;
  rig.Sample(9);
  const ReadingHistory before = rig.history;
  struct Case {
    std::string answer;
    std::string message;
  } cases[] = {
      {folder / "drive.orvp", UiText(701)},
      {folder / "missing.orvv", UiText(702)},
      {folder.Path(), UiText(701)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    rig.dialogs.fileAnswers.push_back(c.answer);
    EXPECT_FALSE(OpenRecordingThroughDialog(rig.dialogs, rig.hooks, rig.history));
    EXPECT_EQ(rig.dialogs.messages.back(), c.message);
    EXPECT_TRUE(rig.polling);
    EXPECT_EQ(rig.opened, "");
    EXPECT_EQ(rig.history.Records(), before.Records());
    EXPECT_EQ(rig.history.ScopeCursor(), before.ScopeCursor());
  }
}

// The CSV takes the history as it stands when the name is chosen, samples taken while the
// dialog was open included; any extension is taken, and the history is not marked saved.
TEST(RecordingTransferTest, theCsvExportStartsWhereTheHistoryStandsWhenTheNameIsChosen) {
  TempFolder folder;
  RecordingRig rig;
  for (int i = 0; i < 5; ++i) rig.Sample(10);
  rig.dialogs.whileOpen = [&] { rig.Sample(20); };
  rig.dialogs.fileAnswers.push_back(folder / "drive.txt");
  int firstAskedAt = -1;
  ASSERT_TRUE(ExportCsvThroughDialog(rig.dialogs, rig.hooks, rig.history, "drive1234.csv", [&] {
    firstAskedAt = rig.history.ScopeCursor();
    return rig.history.ScopeCursor() + 1;
  }));
  EXPECT_EQ(rig.dialogs.fileRequests.back().use, FileDialogUse::SaveCsv);
  EXPECT_EQ(rig.dialogs.fileRequests.back().initialDir, "/save");
  EXPECT_EQ(rig.saveFolder, folder.Path());
  EXPECT_EQ(firstAskedAt, 5);  // the sample taken while the dialog was open counts
  const std::string csv = Slurp(folder / "drive.txt");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 7);  // the header and six samples
  EXPECT_TRUE(rig.history.HasUnsavedSamples());
}

}  // namespace
