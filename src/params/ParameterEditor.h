#pragma once

#include <cstdint>
#include <string>

#include "params/ParameterChecks.h"
#include "params/ParameterRows.h"

class ControllerLink;

// What the parameter editor asks of the main window.
class ParameterEditorHost {
 public:
  virtual ~ParameterEditorHost() = default;
  virtual void RebuildEditor() = 0;
  virtual void ParametersRead() = 0;  // the parameter view and the live-readings layout
  virtual void ShowMessage(const std::string& text) = 0;
};

// Editing of the parameter view (page 1): the rows of the last build, the selected row,
// stepping, typed values, dependent defaults and the plausibility warnings. Every change
// goes into the link's ParameterBlock; the link writes the difference to the controller.
class ParameterEditor {
 public:
  ParameterEditor(ControllerLink& link, ParameterEditorHost& host);

  // A fresh build of the rows for the current block; SelectedParamRow survives.
  const ParameterList& Build(int listOrder);
  const ParameterList& List() const { return list_; }
  const ParameterBlock& Block() const;

  int SelectedParamRow() const { return selectedRow_; }
  void SetSelectedParamRow(int row) { selectedRow_ = row; }
  // The row of a table row, an empty row beyond the list.
  ParameterRow RowAt(int tableRow) const;
  // The selected row's parameter; 0 for an empty or heading row.
  int SelectedParameter() const;

  // An arrow press on the selected row (0 down, 1 up): the byte moves one step, the rows are
  // built anew and the dependent defaults run; then the window rebuilds the view once (with
  // the readings when the defaults changed them) and the plausibility warning follows. False
  // when the row has no parameter.
  bool StepSelected(int direction);
  // Text typed into the edit box of the selected row: stored at once, limited to the row's
  // range; gives the value text without unit (empty when the row takes no typing) and
  // whether the typed number was above the range.
  struct Typed {
    std::string shown;
    bool aboveRange = false;
  };
  Typed TypeValue(const std::string& text);
  // The selected row's value as the edit box shows it; empty without an edit box.
  std::string EditedValue() const;

  // The selected row's dependent defaults, the view rebuilt when they changed it, and the
  // plausibility warning.
  void DependentDefaults();
  void PlausibilityCheck(bool afterEdit);

  int LastWarnedParameter() const { return checker_.LastWarnedParameter(); }
  void ResetLastWarned() { checker_.ResetLastWarned(); }

 private:
  ControllerLink& link_;
  ParameterEditorHost& host_;
  // The defaults of the selected row into the block; what the view then needs.
  RebuildAfterDefaults FillDefaults();

  ParameterList list_;
  int listOrder_ = 1;  // of the last build
  int selectedRow_ = 1;
  PlausibilityChecker checker_;
};
