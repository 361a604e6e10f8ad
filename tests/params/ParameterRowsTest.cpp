#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ParameterTestBlocks.h"
#include "base/UiText.h"
#include "params/ParameterRows.h"
#include "params/ParameterTable.h"

namespace {

std::vector<int> Parameters(const ParameterList& list) {
  std::vector<int> p;
  for (int r = 1; r <= list.Count(); ++r) p.push_back(list.Rows()[r].parameter);
  return p;
}

bool Shows(const ParameterList& list, int parameter) {
  const auto p = Parameters(list);
  return std::find(p.begin(), p.end(), parameter) != p.end();
}

int RowOf(const ParameterList& list, int parameter) {
  for (int r = 1; r <= list.Count(); ++r)
    if (list.Rows()[r].parameter == parameter) return r;
  return 0;
}

TEST(ParameterRows, BothOrdersListTheTypicalControllerAsTabled) {
  ParameterBlock b = TypicalBlock();
  EXPECT_EQ(Parameters(BuildParameterList(b, kOrderByFunction)),
            (std::vector<int>{32, 86, 33, 57, 81, 34, 75, 90, 40, 35, 73, 43, 67, 55, 62, 63,
                              68, 69, 70, 71, 72, 41, 65, 64, 42, 89, 74, 44, 47, 54, 53, 52}));
  EXPECT_EQ(Parameters(BuildParameterList(b, kOrderByType)),
            (std::vector<int>{32, 86, 33, 57, 54, 44, 47, 81, 34, 75, 90, 53, 40, 74, 35, 52,
                              73, 43, 67, 55, 62, 63, 41, 65, 64, 42, 89, 68, 69, 70, 71, 72}));

  // Every option on: the dependent rows follow their switches.
  for (int i : {35}) b[i] = 1;
  for (int i : {44, 47, 52, 53, 54, 55, 73, 81, 82}) b[i] = 1;
  EXPECT_EQ(Parameters(BuildParameterList(b, kOrderByFunction)),
            (std::vector<int>{32, 86, 33, 57, 81, 34, 75, 90, 40, 35, 36, 37, 38, 39, 73, 88, 67, 55,
                              56, 62, 63, 68, 69, 70, 71, 72, 41, 65, 64, 42, 89, 74, 44, 46, 45, 77,
                              47, 48, 49, 50, 54, 59, 60, 61, 66, 82, 83, 84, 85, 53, 58, 76, 52, 51}));
  EXPECT_EQ(Parameters(BuildParameterList(b, kOrderByType)),
            (std::vector<int>{32, 86, 33, 57, 54, 59, 60, 61, 66, 44, 46, 45, 77, 47, 48, 49, 50, 81,
                              82, 83, 84, 85, 34, 75, 90, 53, 58, 76, 40, 74, 35, 36, 37, 38, 39, 52,
                              51, 73, 88, 67, 55, 56, 62, 63, 41, 65, 64, 42, 89, 68, 69, 70, 71, 72}));
}

TEST(ParameterRows, LabelsKeepTheirLeadingBlanksAndDifferByOrder) {
  const ParameterBlock b = TypicalBlock();
  const ParameterList byFunction = BuildParameterList(b, kOrderByFunction);
  const ParameterList byType = BuildParameterList(b, kOrderByType);
  EXPECT_EQ(byFunction.Texts()[0].label, UiText(300));
  EXPECT_EQ(byFunction.Texts()[0].value, UiText(301));
  EXPECT_EQ(byFunction.Texts()[RowOf(byFunction, 57)].label, "   Порог TPS");
  EXPECT_EQ(byType.Texts()[RowOf(byType, 57)].label, "  Порог TPS");
  EXPECT_EQ(byFunction.Texts()[RowOf(byFunction, 86)].label, "  Сигнал катушки");
  EXPECT_EQ(byType.Texts()[RowOf(byType, 75)].label, UiText(453));
  EXPECT_EQ(byFunction.Texts()[RowOf(byFunction, 75)].label, UiText(452));
}

TEST(ParameterRows, NoProbeHidesEveryProbeRowInBothOrders) {
  ParameterBlock b = TypicalBlock();
  b[34] = 4;
  b[35] = 1;
  b[53] = 1;
  for (int order : {kOrderByFunction, kOrderByType}) {
    const ParameterList list = BuildParameterList(b, order);
    EXPECT_TRUE(Shows(list, 34)) << order;
    for (int p : {75, 90, 40, 35, 36, 37, 38, 39, 53, 58, 76})
      EXPECT_FALSE(Shows(list, p)) << order << " " << p;
  }
  // The choke follows the probe only in the order by type.
  EXPECT_TRUE(Shows(BuildParameterList(b, kOrderByFunction), 74));
  EXPECT_FALSE(Shows(BuildParameterList(b, kOrderByType), 74));
}

TEST(ParameterRows, NoTpsHidesItsOptionsButTheThresholdStaysByFunction) {
  ParameterBlock b = TypicalBlock();
  b[33] = 4;
  for (int i : {44, 47, 54}) b[i] = 1;
  for (int order : {kOrderByFunction, kOrderByType}) {
    const ParameterList list = BuildParameterList(b, order);
    for (int p : {44, 45, 46, 77, 47, 48, 49, 50, 54, 59, 60, 61, 66}) EXPECT_FALSE(Shows(list, p)) << p;
  }
  EXPECT_TRUE(Shows(BuildParameterList(b, kOrderByFunction), 57));
  EXPECT_FALSE(Shows(BuildParameterList(b, kOrderByType), 57));
}

TEST(ParameterRows, OrdersDifferOnSwitchValuesAboveOne) {
  ParameterBlock b = TypicalBlock();
  b[44] = 2;  // by type: not zero; by function: not one
  EXPECT_FALSE(Shows(BuildParameterList(b, kOrderByFunction), 46));
  EXPECT_TRUE(Shows(BuildParameterList(b, kOrderByType), 46));
  b[44] = 0;
  b[53] = 2;  // both orders ask for one
  EXPECT_FALSE(Shows(BuildParameterList(b, kOrderByFunction), 58));
  EXPECT_FALSE(Shows(BuildParameterList(b, kOrderByType), 58));
}

TEST(ParameterRows, PresenceMaskGapsHideRowsAndTurnTheLevelRows) {
  ParameterBlock b = TypicalBlock();
  HideParameter(b, 57);
  HideParameter(b, 68);
  for (int order : {kOrderByFunction, kOrderByType}) {
    const ParameterList list = BuildParameterList(b, order);
    EXPECT_FALSE(Shows(list, 57));
    EXPECT_FALSE(Shows(list, 68));
    for (int p : {70, 71, 72}) EXPECT_FALSE(Shows(list, p));
    ASSERT_TRUE(Shows(list, 87));
    const int row87 = RowOf(list, 87);
    EXPECT_EQ(list.Texts()[row87].label, UiText(495));
    EXPECT_EQ(list.Rows()[row87 + 1].parameter, 69);
    EXPECT_EQ(list.Texts()[row87 + 1].label, UiText(504));
  }
  // A parameter whose bit is clear is never shown, whatever its value.
  b = TypicalBlock();
  b[78] = 9;
  HideParameter(b, 78);
  EXPECT_FALSE(Shows(BuildParameterList(b, kOrderByType), 78));
}

TEST(ParameterRows, DiagnosticRowsComeFirstAndFollowTheVersion) {
  ParameterBlock b = TypicalBlock();
  b[79] = 0xFF;
  b[1] = 159;
  std::vector<std::string> labels;
  ParameterList list = BuildParameterList(b, kOrderByFunction);
  for (int r = 1; r <= 3; ++r) labels.push_back(list.Texts()[r].label);
  EXPECT_EQ(labels, (std::vector<std::string>{UiText(405), UiText(404), UiText(406)}));
  EXPECT_EQ(list.Rows()[4].parameter, 32);

  b[1] = 160;
  b[78] = 7;
  list = BuildParameterList(b, kOrderByType);
  labels.clear();
  for (int r = 1; r <= 6; ++r) labels.push_back(list.Texts()[r].label);
  EXPECT_EQ(labels, (std::vector<std::string>{UiText(402), UiText(405), UiText(404), UiText(408), UiText(406),
                                              UiText(407)}));
  EXPECT_EQ(list.Texts()[1].value, "7" + UiText(403));
  EXPECT_EQ(list.Texts()[2].value, UiText(552));
  EXPECT_EQ(list.Rows()[1].editorKind, kEditorClearButton);
  EXPECT_EQ(list.Rows()[2].editorKind, kEditorClearButton);
  EXPECT_EQ(list.Rows()[2].factor, 0.0);

  b[78] = 0;
  b[79] = 0;
  EXPECT_EQ(BuildParameterList(b, kOrderByType).Rows()[1].parameter, 32);
}

TEST(ParameterRows, ValueTextsCarryTheirUnitOrOptionText) {
  ParameterBlock b = TypicalBlock();
  b[33] = 7;
  b[44] = 2;
  b[48] = 25;
  b[47] = 1;
  b[55] = 1;
  b[56] = 21;
  b[57] = 29;
  b[43] = 150;
  const ParameterList list = BuildParameterList(b, kOrderByFunction);
  auto value = [&](int p) { return list.Texts()[RowOf(list, p)].value; };
  EXPECT_EQ(value(33), UiText(411));
  EXPECT_EQ(value(44), UiText(411));
  EXPECT_EQ(value(47), UiText(556));
  EXPECT_EQ(value(54), UiText(555));
  EXPECT_EQ(value(48), "2500" + UiText(150));
  EXPECT_EQ(value(56), "+85 ['C]");
  EXPECT_EQ(value(57), "0.58 [V]");
  EXPECT_EQ(value(43), "1.50 [s]");
  EXPECT_EQ(value(41), "200");
  EXPECT_EQ(value(32), UiText(415));
  EXPECT_EQ(list.Rows()[RowOf(list, 33)].editorKind, kEditorArrows);
  EXPECT_EQ(list.Rows()[RowOf(list, 57)].editorKind, kEditorArrows | kEditorEditBox);
}

TEST(ParameterRows, TableGrowsOnlyWhenTheRowsDoNotFit) {
  // The heading and count rows need count + 1 rows: below, at and just above the visible rows.
  EXPECT_EQ(ParameterTableLength(10, 15), 15);
  EXPECT_EQ(ParameterTableLength(14, 15), 15);
  EXPECT_EQ(ParameterTableLength(15, 15), 16);
  EXPECT_EQ(ParameterTableLength(16, 15), 17);
  EXPECT_EQ(ParameterTableLength(26, 26), 27);
}

TEST(ParameterRows, ArrowsStepWithinTheRangeAndWrap) {
  struct Case {
    int parameter;
    int value;
    int direction;
    int expected;
  } cases[] = {
      {33, 4, 1, 0},   {33, 0, 0, 4},     {33, 2, 1, 3},     {62, 10, 0, 100},  {62, 100, 1, 10},
      {62, 50, 0, 49}, {44, 1, 1, 0},     {41, 255, 1, 0},   {41, 0, 0, 255},   {48, 100, 1, 0},
      {56, 0, 1, 0},   {56, 1, 1, 0},     {56, 255, 0, 255}, {56, 254, 0, 255}, {56, 2, 1, 1},
      {56, 0, 0, 1},   {56, 128, 0, 143}, {56, 255, 1, 254},
  };
  for (const Case& c : cases) {
    const ParameterInfo* info = FindParameterInfo(c.parameter);
    ASSERT_NE(info, nullptr);
    const ParameterRow row{c.parameter,      info->factor,  info->valueFormat,
                           info->editorKind, info->minimum, info->maximum};
    EXPECT_EQ(SteppedValue(static_cast<std::uint8_t>(c.value), row, c.direction), c.expected)
        << c.parameter << " " << c.value << " " << c.direction;
  }
}

TEST(ParameterRows, TypedValuesAreScaledTruncatedAndLimitedToTheRange) {
  struct Case {
    int parameter;
    const char* text;
    int expected;
  } cases[] = {
      {57, "3", 150},     {57, "2.5", 125}, {57, "2.51", 125}, {57, "0.58", 28}, {57, "4,1", 200},
      {57, "", 0},        {57, "abc", 0},   {57, "-3", 0},     {57, "1e9", 255}, {57, "5.12", 255},
      {48, "20000", 100}, {48, "2500", 25}, {62, "5", 10},     {62, "900", 10},  {62, "3000", 30},
      {41, "300", 255},   {41, "-0.5", 0},  {38, "0.6", 2},    {40, "12", 2},
  };
  for (const Case& c : cases) {
    const ParameterInfo* info = FindParameterInfo(c.parameter);
    const ParameterRow row{c.parameter,      info->factor,  info->valueFormat,
                           info->editorKind, info->minimum, info->maximum};
    EXPECT_EQ(TypedValue(c.text, row), c.expected) << c.parameter << " '" << c.text << "'";
  }
}

TEST(ParameterRows, MapHeadingsFollowTheVacuumSensor) {
  ParameterBlock b = TypicalBlock();
  b[81] = 1;
  EXPECT_EQ(MapRowHeading(b, 1), "0.00");
  EXPECT_EQ(MapRowHeading(b, 16), "2.40");
  b[81] = 2;
  EXPECT_EQ(MapRowHeading(b, 16), "4.80");
  EXPECT_EQ(MapRowHeading(b, 2), "0.32");
  EXPECT_EQ(MapColumnHeading(1), "600");
  EXPECT_EQ(MapColumnHeading(22), "4800");
}

}  // namespace
