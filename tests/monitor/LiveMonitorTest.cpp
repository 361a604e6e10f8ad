#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTime>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <functional>

#include "base/AtomicFile.h"
#include "base/UiText.h"
#include "monitor/CGaugeQt.h"
#include "monitor/LiveMonitorQt.h"
#include "monitor/PerformanceGraphQt.h"
#include "monitor/PlatformColourQt.h"
#include "monitor/RecordingFile.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "ui/UiTestSupport.h"

using namespace row_kind;

namespace {

// The live views on controls of their own, with the main window's side scripted.
struct LiveRig {
  LiveRig() {
    TestApplication();
    window.resize(624, 445);
    hint = new QLabel(&window);
    block.fill(0);
    LiveHooks h;
    h.parameters = [this]() -> const ParameterBlock& { return block; };
    h.loadParameters = [this](const ParameterBlock& loaded) { block = loaded; };
    h.page = [this] { return page; };
    h.service = [this] { return service; };
    h.stopPolling = [this] { polling = false; };
    h.recordingOpened = [this](const std::string& path) { opened = path; };
    h.folder = [this](bool save) { return save ? saveFolder : openFolder; };
    h.setFolder = [this](bool save, const std::string& f) { (save ? saveFolder : openFolder) = f; };
    h.filePrefix = [this] { return prefix; };
    h.autoSave = [this] { return autoSave; };
    h.recordingFolder = [this] {
      return recordingFolder.empty() ? std::filesystem::current_path().string() : recordingFolder;
    };
    live = std::make_unique<LiveMonitor>(&window, &window, hint, h, dialogs, history, colours);
    // The views' widgets, placed as the window's layout would.
    w = live->Widgets();
    grid = w.Grid;
    grid->setGeometry(0, 240, 373, 200);
    grid->verticalHeader()->setDefaultSectionSize(21);
    for (int c = 0; c < 4; ++c) grid->setColumnWidth(c, 87);
    graph = w.Graph1;
    w.PanelSco->setGeometry(0, 40, 371, 160);
    graph->setGeometry(0, 0, 371, 144);
    w.ScrollBar1->setValue(3599);
    for (int i = 0; i < 256; ++i) w.CBReg->addItem(QString::number(i));
    live->ApplyColours();
    window.show();
  }
  void Layout(int rowsVisible = 9) { live->LayoutReadings(true, 20, rowsVisible); }
  std::string Cell(int column, int row) const {
    const QTableWidgetItem* item =
        row == 0 ? grid->horizontalHeaderItem(column) : grid->item(row - 1, column);
    return item ? item->text().toStdString() : std::string();
  }
  int RowOf(int kind) const {
    const auto& kinds = live->RowKinds();
    for (int r = 0; r < kReadingKindRows; ++r)
      if (kinds[static_cast<std::size_t>(r)] == kind) return r;
    return -1;
  }
  TCGauge& Gauge(int g) { return *w.gauges[static_cast<std::size_t>(g)]; }
  // One live sample as the link takes it: advance, fill, show.
  void Sample(const LiveReadings& reply) {
    if (history.WillWrap()) live->HistoryAboutToWrap();
    history.Advance();
    std::copy(reply.begin() + 1, reply.begin() + 15, history.Current().begin() + 1);
    live->ShowRecord(history.Current(), true);
  }

  struct ApplicationFirst {
    ApplicationFirst() { TestApplication(); }
  } application;
  QWidget window;
  QLabel* hint = nullptr;
  QTableWidget* grid = nullptr;
  TPerformanceGraph* graph = nullptr;
  LiveWidgets w;
  ParameterBlock block{};
  Page page = Page::Parameters;
  bool service = false;
  bool polling = true;
  bool autoSave = false;
  std::string prefix = "drive", saveFolder, openFolder, opened, recordingFolder;
  ScriptedDialogs dialogs;
  ReadingHistory history;
  std::array<std::int32_t, kChannelCount> colours = kInitialColours;
  std::unique_ptr<LiveMonitor> live;
};

TEST(LiveMonitorTest, rowsLabelsOverlaysAndValuesOfTheParametersPage) {
  LiveRig rig;
  rig.block[34] = 2;  // falling lambda probe
  rig.block[33] = 1;  // falling TPS
  rig.Layout();
  EXPECT_EQ(rig.Cell(0, 0), UiText(201));
  EXPECT_EQ(rig.Cell(0, rig.RowOf(kRpm)), UiText(210));
  EXPECT_EQ(rig.grid->columnWidth(2), 87 + 17);  // every row fits: no scroll bar room needed
  EXPECT_TRUE(rig.w.PanelLam->isVisibleTo(&rig.window));
  EXPECT_TRUE(rig.w.checks[kChRpm]->isVisibleTo(&rig.window));
  EXPECT_FALSE(rig.w.checks[kChPsi]->isVisibleTo(&rig.window));  // no vacuum row
  EXPECT_FALSE(rig.w.CBReg->isVisibleTo(&rig.window));

  LiveReadings r{};
  r[1] = 0x20 | 0x04;  // dimmed TPS, gas
  r[2] = 0x03;         // probe error and cold probe
  r[3] = 30;
  r[4] = 55;
  r[8] = 0;
  r[10] = 77;
  rig.Sample(r);
  EXPECT_EQ(rig.Cell(3, 0), UiText(144));
  EXPECT_EQ(rig.w.PanelErr->text().toStdString(), UiText(173));
  EXPECT_TRUE(rig.w.PanelErr->isVisibleTo(&rig.window));
  EXPECT_EQ(rig.Cell(1, rig.RowOf(kRpm)), "3000" + UiText(150));
  EXPECT_EQ(rig.Cell(1, rig.RowOf(kTps)), "0.00 [V]");
  EXPECT_EQ(rig.Gauge(kGaugeTps).Progress(), 255);
  EXPECT_EQ(rig.Gauge(kGaugeTps).ForeColor(), DimmedColour(kInitialColours[kChTps]));
  EXPECT_EQ(rig.Gauge(kGaugeLam).Progress(), 200);
  EXPECT_EQ(rig.Gauge(kGaugeRpm).Progress(), 30);
  EXPECT_EQ(rig.live->Lines()[0], "3000" + UiText(150));
  EXPECT_EQ(rig.live->Lines()[1], "77" + UiText(151));
  r[2] = 0;
  r[1] = 0;
  rig.Sample(r);
  EXPECT_FALSE(rig.w.PanelErr->isVisibleTo(&rig.window));
  EXPECT_EQ(rig.Gauge(kGaugeTps).ForeColor(), kInitialColours[kChTps]);

  // A relayout empties the values; lambda type 0 gives the range 0..50.
  rig.block[34] = 0;
  rig.Layout();
  EXPECT_EQ(rig.Cell(1, rig.RowOf(kRpm)), "");
  EXPECT_EQ(rig.Gauge(kGaugeLam).MaxValue(), 50);
  r[4] = 50;
  rig.Sample(r);
  EXPECT_EQ(rig.Gauge(kGaugeLam).Percent(), 100);
}

TEST(LiveMonitorTest, serviceModeAddsTheRamRowAndScrollingHidesTheOverlaysOfRowsOutOfView) {
  LiveRig rig;
  rig.service = true;
  rig.grid->setGeometry(0, 240, 373, 21 * 5 + 4);
  rig.Layout(5);  // 11 rows needed, 5 fit
  EXPECT_EQ(rig.grid->rowCount(), 10);
  // Column 2 leaves the scroll bar its room: the columns end before it.
  int columns = 0;
  for (int c = 0; c < 4; ++c) columns += rig.grid->columnWidth(c);
  EXPECT_LE(columns, 373 - 2 * rig.grid->frameWidth() - rig.grid->verticalScrollBar()->sizeHint().width());
  const int lambdaRow = rig.RowOf(kLambda);
  ASSERT_EQ(lambdaRow, 1);
  EXPECT_TRUE(rig.w.PanelLam->isVisibleTo(&rig.window));
  QApplication::processEvents();
  ASSERT_GT(rig.grid->verticalScrollBar()->maximum(), 2);
  rig.grid->verticalScrollBar()->setValue(2);
  EXPECT_FALSE(rig.w.PanelLam->isVisibleTo(&rig.window));
  EXPECT_FALSE(rig.w.checks[kChLam]->isVisibleTo(&rig.window));
  rig.grid->verticalScrollBar()->setValue(rig.grid->verticalScrollBar()->maximum());
  EXPECT_TRUE(rig.w.CBReg->isVisibleTo(&rig.window));
  LiveReadings r{};
  r[15] = 0xA5;
  rig.Sample(r);
  rig.history.Current()[15] = 0xA5;
  rig.live->ShowRecord(rig.history.Current(), true);
  EXPECT_EQ(rig.Cell(1, rig.RowOf(kRam)), "1010:0101  165");
  // With no register chosen (the setting RamIndex -1) the row shows no value.
  rig.w.CBReg->setCurrentIndex(-1);
  rig.live->ShowRecord(rig.history.Current(), true);
  EXPECT_EQ(rig.Cell(1, rig.RowOf(kRam)), "");
  rig.w.CBReg->setCurrentIndex(3);
  rig.live->ShowRecord(rig.history.Current(), true);
  EXPECT_EQ(rig.Cell(1, rig.RowOf(kRam)), "1010:0101  165");
}

TEST(LiveMonitorTest, hintShowsTextsWiderThanTheirColumnUntilClickedAway) {
  LiveRig rig;
  rig.Layout();
  const std::string wide = "a text far wider than the eighty-seven pixels of its column";
  rig.grid->setItem(1, 1, new QTableWidgetItem(QString::fromStdString(wide)));  // row 2
  rig.grid->setItem(2, 1, new QTableWidgetItem("short"));
  rig.live->GridMouseMove(100, 2 * 21 + 5);
  ASSERT_TRUE(rig.w.PanelHint->isVisibleTo(&rig.window));
  EXPECT_EQ(rig.w.PanelHint->text().toStdString(), wide);
  EXPECT_EQ(rig.w.PanelHint->x(), 87 + 3);
  EXPECT_EQ(rig.w.PanelHint->y(), 240 + 2 * 21 + 2);
  rig.live->GridMouseMove(100, 3 * 21 + 5);  // the short text fits
  EXPECT_FALSE(rig.w.PanelHint->isVisibleTo(&rig.window));
  rig.live->GridMouseMove(100, 5);  // the header row never gets a hint
  EXPECT_FALSE(rig.w.PanelHint->isVisibleTo(&rig.window));
  rig.live->GridMouseMove(100, 2 * 21 + 5);
  QMouseEvent click(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(rig.w.PanelHint, &click);
  EXPECT_FALSE(rig.w.PanelHint->isVisibleTo(&rig.window));
  rig.live->GridMouseMove(101, 2 * 21 + 6);  // the same cell stays dismissed
  EXPECT_FALSE(rig.w.PanelHint->isVisibleTo(&rig.window));
}

TEST(LiveMonitorTest, wizardAndPortPagesFillTheirRowsAndTraceWithoutHistory) {
  LiveRig rig;
  rig.page = Page::Configuration;
  rig.Layout();
  EXPECT_EQ(rig.Cell(0, 0), UiText(202));
  EXPECT_EQ(rig.Cell(3, 0), UiText(204));
  const std::uint8_t reply[16] = {0xAC, 0, 0, 20, 50, 90, 10, 0};
  rig.live->ShowConfiguration(DecodeConfiguration(reply, rig.block), true);
  EXPECT_EQ(rig.Cell(1, 1), "---");
  EXPECT_EQ(rig.Cell(1, 4), "90" + UiText(151));
  EXPECT_EQ(rig.live->Lines()[0], "---");
  EXPECT_EQ(rig.history.SamplesTaken(), 0);

  rig.page = Page::Port;
  rig.Layout();
  EXPECT_EQ(rig.Cell(0, 0), UiText(205));
  EXPECT_EQ(rig.Cell(0, 7), UiText(226));
  PortView port;
  port.voltageTexts[7] = "12.00 [V]";
  port.psiGauge = 128;
  rig.live->ShowPortView(port);
  EXPECT_EQ(rig.Cell(1, 8), "12.00 [V]");
  EXPECT_EQ(rig.Gauge(kGaugePsi).Progress(), 128);
}

// The stopped live history plays from where its samples begin; the scope's button pauses.
TEST(LiveMonitorTest, theStoppedLiveHistoryPlaysFromItsFirstSample) {
  LiveRig rig;
  rig.Layout();
  rig.w.checks[kChRpm]->setChecked(true);
  rig.live->PlayClick();  // running: nothing to play
  EXPECT_FALSE(rig.live->Playing());
  for (int i = 1; i <= 100; ++i) rig.Sample(LiveReadings{0, 0, 0, static_cast<std::uint8_t>(i)});
  rig.live->BtnScopeClick();
  EXPECT_TRUE(rig.live->PlayButton()->isVisibleTo(&rig.window));
  rig.live->PlayClick();
  ASSERT_TRUE(rig.live->Playing());
  EXPECT_EQ(rig.w.ScrollBar1->value(), 3500);  // the first sample
  rig.live->SpeedBox()->setCurrentIndex(1);
  for (int i = 0; i < 3; ++i) rig.live->PlayTick();
  EXPECT_EQ(rig.w.ScrollBar1->value(), 3512);
  EXPECT_EQ(rig.Cell(1, rig.RowOf(kRpm)), "1300" + UiText(150));
  EXPECT_EQ(rig.w.LabelTim->text(), "351.3 s");
  rig.live->BtnScopeClick();
  EXPECT_FALSE(rig.live->Playing());
  EXPECT_FALSE(rig.live->PlayButton()->isVisibleTo(&rig.window));
}

TEST(LiveMonitorTest, stopRewritesTheRingAndScrollingReplaysRecords) {
  LiveRig rig;
  rig.Layout();
  rig.w.checks[kChRpm]->setChecked(true);
  for (int i = 1; i <= 100; ++i) {
    LiveReadings r{};
    r[3] = static_cast<std::uint8_t>(i);
    r[10] = 5;
    rig.Sample(r);
  }
  rig.live->BtnScopeClick();
  EXPECT_FALSE(rig.live->Running());
  EXPECT_EQ(rig.w.BtnScope->text(), "START");
  EXPECT_TRUE(rig.w.ScrollBar1->isVisibleTo(&rig.window));
  EXPECT_EQ(rig.history.ScopeCursor(), 3599);
  EXPECT_EQ(rig.history.At(3599)[3], 100);  // the newest at the right end
  EXPECT_EQ(rig.history.At(3500)[3], 1);
  EXPECT_EQ(rig.history.At(3499)[3], 0);

  rig.history.At(3550)[0] = 42;
  rig.w.ScrollBar1->setValue(3550);
  rig.live->ScrollBar1Change(3550);
  EXPECT_EQ(rig.w.CBReg->currentIndex(), 42);
  EXPECT_EQ(rig.Cell(1, rig.RowOf(kRpm)), "5100" + UiText(150));
  EXPECT_EQ(rig.w.LabelTim->text(), "355.1 s");
  EXPECT_FALSE(rig.dialogs.busy);
  EXPECT_TRUE(rig.graph->isVisible());
  const auto steps = rig.graph->Graph().StepsOldestFirst();
  // The last closed step is record 3550 (RPM 51 x 4 + 22), the one before record 3549.
  EXPECT_EQ(steps[steps.size() - 2].points[1].value, 51 * 4 + 22);
  EXPECT_EQ(steps[steps.size() - 3].points[1].value, 50 * 4 + 22);

  rig.live->ScrollBar1Change(0);  // empty steps, then record 0 alone
  const auto early = rig.graph->Graph().StepsOldestFirst();
  EXPECT_EQ(early[early.size() - 2].count, 2);  // black mark and RPM of the empty record 0
  EXPECT_EQ(early[early.size() - 3].count, 0);

  rig.live->BtnScopeClick();
  EXPECT_TRUE(rig.live->Running());
  EXPECT_FALSE(rig.w.ScrollBar1->isVisibleTo(&rig.window));
  const int cursor = rig.history.ScopeCursor();
  rig.live->ScrollBar1Change(5);  // ignored while running
  EXPECT_EQ(rig.history.ScopeCursor(), cursor);
}

TEST(LiveMonitorTest, timeBaseSwatchesAndTheColourReset) {
  LiveRig rig;
  rig.Layout();
  rig.w.UpDownX->setValue(1);
  rig.live->UpDownXChanging();
  EXPECT_EQ(rig.w.LabelXScope->text(), "1000ms/dz");
  EXPECT_EQ(rig.graph->Graph().StepSize(), 1);
  rig.w.UpDownX->setValue(10);
  rig.live->UpDownXChanging();
  EXPECT_EQ(rig.w.LabelXScope->text(), "100ms/dz");

  rig.dialogs.colourAnswers.push_back(kInitialColours[kChRpm]);
  rig.live->SwatchClick(kChTps);
  EXPECT_EQ(rig.colours[kChTps], 0x0000FE);
  EXPECT_EQ(rig.Gauge(kGaugeTps).ForeColor(), 0x0000FE);
  rig.dialogs.colourAnswers.push_back(0x332211);
  rig.live->SwatchClick(kChLam);
  EXPECT_EQ(rig.Gauge(kGaugeLam).BackColor(), 0x332211);
  EXPECT_EQ(rig.Gauge(kGaugeLam).ForeColor(), 0x113322);
  rig.live->SwatchClick(kChMot);  // cancelled: unchanged
  EXPECT_EQ(rig.colours[kChMot], kInitialColours[kChMot]);
  rig.live->ResetColours();
  EXPECT_EQ(rig.colours, kInitialColours);
  EXPECT_EQ(rig.w.swatches[kChTps]->palette().color(QPalette::Window), QColor(255, 255, 0));
}

TEST(LiveMonitorTest, systemColoursTakeThePaletteAndTheGaugeClampsAndRepaintsSparingly) {
  TestApplication();
  EXPECT_EQ(PlatformColour(static_cast<std::int32_t>(0x80000005)),
            QApplication::palette().color(QPalette::Base));
  EXPECT_EQ(PlatformColour(static_cast<std::int32_t>(0x8000000F)),
            QApplication::palette().color(QPalette::Button));
  EXPECT_EQ(PlatformColour(0x0000FF), QColor(255, 0, 0));
  TCGauge gauge;
  gauge.SetProgress(150);
  EXPECT_EQ(gauge.Progress(), 100);
  const int repaints = gauge.Repaints();
  gauge.SetMaxValue(1000);
  gauge.SetProgress(100);
  gauge.SetProgress(105);  // still 10 %
  EXPECT_EQ(gauge.Repaints(), repaints + 1);
}

TEST(LiveMonitorTest, magnifierOpensBesideTheWindowClosesAndShowsTheLines) {
  LiveRig rig;
  EXPECT_FALSE(rig.live->MagnifierShown());
  rig.live->SetMagnifierTexts("2500" + UiText(150), "120" + UiText(151));
  rig.live->BtnLupClick();
  ASSERT_TRUE(rig.live->MagnifierShown());
  TForm2* m = rig.live->Magnifier();
  EXPECT_EQ(m->windowTitle(), "MERVOLANTE");
  EXPECT_EQ(m->size(), QSize(224, 81));
  EXPECT_TRUE(m->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(m->StaticText1->text().toStdString(), "2500" + UiText(150));
  rig.live->SetMagnifierTexts("x", "y");
  ASSERT_TRUE(RunUntil([&] { return m->StaticText2->text() == "y"; }));
  rig.live->BtnLupClick();
  EXPECT_FALSE(rig.live->MagnifierShown());
  rig.live->BtnLupClick();
  rig.live->CloseMagnifier();
  EXPECT_FALSE(rig.live->MagnifierShown());
  EXPECT_EQ(rig.live->Lines()[0], "x");  // kept while hidden
}

// Counts the recordings in a folder.
int Recordings(const std::string& folder) {
  int n = 0;
  for (const auto& e : std::filesystem::directory_iterator(folder)) n += e.path().extension() == ".orvv";
  return n;
}

TEST(LiveMonitorTest, automaticSaveOnlyOnARealWrapAndItsFailureIsShown) {
  TempFolder folder;
  WorkingFolder inFolder(folder.Path());
  LiveRig rig;
  rig.Layout();
  rig.autoSave = true;
  rig.Sample(LiveReadings{});  // the first sample moves 3599 to 0: nothing to save
  auto files = [&] { return Recordings(folder.Path()); };
  EXPECT_EQ(files(), 0);
  LiveReadings r{};
  r[3] = 9;
  for (int i = 1; i < 3600; ++i) rig.Sample(r);
  EXPECT_EQ(files(), 0);
  rig.Sample(r);  // the 3601st sample wraps a full ring
  EXPECT_EQ(files(), 1);
  EXPECT_TRUE(rig.dialogs.messages.empty());
  // A disk that takes no more: the save fails and is reported with the file and why, once
  // the sample that wrapped is done, while sampling goes on.
  FileSizeLimit full(20000);
  ASSERT_TRUE(full.Applied());
  QTimer sampling;
  int samples = 0;
  QObject::connect(&sampling, &QTimer::timeout, [&] {
    rig.Sample(r);
    ++samples;
  });
  int samplesWhileShown = 0;
  rig.dialogs.onMessage = [&](const std::string&) {
    const int shownAt = samples;
    EXPECT_TRUE(RunUntil([&] { return samples >= shownAt + 20; }));
    samplesWhileShown = samples - shownAt;
  };
  for (int i = 0; i < 3600; ++i) rig.Sample(r);
  EXPECT_TRUE(rig.dialogs.messages.empty());  // not inside the sample that wrapped
  sampling.start(0);
  ASSERT_TRUE(RunUntil([&] { return !rig.dialogs.messages.empty(); }));
  sampling.stop();
  EXPECT_GE(samplesWhileShown, 20);
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  const std::string& message = rig.dialogs.messages[0];
  EXPECT_EQ(message.substr(0, UiText(730).size() + folder.Path().size() + 6),
            UiText(730) + folder.Path() + "/drive");
  EXPECT_TRUE(message.ends_with(".orvv: " + UiText(1306))) << message;
  EXPECT_EQ(files(), 1);
}

// Where the automatic recordings go when the working folder takes none: the folder is made,
// and one that cannot be made is named with the reason.
TEST(LiveMonitorTest, automaticSaveMakesItsFolderOrSaysWhyNot) {
  TempFolder folder;
  LiveRig rig;
  rig.Layout();
  rig.autoSave = true;
  Put(folder / "file", "x");
  LiveReadings r{};
  for (const std::string& target : {folder / "ORV/recordings", folder / "file/recordings"}) {
    rig.recordingFolder = target;
    for (int i = 0; i < 3601; ++i) rig.Sample(r);
  }
  EXPECT_EQ(Recordings(folder / "ORV/recordings"), 1);
  ASSERT_TRUE(RunUntil([&] { return !rig.dialogs.messages.empty(); }));
  EXPECT_EQ(rig.dialogs.messages,
            std::vector<std::string>{UiText(730) + folder / "file/recordings" + ": " + UiText(1304)});
}

TEST(LiveMonitorTest, saveOpenAndExportThroughTheDialogs) {
  TempFolder folder;
  LiveRig rig;
  rig.Layout();
  rig.block[0] = 0x64;
  rig.block[33] = 4;  // no TPS sensor
  LiveReadings r{};
  r[3] = 12;
  for (int i = 0; i < 30; ++i) rig.Sample(r);
  const std::string path = folder.Path() + "/drive.orvv";
  rig.dialogs.fileAnswers.push_back(path);
  rig.live->BtnSaveVisClick();
  ASSERT_EQ(rig.dialogs.fileRequests.size(), 1u);
  EXPECT_EQ(rig.dialogs.fileRequests[0].use, FileDialogUse::SaveRecording);
  EXPECT_EQ(rig.dialogs.fileRequests[0].proposedName.substr(0, 5), "drive");
  EXPECT_EQ(rig.saveFolder, folder.Path());
  std::string saved;
  ASSERT_TRUE(ReadWholeFile(path, saved, 1 << 20));
  ASSERT_EQ(saved.size(), 57856u);
  EXPECT_EQ(saved[256 + 3599 * 16 + 3], 12);  // the current record last

  // A parameter-file name is refused; the file stays as it was.
  rig.dialogs.fileAnswers.push_back(folder.Path() + "/drive.orvp");
  rig.live->BtnSaveVisClick();
  EXPECT_EQ(rig.dialogs.messages.back(), UiText(701));
  // A failed save (no such folder) shows 702 and leaves no damaged file.
  rig.dialogs.fileAnswers.push_back(folder.Path() + "/gone/drive.orvv");
  rig.live->BtnSaveVisClick();
  EXPECT_EQ(rig.dialogs.messages.back(),
            UiText(702) + " " + folder.Path() + "/gone/drive.orvv: " + UiText(1304));

  // A save cut short (a full disk) reports 702 and the good recording stays as it was.
  {
    for (int i = 0; i < 5; ++i) rig.Sample(LiveReadings{0, 0, 0, 99});
    FileSizeLimit limit(20000);
    ASSERT_TRUE(limit.Applied());
    rig.dialogs.fileAnswers.push_back(path);
    rig.live->BtnSaveVisClick();
  }
  EXPECT_EQ(rig.dialogs.messages.back(), UiText(702) + " " + path + ": " + UiText(1306));
  std::string after;
  ASSERT_TRUE(ReadWholeFile(path, after, 1 << 20));
  EXPECT_EQ(after, saved);
  for (int i = 0; i < 5; ++i) rig.Sample(r);

  // Open a read-only recording: polling stops, the history and block follow the file, the
  // scope stops at the newest record.
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  rig.block.fill(7);
  for (auto& record : rig.history.Records()) record.fill(1);
  rig.dialogs.fileAnswers.push_back(folder.Path() + "/DRIVE.ORVV");
  ASSERT_EQ(rename(path.c_str(), (folder.Path() + "/DRIVE.ORVV").c_str()), 0);
  rig.live->BtnOpenVisClick();
  EXPECT_EQ(rig.opened, folder.Path() + "/DRIVE.ORVV");
  EXPECT_FALSE(rig.polling);
  EXPECT_EQ(rig.block[0], 0x64);
  EXPECT_EQ(rig.history.At(3599)[3], 12);
  EXPECT_EQ(rig.history.At(0)[3], 0);
  EXPECT_FALSE(rig.live->Running());
  EXPECT_EQ(rig.w.ScrollBar1->value(), 3599);
  EXPECT_EQ(rig.Cell(1, rig.RowOf(kRpm)), "1200" + UiText(150));
  rig.Layout();
  EXPECT_EQ(rig.RowOf(kTps), -1);  // the recorded controller has no TPS sensor

  rig.dialogs.fileAnswers.push_back(folder.Path() + "/missing.orvv");
  rig.live->BtnOpenVisClick();
  EXPECT_EQ(rig.dialogs.messages.back(), UiText(702));
  // A file without its parameter block is no recording: 703 and its name, the history kept.
  const ReadingHistory before = rig.history;
  for (const std::string& size : {std::string(), std::string(255, '\x64')}) {
    Put(folder / "cut.orvv", size);
    rig.dialogs.fileAnswers.push_back(folder / "cut.orvv");
    rig.live->BtnOpenVisClick();
    EXPECT_EQ(rig.dialogs.messages.back(), UiText(703) + " cut.orvv");
    EXPECT_EQ(rig.history.Records(), before.Records());
    EXPECT_EQ(rig.opened, folder.Path() + "/DRIVE.ORVV");
  }

  rig.dialogs.fileAnswers.push_back(folder.Path() + "/drive.csv");
  rig.live->ExportCsv();
  EXPECT_EQ(rig.dialogs.fileRequests.back().use, FileDialogUse::SaveCsv);
  std::string csv;
  ASSERT_TRUE(ReadWholeFile(folder.Path() + "/drive.csv", csv, 1 << 20));
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 31);
  EXPECT_NE(csv.find("\r\n357.1,"), std::string::npos);  // the first sample in time order
}

// The automatic save runs whenever the cursor wraps to 0 while the ring holds live samples no
// file has yet: after a stop and start too, never for an empty ring or a recording just opened.
TEST(LiveMonitorTest, automaticSaveAfterAStopAndStartButNeverForARingWithoutNewSamples) {
  TempFolder folder;
  WorkingFolder inFolder(folder.Path());
  LiveRig rig;
  rig.Layout();
  rig.autoSave = true;
  rig.prefix = "a";
  LiveReadings r{};
  r[3] = 33;
  rig.Sample(r);  // the empty ring at start wraps: nothing saved
  EXPECT_EQ(Recordings(folder.Path()), 0);
  for (int i = 0; i < 99; ++i) rig.Sample(r);
  rig.live->BtnScopeClick();  // stop: the ring in time order, the cursor at 3599
  rig.live->BtnScopeClick();  // start: the next sample wraps
  EXPECT_EQ(Recordings(folder.Path()), 0);
  rig.Sample(r);
  ASSERT_EQ(Recordings(folder.Path()), 1);
  std::string saved;
  for (const auto& e : std::filesystem::directory_iterator(folder.Path())) {
    saved = Slurp(e.path().string());
    std::filesystem::rename(e.path(), folder.Path() + "/first.kept");
  }
  ASSERT_EQ(saved.size(), 57856u);
  EXPECT_EQ(saved[256 + 3599 * 16 + 3], 33);  // the 100 samples, the newest last
  EXPECT_EQ(saved[256 + 3500 * 16 + 3], 33);
  EXPECT_EQ(saved[256 + 3499 * 16 + 3], 0);
  // Stopped and started again at once: the one new sample is saved with the ring.
  rig.live->BtnScopeClick();
  rig.live->BtnScopeClick();
  rig.Sample(r);
  EXPECT_EQ(Recordings(folder.Path()), 1);
  for (const auto& e : std::filesystem::directory_iterator(folder.Path()))
    if (e.path().extension() == ".orvv") std::filesystem::remove(e.path());

  // A recording opened and started: its records are in a file already.
  const std::string path = folder.Path() + "/old.orvv";
  rig.dialogs.fileAnswers.push_back(path);
  rig.live->BtnSaveVisClick();
  rig.dialogs.fileAnswers.push_back(path);
  rig.live->BtnOpenVisClick();
  rig.live->BtnScopeClick();
  rig.Sample(r);
  EXPECT_EQ(Recordings(folder.Path()), 1);  // old.orvv alone
  EXPECT_TRUE(rig.dialogs.messages.empty());
}

// A recording opened while the oscilloscope runs is in time order in the ring; saved again
// it gives the file that was opened, byte for byte.
TEST(LiveMonitorTest, aRecordingOpenedWhileRunningIsSavedAgainAsTheSameFile) {
  TempFolder folder;
  LiveRig rig;
  rig.Layout();
  ReadingHistory drive;
  for (int i = 0; i < 3600; ++i) {
    drive.Advance();
    drive.Current()[3] = static_cast<std::uint8_t>(i % 251);
    drive.Current()[9] = static_cast<std::uint8_t>(i / 251);
  }
  ParameterBlock block = FreshParameterBlock();
  block[0] = 0x64;
  const std::string original = RecordingBytes(block, drive, true);
  const std::string opened = folder.Path() + "/drive.orvv", again = folder.Path() + "/again.orvv";
  Put(opened, original);
  for (int i = 0; i < 1234; ++i) rig.Sample(LiveReadings{0, 0, 0, 5});
  ASSERT_TRUE(rig.live->Running());
  ASSERT_EQ(rig.history.ScopeCursor(), 1233);
  rig.dialogs.fileAnswers = {opened, again};
  rig.live->BtnOpenVisClick();
  rig.live->BtnSaveVisClick();
  EXPECT_TRUE(Slurp(again) == original);
  EXPECT_EQ(rig.history.ScopeCursor(), 3599);
}

// An existing file the fitter made read-only is refused with its name and stays as it was:
// recordings, the CSV export and the automatic save alike.
TEST(LiveMonitorTest, readOnlyFilesAreRefusedWithTheirNameAndLeftAsTheyAre) {
  TempFolder folder;
  WorkingFolder inFolder(folder.Path());
  LiveRig rig;
  rig.Layout();
  rig.prefix = "";
  for (int i = 0; i < 20; ++i) rig.Sample(LiveReadings{0, 0, 0, 7});
  struct Case {
    const char* name;
    std::function<void()> save;
    int messageId;
  } cases[] = {
      {"kept.orvv", [&] { rig.live->BtnSaveVisClick(); }, 702},
      {"kept.csv", [&] { rig.live->ExportCsv(); }, 702},
  };
  for (const Case& c : cases) {
    const std::string path = folder.Path() + "/" + c.name;
    Put(path, "protected");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    rig.dialogs.fileAnswers.push_back(path);
    c.save();
    ASSERT_FALSE(rig.dialogs.messages.empty()) << c.name;
    EXPECT_EQ(rig.dialogs.messages.back(), UiText(c.messageId) + " " + c.name);
    EXPECT_EQ(Slurp(path), "protected") << c.name;
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u) << c.name;
  }
  // The automatic save at the wrap: the name of the minute is read-only.
  rig.autoSave = true;
  rig.live->BtnScopeClick();
  rig.live->BtnScopeClick();
  const QTime now = QTime::currentTime();
  for (const QTime& t : {now, now.addSecs(60)}) {
    const std::string name = folder.Path() + "/" + RecordingName("", t.hour(), t.minute());
    Put(name, "protected");
    ASSERT_EQ(chmod(name.c_str(), 0444), 0);
  }
  const std::size_t before = rig.dialogs.messages.size();
  rig.recordingFolder = folder.Path();
  rig.Sample(LiveReadings{});
  ASSERT_TRUE(RunUntil([&] { return rig.dialogs.messages.size() == before + 1; }));
  EXPECT_EQ(rig.dialogs.messages.back().substr(0, UiText(730).size()), UiText(730));
  EXPECT_NE(rig.dialogs.messages.back().find(".orvv"), std::string::npos);
  for (const auto& e : std::filesystem::directory_iterator(folder.Path()))
    EXPECT_TRUE(e.path().extension() != ".orvv" || Slurp(e.path().string()) == "protected") << e.path();
}

}  // namespace
