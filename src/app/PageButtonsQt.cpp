#include "app/PageButtonsQt.h"

#include <QFontMetrics>
#include <QPushButton>
#include <algorithm>

#include "base/TextQt.h"
#include "base/UiText.h"
#include "inspector/ProcessorInspector.h"

PageButtons::PageButtons(QWidget* parent, std::function<void(int)> clicked) {
  for (int i = 0; i < 3; ++i) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString("Btn%1").arg(i + 1));
    b->resize(kPageButtonWidth, kPageButtonHeight);
    b->setFocusPolicy(Qt::NoFocus);
    QObject::connect(b, &QPushButton::clicked, [clicked, i] { clicked(i + 1); });
    buttons_[static_cast<std::size_t>(i)] = b;
  }
}

void PageButtons::ApplyTexts() {
  for (int i = 0; i < 3; ++i) buttons_[static_cast<std::size_t>(i)]->setText(QtUiText(135 + i));
}

void PageButtons::Place(const MainLayout& L, Page page) {
  constexpr int kCaptionPadding = 6;
  for (std::size_t i = 0; i < 3; ++i) {
    QPushButton* b = buttons_[i];
    const PageButtonPlace& p = L.pageButtons[i];
    b->setVisible(p.visible);
    if (!p.visible) continue;
    b->setGeometry(p.rect.left, p.rect.top, p.rect.width, p.rect.height);
    b->setText(p.captionId ? QtUiText(p.captionId) : QtText(p.caption));
    // As wide as designed, or wider when the caption needs more room in the window's font.
    b->resize(std::max(kPageButtonWidth, b->fontMetrics().horizontalAdvance(b->text()) + kCaptionPadding),
              b->height());
  }
  // A widened button moves the ones beside it along: those after it on the map and firmware
  // pages, those before it on the processor pages, whose buttons end at the right edge.
  const bool fromRight = IsInspectorPage(page);
  QWidget* window = buttons_[0]->window();
  for (int n = 0, edge = fromRight ? buttons_[0]->parentWidget()->width() - 1 : 0; n < 3; ++n) {
    QPushButton* b = buttons_[static_cast<std::size_t>(fromRight ? 2 - n : n)];
    if (!b->isVisibleTo(window)) continue;
    b->move(fromRight ? std::min(b->x(), edge - b->width()) : std::max(b->x(), edge), b->y());
    edge = fromRight ? b->x() - kGap : b->geometry().right() + 1 + kGap;
  }
}

int PageButtons::LastRight() const { return buttons_[2]->geometry().right() + 1; }
