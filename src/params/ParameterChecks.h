#pragma once

#include <string>

#include "model/ParameterBlock.h"

// What follows a change of a parameter: the bytes that depend on it, and the warnings about
// values that do not fit together.

// What the view needs after dependent defaults were filled in.
enum class RebuildAfterDefaults { None, Editor, EditorAndReadings };

struct DependentDefaultsResult {
  RebuildAfterDefaults rebuild = RebuildAfterDefaults::None;
  bool readAll = false;  // the controller's whole block is to be read again
  int forceZero = 0;     // a byte the link is to write as 0, however it was last sent; 0 for none
};

// Fills in the bytes that depend on parameter p (the selected row's; 0 for none). Bytes the
// controller is to receive change only in block; the simulation times of the typical probe
// simulation change in both blocks, so nothing is sent for them. Clearing the power-defect
// counter or the error flags names the byte whose write of 0 the link forces, and asks for a
// full read.
DependentDefaultsResult FillDependentDefaults(ParameterBlock& block, ParameterBlock& sent, int p);

// The parameters whose edit runs the plausibility check.
bool IsCheckedAfterEdit(int p);

// The warning text for a block, empty when every value looks plausible. A wrong probe
// threshold replaces whatever else was found.
std::string PlausibilityMessage(const ParameterBlock& block);

// The check with its memory of the last warning.
class PlausibilityChecker {
 public:
  // p: the selected row's parameter. After an edit the check runs only for the listed
  // parameters and not again for the parameter that warned last; after a read it always
  // runs. Returns the message to show (empty: none) and remembers p when it warns.
  std::string Check(const ParameterBlock& block, int p, bool afterEdit);

  int LastWarnedParameter() const { return lastWarned_; }
  void ResetLastWarned() { lastWarned_ = 0; }

 private:
  int lastWarned_ = 0;
};
