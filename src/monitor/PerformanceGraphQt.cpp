#include "monitor/PerformanceGraphQt.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "monitor/PlatformColourQt.h"

namespace {

// Room beyond the window: the window is copied back to the image's left end once per this
// many pixels of scrolling.
int ScrollRoom(int width) { return std::max(width, 512); }

// Stamps kept at most; a graph needs a few hundred shapes.
constexpr std::size_t kMostStamps = 20000;

}  // namespace

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
  const QRect r = event->rect();
  painter.drawImage(r, image_, r.translated(origin_, 0));
}

QImage TPerformanceGraph::Picture() const { return image_.copy(origin_, 0, width_, height_); }

void TPerformanceGraph::Resize(int width, int height) {
  width_ = std::max(1, width);
  height_ = std::max(1, height);
  image_ = QImage(width_ + ScrollRoom(width_), height_, QImage::Format_RGB32);
  image_.fill(Qt::black);
  origin_ = 0;
}

void TPerformanceGraph::ScrollLeft(int dx) {
  if (dx <= 0 || dx >= width_) return;
  if (origin_ + dx + width_ > image_.width()) {
    // The window has reached the image's end: its pixels go back to the left.
    const std::size_t bytes = static_cast<std::size_t>(width_) * 4;
    for (int y = 0; y < height_; ++y) {
      uchar* line = image_.scanLine(y);
      std::memmove(line, line + static_cast<std::size_t>(origin_) * 4, bytes);
    }
    origin_ = 0;
  }
  // What enters the window at the right is filled before it is seen.
  origin_ += dx;
}

void TPerformanceGraph::FillRect(int x, int y, int width, int height, std::int32_t colour) {
  const QColor c = PlatformColour(colour);
  const int left = std::max(0, x), right = std::min(width_, x + width);
  const int top = std::max(0, y), bottom = std::min(height_, y + height);
  if (c.alpha() != 255) {
    QPainter p(&image_);
    p.setClipRect(origin_, 0, width_, height_);
    p.fillRect(origin_ + x, y, width, height, c);
    return;
  }
  if (left >= right) return;
  const QRgb pixel = c.rgb();
  for (int row = top; row < bottom; ++row) {
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(row)) + origin_;
    std::fill(line + left, line + right, pixel);
  }
}

void TPerformanceGraph::GridLine(int x0, int y0, int x1, int y1, std::int32_t colour) {
  DrawLine(x0, y0, x1, y1, colour, 1, false);
}

void TPerformanceGraph::Line(int x0, int y0, int x1, int y1, std::int32_t colour, int penWidth) {
  DrawLine(x0, y0, x1, y1, colour, penWidth, true);
}

const TPerformanceGraph::Stamp& TPerformanceGraph::StampOf(int dx, int dy, int penWidth, bool roundCap) {
  const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(dx) & 0xFFFFFu) << 44) |
                            (static_cast<std::uint64_t>(static_cast<std::uint32_t>(dy) & 0xFFFFFu) << 24) |
                            (static_cast<std::uint64_t>(penWidth & 0x7FFFFF) << 1) | (roundCap ? 1u : 0u);
  if (const auto found = stamps_.find(key); found != stamps_.end()) return found->second;
  if (stamps_.size() >= kMostStamps) stamps_.clear();

  // The shape painted alone, white on black, with room around it for the pen and the caps.
  const int pad = penWidth + 2;
  const int startX = pad + std::max(0, -dx), startY = pad + std::max(0, -dy);
  QImage scratch(std::abs(dx) + 2 * pad + 1, std::abs(dy) + 2 * pad + 1, QImage::Format_RGB32);
  scratch.fill(Qt::black);
  {
    QPainter p(&scratch);
    p.setPen(roundCap ? QPen(Qt::white, penWidth, Qt::SolidLine, Qt::RoundCap) : QPen(Qt::white, penWidth));
    p.drawLine(startX, startY, startX + dx, startY + dy);
  }
  Stamp stamp;
  const QRgb black = QColor(Qt::black).rgb();
  for (int y = 0; y < scratch.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
    for (int x = 0; x < scratch.width();) {
      if (line[x] == black) {
        ++x;
        continue;
      }
      const int left = x;
      while (x < scratch.width() && line[x] != black) ++x;
      stamp.push_back({y - startY, left - startX, x - startX});
    }
  }
  return stamps_.emplace(key, std::move(stamp)).first->second;
}

void TPerformanceGraph::DrawLine(int x0, int y0, int x1, int y1, std::int32_t colour, int penWidth,
                                 bool roundCap) {
  const QColor c = PlatformColour(colour);
  if (c.alpha() != 255) {
    QPainter p(&image_);
    p.setClipRect(origin_, 0, width_, height_);
    p.setPen(roundCap ? QPen(c, penWidth, Qt::SolidLine, Qt::RoundCap) : QPen(c, penWidth));
    p.drawLine(origin_ + x0, y0, origin_ + x1, y1);
    return;
  }
  const QRgb pixel = c.rgb();
  // The window clips as the control's own edges would.
  for (const Run& run : StampOf(x1 - x0, y1 - y0, penWidth, roundCap)) {
    const int y = y0 + run.dy;
    if (y < 0 || y >= height_) continue;
    const int left = std::max(0, x0 + run.left), right = std::min(width_, x0 + run.right);
    if (left >= right) continue;
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y)) + origin_;
    std::fill(line + left, line + right, pixel);
  }
}

void TPerformanceGraph::Present(bool) { update(); }
