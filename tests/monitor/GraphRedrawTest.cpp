// The oscilloscope's picture, drawn by the control, equals pixel for pixel the picture that
// the plain painter drawing (one QPainter per line, the whole bitmap moved per step) gives for
// the same calls: while sampling live, after a history scroll and after every setting that
// redraws everything. The painter drawing is the control's own drawing from before it was
// made faster, kept here as the reference.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "monitor/PerformanceGraphQt.h"
#include "monitor/PlatformColourQt.h"
#include "monitor/ReadingRows.h"
#include "ui/UiTestSupport.h"

namespace {

// The straightforward drawing: each primitive paints with a painter of its own, a scroll moves
// every row of the bitmap.
class PainterCanvas : public GraphCanvas {
 public:
  void Resize(int width, int height) override {
    image = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    image.fill(Qt::black);
  }
  void ScrollLeft(int dx) override {
    const int w = image.width();
    if (dx <= 0 || dx >= w) return;
    const std::size_t bytes = static_cast<std::size_t>(w - dx) * 4;
    for (int y = 0; y < image.height(); ++y) {
      uchar* line = image.scanLine(y);
      std::memmove(line, line + dx * 4, bytes);
    }
  }
  void FillRect(int x, int y, int width, int height, std::int32_t colour) override {
    QPainter p(&image);
    p.fillRect(x, y, width, height, PlatformColour(colour));
  }
  void GridLine(int x0, int y0, int x1, int y1, std::int32_t colour) override {
    QPainter p(&image);
    p.setPen(QPen(PlatformColour(colour), 1));
    p.drawLine(x0, y0, x1, y1);
  }
  void Line(int x0, int y0, int x1, int y1, std::int32_t colour, int penWidth) override {
    QPainter p(&image);
    p.setPen(QPen(PlatformColour(colour), penWidth, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(x0, y0, x1, y1);
  }
  void Present(bool) override {}

  QImage image;
};

// Where two pictures first differ, for the failure message.
std::string FirstDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size())
    return "sizes " + std::to_string(a.width()) + "x" + std::to_string(a.height()) + " and " +
           std::to_string(b.width()) + "x" + std::to_string(b.height());
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF))
        return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
  return {};
}

// A drive: nine traces that climb, fall and jump like engine readings, the black scale mark,
// a white overlay that swaps places with the motor trace, a series that comes and goes,
// zero values, and now and then a speed peak that lifts the scale.
struct Drive {
  unsigned seed = 12345;
  int Next(int range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<unsigned>(range));
  }
  void Step(PerformanceGraph& a, PerformanceGraph& b, int t) {
    std::vector<GraphPoint> points;
    points.push_back({kColourBlack, kScaleMarkValue});
    for (int s = 0; s < 6; ++s)
      points.push_back(
          {kInitialColours[static_cast<std::size_t>(s)], 22 + (t * (s + 3) + s * 40 + Next(9)) % 255});
    if (t % 50 < 30) points.push_back({kInitialColours[6], 22 + Next(255)});  // comes and goes
    if (t % 17 == 3) points.push_back({kInitialColours[7], 0});               // a zero: not drawn
    const int motor = 22 + (t * 2) % 200;
    const bool regulating = (t / 13) % 2 == 0;
    points.push_back({regulating ? kInitialColours[4] : 0xFFFFFF, motor});
    points.push_back({regulating ? 0xFFFFFF : kInitialColours[4], motor});
    if (t % 97 == 40) points[1].value = 22 + 4 * (60 + Next(140));  // speed peak: scale 400 .. 1000
    for (const GraphPoint& p : points) {
      a.DataPoint(p.colour, p.value);
      b.DataPoint(p.colour, p.value);
    }
    a.Update();
    b.Update();
  }
};

struct Case {
  int width, height, stepSize;
  bool gridlines;
  int penWidth;
};

class GraphRedraw : public ::testing::TestWithParam<Case> {};

// Both graphs are set up as the oscilloscope sets its graph, then sampled live (compared after
// every step), scrolled through a stopped history (compared after each scroll), and redrawn
// by every setting that redraws everything (compared after each).
TEST_P(GraphRedraw, theControlDrawsWhatThePainterDraws) {
  TestApplication();
  const Case c = GetParam();
  TPerformanceGraph control;
  PerformanceGraph& g = control.Graph();
  PerformanceGraph reference;
  PainterCanvas canvas;
  reference.SetCanvas(&canvas);
  for (PerformanceGraph* graph : {&g, &reference}) {
    graph->SetForeColor(0x808080);
    graph->SetBackColor(kColourBlack);
    graph->SetGridSize(10);
    graph->SetStepSize(c.stepSize);
    graph->SetScale(100);
    graph->SetGradient(100);
    graph->SetGridlines(c.gridlines);
    graph->SetPenWidth(c.penWidth);
    graph->SetSize(c.width, c.height);
  }
  auto same = [&](const std::string& when) -> ::testing::AssertionResult {
    const QImage picture = control.Picture();
    if (picture == canvas.image) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << when << ": first difference at " << FirstDifference(picture, canvas.image);
  };
  ASSERT_TRUE(same("after the set-up"));

  Drive drive;
  const int a = c.width / c.stepSize;
  int t = 0;
  for (; t < a + 150; ++t) {
    drive.Step(g, reference, t);
    ASSERT_TRUE(same("live step " + std::to_string(t)));
  }
  // History scrolls: a + 1 steps traced in a row, as a scroll position redraws.
  for (int scroll = 0; scroll < 4; ++scroll) {
    for (int k = 0; k <= a; ++k) drive.Step(g, reference, t++);
    ASSERT_TRUE(same("scroll " + std::to_string(scroll)));
  }
  for (int round = 0; round < 2; ++round) {
    for (PerformanceGraph* graph : {&g, &reference}) graph->SetGridlines(!graph->Gridlines());
    ASSERT_TRUE(same("grid lines toggled"));
    for (PerformanceGraph* graph : {&g, &reference}) graph->SetPenWidth(graph->PenWidth() + 1);
    ASSERT_TRUE(same("pen width"));
    for (PerformanceGraph* graph : {&g, &reference}) graph->SetStepSize(graph->StepSize() % 10 + 2);
    ASSERT_TRUE(same("time base"));
    for (int k = 0; k < 40; ++k) drive.Step(g, reference, t++);
    ASSERT_TRUE(same("steps after the settings"));
  }
  for (PerformanceGraph* graph : {&g, &reference}) graph->SetSize(c.width - 7, c.height + 5);
  ASSERT_TRUE(same("new size"));
  for (int k = 0; k < 60; ++k) drive.Step(g, reference, t++);
  ASSERT_TRUE(same("steps after the new size"));
}

INSTANTIATE_TEST_SUITE_P(Sizes, GraphRedraw,
                         ::testing::Values(Case{371, 144, 1, false, 2},   // design width, finest time base
                                           Case{371, 144, 5, true, 2},    // grid lines, time base 5
                                           Case{1920, 144, 1, false, 2},  // a wide window
                                           Case{373, 100, 3, true, 3}, Case{200, 60, 7, false, 1},
                                           Case{3, 20, 2, true, 2}));

}  // namespace
