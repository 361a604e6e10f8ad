#include "model/PageGridQt.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <vector>

#include "base/GridFitQt.h"
#include "base/TextQt.h"
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

void PageGrid::SetHint(QLabel* hint) {
  hint_ = hint;
  grid_->setMouseTracking(true);
  grid_->viewport()->setMouseTracking(true);
  grid_->viewport()->installEventFilter(this);
  hint_->installEventFilter(this);
}

void PageGrid::GridEx1MouseDown(int x, int y) {
  if (grid_->columnAt(x) != 0) return;
  const int row = grid_->rowAt(y);
  if (row < 1) return;
  grid_->setCurrentCell(row, grid_->currentColumn() < 0 ? 1 : grid_->currentColumn());
  if (labelPressed_) labelPressed_();
}

void PageGrid::GridEx1MouseMove(int x, int y) {
  if (holder_ && !holder_->ShowsHints()) {
    hint_->hide();
    return;
  }
  const int column = x > grid_->columnWidth(0) ? 1 : 0;
  const int row = grid_->rowAt(y);
  const std::pair<int, int> cell{row, column};
  if (cell != dismissedCell_) dismissedCell_ = {-1, -1};
  if (row < 1 || cell == dismissedCell_ || !grid_->item(row, column)) {
    hint_->hide();
    return;
  }
  QString text = grid_->item(row, column)->text();
  const QFontMetrics metrics(grid_->font());
  bool show = metrics.horizontalAdvance(text) > grid_->columnWidth(column) - 2;
  if (const std::optional<std::string> own = holder_ ? holder_->HintText(row, column) : std::nullopt) {
    text = QtShownText(*own);
    show = true;
  }
  if (!show) {
    hint_->hide();
    return;
  }
  const QRect rect = grid_->visualItemRect(grid_->item(row, column));
  const QPoint origin = grid_->viewport()->mapTo(hint_->parentWidget(), rect.topLeft());
  hint_->setFont(grid_->font());
  hint_->setText(text);
  hint_->setGeometry(origin.x() + 3, origin.y() + 2, metrics.horizontalAdvance(text) + 4, rect.height());
  hint_->show();
  hint_->raise();
  hintCell_ = cell;
}

void PageGrid::PanelHintClick() {
  hint_->hide();
  dismissedCell_ = hintCell_;
  if (hintCell_.first >= 1 && hintCell_.first < grid_->rowCount())
    grid_->setCurrentCell(hintCell_.first, std::max(0, hintCell_.second));
}

bool PageGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == hint_) {
    if (event->type() == QEvent::MouseButtonPress) {
      PanelHintClick();
      return true;
    }
    return false;
  }
  if (event->type() == QEvent::MouseMove) {
    const auto* e = static_cast<QMouseEvent*>(event);
    GridEx1MouseMove(e->position().toPoint().x(), e->position().toPoint().y());
  } else if (event->type() == QEvent::MouseButtonPress) {
    const auto* e = static_cast<QMouseEvent*>(event);
    GridEx1MouseDown(e->position().toPoint().x(), e->position().toPoint().y());
  }
  return false;
}
