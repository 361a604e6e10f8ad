#include <gtest/gtest.h>

#include "base/AtomicFile.h"
#include "base/UiText.h"
#include "monitor/RecordingCsv.h"
#include "monitor/RecordingFile.h"
#include "support/TempFolder.h"

namespace {

TEST(RecordingFileTest, savingRightAfterStartWritesTheBlockAndZeroRecords) {
  ParameterBlock block = FreshParameterBlock();
  ReadingHistory history;
  const std::string bytes = RecordingBytes(block, history, true);
  ASSERT_EQ(bytes.size(), 57856u);
  EXPECT_EQ(bytes.substr(0, 256), std::string(256, '\xFF'));
  EXPECT_EQ(bytes.substr(256), std::string(57600, '\0'));
}

TEST(RecordingFileTest, timeOrderStartsAfterTheCursorAndTheRoundTripRestoresEverything) {
  ParameterBlock block = FreshParameterBlock();
  block[0] = 0x64;
  block[34] = 2;
  ReadingHistory history;
  for (int i = 0; i < 3605; ++i) {  // the ring wraps: cursor at 4
    history.Advance();
    history.Current()[3] = static_cast<std::uint8_t>(i % 251);
    history.Current()[9] = static_cast<std::uint8_t>(i / 251);
  }
  ASSERT_EQ(history.ScopeCursor(), 4);
  const std::string ordered = RecordingBytes(block, history, true);
  EXPECT_EQ(static_cast<std::uint8_t>(ordered[256 + 3]), 5 % 251);                 // the oldest: sample 5
  EXPECT_EQ(static_cast<std::uint8_t>(ordered[256 + 3599 * 16 + 3]), 3604 % 251);  // the newest last
  const std::string asItLies = RecordingBytes(block, history, false);
  EXPECT_EQ(static_cast<std::uint8_t>(asItLies[256 + 3]), 3600 % 251);

  ParameterBlock loadedBlock = FreshParameterBlock();
  ReadingHistory loaded;
  loaded.SetScopeCursor(17);
  EXPECT_EQ(LoadRecording(ordered, loadedBlock, loaded), 3600);
  EXPECT_EQ(loadedBlock, block);
  EXPECT_EQ(loaded.ScopeCursor(), 17);  // left as it was
  EXPECT_EQ(RecordingBytes(loadedBlock, loaded, false), ordered);
}

TEST(RecordingFileTest, aCutRecordingIsReadAsFarAsItGoes) {
  ParameterBlock block = FreshParameterBlock();
  ReadingHistory history;
  history.At(0).fill(9);
  history.At(1).fill(9);
  history.At(2).fill(9);
  std::string bytes(256 + 16 + 8, '\x05');
  EXPECT_EQ(LoadRecording(bytes, block, history), 1);
  EXPECT_EQ(block[255], 5);
  EXPECT_EQ(history.At(0)[15], 5);
  EXPECT_EQ(history.At(1)[7], 5);
  EXPECT_EQ(history.At(1)[8], 0);  // beyond the end: cleared, not the previous drive
  EXPECT_EQ(history.At(2)[0], 0);

  block = FreshParameterBlock();
  EXPECT_EQ(LoadRecording(std::string(10, '\x01'), block, history), 0);
  EXPECT_EQ(block[9], 1);
  EXPECT_EQ(block[10], 255);  // the block keeps its bytes beyond a very short file
  EXPECT_EQ(LoadRecording(std::string(), block, history), 0);
}

TEST(RecordingFileTest, namesAndExtensions) {
  EXPECT_EQ(RecordingName("drive", 7, 5), "drive0705.orvv");
  EXPECT_EQ(RecordingName("", 23, 59), "2359.orvv");
  EXPECT_TRUE(HasRecordingExtension("/a/b.ORVV"));
  EXPECT_TRUE(HasRecordingExtension("x.orvv"));
  EXPECT_FALSE(HasRecordingExtension("x.orvp"));
  EXPECT_FALSE(HasRecordingExtension("orvv"));
  EXPECT_EQ(FolderOf("/home/a/b.orvv"), "/home/a");
  EXPECT_EQ(FolderOf("/b.orvv"), "/");
  EXPECT_EQ(FolderOf("b.orvv"), "");
}

TEST(ReadingHistoryTest, aWrapIsWorthASaveWhileTheRingHoldsUnsavedLiveSamples) {
  ReadingHistory history;
  EXPECT_TRUE(history.WillWrap());  // the first sample moves 3599 to 0: nothing to save
  EXPECT_FALSE(history.HasUnsavedSamples());
  for (int i = 0; i < 3600; ++i) history.Advance();
  EXPECT_TRUE(history.WillWrap());
  EXPECT_TRUE(history.HasUnsavedSamples());
  history.MarkSaved();
  EXPECT_FALSE(history.HasUnsavedSamples());
  // A stop rewrites the ring in time order and the next sample wraps: a partly filled ring.
  for (int i = 0; i < 10; ++i) history.Advance();
  history.ToTimeOrder();
  EXPECT_TRUE(history.WillWrap());
  EXPECT_TRUE(history.HasUnsavedSamples());
}

ReadingHistory KnownHistory() {
  ReadingHistory history;
  history.Advance();  // record 0
  LiveReadings& a = history.Current();
  a[1] = 0x10;
  a[3] = 25;
  a[4] = 51;
  a[8] = 100;
  a[10] = 80;
  a[14] = 255;
  history.Advance();  // record 1: no reply, skipped
  history.Advance();  // record 2
  history.Current()[3] = 8;
  history.Current()[14] = 100;
  return history;
}

TEST(RecordingCsvTest, aKnownHistoryInTimeOrder) {
  ParameterBlock block{};
  block[kOptionByte] = 0x08;  // temperature sensor
  block[33] = 0;
  block[34] = 0;
  const ReadingHistory history = KnownHistory();
  const std::string csv = HistoryCsv(block, history, 0, false);
  const std::string expected = "t [s]," + UiText(211) + " [V]," + UiText(210) + UiText(150) + "," +
                               UiText(216) + " [V]," + UiText(219) + UiText(151) + "," + UiText(224) +
                               " ['C]\r\n" + "0.1,1.02,2500,2.00,80,\r\n" + "0.3,0.00,800,0.00,0,+" +
                               std::to_string(TemperatureDegrees(100)) + "\r\n";
  EXPECT_EQ(csv, expected);
  // Beginning at record 2 the order wraps: record 2 first, record 0 last.
  const std::string wrapped = HistoryCsv(block, history, 2, false);
  EXPECT_EQ(wrapped.substr(wrapped.find("\r\n") + 2, 4), "0.1,");
  EXPECT_NE(wrapped.find("359.9,1.02,2500"), std::string::npos);
}

TEST(RecordingCsvTest, theBatchConversionWritesBesideTheRecording) {
  TempFolder folder;
  ParameterBlock block{};
  const std::string recording = folder.Path() + "/drive.orvv";
  ASSERT_TRUE(WriteFileAtomically(recording, RecordingBytes(block, KnownHistory(), false)));
  std::string error;
  ASSERT_EQ(ExportRecordingCsv(recording, "", &error), 0) << error;
  std::string csv;
  ASSERT_TRUE(ReadWholeFile(folder.Path() + "/drive.csv", csv, 1 << 20));
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3);
  EXPECT_EQ(ExportRecordingCsv(folder.Path() + "/missing.orvv", folder.Path() + "/x.csv", &error), 1);
  EXPECT_NE(error.find("missing.orvv"), std::string::npos);
  EXPECT_EQ(ExportRecordingCsv(recording, folder.Path() + "/no/such/folder/x.csv", &error), 1);
}

}  // namespace
