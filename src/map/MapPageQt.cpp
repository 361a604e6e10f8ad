#include "map/MapPageQt.h"

#include <QTableWidget>

#include "base/TextQt.h"
#include "model/MapHeadings.h"

namespace {

constexpr int kMapRows = 16;
constexpr int kMapColumns = 22;

void SetCell(QTableWidget* grid, int row, int column, const QString& text) {
  if (row >= grid->rowCount() || column >= grid->columnCount()) return;
  QTableWidgetItem* item = grid->item(row, column);
  if (!item) grid->setItem(row, column, item = new QTableWidgetItem);
  item->setText(text);
}

}  // namespace

void MapPageQt::Enter(Page) { window_.closeMagnifier(); }

void MapPageQt::Layout(const MainLayout&) {
  QTableWidget* grid = grid_.Widget();
  grid->clearContents();
  const ParameterBlock& block = link_.Block();
  for (int r = 1; r <= kMapRows; ++r) SetCell(grid, r, 0, QtShownText(MapRowHeading(block, r)));
  for (int c = 1; c <= kMapColumns; ++c) SetCell(grid, 0, c, QtShownText(MapColumnHeading(c)));
}

void MapPageQt::ShowMapColumn(const MapColumnView& view) {
  if (link_.Vars().currentPage == Page::Map) {
    QTableWidget* grid = grid_.Widget();
    if (view.column >= 1 && view.column <= kMapColumns) {
      for (int r = 1; r <= kMapRows; ++r)
        SetCell(grid, r, view.column, QtShownText(view.cells[static_cast<std::size_t>(r - 1)]));
    }
    grid->setCurrentCell(view.selectedRow, view.selectedColumn);
  }
  window_.showReadings(view);
}
