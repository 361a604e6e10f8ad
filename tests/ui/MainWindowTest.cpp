#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include "app/KeyTable.h"
#include "app/SettingsStore.h"
#include "base/UiText.h"
#include "monitor/LiveMonitorQt.h"
#include "monitor/RecordingFile.h"
#include "params/ParameterFiles.h"
#include "support/FakeSerialPort.h"
#include "ui/InputEvents.h"
#include "ui/UiTestSupport.h"

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  std::string SettingsPath() const { return folder.Path() + "/ORV/LPG2.reg"; }

  FakeSerialPort* StartWithoutController() {
    auto port = std::make_unique<FakeSerialPort>();
    port->failOpen = true;
    FakeSerialPort* raw = port.get();
    window.Start(SettingsPath(), std::move(port));
    return raw;
  }

  TempFolder folder;
  WindowUnderTest window;
};

TEST_F(MainWindowTest, startsOnTheSetupPageWithOnlyItsButtonAndTriesThePort) {
  StartWithoutController();
  TForm1& f = *window.form;
  EXPECT_EQ(f.windowTitle().toStdString(), "MERVOLANTE LPG V1.61");
  EXPECT_EQ(f.CurrentPage(), Page::Setup);
  EXPECT_EQ(f.ConnectionMode(), ConnectionMode::None);
  EXPECT_TRUE(f.TabVisible(Page::Setup));
  for (Page page : {Page::Parameters, Page::Configuration, Page::Map, Page::Port, Page::Firmware})
    EXPECT_FALSE(f.TabVisible(page)) << PageNumber(page);
  EXPECT_TRUE(f.TimerTx()->isActive());
  EXPECT_TRUE(f.TimerInfo()->isActive());
  ASSERT_TRUE(RunUntil([&] { return f.LogText().find(UiText(722)) != std::string::npos; }));
  const std::string failed = UiText(721) + "1 -" + UiText(722);
  EXPECT_NE(f.LogText().find(failed), std::string::npos);
  // Each information tick tries the port again; the log keeps its line once.
  for (int tick = 0; tick < 3; ++tick) f.TimerInfoTimer();
  EXPECT_EQ(f.LogText().find(failed), f.LogText().rfind(failed));
  // The set-up grid is as wide as the layout's rule, or wider for its texts up to half the window.
  EXPECT_GE(f.LastLayout().gridEx1.width, 2 * f.LastLayout().extraWidth + 242);
  EXPECT_LE(f.LastLayout().gridEx1.width,
            std::max(2 * f.LastLayout().extraWidth + 242, f.centralWidget()->width() / 2));
}

TEST_F(MainWindowTest, runWithoutControllerWritesAutoScanFalseAndTheChangedPortAndFont) {
  StartWithoutController();
  TForm1& f = *window.form;
  f.CBComChange(2);
  f.Setup().CBFont->setCurrentIndex(1);
  f.CBFontChange();
  EXPECT_EQ(f.font().pointSize(), 12);
  EXPECT_EQ(f.LastLayout().gridEx1RowHeight, 24);
  window.Close();

  SettingsStore store = SettingsStore::Open(SettingsPath());
  ASSERT_TRUE(store.KeyExists());
  EXPECT_EQ(store.ReadInteger("COMM"), 3);
  EXPECT_EQ(store.ReadInteger("Font"), 1);
  EXPECT_EQ(store.ReadInteger("AutoScan"), 0);
  EXPECT_EQ(store.ReadInteger("Lang"), 5);

  // The next start applies them.
  WindowUnderTest again;
  auto port = std::make_unique<FakeSerialPort>();
  port->failOpen = true;
  FakeSerialPort* raw = port.get();
  again.Start(SettingsPath(), std::move(port));
  EXPECT_EQ(raw->PortNum(), 3);
  EXPECT_EQ(again.form->Setup().CBFont->currentIndex(), 1);
  EXPECT_EQ(again.form->font().pointSize(), 12);
}

TEST_F(MainWindowTest, hiddenPageKeysDoNothingAndF2AlwaysWorks) {
  StartWithoutController();
  TForm1& f = *window.form;
  for (int key : {VK_F3, VK_F4, VK_F5, VK_F6}) {
    f.FormKeyDown(key);
    EXPECT_EQ(f.CurrentPage(), Page::Setup) << key;
  }
  f.FormKeyDown('O');
  f.FormKeyDown('R');
  f.FormKeyDown('V');
  f.FormKeyDown('S');
  EXPECT_TRUE(f.ServiceModeOn());
  for (Page page :
       {Page::Setup, Page::Parameters, Page::Configuration, Page::Map, Page::Port, Page::Firmware})
    EXPECT_TRUE(f.TabVisible(page)) << PageNumber(page);
  f.FormKeyDown(VK_F5);
  EXPECT_EQ(f.CurrentPage(), Page::Map);
  f.FormKeyDown(VK_F6);
  EXPECT_EQ(f.CurrentPage(), Page::Firmware);
  f.FormKeyDown(VK_F2);
  EXPECT_EQ(f.CurrentPage(), Page::Setup);
  for (int key : {'O', 'R', 'V', 'S'}) f.FormKeyDown(key);
  EXPECT_FALSE(f.ServiceModeOn());
  EXPECT_FALSE(f.TabVisible(Page::Port));
  EXPECT_TRUE(f.TabVisible(Page::Map));  // stays until the next connection mode
}

TEST_F(MainWindowTest, ctrlQStopsTheLinkAndTheClickOnThePanelReconnects) {
  FakeSerialPort* port = StartWithoutController();
  TForm1& f = *window.form;
  f.FormKeyDown(VK_CONTROL);
  f.FormKeyDown('Q');
  EXPECT_FALSE(f.TimerTx()->isActive());
  EXPECT_TRUE(f.TabVisible(Page::Parameters));
  EXPECT_TRUE(f.TabVisible(Page::Configuration));
  ASSERT_TRUE(RunUntil([&] { return Control<QLabel>(f, "PanelInfo")->text().toStdString() == UiText(140); }));
  port->failOpen = false;
  f.FormKeyDown(VK_F8);
  EXPECT_TRUE(f.Link().Vars().reconnectPending);
  ASSERT_TRUE(RunUntil([&] { return port->Active(); }));
  EXPECT_TRUE(f.TimerTx()->isActive());
}

TEST_F(MainWindowTest, fontKeyCyclesTheSizes) {
  StartWithoutController();
  TForm1& f = *window.form;
  const int sizes[] = {12, 14, 10};
  for (int size : sizes) {
    f.FormKeyDown(VK_F9);
    EXPECT_EQ(f.font().pointSize(), size);
    EXPECT_EQ(f.LastLayout().gridRowHeight, 2 * size);
    // The tables' text follows, and no caption is cut.
    for (const QTableWidget* grid : {f.Live().Widgets().Grid, static_cast<QTableWidget*>(GridEx1(f))})
      EXPECT_EQ(grid->font().pointSize(), size) << grid->objectName().toStdString();
    for (const QPushButton* b : {f.Live().Widgets().BtnScope, f.Parameters().BtnHelp})
      EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()) + 4, b->width()) << b->text().toStdString();
  }
}

// Every selection on the set-up page shows the selected row's box alone.
TEST_F(MainWindowTest, setupPageShowsOnlyTheSelectedRowsBox) {
  StartWithoutController();
  TForm1& f = *window.form;
  f.ApplyConnectionMode(ConnectionMode::Controller);  // every row of the page
  f.TabSetClick();
  QWidget* const boxes[] = {f.Setup().CBCom,  f.Setup().CBCAut, f.Setup().EDFile,
                            f.Setup().CBFAut, f.Setup().CBList, f.Setup().CBFont};
  GridEx1(f)->setCurrentCell(1, 1);
  for (int key :
       {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up}) {
    PressKey(GridEx1(f), key);
    const int row = GridEx1(f)->currentRow();
    for (int i = 0; i < 6; ++i)
      EXPECT_EQ(boxes[i]->isVisible(), i == row - 1) << "row " << row << ", box " << i;
  }
}

TEST_F(MainWindowTest, f1ShowsKeyLabelsUntilTheCountdownEnds) {
  StartWithoutController();
  TForm1& f = *window.form;
  f.FormKeyDown(VK_CONTROL);
  f.FormKeyDown('Q');  // no reconnect pending: the information tick reaches the countdown
  f.FormKeyDown(VK_F1);
  EXPECT_EQ(f.TabOfPage(Page::Setup)->text().toStdString(), "F2");
  EXPECT_EQ(f.TabOfPage(Page::Parameters)->text().toStdString(), "F3");
  EXPECT_EQ(f.Supervisor().KeyLabelCountdown(), 3);
  for (int t = 0; t < 3; ++t) f.TimerInfoTimer();
  EXPECT_EQ(f.TabOfPage(Page::Setup)->text().toStdString(), UiText(112));
  EXPECT_EQ(f.TabOfPage(Page::Port)->text().toStdString(), UiText(114));
  // In the service mode the processor page's caption fits its button at the design size.
  for (int key : {'O', 'R', 'V', 'S'}) f.FormKeyDown(key);
  ASSERT_TRUE(f.ServiceModeOn());
  EXPECT_GE(f.TabOfPage(Page::Port)->width(),
            f.TabOfPage(Page::Port)->fontMetrics().horizontalAdvance(f.TabOfPage(Page::Port)->text()) + 4);
  EXPECT_LE(f.TabOfPage(Page::Port)->geometry().right(), Control<QLabel>(f, "PanelInfo")->x());
}

TEST_F(MainWindowTest, windowArrangementAndWideWindowFollowTheLayoutRules) {
  StartWithoutController();
  TForm1& f = *window.form;
  f.resize(624 + 60, 500);
  RunFor(50);
  f.LayoutMainWindow();
  EXPECT_EQ(f.LastLayout().extraWidth, 10);
  // The rule's width, or wider for the set-up texts in the grid's font, up to half the window.
  EXPECT_GE(GridEx1(f)->width(), 262);
  EXPECT_LE(GridEx1(f)->width(), std::max(262, f.centralWidget()->width() / 2));
  EXPECT_EQ(f.LastLayout().gridEx1ColumnWidth, 120);
  // The set-up labels are wider than the design's column: the label column takes them whole.
  EXPECT_GE(GridEx1(f)->columnWidth(0), 120);
  const int flag = f.StoredSettings().VisuWin ? 1 : 0;
  f.BtnWindowClick();
  window.Close();
  SettingsStore store = SettingsStore::Open(SettingsPath());
  EXPECT_EQ(store.ReadInteger("VisuWin"), flag ? 0 : 1);
  EXPECT_EQ(store.ReadInteger("WWidth"), 624 + 60 + 16);
}

// A file the file manager hands over opens without a dialog: a recording as Ctrl+O does, a
// parameter file as the open button does, with its question.
TEST_F(MainWindowTest, aFileHandedOverOpensAsTheOpenButtonsDo) {
  StartWithoutController();
  TForm1& f = *window.form;
  Put(folder / "drive.orvv", std::string(kRecordingBytes, '\0'));
  f.OpenFile(folder / "drive.orvv");
  EXPECT_EQ(f.ConnectionMode(), ConnectionMode::File);
  ASSERT_TRUE(SaveParameterFile(folder / "car.orvp", FreshParameterBlock()));
  window.dialogs.answers = {MessageAnswer::Cancel};
  f.OpenFile(folder / "car.orvp");
  EXPECT_EQ(window.dialogs.messages, std::vector<std::string>{UiText(704)});
  EXPECT_TRUE(window.dialogs.fileRequests.empty());
}

}  // namespace
