#include "app/KeyDispatcherQt.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QTableWidget>
#include <QWidget>
#include <QWindow>

#include "app/MainWindowLayOutQt.h"
#include "app/PageTabsQt.h"
#include "app/VirtualKeysQt.h"
#include "app/WindowControlsQt.h"
#include "help/HelpDeskQt.h"
#include "link/ControllerLink.h"
#include "link/Supervision.h"
#include "model/PageGridQt.h"
#include "monitor/LiveMonitorQt.h"
#include "params/ParameterEditorQt.h"
#include "params/ParametersPageQt.h"
#include "setup/SetupPageQt.h"

bool KeyDispatcher::Filter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || event == passedOn_) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  // A key from the window system enters through the window itself, whichever control has the
  // focus and also when none has it (as after a message box closed without a window manager
  // to give the focus back): the key table decides there, and a key it leaves goes on to the
  // control, which does not decide it again.
  if (watched == static_cast<QObject*>(t_.window.windowHandle())) {
    if (KeyDown(VirtualKeyFromQt(key->key(), key->nativeScanCode()))) return true;
    passedOn_ = event;
    watched->event(event);
    passedOn_ = nullptr;
    return true;
  }
  auto* widget = qobject_cast<QWidget*>(watched);
  QWidget* const window = &t_.window;
  if (widget && widget->window() == window && widget->isWindow() == (widget == window)) {
    // The application filter sees a key once per receiver on its way up; take it once.
    if (widget == QApplication::focusWidget() || (widget == window && !QApplication::focusWidget()))
      return KeyDown(VirtualKeyFromQt(key->key(), key->nativeScanCode()));
  }
  return false;
}

KeyContext KeyDispatcher::Context() const {
  KeyContext ctx;
  ctx.currentPage = t_.link.Vars().currentPage;
  ctx.connectionMode = t_.connectionMode();
  ctx.tabParamVisible = t_.tabs.Visible(Page::Parameters);
  ctx.tabConfigVisible = t_.tabs.Visible(Page::Configuration);
  ctx.tabMapVisible = t_.tabs.Visible(Page::Map);
  ctx.tabUpgVisible = t_.tabs.Visible(Page::Firmware);
  return ctx;
}

bool KeyDispatcher::KeyDown(int virtualKey) {
  const KeyAction action = HandleKeyDown(virtualKey, history_, Context());
  if (action == KeyAction::None) return false;
  Carry(action);
  return true;
}

void KeyDispatcher::Carry(KeyAction action) {
  switch (action) {
    case KeyAction::None: break;
    case KeyAction::ShowKeyLabelsAndHelp:
      t_.tabs.ShowKeyLabels();
      t_.controls.ShowKeyLabel();
      t_.supervisor.StartKeyLabelCountdown();
      t_.help.OpenHelp(false);
      break;
    case KeyAction::SelectSetup: t_.changePage(Page::Setup); break;
    case KeyAction::SelectParam: t_.changePage(Page::Parameters); break;
    case KeyAction::SelectConfig: t_.changePage(Page::Configuration); break;
    case KeyAction::SelectMap: t_.changePage(Page::Map); break;
    case KeyAction::SelectUpg: t_.changePage(Page::Firmware); break;
    case KeyAction::FocusGrid: t_.grid.Widget()->setFocus(); break;
    case KeyAction::ModeSwitchOrReconnect: t_.supervisor.PanelInfoClick(); break;
    case KeyAction::NextFontSize:
      t_.setup.CBFont->setCurrentIndex(NextFontIndex(t_.setup.CBFont->currentIndex()));
      t_.layOut.ApplyFontSize();
      t_.layOut.LayOut();
      break;
    case KeyAction::Reconnect: t_.supervisor.RequestReconnect(); break;
    case KeyAction::SwitchListOrder:
      t_.setup.CBList->setCurrentIndex(t_.setup.CBList->currentIndex() == 0 ? 1 : 0);
      t_.layOut.LayOut();
      break;
    case KeyAction::StopLink:
      t_.supervisor.StopLink();
      t_.link.CancelReconnect();
      break;
    case KeyAction::ResetChannelColours: t_.live.ResetColours(); break;
    case KeyAction::SaveRecording: t_.live.BtnSaveVisClick(); break;
    case KeyAction::OpenRecording: t_.live.BtnOpenVisClick(); break;
    case KeyAction::ExportCsv: t_.live.ExportCsv(); break;
    case KeyAction::TogglePlay: t_.live.PlayClick(); break;
    case KeyAction::ServiceReport: t_.serviceReport(); break;
    case KeyAction::ToggleScope: t_.live.BtnScopeClick(); break;
    case KeyAction::StartProgramming: t_.btn1Click(); break;
    case KeyAction::StepDown: t_.parameters.View().StepSelected(0); break;
    case KeyAction::StepUp: t_.parameters.View().StepSelected(1); break;
    case KeyAction::ToggleServiceMode: t_.toggleServiceMode(); break;
  }
}
