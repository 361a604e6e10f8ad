#include "base/FileFlow.h"

#include <optional>

#include "base/AtomicFile.h"
#include "base/FilePaths.h"
#include "base/UiText.h"

namespace {

constexpr int kWrongExtension = 701;
constexpr int kFileFailed = 702;

void ShowNamed(UserDialogs& dialogs, int messageId, const std::string& path) {
  dialogs.ShowMessage(UiTextAndName(messageId, FileNameOf(path)), MessageButtons::Ok);
}

// The dialog, the remembered folder and the extension: the chosen path, or nothing when the
// dialog was cancelled or the name refused.
std::optional<std::string> AskAndCheck(UserDialogs& dialogs, const FileQuestion& question) {
  auto path = dialogs.AskFileName({question.use, question.folder, question.proposedName});
  if (!path) return std::nullopt;
  if (question.rememberFolder) question.rememberFolder(FolderOf(*path));
  if (question.acceptsName && !question.acceptsName(*path)) {
    dialogs.ShowMessage(UiText(kWrongExtension), MessageButtons::Ok);
    return std::nullopt;
  }
  return path;
}

}  // namespace

bool WriteUnlessReadOnly(UserDialogs& dialogs, const std::string& path, int failureId,
                         const std::function<bool(const std::string& path)>& write) {
  // A file made read-only is protected: it stays as it is.
  if (IsReadOnlyFile(path)) {
    ShowNamed(dialogs, failureId, path);
    return false;
  }
  if (!write(path)) {
    dialogs.ShowMessage(UiText(failureId), MessageButtons::Ok);
    return false;
  }
  return true;
}

bool SaveThroughDialog(UserDialogs& dialogs, const FileQuestion& question,
                       const std::function<bool(const std::string& path)>& write) {
  const auto path = AskAndCheck(dialogs, question);
  return path && WriteUnlessReadOnly(dialogs, *path, kFileFailed, write);
}

bool OpenThroughDialog(UserDialogs& dialogs, const FileQuestion& question,
                       const std::function<FileRead(const std::string& path)>& read) {
  const auto path = AskAndCheck(dialogs, question);
  if (!path) return false;
  const FileRead result = read(*path);
  if (result.read) return true;
  if (result.refusalId != 0)
    ShowNamed(dialogs, result.refusalId, *path);
  else
    dialogs.ShowMessage(UiText(kFileFailed), MessageButtons::Ok);
  return false;
}
