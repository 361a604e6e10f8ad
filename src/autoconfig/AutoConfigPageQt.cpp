#include "autoconfig/AutoConfigPageQt.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <algorithm>

AutoConfigPageQt::AutoConfigPageQt(WizardWidgets widgets, WizardWindow window, UserDialogs& dialogs)
    : w_(widgets), window_(std::move(window)), wizard_(*this, dialogs) {}

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
    case WizardButton::Next: w_.next->setEnabled(enabled); break;
    case WizardButton::Ok: w_.ok->setEnabled(enabled); break;
    case WizardButton::Cancel: w_.cancel->setEnabled(enabled); break;
  }
}
