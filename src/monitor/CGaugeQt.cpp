#include "monitor/CGaugeQt.h"

#include <QPainter>
#include <QPixmap>

#include "monitor/PlatformColourQt.h"

TCGauge::TCGauge(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  Changed();
}

void TCGauge::Changed() {
  ++repaints_;
  setAccessibleDescription(QString("%1 (%2%)").arg(model_.Progress()).arg(model_.Percent()));
  update();
}

void TCGauge::SetMinValue(int value) {
  if (model_.SetMinValue(value)) Changed();
}

void TCGauge::SetMaxValue(int value) {
  if (model_.SetMaxValue(value)) Changed();
}

void TCGauge::SetRange(int minimum, int maximum) {
  if (minimum > model_.MaxValue()) {
    SetMaxValue(maximum);
    SetMinValue(minimum);
  } else {
    SetMinValue(minimum);
    SetMaxValue(maximum);
  }
}

void TCGauge::SetProgress(int value) {
  if (model_.SetProgress(value)) Changed();
}

void TCGauge::SetForeColor(std::int32_t colour) {
  if (colour == foreColor_) return;
  foreColor_ = colour;
  Changed();
}

void TCGauge::SetBackColor(std::int32_t colour) {
  if (colour == backColor_) return;
  backColor_ = colour;
  Changed();
}

void TCGauge::SetShowText(bool on) {
  showText_ = on;
  Changed();
}

void TCGauge::SetBorder(bool single) {
  border_ = single;
  Changed();
}

void TCGauge::paintEvent(QPaintEvent*) {
  // Painted off screen first and then copied, so that the bar never flickers.
  QImage picture(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  {
    QPainter p(&picture);
    const int inset = border_ ? 1 : 0;
    const QRect inner = picture.rect().adjusted(inset, inset, -inset, -inset);
    if (border_) {
      p.setPen(Qt::black);
      p.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    }
    p.fillRect(inner, PlatformColour(backColor_));
    const int bar = model_.BarWidth(inner.width());
    if (bar > 0)
      p.fillRect(QRect(inner.left(), inner.top(), bar, inner.height()), PlatformColour(foreColor_));
    if (showText_) {
      p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      p.setPen(Qt::white);
      p.drawText(inner, Qt::AlignCenter, QString("%1%").arg(model_.Percent()));
    }
  }
  QPainter(this).drawImage(0, 0, picture);
}
