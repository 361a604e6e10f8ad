#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The program's image of the controller's parameter memory. Bytes 0..104 are exchanged with
// the controller; the rest travel with files only.
using ParameterBlock = std::array<std::uint8_t, 256>;

inline constexpr int kExchangedParameterBytes = 105;

// Header bytes.
inline constexpr int kTypeByte = 0;
inline constexpr int kVersionByte = 1;
inline constexpr int kOptionByte = 2;
inline constexpr int kPresenceMaskByte = 3;
inline constexpr std::uint8_t kTesterType = 0xCB;

// ValueFormat codes: how a parameter byte is shown (code 8 does not exist).
inline constexpr int kFormatOption = 0;        // option text of the parameter
inline constexpr int kFormatWhole = 1;         // b * f, "%.0f"
inline constexpr int kFormatVolts = 2;         // b * f, "%.2f", editor unit " [V]"
inline constexpr int kFormatTenths = 3;        // b * f, "%.1f", editor unit " [s]"
inline constexpr int kFormatSpeed = 4;         // b * f, "%.0f", editor unit text 150
inline constexpr int kFormatSeconds = 5;       // b * f, "%.0f", editor unit " [s]"
inline constexpr int kFormatTemperature = 6;   // TemperatureTable degrees, "%+.0f"
inline constexpr int kFormatNonZero = 7;       // 1 when b * f is not zero, else 0
inline constexpr int kFormatYesNo = 9;         // 0 text 555, 1 text 556, else text 411
inline constexpr int kFormatClearAction = 10;  // text 552, the value is not shown
inline constexpr int kFormatHundredths = 11;   // b * f, "%.2f", editor unit " [s]"

// A fresh block: every byte 255.
ParameterBlock FreshParameterBlock();

// Bit (n mod 8) of byte 3 + (n div 8): the controller offers parameter n (n 0..103).
bool IsParameterOffered(const ParameterBlock& block, int n);

// Text of byte b for value formats 1..7 and 11 (b times factor, printf-style, point as the
// decimal separator whatever the locale); empty for the option formats 0, 9 and 10.
std::string FormatParameterValue(std::uint8_t b, int valueFormat, double factor);

// Typed text to a byte: longest leading decimal number, divided by factor, truncated toward
// zero, low eight bits kept.
std::uint8_t ParseParameterValue(std::string_view text, double factor);

// Model text (" TELK50", " TELK100", " H4401" or empty) and the id of the device text
// (102, 108, or 0 when there is none) for a Controller type byte.
struct ModelDescription {
  std::string model;
  int deviceTextId = 0;
};
ModelDescription ModelText(std::uint8_t typeByte);

// Byte 1 times 0.01 with two decimals ("1.45").
std::string VersionText(const ParameterBlock& block);

// The temperature sensor's table: thresholds rising, degrees C falling. A byte b stands for
// the degrees of the first entry whose threshold is b or more; the last threshold is 255.
struct TemperaturePoint {
  std::uint8_t threshold;
  int degrees;
};
inline constexpr int kTemperaturePoints = 44;
const std::array<TemperaturePoint, kTemperaturePoints>& TemperatureTable();

// Degrees C that byte b stands for (185 for 0, -60 for 255).
int TemperatureDegrees(std::uint8_t b);

// The byte one table step colder (threshold of the next entry) and one step warmer (threshold
// of the previous entry). Neither wraps: colder from 255 stays 255, warmer from 0 stays 0.
std::uint8_t TemperatureStepDown(std::uint8_t b);
std::uint8_t TemperatureStepUp(std::uint8_t b);
