#pragma once

#include <array>
#include <functional>

#include "model/PageAndMode.h"
#include "model/WindowLayout.h"

class QPushButton;
class QWidget;

// Btn1, Btn2 and Btn3 above the page grid: the map's commands, the processor views and the
// firmware page's programming. Their places and captions come with each lay-out.
class PageButtons {
 public:
  // `clicked` gets 1, 2 or 3.
  PageButtons(QWidget* parent, std::function<void(int)> clicked);

  void ApplyTexts();
  void Place(const MainLayout& layout, Page page);
  // The right edge of Btn3 and the gap the buttons keep.
  int LastRight() const;
  static constexpr int kGap = 7;

 private:
  std::array<QPushButton*, 3> buttons_{};
};
