#pragma once

#include <functional>
#include <optional>
#include <string>

#include "base/UserDialogs.h"

// The way every file the user names is saved or opened: the dialog opens in the remembered
// folder with the proposed name; a cancelled dialog changes nothing. Otherwise the chosen
// folder is remembered (also when the file is then refused), a name without the file kind's
// extension is refused with 701, a save leaves a file made read-only as it is (702 and the
// file's name), and a write or read that fails shows 702.

// One question for a file name and what is remembered of the answer.
struct FileQuestion {
  FileDialogUse use = FileDialogUse::OpenParameters;
  std::string folder;        // the remembered folder; the dialog opens as DialogStartFolder says
  std::string proposedName;  // empty for the open dialogs
  std::function<void(const std::string& folder)> rememberFolder;
  // The file kind's extension test; a name it refuses gets 701. Empty: every name is taken.
  std::function<bool(const std::string& path)> acceptsName;
};

// How reading a chosen file ended: read, or refused. A refusal shows 702 alone, or the
// message refusalId followed by the file's name (a file of the right kind that is no good).
struct FileRead {
  bool read = false;
  int refusalId = 0;
};

// Writes a file to path; false, with "path: reason" in *why, when it fails.
using FileWrite = std::function<bool(const std::string& path, std::string* why)>;

// Asks for the name, then writes through write (given the chosen path). True when written.
bool SaveThroughDialog(UserDialogs& dialogs, const FileQuestion& question, const FileWrite& write);

// Asks for the name, then reads through read. True when read. With named given, that file
// is taken as if the dialog had chosen it (a file the file manager hands over), without the
// dialog and without remembering its folder.
bool OpenThroughDialog(UserDialogs& dialogs, const FileQuestion& question,
                       const std::function<FileRead(const std::string& path)>& read,
                       const std::optional<std::string>& named = std::nullopt);

// The writing step of a save, also for a save without a dialog: a file made read-only is
// refused with the message failureId and its name; a write that fails shows failureId, the
// file and the reason. True when written.
bool WriteUnlessReadOnly(UserDialogs& dialogs, const std::string& path, int failureId,
                         const FileWrite& write);

// The same check and write without a message: empty when written, else what the message
// would say after failureId ("name" or "path: reason").
std::string WriteUnlessReadOnlyQuietly(const std::string& path, const FileWrite& write);
