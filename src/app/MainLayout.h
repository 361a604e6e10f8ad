#pragma once

#include "model/PageAndMode.h"
#include "model/WindowLayout.h"

// Pixel rules of the main window, computed from sizes alone so that they can be checked
// without painting. The main window and its pages read the result and move their widgets;
// nothing here touches a widget.

struct LayoutInput {
  int clientWidth = kDesignClientWidth;  // W
  int clientHeight = 445;                // H
  Page currentPage = Page::Setup;
  int arrangementFlag = 1;  // BtnWindow's tag: 1 grid beside the scope, 0 under the splitter
  int fontSize = 10;        // 10, 12 or 14
  int tabConHeight = kTabConHeight;
  // Panel3 sits right under TabCon, so splitterTop = tabConHeight + Panel3 height.
  int splitterTop = kTabConHeight + kPanel3MinHeight;
  int splitterHeight = kSplitterHeight;
  int selectedRow = 1;  // GridEx1's selected row
  int topRow = 1;       // GridEx1's top visible row
  // Widths the fonts need to show the grids' texts whole (0: the laid-out widths do). The
  // readings grid and GridEx1 widen to them as far as the window leaves room beside each
  // other, the readings first; the oscilloscope gives up what GridEx1 takes.
  int readingsGridNeed = 0;
  int parameterGridNeed = 0;
};

// Every pixel rule of the main window for one page and window size.
MainLayout ComputeMainLayout(const LayoutInput& in);

// (W - 624) / 6, truncated toward zero (also below the design width).
int ExtraWidthFor(int clientWidth);

// The top visible row of the parameter grid after a layout: the selected row when it lies
// above the top row or too far below it to be seen, else the top row unchanged.
int KeepSelectedRowVisible(int selectedRow, int topRow, int rowsVisible);
