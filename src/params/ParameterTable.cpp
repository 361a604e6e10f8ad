#include "params/ParameterTable.h"

#include <array>

#include "model/ParameterBlock.h"

namespace {

constexpr int kArrowsOnly = kEditorArrows;
constexpr int kBoxAndArrows = kEditorEditBox | kEditorArrows;

constexpr std::array<int, 7> kCoilTypes{415, 416, 417, 418, 419, 420, 421};
constexpr std::array<int, 5> kTpsTypes{427, 428, 429, 430, 431};
constexpr std::array<int, 5> kProbeTypes{442, 443, 444, 445, 446};
constexpr std::array<int, 5> kSimulationModes{462, 463, 464, 465, 466};
constexpr std::array<int, 2> kYesNo{555, 556};
constexpr std::array<int, 3> kSwitchingTypes{476, 477, 478};
constexpr std::array<int, 4> kLevelIndicators{496, 497, 498, 499};
constexpr std::array<int, 2> kRelayFunctions{491, 492};
constexpr std::array<int, 2> kProbeInputTwoWay{454, 455};
constexpr std::array<int, 3> kVacuumTypes{571, 572, 573};
constexpr std::array<int, 2> kCoilSignalLevels{427, 432};
constexpr std::array<int, 2> kLevelDirections{590, 591};
constexpr std::array<int, 3> kProbeInputThreeWay{454, 456, 457};

constexpr std::array<int, 5> kErrorFlags{404, 405, 406, 407, 408};

constexpr ParameterInfo Options(int index, std::span<const int> texts, std::string_view meaning) {
  return {index, kFormatOption, 0.0, 0, static_cast<int>(texts.size()) - 1, kArrowsOnly, texts, meaning};
}
constexpr ParameterInfo OnOff(int index, std::string_view meaning) {
  return {index, kFormatYesNo, 0.0, 0, 1, kArrowsOnly, kYesNo, meaning};
}
constexpr ParameterInfo Number(int index, int format, double factor, int minimum, int maximum,
                               std::string_view meaning) {
  return {index, format, factor, minimum, maximum, kBoxAndArrows, {}, meaning};
}
constexpr ParameterInfo Byte(int index, std::string_view meaning) {
  return Number(index, kFormatWhole, 1, 0, 255, meaning);
}
constexpr ParameterInfo Volts(int index, std::string_view meaning) {
  return Number(index, kFormatVolts, 0.02, 0, 255, meaning);
}

// One row per byte 32..90, in index order, so that a byte's row is at index - 32.
constexpr std::array<ParameterInfo, 59> kParameters{{
    Options(32, kCoilTypes, "ignition coil type (RPM source)"),
    Options(33, kTpsTypes, "throttle position sensor type"),
    Options(34, kProbeTypes, "lambda probe type"),
    Options(35, kSimulationModes, "probe simulation mode"),
    Number(36, kFormatHundredths, 0.02, 0, 255, "simulation time high, seconds"),
    Number(37, kFormatHundredths, 0.02, 0, 255, "simulation time low, seconds"),
    Number(38, kFormatTenths, 0.2, 0, 255, "simulation time off, seconds"),
    Byte(39, "simulation pulse count"),
    Number(40, kFormatSeconds, 5, 0, 255, "cold-probe time, seconds"),
    Byte(41, "stepper motor maximum position, steps"),
    Byte(42, "stepper motor minimum position, steps"),
    Number(43, kFormatHundredths, 0.01, 0, 255, "switching time (injection emulation), seconds"),
    OnOff(44, "opening option on/off"),
    Byte(45, "opening option: motor position, steps"),
    Volts(46, "opening option: TPS threshold, volts"),
    OnOff(47, "CUT-OFF option on/off"),
    Number(48, kFormatSpeed, 100, 0, 100, "CUT-OFF option: RPM threshold"),
    Byte(49, "CUT-OFF option: motor position, steps"),
    Byte(50, "CUT-OFF option: motor speed"),
    Byte(51, "regulation from RPM: motor speed"),
    OnOff(52, "regulation from RPM on/off"),
    OnOff(53, "regulation from probe on/off"),
    OnOff(54, "regulation from TPS on/off"),
    OnOff(55, "switch-over temperature on/off"),
    {56, kFormatTemperature, 1, 0, 255, kArrowsOnly, {}, "switch-over temperature, degrees C"},
    Volts(57, "TPS threshold, volts"),
    Volts(58, "probe threshold, volts"),
    Volts(59, "regulation from TPS: hysteresis, volts"),
    Byte(60, "regulation from TPS: enrichment"),
    Byte(61, "regulation from TPS: leaning"),
    Number(62, kFormatSpeed, 100, 10, 100, "switch-over RPM (petrol to gas)"),
    Number(63, kFormatSpeed, 100, 50, 100, "maximum RPM on gas"),
    Byte(64, "motor position for 900 RPM, steps"),
    Byte(65, "motor position for 3000 RPM, steps"),
    Byte(66, "regulation from TPS: motor speed"),
    Options(67, kSwitchingTypes, "switching type"),
    Options(68, kLevelIndicators, "gas level indicator type"),
    Volts(69, "level threshold 1/4 (or gas-level reserve without byte 68), volts"),
    Volts(70, "level threshold 2/4, volts"),
    Volts(71, "level threshold 3/4, volts"),
    Volts(72, "level threshold 4/4, volts"),
    Options(73, kRelayFunctions, "relay function"),
    Byte(74, "choke (start enrichment)"),
    Options(75, kProbeInputTwoWay, "probe input kind (two-way)"),
    Byte(76, "regulation from probe: motor speed"),
    Byte(77, "opening option: motor speed"),
    {78, kFormatWhole, 1, 0, 255, kEditorClearButton, {}, "power-supply defect counter"},
    {79, kFormatClearAction, 0, 0, 255, kEditorClearButton, {}, "error flags"},
    {80, kNoValueFormat, 0, 0, 0, 0, {}, "cause of the controller's last reset"},
    Options(81, kVacuumTypes, "vacuum (MAP) sensor type"),
    OnOff(82, "regulation from vacuum on/off"),
    Byte(83, "regulation from vacuum: enrichment"),
    Byte(84, "regulation from vacuum: leaning"),
    Byte(85, "regulation from vacuum: motor speed"),
    Options(86, kCoilSignalLevels, "ignition coil signal level"),
    Options(87, kLevelDirections, "gas level indicator direction (without byte 68)"),
    Number(88, kFormatSeconds, 1, 0, 255, "switch-off time (memory clearing), seconds"),
    OnOff(89, "depressurisation detection on/off"),
    Options(90, kProbeInputThreeWay, "probe input kind (three-way)"),
}};

constexpr int kFirstParameter = 32;

constexpr bool RowsFollowIndex() {
  for (std::size_t i = 0; i < kParameters.size(); ++i) {
    if (kParameters[i].index != kFirstParameter + static_cast<int>(i)) return false;
  }
  return true;
}
static_assert(RowsFollowIndex(), "parameter rows must be in index order without gaps");

}  // namespace

std::span<const ParameterInfo> ParameterTable() { return kParameters; }

const ParameterInfo* FindParameterInfo(int index) {
  const int row = index - kFirstParameter;
  if (row < 0 || row >= static_cast<int>(kParameters.size())) return nullptr;
  return &kParameters[static_cast<std::size_t>(row)];
}

int OptionTextId(const ParameterInfo& info, std::uint8_t value) {
  return value < info.options.size() ? info.options[value] : kUnsetOptionTextId;
}

int YesNoTextId(std::uint8_t b) { return b < kYesNo.size() ? kYesNo[b] : kUnsetOptionTextId; }

int ErrorFlagTextId(int bit) {
  return bit >= 0 && bit < static_cast<int>(kErrorFlags.size()) ? kErrorFlags[static_cast<std::size_t>(bit)]
                                                                : 0;
}

std::string ResetCauseText(std::uint8_t b) {
  switch (b & 0x0F) {
    case 2: return "External Reset";
    case 4: return "Brown-out Reset";
    case 0:
    case 8: return "Watchdog Reset";
    default: return "Power On Reset";
  }
}

UnitSuffix UnitSuffixOf(int valueFormat) {
  switch (valueFormat) {
    case kFormatVolts: return {" [V]", 0};
    case kFormatTenths:
    case kFormatSeconds:
    case kFormatHundredths: return {" [s]", 0};
    case kFormatSpeed: return {{}, 150};
    case kFormatTemperature: return {" ['C]", 0};
    default: return {};
  }
}
