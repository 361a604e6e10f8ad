#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "app/KeyTable.h"
#include "base/AtomicFile.h"
#include "base/UiText.h"
#include "monitor/CGaugeQt.h"
#include "monitor/LiveMonitorQt.h"
#include "monitor/PerformanceGraphQt.h"
#include "monitor/PlatformColourQt.h"
#include "monitor/RecordingFile.h"
#include "support/FakeSerialPort.h"
#include "support/SimulatorProcess.h"
#include "ui/UiTestSupport.h"

namespace {

bool ImageHasColour(const QImage& image, const QRect& area, const QColor& colour) {
  const QImage part = image.copy(area).convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < part.height(); ++y)
    for (int x = 0; x < part.width(); ++x)
      if (part.pixelColor(x, y) == colour) return true;
  return false;
}

TEST(LiveAgainstSimulatorTest, theHistoryFillsAndTheTracesAreDrawn) {
  SimulatorWindow run;
  ASSERT_TRUE(run.Start());
  SimulatorProcess& sim = run.sim;
  TempFolder& folder = run.folder;
  WindowUnderTest& window = run.window;
  TForm1& f = run.Form();
  f.resize(700, 520);
  f.Live().Widgets().UpDownX->setValue(3);
  f.Live().Widgets().checks[kChRpm]->setChecked(true);
  f.Live().Widgets().checks[kChLam]->setChecked(true);
  f.Live().Widgets().checks[kChMot]->setChecked(true);
  ASSERT_TRUE(RunUntil([&] {
    return f.ConnectionMode() == ConnectionMode::Controller && f.CurrentPage() == Page::Parameters;
  }));
  ASSERT_TRUE(RunUntil(
      [&] { return RowText(f.Live().Widgets().Grid, UiText(210)).find(UiText(150)) != std::string::npos; }));
  const std::size_t polled = sim.LogCount("RX 33 33");
  ASSERT_TRUE(RunUntil([&] { return sim.LogCount("RX 33 33") >= polled + 40; }));  // 40 samples more

  EXPECT_FALSE(f.Live().Widgets().Grid->horizontalHeaderItem(3)->text().isEmpty());  // the fuel state
  EXPECT_TRUE(f.Live().Widgets().gauges[kGaugeRpm]->isVisible());
  EXPECT_GT(f.Live().Widgets().gauges[kGaugeRpm]->Progress(), 0);
  EXPECT_GE(f.Live().Widgets().Graph1->Graph().Scale(), 300);
  const QImage picture = f.grab().toImage();
  const QRect graphArea(f.Live().Widgets().Graph1->mapTo(&f, QPoint(0, 0)),
                        f.Live().Widgets().Graph1->size());
  EXPECT_TRUE(ImageHasColour(picture, graphArea, PlatformColour(f.CurrentSettings().ColorRPM)));
  EXPECT_TRUE(ImageHasColour(picture, graphArea, PlatformColour(f.CurrentSettings().ColorMOT1)) ||
              ImageHasColour(picture, graphArea, Qt::white));
  if (const char* shot = std::getenv("ORV_LIVE_SCREENSHOT")) picture.save(shot);

  // The wizard page fills its four rows from the configuration poll.
  f.FormKeyDown(VK_F4);
  ASSERT_EQ(f.CurrentPage(), Page::Configuration);
  ASSERT_TRUE(RunUntil([&] { return !CellText(f.Live().Widgets().Grid, 3, 1).empty(); }));
  EXPECT_EQ(f.Live().Widgets().Grid->horizontalHeaderItem(0)->text().toStdString(), UiText(202));
  EXPECT_NE(f.Live().Widgets().Grid->item(0, 1)->text().toStdString().find(UiText(150)), std::string::npos);
  f.FormKeyDown(VK_F3);
  ASSERT_EQ(f.CurrentPage(), Page::Parameters);

  // Stopped, the history holds the samples at the right end of the scroll range.
  f.Live().Widgets().BtnScope->click();
  EXPECT_EQ(f.Live().Widgets().BtnScope->text(), "START");
  EXPECT_TRUE(f.Live().Widgets().ScrollBar1->isVisible());
  const std::string live = RowText(f.Live().Widgets().Grid, UiText(210));
  f.Live().Widgets().ScrollBar1->setValue(3590);
  EXPECT_NE(RowText(f.Live().Widgets().Grid, UiText(210)), "?");
  EXPECT_EQ(f.Live().Widgets().LabelTim->text(), "359.1 s");
  f.Live().Widgets().ScrollBar1->setValue(100);  // long before the first sample: zeros
  EXPECT_EQ(RowText(f.Live().Widgets().Grid, UiText(210)), "0" + UiText(150));
  (void)live;

  // Saved and opened again: the file takes over, polling stops.
  const std::string path = folder.Path() + "/drive.orvv";
  window.dialogs.fileAnswers.push_back(path);
  f.FormKeyDown(VK_CONTROL);
  f.FormKeyDown('S');
  std::string saved;
  ASSERT_TRUE(ReadWholeFile(path, saved, 1 << 20));
  EXPECT_EQ(saved.size(), 57856u);
  window.dialogs.fileAnswers.push_back(path);
  f.FormKeyDown(VK_CONTROL);
  f.FormKeyDown('O');
  EXPECT_EQ(f.ConnectionMode(), ConnectionMode::File);
  EXPECT_FALSE(f.TimerTx()->isActive());
  EXPECT_NE(f.windowTitle().toStdString().find("drive.orvv"), std::string::npos);
  EXPECT_EQ(f.Live().Widgets().ScrollBar1->value(), 3599);
  window.dialogs.fileAnswers.push_back(folder.Path() + "/drive.csv");
  f.FormKeyDown(VK_CONTROL);
  f.FormKeyDown('E');
  std::string csv;
  ASSERT_TRUE(ReadWholeFile(folder.Path() + "/drive.csv", csv, 1 << 20));
  EXPECT_GT(std::count(csv.begin(), csv.end(), '\n'), 20);
}

TEST(LiveMainWindowTest, aClickOnTheScopeButtonIsNoKeyPress) {
  WindowUnderTest window;
  TempFolder folder;
  TForm1& f = window.StartWithoutController(folder.Path() + "/ORV/LPG2.reg");
  const int order = f.Setup().CBList->currentIndex();
  f.FormKeyDown(VK_CONTROL);
  f.Live().Widgets().BtnScope->click();
  EXPECT_EQ(f.Live().Widgets().BtnScope->text(), "START");
  f.FormKeyDown(VK_F11);  // still Ctrl+F11
  EXPECT_NE(f.Setup().CBList->currentIndex(), order);
  // Enter away from the parameters page leaves the scope alone.
  f.FormKeyDown(VK_RETURN);
  EXPECT_EQ(f.Live().Widgets().BtnScope->text(), "START");
  // The check boxes take the grid's colour; the magnifier closes on the map page.
  EXPECT_EQ(f.Live().Widgets().checks[0]->palette().color(QPalette::Window), QColor(207, 207, 207));
  f.BtnLupClick();
  EXPECT_TRUE(f.Live().MagnifierShown());
  f.TabMapClick();
  EXPECT_FALSE(f.Live().MagnifierShown());
}

// The caption names a recording opened from another folder by its file name alone.
TEST(LiveMainWindowTest, aRecordingFromAnotherFolderIsNamedWithoutItsFolderInTheCaption) {
  WindowUnderTest window;
  TempFolder folder;
  TForm1& f = window.StartWithoutController(folder.Path() + "/ORV/LPG2.reg");
  ParameterBlock block = FreshParameterBlock();
  block[0] = 0x64;
  block[1] = 150;
  const std::string dir = folder.Path() + "/drives/monday";
  ASSERT_TRUE(std::filesystem::create_directories(dir));
  ASSERT_TRUE(WriteFileAtomically(dir + "/drive.orvv", RecordingBytes(block, ReadingHistory{}, true)));
  window.dialogs.fileAnswers.push_back(dir + "/drive.orvv");
  f.FormKeyDown(VK_CONTROL);
  f.FormKeyDown('O');
  EXPECT_EQ(f.ConnectionMode(), ConnectionMode::File);
  EXPECT_EQ(f.windowTitle().toStdString(), "MERVOLANTE LPG V1.61 - [drive.orvv] - TELK100 V1.50");
}

}  // namespace
