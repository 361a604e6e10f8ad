#pragma once

#include <array>
#include <functional>
#include <string>

#include "link/ControllerLink.h"
#include "model/PageView.h"

class QComboBox;
class QLineEdit;
class QTableWidget;
class QWidget;

// The program's own settings that the set-up page edits.
struct SetupValues {
  std::string fileName;  // EDFile: name prefix for proposed recording names
  bool autoComm = false;
  bool autoSave = false;
  bool list = true;  // the parameters listed by type
  int font = 0;
};

// What the set-up page needs of the main window.
struct SetupWindow {
  std::function<ConnectionMode()> connectionMode;
  std::function<int()> minimumRows;  // the rows the page grid shows
  std::function<void(int)> portChosen;
  std::function<void()> fontChosen;
  std::function<void()> layOut;   // the whole window
  std::function<void()> rebuild;  // the page grid
};

// The set-up page: the program's settings as rows of the page grid GridEx1, each edited by
// a box laid over its value cell.
class SetupPageQt : public PageView {
 public:
  SetupPageQt(QTableWidget* grid, ControllerLink& link, SetupWindow window);

  void Apply(const SetupValues& values);
  SetupValues Values() const;
  void ApplyTexts();

  // The port the supervision found, in its box and row.
  void ShowPort(int port);
  void SelectCell(int row);
  // Every box leaves the grid before a page fills it.
  void HideEditors();

  void Enter(Page page) override;
  void Layout() override;

  QComboBox *CBCom = nullptr, *CBCAut = nullptr, *CBFAut = nullptr, *CBList = nullptr, *CBFont = nullptr;
  QLineEdit* EDFile = nullptr;

 private:
  void PlaceEditors();
  std::array<QWidget*, 6> Editors() const;

  QTableWidget* grid_;
  ControllerLink& link_;
  SetupWindow window_;
  int selectedRow_ = 1;
  bool typing_ = false;  // the file name box had the keyboard when the editors were hidden
};
