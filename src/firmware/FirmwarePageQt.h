#pragma once

#include <memory>
#include <string>
#include <vector>

#include "firmware/FirmwarePage.h"

class QTableWidget;
class QTextEdit;
class QWidget;
class TForm3;

// The firmware page on screen: the main window's grid, the list's copy in the message log,
// and the programming window, which is made for each run and closed at its end.
class FirmwarePageQt : public FirmwarePageView {
 public:
  FirmwarePageQt(QWidget* mainWindow, QTableWidget* grid, QTextEdit* memo, ControllerLink& link,
                 FirmwareHost& host, UserDialogs& dialogs, std::string programDir);
  ~FirmwarePageQt() override;

  FirmwarePage& Page() { return page_; }
  TForm3* ProgrammingForm() const { return form_.get(); }  // null while no window is open

  // FirmwarePageView
  void ShowImageList(const std::vector<ListedImage>& images, int rows) override;
  void OpenProgrammingWindow() override;
  void SetFileText(const std::string& text) override;
  void ShowProgress(int maximum) override;
  void SetProgress(int position) override;
  void SetStatusText(const std::string& text) override;
  void SetMainWindowEnabled(bool enabled) override;
  void CloseProgrammingWindow() override;

 private:
  QWidget* mainWindow_;
  QTableWidget* grid_;
  QTextEdit* memo_;
  std::unique_ptr<TForm3> form_;
  FirmwarePage page_;
};
