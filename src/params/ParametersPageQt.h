#pragma once

#include "link/ControllerLink.h"
#include "model/PageView.h"

class ParameterEditorQt;
class QTableWidget;

// The parameters page: the controller's parameters polled and listed in the page grid, the
// keyboard with the grid.
class ParametersPageQt : public PageView {
 public:
  ParametersPageQt(ParameterEditorQt& view, QTableWidget* grid) : view_(view), grid_(grid) {}

  void Enter(Page page) override;
  void Layout() override;
  void Shown() override;

 private:
  ParameterEditorQt& view_;
  QTableWidget* grid_;
};
