#include <gtest/gtest.h>

#include <algorithm>

#include "base/UiText.h"
#include "monitor/ReadingRows.h"

using namespace row_kind;

namespace {

ReadingsConfig Page1(std::uint8_t options, std::uint8_t tps, std::uint8_t lambda, std::uint8_t vacuum,
                     bool service = false) {
  ReadingsConfig c;
  c.page = Page::Parameters;
  c.service = service;
  c.options = options;
  c.tpsType = tps;
  c.lambdaType = lambda;
  c.vacuumType = vacuum;
  return c;
}

std::vector<int> Used(const ReadingRowKinds& kinds) {
  std::vector<int> used;
  for (int k : kinds)
    if (k != kNone) used.push_back(k);
  return used;
}

TEST(ReadingRowsTest, rowsFollowThePageTheOptionsTheSensorTypesAndTheServiceMode) {
  struct Case {
    const char* what;
    ReadingsConfig config;
    std::vector<int> kinds;
  };
  ReadingsConfig page2 = Page1(0, 4, 4, 0);
  page2.page = Page::Configuration;
  ReadingsConfig page4 = Page1(0, 4, 4, 0);
  page4.page = Page::Port;
  const Case cases[] = {
      {"bare controller", Page1(0, 0, 0, 0), {kStatus, kLambda, kRpm, kTps, kMotor}},
      {"lambda and TPS absent", Page1(0, 4, 4, 0), {kStatus, kRpm, kMotor}},
      {"lambda absent in service",
       Page1(0, 4, 4, 0, true),
       {kStatus, kLambda, kSimulation, kRpm, kTps, kVacuum, kInjection, kMotor, kGasLevel, kTemperature,
        kRam}},
      {"every option",
       Page1(0x6D, 1, 2, 1),
       {kStatus, kLambda, kSimulation, kRpm, kTps, kVacuum, kInjection, kMotor, kGasLevel, kTemperature}},
      {"vacuum allowed but no sensor", Page1(0x20, 4, 4, 0), {kStatus, kRpm, kMotor}},
      {"wizard page", page2, {kStatus, kRpm, kLambda, kTps, kMotor}},
      {"PORT page",
       page4,
       {kStatus, kLambda, kSimulation, kTps, kGasLevel, kTemperature, kVacuum, kIgnition, kBattery}},
  };
  for (const Case& c : cases) {
    const auto used = Used(BuildReadingRowKinds(c.config));
    EXPECT_EQ(used, c.kinds) << c.what;
    EXPECT_EQ(ReadingRowsNeeded(c.config), static_cast<int>(c.kinds.size())) << c.what;
  }
}

TEST(ReadingRowsTest, statusRowTextsTakeTheLastFlagThatApplies) {
  LiveReadings r{};
  r[2] = 0x24;  // TPS and speed regulation, speed by engine speed
  StatusTexts t = StatusRowTexts(r);
  EXPECT_EQ(t.regulation, UiText(163));
  r[7] = 0x04;
  EXPECT_EQ(StatusRowTexts(r).regulation, UiText(164));
  r = {};
  r[2] = 0xC3;  // rich, lean, probe error, cold probe
  r[1] = 0x1C;  // petrol, auto, gas
  t = StatusRowTexts(r);
  EXPECT_EQ(t.mixture, UiText(171));
  EXPECT_EQ(t.probeError, UiText(173));
  EXPECT_EQ(t.fuel, UiText(144));
  r = {};
  r[2] = 0x02;
  r[1] = 0x10;
  t = StatusRowTexts(r);
  EXPECT_EQ(t.probeError, UiText(172));
  EXPECT_EQ(t.fuel, UiText(142));
  EXPECT_EQ(t.regulation, "");
  EXPECT_EQ(StatusRowTexts(LiveReadings{}).probeError, "");
}

TEST(ReadingRowsTest, valueTextsGaugesAndRanges) {
  LiveReadings r{};
  r[3] = 25;
  r[4] = 50;
  r[8] = 0;
  r[10] = 120;
  r[11] = 37;
  r[14] = 254;
  r[15] = 0xA5;
  EXPECT_EQ(ReadingCellText(kRpm, r), "2500" + UiText(150));
  EXPECT_EQ(ReadingCellText(kLambda, r), "1.00 [V]");
  EXPECT_EQ(ReadingCellText(kMotor, r), "120" + UiText(151));
  EXPECT_EQ(ReadingCellText(kInjection, r), "3.70 [ms]");
  EXPECT_EQ(ReadingCellText(kTemperature, r), UiText(410));
  EXPECT_EQ(ReadingCellText(kRam, r), "1010:0101  165");
  EXPECT_EQ(RamText(3), "0000:0011   3");
  EXPECT_EQ(ReadingCellText(kIgnition, r), "");
  r[14] = 100;
  EXPECT_EQ(ReadingNumberText(kTemperature, r).front(), '+');

  ReadingsConfig falling = Page1(0, 1, 2, 0);
  EXPECT_EQ(ReadingGaugeValue(kTps, r, falling), 255);  // byte 0 inverted: a full bar
  EXPECT_EQ(ReadingCellText(kTps, r), "0.00 [V]");
  EXPECT_EQ(ReadingGaugeValue(kLambda, r, falling), 205);
  EXPECT_EQ(ReadingGaugeValue(kLambda, r, Page1(0, 0, 0, 0)), 50);
  EXPECT_FALSE(ReadingGaugeValue(kGasLevel, r, falling));

  EXPECT_EQ(LambdaGaugeRange(0), (std::pair{0, 50}));
  EXPECT_EQ(LambdaGaugeRange(2), (std::pair{0, 255}));
  EXPECT_EQ(LambdaGaugeRange(3), (std::pair{0, 120}));
  EXPECT_FALSE(LambdaGaugeRange(4));
}

TEST(ReadingRowsTest, coloursRotateDimAndStayDistinct) {
  EXPECT_EQ(RotatedColour(0x00332211), 0x00113322);
  EXPECT_EQ(DimmedColour(0x00FFFFFF), 0x007F7F7F);
  EXPECT_EQ(DimmedColour(0x0000FFFF), 0x00007F7F);
  auto colours = kInitialColours;
  EXPECT_EQ(MakeDistinctColour(colours[kChRpm], colours), 0x0000FE);  // TPS picks RPM's red
  EXPECT_EQ(MakeDistinctColour(kColourWhite, colours), 0xFFFFFE);
  EXPECT_EQ(MakeDistinctColour(0x123456, colours), 0x123456);
  colours[kChRpm] = 0x000001;  // black moves to RPM's colour, which moves it once more
  EXPECT_EQ(MakeDistinctColour(kColourBlack, colours), 0x000002);
}

TEST(ReadingRowsTest, tracePointsOfARecord) {
  LiveReadings r{};
  r[3] = 69;
  r[4] = 10;
  r[5] = 20;
  r[8] = 5;
  r[10] = 100;
  r[15] = 7;
  TraceSettings t;
  t.ticked.fill(true);
  const auto c = Page1(0, 1, 0, 0);  // no vacuum row: PSI is not traced
  auto points = RecordTracePoints(r, BuildReadingRowKinds(c), c, t);
  const std::vector<std::pair<std::int32_t, std::int32_t>> expected{
      {kColourBlack, 300},      {t.colours[kChLam], 32}, {t.colours[kChRpm], 298},
      {t.colours[kChTps], 272}, {kColourWhite, 122},     {t.colours[kChMot], 122}};
  ASSERT_EQ(points.size(), expected.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(points[i].colour, expected[i].first) << i;
    EXPECT_EQ(points[i].value, expected[i].second) << i;
  }
  r[2] = 0x04;  // regulation: the motor trace is drawn white
  points = RecordTracePoints(r, BuildReadingRowKinds(c), c, t);
  EXPECT_EQ(points[points.size() - 2].colour, t.colours[kChMot]);
  EXPECT_EQ(points.back().colour, kColourWhite);

  const auto service = Page1(0, 4, 4, 0, true);  // rows present, but absent sensors draw nothing
  points = RecordTracePoints(r, BuildReadingRowKinds(service), service, t);
  std::vector<std::int32_t> colours;
  for (const auto& p : points) colours.push_back(p.colour);
  EXPECT_EQ(std::count(colours.begin(), colours.end(), t.colours[kChLam]), 0);
  EXPECT_EQ(std::count(colours.begin(), colours.end(), t.colours[kChTps]), 0);
  EXPECT_EQ(std::count(colours.begin(), colours.end(), t.colours[kChRam]), 1);
  t.ticked.fill(false);
  EXPECT_EQ(RecordTracePoints(r, BuildReadingRowKinds(c), c, t).size(), 1u);
}

TEST(ReadingRowsTest, overlaysSitOnTheirRowsAndLeaveWithThem) {
  ReadingsGeometry g;
  g.rowHeight = 20;
  g.rowsVisible = 5;
  g.topRow = 1;
  g.gridTop = 300;
  g.columnWidths = {87, 87, 104};
  RowOverlays o = PlaceRowOverlays(1, g);
  EXPECT_TRUE(o.visible);
  EXPECT_EQ(o.gauge.left, 178);
  EXPECT_EQ(o.gauge.top, 300 + 21 + 2);
  EXPECT_EQ(o.gauge.width, 104);
  EXPECT_EQ(o.gauge.height, 20);
  EXPECT_EQ(o.checkLeft, 87 + 87 + 104 + 15);
  EXPECT_EQ(o.checkTop, 324);
  EXPECT_EQ(o.swatchLeft, o.checkLeft + 20);
  EXPECT_EQ(o.swatchTop, 326);
  EXPECT_TRUE(ReadingRowVisible(4, g));
  EXPECT_FALSE(ReadingRowVisible(5, g));
  g.topRow = 2;  // scrolled by one: row 1 leaves the view
  EXPECT_FALSE(PlaceRowOverlays(1, g).visible);
  EXPECT_EQ(PlaceRowOverlays(2, g).gauge.top, 323);
  const OverlayRect err = PanelErrRect(g);
  EXPECT_EQ(err.left, 179);
  EXPECT_EQ(err.top, 303);
  EXPECT_EQ(err.width, 101);
  EXPECT_EQ(err.height, 18);
  const OverlayRect automatic = PanelAutoRect(g);
  EXPECT_EQ(automatic.left, 91);
  EXPECT_EQ(automatic.width, 84);
}

// Columns 0, 1 and 3 grow to their texts, paid for by column 3's and then column 2's room
// beyond their needs; spare room goes to the bars; widths that hold everything stay.
TEST(ReadingRowsTest, columnsMakeRoomForTheirTextsFromTheCheckColumnThenTheBars) {
  using W = std::array<int, 4>;
  struct Case {
    W widths, need;
    int room;
    W expected;
  } cases[] = {
      {{87, 87, 87, 87}, {60, 80, 40, 53}, 357, {87, 87, 87, 87}},        // everything fits
      {{87, 87, 104, 87}, {101, 104, 94, 61}, 371, {101, 104, 104, 62}},  // column 3 pays first
      {{87, 87, 120, 87}, {101, 104, 94, 61}, 0, {101, 104, 115, 61}},    // then column 2
      {{87, 87, 104, 87}, {146, 91, 40, 83}, 371, {146, 91, 51, 83}},     // the port page
      {{87, 87, 87, 87}, {120, 120, 94, 61}, 348, {97, 96, 94, 61}},      // too narrow: 0 and 1 give
      {{303, 303, 303, 303}, {101, 104, 94, 61}, 1200, {303, 303, 303, 303}},
  };
  for (const auto& c : cases) {
    const W fitted = FitReadingColumns(c.widths, c.need, c.room);
    EXPECT_EQ(fitted, c.expected) << c.need[0] << "," << c.need[1] << " in " << c.room;
    EXPECT_LE(fitted[0] + fitted[1] + fitted[2] + fitted[3],
              std::max(c.room, c.widths[0] + c.widths[1] + c.widths[2] + c.widths[3]));
  }
}

TEST(ReadingRowsTest, widestValueTextsSizeTheValueColumnBeforeValuesArrive) {
  EXPECT_EQ(WidestReadingText(row_kind::kRpm), "9900" + UiText(150));  // the gauge's full scale
  EXPECT_EQ(WidestReadingText(row_kind::kInjection), "25.50 [ms]");
  EXPECT_EQ(WidestReadingText(row_kind::kRam), RamText(255));
  EXPECT_EQ(WidestReadingText(row_kind::kStatus), "");
  EXPECT_EQ(WidestReadingText(row_kind::kIgnition), "");
}

TEST(ReadingRowsTest, historyScrollDrawsEmptyStepsBeforeRecordOne) {
  // a = 371 / 1 = 371 at the finest time base.
  for (int p : {0, 1, 100, 371}) {
    const ScrollPlan plan = PlanHistoryScroll(p, 371, 1);
    EXPECT_EQ(plan.emptySteps, 371 - p + 1) << p;
    EXPECT_EQ(plan.firstRecord, 1) << p;
  }
  const ScrollPlan late = PlanHistoryScroll(3599, 371, 5);  // a = 74
  EXPECT_EQ(late.emptySteps, 0);
  EXPECT_EQ(late.firstRecord, 3525);
}

}  // namespace
