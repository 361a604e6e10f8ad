#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "base/UserDialogs.h"
#include "link/ReplyDecoding.h"
#include "model/ReadingHistory.h"
#include "monitor/HistoryPlayer.h"
#include "monitor/Orvlpglup.h"
#include "monitor/ReadingRows.h"
#include "monitor/RecordingTransfer.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QTableWidget;
class QTimer;
class QToolButton;
class QWidget;
class TCGauge;
class TPerformanceGraph;

// The main window's controls that the live views drive.
struct LiveWidgets {
  QWidget* window = nullptr;  // the main window
  QTableWidget* Grid = nullptr;
  TPerformanceGraph* Graph1 = nullptr;
  QLabel* LabelTim = nullptr;
  QLabel* LabelXScope = nullptr;
  QScrollBar* ScrollBar1 = nullptr;
  QPushButton* BtnScope = nullptr;
  QSpinBox* UpDownX = nullptr;
  QComboBox* CBReg = nullptr;
  QLabel* PanelErr = nullptr;
  QLabel* PanelAuto = nullptr;
  QLabel* PanelHint = nullptr;
  QWidget* PanelLam = nullptr;  // holds CGLam
  std::array<QCheckBox*, kChannelCount> checks{};
  std::array<QFrame*, kChannelCount> swatches{};
  std::array<TCGauge*, kGaugeCount> gauges{};
};

// What the live views ask of the main window, beyond what the recordings ask.
struct LiveHooks : RecordingHooks {
  std::function<Page()> page;
  std::function<std::string()> filePrefix;  // EDFile
  std::function<bool()> autoSave;           // CBFAut
};

// The readings grid with its gauges, the oscilloscope with its history, the magnifier and
// the recording files.
class LiveMonitor : public QObject {
 public:
  LiveMonitor(LiveWidgets widgets, LiveHooks hooks, UserDialogs& dialogs, ReadingHistory& history,
              std::array<std::int32_t, kChannelCount>& colours);
  ~LiveMonitor() override;

  // Readings grid.
  void LayoutReadings(bool show, int rowHeight, int rowsVisible);
  // True when the shown rows were laid out for other configuration bytes (33, 34, 81, the
  // options), another page or service mode than the present ones.
  bool LayoutOutdated() const;
  void ShowRecord(const LiveReadings& record, bool refreshCells);
  void ShowConfiguration(const ConfigurationView& view, bool hideSpeed);
  void ShowPortView(const PortView& view);
  // The map reply: the lambda bar beside the map, and the magnifier's speed and vacuum texts
  // while it is open.
  void ShowMapReadings(const MapColumnView& view);
  void GridMouseMove(int x, int y);  // y from the grid's top edge
  void HideHint();
  const ReadingRowKinds& RowKinds() const { return kinds_; }
  // The width the grid needs to show the page's texts whole (0 before the first layout).
  int GridNeed() const { return gridNeed_; }

  // Oscilloscope.
  bool Running() const { return running_; }
  void BtnScopeClick();
  void ScrollBar1Change(int position);
  void UpDownXChanging();
  void BtnGridClick();
  void SwatchClick(int channel);
  void ResetColours();  // Ctrl+W
  void ApplyColours();  // swatches and gauges from the channel colours
  void ScopeCursorMoved(int cursor);

  // Playing the stopped history back: the play button beside the scroll bar and Ctrl+P.
  void PlayClick();
  void PlayTick();  // the play timer's tick
  void PageLeft(Page page);
  bool Playing() const { return player_.Playing(); }
  const HistoryPlayer& Player() const { return player_; }
  QToolButton* PlayButton() const { return btnPlay_; }
  QComboBox* SpeedBox() const { return cbSpeed_; }
  // The scroll bar's row under the graph: the scroll bar, then the play button and the speed.
  void PlaceHistoryBar(int left, int top, int width, int height);

  // Magnifier.
  void BtnLupClick();
  void CloseMagnifier();
  bool MagnifierShown() const;
  void SetMagnifierTexts(const std::string& first, const std::string& second);
  const MagnifierLines& Lines() const { return lines_; }
  TForm2* Magnifier() const { return magnifier_; }

  // Recording files and the CSV export.
  void BtnSaveVisClick();
  // named: the file to open without the dialog.
  void BtnOpenVisClick(const std::optional<std::string>& named = std::nullopt);
  void HistoryAboutToWrap();  // automatic save of a full history
  void ExportCsv();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetCell(int column, int row, const std::string& text);
  std::string CellText(int column, int row) const;
  void SetGauge(int gauge, int value);
  void TraceRecord(const LiveReadings& record);
  void TraceView(const std::vector<TracePoint>& points);
  void FitColumns(Page page, bool scrolling);
  void PlaceOverlays();
  void HideOverlays();
  int TopRow() const;
  void SetRunning(bool running);
  ReadingsConfig Config(Page page) const;
  TraceSettings Traces() const;
  std::string ProposedName(const char* extension) const;
  void PausePlay();
  void ShowPlayState();

  LiveWidgets w_;
  LiveHooks hooks_;
  UserDialogs& dialogs_;
  ReadingHistory& history_;
  std::array<std::int32_t, kChannelCount>& colours_;
  MagnifierLines lines_;
  TForm2* magnifier_ = nullptr;
  ReadingRowKinds kinds_{};
  ReadingsConfig config_;
  int rowHeight_ = 20;
  int rowsVisible_ = 0;
  int gridNeed_ = 0;
  bool shown_ = false;
  bool laying_ = false;
  bool running_ = true;
  int hintRow_ = -1, hintColumn_ = -1;
  bool hintDismissed_ = false;
  HistoryPlayer player_{ReadingHistory::kRecords - 1};
  QTimer* playTimer_ = nullptr;
  QToolButton* btnPlay_ = nullptr;
  QComboBox* cbSpeed_ = nullptr;
};
