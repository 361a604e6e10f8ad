// The parameter pages of the main window against the controller simulator over a real
// pseudo-terminal: rows, editing, files, the factory reset, clearing and the map.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <set>

#include "app/KeyTable.h"
#include "autoconfig/AutoConfiguration.h"
#include "base/UiText.h"
#include "monitor/CGaugeQt.h"
#include "monitor/LiveMonitorQt.h"
#include "params/ParameterEditorQt.h"
#include "params/ParameterFiles.h"
#include "params/ParameterRows.h"
#include "support/LinkTestAccess.h"
#include "support/SimulatorProcess.h"
#include "ui/InputEvents.h"
#include "ui/UiTestSupport.h"

namespace {

namespace fs = std::filesystem;
class ParameterWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(run.Connect());
    // The check after the read runs on the first tick that polls.
    ASSERT_TRUE(RunUntil([&] { return !Form().Link().Vars().validateAfterRead; }));
  }
  TForm1& Form() { return run.Form(); }
  QTableWidget* Grid() { return GridEx1(Form()); }
  ParameterBlock& Block() { return LinkTestAccess::Block(Form().Link()); }

  bool WaitForRead() {
    return RunUntil([&] { return run.ReadInFull(); });
  }
  // Waits for a full read of the controller from log line `from` on.
  void ExpectFullReadFrom(std::size_t from) {
    ASSERT_TRUE(RunUntil([&] { return FullReadProblem(sim.LogLines(), from).empty(); }))
        << FullReadProblem(sim.LogLines(), from);
    ASSERT_TRUE(WaitForRead());
  }
  bool WaitForLog(const std::string& line) {
    return RunUntil([&] { return sim.LogHas(line); });
  }
  std::size_t LogCount(const std::string& line) const { return sim.LogCount(line); }
  int RowOf(int parameter) {
    const ParameterList& list = Form().Editor().List();
    for (int r = 1; r <= list.Count(); ++r)
      if (list.Rows()[r].parameter == parameter) return r;
    return 0;
  }
  void SelectParameter(int parameter) {
    const int row = RowOf(parameter);
    ASSERT_GT(row, 0) << parameter;
    Grid()->setCurrentCell(row, 1);
  }
  std::string Cell(int row, int column) { return CellText(Grid(), row, column); }
  std::vector<std::string> Backups() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(run.BackupFolder(), ec)) names.push_back(e.path().string());
    return names;
  }

  SimulatorWindow run;
  SimulatorProcess& sim = run.sim;
  TempFolder& folder = run.folder;
  WindowUnderTest& window = run.window;
};

TEST_F(ParameterWindowTest, RowsOfBothOrdersWithTheEditorsOfTheSelectedRow) {
  for (int order : {kOrderByType, kOrderByFunction}) {
    ASSERT_EQ(Form().Setup().CBList->currentIndex(), order);
    const ParameterList expected = BuildParameterList(Block(), order);
    EXPECT_EQ(Cell(0, 0), UiText(300));
    for (int r = 1; r <= expected.Count(); ++r) {
      EXPECT_EQ(Cell(r, 0), DisplayText(expected.Texts()[r].label)) << r;
      EXPECT_EQ(Cell(r, 1), DisplayText(expected.Texts()[r].value)) << r;
    }
    EXPECT_GE(Grid()->rowCount(), expected.Count() + 1);
    EXPECT_EQ(Cell(expected.Count() + 1, 0), "");
    // Ctrl+F11 switches the order.
    Form().FormKeyDown(VK_CONTROL);
    Form().FormKeyDown(VK_F11);
  }

  // The factory block shows the power defects first (byte 78 = 2), with its clear button.
  ASSERT_EQ(Form().Editor().List().Rows()[1].parameter, 78);
  Grid()->setCurrentCell(1, 1);
  ParameterEditorQt& view = Form().EditorView();
  EXPECT_TRUE(view.BitBtn1->isVisible());
  EXPECT_FALSE(view.UpDown1->isVisible());
  SelectParameter(57);
  EXPECT_TRUE(view.Edit1->isVisible());
  EXPECT_TRUE(view.UpDown1->isVisible());
  EXPECT_EQ(view.Edit1->text().toStdString(), "0.80");
  SelectParameter(33);
  EXPECT_FALSE(view.Edit1->isVisible());
  EXPECT_TRUE(view.UpDown1->isVisible());
  const int selected = Form().Editor().SelectedParamRow();
  Form().RebuildEditor();
  EXPECT_EQ(Grid()->currentRow(), selected);

  // The hint over the power defects' value tells the cause of the last reset.
  const QRect cell = Grid()->visualItemRect(Grid()->item(1, 1));
  Form().GridEx1MouseMove(cell.center().x(), cell.center().y());
  EXPECT_TRUE(Control<QLabel>(Form(), "PanelHint")->isVisible());
  EXPECT_EQ(Control<QLabel>(Form(), "PanelHint")->text().toStdString(), "Power On Reset");
  Form().PanelHintClick();
  EXPECT_FALSE(Control<QLabel>(Form(), "PanelHint")->isVisible());
  EXPECT_EQ(Grid()->currentRow(), 1);
  Form().GridEx1MouseMove(cell.center().x(), cell.center().y());
  EXPECT_FALSE(Control<QLabel>(Form(), "PanelHint")->isVisible());
}

// ORV_SCREENSHOT=path saves a picture of the parameters page for the documentation.
TEST_F(ParameterWindowTest, ParametersPageShowsTheControllersRowsInAScreenshot) {
  Form().resize(900, 640);
  Form().LayoutMainWindow();
  SelectParameter(57);
  RunFor(1500);
  EXPECT_GT(Form().Editor().List().Count(), 20);
  EXPECT_TRUE(Form().EditorView().Edit1->isVisible());
  if (const char* shot = std::getenv("ORV_SCREENSHOT")) {
    EXPECT_TRUE(Form().grab().save(shot));
  }
}

TEST_F(ParameterWindowTest, ArrowsKeysAndTypingReachTheController) {
  ParameterEditorQt& view = Form().EditorView();
  SelectParameter(62);  // 25 = 2500 rpm
  view.UpDown1->findChild<QToolButton*>("UpDown1Up")->click();
  ASSERT_TRUE(WaitForLog("RX AA 3E 1A 02"));
  EXPECT_EQ(Cell(RowOf(62), 1), "2600" + UiText(150));
  Form().FormKeyDown(VK_LEFT);
  ASSERT_TRUE(WaitForLog("RX AA 3E 19 01"));
  EXPECT_TRUE(window.dialogs.messages.empty());

  // 20000 typed into an RPM field is limited to its range, not cut to eight bits.
  SelectParameter(62);
  view.Edit1->setText("20000");
  view.Edit1Change("20000");
  ASSERT_TRUE(WaitForLog("RX AA 3E 64 4C"));
  EXPECT_EQ(Cell(RowOf(62), 1), "10000");
  EXPECT_EQ(view.Edit1->text().toStdString(), "10000");  // what the controller got
  EXPECT_TRUE(window.dialogs.messages.empty());          // typing never warns

  // Stepping past the top wraps to 10 (1000 rpm), which the check reports once.
  Form().FormKeyDown(VK_RIGHT);
  ASSERT_TRUE(WaitForLog("RX AA 3E 0A F2"));
  ASSERT_EQ(window.dialogs.messages.size(), 1u);
  EXPECT_EQ(window.dialogs.messages[0], UiText(744));
  Form().FormKeyDown(VK_RIGHT);
  EXPECT_EQ(window.dialogs.messages.size(), 1u);
  Form().FormKeyDown(VK_LEFT);
  RunFor(300);
  EXPECT_EQ(window.dialogs.messages.size(), 1u);
  // A press in the label column makes the warning possible again.
  const QRect label = Grid()->visualItemRect(Grid()->item(RowOf(62), 0));
  Form().GridEx1MouseDown(label.center().x(), label.center().y());
  EXPECT_EQ(Form().Editor().LastWarnedParameter(), 0);
  Form().FormKeyDown(VK_LEFT);
  EXPECT_EQ(window.dialogs.messages.size(), 2u);
}

// A step fills the grid once, whatever it changes besides: nothing more (an RPM threshold),
// the dependent defaults (the thresholds of byte 68), or the readings with them (the TPS,
// probe and vacuum sensor types).
TEST_F(ParameterWindowTest, EveryStepFillsTheGridOnce) {
  for (int parameter : {62, 68, 33, 34, 81}) {
    for (int key : {VK_RIGHT, VK_LEFT}) {
      SelectParameter(parameter);
      const std::uint8_t value = Block()[parameter];
      const int before = Form().EditorView().Rebuilds();
      Form().FormKeyDown(key);
      ASSERT_NE(Block()[parameter], value) << parameter;
      EXPECT_EQ(Form().EditorView().Rebuilds() - before, 1) << "parameter " << parameter << ", key " << key;
    }
  }
}

TEST_F(ParameterWindowTest, LoadingWithYesWritesExactlyTheDifferingBytesThenTheControllerHoldsTheFile) {
  ParameterBlock file = Block();
  file[0] = 0x32;  // header bytes of another controller are never sent
  file[3] = 0;
  file[15] = 0;
  file[20] = 7;
  file[41] = 190;
  file[62] = 22;
  file[100] = 3;
  file[200] = 9;
  ASSERT_TRUE(SaveParameterFile(folder / "car.orvp", file));
  const ParameterBlock before = Block();
  const std::size_t from = sim.LogLines().size();
  window.dialogs.fileAnswers = {folder / "car.orvp"};
  window.dialogs.answers = {MessageAnswer::Yes};
  Form().BtnOpenParClick();
  // The question showed the changes under it, and the log counts the bytes written.
  ASSERT_EQ(window.dialogs.messages.back(), UiText(704));
  // The file is another model's; 20 and 100 have no row in this controller's view.
  EXPECT_EQ(window.dialogs.details.back(), UiText(1244) + "0x64 V1.45 → 0x32 V1.45\n" +
                                               "Обороты переключения: 2500 [обор/мин] → 2200 [обор/мин]\n"
                                               "Поз. максим. мотора: 180 → 190\n" +
                                               UiText(1231) + "20: 0 → 7, 100: 0 → 3\n");
  EXPECT_NE(Form().LogText().find(UiText(1232) + "4"), std::string::npos) << Form().LogText();
  ASSERT_TRUE(WaitForLog("RX AA 64 03 11"));
  RunFor(300);

  std::vector<std::string> lines = sim.LogLines();
  std::vector<std::string> run(lines.begin() + static_cast<long>(from), lines.end());
  std::vector<std::string> writes;
  std::size_t first = run.size(), last = 0;
  for (std::size_t i = 0; i < run.size(); ++i) {
    if (run[i].rfind("RX AA ", 0) != 0) continue;
    writes.push_back(run[i]);
    first = std::min(first, i);
    last = i;
  }
  EXPECT_EQ(writes, (std::vector<std::string>{"RX AA 14 07 C5", "RX AA 29 BE 91", "RX AA 3E 16 FE",
                                              "RX AA 64 03 11"}));
  EXPECT_EQ(last - first, writes.size() - 1) << "a request came between the writes";

  // A backup of the controller's block came first, and the log names it.
  const auto backups = Backups();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(LoadParameterFile(backups[0]).bytes, before);
  EXPECT_NE(Form().LogText().find(fs::path(backups[0]).filename().string()), std::string::npos);

  // Read everything again: the controller now holds the file's bytes 16..104.
  const std::size_t readFrom = sim.LogLines().size();
  Form().BtnReadParClick();
  ASSERT_NO_FATAL_FAILURE(ExpectFullReadFrom(readFrom));
  for (int i = 16; i <= 104; ++i) EXPECT_EQ(Block()[i], file[i]) << i;
  EXPECT_EQ(Block()[0], 0x64);
}

TEST_F(ParameterWindowTest, LoadingWithNoShowsTheFileReadOnlyWithTheLinkStopped) {
  ParameterBlock file = Block();
  file[0] = 0x32;
  file[1] = 150;
  file[62] = 20;
  ASSERT_TRUE(SaveParameterFile(folder / "other.ORVP", file));
  ASSERT_EQ(::chmod((folder / "other.ORVP").c_str(), 0444), 0);  // read-only files load
  window.dialogs.fileAnswers = {folder / "other.ORVP"};
  window.dialogs.answers = {MessageAnswer::No};
  Form().BtnOpenParClick();
  EXPECT_EQ(Form().ConnectionMode(), ConnectionMode::File);
  EXPECT_FALSE(Form().TimerTx()->isActive());
  EXPECT_EQ(Form().windowTitle().toStdString(), "MERVOLANTE LPG V1.61 - [other.ORVP] - TELK50 V1.50");
  EXPECT_EQ(Cell(RowOf(62), 1), "2000" + UiText(150));
  SelectParameter(62);
  ParameterEditorQt& view = Form().EditorView();
  EXPECT_FALSE(view.Edit1->isVisible());
  EXPECT_FALSE(view.UpDown1->isVisible());
  const std::size_t lines = sim.LogLines().size();
  Form().FormKeyDown(VK_RIGHT);
  RunFor(300);
  EXPECT_EQ(Block()[62], 20);
  EXPECT_EQ(sim.LogLines().size(), lines);
  EXPECT_TRUE(Backups().empty());
  EXPECT_EQ(Form().StoredSettings().DirOpen, folder.Path());
}

TEST_F(ParameterWindowTest, FactoryResetBacksUpWritesZeroAtIndexZeroAndReadsEverythingAgain) {
  SelectParameter(63);
  Form().FormKeyDown(VK_LEFT);
  ASSERT_TRUE(WaitForLog("RX AA 3F 3B 24"));
  const std::size_t reads = sim.ParameterReads().size(), readFrom = sim.LogLines().size();
  window.dialogs.answers = {MessageAnswer::Yes};
  Form().BtnWriteParClick();
  EXPECT_EQ(window.dialogs.messages.back(), UiText(705));
  ASSERT_TRUE(WaitForLog("RX AA 00 00 AA"));
  ASSERT_NO_FATAL_FAILURE(ExpectFullReadFrom(readFrom));
  EXPECT_EQ(sim.ParameterReads()[reads], 0);
  EXPECT_EQ(Block()[63], 60);
  EXPECT_EQ(Block()[0], 0x64);
  const auto backups = Backups();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(LoadParameterFile(backups[0]).bytes[63], 59);
}

TEST_F(ParameterWindowTest, ClearingThePowerDefectsWritesZeroEvenWhenAlreadyZeroAndReadsAgain) {
  for (int round = 0; round < 2; ++round) {
    if (round == 1) {
      // The controller's counter is 0 now; the view still shows a count.
      Block()[78] = LinkTestAccess::Sent(Form().Link())[78] = 4;
      Form().RebuildEditor();
    }
    ASSERT_EQ(Form().Editor().List().Rows()[1].parameter, 78);
    Grid()->setCurrentCell(1, 1);
    const std::size_t readFrom = sim.LogLines().size();
    Form().EditorView().BitBtn1->click();
    ASSERT_TRUE(RunUntil([&] { return LogCount("RX AA 4E 00 F8") == static_cast<std::size_t>(round + 1); }));
    ASSERT_NO_FATAL_FAILURE(ExpectFullReadFrom(readFrom));
    EXPECT_EQ(Block()[78], 0);
    EXPECT_NE(Form().Editor().List().Rows()[1].parameter, 78);
  }
}

TEST_F(ParameterWindowTest, MapFillsFollowsTheOperatingPointAndSendsItsCommandsOnce) {
  Form().FormKeyDown(VK_F5);
  ASSERT_EQ(Form().CurrentPage(), Page::Map);
  EXPECT_EQ(Grid()->columnCount(), 23);
  EXPECT_EQ(Grid()->rowCount(), 17);
  EXPECT_EQ(Cell(0, 1), "600");
  EXPECT_EQ(Cell(0, 22), "4800");
  EXPECT_EQ(Cell(1, 0), "0.00");
  EXPECT_EQ(Cell(16, 0), "2.40");  // a 0-2V vacuum sensor
  ASSERT_TRUE(RunUntil([&] { return !Cell(1, 22).empty() || LogCount("RX C5 25 EA") > 0; }));
  RunFor(200);
  int filled = 0, empty = 0;
  for (int c = 1; c <= 22; ++c)
    for (int r = 1; r <= 16; ++r) (Cell(r, c).empty() ? empty : filled)++;
  EXPECT_GT(filled, 0);
  EXPECT_GT(empty, 0);  // the simulator's unvisited corner
  EXPECT_GE(Grid()->currentColumn(), 1);
  EXPECT_GE(Grid()->currentRow(), 1);

  Control<QPushButton>(Form(), "Btn1")->click();
  ASSERT_TRUE(WaitForLog("RX A3 A3"));
  Control<QPushButton>(Form(), "Btn3")->click();
  ASSERT_TRUE(WaitForLog("RX 53 53"));
  RunFor(300);
  EXPECT_EQ(LogCount("RX A3 A3"), 1u);
  EXPECT_EQ(LogCount("RX 53 53"), 1u);
}

TEST_F(ParameterWindowTest, ConfigurationPageListsItsSevenRows) {
  Form().resize(800, 700);  // more rows in view than the wizard has
  QApplication::processEvents();
  Form().FormKeyDown(VK_F4);
  ASSERT_EQ(Form().CurrentPage(), Page::Configuration);
  const int labels[] = {413, 425, 435, 440, 542, 507, 506};
  for (int r = 1; r <= 7; ++r) EXPECT_EQ(Cell(r, 0), UiText(labels[r - 1])) << r;
  EXPECT_EQ(Cell(1, 1), "");
  // Nothing of the parameter view stays under the wizard's rows.
  ASSERT_GT(Grid()->rowCount(), 9);
  for (int r = 8; r < Grid()->rowCount(); ++r) EXPECT_EQ(Cell(r, 0) + Cell(r, 1), "") << r;
  EXPECT_EQ(Grid()->currentRow(), 1);
  EXPECT_FALSE(Form().EditorView().UpDown1->isVisible());
}

TEST_F(ParameterWindowTest, LanguageChangeReappliesTheTextsAndLaysOutAgain) {
  Form().AddLogLine("line");
  Form().TabOfPage(Page::Parameters)->setText("F3");
  emit Form().Setup().CBLang->activated(5);
  EXPECT_EQ(Form().LogText(), "");  // the texts are assembled in the log, which ends up empty
  EXPECT_EQ(Form().TabOfPage(Page::Parameters)->text().toStdString(), UiText(110));
  EXPECT_EQ(Cell(1, 0), DisplayText(Form().Editor().List().Texts()[1].label));
}

// Row 0 is a fixed heading (its keys on every page: FixedHeadingRowTest); at every window
// height the last parameter has its row, comes into view and gets its editing controls.
TEST_F(ParameterWindowTest, HeadingRowStaysFixedAndTheLastParameterIsReachableAtEveryHeight) {
  ParameterEditorQt& view = Form().EditorView();
  QTableWidget* g = Grid();
  EXPECT_EQ(g->horizontalHeaderItem(0)->text().toStdString(), UiText(300));
  EXPECT_EQ(g->horizontalHeaderItem(1)->text().toStdString(), UiText(301));
  g->setCurrentCell(1, 1);
  PressKey(g, Qt::Key_Down);
  EXPECT_EQ(g->currentRow(), 2);
  EXPECT_EQ(Form().Editor().SelectedParamRow(), 2);

  const int count = Form().Editor().List().Count();
  std::set<int> fits;  // count + 1 - rows visible, at the heights tried
  for (int height = 445; height <= 1300; height += 7) {
    Form().resize(700, height);
    QApplication::processEvents();
    Form().LayoutMainWindow();
    const int visible = Form().LastLayout().parameterRowsVisible;
    fits.insert(count + 1 - visible);
    ASSERT_EQ(g->rowCount(), std::max(count + 1, visible)) << height;
    g->setCurrentCell(count, 1);
    QApplication::processEvents();
    const QRect cell = g->visualItemRect(g->item(count, 1));
    EXPECT_TRUE(g->viewport()->rect().contains(cell)) << height << " " << visible;
    EXPECT_TRUE(view.UpDown1->isVisible()) << height;
    // Scrolled away and back, the last visible row gets its controls again.
    if (g->verticalScrollBar()->maximum() > 0) {
      g->verticalScrollBar()->setValue(g->verticalScrollBar()->maximum() - 1);
      EXPECT_FALSE(view.UpDown1->isVisible()) << height;
      g->verticalScrollBar()->setValue(g->verticalScrollBar()->maximum());
      EXPECT_TRUE(view.UpDown1->isVisible()) << height;
    }
  }
  // Below, at and just above the row count: the table fits exactly, and one row too many.
  EXPECT_TRUE(fits.count(1) && fits.count(0) && fits.count(-1));
}

// What the readings grid of the parameters page shows of bytes 33, 34 and 81.
struct ReadingsLook {
  bool tps, lambda, vacuum;
  int lambdaMaximum;
  bool operator==(const ReadingsLook&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ReadingsLook& l) {
  return out << "tps " << l.tps << " lambda " << l.lambda << " vacuum " << l.vacuum << " range "
             << l.lambdaMaximum;
}

// Every path that changes bytes 33, 34 or 81 lays the readings out anew at once: the editor
// through the dependent defaults, the wizard's apply, loading a file with Yes and with No,
// the factory reset and its read.
TEST_F(ParameterWindowTest, ReadingsFollowBytes33And34And81InEveryPathThatChangesThem) {
  Form().resize(900, 760);  // every readings row in view
  QApplication::processEvents();
  Form().LayoutMainWindow();
  auto look = [&] {
    const ReadingRowKinds& kinds = Form().Live().RowKinds();
    auto has = [&](int kind) { return std::find(kinds.begin(), kinds.end(), kind) != kinds.end(); };
    return ReadingsLook{has(row_kind::kTps), has(row_kind::kLambda), has(row_kind::kVacuum),
                        Form().Live().Widgets().gauges[kGaugeLam]->MaxValue()};
  };
  auto stepTo = [&](int parameter, int value) {
    SelectParameter(parameter);
    for (int i = 0; i < 8 && Block()[parameter] != value; ++i) Form().FormKeyDown(VK_RIGHT);
    ASSERT_EQ(Block()[parameter], value);
  };
  auto loadFile = [&](int tps, int lambda, int vacuum, MessageAnswer answer) {
    ParameterBlock file = Block();
    file[33] = static_cast<std::uint8_t>(tps);
    file[34] = static_cast<std::uint8_t>(lambda);
    file[81] = static_cast<std::uint8_t>(vacuum);
    ASSERT_TRUE(SaveParameterFile(folder / "types.orvp", file));
    window.dialogs.fileAnswers = {folder / "types.orvp"};
    window.dialogs.answers = {answer};
    Form().BtnOpenParClick();
  };
  ASSERT_EQ(look(), (ReadingsLook{true, true, true, 50}));  // the factory's 0-5V TPS, 0-1V probe, 0-2V sensor
  struct Path {
    const char* name;
    std::function<void()> change;
    ReadingsLook expected;
  } paths[] = {
      {"TPS type stepped to none", [&] { stepTo(33, 4); }, {false, true, true, 50}},
      {"probe type stepped to 0-5V", [&] { stepTo(34, 1); }, {false, true, true, 255}},
      // On its way to none the probe passes 0.8-1.6V; none leaves the range as it was.
      {"probe type stepped to none", [&] { stepTo(34, 4); }, {false, false, true, 120}},
      {"vacuum sensor stepped to none", [&] { stepTo(81, 0); }, {false, false, false, 120}},
      {"wizard applies a 0.8-1.6V probe",
       [&] {
         Form().FormKeyDown(VK_F4);
         Block()[34] = 3;                        // as the wizard's probe test finds it
         Form().Wizard().state.WizardStep = 18;  // at its end, where Примени is enabled
         Form().BitBtnOkClick();
         ASSERT_EQ(Form().CurrentPage(), Page::Parameters);
       },
       {false, true, false, 120}},
      {"file loaded with Yes", [&] { loadFile(0, 0, 1, MessageAnswer::Yes); }, {true, true, true, 50}},
      {"factory reset and its read",
       [&] {
         stepTo(33, 4);
         ASSERT_FALSE(look().tps);
         ASSERT_TRUE(WaitForLog("RX AA 21 04 CF"));  // sent before the reset, which then undoes it
         window.dialogs.answers = {MessageAnswer::Yes};
         Form().BtnWriteParClick();
         ASSERT_TRUE(RunUntil([&] { return Form().Link().Vars().readPending; }));
         ASSERT_TRUE(WaitForRead());
       },
       {true, true, true, 50}},
      {"file loaded with No", [&] { loadFile(4, 4, 0, MessageAnswer::No); }, {false, false, false, 50}},
  };
  for (const Path& path : paths) {
    path.change();
    EXPECT_EQ(look(), path.expected) << path.name;
    EXPECT_EQ(Form().Live().Widgets().gauges[kGaugeTps]->isVisible(), path.expected.tps) << path.name;
    EXPECT_EQ(Form().Live().Widgets().PanelLam->isVisible(), path.expected.lambda) << path.name;
    EXPECT_EQ(Form().Live().Widgets().gauges[kGaugePsi]->isVisible(), path.expected.vacuum) << path.name;
  }
}

// Typing a file name keeps the field over its row and the keyboard in it.
TEST_F(ParameterWindowTest, TypingTheFileNameKeepsTheFieldInPlaceAndFocused) {
  Form().FormKeyDown(VK_F2);
  ASSERT_EQ(Form().CurrentPage(), Page::Setup);
  int row = 0;
  for (int r = 1; r < Grid()->rowCount(); ++r)
    if (Cell(r, 0) == UiText(304)) row = r;
  ASSERT_GT(row, 0);
  Grid()->setCurrentCell(row, 1);
  QLineEdit* box = Form().Setup().EDFile;
  ASSERT_TRUE(box->isVisible());
  Form().activateWindow();
  box->setFocus();
  ASSERT_TRUE(RunUntil([&] { return box->hasFocus(); }));
  const QRect place = box->geometry();
  const std::string before = box->text().toStdString();
  for (char c : std::string("car7")) PressKey(box, QChar(c).toUpper().unicode(), Qt::NoModifier, QString(c));
  EXPECT_EQ(box->text().toStdString(), before + "car7");
  EXPECT_TRUE(box->isVisible());
  EXPECT_TRUE(box->hasFocus());
  EXPECT_EQ(box->geometry(), place);
  EXPECT_EQ(Grid()->currentRow(), row);
  EXPECT_EQ(Cell(row, 1), before + "car7");
  // A rebuild while the fitter types (a status change, a resize) leaves the keyboard there.
  Form().LayoutMainWindow();
  EXPECT_TRUE(box->isVisible());
  EXPECT_EQ(Grid()->currentRow(), row);
  EXPECT_TRUE(box->hasFocus());
  PressKey(box, Qt::Key_Backspace);
  EXPECT_EQ(Form().CurrentSettings().FileName, before + "car");
}

// The map page closes the magnifier; opened again there, it follows the map reply.
TEST_F(ParameterWindowTest, MagnifierFollowsTheEngineOnTheMapPage) {
  Form().FormKeyDown(VK_F5);
  ASSERT_EQ(Form().CurrentPage(), Page::Map);
  Form().Live().Widgets().BtnLup->click();
  ASSERT_TRUE(Form().Live().MagnifierShown());
  // A live-data reply still under way from the parameters page may come first.
  const std::string rpm = UiText(150), volts = " [V]";
  auto ends = [](const std::string& text, const std::string& end) {
    return text.size() > end.size() && text.substr(text.size() - end.size()) == end;
  };
  ASSERT_TRUE(RunUntil([&] { return ends(Form().Live().Lines()[1], volts); })) << Form().Live().Lines()[1];
  const MagnifierLines lines = Form().Live().Lines();
  ASSERT_GT(lines[0].size(), rpm.size());
  EXPECT_EQ(lines[0].substr(lines[0].size() - rpm.size()), rpm);
  ASSERT_EQ(lines[1].size(), 4 + volts.size()) << lines[1];  // "1.24 [V]"
  EXPECT_EQ(lines[1].substr(4), volts);
  EXPECT_EQ(lines[1][1], '.');
  Form().Live().Widgets().BtnLup->click();
}

}  // namespace
