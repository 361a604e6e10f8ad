#pragma once

#include <optional>
#include <string>

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
  // Whether the pointer over a cell whose text the column cuts shows the text whole.
  virtual bool ShowsHints() const { return true; }
  // A text of the page's own for the hint over a cell, shown whatever its width.
  virtual std::optional<std::string> HintText(int /*row*/, int /*column*/) const { return std::nullopt; }
  // The page grid went to another page: what this page laid over it or kept in it of its
  // own goes with it.
  virtual void GridReturned() {}
  // The page's first lay-out on entering is done.
  virtual void Shown() {}
  // Sets the texts of the page's own widgets in the language in use; what the page writes
  // into the page grid follows at its next lay-out.
  virtual void ApplyTexts() {}
};
