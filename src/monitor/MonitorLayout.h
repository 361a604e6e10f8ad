#pragma once

#include <climits>

// Where the live views stand, in the main window's client coordinates. The main window's
// layout computes it from its pixel rules; the monitor places its widgets from it.
struct MonitorArea {
  bool visible = false;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct MonitorLayout {
  MonitorArea scope;  // PanelSco with the graph, its labels and the history bar
  MonitorArea grid;   // the readings grid
  int gridColumnWidth = 0;
  int gridRowHeight = 0;
  int readingRowsVisible = 0;
  // BtnOpenVis, BtnSaveVis, BtnScope, UpDownX, BtnGrid, BtnWindow in one row.
  bool scopeRowVisible = false;
  int scopeRowTop = 0;
  // The magnifier button, kept right of btnLupMinLeft (the map page's buttons end there).
  bool btnLupVisible = false;
  int btnLupLeft = 0;
  int btnLupTop = 0;
  int btnLupMinLeft = INT_MIN;
  MonitorArea panelLam;  // the lambda bar beside the map
};
