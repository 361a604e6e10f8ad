#pragma once

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <string>

#include "ChildProcess.h"
#include "link/TVaComm.h"

// Another program holding a serial port: a child process opens port 1 of the device
// pattern with its own TVaComm and keeps it open until released.
class PortHolder {
 public:
  explicit PortHolder(const std::string& pattern) {
    int status[2], release[2];
    if (::pipe2(status, O_CLOEXEC) != 0) return;
    if (::pipe2(release, O_CLOEXEC) != 0) {
      ::close(status[0]);
      ::close(status[1]);
      return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(status[0]);
      ::close(release[1]);
      char opened = '0';
      {
        TVaComm holder([](std::function<void()>) {}, pattern);
        try {
          holder.Open();
          opened = '1';
        } catch (const EVaCommError&) {
        }
        (void)!::write(status[1], &opened, 1);
        char c;
        ssize_t n;
        while ((n = ::read(release[0], &c, 1)) > 0 || (n < 0 && errno == EINTR)) {
        }  // until end of file: the parent let go
      }
      ::_exit(opened == '1' ? 0 : 1);
    }
    ::close(status[1]);
    ::close(release[0]);
    status_ = status[0];
    release_ = release[1];
  }

  ~PortHolder() { Release(); }

  PortHolder(const PortHolder&) = delete;
  PortHolder& operator=(const PortHolder&) = delete;

  // Whether the child reported within the patience that it has the port open.
  bool Opened(std::chrono::milliseconds patience) {
    if (pid_ <= 0 || status_ < 0) return false;
    char opened = 0;
    pollfd ready{status_, POLLIN, 0};
    const bool heard = ::poll(&ready, 1, static_cast<int>(patience.count())) == 1 && ::read(status_, &opened, 1) == 1;
    ::close(status_);
    status_ = -1;
    return heard && opened == '1';
  }

  // Lets go of the port and waits for the child; true when it ended well, having had the
  // port open.
  bool Release() {
    if (status_ >= 0) ::close(status_);
    if (release_ >= 0) ::close(release_);
    status_ = release_ = -1;
    if (pid_ <= 0) return false;
    int status = 0;
    const bool ended = ReapWithin(pid_, std::chrono::seconds(10), &status);
    if (!ended) EndChild(pid_);
    pid_ = -1;
    return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  int release_ = -1;
};
