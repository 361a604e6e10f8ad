#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/ControllerLink.h"
#include "model/PageGridQt.h"
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
  int language = 5;  // an index of the language list: "russian"
};

// What the set-up page needs of the main window.
struct SetupWindow {
  std::function<ConnectionMode()> connectionMode;
  std::function<void(int)> portChosen;
  std::function<void()> fontChosen;
  std::function<void()> layOut;   // the whole window
  std::function<void()> rebuild;  // the page grid
  std::vector<int> languages;     // those of the language list that the program has
  std::function<void()> languageChosen;
};

// The set-up page: the program's settings as rows of the page grid GridEx1, each edited by
// a box laid over its value cell. The rows are a list: a setting joins the page as one more
// row of it.
class SetupPageQt : public PageView {
 public:
  SetupPageQt(PageGrid& grid, ControllerLink& link, SetupWindow window);

  void Apply(const SetupValues& values);
  SetupValues Values() const;
  void ApplyTexts() override;

  // The port the supervision found, in its box and row.
  void ShowPort(int port);
  void SelectCell(int row);
  void CellSelected(int row) override { SelectCell(row); }
  // Every box leaves the grid before the page fills it and when the grid goes to another page.
  void HideEditors();

  void GridReturned() override { HideEditors(); }
  void Enter(Page page) override;
  void Layout(const MainLayout& layout) override;

  QComboBox *CBCom = nullptr, *CBCAut = nullptr, *CBFAut = nullptr, *CBList = nullptr, *CBFont = nullptr,
            *CBLang = nullptr;
  QLineEdit* EDFile = nullptr;

 private:
  struct Row {
    int labelId;
    QWidget* editor;
    bool shown;  // with the connection in use
  };
  // Every row of the page in its order: the recording rows with a controller, the list
  // order with parameters to list.
  std::vector<Row> Rows() const;
  void PlaceEditors();
  std::vector<QWidget*> Editors() const;

  QTableWidget* grid_;
  ControllerLink& link_;
  SetupWindow window_;
  int selectedRow_ = 1;
  bool typing_ = false;  // the file name box had the keyboard when the editors were hidden
};
