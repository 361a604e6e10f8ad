#pragma once

#include <QColor>
#include <QFont>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "inspector/ProcessorInspector.h"
#include "link/ControllerLink.h"
#include "model/PageGridQt.h"
#include "model/PageView.h"

class QComboBox;
class QTableWidget;
class QTableWidgetItem;

// Fills the register list CBReg with the 256 register names and leaves nothing selected.
void FillRegisterList(QComboBox* list);

// The processor views in the page grid GridEx1. The grid's size and colours are the window
// layout's; this writes the labels and headers of the view and the cells the replies bring.
class InspectorPageView {
 public:
  // Writes the view of `page` (port, SRAM or EEPROM) into the grid: at least minimumRows rows, the
  // labels and headers in fixedColour. Cells filled by replies survive a new layout of the
  // same view; entering another view blanks them.
  void Build(QTableWidget* grid, Page page, std::uint8_t typeByte, int minimumRows,
             const QColor& fixedColour);
  // Writes reply cells; cells outside the grid are left out.
  void Show(QTableWidget* grid, const std::vector<GridCell>& cells) const;
  // The grid is about to show another page: the processor cells go, the grid's normal cell
  // texts come back.
  void Leave(QTableWidget* grid);

 private:
  void Style(QTableWidgetItem* item) const;

  std::optional<Page> builtPage_;  // none while the grid shows another page
  // The memory views' narrow columns take three digits in a font that fits them.
  bool compact_ = false;
  QFont cellFont_;
};

// What the processor views need of the main window.
struct InspectorWindow {
  // The port view's voltages and gauges in the readings and its trace in the graph.
  std::function<void(const PortView&)> showPortReadings;
};

// The processor pages (port, SRAM, EEPROM): each polled with its own link state, shown in
// the page grid, the keyboard with the grid.
class InspectorPageQt : public PageView, public PageReplySink {
 public:
  InspectorPageQt(PageGrid& grid, ControllerLink& link, InspectorWindow window)
      : grid_(grid.Widget()), link_(link), window_(std::move(window)) {}

  // The grid goes to another page: the processor cells go with this one. From one processor
  // view to another the grid stays here, and a view entered again keeps its cells.
  void GridReturned() override { view_.Leave(grid_); }
  void Enter(Page page) override;
  // The view's labels and headers in the layout's colour of the fixed cells, in at least
  // the rows the grid shows.
  void Layout(const MainLayout& layout) override;
  void Shown() override;
  // The memory views' numbers show whole: a hint only over the port view's texts.
  bool ShowsHints() const override { return link_.Vars().currentPage == Page::Port; }
  void Show(const std::vector<GridCell>& cells) const { view_.Show(grid_, cells); }

  // PageReplySink: the blocks and port pins of the view in the grid.
  void ShowMemoryBlock(const MemoryBlockView& view) override;
  void ShowPortView(const PortView& view) override;

 private:
  QTableWidget* grid_;
  ControllerLink& link_;
  InspectorWindow window_;
  InspectorPageView view_;
};
