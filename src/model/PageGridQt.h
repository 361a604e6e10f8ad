#pragma once

#include <QObject>
#include <functional>
#include <utility>

#include "base/FixedHeadingRowQt.h"
#include "model/PageAndMode.h"
#include "model/WindowLayout.h"

class PageView;
class QLabel;
class QWidget;

// The page grid GridEx1: one grid, lent to the page in view. Its place, columns and colours
// follow the window's layout for that page; the page writes its rows into it. One grid for
// all pages keeps the selected row, the top row and the keyboard where the fitter left them
// as the pages change, as the window has always done. The grid's hover hint PanelHint shows
// a cell's text whole where its column cuts it, on the pages that want it.
class PageGrid : public QObject {
 public:
  explicit PageGrid(QWidget* parent);

  // The hint label, over the grid's parent; from now on the pointer over the grid shows it.
  void SetHint(QLabel* hint);
  // A press in the label column selects the row; `pressed` runs after it, on every page.
  void OnLabelPressed(std::function<void()> pressed) { labelPressed_ = std::move(pressed); }

  // Grid events.
  void GridEx1MouseDown(int x, int y);
  void GridEx1MouseMove(int x, int y);
  void PanelHintClick();

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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  FixedHeadingGrid* grid_;
  PageView* holder_ = nullptr;
  QLabel* hint_ = nullptr;
  std::function<void()> labelPressed_;
  std::pair<int, int> hintCell_{-1, -1};       // the cell the hint covers
  std::pair<int, int> dismissedCell_{-1, -1};  // the cell whose hint was pressed away
};
