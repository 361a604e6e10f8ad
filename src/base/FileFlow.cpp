#include "base/FileFlow.h"

#include <optional>

#include "base/AtomicFile.h"
#include "base/FilePaths.h"
#include "base/UiText.h"
#include "base/UserFolders.h"

namespace {

constexpr int kWrongExtension = 701;
constexpr int kFileFailed = 702;

void ShowNamed(UserDialogs& dialogs, int messageId, const std::string& path) {
  dialogs.ShowMessage(UiTextAndName(messageId, FileNameOf(path)), MessageButtons::Ok);
}

// The dialog, the remembered folder and the extension: the chosen path, or nothing when the
// dialog was cancelled or the name refused.
std::optional<std::string> AskAndCheck(UserDialogs& dialogs, const FileQuestion& question,
                                       const std::optional<std::string>& named = std::nullopt) {
  auto path =
      named ? named
            : dialogs.AskFileName({question.use, DialogStartFolder(question.folder, CurrentFolderFacts()),
                                   question.proposedName});
  if (!path) return std::nullopt;
  if (question.rememberFolder && !named) question.rememberFolder(FolderOf(*path));
  if (question.acceptsName && !question.acceptsName(*path)) {
    dialogs.ShowMessage(UiText(kWrongExtension), MessageButtons::Ok);
    return std::nullopt;
  }
  return path;
}

}  // namespace

std::string WriteUnlessReadOnlyQuietly(const std::string& path, const FileWrite& write) {
  // A file made read-only is protected: it stays as it is.
  if (IsReadOnlyFile(path)) return FileNameOf(path);
  std::string why;
  if (write(path, &why)) return {};
  return why.empty() ? FileNameOf(path) : why;
}

bool WriteUnlessReadOnly(UserDialogs& dialogs, const std::string& path, int failureId,
                         const FileWrite& write) {
  const std::string failure = WriteUnlessReadOnlyQuietly(path, write);
  if (failure.empty()) return true;
  dialogs.ShowMessage(UiText(failureId) + " " + failure, MessageButtons::Ok);
  return false;
}

bool SaveThroughDialog(UserDialogs& dialogs, const FileQuestion& question, const FileWrite& write) {
  const auto path = AskAndCheck(dialogs, question);
  return path && WriteUnlessReadOnly(dialogs, *path, kFileFailed, write);
}

bool OpenThroughDialog(UserDialogs& dialogs, const FileQuestion& question,
                       const std::function<FileRead(const std::string& path)>& read,
                       const std::optional<std::string>& named) {
  const auto path = AskAndCheck(dialogs, question, named);
  if (!path) return false;
  const FileRead result = read(*path);
  if (result.read) return true;
  if (result.refusalId != 0)
    ShowNamed(dialogs, result.refusalId, *path);
  else
    dialogs.ShowMessage(UiText(kFileFailed), MessageButtons::Ok);
  return false;
}
