#pragma once

#include <QWidget>

// The magnifier window: two live readings in large type. The instance made at start stays
// hidden; the one the user sees is made when opened.
class TForm2 : public QWidget {
 public:
  explicit TForm2(QWidget* parent = nullptr) : QWidget(parent) {
    setObjectName("Form2");
    setWindowTitle("MERVOLANTE");
  }
};
