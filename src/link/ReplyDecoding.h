#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/ParameterBlock.h"

// What the configuration, map, memory and PORT replies put on screen. The receive handler
// decodes a reply into one of these views; the window writes it into its grids and gauges.

enum class TraceChannel { RPM, LAM, SIM, TPS, MOT, DEF, PSI, RAM };

// An oscilloscope point; the window draws it only when the channel is ticked.
struct TracePoint {
  TraceChannel channel;
  int value;
};

// Lambda gauge value: 255 - value for a probe of type 2 (falling signal).
int LambdaGaugeValue(std::uint8_t value, const ParameterBlock& block);
// Throttle gauge value: all bits inverted when bit 0 of the TPS type is set.
int ThrottleGaugeValue(std::uint8_t value, const ParameterBlock& block);
// "0.58 [V]": a byte at 0.02 V per count.
std::string VoltsText(std::uint8_t value);
// "2500 [обор/мин]" and "120 [поз]".
std::string EngineSpeedText(std::uint8_t value);
std::string StepperText(std::uint8_t value);

struct ConfigurationView {
  std::uint8_t status = 0;
  std::uint8_t engineSpeed = 0, lambda = 0, stepper = 0, throttle = 0;  // reply bytes 3..6
  int rpmGauge = 0, lamGauge = 0, tpsGauge = 0, motGauge = 0;
  std::string rpmText, lambdaText, tpsText, motorText;  // grid rows 1..4
  std::vector<TracePoint> points;
};
ConfigurationView DecodeConfiguration(const std::uint8_t* reply, const ParameterBlock& block);

struct MapColumnView {
  std::uint8_t status = 0;
  int column = 0;                     // GridEx1 column 1..22; 0 when the echoed index is outside 16..37
  std::array<std::string, 16> cells;  // rows 1..16
  int selectedColumn = 1;             // from the engine speed
  int selectedRow = 1;                // from the vacuum voltage
  int lamGauge = 0;
  std::string rpmText, vacuumText;  // the magnifier's texts
};
MapColumnView DecodeMapColumn(const std::uint8_t* reply, const ParameterBlock& block);

struct MemoryBlockView {
  std::uint8_t status = 0;
  int column = 0;                     // GridEx1 column (index + 1); 0 when the index is outside the view
  std::array<std::string, 16> cells;  // rows 1..16, decimal
};
// blockCount: 38 SRAM blocks, 32 EEPROM blocks.
MemoryBlockView DecodeMemoryBlock(const std::uint8_t* reply, int blockCount);

struct PortView {
  std::uint8_t status = 0;
  std::array<std::string, 8> voltageTexts;  // readings rows 1..8
  int lamGauge = 0, tpsGauge = 0, psiGauge = 0;
  std::array<std::string, 24> bitTexts;  // GridEx1 column 1, rows 1..24
  std::vector<TracePoint> points;
};
PortView DecodePortView(const std::uint8_t* reply, const ParameterBlock& block);
