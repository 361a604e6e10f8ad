#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/UserDialogs.h"
#include "link/ControllerLink.h"
#include "link/ReplyDecoding.h"
#include "model/ReadingHistory.h"
#include "monitor/HistoryPlayer.h"
#include "monitor/MonitorLayout.h"
#include "monitor/Orvlpglup.h"
#include "monitor/OscilloscopeQt.h"
#include "monitor/ReadingRows.h"
#include "monitor/ReadingsGridQt.h"
#include "monitor/RecordingTransfer.h"

class QCheckBox;
class QComboBox;
class QFont;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QTableWidget;
class QToolButton;
class QWidget;
class TCGauge;
class TPerformanceGraph;

// The live views' widgets, for the window's help and for tests; the views own them.
struct LiveWidgets {
  QTableWidget* Grid = nullptr;
  QFrame* PanelSco = nullptr;
  TPerformanceGraph* Graph1 = nullptr;
  QLabel* LabelTim = nullptr;
  QLabel* LabelXScope = nullptr;
  QScrollBar* ScrollBar1 = nullptr;
  QPushButton *BtnOpenVis = nullptr, *BtnSaveVis = nullptr, *BtnScope = nullptr, *BtnGrid = nullptr,
              *BtnWindow = nullptr, *BtnLup = nullptr;
  QSpinBox* UpDownX = nullptr;
  QComboBox* CBReg = nullptr;
  QLabel* PanelErr = nullptr;
  QLabel* PanelAuto = nullptr;
  QLabel* PanelHint = nullptr;  // lent by the window
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
  // The configuration reply's speed is not shown (the wizard counts the idle speed).
  std::function<bool()> idleSpeedHidden;
  std::function<void()> arrangementClicked;  // BtnWindow
};

// What the settings file keeps of the live views.
struct LiveSettings {
  int ramIndex = -1;  // CBReg
  int trackX = 1;     // UpDownX
  std::array<bool, kChannelCount> lines{};
};

// The live data: the readings grid with its gauges, the oscilloscope with the history's
// player, and beside them the magnifier and the recording files. It takes the link's
// replies (ReplySink) and tells the link what the views choose.
class LiveMonitor : public QObject, public ReplySink {
 public:
  // window: the main window, beside which the magnifier opens; client: where the widgets
  // stand; hint: the hint panel the parameter view shares.
  LiveMonitor(QWidget* window, QWidget* client, QLabel* hint, LiveHooks hooks, UserDialogs& dialogs,
              ReadingHistory& history, std::array<std::int32_t, kChannelCount>& colours);
  ~LiveMonitor() override;

  // The link's replies come here from now on, and the link is told what the views choose:
  // the register, whether the scope advances, whether the magnifier is open.
  void AttachLink(ControllerLink& link);

  // ReplySink
  void ShowRecord(const LiveReadings& record) override { ShowRecord(record, true); }
  void ShowConfigurationReadings(const ConfigurationView& view) override;
  void SetMagnifierTexts(const std::string& first, const std::string& second) override;
  void HistoryAboutToWrap() override;  // automatic save of a full history
  void ScopeCursorMoved(int cursor) override { scope_->ScopeCursorMoved(cursor); }

  // Placing, texts and settings.
  void Layout(const MonitorLayout& layout);
  void ApplyTexts();
  void ApplySettings(const LiveSettings& settings);
  LiveSettings Settings() const;
  void SetGridPointSize(int size);
  const LiveWidgets& Widgets() const { return w_; }
  QComboBox* RegisterList() const { return readings_->RegisterList(); }
  ReadingsGrid& Readings() { return *readings_; }
  Oscilloscope& Scope() { return *scope_; }

  // Readings grid.
  void LayoutReadings(bool show, int rowHeight, int rowsVisible) {
    readings_->LayoutReadings(show, rowHeight, rowsVisible);
  }
  bool LayoutOutdated() const { return readings_->LayoutOutdated(); }
  void ShowRecord(const LiveReadings& record, bool refreshCells);
  void ShowConfiguration(const ConfigurationView& view, bool hideSpeed);
  void ShowPortView(const PortView& view);
  // The map reply: the lambda bar beside the map, and the magnifier's speed and vacuum texts
  // while it is open.
  void ShowMapReadings(const MapColumnView& view);
  void GridMouseMove(int x, int y) { readings_->GridMouseMove(x, y); }
  void HideHint() { readings_->HideHint(); }
  const ReadingRowKinds& RowKinds() const { return readings_->RowKinds(); }
  int GridNeed() const { return readings_->GridNeed(); }
  bool GridVisible() const { return readings_->Visible(); }
  void ShowAutoMessage(const std::string& text, const QFont& windowFont) {
    readings_->ShowAutoMessage(text, windowFont);
  }
  void HideAutoMessage() { readings_->HideAutoMessage(); }
  void SwatchClick(int channel) { readings_->SwatchClick(channel); }
  void ResetColours() { readings_->ResetColours(); }  // Ctrl+W
  void ApplyColours() { readings_->ApplyColours(); }  // swatches and gauges from the channel colours

  // Oscilloscope.
  bool Running() const { return scope_->Running(); }
  void BtnScopeClick() { scope_->BtnScopeClick(); }
  void ScrollBar1Change(int position) { scope_->ScrollBar1Change(position); }
  void UpDownXChanging() { scope_->UpDownXChanging(); }
  void BtnGridClick() { scope_->BtnGridClick(); }
  void ScrollToNewest() { scope_->ScrollToNewest(); }
  void PlayClick() { scope_->PlayClick(); }
  void PlayTick() { scope_->PlayTick(); }
  void PageLeft(Page page) { scope_->PageLeft(page); }
  bool Playing() const { return scope_->Playing(); }
  const HistoryPlayer& Player() const { return scope_->Player(); }
  QToolButton* PlayButton() const { return scope_->PlayButton(); }
  QComboBox* SpeedBox() const { return scope_->SpeedBox(); }

  // Magnifier.
  void BtnLupClick();
  void CloseMagnifier();
  bool MagnifierShown() const;
  const MagnifierLines& Lines() const { return lines_; }
  TForm2* Magnifier() const { return magnifier_; }

  // Recording files and the CSV export.
  void BtnSaveVisClick();
  // named: the file to open without the dialog.
  void BtnOpenVisClick(const std::optional<std::string>& named = std::nullopt);
  void ExportCsv();

 private:
  std::string ProposedName(const char* extension) const;
  void PlaceScopeRow(const MonitorLayout& layout);

  QWidget* window_;
  LiveHooks hooks_;
  UserDialogs& dialogs_;
  ReadingHistory& history_;
  ControllerLink* link_ = nullptr;
  std::unique_ptr<ReadingsGrid> readings_;
  std::unique_ptr<Oscilloscope> scope_;
  QPushButton* btnOpenVis_ = nullptr;
  QPushButton* btnSaveVis_ = nullptr;
  QPushButton* btnWindow_ = nullptr;
  QPushButton* btnLup_ = nullptr;
  LiveWidgets w_;
  MagnifierLines lines_;
  TForm2* magnifier_ = nullptr;
};
