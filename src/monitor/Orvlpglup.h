#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string>

class QLabel;
class QTimer;

// The two text slots the views write and the magnifier shows (line 1, line 2).
using MagnifierLines = std::array<std::string, 2>;

// The magnifier window: two live readings in large type, always on top. It copies the
// lines on its own 550 ms timer. The instance made at start stays hidden.
class TForm2 : public QWidget {
 public:
  explicit TForm2(QWidget* parent = nullptr, const MagnifierLines* lines = nullptr);

  bool Shown() const { return shown_; }
  std::function<void(bool)> onShown;  // the window was shown (true) or hidden
  void TimerTimer();

  QLabel* StaticText1 = nullptr;
  QLabel* StaticText2 = nullptr;
  QTimer* Timer = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  const MagnifierLines* lines_ = nullptr;
  bool shown_ = false;
};
