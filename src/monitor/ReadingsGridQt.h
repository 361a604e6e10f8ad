#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "link/ReplyDecoding.h"
#include "model/PageAndMode.h"
#include "model/ParameterBlock.h"
#include "model/ReadingHistory.h"
#include "monitor/MonitorLayout.h"
#include "monitor/ReadingRows.h"

class QCheckBox;
class QComboBox;
class QFont;
class QFrame;
class QLabel;
class QTableWidget;
class QWidget;
class TCGauge;
class UserDialogs;

// The readings grid with its gauges, the channels' check boxes and colour swatches, the
// register list of the service row and the panels over the grid (probe error, automatic
// mode message). The hint panel is lent: the parameter view shows its hints in it too.
class ReadingsGrid : public QObject {
 public:
  struct Context {
    std::function<const ParameterBlock&()> parameters;
    std::function<Page()> page;
    std::function<bool()> service;
  };
  ReadingsGrid(QWidget* parent, QLabel* hint, Context context, UserDialogs& dialogs,
               std::array<std::int32_t, kChannelCount>& colours);

  // The grid and the lambda bar; the rows of the page follow with LayoutReadings.
  void Layout(const MonitorLayout& layout);
  void LayoutReadings(bool show, int rowHeight, int rowsVisible);
  // True when the shown rows were laid out for other configuration bytes (33, 34, 81, the
  // options), another page or service mode than the present ones.
  bool LayoutOutdated() const;
  const ReadingRowKinds& RowKinds() const { return kinds_; }
  // The width the grid needs to show the page's texts whole (0 before the first layout).
  int GridNeed() const { return gridNeed_; }
  bool Visible() const;

  // The cells and gauges of each reply, on the page that shows it.
  void ShowRecordCells(const LiveReadings& record);
  void ShowConfigurationCells(const ConfigurationView& view, bool hideSpeed);
  void ShowPortCells(const PortView& view);
  void ShowLambda(int gauge);  // the map page's lambda bar

  void GridMouseMove(int x, int y);  // y from the grid's top edge
  void HideHint();
  // The message over one cell of the grid; one wider than the cell shows whole in a smaller
  // font than the window's.
  void ShowAutoMessage(const std::string& text, const QFont& windowFont);
  void HideAutoMessage();

  // The channels the oscilloscope draws, in their colours.
  TraceSettings Traces() const;
  bool Ticked(int channel) const;
  void SetTicked(int channel, bool ticked);
  void SwatchClick(int channel);
  void ResetColours();  // Ctrl+W
  void ApplyColours();  // swatches and gauges from the channel colours
  void ApplyTpsColour();

  // The service row's register: chosen in the list, or by the record a scroll shows.
  int RegisterChoice() const;
  void ChooseRegister(int index);
  std::function<void(int)> registerChosen;  // the list's choice changed

  QTableWidget* Grid() const { return grid_; }
  QComboBox* RegisterList() const { return cbReg_; }
  QLabel* PanelErr() const { return panelErr_; }
  QLabel* PanelAuto() const { return panelAuto_; }
  QWidget* PanelLam() const { return panelLam_; }
  const std::array<QCheckBox*, kChannelCount>& Checks() const { return checks_; }
  const std::array<QFrame*, kChannelCount>& Swatches() const { return swatches_; }
  const std::array<TCGauge*, kGaugeCount>& Gauges() const { return gauges_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetCell(int column, int row, const std::string& text);
  std::string CellText(int column, int row) const;
  void SetGauge(int gauge, int value);
  void FitColumns(Page page, bool scrolling);
  void PlaceOverlays();
  void HideOverlays();
  int TopRow() const;
  ReadingsConfig Config(Page page) const;

  Context context_;
  UserDialogs& dialogs_;
  std::array<std::int32_t, kChannelCount>& colours_;
  QTableWidget* grid_ = nullptr;
  QLabel* hint_ = nullptr;
  QLabel* panelErr_ = nullptr;
  QLabel* panelAuto_ = nullptr;
  QWidget* panelLam_ = nullptr;  // holds CGLam
  QComboBox* cbReg_ = nullptr;
  std::array<QCheckBox*, kChannelCount> checks_{};
  std::array<QFrame*, kChannelCount> swatches_{};
  std::array<TCGauge*, kGaugeCount> gauges_{};
  ReadingRowKinds kinds_{};
  ReadingsConfig config_;
  int rowHeight_ = 20;
  int rowsVisible_ = 0;
  int gridNeed_ = 0;
  bool shown_ = false;
  bool laying_ = false;
  int hintRow_ = -1, hintColumn_ = -1;
  bool hintDismissed_ = false;
};
