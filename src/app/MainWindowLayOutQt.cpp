#include "app/MainWindowLayOutQt.h"

#include <QLabel>
#include <QMainWindow>
#include <QTableWidget>
#include <algorithm>

#include "app/AppSettings.h"
#include "app/KeyTable.h"
#include "app/PageButtonStrip.h"
#include "app/PageButtonsQt.h"
#include "app/PageTabsQt.h"
#include "app/WindowControlsQt.h"
#include "autoconfig/AutoConfigPageQt.h"
#include "base/FixedHeadingRowQt.h"
#include "base/GridFitQt.h"
#include "model/PageGridQt.h"
#include "model/PageView.h"
#include "monitor/LiveMonitorQt.h"
#include "params/ParametersPageQt.h"
#include "setup/SetupPageQt.h"

namespace {

MonitorArea Area(const PlacedControl& p) {
  return {p.visible, p.rect.left, p.rect.top, p.rect.width, p.rect.height};
}

// What the live views take of the window's layout; the wizard's buttons have taken their
// width from the oscilloscope's.
MonitorLayout MonitorPart(const MainLayout& L, const PlacedControl& scope) {
  MonitorLayout m;
  m.scope = Area(scope);
  m.grid = Area(L.grid);
  m.gridColumnWidth = L.gridColumnWidth;
  m.gridRowHeight = L.gridRowHeight;
  m.readingRowsVisible = L.readingRowsVisible;
  m.scopeRowVisible = L.scopeRowVisible;
  m.scopeRowTop = L.scopeRowTop;
  m.btnLupVisible = L.btnLupVisible;
  m.btnLupLeft = L.btnLupLeft;
  m.btnLupTop = L.btnLupTop;
  m.panelLam = Area(L.panelLam);
  return m;
}

}  // namespace

void MainWindowLayOut::LayOut() {
  QWidget* client = p_.window.centralWidget();
  const int W = client->width();
  const int H = client->height();
  const int fontSize = FontSize();
  const int panel3Height = std::max(kPanel3MinHeight, std::min(p_.settings.WSize, UpperPanelLimit(H)));

  p_.controls.PlaceTop(W, panel3Height);
  p_.tabs.Place(p_.controls.PanelInfo->x() - kPageButtonGap);

  LayoutInput in;
  in.clientWidth = W;
  in.clientHeight = H;
  in.currentPage = p_.shownPage();
  in.arrangementFlag = arrangement_;
  in.fontSize = fontSize;
  in.splitterTop = kTabConHeight + panel3Height;
  in.selectedRow = std::max(1, p_.grid.Widget()->currentRow());
  in.topRow = TopRow(p_.grid.Widget());
  in.readingsGridNeed = gridNeeds_[0];
  in.parameterGridNeed = gridNeeds_[1];
  layout_ = ComputeMainLayout(in);
  const MainLayout& L = layout_;

  // The wizard's buttons stand right of the oscilloscope: wider ones take from its width.
  PlacedControl scope = L.panelSco;
  scope.rect.width -= p_.wizard.PlaceButtons(L, kTabConHeight + 8);
  p_.grid.Place(L);
  p_.parameters.PlaceButtons(L);
  p_.buttons.Place(L, p_.shownPage());
  MonitorLayout monitor = MonitorPart(L, scope);
  if (p_.shownPage() == Page::Map) monitor.btnLupMinLeft = p_.buttons.LastRight() + PageButtons::kGap;
  p_.live.Layout(monitor);
  p_.controls.PlaceLog(L);
  if (relayingOut_)
    FitPageGrid(true);
  else
    Rebuild();
  p_.grid.ScrollToTopRow(L);
  const Page page = p_.shownPage();
  const std::array<int, 2> needs{L.grid.visible ? p_.live.GridNeed() : 0,
                                 page <= Page::Configuration ? TwoColumnsNeed(p_.grid.Widget()) : 0};
  if (needs != gridNeeds_ && !relayingOut_) {
    gridNeeds_ = needs;
    relayingOut_ = true;
    LayOut();
    relayingOut_ = false;
  }
}

// The editors over the cells are placed while the grid fills, so a grid whose columns had
// to change has them placed once more (the page decides whether it fills the grid again). The readings' rows
// follow bytes 33, 34 and 81 in every path that changes them: then the whole window is laid out, which fills
// the grid as well. The page in view places its widgets and fills the page grid; what another page laid over
// the grid went with that page.
void MainWindowLayOut::Rebuild() {
  if (p_.live.LayoutOutdated()) return LayOut();
  p_.page(p_.shownPage()).Layout(layout_);
  FitPageGrid(false);
}

void MainWindowLayOut::FitPageGrid(bool widthsChanged) {
  PageView& page = p_.page(p_.shownPage());
  if (widthsChanged) page.ColumnsChanged(layout_);
  if (p_.grid.FitColumns(p_.shownPage())) page.ColumnsChanged(layout_);
}

int MainWindowLayOut::FontSize() const {
  bool ok = false;
  const int size = p_.setup.CBFont->currentText().toInt(&ok);
  return ok ? size : kFontSizes[0];
}

void MainWindowLayOut::ApplyFontSize() {
  const int size = FontSize();
  QFont f = p_.window.font();
  f.setPointSize(size);
  p_.window.setFont(f);
  // A widget with a style sheet of its own takes no font from its parent: the tables get it.
  QTableWidget* pageGrid = p_.grid.Widget();
  QFont gridFont = pageGrid->font();
  gridFont.setPointSize(size);
  pageGrid->setFont(gridFont);
  p_.live.SetGridPointSize(size);
}
