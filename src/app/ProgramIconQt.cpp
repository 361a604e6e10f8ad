#include "app/ProgramIconQt.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// The picture on a 64 x 64 grid: a black face, a green trace, a read-progress bar.
QPixmap Drawn(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 8, 8);
  QPainterPath trace(QPointF(6, 44));
  for (const QPointF& point : {QPointF(14, 44), QPointF(18, 30), QPointF(24, 52), QPointF(30, 18),
                               QPointF(36, 46), QPointF(40, 36), QPointF(58, 36)})
    trace.lineTo(point);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0, 255, 0), 3, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  p.drawPath(trace);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xcf, 0xcf, 0xcf));
  p.drawRoundedRect(QRectF(8, 8, 48, 8), 2, 2);
  p.setBrush(QColor(255, 0, 0));
  p.drawRoundedRect(QRectF(8, 8, 30, 8), 2, 2);
  return pixmap;
}

}  // namespace

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(Drawn(size));
  return icon;
}
