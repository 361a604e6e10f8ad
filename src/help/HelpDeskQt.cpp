#include "help/HelpDeskQt.h"

#include <QScrollBar>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextEdit>
#include <vector>

#include "base/TextQt.h"
#include "base/UiText.h"
#include "base/UserDialogs.h"
#include "base/UserFolders.h"
#include "help/RtfDocumentQt.h"
#include "help/RtfReader.h"

namespace {

constexpr int kHelpFileTextId = 103;
constexpr int kCannotOpenTextId = 702;
constexpr int kTallReadingsGrid = 240;

}  // namespace

HelpDesk::HelpDesk(HelpDeskLinks links) : links_(std::move(links)) {
  connect(links_.parameterGrid, &QTableWidget::currentCellChanged, this, [this] {
    if (helpWindowOpen_ && helpWindowMode_ == 0 && links_.currentPage() == Page::Parameters)
      helpResyncPending_ = true;
  });
}

HelpDesk::~HelpDesk() = default;

std::string HelpDesk::FileName() { return UiText(kHelpFileTextId); }

std::string HelpDesk::DocumentPath() const {
  return HelpDocumentPath(FileName(), links_.programDir, CurrentFolderFacts());
}

void HelpDesk::LoadStartPage(QTextEdit& memo) {
  memo.clear();
  const std::optional<RtfDocument> doc = LoadRtfFile(DocumentPath());
  helpFileLoaded_ = doc.has_value();
  if (doc)
    ShowRtfDocument(memo, *doc);
  else
    memo.append(QtText(UiTextAndName(kCannotOpenTextId, FileName())));
}

void HelpDesk::SetHelpWindowMode(int mode) { helpWindowMode_ = mode >= 0 && mode <= 2 ? mode : 0; }

bool HelpDesk::TakeResyncRequest() {
  const bool pending = helpResyncPending_;
  helpResyncPending_ = false;
  return pending;
}

void HelpDesk::OpenHelp(bool fromButton) {
  if (fromButton) {
    links_.parameterGrid->setFocus();
    if (!helpFileLoaded_) {
      links_.dialogs->ShowMessage(UiTextAndName(kCannotOpenTextId, FileName()), MessageButtons::Ok);
      return;
    }
  }
  if (!helpWindowOpen_ && helpFileLoaded_ && links_.parameterGrid->hasFocus() &&
      links_.currentPage() == Page::Parameters)
    CreateWindow();
  if (!helpWindowOpen_) return;
  ShowPassage();
  // In mode Hide the window lies behind the main window: F1 and the button bring it forward.
  if (helpWindowMode_ == 1) {
    window_->raise();
    window_->activateWindow();
  }
}

void HelpDesk::CloseWindow() {
  if (window_ && window_->isVisible()) window_->close();
}

void HelpDesk::CreateWindow() {
  window_ = std::make_unique<TForm4>();
  TForm4& w = *window_;
  w.events.shown = [this] { helpWindowOpen_ = true; };
  w.events.closed = [this] { helpWindowOpen_ = false; };
  w.events.functionKey = [this] { links_.dialogs->Beep(); };
  w.events.modePicked = [this](int index) { helpWindowMode_ = index; };

  const std::string name = FileName();
  w.setWindowTitle(QString::fromStdString(name.substr(0, name.find('.'))).toUpper());
  const QPoint mainTopLeft = links_.mainWindow->pos();
  const QRect grid = links_.readingsGrid->geometry();
  int top = mainTopLeft.y() + 70;
  int height = links_.client->height() - 45;
  if (grid.height() >= kTallReadingsGrid) {
    top = mainTopLeft.y() + grid.top() + 30;
    height = grid.height();
  }
  w.resize(std::max(1, grid.width() - 2), std::max(1, height));
  w.move(mainTopLeft.x() + 10, top);
  QFont font = w.RichEdit1->font();
  font.setPointSize(links_.fontSize());
  w.RichEdit1->setFont(font);
  w.SetRadioIndex(helpWindowMode_);
  w.SetStayOnTop(helpWindowMode_ == 0);

  const std::optional<RtfDocument> doc = LoadRtfFile(DocumentPath());
  windowText_ = doc ? doc->text : std::u16string();
  if (doc) ShowRtfDocument(*w.RichEdit1, *doc);
  w.show();
}

void HelpDesk::ShowPassage() {
  QTableWidget& grid = *links_.parameterGrid;
  std::vector<std::u16string> labels(static_cast<std::size_t>(std::max(0, grid.rowCount())));
  for (int r = 0; r < grid.rowCount(); ++r)
    if (const QTableWidgetItem* item = grid.item(r, 0))
      labels[static_cast<std::size_t>(r)] = item->text().toStdU16String();
  const PassageFind found = FindPassage(labels, grid.currentRow(), windowText_);
  if (found.heading) Select(*found.heading);
  if (found.passage) Select(*found.passage);
}

void HelpDesk::Select(const PassageSelection& s) {
  QTextEdit& edit = *window_->RichEdit1;
  edit.setFocus();
  QTextCursor cursor(edit.document());
  cursor.setPosition(static_cast<int>(s.start));
  cursor.setPosition(static_cast<int>(s.start + s.length), QTextCursor::KeepAnchor);
  edit.setTextCursor(cursor);
  edit.ensureCursorVisible();
  // The passage starts at the top of the window rather than at its bottom edge.
  QScrollBar* bar = edit.verticalScrollBar();
  bar->setValue(bar->value() + edit.cursorRect().top() - edit.fontMetrics().height());
}
