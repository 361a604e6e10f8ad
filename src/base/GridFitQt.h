#pragma once

#include <QString>
#include <Qt>

class QTableWidget;

// Column widths that let the texts of a grid show whole where the design's widths are too
// narrow for the fonts in use.

// A cell whose text the column widths need not hold (data true under this role): a button
// stands over its end at any width, and its hint shows it whole.
inline constexpr int kUncountedTextRole = Qt::UserRole + 7;

// The room a cell's text needs around it.
inline constexpr int kCellTextPadding = 8;

// Moves width between columns 0 and 1, keeping their sum (or, for a grid of these two
// columns only, taking the view's whole width), so that the widest text of each fits when
// the sum allows it; otherwise both lose in proportion to what they need.
// Texts under a cell widget do not count.
void BalanceTwoColumns(QTableWidget* grid);

// Widens every column to its widest text, and at least to `sample` (a widest value yet to
// arrive); never narrows one.
void WidenColumnsToTexts(QTableWidget* grid, const QString& sample);

// The width a grid of two columns needs to show every text whole: both columns' widest
// texts, the frame and, when the rows do not all fit, the vertical scroll bar.
int TwoColumnsNeed(const QTableWidget* grid);
