#include "monitor/PerformanceGraph.h"

#include <algorithm>
#include <stdexcept>

PerformanceGraph::PerformanceGraph() { ring_.resize(static_cast<std::size_t>(CapacityFor(0, stepSize_))); }

int PerformanceGraph::CapacityFor(int width, int stepSize) { return std::max(0, width) / stepSize + 2; }

void PerformanceGraph::SetCanvas(GraphCanvas* canvas) {
  canvas_ = canvas;
  if (canvas_) {
    canvas_->Resize(width_, height_);
    RedrawAll();
  }
}

void PerformanceGraph::DataPoint(std::int32_t colour, std::int32_t value) {
  GraphStep& step = ring_[static_cast<std::size_t>(current_)];
  if (step.count >= GraphStep::kMaxPoints) throw std::length_error("a graph step takes at most 16 points");
  step.points[static_cast<std::size_t>(step.count++)] = {colour, value};
  Note(value);
}

void PerformanceGraph::Note(std::int32_t value) {
  if (value > largest_) {
    largest_ = value;
    largestCount_ = 1;
  } else if (value == largest_ && value > 0) {
    ++largestCount_;
  }
}

void PerformanceGraph::Forget(const GraphStep& step) {
  if (largest_ <= 0) return;
  for (int i = 0; i < step.count; ++i)
    if (step.points[static_cast<std::size_t>(i)].value == largest_ && --largestCount_ == 0) {
      RecountLargest();
      return;
    }
}

void PerformanceGraph::RecountLargest() {
  largest_ = 0;
  largestCount_ = 0;
  for (const GraphStep& step : ring_)
    for (int i = 0; i < step.count; ++i) Note(step.points[static_cast<std::size_t>(i)].value);
}

const GraphStep& PerformanceGraph::StepBack(int back) const {
  const int n = Capacity();
  return ring_[static_cast<std::size_t>(((current_ - back) % n + n) % n)];
}

std::vector<GraphStep> PerformanceGraph::StepsOldestFirst() const {
  std::vector<GraphStep> steps;
  steps.reserve(ring_.size());
  for (int back = Capacity() - 1; back >= 0; --back) steps.push_back(StepBack(back));
  return steps;
}

int PerformanceGraph::YOf(std::int32_t value) const {
  if (scale_ == 0) return height_;
  return height_ - static_cast<int>(static_cast<std::int64_t>(value) * height_ / scale_);
}

int PerformanceGraph::RoundedScale() const {
  const std::int32_t largest = largest_;
  // A graph without any positive value keeps one gradient step, so that the mapping never
  // divides by zero.
  if (largest <= 0) return gradient_;
  const std::int64_t g = gradient_;
  return static_cast<int>((largest + g - 1) / g * g);
}

void PerformanceGraph::Update() {
  const int s = stepSize_;
  const int stripLeft = width_ - s;
  if (canvas_) {
    canvas_->ScrollLeft(s);
    canvas_->FillRect(stripLeft, 0, s, height_, backColor_);
  }
  if (gridlines_) {
    if (canvas_)
      for (int y = gridSize_; y < height_; y += gridSize_)
        canvas_->GridLine(stripLeft, y, width_ - 1, y, foreColor_);
    gridPhase_ -= s;
    while (gridPhase_ < 0) gridPhase_ += gridSize_;
    // Vertical lines stand at gridPhase + n x GridSize; draw those that fall into the strip.
    if (canvas_)
      for (int x = gridPhase_; x < width_; x += gridSize_)
        if (x >= stripLeft) canvas_->GridLine(x, 0, x, height_ - 1, foreColor_);
  }

  current_ = (current_ + 1) % Capacity();
  GraphStep& dropped = ring_[static_cast<std::size_t>(current_)];
  const GraphStep old = dropped;
  dropped.count = 0;
  Forget(old);

  const int rounded = RoundedScale();
  if (rounded != scale_) {
    scale_ = rounded;
    if (OnScaleChange) OnScaleChange();
    RedrawAll();
    return;
  }
  if (!canvas_) return;
  DrawStep(StepBack(1), StepBack(2), stripLeft);
  canvas_->Present(true);
}

void PerformanceGraph::DrawStep(const GraphStep& step, const GraphStep& previous, int left) {
  for (int i = 0; i < step.count; ++i) {
    const GraphPoint& p = step.points[static_cast<std::size_t>(i)];
    if (p.value == 0) continue;
    std::int32_t start = 0;
    for (int j = 0; j < previous.count; ++j) {
      if (previous.points[static_cast<std::size_t>(j)].colour == p.colour) {
        start = previous.points[static_cast<std::size_t>(j)].value;
        break;
      }
    }
    canvas_->Line(left, YOf(start), left + stepSize_, YOf(p.value), p.colour, penWidth_);
  }
}

void PerformanceGraph::RedrawAll() {
  ++fullRedraws_;
  if (!canvas_) return;
  canvas_->FillRect(0, 0, width_, height_, backColor_);
  if (gridlines_) {
    for (int y = gridSize_; y < height_; y += gridSize_) canvas_->GridLine(0, y, width_ - 1, y, foreColor_);
    for (int x = gridPhase_; x < width_; x += gridSize_) canvas_->GridLine(x, 0, x, height_ - 1, foreColor_);
  }
  const int perWidth = width_ / stepSize_;
  const int w = perWidth > 0 ? width_ % perWidth : 0;
  const int n = Capacity();
  // Every step but the oldest, older to newer; the open step lands just beyond the right edge.
  for (int k = 0; k + 1 < n; ++k) {
    const int back = n - 2 - k;
    DrawStep(StepBack(back), StepBack(back + 1), w + k * stepSize_);
  }
  canvas_->Present(false);
}

void PerformanceGraph::Rebuild(int capacity) {
  std::vector<GraphStep> fresh(static_cast<std::size_t>(capacity));
  const int kept = std::min(capacity, Capacity());
  // The newest steps, oldest first, end in the last slot, which becomes the open step.
  for (int i = 0; i < kept; ++i)
    fresh[static_cast<std::size_t>(capacity - kept + i)] = StepBack(kept - 1 - i);
  ring_ = std::move(fresh);
  current_ = capacity - 1;
  RecountLargest();
}

void PerformanceGraph::SetSize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == width_ && height == height_) return;
  const bool newWidth = width != width_;
  width_ = width;
  height_ = height;
  if (newWidth) Rebuild(CapacityFor(width_, stepSize_));
  if (canvas_) canvas_->Resize(width_, height_);
  RedrawAll();
}

void PerformanceGraph::SetStepSize(int pixels) {
  pixels = std::max(1, pixels);
  if (pixels == stepSize_) return;
  stepSize_ = pixels;
  Rebuild(CapacityFor(width_, stepSize_));
  RedrawAll();
}

void PerformanceGraph::SetGridSize(int pixels) {
  pixels = std::max(2, pixels);
  if (pixels == gridSize_) return;
  gridSize_ = pixels;
  gridPhase_ %= gridSize_;
  RedrawAll();
}

void PerformanceGraph::SetScale(int value) {
  if (value == scale_) return;
  scale_ = value;
  RedrawAll();
}

void PerformanceGraph::SetGradient(int value) {
  value = std::max(1, value);
  if (value == gradient_) return;
  gradient_ = value;
  RedrawAll();
}

void PerformanceGraph::SetGridlines(bool on) {
  if (on == gridlines_) return;
  gridlines_ = on;
  RedrawAll();
}

void PerformanceGraph::SetForeColor(std::int32_t colour) {
  if (colour == foreColor_) return;
  foreColor_ = colour;
  RedrawAll();
}

void PerformanceGraph::SetBackColor(std::int32_t colour) {
  if (colour == backColor_) return;
  backColor_ = colour;
  RedrawAll();
}

void PerformanceGraph::SetPenWidth(int width) {
  width = std::max(1, width);
  if (width == penWidth_) return;
  penWidth_ = width;
  RedrawAll();
}
