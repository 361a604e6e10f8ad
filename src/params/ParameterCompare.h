#pragma once

#include <string>
#include <vector>

#include "model/ParameterBlock.h"

// Comparing two parameter sets row by row, as the parameter view shows them.

struct ParameterDifference {
  std::string label;  // the row's label without its leading blanks
  std::string first;  // the value text of the first set
  std::string second;
  int parameter = 0;  // the row's byte in the block
};

// The setting rows the parameter view shows for `first` in the given list order, whose
// parameter `second` also offers and whose byte differs. The diagnostic rows (power defects,
// error flags) are counters and alarms, not settings, and are left out.
std::vector<ParameterDifference> CompareParameterSets(const ParameterBlock& first,
                                                      const ParameterBlock& second, int listOrder);

// How many of the parameter bytes 16..104 differ between the two blocks.
int DifferingParameterBytes(const ParameterBlock& first, const ParameterBlock& second);

// What loading a file would change in the controller, for the question before the write: one
// line "label: value in the controller → value after loading" per differing row of the
// controller's view in the given list order; one line naming the differing bytes 16..104 that
// have no such row, each with both values; a line saying nothing differs when nothing does.
// The diagnostic bytes 78 and 79 come first, by their rows' names. A file made for another
// model or program version (bytes 0 and 1 of `file`) is said so in a line before them all.
// `loaded` is the controller's block as loading would leave it. Lines end with LF.
std::string LoadDifferencesText(const ParameterBlock& controller, const ParameterBlock& loaded, int listOrder,
                                const ParameterBlock* file = nullptr);

// One parameter byte with a value, as the editor would show it in the block: "label: value"
// for a byte with a row, "index: value" for one without.
std::string ParameterChangeText(const ParameterBlock& block, int index, std::uint8_t value, int listOrder);

// The compare command: loads both files, writes one line per differing row (label, first
// value, second value, separated by tabs) to `out` and a load failure to `err`. Returns 0
// when the sets agree, 1 when they differ, 2 when a file cannot be read or is not 256 bytes long.
int CompareParameterFiles(const std::string& firstPath, const std::string& secondPath, int listOrder,
                          std::string& out, std::string& err);
