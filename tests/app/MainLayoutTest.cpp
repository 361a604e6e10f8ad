#include <gtest/gtest.h>

#include "app/MainLayout.h"

namespace {

// Design client area 624 x 445, font 10, Panel3 160 high: the splitter spans 200..208.
LayoutInput Input(int page, int width = 624, int flag = 1) {
  LayoutInput in;
  in.clientWidth = width;
  in.clientHeight = 445;
  in.currentPage = static_cast<Page>(page);
  in.arrangementFlag = flag;
  in.fontSize = 10;
  in.tabConHeight = 40;
  in.splitterTop = 200;
  in.splitterHeight = 8;
  return in;
}

TEST(MainLayout, WidthsGrowWithEverySixPixelsAndTruncateTowardZero) {
  struct Case {
    int width, extra, gridEx1Width, gridEx1Column, readingsWidth, readingsColumn;
  } cases[] = {
      {624, 0, 242, 110, 373, 87},  {629, 0, 242, 110, 373, 87},    {630, 1, 244, 111, 377, 88},
      {636, 2, 246, 112, 381, 89},  {619, 0, 242, 110, 373, 87},    {618, -1, 240, 109, 369, 86},
      {600, -4, 234, 106, 357, 83}, {1024, 66, 374, 176, 637, 153},
  };
  for (const auto& c : cases) {
    const MainLayout l = ComputeMainLayout(Input(1, c.width));
    EXPECT_EQ(l.extraWidth, c.extra) << c.width;
    EXPECT_EQ(l.parameterGridWidth, c.gridEx1Width) << c.width;
    EXPECT_EQ(l.gridEx1.width, c.gridEx1Width) << c.width;
    EXPECT_EQ(l.gridEx1.left, c.width - c.gridEx1Width) << c.width;
    EXPECT_EQ(l.gridEx1ColumnWidth, c.gridEx1Column) << c.width;
    EXPECT_EQ(l.grid.rect.width, c.readingsWidth) << c.width;
    EXPECT_EQ(l.grid.rect.left, 0) << c.width;
    EXPECT_EQ(l.gridColumnWidth, c.readingsColumn) << c.width;
  }
}

// Grids whose texts need more than their widths widen beside each other: the readings grid
// first, GridEx1 into what is left (never under its own width, never over half the window),
// and the oscilloscope and the controls that follow GridEx1's left edge move with it.
TEST(MainLayout, GridsWidenToTheirTextsAsFarAsTheWindowAllows) {
  struct Case {
    int page, width, readingsNeed, parameterNeed;
    int readingsWidth, gridEx1Width;
  } cases[] = {
      {1, 624, 0, 0, 373, 242},       // the design's widths
      {1, 624, 376, 304, 376, 245},   // readings first, GridEx1 takes the rest
      {1, 624, 500, 0, 379, 242},     // the readings cannot push GridEx1 under its width
      {1, 1024, 400, 300, 637, 374},  // wide enough for both
      {4, 640, 362, 0, 381, 246},     // needs below the widths change nothing
      {0, 624, 0, 255, 0, 255},       // no readings: GridEx1 alone
      {0, 624, 0, 900, 0, 312},       // at most half the window
  };
  for (const auto& c : cases) {
    LayoutInput in = Input(c.page, c.width);
    in.readingsGridNeed = c.readingsNeed;
    in.parameterGridNeed = c.parameterNeed;
    const MainLayout l = ComputeMainLayout(in);
    const std::string where = std::to_string(c.page) + "/" + std::to_string(c.width) + "/" +
                              std::to_string(c.readingsNeed) + "/" + std::to_string(c.parameterNeed);
    EXPECT_EQ(l.grid.rect.width, c.readingsWidth) << where;
    EXPECT_EQ(l.gridEx1.width, c.gridEx1Width) << where;
    EXPECT_EQ(l.gridEx1.left, c.width - c.gridEx1Width) << where;
    if (l.grid.visible) {
      EXPECT_LE(l.grid.rect.right(), l.gridEx1.left) << where;
    }
    if (l.panelSco.visible) {
      EXPECT_EQ(l.panelSco.rect.width, c.width - c.gridEx1Width - 8) << where;
    }
    if (l.parameterButtonsVisible) {
      EXPECT_EQ(l.parameterButtonLefts[0], l.gridEx1.left) << where;
    }
  }
}

TEST(MainLayout, ShowsEachPagesControlsOnly) {
  struct Case {
    int page;
    bool sco, wizard, readings, scopeRow, lup, parButtons, lam, memo, log;
  } cases[] = {
      {0, false, false, false, false, false, false, false, true, true},
      {1, true, false, true, true, true, true, false, false, false},
      {2, true, true, true, false, false, false, false, true, false},
      {3, false, false, false, false, true, false, true, false, false},
      {4, true, false, true, false, false, false, false, false, false},
      {5, false, false, false, false, false, false, false, false, false},
      {6, false, false, false, false, false, false, false, false, false},
      {7, false, false, false, false, false, false, false, false, false},
  };
  for (const auto& c : cases) {
    const MainLayout l = ComputeMainLayout(Input(c.page));
    EXPECT_EQ(l.panelSco.visible, c.sco) << c.page;
    EXPECT_EQ(l.wizardButtonsVisible, c.wizard) << c.page;
    EXPECT_EQ(l.grid.visible, c.readings) << c.page;
    EXPECT_EQ(l.clearGridReadingColumns, c.readings) << c.page;
    EXPECT_EQ(l.scopeRowVisible, c.scopeRow) << c.page;
    EXPECT_EQ(l.btnLupVisible, c.lup) << c.page;
    EXPECT_EQ(l.parameterButtonsVisible, c.parButtons) << c.page;
    EXPECT_EQ(l.panelLam.visible, c.lam) << c.page;
    EXPECT_EQ(l.memo1.visible, c.memo) << c.page;
    EXPECT_EQ(l.panelLog.visible, c.log) << c.page;
  }
}

TEST(MainLayout, ScopePanelWidthFollowsPageAndArrangement) {
  struct Case {
    int page, flag, width;
  } cases[] = {
      {1, 0, 700},           {1, 1, 700 - 266 - 8},   {4, 0, 700 - 266 - 8},
      {4, 1, 700 - 266 - 8}, {2, 1, 700 - 266 - 100}, {2, 0, 700 - 266 - 100},
  };
  for (const auto& c : cases) {
    const MainLayout l = ComputeMainLayout(Input(c.page, 700, c.flag));
    EXPECT_EQ(l.panelSco.rect, (Rect{0, 40, c.width, 160})) << c.page << "/" << c.flag;
  }
  EXPECT_EQ(ComputeMainLayout(Input(2, 700)).wizardButtonsLeft, 700 - 266 - 90);
  EXPECT_EQ(ComputeMainLayout(Input(2, 624)).wizardButtonsLeft, 292);
}

TEST(MainLayout, ReadingsGridFillsWholeRowsDownToTheBottom) {
  struct Case {
    int page, font, splitterTop, height;
    int rows, top, gridHeight;
  } cases[] = {
      // page 1 leaves 33 px for the scope row: free = 445 - (208 + 33 + 4) = 200.
      {1, 10, 200, 445, 9, 252, 193},
      {1, 14, 200, 445, 6, 267, 178},
      // page 2 has no row: free = 445 - 212 = 233.
      {2, 10, 200, 445, 11, 210, 235},
      {4, 12, 300, 600, 11, 321, 279},
      // too little room: no rows, the grid keeps only its frame.
      {1, 10, 200, 230, 0, 241, 4},
  };
  for (const auto& c : cases) {
    LayoutInput in = Input(c.page);
    in.fontSize = c.font;
    in.splitterTop = c.splitterTop;
    in.clientHeight = c.height;
    const MainLayout l = ComputeMainLayout(in);
    EXPECT_EQ(l.gridRowHeight, 2 * c.font);
    EXPECT_EQ(l.readingRowsVisible, c.rows) << c.page << "/" << c.font;
    EXPECT_EQ(l.grid.rect.top, c.top) << c.page << "/" << c.font;
    EXPECT_EQ(l.grid.rect.height, c.gridHeight) << c.page << "/" << c.font;
  }
  const MainLayout scope = ComputeMainLayout(Input(1));
  EXPECT_EQ(scope.scopeRowTop, 212);
  EXPECT_EQ(scope.btnLupTop, 212);
  EXPECT_EQ(scope.btnLupLeft, 228);
}

TEST(MainLayout, ParameterGridStandsUnderSplitterOrAtTopAndEndsAtTheBottom) {
  struct Case {
    int page, flag, buttonsTop, rows, top;
  } cases[] = {
      {0, 1, 212, 11, 210},                       // no button row: free = 445 - 208
      {2, 0, 212, 11, 210}, {1, 0, 212, 9, 252},  // under the splitter, below the button row
      {1, 1, 44, 17, 84},                         // beside the scope, below TabCon and the button row
      {3, 1, 44, 17, 84},   {4, 0, 44, 17, 84},  {7, 0, 44, 17, 84},
  };
  for (const auto& c : cases) {
    const MainLayout l = ComputeMainLayout(Input(c.page, 624, c.flag));
    EXPECT_EQ(l.parameterButtonsTop, c.buttonsTop) << c.page << "/" << c.flag;
    EXPECT_EQ(l.parameterRowsVisible, c.rows) << c.page << "/" << c.flag;
    EXPECT_EQ(l.gridEx1.top, c.top) << c.page << "/" << c.flag;
    EXPECT_EQ(l.gridEx1.height, 21 * c.rows + 4) << c.page << "/" << c.flag;
    EXPECT_EQ(l.gridEx1.bottom(), 445) << c.page << "/" << c.flag;
  }
}

TEST(MainLayout, TopRowJumpsToSelectedRowOnlyWhenItIsOutOfSight) {
  struct Case {
    int selected, top, rowsVisible, newTop;
  } cases[] = {
      {5, 6, 10, 5},                    // above the top row
      {5, 5, 10, 5},   {13, 5, 10, 5},  // lowest row still in sight: 13 - 10 + 2 = 5
      {14, 5, 10, 14},                  // one further down
      {1, 1, 0, 1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(KeepSelectedRowVisible(c.selected, c.top, c.rowsVisible), c.newTop)
        << c.selected << "/" << c.top;

  LayoutInput in = Input(1);  // 17 rows fit: row 30 is in sight from top row 15 on
  in.selectedRow = 30;
  in.topRow = 15;
  EXPECT_EQ(ComputeMainLayout(in).gridEx1TopRow, 15);
  in.topRow = 14;
  EXPECT_EQ(ComputeMainLayout(in).gridEx1TopRow, 30);
}

TEST(MainLayout, MemoryPagesUseFullWidthAndFontScaledColumns) {
  struct Case {
    int page, font, columns, columnWidth;
  } cases[] = {
      {3, 10, 23, 32}, {3, 12, 23, 38}, {3, 14, 23, 44}, {5, 10, 39, 25},
      {5, 12, 39, 30}, {5, 14, 39, 35}, {6, 10, 33, 25}, {6, 14, 33, 35},
  };
  for (const auto& c : cases) {
    LayoutInput in = Input(c.page, 800);
    in.fontSize = c.font;
    const MainLayout l = ComputeMainLayout(in);
    EXPECT_EQ(l.gridEx1.left, 0) << c.page;
    EXPECT_EQ(l.gridEx1.width, 800) << c.page;
    EXPECT_EQ(l.gridEx1ColumnCount, c.columns) << c.page;
    EXPECT_EQ(l.gridEx1FixedColumnCount, 1) << c.page;
    EXPECT_EQ(l.gridEx1ColumnWidth, c.columnWidth) << c.page << "/" << c.font;
    EXPECT_EQ(l.gridEx1RowCount, 17) << c.page;
    EXPECT_EQ(l.gridEx1Colour, kWhite) << c.page;
    EXPECT_EQ(l.gridEx1FixedColour, (Rgb{0, 221, 221})) << c.page;
    EXPECT_FALSE(l.gridEx1RowSelect);
  }
}

TEST(MainLayout, EditorPagesUseTwoColumnsInReadingsGridColours) {
  for (int page : {0, 1, 2, 4}) {
    const MainLayout l = ComputeMainLayout(Input(page));
    EXPECT_EQ(l.gridEx1ColumnCount, 2) << page;
    EXPECT_EQ(l.gridEx1FixedColumnCount, 1) << page;
    EXPECT_EQ(l.gridEx1Colour, (Rgb{207, 207, 207})) << page;
    EXPECT_EQ(l.gridEx1FixedColour, (Rgb{207, 207, 207})) << page;
    EXPECT_FALSE(l.gridEx1RowCount.has_value()) << page;
    EXPECT_FALSE(l.gridEx1Column1Width.has_value()) << page;
    EXPECT_FALSE(l.clearGridEx1Cells) << page;
  }
}

TEST(MainLayout, FirmwarePageSelectsWholeRowsAndGivesColumnOneTheRest) {
  const MainLayout l = ComputeMainLayout(Input(7, 700));
  EXPECT_EQ(l.gridEx1.left, 0);
  EXPECT_EQ(l.gridEx1.width, 700);
  EXPECT_EQ(l.gridEx1ColumnWidth, 122);
  EXPECT_EQ(l.gridEx1Column1Width, 700 - 122 - 22);
  EXPECT_EQ(l.gridEx1FixedColumnCount, 0);
  EXPECT_TRUE(l.gridEx1RowSelect);
  EXPECT_TRUE(l.clearGridEx1Cells);
  EXPECT_EQ(l.gridEx1Colour, kWhite);
  EXPECT_EQ(l.gridEx1FixedColour, (Rgb{0, 174, 174}));
  EXPECT_TRUE(l.pageButtons[0].visible);
  EXPECT_EQ(l.pageButtons[0].captionId, 138);
  EXPECT_EQ(l.pageButtons[0].rect, (Rect{0, 44, 75, 24}));
  EXPECT_FALSE(l.pageButtons[1].visible);
  EXPECT_FALSE(l.pageButtons[2].visible);
}

TEST(MainLayout, PageButtonsFollowTheGridOnTheMapAndTheRightEdgeOnProcessorPages) {
  const MainLayout map = ComputeMainLayout(Input(3, 700));
  const int mapLefts[] = {0, 82, 164};
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(map.pageButtons[i].visible);
    EXPECT_EQ(map.pageButtons[i].captionId, 135 + i);
    EXPECT_EQ(map.pageButtons[i].rect, (Rect{mapLefts[i], 44, 75, 24}));
  }
  EXPECT_EQ(map.btnLupLeft, 246);
  EXPECT_EQ(map.btnLupTop, 45);
  EXPECT_EQ(map.panelLam.rect.left, 700 - 104);
  EXPECT_EQ(map.panelLam.rect.top, 45);
  EXPECT_EQ(map.panelLam.rect.width, 100);

  const char* captions[] = {"PORT", "SRAM", "EEPROM"};
  const int fromRight[] = {240, 158, 76};
  for (int page : {4, 5, 6}) {
    const MainLayout l = ComputeMainLayout(Input(page, 700));
    for (int i = 0; i < 3; ++i) {
      EXPECT_TRUE(l.pageButtons[i].visible) << page;
      EXPECT_EQ(l.pageButtons[i].captionId, 0) << page;
      EXPECT_EQ(l.pageButtons[i].caption, captions[i]) << page;
      EXPECT_EQ(l.pageButtons[i].rect.left, 700 - fromRight[i]) << page;
    }
  }
  for (int page : {0, 1, 2})
    for (const auto& b : ComputeMainLayout(Input(page)).pageButtons) EXPECT_FALSE(b.visible) << page;
}

TEST(MainLayout, ParameterButtonsLineUpOnTheGridsLeftEdge) {
  const MainLayout l = ComputeMainLayout(Input(1, 700));
  const int left = 700 - 266;
  const std::array<int, 5> expected{left, left + 24, left + 60, left + 84, left + 120};
  EXPECT_EQ(l.parameterButtonLefts, expected);
}

TEST(MainLayout, StartPageShowsLogoPanelAndLogBesideTheGrid) {
  const MainLayout setup = ComputeMainLayout(Input(0, 700));
  EXPECT_EQ(setup.panelLog.rect, (Rect{0, 40, 700 - 266 - 8, 445 - 40}));
  EXPECT_EQ(setup.memo1.rect, (Rect{700 - 266, 40, 266, 160}));
  const MainLayout wizard = ComputeMainLayout(Input(2, 700));
  EXPECT_EQ(wizard.memo1.rect.width, 266);
  EXPECT_EQ(wizard.memo1.rect.left, wizard.gridEx1.left);
}

}  // namespace
