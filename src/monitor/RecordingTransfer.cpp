#include "monitor/RecordingTransfer.h"

#include "base/AtomicFile.h"
#include "base/FailureText.h"
#include "base/FileFlow.h"
#include "base/UiText.h"
#include "base/UserFolders.h"
#include "monitor/RecordingCsv.h"
#include "monitor/RecordingFile.h"

namespace {

constexpr int kLastRecord = ReadingHistory::kRecords - 1;
// Recordings are 57856 bytes; a file far larger is not one and is not read into memory.
constexpr std::size_t kLargestReadableRecording = 16 * 1024 * 1024;
constexpr int kAutoSaveFailed = 730;
constexpr int kWrongData = 703;

FileQuestion Question(const RecordingHooks& hooks, FileDialogUse use, bool save,
                      const std::string& proposedName, bool recording) {
  FileQuestion q{use, hooks.folder(save), proposedName,
                 [&hooks, save](const std::string& folder) { hooks.setFolder(save, folder); }, nullptr};
  if (recording) q.acceptsName = HasRecordingExtension;
  return q;
}

}  // namespace

bool SaveRecordingThroughDialog(UserDialogs& dialogs, const RecordingHooks& hooks, ReadingHistory& history,
                                const std::string& proposedName) {
  const bool saved = SaveThroughDialog(
      dialogs, Question(hooks, FileDialogUse::SaveRecording, true, proposedName, true),
      [&](const std::string& path, std::string* why) {
        return WriteFileAtomically(path, RecordingBytes(hooks.parameters(), history, true), why);
      });
  if (saved) history.MarkSaved();
  return saved;
}

bool OpenRecordingThroughDialog(UserDialogs& dialogs, const RecordingHooks& hooks, ReadingHistory& history,
                                const std::optional<std::string>& named) {
  std::string path, bytes;
  const bool read = OpenThroughDialog(
      dialogs, Question(hooks, FileDialogUse::OpenRecording, false, "", true),
      [&](const std::string& chosen) {
        path = chosen;
        if (!ReadWholeFile(chosen, bytes, kLargestReadableRecording)) return FileRead{};
        // Without its parameter block a file is no recording; the history
        // stays.
        if (bytes.size() < kRecordingHeaderBytes) return FileRead{false, kWrongData};
        return FileRead{true, 0};
      },
      named);
  if (!read) return false;
  hooks.stopPolling();
  ParameterBlock block = hooks.parameters();
  LoadRecording(bytes, block, history);
  hooks.loadParameters(block);
  // The file holds its records in time order, the newest last: so does the ring now, whatever
  // the cursor was while the oscilloscope ran, and saving it again writes the same file.
  history.SetScopeCursor(kLastRecord);
  history.MarkSaved();
  hooks.recordingOpened(path);
  return true;
}

bool ExportCsvThroughDialog(UserDialogs& dialogs, const RecordingHooks& hooks, const ReadingHistory& history,
                            const std::string& proposedName, const std::function<int()>& firstRecord) {
  return SaveThroughDialog(
      dialogs, Question(hooks, FileDialogUse::SaveCsv, true, proposedName, false),
      [&](const std::string& path, std::string* why) {
        return WriteFileAtomically(
            path, HistoryCsv(hooks.parameters(), history, firstRecord(), hooks.service()), why);
      });
}

std::string AutoSaveRecording(const RecordingHooks& hooks, ReadingHistory& history, const std::string& folder,
                              const std::string& name) {
  int error = 0;
  if (!MakeFolders(folder, &error)) return UiText(kAutoSaveFailed) + folder + ": " + FailureReason(error);
  const std::string failure =
      WriteUnlessReadOnlyQuietly(folder + "/" + name, [&](const std::string& path, std::string* why) {
        return WriteFileAtomically(path, RecordingBytes(hooks.parameters(), history, false), why);
      });
  if (!failure.empty()) return UiText(kAutoSaveFailed) + failure;
  history.MarkSaved();
  return {};
}
