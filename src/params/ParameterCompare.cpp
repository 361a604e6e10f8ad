#include "params/ParameterCompare.h"

#include <set>

#include "base/NumberText.h"
#include "base/UiText.h"
#include "params/ParameterFiles.h"
#include "params/ParameterRows.h"
#include "params/ParameterTable.h"

namespace {

constexpr int kFirstParameterByte = 16;
constexpr int kLastParameterByte = 104;

std::string WithoutLeadingBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

// The error text of a file that did not load, as opening a parameter file shows it.
bool LoadForCompare(const std::string& path, ParameterBlock& block, std::string& err) {
  const LoadedParameterFile file = LoadParameterFile(path);
  switch (file.status) {
    case ParameterFileStatus::Loaded: block = file.bytes; return true;
    case ParameterFileStatus::CannotOpen: err += UiTextAndName(702, path) + "\n"; return false;
    case ParameterFileStatus::WrongSize: err += UiTextAndName(703, path) + "\n"; return false;
  }
  return false;
}

std::size_t Indent(const std::string& label) {
  const std::size_t first = label.find_first_not_of(' ');
  return first == std::string::npos ? label.size() : first;
}

// A row's name: its label without the leading blanks, and for a dependent row (one indented
// deeper than a row above it) the name of the row it depends on before it, since several
// dependent rows share a label: "Рег. от TPS / Скорость мотора".
std::string RowName(const ParameterList& list, int r) {
  const std::string& label = list.Texts()[static_cast<std::size_t>(r)].label;
  const std::size_t indent = Indent(label);
  for (int above = r - 1; indent > 0 && above >= 1; --above) {
    const std::string& parent = list.Texts()[static_cast<std::size_t>(above)].label;
    if (Indent(parent) < indent) return WithoutLeadingBlanks(parent) + " / " + WithoutLeadingBlanks(label);
  }
  return WithoutLeadingBlanks(label);
}

constexpr int kPowerDefectsByte = 78;
constexpr int kErrorFlagsByte = 79;
constexpr int kErrorsText = 1243;
constexpr int kOtherDeviceText = 1244;
constexpr int kNoText = 555;

// The error flags set in byte 79, by the labels of their rows, in the rows' order.
std::string ErrorFlagsText(std::uint8_t flags) {
  static constexpr struct { int bit, label; } kFlags[] = {{1, 405}, {0, 404}, {4, 408}, {2, 406}, {3, 407}};
  std::string text;
  for (const auto& f : kFlags)
    if (flags & (1 << f.bit)) text += (text.empty() ? "" : ", ") + UiText(f.label);
  return text.empty() ? UiText(kNoText) : text;
}

// The controller a block is for: its type byte and program version.
std::string DeviceText(const ParameterBlock& block) {
  static const char* kHex = "0123456789ABCDEF";
  const std::uint8_t type = block[kTypeByte];
  return std::string("0x") + kHex[type >> 4] + kHex[type & 15] + " V" +
         FormatFixed(block[kVersionByte] * 0.01, 2);
}

}  // namespace

std::vector<ParameterDifference> CompareParameterSets(const ParameterBlock& first,
                                                      const ParameterBlock& second, int listOrder) {
  std::vector<ParameterDifference> differences;
  const ParameterList list = BuildParameterList(first, listOrder);
  for (int r = 1; r <= list.Count(); ++r) {
    const ParameterRow& row = list.Rows()[static_cast<std::size_t>(r)];
    if (row.editorKind == kEditorClearButton) continue;
    if (!IsParameterOffered(second, row.parameter)) continue;
    const auto at = static_cast<std::size_t>(row.parameter);
    if (first[at] == second[at]) continue;
    differences.push_back({RowName(list, r), WithoutLeadingBlanks(RowValueText(first, row)),
                           WithoutLeadingBlanks(RowValueText(second, row)), row.parameter});
  }
  return differences;
}

int DifferingParameterBytes(const ParameterBlock& first, const ParameterBlock& second) {
  int count = 0;
  for (int i = kFirstParameterByte; i <= kLastParameterByte; ++i)
    if (first[static_cast<std::size_t>(i)] != second[static_cast<std::size_t>(i)]) ++count;
  return count;
}

std::string LoadDifferencesText(const ParameterBlock& controller, const ParameterBlock& loaded, int listOrder,
                                const ParameterBlock* file) {
  static const std::string kArrow = " → ";
  std::string text;
  if (file &&
      ((*file)[kTypeByte] != controller[kTypeByte] || (*file)[kVersionByte] != controller[kVersionByte]))
    text += UiText(kOtherDeviceText) + DeviceText(controller) + kArrow + DeviceText(*file) + "\n";
  const bool otherDevice = !text.empty();
  std::set<int> shown{kPowerDefectsByte, kErrorFlagsByte};
  // The diagnostic rows, first in the list, by their own names.
  if (controller[kPowerDefectsByte] != loaded[kPowerDefectsByte])
    text += UiText(402) + ": " + std::to_string(controller[kPowerDefectsByte]) + kArrow +
            std::to_string(loaded[kPowerDefectsByte]) + "\n";
  if (controller[kErrorFlagsByte] != loaded[kErrorFlagsByte])
    text += UiText(kErrorsText) + ": " + ErrorFlagsText(controller[kErrorFlagsByte]) + kArrow +
            ErrorFlagsText(loaded[kErrorFlagsByte]) + "\n";
  for (const ParameterDifference& d : CompareParameterSets(controller, loaded, listOrder)) {
    text += d.label + ": " + d.first + kArrow + d.second + "\n";
    shown.insert(d.parameter);
  }
  std::string others;
  for (int i = kFirstParameterByte; i <= kLastParameterByte; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (controller[at] == loaded[at] || shown.count(i)) continue;
    others += (others.empty() ? "" : ", ") + std::to_string(i) + ": " + std::to_string(controller[at]) +
              kArrow + std::to_string(loaded[at]);
  }
  if (!others.empty()) text += UiText(1231) + others + "\n";
  if (text.empty() || (otherDevice && text.find('\n') == text.size() - 1)) text += UiText(1230) + "\n";
  return text;
}

std::string ParameterChangeText(const ParameterBlock& block, int index, std::uint8_t value, int listOrder) {
  if (index < 0 || index >= static_cast<int>(block.size())) return std::string();
  ParameterBlock changed = block;
  changed[static_cast<std::size_t>(index)] = value;
  const ParameterList list = BuildParameterList(changed, listOrder);
  for (int r = 1; r <= list.Count(); ++r) {
    const ParameterRow& row = list.Rows()[static_cast<std::size_t>(r)];
    if (row.parameter != index || row.editorKind == kEditorClearButton) continue;
    return WithoutLeadingBlanks(list.Texts()[static_cast<std::size_t>(r)].label) + ": " +
           RowValueText(changed, row);
  }
  return std::to_string(index) + ": " + std::to_string(value);
}

int CompareParameterFiles(const std::string& firstPath, const std::string& secondPath, int listOrder,
                          std::string& out, std::string& err) {
  ParameterBlock first{};
  ParameterBlock second{};
  const bool firstLoaded = LoadForCompare(firstPath, first, err);
  const bool secondLoaded = LoadForCompare(secondPath, second, err);
  if (!firstLoaded || !secondLoaded) return 2;
  const std::vector<ParameterDifference> differences = CompareParameterSets(first, second, listOrder);
  for (const ParameterDifference& d : differences) out += d.label + "\t" + d.first + "\t" + d.second + "\n";
  return differences.empty() ? 0 : 1;
}
