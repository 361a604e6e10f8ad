#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// The progress window of a firmware run: client area 345 x 89, caption "MERVOLANTE". It has
// no handlers of its own; the firmware page drives it.
class TForm3 : public QWidget {
 public:
  explicit TForm3(QWidget* parent = nullptr);

  QLabel* Label1 = nullptr;  // the file being read
  QLabel* Label2 = nullptr;  // the remaining time, then the result
  QLabel* Image1 = nullptr;
  QProgressBar* Progres = nullptr;  // hidden until the loader answers
};
