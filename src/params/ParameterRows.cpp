#include "params/ParameterRows.h"

#include <algorithm>
#include <cmath>

#include "base/NumberText.h"
#include "base/UiText.h"
#include "params/ParameterTable.h"

namespace {

constexpr int kPowerDefects = 78;
constexpr int kErrorFlags = 79;
constexpr int kTemperature = 56;
constexpr int kFirstErrorRowsVersion = 160;  // MAP and memory error rows from this version on

std::string UnitText(int valueFormat) {
  const UnitSuffix unit = UnitSuffixOf(valueFormat);
  return unit.textId ? UiText(unit.textId) : std::string(unit.text);
}

// The rows of the order by function after the two common rows.
void AddRowsByFunction(ParameterList& list, const ParameterBlock& b) {
  auto add = [&](int labelId, int parameter) { return list.AddRow(labelId, parameter); };
  add(425, 33);
  add(435, 57);
  add(570, 81);
  add(440, 34);
  if (b[34] != 4) {
    add(452, 75);
    add(453, 90);
    add(450, 40);
    add(460, 35);
    if (b[35] == 1) {
      add(470, 36);
      add(471, 37);
      add(472, 38);
      add(473, 39);
    }
  }
  add(490, 73);
  if (b[73] == 0) add(480, 43);
  if (b[73] == 1) add(479, 88);
  add(475, 67);
  add(481, 55);
  if (b[55] == 1) add(482, 56);
  add(483, 62);
  add(484, 63);
  if (add(495, 68)) {
    add(500, 69);
    add(501, 70);
    add(502, 71);
    add(503, 72);
  } else {
    add(495, 87);
    add(504, 69);
  }
  add(505, 41);
  add(506, 65);
  add(507, 64);
  add(508, 42);
  add(592, 89);
  add(509, 74);
  if (b[33] != 4) {
    add(510, 44);
    if (b[44] == 1) {
      add(512, 46);
      add(513, 45);
      add(514, 77);
    }
    add(520, 47);
    if (b[47] == 1) {
      add(522, 48);
      add(523, 49);
      add(524, 50);
    }
    add(530, 54);
    if (b[54] == 1) {
      add(532, 59);
      add(533, 60);
      add(534, 61);
      add(535, 66);
    }
  }
  if (b[81] != 0) {
    add(574, 82);
    if (b[82] != 0) {
      add(576, 83);
      add(577, 84);
      add(578, 85);
    }
  }
  if (b[34] != 4) {
    add(540, 53);
    if (b[53] == 1) {
      add(542, 58);
      add(543, 76);
    }
  }
  add(546, 52);
  if (b[52] == 1) add(547, 51);
}

// The rows of the order by type: each sensor type followed by what depends on it.
void AddRowsByType(ParameterList& list, const ParameterBlock& b) {
  auto add = [&](int labelId, int parameter) { return list.AddRow(labelId, parameter); };
  add(425, 33);
  if (b[33] != 4) {
    add(436, 57);
    add(531, 54);
    if (b[54] != 0) {
      add(536, 59);
      add(537, 60);
      add(538, 61);
      add(539, 66);
    }
    add(511, 44);
    if (b[44] != 0) {
      add(515, 46);
      add(516, 45);
      add(517, 77);
    }
    add(521, 47);
    if (b[47] != 0) {
      add(525, 48);
      add(526, 49);
      add(527, 50);
    }
  }
  add(570, 81);
  if (b[81] != 0) {
    add(575, 82);
    if (b[82] != 0) {
      add(579, 83);
      add(580, 84);
      add(581, 85);
    }
  }
  add(440, 34);
  if (b[34] != 4) {
    add(453, 75);
    add(453, 90);
    add(541, 53);
    if (b[53] == 1) {
      add(544, 58);
      add(545, 76);
    }
    add(451, 40);
    add(459, 74);
    add(461, 35);
    if (b[35] == 1) {
      add(470, 36);
      add(471, 37);
      add(472, 38);
      add(473, 39);
    }
  }
  add(546, 52);
  if (b[52] == 1) add(547, 51);
  add(490, 73);
  if (b[73] == 0) add(480, 43);
  if (b[73] == 1) add(479, 88);
  add(475, 67);
  add(481, 55);
  if (b[55] == 1) add(482, 56);
  add(483, 62);
  add(484, 63);
  add(505, 41);
  add(506, 65);
  add(507, 64);
  add(508, 42);
  add(592, 89);
  if (add(495, 68)) {
    add(500, 69);
    add(501, 70);
    add(502, 71);
    add(503, 72);
  } else {
    add(495, 87);
    add(504, 69);
  }
}

}  // namespace

bool ParameterList::AddParameterRow(int parameter, int valueFormat, const std::string& label, int maximum,
                                    int minimum, int editorKind, double factor) {
  if (!IsParameterOffered(block_, parameter)) return false;
  if (count_ >= kMaxParameterRows) return false;
  ++count_;
  rows_.push_back({parameter, factor, valueFormat, editorKind, minimum, maximum});
  texts_.push_back({label, RowValueText(block_, rows_.back())});
  return true;
}

bool ParameterList::AddRow(int labelId, int parameter) {
  const ParameterInfo* info = FindParameterInfo(parameter);
  if (!info) return false;
  return AddParameterRow(parameter, info->valueFormat, UiText(labelId), info->maximum, info->minimum,
                         info->editorKind, info->factor);
}

std::string RowValueText(const ParameterBlock& block, const ParameterRow& row) {
  const std::uint8_t b = block[static_cast<std::size_t>(row.parameter)];
  if (row.factor != 0.0)
    return FormatParameterValue(b, row.valueFormat, row.factor) + UnitText(row.valueFormat);
  switch (row.valueFormat) {
    case kFormatYesNo: return UiText(YesNoTextId(b));
    case kFormatClearAction: return UiText(552);
    case kFormatOption:
      if (const ParameterInfo* info = FindParameterInfo(row.parameter)) return UiText(OptionTextId(*info, b));
      return UiText(kUnsetOptionTextId);
    default: return {};
  }
}

ParameterList BuildParameterList(const ParameterBlock& block, int listOrder) {
  ParameterList list(block);
  list.Texts()[0] = {UiText(300), UiText(301)};

  if (block[kPowerDefects] != 0 &&
      list.AddParameterRow(kPowerDefects, kFormatWhole, UiText(402), 255, 0, kEditorClearButton, 1))
    list.Texts().back().value += UiText(403);
  // Error rows in the order TPS, probe, MAP, data, memory.
  static constexpr int kErrorRowBits[] = {1, 0, 4, 2, 3};
  for (int bit : kErrorRowBits) {
    if (!(block[kErrorFlags] & (1 << bit))) continue;
    if ((bit == 3 || bit == 4) && block[kVersionByte] < kFirstErrorRowsVersion) continue;
    list.AddParameterRow(kErrorFlags, kFormatClearAction, UiText(ErrorFlagTextId(bit)), 255, 0,
                         kEditorClearButton, 0);
  }

  list.AddRow(413, 32);
  list.AddRow(414, 86);
  if (listOrder == kOrderByFunction)
    AddRowsByFunction(list, block);
  else
    AddRowsByType(list, block);
  return list;
}

// Rows 0 to count take count + 1 rows; the heading row stands above the rows that scroll.
int ParameterTableLength(int count, int rowsVisible) {
  return count + 1 > rowsVisible ? count + 1 : rowsVisible;
}

std::uint8_t SteppedValue(std::uint8_t value, const ParameterRow& row, int direction) {
  if (row.parameter == kTemperature)
    return direction == 0 ? TemperatureStepDown(value) : TemperatureStepUp(value);
  const int v = value;
  if (direction == 0) return static_cast<std::uint8_t>(v > row.minimum ? v - 1 : row.maximum);
  return static_cast<std::uint8_t>(v < row.maximum ? v + 1 : row.minimum);
}

namespace {
double TypedSteps(const std::string& text, const ParameterRow& row) {
  double number = 0.0;
  ParseLeadingNumber(text, number);
  const double scaled = row.factor != 0.0 ? std::trunc(number / row.factor) : 0.0;
  return std::isnan(scaled) ? 0.0 : scaled;
}
}  // namespace

bool TypedAboveRange(const std::string& text, const ParameterRow& row) {
  return TypedSteps(text, row) > static_cast<double>(row.maximum);
}

std::uint8_t TypedValue(const std::string& text, const ParameterRow& row) {
  const double scaled = TypedSteps(text, row);
  const double limited =
      std::clamp(scaled, static_cast<double>(row.minimum), static_cast<double>(row.maximum));
  return static_cast<std::uint8_t>(limited);
}
