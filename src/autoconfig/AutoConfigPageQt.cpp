#include "autoconfig/AutoConfigPageQt.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <algorithm>

#include "base/TextQt.h"
#include "base/UiText.h"

namespace {

constexpr int kButtonWidth = 90;

QPushButton* MakeButton(QWidget* parent, const char* name) {
  auto* b = new QPushButton(QString(), parent);
  b->setObjectName(name);
  b->resize(kButtonWidth, 24);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

}  // namespace

AutoConfigPageQt::AutoConfigPageQt(WizardWidgets widgets, WizardWindow window, ControllerLink& link,
                                   UserDialogs& dialogs)
    : w_(widgets), window_(std::move(window)), link_(link), wizard_(*this, dialogs) {
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

int AutoConfigPageQt::PlaceButtons(bool visible, int left, int top) {
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

void AutoConfigPageQt::Leave() {
  for (QWidget* b : {BitBtnConBen, BitBtnConGas, BitBtnNext, BitBtnOk, BitBtnCancel}) b->hide();
  w_.gauge->hide();
  w_.gauge->setValue(0);
  wizard_.LeavePage();
  w_.log->clear();
}

void AutoConfigPageQt::Enter(Page) {}

void AutoConfigPageQt::Shown() {
  w_.grid->setFocus();
  wizard_.Reset();
}

void AutoConfigPageQt::ShowConfiguration(const ConfigurationView& view) {
  wizard_.OnConfigurationReply(view.engineSpeed, view.lambda, view.stepper, view.throttle);
}

void AutoConfigPageQt::WizardStep() { wizard_.OnTransmitTick(link_.Vars().controllerStatus); }

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
  QTableWidget* grid = w_.grid;
  if (grid->columnCount() < 2) return;
  if (row >= grid->rowCount()) grid->setRowCount(row + 1);
  QTableWidgetItem* item = grid->item(row, 1);
  if (!item) grid->setItem(row, 1, item = new QTableWidgetItem);
  item->setText(QString::fromStdString(text));
}

void AutoConfigPageQt::SelectRow(int row) {
  QTableWidget* grid = w_.grid;
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
