#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// A scratch folder of this process, removed at exit, for loaders that read a file by name.
inline const std::string& FuzzScratchFolder() {
  static const std::string folder = [] {
    char name[] = "/tmp/orv-fuzz-XXXXXX";
    if (!::mkdtemp(name)) {
      std::perror("mkdtemp");
      std::abort();
    }
    static std::string made = name;
    std::atexit([] { std::system(("rm -rf '" + made + "'").c_str()); });
    return made;
  }();
  return folder;
}

// Writes `bytes` to `name` in the scratch folder and returns the file's path.
inline std::string WriteFuzzFile(const std::string& name, std::string_view bytes) {
  const std::string path = FuzzScratchFolder() + "/" + name;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) {
    std::perror(path.c_str());
    std::abort();
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      std::perror(path.c_str());
      std::abort();
    }
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return path;
}
