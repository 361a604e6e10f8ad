#pragma once

#include <string>

#include "model/ParameterBlock.h"

// The map view (23 x 17): the vacuum heading of row 1..16 and the speed heading of column
// 1..22.
std::string MapRowHeading(const ParameterBlock& block, int row);
std::string MapColumnHeading(int column);
