#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "base/FailureText.h"
#include "base/UiText.h"

namespace {

void SetError(std::string* error, std::string message) {
  if (error != nullptr) *error = std::move(message);
}

// "path: reason", the reason in the program's language.
std::string Failure(const std::string& path, int err) { return path + ": " + FailureReason(err); }
std::string Failure(const std::string& path, const std::string& reason) { return path + ": " + reason; }

// Folder part and name part of a path; "" folder means the current folder.
void SplitPath(const std::string& path, std::string& folder, std::string& name) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    folder.clear();
    name = path;
  } else {
    folder = path.substr(0, slash + 1);  // keeps the slash, so "/x" gives "/"
    name = path.substr(slash + 1);
  }
}

bool WriteAll(int fd, std::string_view bytes, int& err) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

int FsyncRetry(int fd) {
  int rc;
  do {
    rc = ::fsync(fd);
  } while (rc != 0 && errno == EINTR);
  return rc;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  std::string folder, name;
  SplitPath(path, folder, name);
  if (name.empty()) {
    SetError(error, Failure(path, EISDIR));
    return false;
  }

  // Keep the permission bits of a file that is being replaced.
  mode_t mode = 0644;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      SetError(error, Failure(path, EISDIR));
      return false;
    }
    // The program must read its own file again: the owner keeps reading and writing it.
    mode = (st.st_mode & 07777) | S_IRUSR | S_IWUSR;
  }

  std::string tempPath = folder + "." + name + ".XXXXXX";
  std::vector<char> templ(tempPath.begin(), tempPath.end());
  templ.push_back('\0');
  const int fd = ::mkostemp(templ.data(), O_CLOEXEC);
  if (fd < 0) {
    SetError(error, Failure(path, errno));
    return false;
  }
  tempPath.assign(templ.data());

  auto fail = [&](int err) {
    ::unlink(tempPath.c_str());
    SetError(error, Failure(path, err));
    return false;
  };

  int err = 0;
  if (!WriteAll(fd, bytes, err)) {
    ::close(fd);
    return fail(err);
  }
  if (::fchmod(fd, mode) != 0) {
    err = errno;
    ::close(fd);
    return fail(err);
  }
  if (FsyncRetry(fd) != 0) {
    err = errno;
    ::close(fd);
    return fail(err);
  }
  if (::close(fd) != 0) return fail(errno);
  if (::rename(tempPath.c_str(), path.c_str()) != 0) {
    err = errno;
    ::unlink(tempPath.c_str());
    SetError(error, Failure(path, err));
    return false;
  }

  // Make the rename itself durable. The new file is already in place, so a folder that
  // cannot be flushed (some file systems refuse) is not a failure.
  const std::string folderToSync = folder.empty() ? std::string(".") : folder;
  const int dirFd = ::open(folderToSync.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    FsyncRetry(dirFd);
    ::close(dirFd);
  }
  return true;
}

bool IsReadOnlyFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool ReadWholeFile(const std::string& path, std::string& out, std::size_t maxBytes, std::string* error) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    SetError(error, Failure(path, errno));
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    SetError(error, Failure(path, err));
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    SetError(error, Failure(path, UiText(1313)));
    return false;
  }
  if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > maxBytes) {
    ::close(fd);
    SetError(error, Failure(path, EFBIG));
    return false;
  }

  // Read until end of file, but never more than maxBytes + 1 bytes: the size may have
  // changed since fstat.
  std::string data;
  data.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const std::size_t room = maxBytes - data.size();  // data never exceeds maxBytes here
    const std::size_t want = room < sizeof buffer ? room + 1 : sizeof buffer;
    const ssize_t n = ::read(fd, buffer, want);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      SetError(error, Failure(path, err));
      return false;
    }
    if (n == 0) break;
    data.append(buffer, static_cast<std::size_t>(n));
    if (data.size() > maxBytes) {
      ::close(fd);
      SetError(error, Failure(path, EFBIG));
      return false;
    }
  }
  ::close(fd);
  out = std::move(data);
  return true;
}
