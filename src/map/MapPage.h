#pragma once

#include <functional>

#include "link/ControllerLink.h"
#include "model/PageView.h"

// What the map page needs of the main window.
struct MapWindow {
  std::function<void()> closeMagnifier;
  std::function<void()> fillGrid;  // the map's cells in the page grid
  // A column read: its cells in the page grid, the lambda gauge and the magnifier.
  std::function<void(const MapColumnView&)> showColumn;
};

// The map page: the controller's map in the page grid, one column per map request, with the
// operating point's cell marked.
class MapPage : public PageView, public PageReplySink {
 public:
  explicit MapPage(MapWindow window) : window_(std::move(window)) {}

  // The magnifier does not stay over the map.
  void Enter(Page page) override;
  void Layout() override { window_.fillGrid(); }
  void ShowMapColumn(const MapColumnView& view) override { window_.showColumn(view); }

 private:
  MapWindow window_;
};
