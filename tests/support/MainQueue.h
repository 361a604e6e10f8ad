#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include "link/TVaComm.h"

// Stands in for the program's main thread: TVaComm's threads post callables here, and the
// test or benchmark runs them on its own thread, in the order they were posted.
class MainQueue {
 public:
  using Clock = std::chrono::steady_clock;

  TVaComm::Dispatcher Dispatcher() {
    return [this](std::function<void()> fn) { Post(std::move(fn)); };
  }

  void Post(std::function<void()> fn) {
    {
      std::lock_guard<std::mutex> guard(lock_);
      queue_.push_back(std::move(fn));
    }
    posted_.notify_all();
  }

  // Waits until at least one callable is queued; false if none came within the patience.
  bool WaitForPosted(Clock::duration patience) {
    std::unique_lock<std::mutex> lock(lock_);
    return posted_.wait_for(lock, patience, [this] { return !queue_.empty(); });
  }

  std::size_t Pending() {
    std::lock_guard<std::mutex> guard(lock_);
    return queue_.size();
  }

  // Runs what is queued now.
  void PumpAll() {
    std::deque<std::function<void()>> batch;
    {
      std::lock_guard<std::mutex> guard(lock_);
      batch.swap(queue_);
    }
    for (auto& fn : batch) fn();
  }

  // Waits until something is posted or `until` passes, then runs what is queued.
  void RunPosted(Clock::time_point until) {
    {
      std::unique_lock<std::mutex> lock(lock_);
      posted_.wait_until(lock, until, [this] { return !queue_.empty(); });
    }
    PumpAll();
  }

  // Runs posted callables one at a time as they arrive until done() holds or `until`
  // passes; returns done(). Nothing runs once done() holds, not even what is still queued.
  bool RunUntil(Clock::time_point until, const std::function<bool()>& done) {
    while (!done()) {
      std::function<void()> fn;
      {
        std::unique_lock<std::mutex> lock(lock_);
        if (!posted_.wait_until(lock, until, [this] { return !queue_.empty(); })) return done();
        fn = std::move(queue_.front());
        queue_.pop_front();
      }
      fn();
    }
    return true;
  }

  // Runs whatever gets posted during the given time.
  void RunFor(Clock::duration duration) {
    RunUntil(Clock::now() + duration, [] { return false; });
  }

 private:
  std::mutex lock_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> queue_;
};
