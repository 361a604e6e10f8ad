#include "params/ParameterEditorQt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>
#include <algorithm>

#include "base/FixedHeadingRowQt.h"
#include "base/GridFitQt.h"
#include "base/TextQt.h"
#include "base/UiText.h"
#include "base/UserDialogs.h"
#include "link/ReplyDecoding.h"
#include "params/ParameterTable.h"

namespace {

QToolButton* ArrowButton(QWidget* parent, Qt::ArrowType arrow, const char* name) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setArrowType(arrow);
  b->setAutoRepeat(false);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

}  // namespace

ParameterEditorQt::ParameterEditorQt(ParameterEditor& editor, QTableWidget* grid,
                                     std::function<ParameterViewContext()> context)
    : QObject(grid), editor_(editor), grid_(grid), context_(std::move(context)) {
  QWidget* viewport = grid_->viewport();
  Edit1 = new QLineEdit(viewport);
  Edit1->setObjectName("Edit1");
  Edit1->hide();
  connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& text) { Edit1Change(text); });
  connect(Edit1, &QLineEdit::editingFinished, this, [this] { Edit1Finished(); });

  // The arrows: a press on the left half steps down, on the right half up; one step per press.
  UpDown1 = new QWidget(viewport);
  UpDown1->setObjectName("UpDown1");
  auto* arrows = new QHBoxLayout(UpDown1);
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  QToolButton* down = ArrowButton(UpDown1, Qt::LeftArrow, "UpDown1Down");
  QToolButton* up = ArrowButton(UpDown1, Qt::RightArrow, "UpDown1Up");
  arrows->addWidget(down);
  arrows->addWidget(up);
  connect(down, &QToolButton::clicked, this, [this] { UpDown1Click(0); });
  connect(up, &QToolButton::clicked, this, [this] { UpDown1Click(1); });
  UpDown1->hide();

  BitBtn1 = new QToolButton(viewport);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setText("X");
  BitBtn1->setFocusPolicy(Qt::NoFocus);
  BitBtn1->hide();
  connect(BitBtn1, &QToolButton::clicked, this, [this] { BitBtn1Click(); });

  connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { GridEx1TopLeftChanged(); });
}

void ParameterEditorQt::SetCell(int row, int column, const QString& text) {
  if (row >= grid_->rowCount() || column >= grid_->columnCount()) return;
  QTableWidgetItem* item = grid_->item(row, column);
  if (!item) grid_->setItem(row, column, item = new QTableWidgetItem);
  item->setText(text);
}

bool ParameterEditorQt::RebuildEditor() {
  const ParameterViewContext ctx = context_();
  HideControls();
  rebuilding_ = true;
  if (ctx.page != Page::Parameters) {
    rebuilding_ = false;
    return false;
  }
  ++rebuilds_;
  RebuildParameters(ctx);
  rebuilding_ = false;
  PlaceControls(false);
  return true;
}

void ParameterEditorQt::RebuildParameters(const ParameterViewContext& ctx) {
  const ParameterList& list = editor_.Build(ctx.listOrder);
  grid_->clearContents();
  grid_->setRowCount(std::max(1, ParameterTableLength(list.Count(), ctx.rowsVisible)));
  const auto& texts = list.Texts();
  for (int r = 0; r <= list.Count(); ++r) {
    SetCell(r, 0, QtShownText(texts[static_cast<std::size_t>(r)].label));
    SetCell(r, 1, QtShownText(texts[static_cast<std::size_t>(r)].value));
    if (r > 0 && editor_.RowAt(r).editorKind == kEditorClearButton)
      if (QTableWidgetItem* item = grid_->item(r, 1)) item->setData(kUncountedTextRole, true);
  }
  const int selected = std::clamp(editor_.SelectedParamRow(), 1, std::max(1, grid_->rowCount() - 1));
  if (selected < grid_->rowCount()) grid_->setCurrentCell(selected, 1);
}

void ParameterEditorQt::HideControls() {
  Edit1->hide();
  UpDown1->hide();
  BitBtn1->hide();
}

// The controls of the selected row, only on the parameter page with a controller connected.
void ParameterEditorQt::PlaceControls(bool afterScroll) {
  HideControls();
  const ParameterViewContext ctx = context_();
  if (ctx.page != Page::Parameters || ctx.connectionMode != ConnectionMode::Controller) return;
  const int row = editor_.SelectedParamRow();
  if (row < 1 || row >= grid_->rowCount()) return;
  if (afterScroll) {
    const int top = TopRow(grid_);
    if (row < top || row > top + ctx.rowsVisible - 2) return;
  }
  const ParameterRow r = editor_.RowAt(row);
  if (r.parameter == 0) return;
  QTableWidgetItem* item = grid_->item(row, 1);
  if (!item) return;
  const QRect cell = grid_->visualItemRect(item);
  const int side = cell.height();
  if (r.editorKind & kEditorEditBox) {
    Edit1->setGeometry(cell);
    Edit1->setFont(grid_->font());
    Edit1->setText(QtShownText(FormatParameterValue(editor_.Block()[static_cast<std::size_t>(r.parameter)],
                                                    r.valueFormat, r.factor)));
    Edit1->show();
    Edit1->raise();
  }
  if (r.editorKind & kEditorArrows) {
    UpDown1->setGeometry(cell.right() - side + 1, cell.top(), side, side);
    UpDown1->show();
    UpDown1->raise();
  }
  if (r.editorKind == kEditorClearButton) {
    BitBtn1->setGeometry(cell.right() - side + 1, cell.top(), side, side);
    BitBtn1->show();
    BitBtn1->raise();
  }
}

void ParameterEditorQt::GridEx1SelectCell(int row) {
  HideControls();
  const ParameterViewContext ctx = context_();
  if (ctx.page != Page::Parameters || row < 1) return;
  if (ctx.connectionMode == ConnectionMode::Controller && !rebuilding_) editor_.SetSelectedParamRow(row);
  if (!rebuilding_) PlaceControls(false);
}

void ParameterEditorQt::GridEx1TopLeftChanged() {
  HideControls();
  if (context_().page == Page::Parameters) PlaceControls(true);
}

// A number above the range is limited at once, and the box shows what the controller gets
// (selected, so that the next key replaces it); one below the range may be the start of a
// longer one and is shown limited when the box is left.
void ParameterEditorQt::Edit1Change(const QString& text) {
  const ParameterEditor::Typed typed = editor_.TypeValue(text.toStdString());
  if (typed.shown.empty()) return;
  SetCell(editor_.SelectedParamRow(), 1, QtShownText(typed.shown));
  if (typed.aboveRange) {
    Edit1->setText(QtShownText(typed.shown));
    Edit1->selectAll();
  }
}

void ParameterEditorQt::Edit1Finished() {
  const std::string shown = editor_.EditedValue();
  if (!shown.empty() && Edit1->isVisible()) Edit1->setText(QtShownText(shown));
}

void ParameterEditorQt::UpDown1Click(int direction) { StepSelected(direction); }

void ParameterEditorQt::BitBtn1Click() { editor_.DependentDefaults(); }

void ParameterEditorQt::StepSelected(int direction) {
  const ParameterViewContext ctx = context_();
  if (ctx.page != Page::Parameters || ctx.connectionMode != ConnectionMode::Controller) return;
  editor_.StepSelected(direction);
}
