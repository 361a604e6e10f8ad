#include "link/ReplyDecoding.h"

#include <algorithm>

#include "base/UiText.h"

namespace {
constexpr int kTraceOffset = 22;
constexpr int kLambdaTypeByte = 34;
constexpr int kThrottleTypeByte = 33;
constexpr int kVacuumTypeByte = 81;
constexpr int kAbsent = 4;

bool LambdaAbsent(const ParameterBlock& b) { return b[kLambdaTypeByte] == kAbsent; }
bool ThrottleAbsent(const ParameterBlock& b) { return b[kThrottleTypeByte] == kAbsent; }
}  // namespace

int LambdaGaugeValue(std::uint8_t value, const ParameterBlock& block) {
  return block[kLambdaTypeByte] == 2 ? 255 - value : value;
}

int ThrottleGaugeValue(std::uint8_t value, const ParameterBlock& block) {
  return (block[kThrottleTypeByte] & 1) ? (value ^ 0xFF) : value;
}

std::string VoltsText(std::uint8_t value) { return FormatParameterValue(value, 2, 0.02) + " [V]"; }

std::string EngineSpeedText(std::uint8_t value) { return FormatParameterValue(value, 4, 100) + UiText(150); }

std::string StepperText(std::uint8_t value) { return FormatParameterValue(value, 1, 1) + UiText(151); }

ConfigurationView DecodeConfiguration(const std::uint8_t* r, const ParameterBlock& block) {
  ConfigurationView v;
  v.status = r[1];
  v.engineSpeed = r[3];
  v.lambda = r[4];
  v.stepper = r[5];
  v.throttle = r[6];
  v.rpmGauge = v.engineSpeed;
  v.lamGauge = LambdaGaugeValue(v.lambda, block);
  v.tpsGauge = ThrottleGaugeValue(v.throttle, block);
  v.motGauge = v.stepper;
  v.rpmText = EngineSpeedText(v.engineSpeed);
  v.lambdaText = VoltsText(v.lambda);
  v.tpsText = VoltsText(v.throttle);
  v.motorText = StepperText(v.stepper);
  v.points.push_back({TraceChannel::RPM, v.engineSpeed * 4 + kTraceOffset});
  if (!LambdaAbsent(block)) v.points.push_back({TraceChannel::LAM, v.lambda + kTraceOffset});
  if (!ThrottleAbsent(block))
    v.points.push_back({TraceChannel::TPS, ThrottleGaugeValue(v.throttle, block) + kTraceOffset});
  v.points.push_back({TraceChannel::MOT, v.stepper + kTraceOffset});
  return v;
}

MapColumnView DecodeMapColumn(const std::uint8_t* r, const ParameterBlock& block) {
  MapColumnView v;
  v.status = r[1];
  const int index = r[2];
  if (index >= 16 && index <= 37) {
    v.column = index - 15;
    for (int row = 0; row < 16; ++row) {
      const std::uint8_t cell = r[3 + row];
      v.cells[static_cast<std::size_t>(row)] =
          cell == 0xFF ? std::string() : FormatParameterValue(cell, 3, 0.1);
    }
  }
  const int rpm = r[19];
  v.selectedColumn = rpm < 6 ? 1 : rpm >= 50 ? 22 : rpm / 2 - 2;
  const int vacuum = r[21];
  v.selectedRow = std::min(16, (block[kVacuumTypeByte] == 1 ? vacuum / 8 : vacuum / 16) + 1);
  v.lamGauge = LambdaGaugeValue(r[20], block);
  v.rpmText = EngineSpeedText(r[19]);
  v.vacuumText = FormatParameterValue(r[21], 2, 0.02) + UiText(152);
  return v;
}

MemoryBlockView DecodeMemoryBlock(const std::uint8_t* r, int blockCount) {
  MemoryBlockView v;
  v.status = r[1];
  const int index = r[2];
  if (index < blockCount) {
    v.column = index + 1;
    for (int row = 0; row < 16; ++row) v.cells[static_cast<std::size_t>(row)] = std::to_string(r[3 + row]);
  }
  return v;
}

PortView DecodePortView(const std::uint8_t* r, const ParameterBlock& block) {
  PortView v;
  for (int i = 0; i < 8; ++i) v.voltageTexts[static_cast<std::size_t>(i)] = VoltsText(r[1 + i]);
  v.lamGauge = LambdaGaugeValue(r[1], block);
  v.tpsGauge = ThrottleGaugeValue(r[3], block);
  v.psiGauge = r[6];
  for (int row = 0; row < 24; ++row) {
    const int bit = (r[9 + row / 8] >> (row % 8)) & 1;
    v.bitTexts[static_cast<std::size_t>(row)] = FormatParameterValue(static_cast<std::uint8_t>(bit), 7, 1);
  }
  v.status = r[12];
  v.points.push_back({TraceChannel::LAM, r[1] + kTraceOffset});
  v.points.push_back({TraceChannel::SIM, r[2] + kTraceOffset});
  v.points.push_back({TraceChannel::TPS, ThrottleGaugeValue(r[3], block) + kTraceOffset});
  v.points.push_back({TraceChannel::PSI, r[6] + kTraceOffset});
  return v;
}
