#include "params/ParameterFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
  std::size_t got = 0;
  while (got < kParameterFileBytes) {
    const ssize_t n = ::read(fd, result.bytes.data() + got, kParameterFileBytes - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return result;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  result.status = got == kParameterFileBytes ? ParameterFileStatus::Loaded : ParameterFileStatus::TooShort;
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

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  std::string folder = path.substr(0, slash);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder.empty() ? "/" : folder;
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
