#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/UserDialogs.h"

// Dialogs whose answers a test scripts; every message shown is kept.
class ScriptedDialogs : public UserDialogs {
 public:
  MessageAnswer ShowMessageWithDetails(const std::string& text, MessageButtons buttons,
                                       const std::string& detailText) override {
    MessageAnswer a = ShowMessage(text, buttons);
    details.back() = detailText;
    return a;
  }
  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override {
    messages.push_back(text);
    details.emplace_back();
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
  // Answers file questions from fileAnswers in order (nothing: cancelled).
  std::optional<std::string> AskFileName(const FileDialogRequest& request) override {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    auto a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
  }
  std::optional<std::int32_t> AskColour(std::int32_t initial) override {
    colourRequests.push_back(initial);
    if (colourAnswers.empty()) return std::nullopt;
    auto a = colourAnswers.front();
    colourAnswers.pop_front();
    return a;
  }

  std::vector<std::string> messages;
  std::vector<std::string> details;  // beside each message: its unfolding text, empty for none
  std::deque<MessageAnswer> answers;
  std::function<void(const std::string&)> onMessage;
  std::vector<FileDialogRequest> fileRequests;
  std::deque<std::optional<std::string>> fileAnswers;
  std::vector<std::int32_t> colourRequests;
  std::deque<std::optional<std::int32_t>> colourAnswers;
  int beeps = 0, pauses = 0;
  bool busy = false;
};
