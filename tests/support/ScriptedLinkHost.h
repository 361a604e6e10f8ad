#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/ControllerLink.h"
#include "link/Supervision.h"

// A main window stand-in that records what the link and the supervision ask of it. Set as
// the link's reply sink and page sink too, it records the replies of every page.
class ScriptedLinkHost : public LinkHost, public ReplySink, public PageReplySink, public SupervisionHost {
 public:
  // LinkHost
  void SetTxInterval(int ms) override {
    interval = ms;
    intervals.push_back(ms);
  }
  void SetTxEnabled(bool enabled) override { txEnabled = enabled; }
  bool TxEnabled() const override { return txEnabled; }
  void ApplyConnectionMode(ConnectionMode mode) override {
    modes.push_back(ModeNumber(mode));
    if (onApplyConnectionMode) onApplyConnectionMode(ModeNumber(mode));
  }
  void SetBaseCaption() override { ++baseCaptions; }
  void SetBusyCursor(bool b) override { busy = b; }
  void ShowReadProgress(int maximum) override {
    progressVisible = true;
    progressMax = maximum;
    progress = 0;
  }
  void SetReadProgress(int position) override { progress = position; }
  void HideReadProgress() override {
    progressVisible = false;
    progress = 0;
  }
  void AddLogLine(const std::string& line) override { log.push_back(line); }
  void ShowMessage(const std::string& text) override {
    messages.push_back(text);
    if (onMessage) onMessage(text);
  }
  void Beep() override { ++beeps; }
  void ParametersRead() override { ++parametersRead; }
  void PlausibilityCheck() override { ++plausibilityChecks; }

  // ReplySink
  void SetMagnifierTexts(const std::string& a, const std::string& b) override { magnifier = {a, b}; }
  void HistoryAboutToWrap() override { ++historyWraps; }
  void ScopeCursorMoved(int cursor) override { scopeCursor = cursor; }
  void ShowRecord(const LiveReadings& record) override { records.push_back(record); }
  void ShowConfigurationReadings(const ConfigurationView& view) override {
    configurationReadings.push_back(view);
  }

  // PageReplySink
  void ShowConfiguration(const ConfigurationView& view) override { configurations.push_back(view); }
  void WizardStep() override { ++wizardSteps; }
  void ShowMapColumn(const MapColumnView& view) override { mapColumns.push_back(view); }
  void ShowMemoryBlock(const MemoryBlockView& view) override { memoryBlocks.push_back(view); }
  void ShowPortView(const PortView& view) override { portViews.push_back(view); }

  // SupervisionHost
  bool AutoPortSearch() const override { return autoPortSearch; }
  void ShowPortInComboBox(int port) override { comboPort = port; }
  void SelectSetupPage() override {
    ++setupSelections;
    if (onSelectSetupPage) onSelectSetupPage();
  }
  void ClearLog() override { log.clear(); }
  bool TakeHelpRequest() override {
    const bool pending = helpPending;
    helpPending = false;
    return pending;
  }
  void OpenHelp() override { ++helpOpened; }
  void RestoreTabCaptions() override { ++captionRestores; }
  void ShowModePanel(const ModePanelLook& look) override { panel = look; }
  void HideAutoMessage() override { autoMessage.clear(); }
  bool ReadingsGridVisible() const override { return gridVisible; }
  void ShowAutoMessage(const std::string& text) override { autoMessage = text; }
  void HideHintPanel() override { ++hintHides; }
  void ShowParamAndConfigTabs() override { ++tabsShown; }

  int interval = 0;
  std::vector<int> intervals;
  bool txEnabled = false;
  std::vector<int> modes;
  std::function<void(int)> onApplyConnectionMode;
  std::function<void(const std::string&)> onMessage;
  std::function<void()> onSelectSetupPage;
  int baseCaptions = 0;
  bool busy = false;
  bool progressVisible = false;
  int progressMax = 0, progress = 0;
  std::vector<std::string> log, messages;
  int beeps = 0, parametersRead = 0, plausibilityChecks = 0;
  std::pair<std::string, std::string> magnifier;
  int historyWraps = 0, scopeCursor = -1, wizardSteps = 0;
  std::vector<LiveReadings> records;
  std::vector<ConfigurationView> configurationReadings, configurations;
  std::vector<MapColumnView> mapColumns;
  std::vector<MemoryBlockView> memoryBlocks;
  std::vector<PortView> portViews;
  bool autoPortSearch = false;
  int comboPort = 0, setupSelections = 0;
  bool helpPending = false;
  int helpOpened = 0, captionRestores = 0, hintHides = 0, tabsShown = 0;
  ModePanelLook panel;
  bool gridVisible = true;
  std::string autoMessage;
};
