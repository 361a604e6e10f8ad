#pragma once

#include <functional>

#include "link/ControllerLink.h"
#include "model/PageGridQt.h"
#include "model/PageView.h"

// What the map page needs of the main window.
struct MapWindow {
  std::function<void()> closeMagnifier;
  // A column read: the lambda gauge and the magnifier follow the operating point.
  std::function<void(const MapColumnView&)> showReadings;
};

// The map page: the controller's map in the page grid, one column per map request, with the
// operating point's cell marked.
class MapPageQt : public PageView, public PageReplySink {
 public:
  MapPageQt(PageGrid& grid, ControllerLink& link, MapWindow window)
      : grid_(grid), link_(link), window_(std::move(window)) {}

  // The magnifier does not stay over the map.
  void Enter(Page page) override;
  // The headings; the cells come with the columns read.
  void Layout(const MainLayout& layout) override;
  // One column of the map from the controller, and the operating point's cell.
  void ShowMapColumn(const MapColumnView& view) override;
  // The map's cells are numbers the columns hold: no hint over them.
  bool ShowsHints() const override { return false; }

 private:
  PageGrid& grid_;
  ControllerLink& link_;
  MapWindow window_;
};
