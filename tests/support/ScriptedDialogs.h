#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/UserDialogs.h"

// Dialogs whose answers a test scripts; every message shown is kept.
class ScriptedDialogs : public UserDialogs {
 public:
  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override {
    messages.push_back(text);
    if (onMessage) onMessage(text);
    if (!answers.empty()) {
      const MessageAnswer a = answers.front();
      answers.pop_front();
      return a;
    }
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageAnswer::Yes
                                                                                        : MessageAnswer::Ok;
  }
  void Beep() override { ++beeps; }
  void SetBusyCursor(bool b) override { busy = b; }
  void PauseOneSecond() override { ++pauses; }

  std::vector<std::string> messages;
  std::deque<MessageAnswer> answers;
  std::function<void(const std::string&)> onMessage;
  int beeps = 0, pauses = 0;
  bool busy = false;
};
