#include <gtest/gtest.h>

#include "base/UiText.h"
#include "link/ReplyDecoding.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

ParameterBlock Block(int tpsType = 0, int lambdaType = 0, int vacuumType = 2) {
  ParameterBlock b = FreshParameterBlock();
  b[33] = static_cast<std::uint8_t>(tpsType);
  b[34] = static_cast<std::uint8_t>(lambdaType);
  b[81] = static_cast<std::uint8_t>(vacuumType);
  return b;
}

Bytes MapReply(int index, int rpm, int lambda, int vacuum) {
  Bytes r(23, 0);
  r[0] = 0xC5;
  r[1] = 0xC4;
  r[2] = static_cast<std::uint8_t>(index);
  for (int i = 0; i < 16; ++i) r[3 + i] = static_cast<std::uint8_t>(i * 10);
  r[3] = 0xFF;
  r[19] = static_cast<std::uint8_t>(rpm);
  r[20] = static_cast<std::uint8_t>(lambda);
  r[21] = static_cast<std::uint8_t>(vacuum);
  return r;
}

TEST(ReplyDecodingTest, gaugesFollowTheSensorTypes) {
  EXPECT_EQ(LambdaGaugeValue(40, Block(0, 2)), 215);
  EXPECT_EQ(LambdaGaugeValue(40, Block(0, 1)), 40);
  EXPECT_EQ(ThrottleGaugeValue(0, Block(1)), 255);
  EXPECT_EQ(ThrottleGaugeValue(0x0F, Block(3)), 0xF0);
  EXPECT_EQ(ThrottleGaugeValue(0x0F, Block(2)), 0x0F);
  EXPECT_EQ(VoltsText(29), "0.58 [V]");
  EXPECT_EQ(EngineSpeedText(25), "2500" + UiText(150));
}

TEST(ReplyDecodingTest, mapColumnCellsAndTheSelectedCell) {
  const MapColumnView v = DecodeMapColumn(MapReply(16, 30, 40, 100).data(), Block(0, 2, 1));
  EXPECT_EQ(v.status, 0xC4);
  EXPECT_EQ(v.column, 1);
  EXPECT_EQ(v.cells[0], "");  // 0xFF is an empty cell
  EXPECT_EQ(v.cells[1], "1.0");
  EXPECT_EQ(v.cells[15], "15.0");
  EXPECT_EQ(v.selectedColumn, 13);
  EXPECT_EQ(v.selectedRow, 100 / 8 + 1);
  EXPECT_EQ(v.lamGauge, 215);
  EXPECT_EQ(v.vacuumText, "2.00" + UiText(152));

  const std::pair<int, int> columnForSpeed[] = {{0, 1},   {5, 1},   {6, 1},   {8, 2},
                                                {49, 22}, {50, 22}, {255, 22}};
  for (auto [rpm, column] : columnForSpeed)
    EXPECT_EQ(DecodeMapColumn(MapReply(37, rpm, 0, 0).data(), Block()).selectedColumn, column) << rpm;
  EXPECT_EQ(DecodeMapColumn(MapReply(37, 0, 0, 255).data(), Block(0, 0, 1)).selectedRow, 16);
  EXPECT_EQ(DecodeMapColumn(MapReply(37, 0, 0, 255).data(), Block(0, 0, 2)).selectedRow, 16);
  EXPECT_EQ(DecodeMapColumn(MapReply(37, 0, 0, 47).data(), Block(0, 0, 2)).selectedRow, 3);
  EXPECT_EQ(DecodeMapColumn(MapReply(37, 0, 0, 0).data(), Block()).column, 22);
}

TEST(ReplyDecodingTest, echoedIndexOutsideTheViewFillsNoColumn) {
  for (int index : {0, 15, 38, 255})
    EXPECT_EQ(DecodeMapColumn(MapReply(index, 0, 0, 0).data(), Block()).column, 0);
  Bytes r(23, 7);
  r[2] = 37;
  EXPECT_EQ(DecodeMemoryBlock(r.data(), 38).column, 38);
  EXPECT_EQ(DecodeMemoryBlock(r.data(), 38).cells[15], "7");
  EXPECT_EQ(DecodeMemoryBlock(r.data(), 32).column, 0);
}

TEST(ReplyDecodingTest, portViewVoltagesBitsAndPoints) {
  Bytes r(14, 0);
  r[0] = 0xCA;
  for (int i = 1; i <= 8; ++i) r[i] = static_cast<std::uint8_t>(i * 25);
  r[9] = 0x81;
  r[10] = 0x02;
  r[11] = 0x80;
  r[12] = 0xC8;
  const PortView v = DecodePortView(r.data(), Block(1, 2));
  EXPECT_EQ(v.voltageTexts[0], "0.50 [V]");
  EXPECT_EQ(v.voltageTexts[7], "4.00 [V]");
  EXPECT_EQ(v.lamGauge, 255 - 25);
  EXPECT_EQ(v.tpsGauge, 75 ^ 0xFF);
  EXPECT_EQ(v.psiGauge, 150);
  EXPECT_EQ(v.status, 0xC8);
  std::string bits;
  for (const std::string& b : v.bitTexts) bits += b;
  EXPECT_EQ(bits, "100000010100000000000001");
  ASSERT_EQ(v.points.size(), 4u);
  EXPECT_EQ(v.points[2].channel, TraceChannel::TPS);
  EXPECT_EQ(v.points[2].value, (75 ^ 0xFF) + 22);
}

TEST(ReplyDecodingTest, configurationPointsLeaveOutAbsentSensors) {
  Bytes r(15, 0);
  r[0] = 0xAC;
  r[3] = 9;
  r[4] = 40;
  r[5] = 120;
  r[6] = 60;
  const ConfigurationView present = DecodeConfiguration(r.data(), Block(0, 0));
  ASSERT_EQ(present.points.size(), 4u);
  EXPECT_EQ(present.points[0].value, 9 * 4 + 22);
  EXPECT_EQ(present.motorText, "120" + UiText(151));
  const ConfigurationView absent = DecodeConfiguration(r.data(), Block(4, 4));
  ASSERT_EQ(absent.points.size(), 2u);
  EXPECT_EQ(absent.points[0].channel, TraceChannel::RPM);
  EXPECT_EQ(absent.points[1].channel, TraceChannel::MOT);
}

}  // namespace
