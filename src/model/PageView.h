#pragma once

#include "model/PageAndMode.h"
#include "model/WindowLayout.h"

// A page of the main window. The window changes pages one at a time: the page in view
// leaves, the new page enters (it sets the link polling for it), the window is laid out, in
// which the page places and fills its part, and then the page is shown.
class PageView {
 public:
  virtual ~PageView() = default;
  // Leaving takes the page's own widgets away: the next page finds the window clean.
  virtual void Leave() {}
  // `page` is the page entered: the processor views are three pages of one view.
  virtual void Enter(Page /*page*/) {}
  // Places the page's widgets from the window's rectangles and fills its part of the window,
  // after every lay-out while the page is in view and whenever its content changed.
  virtual void Layout(const MainLayout& /*layout*/) {}
  // A cell of the page grid became the current one (row 0 is the heading).
  virtual void CellSelected(int /*row*/) {}
  // The page grid's columns changed width to show the texts the page wrote: what the page
  // placed over the cells follows them. The page fills the grid again unless it knows better.
  virtual void ColumnsChanged(const MainLayout& layout) { Layout(layout); }
  // The page grid went to another page: what this page laid over it or kept in it of its
  // own goes with it.
  virtual void GridReturned() {}
  // The page's first lay-out on entering is done.
  virtual void Shown() {}
  // Sets the texts of the page's own widgets in the language in use; what the page writes
  // into the page grid follows at its next lay-out.
  virtual void ApplyTexts() {}
};
