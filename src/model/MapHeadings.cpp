#include "model/MapHeadings.h"

#include "base/NumberText.h"

std::string MapRowHeading(const ParameterBlock& block, int row) {
  const double step = block[81] == 1 ? 0.16 : 0.32;
  return FormatFixed((row - 1) * step, 2);
}

std::string MapColumnHeading(int column) { return std::to_string(400 + 200 * column); }
