#include "base/GridFitQt.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>
#include <algorithm>

#include "base/FixedHeadingRowQt.h"

namespace {

int WidestText(const QTableWidget* grid, int column) {
  int widest = 0;
  for (int row = 0; row < grid->rowCount(); ++row) {
    const QTableWidgetItem* item = grid->item(row, column);
    if (!item || grid->cellWidget(row, column) || item->data(kUncountedTextRole).toBool()) continue;
    QString text = item->text();
    while (text.endsWith(' ')) text.chop(1);
    const QVariant font = item->data(Qt::FontRole);
    const QFont shown = font.isValid() ? font.value<QFont>() : grid->font();
    widest = std::max(widest, QFontMetrics(shown).horizontalAdvance(text));
  }
  return widest == 0 ? 0 : widest + kCellTextPadding;
}

int VerticalScrollBarRoom(const QTableWidget* grid) {
  int rowsHeight = HeadingRowHeight(grid);
  for (int row = 0; row < grid->rowCount(); ++row)
    if (!grid->isRowHidden(row)) rowsHeight += grid->rowHeight(row);
  if (rowsHeight > grid->height() - 2 * grid->frameWidth())
    return grid->verticalScrollBar()->sizeHint().width();
  return 0;
}

}  // namespace

int TwoColumnsNeed(const QTableWidget* grid) {
  if (grid->columnCount() < 2) return 0;
  return WidestText(grid, 0) + WidestText(grid, 1) + 2 * grid->frameWidth() + VerticalScrollBarRoom(grid);
}

void BalanceTwoColumns(QTableWidget* grid) {
  if (grid->columnCount() < 2) return;
  const int first = grid->columnWidth(0);
  const int second = grid->columnWidth(1);
  // Two columns alone may also take what the view leaves beside them, less the vertical
  // scroll bar when the rows will need one.
  const int view = grid->width() - 2 * grid->frameWidth() - VerticalScrollBarRoom(grid);
  const int sum = grid->columnCount() == 2 ? std::max(first + second, view) : first + second;
  const int needFirst = WidestText(grid, 0);
  const int needSecond = WidestText(grid, 1);
  if (needFirst <= first && needSecond <= second) return;
  if (needFirst <= first && needSecond <= sum - first) {
    grid->setColumnWidth(1, needSecond);
    return;
  }
  int newFirst = first;
  if (needFirst + needSecond <= sum)
    newFirst = needFirst > first ? needFirst : sum - needSecond;
  else
    newFirst = sum * needFirst / (needFirst + needSecond);
  newFirst = std::clamp(newFirst, 0, sum);
  grid->setColumnWidth(0, newFirst);
  grid->setColumnWidth(1, sum - newFirst);
}

void WidenColumnsToTexts(QTableWidget* grid, const QString& sample) {
  const int sampleWidth = QFontMetrics(grid->font()).horizontalAdvance(sample) + kCellTextPadding;
  const QFontMetrics header(grid->horizontalHeader()->font());
  for (int column = 0; column < grid->columnCount(); ++column) {
    int need = std::max(WidestText(grid, column), sampleWidth);
    // The heading shows in the header's font.
    if (const QTableWidgetItem* heading = grid->horizontalHeaderItem(column);
        heading && !grid->horizontalHeader()->isHidden())
      need = std::max(need, header.horizontalAdvance(heading->text().trimmed()) + kCellTextPadding);
    if (need > grid->columnWidth(column)) grid->setColumnWidth(column, need);
  }
}
