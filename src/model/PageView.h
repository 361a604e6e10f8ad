#pragma once

#include "model/PageAndMode.h"

// A page of the main window. The window changes pages one at a time: the page in view
// leaves, the new page enters (it sets the link polling for it), the window is laid out, in
// which the page fills its part, and then the page is shown.
class PageView {
 public:
  virtual ~PageView() = default;
  virtual void Leave() {}
  // `page` is the page entered: the processor views are three pages of one view.
  virtual void Enter(Page /*page*/) {}
  // Fills the page's part of the window after every lay-out while the page is in view.
  virtual void Layout() {}
  // The page's first lay-out on entering is done.
  virtual void Shown() {}
};
