#pragma once

#include <functional>
#include <optional>
#include <string>

#include "model/ParameterBlock.h"
#include "model/ReadingHistory.h"

class UserDialogs;

// What saving and opening recordings ask of the main window.
struct RecordingHooks {
  std::function<const ParameterBlock&()> parameters;
  std::function<bool()> service;
  std::function<void()> stopPolling;                             // the transmit timer off
  std::function<void(const std::string& path)> recordingOpened;  // mode 1, editor, readings layout
  std::function<std::string(bool save)> folder;                  // DirSave / DirOpen
  std::function<void(bool save, const std::string&)> setFolder;
  std::function<std::string()> recordingFolder;               // where automatic recordings go
  std::function<void(const ParameterBlock&)> loadParameters;  // the block takes a recording's
};

// The recording buttons and the CSV export without their window: each asks for a file name
// in the remembered folder and goes the file flow's way (701, read-only 702 and the name,
// 702 on failure).
//
// Saves the block and the history in time order under a name the user picks (proposedName
// offered); a written recording marks the history saved. True when written.
bool SaveRecordingThroughDialog(UserDialogs& dialogs, const RecordingHooks& hooks, ReadingHistory& history,
                                const std::string& proposedName);
// Opens a recording the user picks: polling stops, the block and the history take the file's
// bytes, the ring stands in time order with the newest record under the cursor, the history
// counts as saved, and recordingOpened learns the path. A file shorter than the parameter
// block is refused with 703 and its name, and nothing changes. True when a recording was
// opened.
// With named given, that file is opened without the dialog.
bool OpenRecordingThroughDialog(UserDialogs& dialogs, const RecordingHooks& hooks, ReadingHistory& history,
                                const std::optional<std::string>& named = std::nullopt);
// Writes the history as CSV under a name the user picks (any extension). firstRecord is asked
// once the name is chosen, for the history may have moved on while the dialog was open.
bool ExportCsvThroughDialog(UserDialogs& dialogs, const RecordingHooks& hooks, const ReadingHistory& history,
                            const std::string& proposedName, const std::function<int()>& firstRecord);
// The automatic save of a full history under folder/name (the folder made when missing),
// without a dialog. Empty when written; otherwise the message 730 to show, with the file and
// the reason (a read-only file is named alone).
std::string AutoSaveRecording(const RecordingHooks& hooks, ReadingHistory& history, const std::string& folder,
                              const std::string& name);
