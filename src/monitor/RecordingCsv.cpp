#include "monitor/RecordingCsv.h"

#include <algorithm>

#include "base/AtomicFile.h"
#include "base/NumberText.h"
#include "base/UiText.h"
#include "monitor/ReadingRows.h"
#include "monitor/RecordingFile.h"

namespace {

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

bool Empty(const LiveReadings& r) {
  return std::all_of(r.begin(), r.end(), [](std::uint8_t b) { return b == 0; });
}

}  // namespace

std::string HistoryCsv(const ParameterBlock& block, const ReadingHistory& history, int firstRecord,
                       bool service) {
  const ReadingRowKinds kinds = BuildReadingRowKinds(ReadingsConfig::From(block, Page::Parameters, service));
  std::vector<int> columns;
  for (int kind : kinds)
    if (LabelIdOfKind(kind) != 0) columns.push_back(kind);

  std::string csv = "t [s]";
  for (int kind : columns) csv += "," + CsvField(UiText(LabelIdOfKind(kind)) + UnitOfKind(kind));
  csv += "\r\n";
  const int n = ReadingHistory::kRecords;
  const int first = ((firstRecord % n) + n) % n;
  for (int k = 0; k < n; ++k) {
    const LiveReadings& r = history.At((first + k) % n);
    if (Empty(r)) continue;
    csv += FormatFixed((k + 1) * 0.1, 1);
    for (int kind : columns) csv += "," + CsvField(ReadingNumberText(kind, r));
    csv += "\r\n";
  }
  return csv;
}

int ExportRecordingCsv(const std::string& input, std::string output, std::string* error) {
  std::string bytes;
  std::string why;
  // A recording is 57856 bytes; anything much larger is not one.
  if (!ReadWholeFile(input, bytes, kRecordingBytes * 4, &why)) {
    if (error) *error = input + ": " + why;
    return 1;
  }
  ParameterBlock block = FreshParameterBlock();
  ReadingHistory history;
  LoadRecording(bytes, block, history);
  if (output.empty()) {
    const std::size_t slash = input.find_last_of('/');
    const std::size_t dot = input.find_last_of('.');
    output = (dot != std::string::npos && (slash == std::string::npos || dot > slash) ? input.substr(0, dot)
                                                                                      : input) +
             ".csv";
  }
  if (IsReadOnlyFile(output)) {
    if (error) *error = output + ": read-only, left as it is";
    return 1;
  }
  if (!WriteFileAtomically(output, HistoryCsv(block, history, 0, false), &why)) {
    if (error) *error = output + ": " + why;
    return 1;
  }
  return 0;
}
