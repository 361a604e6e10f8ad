#pragma once

#include <array>
#include <cstdint>

// One live sample: byte 0 the register index of the service mode, bytes 1..14 the bytes
// 1..14 of the live-data reply, byte 15 the register value.
using LiveReadings = std::array<std::uint8_t, 16>;

// Six minutes of live samples, one per 100 ms transmit tick.
class ReadingHistory {
 public:
  static constexpr int kRecords = 3600;

  // Moves ScopeCursor on (3599 wraps to 0) and clears the new current record. Returns true
  // when the cursor wrapped; the caller saves a full history before calling (automatic save).
  bool Advance();
  bool WillWrap() const { return scopeCursor_ == kRecords - 1; }

  int ScopeCursor() const { return scopeCursor_; }
  void SetScopeCursor(int cursor);  // clamped to 0..3599

  LiveReadings& Current() { return records_[static_cast<std::size_t>(scopeCursor_)]; }
  const LiveReadings& Current() const { return records_[static_cast<std::size_t>(scopeCursor_)]; }
  LiveReadings& At(int index);  // index clamped to 0..3599
  const LiveReadings& At(int index) const;

  // Live samples taken since start or since the ring was last saved or loaded from a file
  // (saturating at the ring's size). A wrap is worth an automatic save only while the ring
  // holds such samples; after a stop and start it may be only partly filled.
  int SamplesTaken() const { return samplesTaken_; }
  bool HasUnsavedSamples() const { return samplesTaken_ > 0; }
  void MarkSaved() { samplesTaken_ = 0; }

  // Rewrites the ring in time order: the record after ScopeCursor (the oldest) becomes
  // record 0 and the current one record 3599; the cursor becomes 3599.
  void ToTimeOrder();

  std::array<LiveReadings, kRecords>& Records() { return records_; }
  const std::array<LiveReadings, kRecords>& Records() const { return records_; }

 private:
  std::array<LiveReadings, kRecords> records_{};
  int scopeCursor_ = kRecords - 1;
  int samplesTaken_ = 0;
};
