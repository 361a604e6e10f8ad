#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// What every interpreted parameter byte (32 to 90) is: how it is shown, how the editor's arrows
// step it and which text each option value has. The editor, the readings and the wizard read
// this table instead of repeating the facts.

// EditorKind bits of an editor row.
inline constexpr int kEditorArrows = 1;       // left/right arrows
inline constexpr int kEditorEditBox = 2;      // edit box
inline constexpr int kEditorClearButton = 8;  // alone: the clear button of a diagnostic row

// Byte 80 (cause of the last reset) has no ValueFormat.
inline constexpr int kNoValueFormat = -1;

// Text 411 " УСТАНОВИ": shown for a value outside a parameter's option list.
inline constexpr int kUnsetOptionTextId = 411;

struct ParameterInfo {
  int index = 0;  // the parameter number, its byte in the ParameterBlock
  int valueFormat = kNoValueFormat;
  double factor = 0.0;  // 0 for rows without a numeric value
  int minimum = 0;      // the range the arrows step within (and wrap around)
  int maximum = 0;
  int editorKind = 0;            // kEditor* bits as the parameter view uses them
  std::span<const int> options;  // text id by value (formats 0 and 9); empty otherwise
  std::string_view meaning;      // short English description
};

// Every row, rising by index.
std::span<const ParameterInfo> ParameterTable();

// The row of parameter byte index, or nullptr for bytes without one (below 32, above 90).
const ParameterInfo* FindParameterInfo(int index);

// Text id of the option value of the parameter; kUnsetOptionTextId for a value outside its
// list (and for parameters without a list).
int OptionTextId(const ParameterInfo& info, std::uint8_t value);

// Format 9: 0 gives text 555 "НЕТ", 1 text 556 "Да", anything else text 411.
int YesNoTextId(std::uint8_t b);

// Byte 79: text id of error flag bit 0..4 (404 to 408), 0 for the uninterpreted bits.
int ErrorFlagTextId(int bit);

// Byte 80: the fixed, untranslated name of the controller's last reset cause (low four bits).
std::string ResetCauseText(std::uint8_t b);

// Unit suffix the editor appends after a value of the format: a fixed text, or a UiText id
// (format 4, text 150), or neither.
struct UnitSuffix {
  std::string_view text;
  int textId = 0;
};
UnitSuffix UnitSuffixOf(int valueFormat);
