#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// What the strip chart draws on: an off-screen picture of the control's size. Colours are
// platform colour values (red in the low byte; top byte 0x80 for a system colour).
class GraphCanvas {
 public:
  virtual ~GraphCanvas() = default;
  virtual void Resize(int width, int height) = 0;
  // Copies the region from x = dx to the right edge onto x = 0.
  virtual void ScrollLeft(int dx) = 0;
  virtual void FillRect(int x, int y, int width, int height, std::int32_t colour) = 0;
  // A one-pixel line (grid lines).
  virtual void GridLine(int x0, int y0, int x1, int y1, std::int32_t colour) = 0;
  virtual void Line(int x0, int y0, int x1, int y1, std::int32_t colour, int penWidth) = 0;
  // The picture changed: show it (only the strip when partial).
  virtual void Present(bool partial) = 0;
};

struct GraphPoint {
  std::int32_t colour = 0;
  std::int32_t value = 0;
};

struct GraphStep {
  static constexpr int kMaxPoints = 16;
  int count = 0;
  std::array<GraphPoint, kMaxPoints> points{};
};

// The strip chart: a ring of steps, one per Update, each with up to 16 points. A series is
// known only by its colour: a point joins the point of the same colour in the step before.
class PerformanceGraph {
 public:
  PerformanceGraph();

  void SetCanvas(GraphCanvas* canvas);  // nullptr: keep the state, draw nothing

  // Adds a point to the open step; a 17th point throws std::length_error and adds nothing.
  void DataPoint(std::int32_t colour, std::int32_t value);
  // Closes the open step: scrolls, opens the next step, draws the closed one.
  void Update();

  // The control's size; a new width rebuilds the ring. Everything is redrawn on a change.
  void SetSize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }

  void SetStepSize(int pixels);  // at least 1; rebuilds the ring
  void SetGridSize(int pixels);  // at least 2
  void SetScale(int value);
  void SetGradient(int value);
  void SetGridlines(bool on);
  void SetForeColor(std::int32_t colour);
  void SetBackColor(std::int32_t colour);
  void SetPenWidth(int width);

  int StepSize() const { return stepSize_; }
  int GridSize() const { return gridSize_; }
  int Scale() const { return scale_; }
  int Gradient() const { return gradient_; }
  bool Gridlines() const { return gridlines_; }
  std::int32_t ForeColor() const { return foreColor_; }
  std::int32_t BackColor() const { return backColor_; }
  int PenWidth() const { return penWidth_; }

  std::function<void()> OnScaleChange;

  // The ring, oldest step first; the last one is the open step.
  int Capacity() const { return static_cast<int>(ring_.size()); }
  std::vector<GraphStep> StepsOldestFirst() const;
  const GraphStep& OpenStep() const { return ring_[static_cast<std::size_t>(current_)]; }

  // y of a value for the control's height: H - trunc(v / Scale x H).
  int YOf(std::int32_t value) const;

  int FullRedraws() const { return fullRedraws_; }
  void RedrawAll();

 private:
  static int CapacityFor(int width, int stepSize);
  void Rebuild(int capacity);
  const GraphStep& StepBack(int back) const;  // 0 = the open step
  void DrawStep(const GraphStep& step, const GraphStep& previous, int left);
  int RoundedScale() const;
  void Note(std::int32_t value);       // a point joined the ring
  void Forget(const GraphStep& step);  // a step left the ring
  void RecountLargest();

  GraphCanvas* canvas_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int stepSize_ = 3;
  int gridSize_ = 15;
  int scale_ = 1000;
  int gradient_ = 100;
  bool gridlines_ = true;
  std::int32_t foreColor_ = 0x008000;  // green
  std::int32_t backColor_ = 0;         // black
  int penWidth_ = 2;
  int gridPhase_ = 0;  // x of the first vertical grid line, 0..GridSize-1
  std::vector<GraphStep> ring_;
  int current_ = 0;
  int fullRedraws_ = 0;
  // The largest value in the ring (0 when none is positive) and how many points hold it, so
  // that a step costs no search through the whole ring.
  std::int32_t largest_ = 0;
  int largestCount_ = 0;
};
