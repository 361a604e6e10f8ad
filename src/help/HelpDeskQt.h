#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "help/HelpSearch.h"
#include "help/Orvlpghelp.h"
#include "model/PageAndMode.h"

class QTableWidget;
class QTextEdit;
class UserDialogs;

// What the help needs to know of the main window.
struct HelpDeskLinks {
  QWidget* mainWindow = nullptr;
  QWidget* client = nullptr;              // the main window's client area
  QTableWidget* parameterGrid = nullptr;  // GridEx1
  QWidget* readingsGrid = nullptr;        // Grid
  UserDialogs* dialogs = nullptr;
  std::function<Page()> currentPage;
  std::function<int()> fontSize;
  std::string programDir;  // the document's folder when the working folder has none
};

// The help: the document on the start page, and the help window that opens at the passage
// about the selected parameter and, in its Top mode, follows the selection.
class HelpDesk : public QObject {
 public:
  explicit HelpDesk(HelpDeskLinks links);
  ~HelpDesk() override;

  // Loads the help document into the start page; a document that cannot be read leaves the
  // one line that says so. Sets HelpFileLoaded.
  void LoadStartPage(QTextEdit& memo);
  bool HelpFileLoaded() const { return helpFileLoaded_; }

  // fromButton: the help button, which reports a missing document; F1 and the information
  // tick open the help quietly.
  void OpenHelp(bool fromButton);

  // A pending request to move the help to the newly selected parameter, cleared when taken.
  bool TakeResyncRequest();

  int HelpWindowMode() const { return helpWindowMode_; }
  void SetHelpWindowMode(int mode);
  bool HelpWindowOpen() const { return helpWindowOpen_; }
  TForm4* Window() const { return window_.get(); }
  // The main window closes: so does the help window.
  void CloseWindow();

  // The file name of the help document.
  static std::string FileName();
  // Where the document is read from: the working folder's copy, else the program's.
  std::string DocumentPath() const;

 private:
  void CreateWindow();
  void ShowPassage();
  void Select(const PassageSelection& s);

  HelpDeskLinks links_;
  std::unique_ptr<TForm4> window_;
  std::u16string windowText_;
  bool helpFileLoaded_ = false;
  bool helpWindowOpen_ = false;
  int helpWindowMode_ = 0;
  bool helpResyncPending_ = false;
};
