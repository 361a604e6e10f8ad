#pragma once

#include <QWidget>

// The help window that shows the help document.
class TForm4 : public QWidget {
 public:
  explicit TForm4(QWidget* parent = nullptr) : QWidget(parent) { setObjectName("Form4"); }
};
