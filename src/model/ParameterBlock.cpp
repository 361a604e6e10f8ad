#include "model/ParameterBlock.h"

#include <cmath>

#include "base/NumberText.h"

ParameterBlock FreshParameterBlock() {
  ParameterBlock block;
  block.fill(255);
  return block;
}

bool IsParameterOffered(const ParameterBlock& block, int n) {
  if (n < 0 || n > 103) return false;
  return (block[kPresenceMaskByte + n / 8] >> (n % 8)) & 1U;
}

std::string FormatParameterValue(std::uint8_t b, int valueFormat, double factor) {
  const double value = b * factor;
  switch (valueFormat) {
    case kFormatWhole:
    case kFormatSpeed:
    case kFormatSeconds: return FormatFixed(value, 0);
    case kFormatVolts:
    case kFormatHundredths: return FormatFixed(value, 2);
    case kFormatTenths: return FormatFixed(value, 1);
    case kFormatTemperature: return FormatSigned(TemperatureDegrees(b));
    case kFormatNonZero: return FormatFixed(value != 0.0 ? 1.0 : 0.0, 0);
    default:
      // Option, yes/no and action rows are resolved by the views that know their texts.
      return {};
  }
}

std::uint8_t ParseParameterValue(std::string_view text, double factor) {
  double number = 0.0;
  ParseLeadingNumber(text, number);
  // Rows without a scale (factor 0) take no typed values; dividing would only make a NaN or an
  // infinity of it.
  if (factor == 0.0) return 0;
  const double quotient = std::trunc(number / factor);
  // Every finite double of 2^60 or more is a multiple of 256, so the low eight bits of such an
  // integer are 0; the same is taken for the infinities (the limit) and for NaN. fmod is exact,
  // so this gives the two's-complement low byte of any finite quotient without converting it to
  // an integer type that might not hold it.
  if (!std::isfinite(quotient)) return 0;
  double low = std::fmod(quotient, 256.0);
  if (low < 0) low += 256.0;
  return static_cast<std::uint8_t>(low);
}

ModelDescription ModelText(std::uint8_t typeByte) {
  switch (typeByte) {
    case 0x32:
    case 0x33: return {" TELK50", 102};
    case 0x64:
    case 0x65: return {" TELK100", 102};
    case kTesterType: return {" H4401", 108};
    default: return {};
  }
}

std::string VersionText(const ParameterBlock& block) {
  return FormatParameterValue(block[kVersionByte], kFormatVolts, 0.01);
}

const std::array<TemperaturePoint, kTemperaturePoints>& TemperatureTable() {
  static constexpr std::array<TemperaturePoint, kTemperaturePoints> kTable{{
      {0, 185},   {1, 175},   {3, 155},   {4, 145},   {5, 135},   {6, 130},   {7, 125},   {8, 120},
      {9, 115},   {10, 110},  {11, 105},  {13, 100},  {15, 95},   {18, 90},   {21, 85},   {24, 80},
      {25, 75},   {34, 70},   {40, 65},   {46, 60},   {55, 55},   {64, 50},   {75, 45},   {86, 40},
      {99, 35},   {113, 30},  {128, 25},  {143, 20},  {158, 15},  {173, 10},  {187, 5},   {199, 0},
      {212, -5},  {221, -10}, {229, -15}, {236, -20}, {241, -25}, {245, -30}, {248, -35}, {250, -40},
      {252, -45}, {253, -50}, {254, -55}, {255, -60},
  }};
  return kTable;
}

namespace {

// First index from `from`, at most `last`, whose threshold is b or more; `last` when none is.
int FirstThresholdAtLeast(std::uint8_t b, int from, int last) {
  const auto& table = TemperatureTable();
  int i = from;
  while (i < last && table[i].threshold < b) ++i;
  return i;
}

}  // namespace

int TemperatureDegrees(std::uint8_t b) {
  return TemperatureTable()[FirstThresholdAtLeast(b, 0, kTemperaturePoints - 1)].degrees;
}

std::uint8_t TemperatureStepDown(std::uint8_t b) {
  return TemperatureTable()[FirstThresholdAtLeast(b, 0, kTemperaturePoints - 2) + 1].threshold;
}

std::uint8_t TemperatureStepUp(std::uint8_t b) {
  return TemperatureTable()[FirstThresholdAtLeast(b, 1, kTemperaturePoints - 1) - 1].threshold;
}
