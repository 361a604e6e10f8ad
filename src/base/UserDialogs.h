#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// The uses of the open and save dialogs. The first four are the window design's; the CSV
// export and the service report are ours.
enum class FileDialogUse {
  OpenRecording,
  SaveRecording,
  OpenParameters,
  SaveParameters,
  SaveCsv,
  SaveReport
};

// How a dialog is prepared for one use: title, filters, the filter selected (1-based) and,
// for saving, the default extension added to a name typed without one.
struct FileDialogSetup {
  bool save = false;
  int titleId = 0;     // UiText id; 0 for the CSV export, titled by csvTitle
  std::string filter;  // "name|pattern|name|pattern...", exactly as the window design has it
  int filterIndex = 1;
  std::string defaultExtension;  // without the dot; empty: none
};
FileDialogSetup FileDialogFor(FileDialogUse use);

// One question for a file name.
struct FileDialogRequest {
  FileDialogUse use = FileDialogUse::OpenParameters;
  std::string initialDir;    // the remembered open or save folder
  std::string proposedName;  // empty for the open dialogs
};

// What the service report asks before it is made: the workshop and the car, both optional,
// and whether it goes to a PDF file or to the printer.
struct ReportDetails {
  std::string workshop;
  std::string vehicle;  // registration or VIN
  bool print = false;
};

// Message boxes, the default beep, the busy cursor and the one-second pause. The program
// uses the toolkit's; tests script the answers and count the beeps.
class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  // A modal box captioned UiText 700 with the buttons named. Texts may hold LF CR breaks.
  virtual MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) = 0;
  // The same box with a longer text the user may unfold under it (lines split by LF). A box
  // that cannot unfold shows the text alone.
  virtual MessageAnswer ShowMessageWithDetails(const std::string& text, MessageButtons buttons,
                                               const std::string& details) {
    (void)details;
    return ShowMessage(text, buttons);
  }
  virtual void Beep() = 0;
  virtual void SetBusyCursor(bool busy) = 0;
  virtual void PauseOneSecond() = 0;
  // The open or save dialog prepared for the request's use. Returns the chosen path, or
  // nothing when the user cancels.
  virtual std::optional<std::string> AskFileName(const FileDialogRequest& request) = 0;
  // The report's small dialog, filled with what was entered last; nothing when cancelled.
  // Without a dialog of its own the details stay as they were and the report is a PDF.
  virtual std::optional<ReportDetails> AskReportDetails(const ReportDetails& last) { return last; }
  // The colour dialog preset to a colour (0x00BBGGRR); nothing when cancelled.
  virtual std::optional<std::int32_t> AskColour(std::int32_t initial) = 0;
};

// A text as shown: the stored LF CR pairs (and lone CRs) become plain line breaks.
std::string DisplayText(const std::string& stored);
