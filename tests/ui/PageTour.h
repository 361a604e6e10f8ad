#pragma once

// A walk through every page of the main window against the controller simulator, as a fitter
// would take it: set-up, parameters with the live readings and traces, configuration, map,
// the processor's PORT, SRAM and EEPROM views in the service mode, and the firmware page.

#include <QCheckBox>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <functional>
#include <string>

#include "app/DesignFontsQt.h"
#include "app/Orvlpgmain.h"
#include "monitor/LiveMonitorQt.h"
#include "support/SimulatorProcess.h"
#include "support/TempFolder.h"
#include "ui/UiTestSupport.h"

// The window in the design's fonts against a simulator of its own.
struct TourRig : SimulatorWindow {
  // programDir: where the firmware page lists its images.
  ::testing::AssertionResult Start(const std::string& programDir = "/tmp") {
    TestApplication();
    ApplyDesignFonts();
    return SimulatorWindow::Start(programDir);
  }
};

struct TourPage {
  const char* name;  // the page's file name part: docs/page-<name>.png
  std::function<void(TForm1&)> open;
  Page page;  // CurrentPage() once open
};

// The pages are opened by clicking their buttons, as the fitter does; the processor page
// needs the service mode, which the fitter types as O R V S.
inline const std::vector<TourPage>& TourPages() {
  static const std::vector<TourPage> pages = {
      {"setup", [](TForm1& f) { f.TabOfPage(Page::Setup)->click(); }, Page::Setup},
      {"parameters", [](TForm1& f) { f.TabOfPage(Page::Parameters)->click(); }, Page::Parameters},
      {"configuration", [](TForm1& f) { f.TabOfPage(Page::Configuration)->click(); }, Page::Configuration},
      {"map", [](TForm1& f) { f.TabOfPage(Page::Map)->click(); }, Page::Map},
      {"port",
       [](TForm1& f) {
         if (!f.ServiceModeOn())
           for (int key : {'O', 'R', 'V', 'S'}) f.FormKeyDown(key);
         f.TabOfPage(Page::Port)->click();
         Control<QPushButton>(f, "Btn1")->click();
       },
       Page::Port},
      {"sram", [](TForm1& f) { Control<QPushButton>(f, "Btn2")->click(); }, Page::Sram},
      {"eeprom", [](TForm1& f) { Control<QPushButton>(f, "Btn3")->click(); }, Page::Eeprom},
      {"firmware",
       [](TForm1& f) {
         if (f.ServiceModeOn())
           for (int key : {'O', 'R', 'V', 'S'}) f.FormKeyDown(key);
         f.TabOfPage(Page::Firmware)->click();
       },
       Page::Firmware},
  };
  return pages;
}

// Waits for the controller's parameters and shows the traces of speed, probe and motor on
// the oscilloscope.
inline bool PrepareTour(TourRig& rig) {
  if (!RunUntil([&] { return rig.ReadInFull(); })) return false;
  TForm1& f = rig.Form();
  for (int channel : {kChRpm, kChLam, kChMot}) f.Live().Widgets().checks[channel]->setChecked(true);
  return true;
}

// Waits until the simulator has received `polls` more frames.
inline bool RunPolls(TourRig& rig, std::size_t polls) {
  const std::size_t until = rig.sim.Frames() + polls;
  return RunUntil([&] { return rig.sim.Frames() >= until; });
}

// Opens each page in turn, lets the link fill it with `polls` requests (a page that stops the
// link gets none) and hands it to `visit`.
inline void TourEveryPage(TourRig& rig, std::size_t polls,
                          const std::function<void(const TourPage&)>& visit) {
  TForm1& f = rig.Form();
  for (const TourPage& page : TourPages()) {
    page.open(f);
    if (f.Link().Vars().linkState != link_state::kStopped) RunPolls(rig, polls);
    visit(page);
  }
}
