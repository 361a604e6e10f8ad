#pragma once

#include <string>

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// Message boxes, the default beep, the busy cursor and the one-second pause. The program
// uses the toolkit's; tests script the answers and count the beeps.
class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  // A modal box captioned UiText 700 with the buttons named. Texts may hold LF CR breaks.
  virtual MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) = 0;
  virtual void Beep() = 0;
  virtual void SetBusyCursor(bool busy) = 0;
  virtual void PauseOneSecond() = 0;
};

// A text as shown: the stored LF CR pairs (and lone CRs) become plain line breaks.
std::string DisplayText(const std::string& stored);
