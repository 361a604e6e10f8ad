#include <gtest/gtest.h>

#include <cmath>

#include "model/ParameterBlock.h"

namespace {

TEST(ParameterBlock, FreshBlockHoldsOnly255) {
  const ParameterBlock block = FreshParameterBlock();
  for (auto b : block) ASSERT_EQ(b, 255);
}

TEST(ParameterBlock, PresenceBitNModEightOfByteThreePlusNDivEight) {
  ParameterBlock block{};
  block[3] = 0x01;   // n = 0
  block[4] = 0x80;   // n = 15
  block[8] = 0x04;   // n = 42
  block[15] = 0x80;  // n = 103
  for (int n = 0; n <= 103; ++n) {
    EXPECT_EQ(IsParameterOffered(block, n), n == 0 || n == 15 || n == 42 || n == 103) << n;
  }
  block.fill(255);
  EXPECT_TRUE(IsParameterOffered(block, 103));
  EXPECT_FALSE(IsParameterOffered(block, -1));
  EXPECT_FALSE(IsParameterOffered(block, 104));
  EXPECT_FALSE(IsParameterOffered(block, 1000));
}

TEST(ParameterBlock, FormatsByteTimesFactor) {
  struct Case {
    int b;
    int format;
    double factor;
    const char* text;
  } cases[] = {
      {29, kFormatVolts, 0.02, "0.58"},
      {255, kFormatVolts, 0.02, "5.10"},
      {7, kFormatTenths, 0.2, "1.4"},
      {3, kFormatTenths, 0.2, "0.6"},
      {25, kFormatSpeed, 100, "2500"},
      {12, kFormatSeconds, 5, "60"},
      {200, kFormatWhole, 1, "200"},
      {7, kFormatHundredths, 0.01, "0.07"},
      {50, kFormatHundredths, 0.02, "1.00"},
      {0, kFormatNonZero, 0.02, "0"},
      {1, kFormatNonZero, 0.02, "1"},
      {255, kFormatNonZero, 1, "1"},
      {0, kFormatTemperature, 1, "+185"},
      {2, kFormatTemperature, 1, "+155"},
      {199, kFormatTemperature, 1, "+0"},
      {200, kFormatTemperature, 1, "-5"},
      {255, kFormatTemperature, 1, "-60"},
      {1, kFormatOption, 0, ""},
      {1, kFormatYesNo, 0, ""},
      {1, kFormatClearAction, 0, ""},
      {1, 8, 1, ""},
      {1, 12, 1, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatParameterValue(static_cast<std::uint8_t>(c.b), c.format, c.factor), c.text)
        << "b=" << c.b << " format " << c.format;
  }
}

TEST(ParameterBlock, ParsingDividesInDoubleTruncatesAndKeepsTheLowByte) {
  struct Case {
    const char* text;
    double factor;
    int byte;
  } cases[] = {
      {"0.58", 0.02, 28},
      {"2.5", 0.02, 125},
      {"2.51", 0.02, 125},
      {"4,1", 0.02, 200},
      {"4.1", 0.02, 204},
      {"0.8", 0.02, 40},
      {"3", 0.02, 150},
      {"0.6", 0.2, 2},
      {"-0.5", 1, 0},
      {"", 0.02, 0},
      {"abc", 1, 0},
      {" +1e2", 1, 100},
      {"300", 1, 44},
      {"-1", 1, 255},
      {"-256.9", 1, 0},
      {"2500", 100, 25},
      {"1e17", 1, 0},
      {"-9007199254740993", 1, 0},
      {"9007199254740991", 1, 255},
      // Quotients that no integer type holds: infinities count as 0, so do NaN and factor 0.
      {"1e400", 1, 0},
      {"-1e400", 1, 0},
      {"1e300", 1e-300, 0},
      {"nan", 1, 0},
      {"inf", 1, 0},
      {"5", 0, 0},
      {"5", -1, 251},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseParameterValue(c.text, c.factor), c.byte) << '"' << c.text << "\" / " << c.factor;
  }
  EXPECT_EQ(ParseParameterValue("5", std::nan("")), 0);
}

TEST(ParameterBlock, TemperatureTableRisesInThresholdAndEndsAt255) {
  const auto& table = TemperatureTable();
  EXPECT_EQ(table.front().threshold, 0);
  EXPECT_EQ(table.front().degrees, 185);
  EXPECT_EQ(table.back().threshold, 255);
  EXPECT_EQ(table.back().degrees, -60);
  for (std::size_t i = 1; i < table.size(); ++i) {
    EXPECT_GT(table[i].threshold, table[i - 1].threshold) << i;
    EXPECT_LT(table[i].degrees, table[i - 1].degrees) << i;
  }
}

TEST(ParameterBlock, TemperatureStepsMoveOneTableEntryWithoutWrapping) {
  struct Case {
    int b, down, up;
  } cases[] = {
      {0, 1, 0},      {1, 3, 0},       {2, 4, 1},       {3, 4, 1},       {100, 128, 99},
      {113, 128, 99}, {114, 143, 113}, {253, 254, 252}, {254, 255, 253}, {255, 255, 254},
  };
  for (const auto& c : cases) {
    const auto b = static_cast<std::uint8_t>(c.b);
    EXPECT_EQ(TemperatureStepDown(b), c.down) << c.b;
    EXPECT_EQ(TemperatureStepUp(b), c.up) << c.b;
  }
  EXPECT_EQ(TemperatureDegrees(100), 30);
  EXPECT_EQ(TemperatureDegrees(114), 25);
}

TEST(ParameterBlock, ModelTextFollowsTheTypeByte) {
  struct Case {
    int type;
    const char* model;
    int deviceTextId;
  } cases[] = {
      {0x32, " TELK50", 102}, {0x33, " TELK50", 102}, {0x64, " TELK100", 102}, {0x65, " TELK100", 102},
      {0xCB, " H4401", 108},  {0x00, "", 0},          {0x34, "", 0},
  };
  for (const auto& c : cases) {
    const ModelDescription d = ModelText(static_cast<std::uint8_t>(c.type));
    EXPECT_EQ(d.model, c.model) << c.type;
    EXPECT_EQ(d.deviceTextId, c.deviceTextId) << c.type;
  }
}

TEST(ParameterBlock, VersionIsByteOneInHundredths) {
  ParameterBlock block = FreshParameterBlock();
  block[kVersionByte] = 145;
  EXPECT_EQ(VersionText(block), "1.45");
  block[kVersionByte] = 5;
  EXPECT_EQ(VersionText(block), "0.05");
}

}  // namespace
