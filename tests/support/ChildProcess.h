#pragma once

#include <signal.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <thread>

// Waits until the child ends or the time is up; true when it was reaped.
inline bool ReapWithin(pid_t pid, std::chrono::milliseconds limit, int* status = nullptr) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int st = 0;
  for (;;) {
    const pid_t r = ::waitpid(pid, &st, WNOHANG);
    if (r == pid || (r < 0 && errno != EINTR)) {
      if (status) *status = st;
      return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// Ends a child for sure: SIGTERM, a bounded wait, then SIGKILL.
inline void EndChild(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  if (ReapWithin(pid, std::chrono::seconds(5))) return;
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}
