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

void MakeHeadingRowFixed(QTableWidget* grid) {
  QHeaderView* header = grid->horizontalHeader();
  header->setSectionsClickable(false);
  header->setHighlightSections(false);
  header->setSectionResizeMode(QHeaderView::Fixed);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->show();
  QAbstractItemModel* model = grid->model();
  // The grid deletes its model among its children after its headers: with a header as the
  // connections' context, the model's last reset never reaches a grid half torn down.
  QObject* context = grid->verticalHeader();
  QObject::connect(model, &QAbstractItemModel::dataChanged, context,
                   [grid](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                     if (topLeft.row() <= 0 && bottomRight.row() >= 0)
                       ShowHeadingTexts(grid, topLeft.column(), bottomRight.column());
                   });
  QObject::connect(model, &QAbstractItemModel::modelReset, context, [grid] { Refresh(grid); });
  QObject::connect(model, &QAbstractItemModel::rowsInserted, context, [grid] { Refresh(grid); });
  QObject::connect(model, &QAbstractItemModel::rowsRemoved, context, [grid] { Refresh(grid); });
  QObject::connect(model, &QAbstractItemModel::columnsInserted, context, [grid] { Refresh(grid); });
  Refresh(grid);
}

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
