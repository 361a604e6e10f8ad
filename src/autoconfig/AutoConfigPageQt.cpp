#include "autoconfig/AutoConfigPageQt.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <algorithm>
#include <array>

#include "base/TextQt.h"
#include "base/UiText.h"

namespace {

constexpr int kButtonWidth = 90;
// The configuration view's labels, rows 1 to 7.
constexpr std::array<int, 7> kRowLabels{413, 425, 435, 440, 542, 507, 506};

QPushButton* MakeButton(QWidget* parent, const char* name) {
  auto* b = new QPushButton(QString(), parent);
  b->setObjectName(name);
  b->resize(kButtonWidth, 24);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

}  // namespace

AutoConfigPageQt::AutoConfigPageQt(WizardWidgets widgets, PageGrid& grid, WizardWindow window,
                                   ControllerLink& link, UserDialogs& dialogs)
    : w_(widgets), grid_(grid.Widget()), window_(std::move(window)), link_(link), wizard_(*this, dialogs) {
  BitBtnConBen = MakeButton(w_.client, "BitBtnConBen");
  BitBtnConGas = MakeButton(w_.client, "BitBtnConGas");
  BitBtnNext = MakeButton(w_.client, "BitBtnNext");
  BitBtnOk = MakeButton(w_.client, "BitBtnOk");
  BitBtnCancel = MakeButton(w_.client, "BitBtnCancel");
  QObject::connect(BitBtnConBen, &QPushButton::clicked, [this] { wizard_.BitBtnConBenClick(); });
  QObject::connect(BitBtnConGas, &QPushButton::clicked, [this] { wizard_.BitBtnConGasClick(); });
  QObject::connect(BitBtnNext, &QPushButton::clicked, [this] { wizard_.BitBtnNextClick(); });
  QObject::connect(BitBtnOk, &QPushButton::clicked, [this] { wizard_.BitBtnOkClick(); });
  QObject::connect(BitBtnCancel, &QPushButton::clicked, [this] { wizard_.BitBtnCancelClick(); });
}

void AutoConfigPageQt::ApplyTexts() {
  BitBtnConBen->setText(QtUiText(142));
  BitBtnConGas->setText(QtUiText(144));
  BitBtnNext->setText(QtUiText(132));
  BitBtnOk->setText(QtUiText(133));
  BitBtnCancel->setText(QtUiText(134));
}

int AutoConfigPageQt::PlaceButtons(const MainLayout& layout, int top) {
  const bool visible = layout.wizardButtonsVisible;
  const int left = layout.wizardButtonsLeft;
  constexpr int kCaptionPadding = 6;
  const std::initializer_list<QPushButton*> buttons = {BitBtnConBen, BitBtnConGas, BitBtnNext, BitBtnOk,
                                                       BitBtnCancel};
  int width = kButtonWidth;
  for (QPushButton* b : buttons)
    width = std::max(width, b->fontMetrics().horizontalAdvance(b->text()) + kCaptionPadding);
  // Wider captions widen the column of buttons to the left, keeping its right edge.
  for (QPushButton* b : buttons) {
    b->setVisible(visible);
    b->setGeometry(left + kButtonWidth - width, top, width, b->height());
    top += 30;
  }
  return visible ? width - kButtonWidth : 0;
}

void AutoConfigPageQt::Layout(const MainLayout& layout) {
  auto setCell = [this](int row, int column, const QString& text) {
    if (row >= grid_->rowCount() || column >= grid_->columnCount()) return;
    QTableWidgetItem* item = grid_->item(row, column);
    if (!item) grid_->setItem(row, column, item = new QTableWidgetItem);
    item->setText(text);
  };
  const int rows = static_cast<int>(kRowLabels.size());
  grid_->setRowCount(std::max(layout.parameterRowsVisible, rows + 1));
  setCell(0, 0, QtUiText(300));
  setCell(0, 1, QtUiText(301));
  for (int i = 0; i < rows; ++i) setCell(i + 1, 0, QtUiText(kRowLabels[static_cast<std::size_t>(i)]));
  setCell(1, 1, QString());
  setCell(rows, 1, QString());
  // The rows under the wizard's own would still show the parameter view's labels and values.
  for (int r = rows + 1; r < grid_->rowCount(); ++r)
    for (int c = 0; c < grid_->columnCount(); ++c)
      if (QTableWidgetItem* item = grid_->item(r, c)) item->setText(QString());
  grid_->setCurrentCell(1, 1);
}

void AutoConfigPageQt::Leave() {
  for (QWidget* b : {BitBtnConBen, BitBtnConGas, BitBtnNext, BitBtnOk, BitBtnCancel}) b->hide();
  w_.gauge->hide();
  w_.gauge->setValue(0);
  wizard_.LeavePage();
  w_.log->clear();
}

void AutoConfigPageQt::Enter(Page) {}

void AutoConfigPageQt::Shown() {
  grid_->setFocus();
  wizard_.Reset();
}

void AutoConfigPageQt::ShowConfiguration(const ConfigurationView& view) {
  wizard_.OnConfigurationReply(view.engineSpeed, view.lambda, view.stepper, view.throttle);
}

void AutoConfigPageQt::WizardStep() { wizard_.OnTransmitTick(link_.Vars().controllerStatus); }

const ParameterBlock& AutoConfigPageQt::Parameters() const { return link_.Block(); }

void AutoConfigPageQt::SetParameter(int index, std::uint8_t value) { link_.SetParameter(index, value); }

void AutoConfigPageQt::ClearLog() { w_.log->clear(); }

void AutoConfigPageQt::AddLogLine(const std::string& line) {
  w_.log->append(QString::fromStdString(DisplayText(line)));
}

void AutoConfigPageQt::SetGauge(int maximum, int position) {
  w_.gauge->setRange(0, maximum);
  SetGaugePosition(position);
}

void AutoConfigPageQt::SetGaugePosition(int position) {
  w_.gauge->setValue(std::clamp(position, w_.gauge->minimum(), w_.gauge->maximum()));
}

void AutoConfigPageQt::SetGaugeVisible(bool visible) { w_.gauge->setVisible(visible); }

void AutoConfigPageQt::ShowFinding(int row, const std::string& text) {
  QTableWidget* grid = grid_;
  if (grid->columnCount() < 2) return;
  if (row >= grid->rowCount()) grid->setRowCount(row + 1);
  QTableWidgetItem* item = grid->item(row, 1);
  if (!item) grid->setItem(row, 1, item = new QTableWidgetItem);
  item->setText(QString::fromStdString(text));
}

void AutoConfigPageQt::SelectRow(int row) {
  QTableWidget* grid = grid_;
  if (row >= grid->rowCount()) grid->setRowCount(row + 1);
  grid->setCurrentCell(row, std::min(1, grid->columnCount() - 1));
}

void AutoConfigPageQt::EnableButton(WizardButton button, bool enabled) {
  switch (button) {
    case WizardButton::Next: BitBtnNext->setEnabled(enabled); break;
    case WizardButton::Ok: BitBtnOk->setEnabled(enabled); break;
    case WizardButton::Cancel: BitBtnCancel->setEnabled(enabled); break;
  }
}
