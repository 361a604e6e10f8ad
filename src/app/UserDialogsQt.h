#pragma once

#include <QWidget>

#include "app/UserDialogs.h"

// Message boxes and the cursor of the toolkit.
class QtUserDialogs : public UserDialogs {
 public:
  explicit QtUserDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override;
  void Beep() override;
  void SetBusyCursor(bool busy) override;
  void PauseOneSecond() override;

 private:
  QWidget* parent_;
  bool busy_ = false;
};
