#pragma once

#include <sys/resource.h>

#include <csignal>

// Limits the size of the files this process writes, for any user, so that a write fails
// part way: past the limit it fails with EFBIG instead of raising SIGXFSZ. The limit holds
// until Lift() or the end of the scope.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    if (::getrlimit(RLIMIT_FSIZE, &saved_) != 0) return;
    struct rlimit small = saved_;
    small.rlim_cur = bytes;
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    applied_ = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
    if (!applied_) std::signal(SIGXFSZ, oldHandler_);
  }
  ~FileSizeLimit() { Lift(); }

  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  bool Applied() const { return applied_; }

  void Lift() {
    if (!applied_) return;
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
    applied_ = false;
  }

 private:
  struct rlimit saved_ {};
  void (*oldHandler_)(int) = SIG_DFL;
  bool applied_ = false;
};
