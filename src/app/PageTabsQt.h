#pragma once

#include "model/PageAndMode.h"

struct ConnectionModeLook;

class QButtonGroup;
class QToolButton;
class QWidget;

// The page buttons along the top of the main window, one pressed at a time. The processor
// views share one button.
class PageTabs {
 public:
  explicit PageTabs(QWidget* strip);

  QToolButton* TabOf(Page page) const;
  // Shown; the SRAM and EEPROM views count as without a button of their own.
  bool Visible(Page page) const;
  // At their design places, closer together when they would reach `limit`.
  void Place(int limit);
  // The buttons a connection mode shows, placed before `limit`.
  void ShowFor(const ConnectionModeLook& look, int limit);
  void ApplyTexts();
  void ShowKeyLabels();    // the keys that select the pages
  void RestoreCaptions();  // the pages' names again, the processor button's too
  // The service mode shows every page button; leaving it hides the processor button.
  void SetServiceMode(bool on);

  QToolButton *TabSet = nullptr, *TabParam = nullptr, *TabConfig = nullptr, *TabUpg = nullptr,
              *TabMap = nullptr, *TabProc = nullptr;
  QButtonGroup* group = nullptr;
};
