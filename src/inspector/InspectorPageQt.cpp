#include "inspector/InspectorPageQt.h"

#include <QComboBox>
#include <QFontMetrics>
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

// The widest text of a memory view: three digits or a page header.
constexpr const char* kWidestMemoryText = "255";
// Room the item view keeps free on both sides of a cell's text.
constexpr int kCellTextMargin = 8;

// The grid's font, made smaller until the widest memory text fits the room.
QFont CompactFont(QFont font, int room) {
  if (font.pointSizeF() <= 0) return font;
  for (qreal size = font.pointSizeF(); size >= 6.0; size -= 0.5) {
    font.setPointSizeF(size);
    if (QFontMetrics(font).horizontalAdvance(kWidestMemoryText) <= room) break;
  }
  return font;
}

}  // namespace

void FillRegisterList(QComboBox* list) {
  list->clear();
  for (int address = 0; address < kRegisterCount; ++address)
    list->addItem(QString::fromStdString(RegisterName(address)));
  // Filling a list selects its first entry by itself; "no register" is a choice of its own.
  list->setCurrentIndex(-1);
}

void InspectorPageView::Build(QTableWidget* grid, Page page, std::uint8_t typeByte, int minimumRows,
                              const QColor& fixedColour) {
  const InspectorGrid view = BuildInspectorGrid(page, typeByte);
  if (view.columns == 0) return;
  if (builtPage_ != page) grid->clearContents();
  builtPage_ = page;
  grid->setColumnCount(view.columns);
  grid->setRowCount(page == Page::Port ? std::max(view.rows, minimumRows) : view.rows);
  compact_ = page != Page::Port;
  grid->setTextElideMode(compact_ ? Qt::ElideNone : Qt::ElideRight);
  if (compact_) cellFont_ = CompactFont(grid->font(), grid->columnWidth(1) - kCellTextMargin);
  for (const GridCell& cell : view.cells) {
    QTableWidgetItem* item = CellItem(grid, cell.column, cell.row);
    item->setText(QString::fromStdString(cell.text));
    item->setBackground(fixedColour);
    Style(item);
  }
}

void InspectorPageView::Show(QTableWidget* grid, const std::vector<GridCell>& cells) const {
  for (const GridCell& cell : cells) {
    if (cell.row >= grid->rowCount() || cell.column >= grid->columnCount()) continue;
    QTableWidgetItem* item = CellItem(grid, cell.column, cell.row);
    item->setText(QString::fromStdString(cell.text));
    Style(item);
  }
}

void InspectorPageView::Leave(QTableWidget* grid) {
  if (builtPage_) {
    grid->clearContents();
    grid->setTextElideMode(Qt::ElideRight);
  }
  builtPage_.reset();
  compact_ = false;
}

void InspectorPageView::Style(QTableWidgetItem* item) const {
  if (!compact_) return;
  item->setFont(cellFont_);
  item->setTextAlignment(Qt::AlignCenter);
}

void InspectorPageQt::Enter(Page) {}

void InspectorPageQt::Layout(const MainLayout& layout) {
  const Rgb& fixed = layout.gridEx1FixedColour;
  view_.Build(grid_, link_.Vars().currentPage, link_.Block()[kTypeByte],
              std::max(1, layout.parameterRowsVisible), QColor(fixed.red, fixed.green, fixed.blue));
}

void InspectorPageQt::Shown() { grid_->setFocus(); }

void InspectorPageQt::ShowMemoryBlock(const MemoryBlockView& view) {
  Show(MemoryBlockCells(view, link_.Vars().currentPage));
}

void InspectorPageQt::ShowPortView(const PortView& view) {
  Show(PortPinCells(view, link_.Vars().currentPage));
  window_.showPortReadings(view);
}
