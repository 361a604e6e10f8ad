#pragma once

#include <QString>

class QTableWidget;

// Column widths that let the texts of a grid show whole where the design's widths are too
// narrow for the fonts in use.

// The room a cell's text needs around it.
inline constexpr int kCellTextPadding = 10;

// Moves width between columns 0 and 1, keeping their sum (or, for a grid of these two
// columns only, taking the view's whole width), so that the widest text of each fits when
// the sum allows it; otherwise both lose in proportion to what they need.
// Texts under a cell widget do not count.
void BalanceTwoColumns(QTableWidget* grid);

// Widens every column to its widest text, and at least to `sample` (a widest value yet to
// arrive); never narrows one.
void WidenColumnsToTexts(QTableWidget* grid, const QString& sample);
