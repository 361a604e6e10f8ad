#include "firmware/Orvlpgupg.h"

#include <QLabel>
#include <QProgressBar>

namespace {
constexpr int kClientWidth = 345;
constexpr int kClientHeight = 89;
}  // namespace

TForm3::TForm3(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName("Form3");
  setWindowTitle("MERVOLANTE");
  setFixedSize(kClientWidth, kClientHeight);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(236, 147, 153));
  setPalette(p);
  setFont(QFont("Times New Roman"));

  Image1 = new QLabel(this);
  Image1->setObjectName("Image1");
  Image1->setGeometry(0, 0, 56, kClientHeight);
  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(72, 8, kClientWidth - 72 - 4, 24);
  Label2 = new QLabel(this);
  Label2->setObjectName("Label2");
  Label2->setGeometry(72, 40, kClientWidth - 72 - 4, 24);
  Progres = new QProgressBar(this);
  Progres->setObjectName("Progres");
  Progres->setGeometry(72, 64, 265, 20);
  Progres->setTextVisible(true);
  Progres->setStyleSheet(
      "QProgressBar#Progres{background:rgb(255,0,0);border:1px solid black;text-align:center}"
      "QProgressBar#Progres::chunk{background:rgb(0,255,0)}");
  Progres->setRange(0, 1);
  Progres->setValue(0);
  Progres->hide();
}
