#include "params/ParametersPageQt.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>

#include "base/TextQt.h"
#include "base/UiText.h"
#include "params/ParameterTable.h"

namespace {

constexpr int kButtonSide = 24;
constexpr int kBtnHelpWidth = 110;
constexpr int kButtonGap = 4;  // between the help and the report buttons
constexpr int kCaptionPadding = 6;
constexpr int kReportHint = 1411;
constexpr int kPowerDefects = 78;
constexpr int kResetCause = 80;

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int width = kButtonSide) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->resize(width, kButtonSide);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

}  // namespace

ParametersPageQt::ParametersPageQt(ParameterEditor& editor, PageGrid& grid,
                                   std::function<ParameterViewContext()> context, ControllerLink& link,
                                   ParametersWindow window)
    : grid_(grid), link_(link), window_(std::move(window)) {
  QWidget* client = grid_.Widget()->parentWidget();
  BtnOpenPar = MakeButton(client, "BtnOpenPar", "O");
  BtnSavePar = MakeButton(client, "BtnSavePar", "S");
  BtnReadPar = MakeButton(client, "BtnReadPar", "R");
  BtnWritePar = MakeButton(client, "BtnWritePar", "F");
  BtnHelp = MakeButton(client, "BtnHelp", "?", kBtnHelpWidth);
  BtnReport = MakeButton(client, "BtnReport", "P");
  BtnReport->hide();
  buttons_ = {BtnOpenPar, BtnSavePar, BtnReadPar, BtnWritePar, BtnHelp};
  QObject::connect(BtnReadPar, &QPushButton::clicked, [this] { window_.readController(); });
  QObject::connect(BtnOpenPar, &QPushButton::clicked, [this] { window_.openFile(); });
  QObject::connect(BtnSavePar, &QPushButton::clicked, [this] { window_.saveFile(); });
  QObject::connect(BtnWritePar, &QPushButton::clicked, [this] { window_.writeController(); });
  QObject::connect(BtnHelp, &QPushButton::clicked, [this] { window_.openHelp(); });
  QObject::connect(BtnReport, &QPushButton::clicked, [this] { window_.makeReport(); });
  view_ = new ParameterEditorQt(editor, grid_.Widget(), std::move(context));
  // A press on a label, on any page, makes the last plausibility warning possible again.
  grid_.OnLabelPressed([&editor] { editor.ResetLastWarned(); });
}

void ParametersPageQt::ApplyTexts() {
  BtnOpenPar->setToolTip(QtUiText(126));
  BtnSavePar->setToolTip(QtUiText(127));
  BtnReadPar->setToolTip(QtUiText(129));
  BtnWritePar->setToolTip(QtUiText(130));
  BtnHelp->setText(QtUiText(930));
  BtnHelp->setToolTip(QtUiText(931));
  BtnReport->setToolTip(QtUiText(kReportHint));
}

void ParametersPageQt::Leave() { view_->HideControls(); }

void ParametersPageQt::Enter(Page) {}

void ParametersPageQt::Layout(const MainLayout&) { view_->RebuildEditor(); }

std::optional<std::string> ParametersPageQt::HintText(int row, int column) const {
  const ParameterBlock& block = link_.Block();
  if (row == 1 && column == 1 && block[kPowerDefects] != 0 && IsParameterOffered(block, kResetCause))
    return ResetCauseText(block[kResetCause]);
  return std::nullopt;
}

void ParametersPageQt::Shown() { grid_.Widget()->setFocus(); }

void ParametersPageQt::PlaceButtons(const MainLayout& L) {
  for (std::size_t i = 0; i < buttons_.size() && i < L.parameterButtonLefts.size(); ++i) {
    buttons_[i]->setVisible(L.parameterButtonsVisible);
    buttons_[i]->move(L.parameterButtonLefts[i], L.parameterButtonsTop);
  }
  // A wider help button keeps to the window's right edge, clear of the button before it.
  const int helpWidth =
      std::max(kBtnHelpWidth, BtnHelp->fontMetrics().horizontalAdvance(BtnHelp->text()) + kCaptionPadding);
  BtnHelp->resize(helpWidth, BtnHelp->height());
  const int right = BtnHelp->parentWidget()->width();
  BtnHelp->move(std::max(BtnWritePar->geometry().right() + 3, std::min(BtnHelp->x(), right - helpWidth)),
                BtnHelp->y());
  PlaceReportButton(L.parameterButtonsVisible);
}

// The report button follows the help button on its row; where the window's edge leaves no
// room, the help button gives up the width its caption does not need.
void ParametersPageQt::PlaceReportButton(bool visible) {
  BtnReport->setVisible(visible);
  if (!visible) return;
  const int windowWidth = BtnReport->parentWidget()->width();
  const int left = std::min(BtnHelp->geometry().right() + 1 + kButtonGap, windowWidth - kButtonSide);
  const int helpRoom = left - kButtonGap - BtnHelp->x();
  const int captionWidth = BtnHelp->fontMetrics().horizontalAdvance(BtnHelp->text()) + kCaptionPadding;
  if (BtnHelp->width() > helpRoom) BtnHelp->resize(std::max(helpRoom, captionWidth), BtnHelp->height());
  BtnReport->move(std::max(left, BtnHelp->geometry().right() + 1 + kButtonGap), BtnHelp->y());
}
