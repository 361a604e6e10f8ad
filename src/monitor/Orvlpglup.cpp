#include "monitor/Orvlpglup.h"

#include <QLabel>
#include <QTimer>

namespace {
constexpr int kClientWidth = 224;
constexpr int kClientHeight = 81;
constexpr int kTimerMs = 550;
}  // namespace

TForm2::TForm2(QWidget* parent, const MagnifierLines* lines)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      lines_(lines) {
  setObjectName("Form2");
  setWindowTitle("MERVOLANTE");
  setFixedSize(kClientWidth, kClientHeight);
  QFont big("Times New Roman");
  big.setPixelSize(32);
  StaticText1 = new QLabel(this);
  StaticText1->setObjectName("StaticText1");
  StaticText1->setGeometry(0, 0, kClientWidth, kClientHeight);
  StaticText1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  StaticText1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  StaticText1->setFont(big);
  StaticText2 = new QLabel(this);
  StaticText2->setObjectName("StaticText2");
  StaticText2->setGeometry(1, 39, 222, 41);
  StaticText2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  StaticText2->setFont(big);
  Timer = new QTimer(this);
  Timer->setInterval(kTimerMs);
  connect(Timer, &QTimer::timeout, this, [this] { TimerTimer(); });
  if (lines_) Timer->start();
}

void TForm2::TimerTimer() {
  if (!lines_) return;
  StaticText1->setText(QString::fromStdString((*lines_)[0]));
  StaticText2->setText(QString::fromStdString((*lines_)[1]));
}

void TForm2::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  shown_ = true;
  if (onShown) onShown(true);
}

void TForm2::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  shown_ = false;
  if (onShown) onShown(false);
}
