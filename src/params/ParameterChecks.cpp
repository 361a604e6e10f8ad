#include "params/ParameterChecks.h"

#include <algorithm>

#include "base/UiText.h"

namespace {

void Set(ParameterBlock& block, std::initializer_list<std::pair<int, std::uint8_t>> values) {
  for (auto [index, value] : values) block[static_cast<std::size_t>(index)] = value;
}

}  // namespace

DependentDefaultsResult FillDependentDefaults(ParameterBlock& b, ParameterBlock& sent, int p) {
  using enum RebuildAfterDefaults;
  switch (p) {
    case 33:  // TPS type: threshold, opening threshold and TPS regulation
      switch (b[33]) {
        case 0: Set(b, {{57, 40}, {46, 40}, {54, 1}}); break;
        case 1: Set(b, {{57, 210}, {46, 210}, {54, 1}}); break;
        case 2:
        case 3: Set(b, {{57, 125}, {46, 125}, {54, 1}}); break;
        case 4: Set(b, {{44, 0}, {47, 0}, {54, 0}}); break;  // no TPS: its options off
        default: break;
      }
      return {EditorAndReadings, false};
    case 34:  // probe type: threshold and probe regulation
      switch (b[34]) {
        case 0: Set(b, {{58, 25}, {53, 1}}); break;
        case 1:
        case 2: Set(b, {{58, 125}, {53, 1}}); break;
        case 3: Set(b, {{58, 60}, {53, 1}}); break;
        case 4: Set(b, {{53, 0}}); break;
        default: break;
      }
      return {EditorAndReadings, false};
    case 35:  // typical simulation: its times are the controller's own already
      if (b[35] == 3) {
        Set(b, {{36, 40}, {37, 40}, {38, 0}, {39, 0}});
        Set(sent, {{36, 40}, {37, 40}, {38, 0}, {39, 0}});
      }
      return {Editor, false};
    case 68:  // level indicator: the four level thresholds
      switch (b[68]) {
        case 0: Set(b, {{69, 120}, {70, 90}, {71, 60}, {72, 30}}); break;
        case 1: Set(b, {{69, 30}, {70, 60}, {71, 90}, {72, 120}}); break;
        case 2: Set(b, {{69, 200}, {70, 150}, {71, 100}, {72, 50}}); break;
        case 3: Set(b, {{69, 50}, {70, 100}, {71, 150}, {72, 200}}); break;
        default: break;
      }
      return {Editor, false};
    case 78:
    case 79:  // clear the counter or the flags in the controller, then read its own state
      return {None, true, p};
    case 81: b[82] = b[81] != 0 ? 1 : 0; return {EditorAndReadings, false};
    case 87: b[69] = (b[87] & 1) ? 50 : 200; return {Editor, false};
    default: return {None, false};
  }
}

bool IsCheckedAfterEdit(int p) {
  static constexpr int kChecked[] = {34, 41, 42, 52, 53, 58, 62, 63, 64, 65};
  return std::find(std::begin(kChecked), std::end(kChecked), p) != std::end(kChecked);
}

std::string PlausibilityMessage(const ParameterBlock& b) {
  std::string message;
  // Minimum, 900 RPM, 3000 RPM and maximum motor positions must rise strictly.
  if (!(b[42] < b[64] && b[64] < b[65] && b[65] < b[41])) message += UiText(743);
  if (b[62] <= 10 || b[62] > 30) message += UiText(744);
  if (b[62] >= b[63]) message += UiText(745);

  bool thresholdWrong = false;
  switch (b[34]) {
    case 0: thresholdWrong = b[58] < 10 || b[58] > 40; break;
    case 1:
    case 2: thresholdWrong = b[58] < 50 || b[58] > 200; break;
    case 3: thresholdWrong = b[58] < 50 || b[58] > 70; break;
    default: break;
  }
  if (thresholdWrong) message = UiText(746);
  return message;
}

std::string PlausibilityChecker::Check(const ParameterBlock& block, int p, bool afterEdit) {
  if (afterEdit && (p == lastWarned_ || !IsCheckedAfterEdit(p))) return {};
  std::string message = PlausibilityMessage(block);
  if (!message.empty()) lastWarned_ = p;
  return message;
}
