// A recording file with any content, cut anywhere: it loads into the block and the history,
// every row of the readings grid shows for every record, the spreadsheet export takes it, and
// saving it again gives back what was read.

#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz/FuzzInput.h"
#include "monitor/ReadingRows.h"
#include "monitor/RecordingCsv.h"
#include "monitor/RecordingFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const int page = in.Byte() % 3;
  const bool service = in.Byte() & 1;
  const int firstRecord = in.Byte() * 15;
  const std::string_view bytes = in.Rest();

  ParameterBlock block{};
  block.fill(0x5A);
  ReadingHistory history;
  for (LiveReadings& r : history.Records()) r.fill(0x77);  // a previous drive
  const int whole = LoadRecording(bytes, block, history);
  const std::size_t body = bytes.size() > kRecordingHeaderBytes ? bytes.size() - kRecordingHeaderBytes : 0;
  FUZZ_CHECK(whole == static_cast<int>(std::min<std::size_t>(body / 16, ReadingHistory::kRecords)));
  for (std::size_t i = bytes.size(); i < kRecordingHeaderBytes; ++i) FUZZ_CHECK(block[i] == 0x5A);
  for (int k = 0; k < ReadingHistory::kRecords; ++k) {
    const std::size_t offset = kRecordingHeaderBytes + static_cast<std::size_t>(k) * 16;
    for (std::size_t j = 0; j < 16; ++j) {
      const std::uint8_t expected =
          offset + j < bytes.size() ? static_cast<std::uint8_t>(bytes[offset + j]) : std::uint8_t{0};
      FUZZ_CHECK(history.At(k)[j] == expected);
    }
  }

  const ReadingsConfig config = ReadingsConfig::From(block, static_cast<Page>(page + 1), service);
  const ReadingRowKinds kinds = BuildReadingRowKinds(config);
  FUZZ_CHECK(ReadingRowsNeeded(config) >= 1 && ReadingRowsNeeded(config) <= kReadingKindRows);
  for (int k = 0; k < ReadingHistory::kRecords; k += 97) {
    const LiveReadings& r = history.At(k);
    (void)StatusRowTexts(r);
    for (int kind : kinds) {
      (void)ReadingCellText(kind, r);
      (void)ReadingNumberText(kind, r);
      (void)ReadingGaugeValue(kind, r, config);
    }
  }
  const std::string csv = HistoryCsv(block, history, firstRecord, service);
  FUZZ_CHECK(csv.size() >= 2 && csv.compare(csv.size() - 2, 2, "\r\n") == 0);

  const std::string saved = RecordingBytes(block, history, false);
  FUZZ_CHECK(saved.size() == kRecordingBytes);
  const std::size_t kept = std::min(bytes.size(), kRecordingBytes);
  FUZZ_CHECK(saved.compare(0, kept, bytes.substr(0, kept)) == 0);
  return 0;
}
