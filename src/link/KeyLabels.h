#pragma once

// After F1 the page buttons show their key labels for a few information ticks.
inline constexpr int kKeyLabelTicks = 3;

// What one information tick does about the key labels.
enum class KeyLabelStep {
  Idle,             // no countdown running: the tick goes on
  Counting,         // still counting: the tick ends here
  RestoreCaptions,  // ran out on this tick: give the page buttons their texts back, go on
};

struct KeyLabelCountdown {
  int ticks = 0;

  // F1: (re)start at kKeyLabelTicks, also while already counting.
  void Start() { ticks = kKeyLabelTicks; }
  bool Running() const { return ticks > 0; }
  // One information tick.
  KeyLabelStep Tick();
};
