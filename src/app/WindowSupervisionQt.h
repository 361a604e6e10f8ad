#pragma once

#include <functional>

#include "link/Supervision.h"

class HelpDesk;
class LiveMonitor;
class PageTabs;
class QWidget;
class SetupPageQt;
class WindowControls;

// What the connection supervisor asks of the main window, answered by the controls that
// show it: the set-up page's port and search boxes, the log and the mode panel, the page
// tabs, the help and the live views' messages.
class WindowSupervision : public SupervisionHost {
 public:
  WindowSupervision(QWidget& window, SetupPageQt& setup, WindowControls& controls, PageTabs& tabs,
                    HelpDesk& help, LiveMonitor& live, std::function<void()> selectSetupPage)
      : window_(window),
        setup_(setup),
        controls_(controls),
        tabs_(tabs),
        help_(help),
        live_(live),
        selectSetupPage_(std::move(selectSetupPage)) {}

  bool AutoPortSearch() const override;
  void ShowPortInComboBox(int port) override;
  void SelectSetupPage() override { selectSetupPage_(); }
  void ClearLog() override;
  bool TakeHelpRequest() override;
  void OpenHelp() override;
  void RestoreTabCaptions() override;
  void ShowModePanel(const ModePanelLook& look) override;
  void HideAutoMessage() override;
  bool ReadingsGridVisible() const override;
  void ShowAutoMessage(const std::string& text) override;
  void HideHintPanel() override;
  void ShowParamAndConfigTabs() override;

 private:
  QWidget& window_;
  SetupPageQt& setup_;
  WindowControls& controls_;
  PageTabs& tabs_;
  HelpDesk& help_;
  LiveMonitor& live_;
  std::function<void()> selectSetupPage_;  // TabSetClick
};
