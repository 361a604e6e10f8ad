#pragma once

#include <QColor>
#include <cstdint>
#include <vector>

#include "inspector/ProcessorInspector.h"

class QComboBox;
class QTableWidget;

// Fills the register list CBReg with the 256 register names and leaves nothing selected.
void FillRegisterList(QComboBox* list);

// The processor views in the page grid GridEx1. The grid's size and colours are the window
// layout's; this writes the labels and headers of the view and the cells the replies bring.
class InspectorPageView {
 public:
  // Writes the view of `page` (4, 5 or 6) into the grid: at least minimumRows rows, the
  // labels and headers in fixedColour. Cells filled by replies survive a new layout of the
  // same view; entering another view blanks them.
  void Build(QTableWidget* grid, int page, std::uint8_t typeByte, int minimumRows, const QColor& fixedColour);
  // Writes reply cells; cells outside the grid are left out.
  static void Show(QTableWidget* grid, const std::vector<GridCell>& cells);
  // Forgets the view built last, so that the next Build blanks the grid.
  void Leave() { builtPage_ = 0; }

 private:
  int builtPage_ = 0;
};
