#pragma once

#include <functional>
#include <string>

#include "model/WindowLayout.h"

class QFont;
class QLabel;
class QProgressBar;
class QTextEdit;
class QWidget;
class SplitterBar;
struct ModePanelLook;

// The main window's own controls, named as the window design names them: the strip of the
// page tabs TabCon with the mode panel PanelInfo and its read gauge CGRead, the upper panel
// Panel3, the message log Memo1, the splitter, the start page PanelLog (Image1, Memo2) and
// the hint panel PanelHint. They are made in three steps, so
// that they stack with the pages' widgets as the window has always stacked them.
class WindowControls {
 public:
  // TabCon, what `fillStrip` puts into it (the page tabs), PanelInfo, CGRead, Panel3.
  void CreateTop(QWidget* client, const std::function<void(QWidget*)>& fillStrip);
  void CreateLog(QWidget* client);     // Memo1, Splitter, PanelLog, Image1, Memo2
  void CreatePanels(QWidget* client);  // PanelHint

  // The strip, the upper panel and the splitter for the client's width and Panel3's height;
  // the log and the start page as the layout puts them.
  void PlaceTop(int clientWidth, int panel3Height);
  void PlaceLog(const MainLayout& layout);

  void ShowReadProgress(int maximum);
  void SetReadProgress(int position);
  void HideReadProgress();
  // An entry the log ends with is not added again: a port that cannot be opened is tried
  // each information tick, and its entry would fill the log.
  void AddLogLine(const std::string& line);
  std::string LogText() const;
  void ShowModePanel(const ModePanelLook& look);
  // F8 in the mode panel while the page keys are shown.
  void ShowKeyLabel();

  QWidget* TabCon = nullptr;
  QLabel* PanelInfo = nullptr;
  QProgressBar* CGRead = nullptr;
  QWidget* Panel3 = nullptr;
  QTextEdit* Memo1 = nullptr;
  SplitterBar* Splitter = nullptr;
  QWidget* PanelLog = nullptr;
  QLabel* Image1 = nullptr;
  QTextEdit* Memo2 = nullptr;
  QLabel* PanelHint = nullptr;
};
