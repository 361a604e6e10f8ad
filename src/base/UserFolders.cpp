#include "base/UserFolders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace {

std::string WithoutTrailingSlashes(std::string s) {
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

std::string HomeFolder() {
  const char* env = std::getenv("HOME");
  if (env != nullptr && env[0] != '\0') return WithoutTrailingSlashes(env);
  struct passwd pw {};
  struct passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr)
    return WithoutTrailingSlashes(found->pw_dir);
  return "/";
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

FolderFacts CurrentFolderFacts() {
  FolderFacts facts;
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr && errno == ERANGE)
    buffer.resize(buffer.size() * 2);
  facts.workingDir = buffer[0] == '/' ? std::string(buffer.data()) : std::string();
  facts.homeDir = HomeFolder();
  const char* data = std::getenv("XDG_DATA_HOME");
  facts.dataHome =
      data != nullptr && data[0] == '/' ? WithoutTrailingSlashes(data) : Join(facts.homeDir, ".local/share");
  facts.isWritableFolder = [](const std::string& folder) {
    struct stat st {};
    return !folder.empty() && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(folder.c_str(), W_OK | X_OK) == 0;
  };
  facts.exists = [](const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
  };
  return facts;
}

std::string DialogStartFolder(const std::string& remembered, const FolderFacts& facts) {
  if (!remembered.empty()) return remembered;
  if (facts.isWritableFolder(facts.workingDir)) return facts.workingDir;
  return facts.homeDir;
}

std::string AutoRecordingFolder(const FolderFacts& facts) {
  if (facts.isWritableFolder(facts.workingDir)) return facts.workingDir;
  return Join(facts.dataHome, "ORV/recordings");
}

std::string HelpDocumentPath(const std::string& name, const std::string& programDir,
                             const FolderFacts& facts) {
  const std::string here = Join(facts.workingDir, name);
  if (facts.exists(here) || programDir.empty()) return here;
  return Join(programDir, name);
}

bool MakeFolders(const std::string& path, int* error, unsigned mode) {
  std::size_t pos = 0;
  while (pos != std::string::npos) {
    pos = path.find('/', pos + 1);
    const std::string part = path.substr(0, pos);
    if (part.empty() || part == "/") continue;
    if (::mkdir(part.c_str(), static_cast<mode_t>(mode)) == 0) continue;
    const int err = errno;
    struct stat st {};
    if (err == EEXIST && ::stat(part.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
    if (error != nullptr) *error = err == EEXIST ? ENOTDIR : err;  // a file in the way
    return false;
  }
  return true;
}
