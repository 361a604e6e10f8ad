#pragma once

#include <QObject>
#include <functional>
#include <utility>

#include "model/PageAndMode.h"
#include "params/ParameterEditor.h"

class QLineEdit;
class QTableWidget;
class QToolButton;
class QWidget;

// What the view needs to know about the window when it fills the table.
struct ParameterViewContext {
  Page page = Page::Setup;
  ConnectionMode connectionMode = ConnectionMode::None;
  int listOrder = 1;
  int rowsVisible = 1;  // ParameterRowsVisible
};

// The parameter view in the page grid GridEx1, with its editing controls: the edit box
// Edit1, the arrows UpDown1 and the clear button BitBtn1 laid over the selected value cell.
class ParameterEditorQt : public QObject {
  Q_OBJECT

 public:
  ParameterEditorQt(ParameterEditor& editor, QTableWidget* grid,
                    std::function<ParameterViewContext()> context);

  // Fills the table on the parameters page; false on the other pages.
  bool RebuildEditor();
  // How often the table was filled with the parameters.
  int Rebuilds() const { return rebuilds_; }
  // The controls leave with the page.
  void HideControls();
  // The columns changed width under the same rows: the controls follow their cell.
  void FollowColumns() { PlaceControls(false); }

  // Grid events.
  void GridEx1SelectCell(int row);
  void GridEx1TopLeftChanged();
  void Edit1Change(const QString& text);
  void Edit1Finished();              // the box left: it shows the value the controller got
  void UpDown1Click(int direction);  // 0 left (down), 1 right (up)
  void BitBtn1Click();
  void StepSelected(int direction);

  QLineEdit* Edit1 = nullptr;
  QWidget* UpDown1 = nullptr;
  QToolButton* BitBtn1 = nullptr;

 private:
  void RebuildParameters(const ParameterViewContext& ctx);
  void PlaceControls(bool afterScroll);
  void SetCell(int row, int column, const QString& text);

  ParameterEditor& editor_;
  QTableWidget* grid_;
  std::function<ParameterViewContext()> context_;
  bool rebuilding_ = false;
  int rebuilds_ = 0;
};
