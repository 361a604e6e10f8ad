#include "PtyLine.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

std::optional<std::string> ExpandPortPattern(std::string_view pattern, int index) {
  std::string out;
  int slots = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == '%') {
      out += '%';
      ++i;
    } else if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 'd') {
      out += std::to_string(index);
      ++slots;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  if (slots != 1) return std::nullopt;
  return out;
}

PtyLine::~PtyLine() {
  Unlink();
  Close();
}

bool PtyLine::Open(std::string& error) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0) {
    error = std::string("posix_openpt: ") + std::strerror(errno);
    return false;
  }
  char name[256] = {};
  if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name) != 0) {
    error = std::string("pseudo-terminal set-up: ") + std::strerror(errno);
    Close();
    return false;
  }
  slaveName_ = name;
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (slave_ < 0) {
    error = "open " + slaveName_ + ": " + std::strerror(errno);
    Close();
    return false;
  }
  termios tio{};
  if (tcgetattr(slave_, &tio) == 0) {
    cfmakeraw(&tio);
    cfsetispeed(&tio, B4800);
    cfsetospeed(&tio, B4800);
    tio.c_cflag |= CLOCAL | CREAD;
    tcsetattr(slave_, TCSANOW, &tio);
  }
  const int flags = fcntl(master_, F_GETFL);
  if (flags >= 0) fcntl(master_, F_SETFL, flags | O_NONBLOCK);
  return true;
}

bool PtyLine::Link(const std::string& path, std::string& error) {
  struct stat st{};
  if (lstat(path.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
    error = path + " exists and is not a symbolic link; not replaced";
    return false;
  }
  const std::string temp = path + ".tmp" + std::to_string(getpid());
  ::unlink(temp.c_str());
  if (::symlink(slaveName_.c_str(), temp.c_str()) != 0) {
    error = "symlink " + temp + ": " + std::strerror(errno);
    return false;
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    error = "rename " + temp + " to " + path + ": " + std::strerror(errno);
    ::unlink(temp.c_str());
    return false;
  }
  linkPath_ = path;
  return true;
}

void PtyLine::Unlink() {
  if (linkPath_.empty()) return;
  char target[512] = {};
  const ssize_t n = ::readlink(linkPath_.c_str(), target, sizeof target - 1);
  if (n > 0 && slaveName_ == std::string(target, static_cast<std::size_t>(n))) ::unlink(linkPath_.c_str());
  linkPath_.clear();
}

void PtyLine::Close() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
  slave_ = master_ = -1;
}

}  // namespace sim
