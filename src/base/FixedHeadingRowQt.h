#pragma once

#include <QTableWidget>

// A grid whose row 0 is its fixed heading row. The pages go on writing their headings into
// row 0, but that row itself is hidden and the grid's horizontal header shows its texts and
// colours: the header stands above the rows, never scrolls and can be neither selected nor
// pressed. Up, Page Up and Home therefore never reach the heading, and every row under it can
// be scrolled into view.
//
// Column 0 may be a fixed column as well: a view of that column alone stands over the grid's
// left edge and keeps it in view however far the grid scrolls sideways; no key makes one of
// its cells current, and a press on it counts as one on the row's first value cell.
class FixedHeadingGrid : public QTableWidget {
 public:
  FixedHeadingGrid(int rows, int columns, QWidget* parent = nullptr);
  ~FixedHeadingGrid() override;

  void SetFixedColumn(bool fixed);
  bool FixedColumn() const { return fixedColumn_; }
  // The background of the fixed row and column; an invalid colour leaves the grid's own.
  void SetFixedColour(const QColor& colour);
  QColor FixedColour() const { return fixedColour_; }
  QTableView* FixedColumnView() const { return frozen_; }

  QModelIndex indexAt(const QPoint& point) const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void updateGeometries() override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void FollowGrid();

  QTableView* frozen_ = nullptr;
  bool fixedColumn_ = false;
  QColor fixedColour_;
};

// The heading's height: that of the rows under it.
void SetHeadingRowHeight(QTableWidget* grid, int height);

// The height the heading takes above the rows; 0 for a grid without one.
int HeadingRowHeight(const QTableWidget* grid);

// The top row: the first row under the heading wholly in view. Scrolled to its end, the grid
// may show a sliver of the row above the top row.
int TopRow(const QTableWidget* grid);
