#include "app/ControllerBackups.h"

#include <ctime>

#include "params/ParameterBackup.h"

std::string ControllerBackups::Folder() const { return folder_.empty() ? DefaultBackupFolder() : folder_; }

std::string ControllerBackups::Automatic(const ParameterBlock& block) const {
  return BackupLogLine(MakeParameterBackup(block, Folder(), std::time(nullptr)));
}
