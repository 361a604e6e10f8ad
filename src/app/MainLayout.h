#pragma once

#include <array>
#include <optional>
#include <string>

#include "model/PageAndMode.h"

// Pixel rules of the main window, computed from sizes alone so that they can be checked
// without painting. The main window reads the result and moves its widgets; nothing here
// touches a widget.
//
// Every rectangle is in the main window's client coordinates (0, 0 is the top left corner
// of the client area). Where the window's rules fix only a width, the control stands at the
// left edge under TabCon (PanelSco, PanelLog) or against the right edge (GridEx1, Memo1).

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const Rect&) const = default;
};

// A colour as its three components (the platform value is red in the low byte).
struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;

  bool operator==(const Rgb&) const = default;
};

inline constexpr int kDesignClientWidth = 624;
inline constexpr int kTabConHeight = 40;
inline constexpr int kSplitterHeight = 8;
inline constexpr int kPanel3MinHeight = 160;
inline constexpr int kPageButtonWidth = 75;  // Btn1, Btn2, Btn3
inline constexpr int kPageButtonHeight = 24;
inline constexpr int kLambdaPanelHeight = 24;  // PanelLam on the map page, as tall as the buttons beside it

inline constexpr Rgb kReadingsGridColour{207, 207, 207};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kMemoryFixedColour{0, 221, 221};    // map, SRAM and EEPROM pages
inline constexpr Rgb kFirmwareFixedColour{0, 174, 174};  // firmware page

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

struct PlacedControl {
  bool visible = false;
  Rect rect;  // meaningful only when visible

  bool operator==(const PlacedControl&) const = default;
};

// Btn1, Btn2 or Btn3. captionId is the UiText id of the caption, or 0 when the caption is the
// fixed text in caption ("PORT", "SRAM", "EEPROM").
struct PageButtonPlace {
  bool visible = false;
  Rect rect;
  int captionId = 0;
  std::string caption;
};

struct MainLayout {
  int extraWidth = 0;          // E = (W - 624) / 6, truncated toward zero
  int parameterGridWidth = 0;  // R = 2E + 242, or wider for its texts

  // Oscilloscope panel, on the left of Panel3 (left 0, top = TabCon height, Panel3's height).
  PlacedControl panelSco;

  // Wizard buttons BitBtnConBen .. BitBtnCancel: shown on page 2 only, all at one left edge.
  bool wizardButtonsVisible = false;
  int wizardButtonsLeft = 0;

  // Readings grid Grid (left edge of the client area).
  PlacedControl grid;
  int gridColumnWidth = 0;
  int gridRowHeight = 0;
  int readingRowsVisible = 0;
  bool clearGridReadingColumns = false;  // clear the cells of columns 0 and 1

  // Oscilloscope row BtnOpenVis .. BtnWindow (page 1 only).
  bool scopeRowVisible = false;
  int scopeRowTop = 0;

  // Magnifier button: in the scope row on page 1, beside the map buttons on page 3.
  bool btnLupVisible = false;
  int btnLupLeft = 0;
  int btnLupTop = 0;

  // Parameter editor / page grid GridEx1.
  Rect gridEx1;
  int gridEx1ColumnCount = 2;
  int gridEx1FixedColumnCount = 1;
  Rgb gridEx1Colour = kReadingsGridColour;
  Rgb gridEx1FixedColour = kReadingsGridColour;
  int gridEx1ColumnWidth = 0;  // default width of every column
  int gridEx1RowHeight = 0;
  std::optional<int> gridEx1RowCount;      // set on pages 3, 5, 6; else the page's filler decides
  bool gridEx1RowSelect = false;           // whole-row selection (page 7)
  std::optional<int> gridEx1Column1Width;  // page 7: the rest of the width
  bool clearGridEx1Cells = false;          // page 7 clears every cell before it is filled
  int parameterRowsVisible = 0;
  int gridEx1TopRow = 0;  // the top visible row after the layout

  // BtnOpenPar, BtnSavePar, BtnReadPar, BtnWritePar, BtnHelp (page 1 only).
  bool parameterButtonsVisible = false;
  int parameterButtonsTop = 0;
  std::array<int, 5> parameterButtonLefts{};

  // Btn1, Btn2, Btn3.
  std::array<PageButtonPlace, 3> pageButtons;

  // Lambda bar beside the map (page 3 only).
  PlacedControl panelLam;

  // Message log on the right of Panel3 (pages 0 and 2).
  PlacedControl memo1;

  // Start page picture and help text (page 0 only).
  PlacedControl panelLog;
};

// Every pixel rule of the main window for one page and window size.
MainLayout ComputeMainLayout(const LayoutInput& in);

// (W - 624) / 6, truncated toward zero (also below the design width).
int ExtraWidthFor(int clientWidth);

// The top visible row of the parameter grid after a layout: the selected row when it lies
// above the top row or too far below it to be seen, else the top row unchanged.
int KeepSelectedRowVisible(int selectedRow, int topRow, int rowsVisible);
