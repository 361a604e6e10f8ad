#include "app/PageTabsQt.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QToolButton>
#include <tuple>
#include <vector>

#include "app/ConnectionModeLook.h"
#include "app/PageButtonStrip.h"
#include "base/TextQt.h"
#include "base/UiText.h"

namespace {

constexpr int kTabTop = 7;
constexpr int kTabWidth = 108;
constexpr int kTabHeight = 28;

}  // namespace

PageTabs::PageTabs(QWidget* strip) {
  group = new QButtonGroup(strip);
  group->setExclusive(true);
  QFont tabFont("Times New Roman");
  tabFont.setPixelSize(16);
  auto makeTab = [&](const char* name, int left, int width, const QString& caption) {
    auto* b = new QToolButton(strip);
    b->setObjectName(name);
    b->setCheckable(true);
    b->setAutoRaise(false);
    b->setFont(tabFont);
    b->setText(caption);
    b->setGeometry(left, kTabTop, width, kTabHeight);
    b->setFocusPolicy(Qt::NoFocus);
    group->addButton(b);
    b->hide();
    return b;
  };
  TabSet = makeTab("TabSet", 0, kTabWidth, QString());
  TabParam = makeTab("TabParam", 112, kTabWidth, QString());
  TabConfig = makeTab("TabConfig", 224, kTabWidth, QString());
  TabUpg = makeTab("TabUpg", 336, kTabWidth, QString());
  TabMap = makeTab("TabMap", 448, kTabWidth, QString());
  TabProc = makeTab("TabProc", 560, 28, "P");
  TabSet->show();
}

QToolButton* PageTabs::TabOf(Page page) const {
  switch (page) {
    case Page::Setup: return TabSet;
    case Page::Parameters: return TabParam;
    case Page::Configuration: return TabConfig;
    case Page::Map: return TabMap;
    case Page::Port:
    case Page::Sram:
    case Page::Eeprom: return TabProc;
    case Page::Firmware: return TabUpg;
  }
  return nullptr;
}

bool PageTabs::Visible(Page page) const {
  if (page == Page::Sram || page == Page::Eeprom) return false;
  const QToolButton* tab = TabOf(page);
  return tab && !tab->isHidden();
}

void PageTabs::ShowFor(const ConnectionModeLook& look, int limit) {
  TabSet->show();
  TabParam->setVisible(look.paramVisible);
  TabConfig->setVisible(look.configVisible);
  TabMap->setVisible(look.mapVisible);
  TabUpg->setVisible(look.upgVisible);
  TabProc->setVisible(look.procVisible);
  Place(limit);
}

void PageTabs::Place(int limit) {
  std::vector<QToolButton*> tabs;
  std::vector<PageButtonPlace1D> design;
  std::vector<int> captions;
  for (auto [tab, left, width] : {std::tuple{TabSet, 0, kTabWidth}, std::tuple{TabParam, 112, kTabWidth},
                                  std::tuple{TabConfig, 224, kTabWidth}, std::tuple{TabUpg, 336, kTabWidth},
                                  std::tuple{TabMap, 448, kTabWidth}, std::tuple{TabProc, 560, 28}}) {
    if (tab->isHidden()) continue;
    tabs.push_back(tab);
    design.push_back({left, width});
    captions.push_back(QFontMetrics(tab->font()).horizontalAdvance(tab->text()));
  }
  const std::vector<PageButtonPlace1D> placed = PlacePageButtons(design, captions, limit);
  for (std::size_t i = 0; i < tabs.size(); ++i)
    tabs[i]->setGeometry(placed[i].left, kTabTop, placed[i].width, kTabHeight);
}

void PageTabs::ApplyTexts() {
  TabParam->setText(QtUiText(110));
  TabConfig->setText(QtUiText(111));
  TabSet->setText(QtUiText(112));
  TabUpg->setText(QtUiText(115));
  TabMap->setText(QtUiText(113));
}

void PageTabs::ShowKeyLabels() {
  TabSet->setText("F2");
  TabParam->setText("F3");
  TabConfig->setText("F4");
  TabMap->setText("F5");
  TabUpg->setText("F6");
  TabProc->setText(QString());
}

void PageTabs::RestoreCaptions() {
  TabParam->setText(QtUiText(110));
  TabConfig->setText(QtUiText(111));
  TabSet->setText(QtUiText(112));
  TabMap->setText(QtUiText(113));
  TabUpg->setText(QtUiText(115));
  TabProc->setText(QtUiText(114));
}

void PageTabs::SetServiceMode(bool on) {
  if (on) {
    for (QToolButton* b : {TabSet, TabParam, TabConfig, TabMap, TabUpg, TabProc}) b->show();
  } else {
    TabProc->hide();
  }
}
