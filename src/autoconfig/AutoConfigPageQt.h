#pragma once

#include <functional>

#include "autoconfig/AutoConfiguration.h"
#include "link/ControllerLink.h"
#include "model/PageGridQt.h"
#include "model/PageView.h"

class QProgressBar;
class QPushButton;
class QTableWidget;
class QTextEdit;
class QWidget;

// The main window's controls the wizard shows itself in.
struct WizardWidgets {
  QWidget* client = nullptr;      // where the page's buttons go
  QTextEdit* log = nullptr;       // Memo1
  QProgressBar* gauge = nullptr;  // CGRead
};

// What the wizard needs of the main window beyond its controls.
struct WizardWindow {
  std::function<void()> requestModeSwitch;
  std::function<void()> rebuildEditor;
  std::function<void(ConnectionMode)> applyConnectionMode;
  std::function<std::string()> makeAutomaticBackup;  // the log line naming the file
};

// The configuration page: the wizard, its buttons, its rows in the page grid (the findings in
// value column 1) and the controls it writes to.
class AutoConfigPageQt : public WizardHost, public PageView, public PageReplySink {
 public:
  AutoConfigPageQt(WizardWidgets widgets, PageGrid& grid, WizardWindow window, ControllerLink& link,
                   UserDialogs& dialogs);

  AutoConfiguration& Wizard() { return wizard_; }
  void ApplyTexts() override;
  // The buttons one under another from `top`, at the layout's left edge for them.
  // Returns how much wider than designed the buttons are, for the captions at the font size.
  int PlaceButtons(const MainLayout& layout, int top);

  // PageView: leaving the page hides its buttons and gauge, ends the phase (asking whether to
  // apply after step 3) and clears the log; entering polls the configuration; once shown,
  // the wizard starts from its beginning.
  void Leave() override;
  void Enter(Page page) override;
  // The rows of the configuration, their findings blank until the wizard writes them.
  void Layout(const MainLayout& layout) override;
  void Shown() override;

  // PageReplySink: the wizard judges the configuration replies and takes a step per poll.
  void ShowConfiguration(const ConfigurationView& view) override;
  void WizardStep() override;

  QPushButton *BitBtnConBen = nullptr, *BitBtnConGas = nullptr, *BitBtnNext = nullptr, *BitBtnOk = nullptr,
              *BitBtnCancel = nullptr;

  const ParameterBlock& Parameters() const override;
  void SetParameter(int index, std::uint8_t value) override;
  void RequestModeSwitch() override { window_.requestModeSwitch(); }
  void ClearLog() override;
  void AddLogLine(const std::string& line) override;
  void SetGauge(int maximum, int position) override;
  void SetGaugePosition(int position) override;
  void SetGaugeVisible(bool visible) override;
  void ShowFinding(int row, const std::string& text) override;
  void SelectRow(int row) override;
  void EnableButton(WizardButton button, bool enabled) override;
  void RebuildEditor() override { window_.rebuildEditor(); }
  void ApplyConnectionMode(ConnectionMode mode) override { window_.applyConnectionMode(mode); }
  std::string MakeAutomaticBackup() override { return window_.makeAutomaticBackup(); }

 private:
  WizardWidgets w_;
  QTableWidget* grid_;
  WizardWindow window_;
  ControllerLink& link_;
  AutoConfiguration wizard_;
};
