#include "base/FixedHeadingRowQt.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
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
    : QTableWidget(rows, columns, parent), frozen_(new QTableView(this)) {
  frozen_->setObjectName("FixedColumn");
  frozen_->setModel(model());
  frozen_->setSelectionModel(selectionModel());
  frozen_->setFocusPolicy(Qt::NoFocus);
  frozen_->setAttribute(Qt::WA_TransparentForMouseEvents);
  frozen_->setFrameShape(QFrame::NoFrame);
  frozen_->verticalHeader()->hide();
  frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  frozen_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->setVerticalScrollMode(verticalScrollMode());
  frozen_->hide();
  connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(),
          &QAbstractSlider::setValue);
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
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { FollowGrid(); });
  connect(verticalHeader(), &QHeaderView::sectionResized, this,
          [this](int row, int, int size) { frozen_->setRowHeight(row, size); });
  Refresh(this);
}

void FixedHeadingGrid::SetFixedColumn(bool fixed) {
  if (fixed == fixedColumn_) return;
  fixedColumn_ = fixed;
  FollowGrid();
  if (fixed && currentColumn() == 0 && columnCount() > 1) setCurrentCell(currentRow(), 1);
}

void FixedHeadingGrid::SetFixedColour(const QColor& colour) {
  if (colour == fixedColour_) return;
  fixedColour_ = colour;
  const QString background = colour.isValid() ? QString("background:%1;").arg(colour.name()) : QString();
  const QString section = background.isEmpty() ? QString() : "QHeaderView::section{" + background + "}";
  horizontalHeader()->setStyleSheet(section);
  frozen_->horizontalHeader()->setStyleSheet(section);
  frozen_->setStyleSheet(background.isEmpty() ? QString() : "QTableView{" + background + "}");
}

// The fixed column's view follows the grid: its rows, their heights, the heading and the
// width of column 0.
void FixedHeadingGrid::FollowGrid() {
  const bool shown = fixedColumn_ && columnCount() > 0;
  frozen_->setVisible(shown);
  if (!shown) return;
  for (int c = 0; c < columnCount(); ++c) frozen_->setColumnHidden(c, c != 0);
  frozen_->setColumnWidth(0, columnWidth(0));
  frozen_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
  for (int r = 0; r < rowCount(); ++r) {
    if (frozen_->isRowHidden(r) != isRowHidden(r)) frozen_->setRowHidden(r, isRowHidden(r));
    if (frozen_->rowHeight(r) != rowHeight(r)) frozen_->setRowHeight(r, rowHeight(r));
  }
  frozen_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
  frozen_->horizontalHeader()->setVisible(!horizontalHeader()->isHidden());
  frozen_->setGeometry(
      frameWidth(), frameWidth(), columnWidth(0),
      viewport()->height() + (horizontalHeader()->isHidden() ? 0 : horizontalHeader()->height()));
  frozen_->verticalScrollBar()->setValue(verticalScrollBar()->value());
  frozen_->raise();
}

void FixedHeadingGrid::updateGeometries() {
  QTableWidget::updateGeometries();
  FollowGrid();
}

// The fixed column's view has a style sheet of its own when it shows the fixed colour, and
// then takes no font from the grid by itself.
void FixedHeadingGrid::changeEvent(QEvent* event) {
  QTableWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) frozen_->setFont(font());
}

void FixedHeadingGrid::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  FollowGrid();
}

QModelIndex FixedHeadingGrid::indexAt(const QPoint& point) const {
  const QModelIndex under = QTableWidget::indexAt(point);
  if (!fixedColumn_ || columnCount() < 2 || point.x() >= columnWidth(0)) return under;
  const int row = rowAt(point.y());
  return row < 0 ? QModelIndex() : model()->index(row, 1);
}

QModelIndex FixedHeadingGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const QModelIndex to = QTableWidget::moveCursor(action, modifiers);
  if (!fixedColumn_ || !to.isValid() || to.column() != 0 || columnCount() < 2) return to;
  return model()->index(to.row(), 1);
}

// A cell scrolled into view from the left comes out beside the fixed column, not under it.
void FixedHeadingGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
  QTableWidget::scrollTo(index, hint);
  if (!fixedColumn_ || !index.isValid() || index.column() == 0) return;
  QScrollBar* bar = horizontalScrollBar();
  while (bar->value() > bar->minimum() && columnViewportPosition(index.column()) < columnWidth(0))
    bar->setValue(bar->value() - 1);
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
