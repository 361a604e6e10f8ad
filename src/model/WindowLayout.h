#pragma once

#include <array>
#include <optional>
#include <string>

// Where the main window's controls go for one page and window size: plain rectangles the
// window's layout computes (app/MainLayout) and each page reads to place its own widgets.
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
