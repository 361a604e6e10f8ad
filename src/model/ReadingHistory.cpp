#include "model/ReadingHistory.h"

#include <algorithm>

namespace {
int ClampIndex(int index) { return std::clamp(index, 0, ReadingHistory::kRecords - 1); }
}  // namespace

bool ReadingHistory::Advance() {
  const bool wrapped = scopeCursor_ >= kRecords - 1;
  scopeCursor_ = wrapped ? 0 : scopeCursor_ + 1;
  Current().fill(0);
  if (samplesTaken_ < kRecords) ++samplesTaken_;
  return wrapped;
}

void ReadingHistory::SetScopeCursor(int cursor) { scopeCursor_ = ClampIndex(cursor); }

LiveReadings& ReadingHistory::At(int index) { return records_[static_cast<std::size_t>(ClampIndex(index))]; }

const LiveReadings& ReadingHistory::At(int index) const {
  return records_[static_cast<std::size_t>(ClampIndex(index))];
}

void ReadingHistory::ToTimeOrder() {
  std::rotate(records_.begin(), records_.begin() + (scopeCursor_ + 1) % kRecords, records_.end());
  scopeCursor_ = kRecords - 1;
}
