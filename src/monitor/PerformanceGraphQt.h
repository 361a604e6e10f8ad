#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "monitor/PerformanceGraph.h"

// The strip chart as a control: the core graph paints into an off-screen image, and the
// control copies the image to the screen.
//
// The image is wider than the control: a scroll moves the visible window to the right instead
// of moving every pixel, and only when the window reaches the image's right end is it copied
// back to the left. Lines are painted from stamps: each line shape (its extent, pen width and
// cap) is painted once with a painter, and its pixels are then set directly wherever the shape
// recurs, so that a history of thousands of steps is traced in a few milliseconds.
class TPerformanceGraph : public QWidget, private GraphCanvas {
 public:
  explicit TPerformanceGraph(QWidget* parent = nullptr);

  PerformanceGraph& Graph() { return graph_; }
  // The picture as shown, the control's size.
  QImage Picture() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The pixels of a line shape: runs [left, right) on row dy, relative to the line's start.
  struct Run {
    int dy, left, right;
  };
  using Stamp = std::vector<Run>;

  void Resize(int width, int height) override;
  void ScrollLeft(int dx) override;
  void FillRect(int x, int y, int width, int height, std::int32_t colour) override;
  void GridLine(int x0, int y0, int x1, int y1, std::int32_t colour) override;
  void Line(int x0, int y0, int x1, int y1, std::int32_t colour, int penWidth) override;
  void Present(bool partial) override;

  const Stamp& StampOf(int dx, int dy, int penWidth, bool roundCap);
  void DrawLine(int x0, int y0, int x1, int y1, std::int32_t colour, int penWidth, bool roundCap);

  PerformanceGraph graph_;
  QImage image_;    // the visible window and the room it scrolls into
  int origin_ = 0;  // x of the window's left edge in the image
  int width_ = 1;   // the window's size
  int height_ = 1;
  std::unordered_map<std::uint64_t, Stamp> stamps_;
};
