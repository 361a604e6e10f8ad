#pragma once

#include <array>
#include <functional>

#include "app/MainLayout.h"

class AutoConfigPageQt;
class LiveMonitor;
class PageButtons;
class PageGrid;
class PageTabs;
class PageView;
class ParametersPageQt;
class QMainWindow;
class SetupPageQt;
class WindowControls;
struct AppSettings;

// What the main window lays out, and what it asks of the window itself.
struct WindowLayOutParts {
  QMainWindow& window;
  WindowControls& controls;
  PageTabs& tabs;
  PageGrid& grid;
  PageButtons& buttons;
  SetupPageQt& setup;  // CBFont gives the font size
  ParametersPageQt& parameters;
  AutoConfigPageQt& wizard;
  LiveMonitor& live;
  const AppSettings& settings;          // Panel3's height (WSize)
  std::function<Page()> shownPage;      // the page in view
  std::function<PageView&(Page)> page;  // the page object of a page
};

// The main window's lay-out sequence: the rectangles of MainLayout for the client's size,
// the page in view and the arrangement, handed to the window's controls, the page buttons,
// the live views and the page in view, which then fills the page grid. The grids' texts are
// known only once they are filled: a layout whose grids need other widths runs once more.
class MainWindowLayOut {
 public:
  explicit MainWindowLayOut(WindowLayOutParts parts) : p_(parts) {}

  void LayOut();
  // The page in view fills the page grid again, fitted to its texts; the whole window is
  // laid out when the readings' rows changed.
  void Rebuild();
  const MainLayout& Last() const { return layout_; }

  // BtnWindow's tag: 1 the readings grid beside the oscilloscope, 0 under the splitter.
  int Arrangement() const { return arrangement_; }
  void SetArrangement(int flag) { arrangement_ = flag; }
  void ToggleArrangement() { arrangement_ = arrangement_ ? 0 : 1; }

  // CBFont's size, the first of the list when it shows none.
  int FontSize() const;
  // The window and its grids in CBFont's size.
  void ApplyFontSize();

 private:
  // The page grid's columns fitted to its texts; the page follows when widths changed.
  void FitPageGrid(bool widthsChanged);

  WindowLayOutParts p_;
  MainLayout layout_;
  std::array<int, 2> gridNeeds_{};  // what the readings grid and GridEx1 last needed
  bool relayingOut_ = false;
  int arrangement_ = 0;
};
