#include "base/FixedHeadingRowQt.h"

#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>

namespace {

void ShowHeadingTexts(QTableWidget* grid, int firstColumn, int lastColumn) {
  for (int column = firstColumn; column <= lastColumn && column < grid->columnCount(); ++column) {
    const QTableWidgetItem* cell = grid->rowCount() > 0 ? grid->item(0, column) : nullptr;
    QTableWidgetItem* heading = grid->horizontalHeaderItem(column);
    if (!heading) {
      heading = new QTableWidgetItem;
      heading->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      grid->setHorizontalHeaderItem(column, heading);
    }
    const QString text = cell ? cell->text() : QString();
    const QBrush background = cell ? cell->background() : QBrush();
    if (heading->text() != text) heading->setText(text);
    if (heading->background() != background) heading->setBackground(background);
  }
}

// A model reset (clearContents) forgets which rows were hidden.
void Refresh(QTableWidget* grid) {
  if (grid->rowCount() > 0 && !grid->isRowHidden(0)) grid->setRowHidden(0, true);
  ShowHeadingTexts(grid, 0, grid->columnCount() - 1);
}

}  // namespace

FixedHeadingGrid::FixedHeadingGrid(int rows, int columns, QWidget* parent)
    : QTableWidget(rows, columns, parent) {
  QHeaderView* header = horizontalHeader();
  header->setSectionsClickable(false);
  header->setHighlightSections(false);
  header->setSectionResizeMode(QHeaderView::Fixed);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->show();
  QAbstractItemModel* m = model();
  connect(m, &QAbstractItemModel::dataChanged, this,
          [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
            if (topLeft.row() <= 0 && bottomRight.row() >= 0)
              ShowHeadingTexts(this, topLeft.column(), bottomRight.column());
          });
  connect(m, &QAbstractItemModel::modelReset, this, [this] { Refresh(this); });
  connect(m, &QAbstractItemModel::rowsInserted, this, [this] { Refresh(this); });
  connect(m, &QAbstractItemModel::rowsRemoved, this, [this] { Refresh(this); });
  connect(m, &QAbstractItemModel::columnsInserted, this, [this] { Refresh(this); });
  Refresh(this);
}

// The grid's model is deleted among its children, after the grid itself is gone; its last
// reset must not reach it.
FixedHeadingGrid::~FixedHeadingGrid() { model()->disconnect(this); }

void SetHeadingRowHeight(QTableWidget* grid, int height) { grid->horizontalHeader()->setFixedHeight(height); }

int HeadingRowHeight(const QTableWidget* grid) {
  const QHeaderView* header = grid->horizontalHeader();
  return header->isHidden() ? 0 : header->minimumHeight();
}

int TopRow(const QTableWidget* grid) {
  int top = grid->rowAt(0);
  if (top < 0) return 1;
  if (grid->rowViewportPosition(top) < 0 && top + 1 < grid->rowCount()) ++top;
  return std::max(1, top);
}
