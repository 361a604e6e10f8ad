#pragma once

#include <functional>

#include "autoconfig/AutoConfiguration.h"

class QProgressBar;
class QPushButton;
class QTableWidget;
class QTextEdit;

// The main window's controls the wizard shows itself in.
struct WizardWidgets {
  QTextEdit* log = nullptr;       // Memo1
  QProgressBar* gauge = nullptr;  // CGRead
  QTableWidget* grid = nullptr;   // GridEx1, value column 1
  QPushButton* next = nullptr;    // BitBtnNext
  QPushButton* ok = nullptr;      // BitBtnOk
  QPushButton* cancel = nullptr;  // BitBtnCancel
};

// What the wizard needs of the main window beyond its controls.
struct WizardWindow {
  std::function<ParameterBlock&()> parameters;
  std::function<void()> requestModeSwitch;
  std::function<void()> rebuildEditor;
  std::function<void(ConnectionMode)> applyConnectionMode;
  std::function<std::string()> makeAutomaticBackup;  // the log line naming the file
};

// The configuration page: the wizard and the controls it writes to.
class AutoConfigPageQt : public WizardHost {
 public:
  AutoConfigPageQt(WizardWidgets widgets, WizardWindow window, UserDialogs& dialogs);

  AutoConfiguration& Wizard() { return wizard_; }

  ParameterBlock& Parameters() override { return window_.parameters(); }
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
  WizardWindow window_;
  AutoConfiguration wizard_;
};
