#include "inspector/InspectorPageQt.h"

#include <QComboBox>
#include <QTableWidget>
#include <algorithm>

namespace {

QTableWidgetItem* CellItem(QTableWidget* grid, int column, int row) {
  QTableWidgetItem* item = grid->item(row, column);
  if (!item) {
    item = new QTableWidgetItem;
    grid->setItem(row, column, item);
  }
  return item;
}

}  // namespace

void FillRegisterList(QComboBox* list) {
  list->clear();
  for (int address = 0; address < kRegisterCount; ++address)
    list->addItem(QString::fromStdString(RegisterName(address)));
  // Filling a list selects its first entry by itself; "no register" is a choice of its own.
  list->setCurrentIndex(-1);
}

void InspectorPageView::Build(QTableWidget* grid, int page, std::uint8_t typeByte, int minimumRows,
                              const QColor& fixedColour) {
  const InspectorGrid view = BuildInspectorGrid(page, typeByte);
  if (view.columns == 0) return;
  if (builtPage_ != page) grid->clearContents();
  builtPage_ = page;
  grid->setColumnCount(view.columns);
  grid->setRowCount(page == kPortPage ? std::max(view.rows, minimumRows) : view.rows);
  for (const GridCell& cell : view.cells) {
    QTableWidgetItem* item = CellItem(grid, cell.column, cell.row);
    item->setText(QString::fromStdString(cell.text));
    item->setBackground(fixedColour);
  }
}

void InspectorPageView::Show(QTableWidget* grid, const std::vector<GridCell>& cells) {
  for (const GridCell& cell : cells) {
    if (cell.row >= grid->rowCount() || cell.column >= grid->columnCount()) continue;
    CellItem(grid, cell.column, cell.row)->setText(QString::fromStdString(cell.text));
  }
}
