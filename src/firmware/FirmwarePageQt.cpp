#include "firmware/FirmwarePageQt.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTableWidget>
#include <QTextEdit>
#include <algorithm>

#include "base/TextQt.h"
#include "base/UiText.h"
#include "firmware/Orvlpgupg.h"

FirmwarePageQt::FirmwarePageQt(QWidget* mainWindow, PageGrid& grid, QTextEdit* memo, ControllerLink& link,
                               FirmwareHost& host, UserDialogs& dialogs, std::string programDir,
                               FirmwareWindow window)
    : mainWindow_(mainWindow),
      link_(link),
      window_(std::move(window)),
      grid_(grid.Widget()),
      memo_(memo),
      page_(link, *this, host, dialogs, std::move(programDir)) {}

FirmwarePageQt::~FirmwarePageQt() = default;

bool FirmwarePageQt::HoldsInput(QObject* watched, const QEvent* event) {
  const bool running =
      !mainWindow_->isEnabled() || page_.Dialogue().CurrentPhase() != ProgrammingDialogue::Phase::Idle;
  if (!running) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu: break;
    default: return false;
  }
  const auto* widget = qobject_cast<const QWidget*>(watched);
  return widget && widget->window() == mainWindow_;
}

void FirmwarePageQt::Enter(::Page) { window_.closeMagnifier(); }

void FirmwarePageQt::PageLeft() {
  memo_->clear();
  for (const std::string& line : keptLogLines_) memo_->append(QtShownText(line));
  keptLogLines_.clear();
}

void FirmwarePageQt::ShowImageList(const std::vector<ListedImage>& images, int rows) {
  grid_->setCurrentCell(std::min(1, grid_->rowCount() - 1), 0);
  grid_->clearContents();
  grid_->setRowCount(rows);
  auto setCell = [this](int row, int column, const QString& text) {
    if (row >= grid_->rowCount() || column >= grid_->columnCount()) return;
    grid_->setItem(row, column, new QTableWidgetItem(text));
  };
  setCell(0, 0, QtUiText(388));
  setCell(0, 1, QtUiText(389));
  QStringList paths;
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    setCell(row, 0, QString::fromStdString(images[i].rowText));
    setCell(row, 1, QString::fromStdString(images[i].name));
    paths << QString::fromStdString(images[i].path);
  }
  memo_->setPlainText(paths.join('\n'));
  grid_->setCurrentCell(images.empty() ? std::min(1, rows - 1) : static_cast<int>(images.size()), 0);
}

void FirmwarePageQt::OpenProgrammingWindow() {
  form_ = std::make_unique<TForm3>();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    form_->move(screen->availableGeometry().center() - form_->rect().center());
  form_->show();
}

void FirmwarePageQt::SetFileText(const std::string& text) {
  if (form_) form_->Label1->setText(QtShownText(text));
}

void FirmwarePageQt::ShowProgress(int maximum) {
  if (!form_) return;
  form_->Progres->setRange(0, std::max(1, maximum));
  form_->Progres->setValue(0);
  form_->Progres->show();
}

void FirmwarePageQt::SetProgress(int position) {
  if (form_) form_->Progres->setValue(std::clamp(position, 0, form_->Progres->maximum()));
}

void FirmwarePageQt::SetStatusText(const std::string& text) {
  if (form_) form_->Label2->setText(QtShownText(text));
}

void FirmwarePageQt::SetMainWindowEnabled(bool enabled) { mainWindow_->setEnabled(enabled); }

void FirmwarePageQt::CloseProgrammingWindow() {
  if (!form_) return;
  form_->Progres->hide();
  form_->Progres->setValue(0);
  // The window may be closed from inside its own events' dispatch; it goes when that is over.
  TForm3* form = form_.release();
  form->close();
  form->deleteLater();
}
