#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "firmware/FirmwarePage.h"
#include "model/PageGridQt.h"
#include "model/PageView.h"

class QEvent;
class QObject;
class QTableWidget;
class QTextEdit;
class QWidget;
class TForm3;

// What the firmware page needs of the main window.
struct FirmwareWindow {
  std::function<void()> closeMagnifier;
};

// The firmware page on screen: the main window's grid, the list's copy in the message log,
// and the programming window, which is made for each run and closed at its end.
class FirmwarePageQt : public FirmwarePageView, public PageView {
 public:
  FirmwarePageQt(QWidget* mainWindow, PageGrid& grid, QTextEdit* memo, ControllerLink& link,
                 FirmwareHost& host, UserDialogs& dialogs, std::string programDir, FirmwareWindow window);
  ~FirmwarePageQt() override;

  FirmwarePage& Page() { return page_; }
  TForm3* ProgrammingForm() const { return form_.get(); }  // null while no window is open

  // From the confirmation of a run to its end the main window takes no key and no click:
  // true for such an event on the way to the main window or one of its controls.
  bool HoldsInput(QObject* watched, const QEvent* event);

  // On this page the message log holds the image list and is rebuilt with it; a log line
  // written here (the backup made before a run) is kept and written into the log when the
  // page is left, where the fitter reads it after the run.
  void KeepLogLine(const std::string& line) { keptLogLines_.push_back(line); }
  // Leaving the page: the list goes from the log, the kept lines come into it.
  void PageLeft();

  // PageView: entering stops the polling for the loader's slower start; the page grid
  // lists the images.
  void Leave() override { PageLeft(); }
  void Enter(::Page page) override;
  void Layout(const MainLayout& layout) override { page_.ListFirmwareImages(layout.parameterRowsVisible); }

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
  ControllerLink& link_;
  FirmwareWindow window_;
  QTableWidget* grid_;
  QTextEdit* memo_;
  std::unique_ptr<TForm3> form_;
  FirmwarePage page_;
  std::vector<std::string> keptLogLines_;
};
