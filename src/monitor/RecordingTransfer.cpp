#include "monitor/RecordingTransfer.h"

#include "base/AtomicFile.h"
#include "base/FileFlow.h"
#include "monitor/RecordingCsv.h"
#include "monitor/RecordingFile.h"

namespace {

constexpr int kLastRecord = ReadingHistory::kRecords - 1;
// Recordings are 57856 bytes; a file far larger is not one and is not read into memory.
constexpr std::size_t kLargestReadableRecording = 16 * 1024 * 1024;
constexpr int kAutoSaveFailed = 730;

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
  const bool saved =
      SaveThroughDialog(dialogs, Question(hooks, FileDialogUse::SaveRecording, true, proposedName, true),
                        [&](const std::string& path) {
                          return WriteFileAtomically(path, RecordingBytes(hooks.parameters(), history, true));
                        });
  if (saved) history.MarkSaved();
  return saved;
}

bool OpenRecordingThroughDialog(UserDialogs& dialogs, const RecordingHooks& hooks, ReadingHistory& history) {
  std::string path, bytes;
  const bool read =
      OpenThroughDialog(dialogs, Question(hooks, FileDialogUse::OpenRecording, false, "", true),
                        [&](const std::string& chosen) {
                          path = chosen;
                          return FileRead{ReadWholeFile(chosen, bytes, kLargestReadableRecording)};
                        });
  if (!read) return false;
  hooks.stopPolling();
  LoadRecording(bytes, hooks.parameters(), history);
  // The file holds its records in time order, the newest last: so does the ring now, whatever
  // the cursor was while the oscilloscope ran, and saving it again writes the same file.
  history.SetScopeCursor(kLastRecord);
  history.MarkSaved();
  hooks.recordingOpened(path);
  return true;
}

bool ExportCsvThroughDialog(UserDialogs& dialogs, const RecordingHooks& hooks, const ReadingHistory& history,
                            const std::string& proposedName, const std::function<int()>& firstRecord) {
  return SaveThroughDialog(dialogs, Question(hooks, FileDialogUse::SaveCsv, true, proposedName, false),
                           [&](const std::string& path) {
                             return WriteFileAtomically(path, HistoryCsv(hooks.parameters(), history,
                                                                         firstRecord(), hooks.service()));
                           });
}

bool AutoSaveRecording(UserDialogs& dialogs, const RecordingHooks& hooks, ReadingHistory& history,
                       const std::string& name) {
  const bool saved = WriteUnlessReadOnly(dialogs, name, kAutoSaveFailed, [&](const std::string& path) {
    return WriteFileAtomically(path, RecordingBytes(hooks.parameters(), history, false));
  });
  if (saved) history.MarkSaved();
  return saved;
}
