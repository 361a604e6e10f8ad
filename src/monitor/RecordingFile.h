#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/FilePaths.h"
#include "model/ParameterBlock.h"
#include "model/ReadingHistory.h"

// A recording file: the 256-byte parameter block, then 3600 records of 16 bytes, oldest
// first. No header, no checksum.
inline constexpr std::size_t kRecordingHeaderBytes = 256;
inline constexpr std::size_t kRecordingBytes =
    kRecordingHeaderBytes + static_cast<std::size_t>(ReadingHistory::kRecords) * 16;  // 57856

// The file's bytes. timeOrder: the record after ScopeCursor first and the current one last
// (a save the user asks for); otherwise the ring as it lies, record 0 first (the automatic
// save at the wrap, when the ring is in time order anyway).
std::string RecordingBytes(const ParameterBlock& block, const ReadingHistory& history, bool timeOrder);

// Reads a recording into the block and the history (record 0 first), as far as the bytes go.
// Parameter bytes beyond the end keep their values; records beyond the end are cleared, so
// that a cut recording never shows a previous drive's readings as its own. ScopeCursor is
// left as it is. Returns the number of whole records read.
int LoadRecording(std::string_view bytes, ParameterBlock& block, ReadingHistory& history);

// "%s%02d%02d.orvv": the file-name prefix and the local hour and minute.
std::string RecordingName(const std::string& prefix, int hour, int minute);

// True when the name ends in ".orvv", letter case aside.
bool HasRecordingExtension(const std::string& path);
