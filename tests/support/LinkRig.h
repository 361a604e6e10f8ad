#pragma once

// Everything of one connection over a real pseudo-terminal: the simulator program, the main
// thread, the window stand-in, the serial port, the link and its supervision. The test thread
// plays the main thread: it runs what the port posts and fires the transmit timer and, once
// started, the information timer itself, as the window does.

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "link/ControllerLink.h"
#include "link/Supervision.h"
#include "link/TVaComm.h"
#include "model/ReadingHistory.h"
#include "support/MainQueue.h"
#include "support/SimulatorProcess.h"
#include "support/TimedLinkHost.h"

struct LinkRig {
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kInfoInterval{900};

  // limitMs: how long RunUntil waits when not told.
  explicit LinkRig(std::vector<std::string> options = {}, int limitMs = 60000)
      : limitMs(limitMs),
        sim(std::move(options)),
        port(main.Dispatcher(), sim.Pattern()),
        link(port, host, host, history),
        supervisor(link, port, host, host) {
    port.OnRxChar = [this](int count) {
      rxCounts.push_back(count);
      link.VaComm1RxChar(count);
    };
  }

  // Pumps the main thread until pred holds or the time is up.
  bool RunUntil(const std::function<bool()>& pred, int timeoutMs = 0) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : limitMs);
    for (;;) {
      if (pred()) return true;
      const auto now = Clock::now();
      if (now >= deadline) return false;
      if (host.TakeTick(now)) {
        if (beforeTick) beforeTick();
        link.TimerTxTimer();
        continue;
      }
      if (infoTimer && now >= infoDue) {
        infoDue = std::max(infoDue + kInfoInterval, now);
        ++infoTicks;
        supervisor.TimerInfoTimer();
        continue;
      }
      // Short slices, so that conditions on the simulator's log are seen soon.
      auto until = host.WaitLimit(std::min(deadline, now + std::chrono::milliseconds(20)));
      if (infoTimer) until = std::min(until, infoDue);
      main.RunPosted(until);
    }
  }
  void RunFor(int ms) {
    RunUntil([] { return false; }, ms);
  }

  // The information timer runs from now on; its first tick comes at `first`.
  void StartInfoTimer(Clock::time_point first = Clock::now() + kInfoInterval) {
    infoTimer = true;
    infoDue = first;
  }

  int limitMs;
  SimulatorProcess sim;
  MainQueue main;
  TimedLinkHost host;
  ReadingHistory history;
  TVaComm port;
  ControllerLink link;
  ConnectionSupervisor supervisor;
  std::vector<int> rxCounts;         // the count of every received-data event
  std::function<void()> beforeTick;  // called before every transmit tick
  bool infoTimer = false;
  Clock::time_point infoDue;
  int infoTicks = 0;  // information ticks fired so far
  // Runs until `ticks` more information ticks have fired.
  bool RunInfoTicks(int ticks) {
    const int until = infoTicks + ticks;
    return RunUntil([&] { return infoTicks >= until; });
  }
};
