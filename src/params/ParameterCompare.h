#pragma once

#include <string>
#include <vector>

#include "model/ParameterBlock.h"

// Comparing two parameter sets row by row, as the parameter view shows them.

struct ParameterDifference {
  std::string label;  // the row's label without its leading blanks
  std::string first;  // the value text of the first set
  std::string second;
};

// The setting rows the parameter view shows for `first` in the given list order, whose
// parameter `second` also offers and whose byte differs. The diagnostic rows (power defects,
// error flags) are counters and alarms, not settings, and are left out.
std::vector<ParameterDifference> CompareParameterSets(const ParameterBlock& first,
                                                      const ParameterBlock& second, int listOrder);

// The compare command: loads both files, writes one line per differing row (label, first
// value, second value, separated by tabs) to `out` and a load failure to `err`. Returns 0
// when the sets agree, 1 when they differ, 2 when a file cannot be read or is too short.
int CompareParameterFiles(const std::string& firstPath, const std::string& secondPath, int listOrder,
                          std::string& out, std::string& err);
