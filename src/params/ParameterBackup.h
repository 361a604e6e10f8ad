#pragma once

#include <ctime>
#include <string>

#include "model/ParameterBlock.h"

// Automatic backups of the controller's parameters, made before an action overwrites them
// wholesale (loading a file into the controller, the factory reset, the wizard's apply). A
// backup is an ordinary parameter file, restored with the open button and Yes.

inline constexpr int kBackupsKept = 100;

// $XDG_DATA_HOME/ORV/backup, or ~/.local/share/ORV/backup when XDG_DATA_HOME is unset or
// not absolute.
std::string DefaultBackupFolder();

// "20261208-143005-TELK100-V1.45.orvp": local date and time, controller type, version.
std::string BackupFileName(const ParameterBlock& block, std::time_t now);

struct BackupResult {
  bool ok = false;
  std::string path;   // the file written
  std::string error;  // why nothing was written
};

// Writes the block into folder (created when missing) and keeps only the newest kBackupsKept
// backups there; other files in the folder are left alone.
BackupResult MakeParameterBackup(const ParameterBlock& block, const std::string& folder, std::time_t now);

// The message-log lines of a backup made and of one that failed.
std::string BackupLogLine(const BackupResult& result);
