#pragma once

#include <QObject>
#include <functional>
#include <vector>

#include "link/ReplyDecoding.h"
#include "model/PageAndMode.h"
#include "model/ParameterBlock.h"
#include "model/ReadingHistory.h"
#include "monitor/HistoryPlayer.h"
#include "monitor/MonitorLayout.h"
#include "monitor/ReadingRows.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QTimer;
class QToolButton;
class QWidget;
class TPerformanceGraph;
class UserDialogs;

// The oscilloscope: the graph with its time and scale labels, the history's scroll bar with
// the player beside it, and its buttons (run and stop, the time scale, the grid lines).
class Oscilloscope : public QObject {
 public:
  struct Context {
    std::function<const ParameterBlock&()> parameters;
    std::function<Page()> page;
    std::function<bool()> service;
    std::function<TraceSettings()> traces;                    // the ticked channels, their colours
    std::function<void(bool running)> runningChanged;         // the scope runs or stops
    std::function<void(const LiveReadings&)> showRecord;      // a record scrolled to
    std::function<void(int registerIndex)> registerOfRecord;  // its register, before it shows
  };
  Oscilloscope(QWidget* parent, Context context, UserDialogs& dialogs, ReadingHistory& history);

  // PanelSco with the graph, its labels and the history bar.
  void Layout(const MonitorArea& scope);
  void ApplyTexts();

  bool Running() const { return running_; }
  void SetRunning(bool running);
  void BtnScopeClick();
  void ScrollBar1Change(int position);
  void UpDownXChanging();
  void BtnGridClick();
  void ScopeCursorMoved(int cursor);
  // A recording was opened: the scope stops at its newest record.
  void ShowOpenedHistory();
  // At start: the history bar at its newest record.
  void ScrollToNewest();

  // A record of page 1 and the readings of pages 2 and 4 as traces.
  void TraceRecord(const LiveReadings& record);
  void TraceView(const std::vector<TracePoint>& points);

  // Playing the stopped history back: the play button beside the scroll bar and Ctrl+P.
  void PlayClick();
  void PlayTick();  // the play timer's tick
  void PageLeft(Page page);
  void PausePlay();
  bool Playing() const { return player_.Playing(); }
  const HistoryPlayer& Player() const { return player_; }
  // The scroll bar's row under the graph: the scroll bar, then the play button and the speed.
  void PlaceHistoryBar(int left, int top, int width, int height);

  QFrame* PanelSco() const { return panelSco_; }
  TPerformanceGraph* Graph() const { return graph_; }
  QLabel* LabelTim() const { return labelTim_; }
  QLabel* LabelXScope() const { return labelXScope_; }
  QScrollBar* ScrollBar() const { return scrollBar_; }
  QPushButton* BtnScope() const { return btnScope_; }
  QSpinBox* UpDownX() const { return upDownX_; }
  QPushButton* BtnGrid() const { return btnGrid_; }
  QToolButton* PlayButton() const { return btnPlay_; }
  QComboBox* SpeedBox() const { return cbSpeed_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowPlayState();

  Context context_;
  UserDialogs& dialogs_;
  ReadingHistory& history_;
  QFrame* panelSco_ = nullptr;
  TPerformanceGraph* graph_ = nullptr;
  QLabel* labelXScope_ = nullptr;
  QLabel* labelTim_ = nullptr;
  QScrollBar* scrollBar_ = nullptr;
  QPushButton* btnScope_ = nullptr;
  QSpinBox* upDownX_ = nullptr;
  QPushButton* btnGrid_ = nullptr;
  QToolButton* btnPlay_ = nullptr;
  QComboBox* cbSpeed_ = nullptr;
  QTimer* playTimer_ = nullptr;
  bool running_ = true;
  HistoryPlayer player_{ReadingHistory::kRecords - 1};
};
