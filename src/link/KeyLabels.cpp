#include "link/KeyLabels.h"

KeyLabelStep KeyLabelCountdown::Tick() {
  if (ticks <= 0) return KeyLabelStep::Idle;
  --ticks;
  return ticks > 0 ? KeyLabelStep::Counting : KeyLabelStep::RestoreCaptions;
}
