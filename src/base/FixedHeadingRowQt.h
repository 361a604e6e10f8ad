#pragma once

#include <QTableWidget>

// A grid whose row 0 is its fixed heading row. The pages go on writing their headings into
// row 0, but that row itself is hidden and the grid's horizontal header shows its texts and
// colours: the header stands above the rows, never scrolls and can be neither selected nor
// pressed. Up, Page Up and Home therefore never reach the heading, and every row under it can
// be scrolled into view.
class FixedHeadingGrid : public QTableWidget {
 public:
  FixedHeadingGrid(int rows, int columns, QWidget* parent = nullptr);
  ~FixedHeadingGrid() override;
};

// The heading's height: that of the rows under it.
void SetHeadingRowHeight(QTableWidget* grid, int height);

// The height the heading takes above the rows; 0 for a grid without one.
int HeadingRowHeight(const QTableWidget* grid);

// The top row: the first row under the heading wholly in view. Scrolled to its end, the grid
// may show a sliver of the row above the top row.
int TopRow(const QTableWidget* grid);
