#pragma once

#include "base/FixedHeadingRowQt.h"
#include "model/PageAndMode.h"
#include "model/WindowLayout.h"

class PageView;
class QWidget;

// The page grid GridEx1: one grid, lent to the page in view. Its place, columns and colours
// follow the window's layout for that page; the page writes its rows into it. One grid for
// all pages keeps the selected row, the top row and the keyboard where the fitter left them
// as the pages change, as the window has always done.
class PageGrid {
 public:
  explicit PageGrid(QWidget* parent);

  FixedHeadingGrid* Widget() const { return grid_; }

  // The page entered holds the grid; the one that held it before is told it went.
  void LendTo(PageView& page);

  // Place, columns, row height and colours of the layout's page grid.
  void Place(const MainLayout& layout);
  // The design's column widths are too narrow for some texts in the fonts at hand: the two
  // columns of the parameter-like pages share their width by what they show, and the memory
  // pages' columns hold their headings and values whole. True when a width changed: the
  // page then fills the grid once more.
  bool FitColumns(Page page);
  // Shows the layout's top row at the top.
  void ScrollToTopRow(const MainLayout& layout);

 private:
  FixedHeadingGrid* grid_;
  PageView* holder_ = nullptr;
};
