#include "app/UserDialogsQt.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QThread>

#include "base/UiText.h"
#include "params/ServiceReportQt.h"

namespace {
// A message stands in front of every window of the program: over a window that stays on top
// (the programming window) it belongs to that window and stays on top as well, so that the
// window manager, whichever runs, keeps it in front and gives it the focus.
QWidget* WindowOnTop() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    const Qt::WindowType type = w->windowType();
    if (w->isVisible() && w->testAttribute(Qt::WA_WState_Created) && type != Qt::ToolTip &&
        type != Qt::Popup && (w->windowFlags() & Qt::WindowStaysOnTopHint))
      return w;
  }
  return nullptr;
}
// A value's unit ("900 [обор/мин]") stays on the line of its number when the details wrap.
QString UnbrokenUnits(const QString& text) {
  QString out;
  bool inUnit = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == ' ' && i + 1 < text.size() && text[i + 1] == '[') {
      out += QChar(0x00A0);  // no-break space
      continue;
    }
    inUnit = c == '[' ? true : c == ']' ? false : inUnit;
    out += c;
    if (inUnit && c == '/') out += QChar(0x2060);  // word joiner
  }
  return out;
}

}  // namespace

MessageAnswer QtUserDialogs::ShowMessage(const std::string& text, MessageButtons buttons) {
  return ShowMessageWithDetails(text, buttons, {});
}

MessageAnswer QtUserDialogs::ShowMessageWithDetails(const std::string& text, MessageButtons buttons,
                                                    const std::string& details) {
  QMessageBox::StandardButtons set = QMessageBox::Ok;
  switch (buttons) {
    case MessageButtons::Ok: set = QMessageBox::Ok; break;
    case MessageButtons::OkCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MessageButtons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
    case MessageButtons::YesNoCancel: set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
  }
  QWidget* onTop = WindowOnTop();
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(UiText(700)),
                  QString::fromStdString(DisplayText(text)), set, onTop ? onTop : parent_);
  if (onTop) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  // The toolkit's "Show Details..." button unfolds it.
  if (!details.empty()) box.setDetailedText(UnbrokenUnits(QString::fromStdString(details)));
  switch (box.exec()) {
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    default: return MessageAnswer::Ok;
  }
}

void QtUserDialogs::Beep() { QApplication::beep(); }

void QtUserDialogs::SetBusyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void QtUserDialogs::PauseOneSecond() { QThread::msleep(1000); }

namespace {
// "name|pattern|name|pattern" as the window design writes filters, in the toolkit's form
// "name;;name" (each name already shows its pattern).
QStringList QtFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList names;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i];
    // The toolkit reads the patterns from the name; one that shows none gets its own.
    if (!name.contains(parts[i + 1])) name += QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    names << name;
  }
  return names;
}
}  // namespace

std::optional<std::string> QtUserDialogs::AskFileName(const FileDialogRequest& request) {
  const FileDialogSetup setup = FileDialogFor(request.use);
  QFileDialog dialog(parent_,
                     setup.titleId ? QString::fromStdString(UiText(setup.titleId)) : QStringLiteral("CSV"));
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(setup.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(setup.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // The save dialog does not ask before replacing a file.
  if (setup.save) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setSizeGripEnabled(true);
  const QStringList filters = QtFilters(setup.filter);
  dialog.setNameFilters(filters);
  if (setup.filterIndex >= 1 && setup.filterIndex <= filters.size())
    dialog.selectNameFilter(filters[setup.filterIndex - 1]);
  if (!setup.defaultExtension.empty())
    dialog.setDefaultSuffix(QString::fromStdString(setup.defaultExtension));
  if (!request.initialDir.empty()) dialog.setDirectory(QString::fromStdString(request.initialDir));
  if (!request.proposedName.empty()) dialog.selectFile(QString::fromStdString(request.proposedName));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.first().toStdString();
}

std::optional<std::int32_t> QtUserDialogs::AskColour(std::int32_t initial) {
  const auto bgr = static_cast<std::uint32_t>(initial);
  const QColor start(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                     static_cast<int>((bgr >> 16) & 0xFF));
  const QColor chosen = QColorDialog::getColor(start, parent_);
  if (!chosen.isValid()) return std::nullopt;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(chosen.red()) |
                                   (static_cast<std::uint32_t>(chosen.green()) << 8) |
                                   (static_cast<std::uint32_t>(chosen.blue()) << 16));
}

std::optional<ReportDetails> QtUserDialogs::AskReportDetails(const ReportDetails& last) {
  ServiceReportDialog dialog(last.workshop, last.vehicle, parent_);
  const ServiceReportDialog::Choice choice = dialog.Ask();
  if (choice == ServiceReportDialog::Choice::Cancel) return std::nullopt;
  return ReportDetails{dialog.Workshop(), dialog.Vehicle(), choice == ServiceReportDialog::Choice::Print};
}
