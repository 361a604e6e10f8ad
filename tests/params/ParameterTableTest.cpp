#include <gtest/gtest.h>

#include <vector>

#include "model/ParameterBlock.h"
#include "params/ParameterTable.h"

namespace {

TEST(ParameterTable, EveryByteFrom32To90HasItsRowAndNoOtherDoes) {
  for (int index = -1; index < 256; ++index) {
    const ParameterInfo* info = FindParameterInfo(index);
    if (index < 32 || index > 90) {
      EXPECT_EQ(info, nullptr) << index;
    } else {
      ASSERT_NE(info, nullptr) << index;
      EXPECT_EQ(info->index, index);
      EXPECT_FALSE(info->meaning.empty()) << index;
    }
  }
  EXPECT_EQ(ParameterTable().size(), 59u);
}

TEST(ParameterTable, RowsCarryFormatFactorRangeAndEditorKind) {
  struct Case {
    int index, format;
    double factor;
    int minimum, maximum, kind;
  } cases[] = {
      {32, kFormatOption, 0, 0, 6, 1},          {33, kFormatOption, 0, 0, 4, 1},
      {36, kFormatHundredths, 0.02, 0, 255, 3}, {38, kFormatTenths, 0.2, 0, 255, 3},
      {40, kFormatSeconds, 5, 0, 255, 3},       {43, kFormatHundredths, 0.01, 0, 255, 3},
      {44, kFormatYesNo, 0, 0, 1, 1},           {46, kFormatVolts, 0.02, 0, 255, 3},
      {48, kFormatSpeed, 100, 0, 100, 3},       {56, kFormatTemperature, 1, 0, 255, 1},
      {62, kFormatSpeed, 100, 10, 100, 3},      {63, kFormatSpeed, 100, 50, 100, 3},
      {67, kFormatOption, 0, 0, 2, 1},          {68, kFormatOption, 0, 0, 3, 1},
      {78, kFormatWhole, 1, 0, 255, 8},         {79, kFormatClearAction, 0, 0, 255, 8},
      {80, kNoValueFormat, 0, 0, 0, 0},         {81, kFormatOption, 0, 0, 2, 1},
      {88, kFormatSeconds, 1, 0, 255, 3},       {89, kFormatYesNo, 0, 0, 1, 1},
      {90, kFormatOption, 0, 0, 2, 1},
  };
  for (const auto& c : cases) {
    const ParameterInfo& info = *FindParameterInfo(c.index);
    EXPECT_EQ(info.valueFormat, c.format) << c.index;
    EXPECT_DOUBLE_EQ(info.factor, c.factor) << c.index;
    EXPECT_EQ(info.minimum, c.minimum) << c.index;
    EXPECT_EQ(info.maximum, c.maximum) << c.index;
    EXPECT_EQ(info.editorKind, c.kind) << c.index;
  }
}

TEST(ParameterTable, OptionListsGiveTextIdsByValue) {
  struct Case {
    int index;
    std::vector<int> ids;
  } cases[] = {
      {32, {415, 416, 417, 418, 419, 420, 421}},
      {33, {427, 428, 429, 430, 431}},
      {34, {442, 443, 444, 445, 446}},
      {35, {462, 463, 464, 465, 466}},
      {67, {476, 477, 478}},
      {68, {496, 497, 498, 499}},
      {73, {491, 492}},
      {75, {454, 455}},
      {81, {571, 572, 573}},
      {86, {427, 432}},
      {87, {590, 591}},
      {90, {454, 456, 457}},
      {52, {555, 556}},
  };
  for (const auto& c : cases) {
    const ParameterInfo& info = *FindParameterInfo(c.index);
    ASSERT_EQ(info.options.size(), c.ids.size()) << c.index;
    for (std::size_t v = 0; v < c.ids.size(); ++v) {
      EXPECT_EQ(OptionTextId(info, static_cast<std::uint8_t>(v)), c.ids[v]) << c.index;
    }
    EXPECT_EQ(OptionTextId(info, static_cast<std::uint8_t>(c.ids.size())), 411) << c.index;
    EXPECT_EQ(OptionTextId(info, 255), 411) << c.index;
  }
  EXPECT_EQ(OptionTextId(*FindParameterInfo(33), 7), 411);
  EXPECT_EQ(OptionTextId(*FindParameterInfo(57), 0), 411);
}

TEST(ParameterTable, YesNoErrorFlagsAndResetCause) {
  EXPECT_EQ(YesNoTextId(0), 555);
  EXPECT_EQ(YesNoTextId(1), 556);
  EXPECT_EQ(YesNoTextId(2), 411);
  EXPECT_EQ(YesNoTextId(255), 411);

  const int flagIds[] = {404, 405, 406, 407, 408, 0, 0, 0};
  for (int bit = 0; bit < 8; ++bit) EXPECT_EQ(ErrorFlagTextId(bit), flagIds[bit]) << bit;
  EXPECT_EQ(ErrorFlagTextId(-1), 0);

  struct Case {
    int b;
    const char* text;
  } causes[] = {
      {1, "Power On Reset"},  {2, "External Reset"},    {4, "Brown-out Reset"},
      {8, "Watchdog Reset"},  {0, "Watchdog Reset"},    {3, "Power On Reset"},
      {15, "Power On Reset"}, {0xF2, "External Reset"}, {0x10, "Watchdog Reset"},
  };
  for (const auto& c : causes) {
    EXPECT_EQ(ResetCauseText(static_cast<std::uint8_t>(c.b)), c.text) << c.b;
  }
}

TEST(ParameterTable, UnitSuffixFollowsTheFormat) {
  const struct {
    int format;
    const char* text;
    int textId;
  } cases[] = {{kFormatVolts, " [V]", 0},      {kFormatTenths, " [s]", 0},       {kFormatSeconds, " [s]", 0},
               {kFormatHundredths, " [s]", 0}, {kFormatTemperature, " ['C]", 0}, {kFormatSpeed, "", 150},
               {kFormatWhole, "", 0},          {kFormatNonZero, "", 0},          {kFormatOption, "", 0},
               {kFormatYesNo, "", 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(UnitSuffixOf(c.format).text, c.text) << c.format;
    EXPECT_EQ(UnitSuffixOf(c.format).textId, c.textId) << c.format;
  }
}

}  // namespace
