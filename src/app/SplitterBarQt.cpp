#include "app/SplitterBarQt.h"

#include <QMouseEvent>

void SplitterBar::mousePressEvent(QMouseEvent* event) { grabOffset_ = event->position().toPoint().y(); }

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton) || !onMoved) return;
  onMoved(mapToParent(event->position().toPoint()).y() - grabOffset_);
}
