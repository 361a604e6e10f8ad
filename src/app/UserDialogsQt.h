#pragma once

#include <QWidget>

#include "base/UserDialogs.h"

// Message boxes and the cursor of the toolkit.
class QtUserDialogs : public UserDialogs {
 public:
  explicit QtUserDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override;
  MessageAnswer ShowMessageWithDetails(const std::string& text, MessageButtons buttons,
                                       const std::string& details) override;
  void Beep() override;
  void SetBusyCursor(bool busy) override;
  void PauseOneSecond() override;
  std::optional<std::string> AskFileName(const FileDialogRequest& request) override;
  std::optional<std::int32_t> AskColour(std::int32_t initial) override;
  std::optional<ReportDetails> AskReportDetails(const ReportDetails& last) override;

 private:
  QWidget* parent_;
  bool busy_ = false;
};
