#include "params/ParameterFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>

#include "base/AtomicFile.h"

namespace {
constexpr int kFirstControllerOwnByte = 16;
constexpr int kLastExchangedByte = kExchangedParameterBytes - 1;
}  // namespace

bool HasParameterExtension(const std::string& path) {
  const std::string name = FileNameOf(path);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string ext = name.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".orvp";
}

bool SaveParameterFile(const std::string& path, const ParameterBlock& block, std::string* error) {
  return WriteFileAtomically(
      path, std::string_view(reinterpret_cast<const char*>(block.data()), block.size()), error);
}

LoadedParameterFile LoadParameterFile(const std::string& path) {
  LoadedParameterFile result;
  // Non-blocking, so that a FIFO cannot hold the program; only regular files are read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return result;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return result;
  }
  // One byte more than a parameter file holds tells a longer file from one of the right size.
  std::array<std::uint8_t, kParameterFileBytes + 1> buffer{};
  std::size_t got = 0;
  while (got < buffer.size()) {
    const ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return result;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  result.status = got == kParameterFileBytes ? ParameterFileStatus::Loaded : ParameterFileStatus::WrongSize;
  if (result.status == ParameterFileStatus::Loaded)
    std::copy_n(buffer.begin(), kParameterFileBytes, result.bytes.begin());
  if (result.status != ParameterFileStatus::Loaded) result.bytes = {};
  return result;
}

void CopyFileToController(const ParameterBlock& file, ParameterBlock& block) {
  std::copy(file.begin() + kFirstControllerOwnByte, file.begin() + kLastExchangedByte + 1,
            block.begin() + kFirstControllerOwnByte);
}

void CopyFileForViewing(const ParameterBlock& file, ParameterBlock& block) {
  std::copy(file.begin(), file.begin() + kLastExchangedByte + 1, block.begin());
}
