// Playing a drive back in the real main window: an opened recording plays with Ctrl+P and
// the play button, the scroll bar and everything it updates follow the player's ticks, and a
// hand on the scroll bar, the oscilloscope button, another file or another page pauses it; the window's
// timer plays it, and the window closes cleanly mid-play.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>

#include "app/KeyTable.h"
#include "base/AtomicFile.h"
#include "base/NumberText.h"
#include "base/UiText.h"
#include "model/ParameterBlock.h"
#include "monitor/LiveMonitorQt.h"
#include "monitor/RecordingFile.h"
#include "support/FakeSerialPort.h"
#include "support/TempFolder.h"
#include "ui/UiTestSupport.h"

namespace {

struct PlaybackWindow {
  PlaybackWindow() {
    auto port = std::make_unique<FakeSerialPort>();
    port->failOpen = true;
    window.Start(folder.Path() + "/ORV/LPG2.reg", std::move(port));
    // Each information tick would try the missing port again and show the set-up page, which
    // pauses the player.
    window.form->TimerInfo()->stop();
    // A drive of 3000 samples: speed byte = record number mod 200, register index mod 256,
    // the other readings wandering.
    ParameterBlock block{};
    block[0] = 0x64;
    block[kOptionByte] = 0xFF;  // every option
    block[81] = 1;              // a vacuum sensor
    ReadingHistory history;
    for (int i = 600; i < ReadingHistory::kRecords; ++i) {
      LiveReadings& r = history.At(i);
      for (int b = 4; b <= 14; ++b)
        r[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>((i * b / 7 + b * 37) % 200);
      r[0] = static_cast<std::uint8_t>(i % 256);
      r[3] = static_cast<std::uint8_t>(i % 200);
    }
    path = folder.Path() + "/drive.orvv";
    EXPECT_TRUE(WriteFileAtomically(path, RecordingBytes(block, history, true)));
  }
  TForm1& F() { return *window.form; }
  void Key(int vk, bool ctrl = false) {
    if (ctrl) F().FormKeyDown(VK_CONTROL);
    F().FormKeyDown(vk);
  }
  void Open() {
    window.dialogs.fileAnswers.push_back(path);
    Key('O', true);
  }
  std::string Rpm() { return RowText(F().Live().Widgets().Grid, UiText(210)); }

  TempFolder folder;
  WindowUnderTest window;
  std::string path;
};

TEST(HistoryPlaybackTest, anOpenedRecordingPlaysAndEverythingTheScrollBarUpdatesFollows) {
  PlaybackWindow w;
  TForm1& f = w.F();
  w.Open();
  ASSERT_EQ(f.ConnectionMode(), ConnectionMode::File);
  if (f.CurrentPage() != Page::Parameters) w.Key(VK_F3);
  ASSERT_EQ(f.CurrentPage(), Page::Parameters);
  LiveMonitor& live = f.Live();
  QToolButton* play = live.PlayButton();
  ASSERT_TRUE(f.Live().Widgets().ScrollBar1->isVisible());
  EXPECT_TRUE(play->isVisible());
  EXPECT_TRUE(live.SpeedBox()->isVisible());
  EXPECT_EQ(play->toolTip().toStdString(), UiText(1220));
  // The controls share the scroll bar's row, right of it.
  EXPECT_EQ(play->y(), f.Live().Widgets().ScrollBar1->y());
  EXPECT_GE(play->x(), f.Live().Widgets().ScrollBar1->x() + f.Live().Widgets().ScrollBar1->width());

  // At the newest record, a play starts again where the drive's data begin.
  w.Key('P', true);
  ASSERT_TRUE(live.Playing());
  EXPECT_EQ(play->toolTip().toStdString(), UiText(1221));
  EXPECT_EQ(f.Live().Widgets().ScrollBar1->value(), 600);
  EXPECT_EQ(f.Live().Widgets().LabelTim->text(), "60.1 s");

  struct Step {
    int speedIndex, ticks, position;
  };
  for (const Step& s : {Step{0, 10, 610}, Step{1, 5, 630}, Step{2, 10, 790}}) {
    live.SpeedBox()->setCurrentIndex(s.speedIndex);
    for (int i = 0; i < s.ticks; ++i) live.PlayTick();
    ASSERT_EQ(f.Live().Widgets().ScrollBar1->value(), s.position) << s.speedIndex;
    EXPECT_EQ(f.Live().Widgets().LabelTim->text().toStdString(),
              FormatFixed((s.position + 1) * 0.1, 1) + " s");
    EXPECT_EQ(w.Rpm(), std::to_string(s.position % 200 * 100) + UiText(150));  // the grid follows
    EXPECT_EQ(f.Live().Widgets().CBReg->currentIndex(), s.position % 256);     // the register row
    EXPECT_TRUE(live.Playing());
  }

  // A hand on the scroll bar pauses; Ctrl+P plays on from there.
  f.Live().Widgets().ScrollBar1->setValue(3000);
  EXPECT_FALSE(live.Playing());
  EXPECT_EQ(play->toolTip().toStdString(), UiText(1220));
  live.PlayTick();
  EXPECT_EQ(f.Live().Widgets().ScrollBar1->value(), 3000);
  play->click();
  ASSERT_TRUE(live.Playing());
  for (int i = 0; i < 100; ++i) live.PlayTick();  // x16: the newest record ends the play
  EXPECT_EQ(f.Live().Widgets().ScrollBar1->value(), 3599);
  EXPECT_FALSE(live.Playing());
  EXPECT_EQ(f.Live().Widgets().LabelTim->text(), "360.0 s");

  // Leaving page 1 pauses; away from it neither Ctrl+P nor the scroll bar drives the graph.
  f.Live().Widgets().ScrollBar1->setValue(2000);
  w.Key('P', true);
  ASSERT_TRUE(live.Playing());
  w.Key(VK_F2);
  EXPECT_FALSE(live.Playing());
  w.Key('P', true);
  live.PlayTick();
  f.Live().Widgets().ScrollBar1->setValue(2500);
  EXPECT_FALSE(live.Playing());
  EXPECT_EQ(f.Live().Widgets().LabelTim->text(), "200.1 s");
  w.Key(VK_F3);

  // The picture for the documentation (make screenshots): a drive played at x16.
  if (const char* folder = std::getenv("ORV_SCREENSHOT_DIR"); folder && *folder) {
    for (QCheckBox* check : f.Live().Widgets().checks) check->setChecked(true);
    f.Live().Widgets().ScrollBar1->setValue(1500);
    w.Key('P', true);
    for (int i = 0; i < 40; ++i) live.PlayTick();
    RunFor(300);
    EXPECT_TRUE(f.grab().save(QString("%1/history-playback.png").arg(folder)));
    w.Key('P', true);
  }

  // Starting the oscilloscope pauses, and the player's controls go with the scroll bar.
  w.Key('P', true);
  ASSERT_TRUE(live.Playing());
  f.Live().Widgets().BtnScope->click();
  EXPECT_FALSE(live.Playing());
  EXPECT_FALSE(play->isVisible());
  w.Key('P', true);  // nothing to play while the oscilloscope runs
  EXPECT_FALSE(live.Playing());

  // Opening another file pauses.
  w.Open();
  ASSERT_TRUE(f.Live().Widgets().ScrollBar1->isVisible());
  EXPECT_TRUE(play->isVisible());
  w.Key('P', true);
  ASSERT_TRUE(live.Playing());
  w.Open();
  EXPECT_FALSE(live.Playing());
  EXPECT_EQ(f.Live().Widgets().ScrollBar1->value(), 3599);

  // The window's timer drives the player; closing the window mid-play ends it cleanly.
  w.Key('P', true);
  const int start = f.Live().Widgets().ScrollBar1->value();
  ASSERT_TRUE(RunUntil([&] { return f.Live().Widgets().ScrollBar1->value() >= start + 32; }));
  EXPECT_EQ((f.Live().Widgets().ScrollBar1->value() - start) % 16, 0);
  EXPECT_TRUE(live.Playing());
  w.window.Close();
  RunFor(250);
}

}  // namespace
