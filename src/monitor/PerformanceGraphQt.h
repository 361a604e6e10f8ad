#pragma once

#include <QImage>
#include <QWidget>

#include "monitor/PerformanceGraph.h"

// The strip chart as a control: the core graph paints into an off-screen image, and the
// control copies the image to the screen.
class TPerformanceGraph : public QWidget, private GraphCanvas {
 public:
  explicit TPerformanceGraph(QWidget* parent = nullptr);

  PerformanceGraph& Graph() { return graph_; }
  const QImage& Picture() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Resize(int width, int height) override;
  void ScrollLeft(int dx) override;
  void FillRect(int x, int y, int width, int height, std::int32_t colour) override;
  void GridLine(int x0, int y0, int x1, int y1, std::int32_t colour) override;
  void Line(int x0, int y0, int x1, int y1, std::int32_t colour, int penWidth) override;
  void Present(bool partial) override;

  PerformanceGraph graph_;
  QImage image_;
};
