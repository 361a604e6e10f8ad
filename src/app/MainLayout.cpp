#include "app/MainLayout.h"

#include <algorithm>

namespace {

constexpr int kBaseParameterGridWidth = 242;
constexpr int kBaseParameterColumnWidth = 110;
constexpr int kBaseReadingsGridWidth = 373;
constexpr int kBaseReadingColumnWidth = 87;
constexpr int kButtonRowHeight = 33;  // room of a button row above a grid
constexpr int kGridGap = 8;           // between the left-hand panels and the parameter grid
constexpr int kGridsGap = 3;          // the least between the readings grid and a widened GridEx1
constexpr int kWizardPanelGap = 100;
constexpr int kWizardButtonOffset = 90;
constexpr int kBtnLupScopeRowLeft = 228;
constexpr int kBtnLupMapOffset = 246;
constexpr int kMapControlsTop = 45;
constexpr int kLambdaPanelRightOffset = 104;
constexpr int kLambdaPanelWidth = 100;
constexpr int kFirmwareColumn1Slack = 22;
constexpr int kMemoryPageRows = 17;
constexpr std::array<int, 5> kParameterButtonOffsets{0, 24, 60, 84, 120};
constexpr std::array<int, 3> kPageButtonOffsets{0, 82, 164};           // from GridEx1's left
constexpr std::array<int, 3> kProcessorButtonFromRight{240, 158, 76};  // from W

bool ShowsReadings(Page page) {
  return page == Page::Parameters || page == Page::Configuration || page == Page::Port;
}

bool IsMemoryPage(Page page) { return page == Page::Map || page == Page::Sram || page == Page::Eeprom; }

Rect MakeRect(int left, int top, int width, int height) {
  return Rect{left, top, std::max(0, width), std::max(0, height)};
}

}  // namespace

int ExtraWidthFor(int clientWidth) {
  return (clientWidth - kDesignClientWidth) / 6;  // C++ division truncates toward zero
}

int KeepSelectedRowVisible(int selectedRow, int topRow, int rowsVisible) {
  if (selectedRow < topRow || topRow < selectedRow - rowsVisible + 2) return selectedRow;
  return topRow;
}

MainLayout ComputeMainLayout(const LayoutInput& in) {
  MainLayout out;
  const int w = in.clientWidth;
  const int h = in.clientHeight;
  const Page page = in.currentPage;
  const int e = ExtraWidthFor(w);
  const int designR = 2 * e + kBaseParameterGridWidth;
  int readingsWidth = std::max(4 * e + kBaseReadingsGridWidth, in.readingsGridNeed);
  int r = std::clamp(in.parameterGridNeed, designR, std::max(designR, w / 2));
  if (ShowsReadings(page)) {
    readingsWidth =
        std::min(readingsWidth, std::max(4 * e + kBaseReadingsGridWidth, w - designR - kGridsGap));
    r = std::max(designR, std::min(r, w - readingsWidth - kGridsGap));
  }
  const int rowHeight = 2 * in.fontSize;
  const int splitterBottom = in.splitterTop + in.splitterHeight;
  const int panel3Height = in.splitterTop - in.tabConHeight;
  const bool gridUnderSplitter = page == Page::Setup || page == Page::Configuration ||
                                 (page == Page::Parameters && in.arrangementFlag == 0);
  out.extraWidth = e;
  out.parameterGridWidth = r;

  // Oscilloscope panel.
  if (page == Page::Parameters || page == Page::Configuration || page == Page::Port) {
    int width = w - r - kGridGap;
    if (page == Page::Configuration) width = w - r - kWizardPanelGap;
    if (page == Page::Parameters && in.arrangementFlag == 0) width = w;
    out.panelSco = {true, MakeRect(0, in.tabConHeight, width, panel3Height)};
  }
  out.wizardButtonsVisible = page == Page::Configuration;
  out.wizardButtonsLeft = w - r - kWizardButtonOffset;

  // Readings grid and the oscilloscope row.
  out.gridColumnWidth = e + kBaseReadingColumnWidth;
  out.gridRowHeight = rowHeight;
  if (ShowsReadings(page)) {
    const int a = page == Page::Parameters ? kButtonRowHeight : 0;
    const int t = splitterBottom + a;
    const int free = std::max(0, h - (splitterBottom + a + 4));
    const int row = rowHeight + 1;
    out.readingRowsVisible = free / row;
    out.grid = {true, MakeRect(0, free % row + t, readingsWidth, row * out.readingRowsVisible + 4)};
    out.clearGridReadingColumns = true;
  }
  if (page == Page::Parameters) {
    out.scopeRowVisible = true;
    out.scopeRowTop = splitterBottom + 4;
    out.btnLupVisible = true;
    out.btnLupLeft = kBtnLupScopeRowLeft;
    out.btnLupTop = out.scopeRowTop;
  }

  // GridEx1: columns, colours and width.
  int gridWidth = r;
  out.gridEx1ColumnWidth = e + kBaseParameterColumnWidth;
  out.gridEx1RowHeight = rowHeight;
  if (IsMemoryPage(page)) {
    gridWidth = w;
    out.gridEx1Colour = kWhite;
    out.gridEx1FixedColour = kMemoryFixedColour;
    out.gridEx1RowCount = kMemoryPageRows;
    if (page == Page::Map) {
      out.gridEx1ColumnCount = 23;
      out.gridEx1ColumnWidth = in.fontSize * 32 / 10;  // font size x 3.2, truncated
    } else {
      out.gridEx1ColumnCount = page == Page::Sram ? 39 : 33;
      out.gridEx1ColumnWidth = in.fontSize * 25 / 10;  // font size x 2.5, truncated
    }
  } else if (page == Page::Firmware) {
    gridWidth = w;
    out.gridEx1FixedColumnCount = 0;
    out.gridEx1RowSelect = true;
    out.gridEx1Colour = kWhite;
    out.gridEx1FixedColour = kFirmwareFixedColour;
    out.gridEx1Column1Width = gridWidth - out.gridEx1ColumnWidth - kFirmwareColumn1Slack;
    out.clearGridEx1Cells = true;
  }
  const int gridLeft = w - gridWidth;  // the grid stands against the right edge

  // GridEx1: vertical place and the rows that fit.
  const int d = (page == Page::Setup || page == Page::Configuration) ? 0 : kButtonRowHeight;
  int base = 0;
  int free = 0;
  if (gridUnderSplitter) {
    out.parameterButtonsTop = splitterBottom + 4;
    base = d + splitterBottom;
    free = h - splitterBottom - d;
  } else {
    out.parameterButtonsTop = in.tabConHeight + 4;
    base = d + in.tabConHeight;
    free = h - in.tabConHeight - d;
  }
  free = std::max(0, free);
  out.parameterRowsVisible = std::max(0, (free - 4) / (rowHeight + 1));
  out.gridEx1TopRow = KeepSelectedRowVisible(in.selectedRow, in.topRow, out.parameterRowsVisible);
  const int gridHeight = (rowHeight + 1) * out.parameterRowsVisible + 4;
  out.gridEx1 = MakeRect(gridLeft, free + base - gridHeight, gridWidth, gridHeight);

  // Parameter buttons.
  out.parameterButtonsVisible = page == Page::Parameters;
  for (std::size_t i = 0; i < kParameterButtonOffsets.size(); ++i)
    out.parameterButtonLefts[i] = gridLeft + kParameterButtonOffsets[i];

  // Btn1..Btn3: they share the top of the button row above the grid.
  const int pageButtonTop = out.parameterButtonsTop;
  auto placeButton = [&](std::size_t i, int left, int captionId, const char* caption) {
    out.pageButtons[i] = {true, Rect{left, pageButtonTop, kPageButtonWidth, kPageButtonHeight}, captionId,
                          caption};
  };
  if (page == Page::Firmware) {
    placeButton(0, gridLeft + kPageButtonOffsets[0], 138, "");
  } else if (page == Page::Map) {
    for (std::size_t i = 0; i < 3; ++i)
      placeButton(i, gridLeft + kPageButtonOffsets[i], 135 + static_cast<int>(i), "");
    out.btnLupVisible = true;
    out.btnLupLeft = gridLeft + kBtnLupMapOffset;
    out.btnLupTop = kMapControlsTop;
    out.panelLam = {
        true, Rect{w - kLambdaPanelRightOffset, kMapControlsTop, kLambdaPanelWidth, kLambdaPanelHeight}};
  } else if (page == Page::Port || page == Page::Sram || page == Page::Eeprom) {
    static constexpr const char* kProcessorCaptions[3] = {"PORT", "SRAM", "EEPROM"};
    for (std::size_t i = 0; i < 3; ++i)
      placeButton(i, w - kProcessorButtonFromRight[i], 0, kProcessorCaptions[i]);
  }

  // Message log and start page.
  if (page == Page::Setup || page == Page::Configuration)
    out.memo1 = {true, MakeRect(w - gridWidth, in.tabConHeight, gridWidth, panel3Height)};
  if (page == Page::Setup)
    out.panelLog = {true, MakeRect(0, in.tabConHeight, w - r - kGridGap, h - in.tabConHeight)};
  return out;
}
