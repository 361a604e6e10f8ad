#include "monitor/PerformanceGraphQt.h"

#include <QPaintEvent>
#include <QPainter>
#include <cstring>

#include "monitor/PlatformColourQt.h"

TPerformanceGraph::TPerformanceGraph(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  graph_.SetCanvas(this);
  graph_.OnScaleChange = [this] { setAccessibleDescription(QString("scale %1").arg(graph_.Scale())); };
}

void TPerformanceGraph::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  graph_.SetSize(width(), height());
}

void TPerformanceGraph::paintEvent(QPaintEvent* event) {
  if (width() != graph_.Width() || height() != graph_.Height()) graph_.SetSize(width(), height());
  QPainter painter(this);
  painter.drawImage(event->rect(), image_, event->rect());
}

void TPerformanceGraph::Resize(int width, int height) {
  image_ = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
  image_.fill(Qt::black);
}

void TPerformanceGraph::ScrollLeft(int dx) {
  const int w = image_.width();
  if (dx <= 0) return;
  if (dx >= w) return;
  const std::size_t bytes = static_cast<std::size_t>(w - dx) * 4;
  for (int y = 0; y < image_.height(); ++y) {
    uchar* line = image_.scanLine(y);
    std::memmove(line, line + dx * 4, bytes);
  }
}

void TPerformanceGraph::FillRect(int x, int y, int width, int height, std::int32_t colour) {
  QPainter p(&image_);
  p.fillRect(x, y, width, height, PlatformColour(colour));
}

void TPerformanceGraph::GridLine(int x0, int y0, int x1, int y1, std::int32_t colour) {
  QPainter p(&image_);
  p.setPen(QPen(PlatformColour(colour), 1));
  p.drawLine(x0, y0, x1, y1);
}

void TPerformanceGraph::Line(int x0, int y0, int x1, int y1, std::int32_t colour, int penWidth) {
  QPainter p(&image_);
  p.setPen(QPen(PlatformColour(colour), penWidth, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(x0, y0, x1, y1);
}

void TPerformanceGraph::Present(bool) { update(); }
