#include "app/WindowSupervisionQt.h"

#include <QComboBox>
#include <QTextEdit>
#include <QToolButton>

#include "app/PageTabsQt.h"
#include "app/WindowControlsQt.h"
#include "help/HelpDeskQt.h"
#include "monitor/LiveMonitorQt.h"
#include "setup/SetupPageQt.h"

bool WindowSupervision::AutoPortSearch() const { return setup_.CBCAut->currentIndex() == 1; }

void WindowSupervision::ShowPortInComboBox(int port) { setup_.ShowPort(port); }

void WindowSupervision::ClearLog() { controls_.Memo1->clear(); }

bool WindowSupervision::TakeHelpRequest() { return help_.TakeResyncRequest(); }

// The help follows the selection while the keyboard stays with the main window.
void WindowSupervision::OpenHelp() {
  help_.OpenHelp(false);
  window_.activateWindow();
}

void WindowSupervision::RestoreTabCaptions() { tabs_.RestoreCaptions(); }

void WindowSupervision::ShowModePanel(const ModePanelLook& look) { controls_.ShowModePanel(look); }

void WindowSupervision::HideAutoMessage() { live_.HideAutoMessage(); }

bool WindowSupervision::ReadingsGridVisible() const { return live_.GridVisible(); }

// The message stands over one cell of the readings grid, in the window's font.
void WindowSupervision::ShowAutoMessage(const std::string& text) {
  live_.ShowAutoMessage(text, window_.font());
}

void WindowSupervision::HideHintPanel() { live_.HideHint(); }

void WindowSupervision::ShowParamAndConfigTabs() {
  tabs_.TabParam->show();
  tabs_.TabConfig->show();
}
