#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "monitor/RecordingTransfer.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

namespace {

// The file dialog is modal, but the transmit timer goes on sampling while it is open.
struct SamplingDialogs : ScriptedDialogs {
  std::function<void()> whileOpen;
  std::optional<std::string> AskFileName(const FileDialogRequest& request) override {
    if (whileOpen) whileOpen();
    return ScriptedDialogs::AskFileName(request);
  }
};

// The recordings without a window: the main window's part is a few fields.
struct RecordingRig {
  SamplingDialogs dialogs;
  ParameterBlock block = FreshParameterBlock();
  ReadingHistory history;
  std::string saveFolder = "/save", openFolder = "/open", opened;
  bool polling = true;
  RecordingHooks hooks{[this]() -> ParameterBlock& { return block; },
                       [] { return false; },
                       [this] { polling = false; },
                       [this](const std::string& path) { opened = path; },
                       [this](bool save) { return save ? saveFolder : openFolder; },
                       [this](bool save, const std::string& f) { (save ? saveFolder : openFolder) = f; },
                       [] { return std::string(); },
                       [this](const ParameterBlock& loaded) { block = loaded; }};
  void Sample(int rpm) {
    history.Advance();
    history.Current()[3] = static_cast<std::uint8_t>(rpm);
  }
};

TEST(RecordingTransferTest, aRecordingSavedAndOpenedWithoutAWindowComesBackInTimeOrder) {
  TempFolder folder;
  RecordingRig rig;
  rig.block[0] = 0x64;
  for (int i = 0; i < 3610; ++i) rig.Sample(i % 200 + 1);  // the ring wrapped
  rig.dialogs.fileAnswers.push_back(folder / "drive.orvv");
  ASSERT_TRUE(SaveRecordingThroughDialog(rig.dialogs, rig.hooks, rig.history, "drive1234.orvv"));
  EXPECT_EQ(rig.saveFolder, folder.Path());
  EXPECT_FALSE(rig.history.HasUnsavedSamples());

  RecordingRig other;
  other.dialogs.fileAnswers.push_back(folder / "drive.orvv");
  ASSERT_TRUE(OpenRecordingThroughDialog(other.dialogs, other.hooks, other.history));
  EXPECT_EQ(other.openFolder, folder.Path());
  EXPECT_EQ(other.opened, folder / "drive.orvv");
  EXPECT_FALSE(other.polling);
  EXPECT_EQ(other.block, rig.block);
  EXPECT_EQ(other.history.ScopeCursor(), ReadingHistory::kRecords - 1);
  for (int k = 0; k < ReadingHistory::kRecords; ++k)
    ASSERT_EQ(other.history.At(k),
              rig.history.At((rig.history.ScopeCursor() + 1 + k) % ReadingHistory::kRecords));
}

// The CSV takes the history as it stands once the name is chosen, with the samples taken
// while the dialog was open; any extension is taken, and the recording is not marked saved.
TEST(RecordingTransferTest, theCsvExportStartsWhereTheHistoryStandsWhenTheNameIsChosen) {
  TempFolder folder;
  RecordingRig rig;
  for (int i = 0; i < 5; ++i) rig.Sample(10);
  rig.dialogs.whileOpen = [&] { rig.Sample(20); };
  rig.dialogs.fileAnswers.push_back(folder / "drive.txt");
  int firstAskedAt = -1;
  ASSERT_TRUE(ExportCsvThroughDialog(rig.dialogs, rig.hooks, rig.history, "drive1234.csv", [&] {
    firstAskedAt = rig.history.ScopeCursor();
    return 0;
  }));
  EXPECT_EQ(rig.saveFolder, folder.Path());
  EXPECT_EQ(firstAskedAt, 5);  // the sample taken while the dialog was open counts
  const std::string csv = Slurp(folder / "drive.txt");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 7);  // the header and six samples
  EXPECT_TRUE(rig.history.HasUnsavedSamples());
}

}  // namespace
