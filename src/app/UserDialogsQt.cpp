#include "app/UserDialogsQt.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "app/UiText.h"

MessageAnswer QtUserDialogs::ShowMessage(const std::string& text, MessageButtons buttons) {
  QMessageBox::StandardButtons set = QMessageBox::Ok;
  switch (buttons) {
    case MessageButtons::Ok: set = QMessageBox::Ok; break;
    case MessageButtons::OkCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MessageButtons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
    case MessageButtons::YesNoCancel: set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
  }
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(UiText(700)),
                  QString::fromStdString(DisplayText(text)), set, parent_);
  switch (box.exec()) {
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    default: return MessageAnswer::Ok;
  }
}

void QtUserDialogs::Beep() { QApplication::beep(); }

void QtUserDialogs::SetBusyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void QtUserDialogs::PauseOneSecond() { QThread::msleep(1000); }
