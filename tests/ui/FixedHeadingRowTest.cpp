// Row 0 of GridEx1 is a fixed heading on every page that shows the grid: it stands above the
// rows, and the keys that move up or to the top never select it. Column 0 is fixed likewise.

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QScrollBar>

#include "ui/InputEvents.h"
#include "ui/PageTour.h"

namespace {

TEST(FixedHeadingRow, upPageUpAndHomeStayOnTheFirstRowOfEveryPage) {
  TourRig rig;
  ASSERT_TRUE(rig.Start());
  TForm1& f = rig.Form();
  ASSERT_TRUE(PrepareTour(rig)) << "no controller";
  int pages = 0;
  TourEveryPage(rig, 3, [&](const TourPage& page) {
    QTableWidget* g = GridEx1(f);
    if (!g->isVisible()) return;
    ++pages;
    EXPECT_TRUE(g->isRowHidden(0)) << page.name;
    EXPECT_TRUE(g->horizontalHeader()->isVisible()) << page.name;
    for (int c = 0; c < g->columnCount(); ++c) {
      const QTableWidgetItem* cell = g->item(0, c);
      const QTableWidgetItem* heading = g->horizontalHeaderItem(c);
      ASSERT_NE(heading, nullptr) << page.name << " " << c;
      EXPECT_EQ(heading->text(), cell ? cell->text() : QString()) << page.name << " " << c;
    }
    // The replies of the map and memory pages move the selection: the keys come between them.
    const int column = std::max(0, g->currentColumn());
    struct Key {
      int key;
      Qt::KeyboardModifiers modifiers;
    } keys[] = {{Qt::Key_Up, Qt::NoModifier},
                {Qt::Key_PageUp, Qt::NoModifier},
                {Qt::Key_Home, Qt::NoModifier},
                {Qt::Key_Home, Qt::ControlModifier}};
    for (const Key& k : keys) {
      g->setCurrentCell(1, column);
      PressKey(g, k.key, k.modifiers);
      EXPECT_EQ(g->currentRow(), 1) << page.name << " key " << k.key;
    }
    // Column 0 is fixed but on the firmware page: no key makes its cells current, and with the
    // grid scrolled as far right as it goes they stand at the left edge, in the fixed colour
    // where the page gives one.
    const bool fixed = page.page != Page::Firmware;
    EXPECT_EQ(GridEx1(f)->FixedColumn(), fixed) << page.name;
    if (fixed) {
      for (const Key& k : {Key{Qt::Key_Left, Qt::NoModifier}, Key{Qt::Key_Home, Qt::NoModifier},
                           Key{Qt::Key_Home, Qt::ControlModifier}}) {
        g->setCurrentCell(1, 1);
        PressKey(g, k.key, k.modifiers);
        EXPECT_EQ(g->currentColumn(), 1) << page.name << " key " << k.key;
      }
      g->horizontalScrollBar()->setValue(g->horizontalScrollBar()->maximum());
      const QTableView* column0 = GridEx1(f)->FixedColumnView();
      EXPECT_TRUE(column0->isVisible()) << page.name;
      EXPECT_EQ(column0->x(), g->frameWidth()) << page.name;
      EXPECT_EQ(column0->width(), g->columnWidth(0)) << page.name;
      EXPECT_EQ(column0->horizontalScrollBar()->value(), 0) << page.name;
      EXPECT_EQ(column0->verticalScrollBar()->value(), g->verticalScrollBar()->value()) << page.name;
      const bool memory = page.page == Page::Map || page.page == Page::Sram || page.page == Page::Eeprom;
      EXPECT_EQ(GridEx1(f)->FixedColour(), memory ? QColor(0, 221, 221) : QColor()) << page.name;
    }
    if (g->rowCount() > 2) {
      g->setCurrentCell(1, column);
      PressKey(g, Qt::Key_Up);
      PressKey(g, Qt::Key_Down);
      EXPECT_EQ(g->currentRow(), 2) << page.name;
    }
  });
  EXPECT_EQ(pages, 8);  // GridEx1 is on every page
}

}  // namespace
