#include "monitor/RecordingFile.h"

#include <algorithm>
#include <cctype>

std::string RecordingBytes(const ParameterBlock& block, const ReadingHistory& history, bool timeOrder) {
  std::string bytes;
  bytes.reserve(kRecordingBytes);
  bytes.append(reinterpret_cast<const char*>(block.data()), block.size());
  const int first = timeOrder ? (history.ScopeCursor() + 1) % ReadingHistory::kRecords : 0;
  for (int k = 0; k < ReadingHistory::kRecords; ++k) {
    const LiveReadings& r = history.At((first + k) % ReadingHistory::kRecords);
    bytes.append(reinterpret_cast<const char*>(r.data()), r.size());
  }
  return bytes;
}

int LoadRecording(std::string_view bytes, ParameterBlock& block, ReadingHistory& history) {
  const std::size_t header = std::min(bytes.size(), kRecordingHeaderBytes);
  std::copy_n(bytes.begin(), header, block.begin());
  const std::string_view body = bytes.substr(header);
  int whole = 0;
  for (int k = 0; k < ReadingHistory::kRecords; ++k) {
    LiveReadings& r = history.At(k);
    r.fill(0);
    const std::size_t offset = static_cast<std::size_t>(k) * r.size();
    if (offset >= body.size()) continue;
    const std::size_t n = std::min(r.size(), body.size() - offset);
    std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(offset), n, r.begin());
    if (n == r.size()) ++whole;
  }
  return whole;
}

std::string RecordingName(const std::string& prefix, int hour, int minute) {
  auto two = [](int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
  };
  return prefix + two(hour) + two(minute) + ".orvv";
}

bool HasRecordingExtension(const std::string& path) {
  constexpr std::string_view kExt = ".orvv";
  if (path.size() < kExt.size()) return false;
  for (std::size_t i = 0; i < kExt.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[path.size() - kExt.size() + i]);
    if (std::tolower(c) != kExt[i]) return false;
  }
  return true;
}
