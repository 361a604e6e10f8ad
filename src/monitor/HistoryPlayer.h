#pragma once

#include <array>
#include <optional>

// Plays a stopped history forward like a film. Each tick stands for a tenth of a second and
// moves the position on by the speed in records (10 records a second times the speed); the
// newest record ends the play. A scroll position that the player did not set (the fitter
// moved the scroll bar) pauses it.
class HistoryPlayer {
 public:
  static constexpr int kTickMilliseconds = 100;
  static constexpr std::array<int, 3> kSpeeds{1, 4, 16};

  explicit HistoryPlayer(int newest) : newest_(newest) {}

  bool Playing() const { return playing_; }
  int Position() const { return position_; }
  int Speed() const { return kSpeeds[static_cast<std::size_t>(speedIndex_)]; }
  int SpeedIndex() const { return speedIndex_; }
  void SetSpeedIndex(int index);  // clamped to the speeds

  // Plays on from position; a play that stands at the newest record starts again from
  // restart (where the history's data begin).
  void Play(int position, int restart);
  void Pause() { playing_ = false; }
  // Play or Pause, as the play button and Ctrl+P do.
  void Toggle(int position, int restart);

  // A tick of the play timer: the position to show, or nothing while paused. The tick that
  // reaches the newest record shows it and pauses.
  std::optional<int> Tick();

  // The scroll bar moved to position: a position other than the player's own pauses it.
  void Scrolled(int position);

 private:
  int newest_;
  int position_ = 0;
  int speedIndex_ = 0;
  bool playing_ = false;
};
