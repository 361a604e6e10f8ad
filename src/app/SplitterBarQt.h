#pragma once

#include <QWidget>
#include <functional>

// The horizontal bar under the upper panel: dragging it changes the panel's height.
class SplitterBar : public QWidget {
 public:
  explicit SplitterBar(QWidget* parent) : QWidget(parent) { setCursor(Qt::SplitVCursor); }
  // Called with the wanted new top of the bar while dragging.
  std::function<void(int top)> onMoved;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  int grabOffset_ = 0;
};
