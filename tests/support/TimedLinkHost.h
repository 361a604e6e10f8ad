#pragma once

#include <algorithm>
#include <chrono>

#include "ScriptedLinkHost.h"

// A window stand-in that also keeps the window's transmit timer, for a loop that plays the
// main thread against a real port: setting the interval or switching the timer on starts a
// new period, as the window's timer does; switching on a running timer changes nothing.
class TimedLinkHost : public ScriptedLinkHost {
 public:
  using Clock = std::chrono::steady_clock;

  void SetTxInterval(int ms) override {
    ScriptedLinkHost::SetTxInterval(ms);
    Restart();
  }
  void SetTxEnabled(bool enabled) override {
    if (enabled && !txEnabled) Restart();
    ScriptedLinkHost::SetTxEnabled(enabled);
  }
  void Restart() { txDue = Clock::now() + std::chrono::milliseconds(std::max(interval, 1)); }

  // Whether the running timer is due at `now`; if so its next period starts, and the
  // caller fires the tick.
  bool TakeTick(Clock::time_point now) {
    if (!txEnabled || now < txDue) return false;
    Restart();
    return true;
  }

  // The earlier of `limit` and the timer's next tick while it runs: how long a loop may
  // wait for posted events before it has to look at the timer again.
  Clock::time_point WaitLimit(Clock::time_point limit) const {
    return txEnabled ? std::min(limit, txDue) : limit;
  }

  Clock::time_point txDue{};
};
