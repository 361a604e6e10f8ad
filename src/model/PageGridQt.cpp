#include "model/PageGridQt.h"

#include <QHeaderView>
#include <vector>

#include "base/GridFitQt.h"
#include "model/PageView.h"

namespace {

QString RgbStyle(const Rgb& c) { return QString("rgb(%1,%2,%3)").arg(c.red).arg(c.green).arg(c.blue); }

}  // namespace

PageGrid::PageGrid(QWidget* parent) : grid_(new FixedHeadingGrid(1, 2, parent)) {
  grid_->setObjectName("GridEx1");
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
}

void PageGrid::Place(const MainLayout& L) {
  grid_->setGeometry(L.gridEx1.left, L.gridEx1.top, L.gridEx1.width, L.gridEx1.height);
  grid_->setColumnCount(L.gridEx1ColumnCount);
  for (int c = 0; c < L.gridEx1ColumnCount; ++c) grid_->setColumnWidth(c, L.gridEx1ColumnWidth);
  if (L.gridEx1Column1Width) grid_->setColumnWidth(1, *L.gridEx1Column1Width);
  grid_->verticalHeader()->setDefaultSectionSize(L.gridEx1RowHeight + 1);
  SetHeadingRowHeight(grid_, L.gridEx1RowHeight + 1);
  grid_->setSelectionBehavior(L.gridEx1RowSelect ? QAbstractItemView::SelectRows
                                                 : QAbstractItemView::SelectItems);
  grid_->setStyleSheet(QString("QTableView{background:%1}").arg(RgbStyle(L.gridEx1Colour)));
  grid_->SetFixedColumn(L.gridEx1FixedColumnCount > 0);
  // Where the fixed row and column have a colour of their own, they show it.
  const Rgb& fixed = L.gridEx1FixedColour;
  grid_->SetFixedColour(fixed == L.gridEx1Colour ? QColor() : QColor(fixed.red, fixed.green, fixed.blue));
  if (L.gridEx1RowCount) grid_->setRowCount(*L.gridEx1RowCount);
  if (L.clearGridEx1Cells) grid_->clearContents();
}

void PageGrid::LendTo(PageView& page) {
  if (holder_ && holder_ != &page) holder_->GridReturned();
  holder_ = &page;
}

bool PageGrid::FitColumns(Page page) {
  std::vector<int> before;
  for (int c = 0; c < grid_->columnCount(); ++c) before.push_back(grid_->columnWidth(c));
  if (page == Page::Map)
    WidenColumnsToTexts(grid_, "88.8");
  else if (page == Page::Sram || page == Page::Eeprom)
    WidenColumnsToTexts(grid_, "888");
  else if (page != Page::Port)
    BalanceTwoColumns(grid_);
  for (int c = 0; c < grid_->columnCount(); ++c)
    if (grid_->columnWidth(c) != before[static_cast<std::size_t>(c)]) return true;
  return false;
}

void PageGrid::ScrollToTopRow(const MainLayout& L) {
  if (L.gridEx1TopRow > 0 && L.gridEx1TopRow < grid_->rowCount())
    grid_->scrollTo(grid_->model()->index(L.gridEx1TopRow, 0), QAbstractItemView::PositionAtTop);
}
