#include "params/ParameterBackup.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/FailureText.h"
#include "base/UiText.h"
#include "base/UserFolders.h"
#include "params/ParameterFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr int kBackupMade = 1245;
constexpr int kBackupFailed = 1246;

std::string TypeName(std::uint8_t typeByte) {
  std::string model = ModelText(typeByte).model;
  model.erase(0, model.find_first_not_of(' '));
  if (!model.empty()) return model;
  char name[16];
  std::snprintf(name, sizeof name, "TYPE%02X", typeByte);
  return name;
}

// "YYYYMMDD-HHMMSS-...orvp": the names this program gives its backups.
bool IsBackupName(const std::string& name) {
  if (name.size() < 21 || !HasParameterExtension(name) || name[8] != '-' || name[15] != '-') return false;
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14})
    if (name[static_cast<std::size_t>(i)] < '0' || name[static_cast<std::size_t>(i)] > '9') return false;
  return true;
}

void KeepNewest(const std::string& folder) {
  std::error_code ec;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (IsBackupName(name) && entry.is_regular_file(ec)) names.push_back(name);
  }
  if (names.size() <= static_cast<std::size_t>(kBackupsKept)) return;
  std::sort(names.begin(), names.end());  // the names begin with the date and time
  const std::size_t surplus = names.size() - static_cast<std::size_t>(kBackupsKept);
  for (std::size_t i = 0; i < surplus; ++i) fs::remove(fs::path(folder) / names[i], ec);
}

}  // namespace

std::string DefaultBackupFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  std::string base;
  if (data && data[0] == '/') {
    base = data;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home ? home : "") + "/.local/share";
  }
  return base + "/ORV/backup";
}

std::string BackupFileName(const ParameterBlock& block, std::time_t now) {
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  return std::string(stamp) + "-" + TypeName(block[kTypeByte]) + "-V" + VersionText(block) + ".orvp";
}

BackupResult MakeParameterBackup(const ParameterBlock& block, const std::string& folder, std::time_t now) {
  BackupResult result;
  int folderError = 0;
  if (!MakeFolders(folder, &folderError, 0755)) {
    result.error = folder + ": " + FailureReason(folderError);
    return result;
  }
  std::error_code ec;
  // Two backups within one second get distinct names.
  const std::string name = BackupFileName(block, now);
  std::string path = folder + "/" + name;
  for (int n = 2; fs::exists(path, ec) && n < 100; ++n)
    path = folder + "/" + name.substr(0, name.size() - 5) + "-" + std::to_string(n) + ".orvp";
  if (!SaveParameterFile(path, block, &result.error)) return result;
  result.ok = true;
  result.path = path;
  KeepNewest(folder);
  return result;
}

std::string BackupLogLine(const BackupResult& result) {
  return result.ok ? UiText(kBackupMade) + result.path : UiText(kBackupFailed) + result.error;
}
