#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "monitor/GaugeModel.h"
#include "monitor/PerformanceGraph.h"

namespace {

// Records what the graph draws.
struct RecordingCanvas : GraphCanvas {
  struct DrawnLine {
    int x0, y0, x1, y1;
    std::int32_t colour;
  };
  void Resize(int, int) override {}
  void ScrollLeft(int dx) override { scrolls.push_back(dx); }
  void FillRect(int, int, int, int, std::int32_t) override { ++fills; }
  void GridLine(int x0, int y0, int x1, int y1, std::int32_t) override {
    grid.push_back({x0, y0, x1, y1, 0});
  }
  void Line(int x0, int y0, int x1, int y1, std::int32_t colour, int) override {
    lines.push_back({x0, y0, x1, y1, colour});
  }
  void Present(bool partial) override { presents.push_back(partial); }
  void Clear() { *this = RecordingCanvas(); }

  std::vector<int> scrolls;
  std::vector<DrawnLine> lines, grid;
  std::vector<bool> presents;
  int fills = 0;
};

constexpr std::int32_t kRed = 0x0000FF, kGreen = 0x00FF00;

struct GraphFixture : ::testing::Test {
  void SetUp() override {
    graph.SetGridlines(false);
    graph.SetStepSize(5);
    graph.SetScale(100);
    graph.SetSize(371, 144);
    graph.SetCanvas(&canvas);
    canvas.Clear();
  }
  void Step(std::vector<GraphPoint> points) {
    for (const GraphPoint& p : points) graph.DataPoint(p.colour, p.value);
    graph.Update();
  }
  PerformanceGraph graph;
  RecordingCanvas canvas;
};

TEST_F(GraphFixture, scaleRoundsUpToTheGradientAndRedrawsOnlyWhenItChanges) {
  Step({{0, 300}});
  EXPECT_EQ(graph.Scale(), 300);
  const int redraws = graph.FullRedraws();
  Step({{0, 300}, {kRed, 250}});
  EXPECT_EQ(graph.Scale(), 300);
  EXPECT_EQ(graph.FullRedraws(), redraws);  // a live step draws its strip only
  EXPECT_EQ(canvas.presents.back(), true);
  Step({{0, 300}, {kRed, 301}});
  EXPECT_EQ(graph.Scale(), 400);
  EXPECT_EQ(graph.FullRedraws(), redraws + 1);
  EXPECT_EQ(canvas.presents.back(), false);
}

// The scale follows the largest value still in the ring: peaks that leave it, ties between
// points, values at or below zero, a rebuilt ring.
TEST_F(GraphFixture, scaleFollowsTheLargestValueStillInTheRing) {
  auto searched = [&] {
    std::int32_t largest = 0;
    for (const GraphStep& step : graph.StepsOldestFirst())
      for (int i = 0; i < step.count; ++i)
        largest = std::max(largest, step.points[static_cast<std::size_t>(i)].value);
    return largest <= 0 ? graph.Gradient()
                        : (largest + graph.Gradient() - 1) / graph.Gradient() * graph.Gradient();
  };
  const int capacity = graph.Capacity();
  unsigned seed = 7;
  for (int t = 0; t < 6 * capacity; ++t) {
    seed = seed * 1103515245u + 12345u;
    const int r = static_cast<int>((seed >> 16) % 1000);
    if (t % 40 == 5)
      Step({{kRed, 500 + r}, {kGreen, 500 + r}});  // a tie at the peak
    else if (t % 23 == 0)
      Step({{kRed, -r}});
    else if (t % 31 == 0)
      Step({});
    else
      Step({{0, 300}, {kRed, r % 250}});
    ASSERT_EQ(graph.Scale(), searched()) << "step " << t;
    if (t == 3 * capacity) graph.SetStepSize(1);  // a rebuilt ring keeps its largest value
  }
}

TEST_F(GraphFixture, aSeventeenthPointIsRefusedAndAddsNothing) {
  for (int i = 0; i < 16; ++i) graph.DataPoint(kRed + i, 10);
  EXPECT_THROW(graph.DataPoint(kGreen, 10), std::length_error);
  EXPECT_EQ(graph.OpenStep().count, 16);
}

TEST_F(GraphFixture, stepLinesJoinTheSameColourZeroIsNeverDrawnNewColourStartsAtTheBottom) {
  Step({{0, 300}, {kRed, 150}});
  canvas.Clear();
  Step({{0, 300}, {kRed, 300}, {kGreen, 150}, {kRed + 1, 0}});
  // The black mark, the red line and the green line; the zero point is not drawn.
  ASSERT_EQ(canvas.lines.size(), 3u);
  const auto& red = canvas.lines[1];
  EXPECT_EQ(red.colour, kRed);
  EXPECT_EQ(red.x0, 366);
  EXPECT_EQ(red.x1, 371);
  EXPECT_EQ(red.y0, 144 - 72);  // from the red point of the step before
  EXPECT_EQ(red.y1, 0);
  const auto& green = canvas.lines[2];
  EXPECT_EQ(green.y0, 144);  // no green before: the bottom edge
  EXPECT_EQ(green.y1, 72);
  EXPECT_EQ(canvas.scrolls, std::vector<int>{5});
}

TEST_F(GraphFixture, verticalMappingCutsFractionsTowardZero) {
  Step({{0, 300}});
  EXPECT_EQ(graph.YOf(0), 144);
  EXPECT_EQ(graph.YOf(1), 144);  // 0.48 cut to 0
  EXPECT_EQ(graph.YOf(299), 1);  // 143.52 cut to 143
  EXPECT_EQ(graph.YOf(300), 0);
}

TEST_F(GraphFixture, stepSizeChangeKeepsTheNewestSteps) {
  ASSERT_EQ(graph.Capacity(), 76);  // 371 / 5 + 2
  for (int i = 1; i <= 80; ++i) Step({{kRed, i}});
  graph.SetStepSize(1);
  EXPECT_EQ(graph.Capacity(), 373);
  auto steps = graph.StepsOldestFirst();
  // The 76 steps of the old ring are the newest of the new one, the open step last.
  ASSERT_EQ(steps.size(), 373u);
  EXPECT_EQ(steps[297].count, 1);
  EXPECT_EQ(steps[297].points[0].value, 6);
  EXPECT_EQ(steps[371].points[0].value, 80);
  EXPECT_EQ(steps[372].count, 0);
  EXPECT_EQ(steps[296].count, 0);
  for (int i = 81; i <= 100; ++i) Step({{kRed, i}});
  graph.SetStepSize(5);
  steps = graph.StepsOldestFirst();
  ASSERT_EQ(steps.size(), 76u);
  EXPECT_EQ(steps[0].points[0].value, 26);  // the newest 76 of the 373
  EXPECT_EQ(steps[74].points[0].value, 100);
  EXPECT_EQ(steps[75].count, 0);
}

TEST_F(GraphFixture, fullRedrawPutsTheLastClosedStepInTheRightmostStrip) {
  Step({{kRed, 50}});
  Step({{kRed, 60}});
  canvas.Clear();
  graph.RedrawAll();
  ASSERT_FALSE(canvas.lines.empty());
  EXPECT_EQ(canvas.lines.back().x1, 371);  // w = 371 mod 74 = 1; 1 + 74 x 5
  EXPECT_EQ(canvas.lines.back().y1, graph.YOf(60));
}

TEST_F(GraphFixture, gridLinesFollowThePhaseAndEverySettingRedraws) {
  graph.SetGridSize(10);
  const int before = graph.FullRedraws();
  graph.SetGridlines(true);
  graph.SetForeColor(0x808080);
  graph.SetBackColor(0x000001);
  graph.SetPenWidth(3);
  EXPECT_EQ(graph.FullRedraws(), before + 4);
  canvas.Clear();
  Step({{0, 300}});
  canvas.Clear();
  Step({{0, 300}});
  int vertical = 0, horizontal = 0;
  for (const auto& l : canvas.grid) {
    if (l.x0 == l.x1) {
      ++vertical;
      EXPECT_GE(l.x0, 366);
    } else {
      ++horizontal;
    }
  }
  EXPECT_EQ(horizontal, 14);  // y = 10 .. 140
  EXPECT_LE(vertical, 1);
}

TEST_F(GraphFixture, aNewWidthRebuildsTheRing) {
  graph.SetSize(100, 144);
  EXPECT_EQ(graph.Capacity(), 22);
  graph.SetSize(100, 50);  // the height alone only redraws
  EXPECT_EQ(graph.Capacity(), 22);
}

TEST(GaugeModelTest, clampsAndRepaintsOnWholePercentChanges) {
  GaugeModel g;
  EXPECT_TRUE(g.SetProgress(150));
  EXPECT_EQ(g.Progress(), 100);
  EXPECT_EQ(g.Percent(), 100);
  EXPECT_FALSE(g.SetProgress(100));
  g.SetMaxValue(255);
  EXPECT_EQ(g.Percent(), 39);
  EXPECT_FALSE(g.SetProgress(101));  // 39.6 % is still 39
  EXPECT_TRUE(g.SetProgress(102));   // 40 %
  EXPECT_FALSE(g.SetMaxValue(0));
  EXPECT_EQ(g.MaxValue(), 255);
  EXPECT_THROW(g.SetMinValue(300), std::invalid_argument);
  g.SetMinValue(200);
  EXPECT_EQ(g.Progress(), 200);
  EXPECT_THROW(g.SetMaxValue(100), std::invalid_argument);
  EXPECT_EQ(g.MaxValue(), 255);
  g.SetMaxValue(200);
  EXPECT_EQ(g.Percent(), 0);  // empty range
}

TEST(GaugeModelTest, barWidthFromThePercentage) {
  GaugeModel g;
  g.SetProgress(50);
  EXPECT_EQ(g.BarWidth(85), 43);  // trunc(0.5 x 86)
  g.SetProgress(100);
  EXPECT_EQ(g.BarWidth(85), 85);  // never wider than the inside
  g.SetProgress(0);
  EXPECT_EQ(g.BarWidth(85), 0);
}

}  // namespace
