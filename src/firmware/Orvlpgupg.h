#pragma once

#include <QWidget>

// The progress window of a firmware run: client area 345 x 89, caption "MERVOLANTE".
class TForm3 : public QWidget {
 public:
  explicit TForm3(QWidget* parent = nullptr) : QWidget(parent) {
    setObjectName("Form3");
    setWindowTitle("MERVOLANTE");
    resize(345, 89);
  }
};
