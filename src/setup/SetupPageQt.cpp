#include "setup/SetupPageQt.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <algorithm>
#include <array>
#include <vector>

#include "base/TextQt.h"
#include "base/UiLanguages.h"
#include "base/UiText.h"

namespace {

using Mode = ::ConnectionMode;

QComboBox* MakeCombo(QWidget* parent, const char* name, const QStringList& items) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  c->addItems(items);
  c->hide();
  return c;
}

}  // namespace

SetupPageQt::SetupPageQt(PageGrid& grid, ControllerLink& link, SetupWindow window)
    : grid_(grid.Widget()), link_(link), window_(std::move(window)) {
  QWidget* cells = grid_->viewport();
  CBCom = MakeCombo(cells, "CBCom", {"COM1", "COM2", "COM3", "COM4"});
  CBCAut = MakeCombo(cells, "CBCAut", {"Nie", "Tak"});
  CBFAut = MakeCombo(cells, "CBFAut", {"Nie", "Tak"});
  CBList = MakeCombo(cells, "CBList", {"wg. funkcji", "wg. typu"});
  CBFont = MakeCombo(cells, "CBFont", {"10", "12", "14"});
  // The languages in their own names; each item keeps its index of the language list.
  CBLang = MakeCombo(cells, "CBLang", {});
  for (int language : window_.languages)
    CBLang->addItem(QtText(std::string(kLanguageNames[static_cast<std::size_t>(language)])), language);
  EDFile = new QLineEdit(cells);
  EDFile->setObjectName("EDFile");
  EDFile->hide();
  CBList->setCurrentIndex(1);
  QObject::connect(CBCom, &QComboBox::activated, grid_, [this](int index) { window_.portChosen(index); });
  QObject::connect(CBFont, &QComboBox::activated, grid_, [this](int) { window_.fontChosen(); });
  QObject::connect(CBList, &QComboBox::activated, grid_, [this](int) { window_.layOut(); });
  QObject::connect(CBLang, &QComboBox::activated, grid_, [this](int) { window_.languageChosen(); });
  for (QComboBox* c : {CBCAut, CBFAut, CBList})
    QObject::connect(c, &QComboBox::activated, grid_, [this](int) { window_.rebuild(); });
  // Typing leaves the box in place and focused; only the value cell under it follows.
  QObject::connect(EDFile, &QLineEdit::textEdited, grid_, [this](const QString& text) {
    for (int r = 1; r < grid_->rowCount(); ++r)
      if (auto* item = grid_->item(r, 1); item && item->data(Qt::UserRole).value<void*>() == EDFile)
        item->setText(text);
  });
}

void SetupPageQt::Apply(const SetupValues& values) {
  EDFile->setText(QtText(values.fileName));
  CBList->setCurrentIndex(values.list ? 1 : 0);
  CBFont->setCurrentIndex(values.font);
  CBFAut->setCurrentIndex(values.autoSave ? 1 : 0);
  CBCAut->setCurrentIndex(values.autoComm ? 1 : 0);
  CBLang->setCurrentIndex(std::max(0, CBLang->findData(values.language)));
}

SetupValues SetupPageQt::Values() const {
  SetupValues v;
  v.fileName = EDFile->text().toStdString();
  v.list = CBList->currentIndex() != 0;
  v.font = CBFont->currentIndex();
  v.autoSave = CBFAut->currentIndex() != 0;
  v.autoComm = CBCAut->currentIndex() != 0;
  v.language = CBLang->currentIndex() >= 0 ? CBLang->currentData().toInt() : kProgramLanguage;
  return v;
}

void SetupPageQt::ApplyTexts() {
  for (auto [combo, first] : {std::pair{CBCAut, 320}, std::pair{CBFAut, 320}, std::pair{CBList, 322}}) {
    const int index = combo->currentIndex();
    combo->clear();
    combo->addItems({QtUiText(first), QtUiText(first + 1)});
    combo->setCurrentIndex(index);
  }
}

void SetupPageQt::ShowPort(int port) {
  CBCom->setCurrentIndex(std::clamp(port, 1, 4) - 1);
  if (link_.Vars().currentPage == Page::Setup && grid_->rowCount() > 1) {
    if (auto* item = grid_->item(1, 1)) item->setText(CBCom->currentText());
  }
}

void SetupPageQt::SelectCell(int row) {
  if (link_.Vars().currentPage == Page::Setup && row >= 1) {
    selectedRow_ = row;
    PlaceEditors();
  }
}

std::vector<QWidget*> SetupPageQt::Editors() const {
  std::vector<QWidget*> editors;
  for (const Row& row : Rows()) editors.push_back(row.editor);
  return editors;
}

void SetupPageQt::HideEditors() {
  // A focused box that is hidden would hand the keyboard to the grid's next cell: the grid
  // takes it meanwhile, and the file name box gets it back when it is placed again.
  typing_ = EDFile->hasFocus();
  if (typing_) grid_->setFocus();
  for (QWidget* w : Editors()) w->hide();
}

void SetupPageQt::Enter(Page) {}

std::vector<SetupPageQt::Row> SetupPageQt::Rows() const {
  const Mode mode = window_.connectionMode();
  const bool controller = mode == Mode::Controller;
  return {{302, CBCom, true},
          {303, CBCAut, true},
          {304, EDFile, controller},
          {305, CBFAut, controller},
          {306, CBList, controller || mode == Mode::File},
          {307, CBFont, true},
          {308, CBLang, true}};
}

void SetupPageQt::Layout(const MainLayout& layout) {
  HideEditors();
  std::vector<Row> rows = Rows();
  std::erase_if(rows, [](const Row& row) { return !row.shown; });
  auto setCell = [this](int row, int column, const QString& text) {
    if (row >= grid_->rowCount() || column >= grid_->columnCount()) return;
    auto* item = grid_->item(row, column);
    if (!item) grid_->setItem(row, column, item = new QTableWidgetItem);
    item->setText(text);
  };
  grid_->clearContents();
  grid_->setRowCount(
      std::max<int>(std::max(1, layout.parameterRowsVisible), static_cast<int>(rows.size()) + 1));
  setCell(0, 0, QtUiText(300));
  setCell(0, 1, QtUiText(301));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int r = static_cast<int>(i) + 1;
    setCell(r, 0, QtUiText(rows[i].labelId));
    const auto* combo = qobject_cast<QComboBox*>(rows[i].editor);
    setCell(r, 1, combo ? combo->currentText() : EDFile->text());
    grid_->item(r, 1)->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(rows[i].editor)));
  }
  selectedRow_ = std::clamp(selectedRow_, 1, static_cast<int>(rows.size()));
  grid_->setCurrentCell(selectedRow_, 1);
  PlaceEditors();
  if (typing_ && EDFile->isVisible()) EDFile->setFocus();
}

void SetupPageQt::PlaceEditors() {
  const int row = grid_->currentRow();
  auto* item = row > 0 ? grid_->item(row, 1) : nullptr;
  auto* editor = item ? static_cast<QWidget*>(item->data(Qt::UserRole).value<void*>()) : nullptr;
  // Every selection shows the selected row's box alone.
  for (QWidget* w : Editors())
    if (w != editor) w->hide();
  if (!editor) return;
  editor->setGeometry(grid_->visualItemRect(item));
  editor->show();
  editor->raise();
}
