#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "link/ControllerLink.h"
#include "model/PageGridQt.h"
#include "model/PageView.h"
#include "params/ParameterEditorQt.h"

class QPushButton;

// What the parameters page's buttons ask of the main window.
struct ParametersWindow {
  std::function<void()> openFile, saveFile, readController, writeController, openHelp, makeReport;
};

// The parameters page: the controller's parameters polled and listed in the page grid with
// the editing controls over it, the keyboard with the grid, and the row of buttons above the
// grid (the parameter files, the controller, the help). The buttons are a list placed left to
// right: a button joins the row as one more entry of it. The service report's button follows
// the help button.
class ParametersPageQt : public PageView {
 public:
  ParametersPageQt(ParameterEditor& editor, PageGrid& grid, std::function<ParameterViewContext()> context,
                   ControllerLink& link, ParametersWindow window);

  ParameterEditorQt& View() { return *view_; }

  // The row of buttons, shown on this page only; placed at every lay-out of the window, as
  // their widths follow the font in use on every page.
  void PlaceButtons(const MainLayout& layout);

  void Leave() override;
  void Enter(Page page) override;
  // The parameters in the grid.
  void Layout(const MainLayout& layout) override;
  // Only the controls move: the rows stay as they were filled.
  void ColumnsChanged(const MainLayout&) override { view_->FollowColumns(); }
  void CellSelected(int row) override { view_->GridEx1SelectCell(row); }
  // Over the power defects' value the hint tells the cause of the last reset.
  std::optional<std::string> HintText(int row, int column) const override;
  void Shown() override;
  void ApplyTexts() override;

  QPushButton *BtnOpenPar = nullptr, *BtnSavePar = nullptr, *BtnReadPar = nullptr, *BtnWritePar = nullptr,
              *BtnHelp = nullptr, *BtnReport = nullptr;

 private:
  void PlaceReportButton(bool visible);

  PageGrid& grid_;
  ControllerLink& link_;
  ParametersWindow window_;
  ParameterEditorQt* view_;            // the grid's child
  std::vector<QPushButton*> buttons_;  // left to right
};
