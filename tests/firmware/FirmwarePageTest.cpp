#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/UserDialogsQt.h"
#include "base/UiText.h"
#include "firmware/FirmwarePage.h"
#include "firmware/Orvlpgupg.h"
#include "link/LinkFrames.h"
#include "support/FakeSerialPort.h"
#include "support/LinkTestAccess.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedLinkHost.h"
#include "support/TempFolder.h"
#include "ui/InputEvents.h"
#include "ui/UiTestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes PagePattern(std::size_t n) {
  Bytes data(n);
  for (std::size_t i = 0; i < n; ++i) data[i] = static_cast<std::uint8_t>(i * 3 + 1);
  return data;
}

void WriteImage(const std::string& path, const Bytes& plain, std::uint8_t target = 0x96,
                std::uint8_t version = 161) {
  ImageInfo info;
  info.target = target;
  info.version = version;
  info.year = 2024;
  info.month = 3;
  info.day = 7;
  const Bytes file = BuildImageFile(plain, info, "Image " + FileNameOf(path));
  Put(path, std::string(file.begin(), file.end()));
}

// The page's views as a record of calls.
class RecordingView : public FirmwarePageView, public FirmwareHost {
 public:
  void ShowImageList(const std::vector<ListedImage>& images, int rows) override {
    listed = images;
    gridRows = rows;
  }
  void OpenProgrammingWindow() override { events.push_back("open"); }
  void SetFileText(const std::string& text) override { fileText = text; }
  void ShowProgress(int) override {}
  void SetProgress(int) override {}
  void SetStatusText(const std::string&) override {}
  void SetMainWindowEnabled(bool enabled) override { events.push_back(enabled ? "enable" : "disable"); }
  void CloseProgrammingWindow() override { events.push_back("close"); }
  void MakeAutomaticBackup() override { events.push_back("backup"); }
  void RunTransmitTimer() override { events.push_back("ticking"); }

  std::vector<ListedImage> listed;
  int gridRows = 0;
  std::string fileText;
  std::vector<std::string> events;
};

struct PageRig {
  PageRig() {
    port.Open();
    port.OnRxChar = [this](int n) { link.VaComm1RxChar(n); };
    LinkTestAccess::Block(link)[0] = 0x64;
    LinkTestAccess::State(link).linkState = link_state::kStopped;
  }
  TempFolder folder;
  FakeSerialPort port;
  ScriptedLinkHost host;
  ReadingHistory history;
  ControllerLink link{port, host, host, history};
  ScriptedDialogs dialogs;
  RecordingView view;
  FirmwarePage page{link, view, view, dialogs, folder.Path()};
};

TEST(FirmwarePage, GridRowsGrowPastTheVisibleRowsByTwo) {
  const struct {
    int images, visible, rows;
  } table[] = {{0, 12, 12}, {3, 12, 12}, {11, 12, 12}, {12, 12, 14}, {20, 12, 22}, {0, 0, 2}};
  for (const auto& row : table) EXPECT_EQ(FirmwareGridRows(row.images, row.visible), row.rows) << row.images;
}

TEST(FirmwarePage, ListingFollowsTheConnectedDeviceAndReportsUnopenableFiles) {
  PageRig rig;
  WriteImage(rig.folder / "a.img", PagePattern(64), 0x96);
  WriteImage(rig.folder / "b.img", PagePattern(64), 0x64);
  std::filesystem::create_symlink(rig.folder / "nowhere", rig.folder / "c.img");
  LinkTestAccess::State(rig.link).controllerStatus = 0x80;
  EXPECT_EQ(rig.page.ListFirmwareImages(12), 2);
  EXPECT_EQ(rig.link.Vars().controllerStatus, 255);
  EXPECT_EQ(rig.view.gridRows, 12);
  EXPECT_EQ(rig.dialogs.messages, (std::vector<std::string>{UiText(702) + " c.img"}));
  LinkTestAccess::Block(rig.link)[0] = 0x32;
  EXPECT_EQ(rig.page.ListFirmwareImages(12), 1);
  EXPECT_EQ(rig.page.FirmwareList()[0].path, rig.folder / "a.img");
  LinkTestAccess::Block(rig.link)[0] = 255;  // nothing read
  EXPECT_EQ(rig.page.ListFirmwareImages(2), 0);
  EXPECT_EQ(rig.view.gridRows, 2);
}

TEST(FirmwarePage, CancelClosesTheWindowAndSendsNothing) {
  PageRig rig;
  WriteImage(rig.folder / "a.img", PagePattern(64));
  rig.page.ListFirmwareImages(12);
  rig.dialogs.answers = {MessageAnswer::Cancel};
  rig.page.StartProgramming(1, ConnectionMode::Controller);
  EXPECT_EQ(rig.view.events, (std::vector<std::string>{"open", "close"}));
  EXPECT_EQ(rig.dialogs.messages, (std::vector<std::string>{UiText(901)}));
  EXPECT_EQ(rig.dialogs.beeps, 1);
  EXPECT_TRUE(rig.port.frames.empty());
}

TEST(FirmwarePage, RowsWithoutAnImageStartNothing) {
  PageRig rig;
  WriteImage(rig.folder / "a.img", PagePattern(64));
  rig.page.ListFirmwareImages(12);
  for (int row : {0, 2, -1, 40}) rig.page.StartProgramming(row, ConnectionMode::Controller);
  EXPECT_TRUE(rig.view.events.empty());
  EXPECT_TRUE(rig.dialogs.messages.empty());
}

TEST(FirmwarePage, StartSendsTheRequestAfterTheBackupOfAReadController) {
  for (int mode : {2, 4}) {
    PageRig rig;
    WriteImage(rig.folder / "a.img", PagePattern(64));
    rig.page.ListFirmwareImages(12);
    rig.page.StartProgramming(1, static_cast<ConnectionMode>(mode));
    std::vector<std::string> want = {"open", "disable", "ticking"};
    if (mode == 2) want.insert(want.begin() + 2, "backup");  // once the image was read and checked
    EXPECT_EQ(rig.view.events, want) << mode;
    EXPECT_EQ(rig.view.fileText, UiText(902) + "a.img");
    ASSERT_EQ(rig.port.frames.size(), 1u);
    EXPECT_EQ(rig.port.frames[0], (Bytes{0x3A, 0x75, 0x70, 0x1F}));
    EXPECT_EQ(rig.page.Dialogue().CurrentPhase(), ProgrammingDialogue::Phase::AwaitingLoader);
    rig.page.StartProgramming(
        1, static_cast<ConnectionMode>(mode));  // a second start while one runs does nothing
    EXPECT_EQ(rig.port.frames.size(), 1u);
  }
}

TEST(FirmwarePage, BadImagesAreRefusedBeforeAnythingIsSent) {
  PageRig rig;
  WriteImage(rig.folder / "a.img", PagePattern(1024));
  WriteImage(rig.folder / "b.img", PagePattern(1024));
  rig.page.ListFirmwareImages(12);

  // a.img loses its last data byte; b.img goes away after the listing.
  std::string bytes = Slurp(rig.folder / "a.img");
  bytes.pop_back();
  Put(rig.folder / "a.img", bytes);
  std::filesystem::remove(rig.folder / "b.img");

  // A controller read in full would be backed up before a run, but no run starts.
  rig.page.StartProgramming(1, ConnectionMode::Controller);
  rig.page.StartProgramming(2, ConnectionMode::Controller);
  EXPECT_TRUE(rig.port.frames.empty());
  EXPECT_EQ(rig.dialogs.messages, (std::vector<std::string>{UiText(901), UiText(703) + " a.img", UiText(901),
                                                            UiText(702) + " " + (rig.folder / "b.img")}));
  const std::vector<std::string> once = {"open", "disable", "close", "enable"};
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(rig.view.events, twice);
  EXPECT_EQ(rig.page.Dialogue().CurrentPhase(), ProgrammingDialogue::Phase::Idle);
}

// ---- The page in the main window ----

class FirmwareWindowTest : public ::testing::Test {
 protected:
  void Start() {
    auto fake = std::make_unique<FakeSerialPort>();
    port = fake.get();
    window.Start(folder / "ORV/LPG2.reg", std::move(fake), images.Path());
    LinkTestAccess::Block(form->Link())[0] = 0x64;
    form->TabUpgClick();
  }
  // A frame from the controller, its checksum appended.
  void Feed(Bytes f) {
    f.push_back(FrameChecksum(f.data(), f.size()));
    port->Feed(f);
  }
  std::string Cell(int row, int column) { return CellText(GridEx1(*form), row, column); }

  TempFolder folder, images;
  WindowUnderTest window;
  ScriptedDialogs& dialogs = window.dialogs;
  std::unique_ptr<TForm1>& form = window.form;
  FakeSerialPort* port = nullptr;
};

TEST_F(FirmwareWindowTest, GridShowsHeadersAndImagesAndSelectsTheLastAfterEveryLayout) {
  WriteImage(images / "a.img", PagePattern(64), 0x96, 161);
  WriteImage(images / "b.img", PagePattern(64), 0x96, 150);
  std::filesystem::create_directory(images / "sub.img");
  Start();
  EXPECT_EQ(form->CurrentPage(), Page::Firmware);
  EXPECT_EQ(Cell(0, 0), "Программирование");
  EXPECT_EQ(Cell(0, 1), "Описание");
  EXPECT_EQ(Cell(1, 0), " V1.61   2024.03.07");
  EXPECT_EQ(Cell(1, 1), "Image a.img");
  EXPECT_EQ(Cell(2, 0), " V1.50   2024.03.07");
  EXPECT_EQ(Cell(3, 0), "");
  EXPECT_EQ(GridEx1(*form)->currentRow(), 2);
  EXPECT_GE(GridEx1(*form)->rowCount(), 3);
  EXPECT_EQ(form->Firmware().Page().FirmwareList().size(), 2u);
  EXPECT_NE(form->LogText().find(images / "b.img"), std::string::npos);  // the list's copy

  GridEx1(*form)->setCurrentCell(1, 0);
  form->resize(form->width() + 40, form->height() + 20);
  form->LayoutMainWindow();
  EXPECT_EQ(GridEx1(*form)->currentRow(), 2);
}

TEST_F(FirmwareWindowTest, ProgrammingWindowOpensAndCancelLeavesTheMainWindowEnabled) {
  WriteImage(images / "a.img", PagePattern(64));
  Start();
  form->TimerInfoTimer();  // a run starts from the link at rest on the page
  form->TabUpgClick();
  TForm3* seen = nullptr;
  dialogs.answers = {MessageAnswer::Cancel};
  dialogs.onMessage = [&](const std::string&) { seen = form->Firmware().ProgrammingForm(); };
  form->Btn1Click();
  ASSERT_NE(seen, nullptr);
  EXPECT_EQ(seen->windowTitle().toStdString(), "MERVOLANTE");
  EXPECT_EQ(seen->size(), QSize(345, 89));
  EXPECT_EQ(seen->Label1->pos(), QPoint(72, 8));
  EXPECT_EQ(seen->Label2->pos(), QPoint(72, 40));
  EXPECT_EQ(seen->Progres->geometry(), QRect(72, 64, 265, 20));
  EXPECT_TRUE(seen->Progres->isHidden());
  EXPECT_EQ(form->Firmware().ProgrammingForm(), nullptr);
  EXPECT_TRUE(form->isEnabled());
  EXPECT_TRUE(port->frames.empty() || port->frames.back() != (Bytes{0x3A, 0x75, 0x70, 0x1F}));
}

TEST_F(FirmwareWindowTest, RunShowsProgressAndTheRemainingTime) {
  WriteImage(images / "a.img", PagePattern(16384));
  Start();
  form->TimerInfoTimer();  // the port opens; a run starts from the link at rest on the page
  form->TabUpgClick();
  form->Btn1Click();
  EXPECT_FALSE(form->isEnabled());
  TForm3* window = form->Firmware().ProgrammingForm();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Label1->text().toStdString(), UiText(902) + "a.img");
  ASSERT_FALSE(port->frames.empty());
  EXPECT_EQ(port->frames.back(), (Bytes{0x3A, 0x75, 0x70, 0x1F}));
  Feed({0x3A, 0x64, 0x40, 0x00, 0x08, 0x02, 0x00});  // N = 1025
  EXPECT_TRUE(window->Progres->isVisible());
  EXPECT_EQ(window->Progres->maximum(), 1025);
  Feed({0x07, 0x01, 0x03, 0x00, 0x08, 0x00, 25});
  EXPECT_EQ(window->Progres->value(), 25);
  EXPECT_EQ(window->Label2->text().toStdString(), "Время до окончания : 1 min 6 s");
  Feed({0x07, 0x01, 0x05, 0x00, 0x08, 0x04, 0x01});
  EXPECT_TRUE(form->isEnabled());
  EXPECT_EQ(form->Firmware().ProgrammingForm(), nullptr);
  EXPECT_EQ(dialogs.messages.back(), UiText(911));
  EXPECT_TRUE(form->Link().Vars().reconnectPending);
}

// From the confirmation to the end of a run the main window takes no key of its key table
// and no click; the run goes on, ends with 911 and restarts the link. The backup made
// before it is named in the log the fitter sees after it.
TEST_F(FirmwareWindowTest, KeysAndClicksDuringARunChangeNothing) {
  WriteImage(images / "a.img", PagePattern(3000));
  Start();
  form->TimerInfoTimer();  // the port opens and the link starts
  ASSERT_TRUE(port->Active());
  PressKeys(*form, {Qt::Key_O, Qt::Key_R, Qt::Key_V, Qt::Key_S});  // every page button shown
  ASSERT_TRUE(form->ServiceModeOn());
  LinkTestAccess::Block(form->Link())[1] = 145;
  LinkTestAccess::Block(form->Link())[3] = 0;
  form->ApplyConnectionMode(ConnectionMode::Controller);
  form->TabUpgClick();
  ASSERT_EQ(form->CurrentPage(), Page::Firmware);
  ASSERT_EQ(form->Firmware().Page().FirmwareList().size(), 1u);
  form->SetTxEnabled(true);
  form->Btn1Click();
  ASSERT_FALSE(form->isEnabled());
  Feed({0x3A, 0x64, 0x40, 0x00, 0x00, 0x02, 0x00});  // P = 0: 188 blocks
  Feed({0x07, 0x01, 0x03, 0x00, 0x00, 0x00, 0x00});
  ProgrammingDialogue& dialogue = form->Firmware().Page().Dialogue();
  ASSERT_EQ(dialogue.CurrentPhase(), ProgrammingDialogue::Phase::Running);
  ASSERT_EQ(dialogue.Plan().n, 188);
  const int fontIndex = form->Setup().CBFont->currentIndex();

  struct Keys {
    std::string name;
    std::vector<int> keys;
  };
  std::vector<Keys> table;
  for (int i = 0; i < 10; ++i) table.push_back({"F" + std::to_string(i + 1), {Qt::Key_F1 + i}});
  table.push_back({"Ctrl+F11", {Qt::Key_Control, Qt::Key_F11}});
  for (char c : std::string("QWSOE")) table.push_back({std::string("Ctrl+") + c, {Qt::Key_Control, c}});
  table.insert(table.end(), {{"Enter", {Qt::Key_Return}},
                             {"Left", {Qt::Key_Left}},
                             {"Right", {Qt::Key_Right}},
                             {"service sequence", {Qt::Key_O, Qt::Key_R, Qt::Key_V, Qt::Key_S}}});
  int block = 0;
  auto stillRunning = [&](const std::string& what) {
    EXPECT_EQ(dialogue.CurrentPhase(), ProgrammingDialogue::Phase::Running) << what;
    EXPECT_EQ(form->Link().Vars().linkState, link_state::kProgramming) << what;
    EXPECT_FALSE(form->Link().Vars().reconnectPending) << what;
    EXPECT_FALSE(form->Link().Vars().modeSwitchRequest) << what;
    EXPECT_TRUE(form->TxEnabled()) << what;
    EXPECT_EQ(form->CurrentPage(), Page::Firmware) << what;
    EXPECT_FALSE(form->isEnabled()) << what;
    EXPECT_TRUE(form->ServiceModeOn()) << what;
    EXPECT_EQ(form->Setup().CBFont->currentIndex(), fontIndex) << what;
    EXPECT_TRUE(dialogs.fileRequests.empty()) << what;
    // The loader's next request is still answered with its block, and nothing else went out.
    const std::size_t sent = port->frames.size();
    ++block;
    Feed({0x07, 0x01, 0x03, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(block)});
    ASSERT_EQ(port->frames.size(), sent + 1) << what;
    EXPECT_EQ(port->frames.back()[2], block) << what;
  };
  for (const auto& row : table) {
    PressKeys(*form, row.keys);
    stillRunning(row.name);
  }
  const std::vector<QWidget*> clicked = {
      form->TabOfPage(Page::Setup),        form->TabOfPage(Page::Parameters),
      Control<QLabel>(*form, "PanelInfo"), Control<QPushButton>(*form, "Btn1"),
      GridEx1(*form)->viewport(),          form.get()};
  for (QWidget* w : clicked) ClickWidget(w);
  stillRunning("clicks");
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{UiText(901)}));

  Feed({0x07, 0x01, 0x05, 0x00, 0x00, 0x00, 188});
  EXPECT_EQ(dialogue.LastResultText(), 911);
  EXPECT_TRUE(form->isEnabled());
  EXPECT_TRUE(form->Link().Vars().reconnectPending);
  form->TimerInfoTimer();  // the link restarts: the set-up page and its log
  EXPECT_EQ(form->CurrentPage(), Page::Setup);
  EXPECT_FALSE(form->Link().Vars().reconnectPending);
  const auto backups = std::filesystem::directory_iterator(folder / "ORV/backup");
  ASSERT_NE(backups, std::filesystem::directory_iterator());
  const std::string backup = backups->path().filename().string();
  EXPECT_NE(form->LogText().find(backup), std::string::npos) << form->LogText();
  EXPECT_EQ(form->LogText().find(images / "a.img"), std::string::npos);  // the list is gone
}

// Closing the program in the middle of a run takes its programming window with it; the
// controller is left in its loader, which the next start finds.
TEST_F(FirmwareWindowTest, ClosingTheWindowInTheMiddleOfARunEndsCleanly) {
  WriteImage(images / "a.img", PagePattern(3000));
  Start();
  form->TimerInfoTimer();
  form->TabUpgClick();
  form->Btn1Click();
  Feed({0x3A, 0x64, 0x40, 0x00, 0x00, 0x02, 0x00});
  ASSERT_EQ(form->Firmware().Page().Dialogue().CurrentPhase(), ProgrammingDialogue::Phase::Running);
  QPointer<TForm3> window = form->Firmware().ProgrammingForm();
  ASSERT_FALSE(window.isNull());
  form->close();
  form.reset();
  QApplication::processEvents();
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{UiText(901)}));  // no end box after the window went
}

// Enter on the page asks to program, however the page came into view and whatever had the
// focus (also nothing, as after a message box closed with no window manager to give the focus
// back); not while the restart after a run is pending, nor while the link reads the device.
TEST_F(FirmwareWindowTest, EnterAtTheWindowAsksToProgramOnlyFromALinkAtRest) {
  WriteImage(images / "a.img", PagePattern(64));
  Start();
  form->TimerInfoTimer();
  // Each way onto the page, with the focus on nothing and on the grid.
  const char* const ways[] = {"loader answers", "F6", "back from the set-up page"};
  for (int run = 0; run < 6; ++run) {
    const int way = run / 2;
    if (way > 0) form->TabSetClick();
    if (way == 0) form->ApplyConnectionMode(ConnectionMode::Loader);
    if (way == 1) PressKeyAtWindow(*form, Qt::Key_F6);
    if (way == 2) form->TabUpgClick();
    if (run % 2) GridEx1(*form)->setFocus();
    if (QWidget* w = QApplication::focusWidget(); w && run % 2 == 0) w->clearFocus();
    ASSERT_EQ(form->CurrentPage(), Page::Firmware) << ways[way];
    dialogs.answers = {MessageAnswer::Cancel};
    PressKeyAtWindow(*form, Qt::Key_Return);
    EXPECT_EQ(dialogs.messages.size(), static_cast<std::size_t>(run + 1))
        << ways[way] << ", focus " << run % 2;
  }
  form->Link().RequestReconnect();
  PressKeyAtWindow(*form, Qt::Key_Return);
  form->Btn1Click();
  form->Link().CancelReconnect();
  LinkTestAccess::State(form->Link()).linkState = link_state::kChoose;  // the link reads the device
  PressKeyAtWindow(*form, Qt::Key_Return);
  form->Btn1Click();
  EXPECT_EQ(dialogs.messages.size(), 6u);
  EXPECT_EQ(form->Firmware().ProgrammingForm(), nullptr);
}

// The programming window stays on top; the question asked over it stands in front of it,
// belongs to it and has the focus.
TEST(ProgrammingQuestion, StandsInFrontOfTheProgrammingWindowWithTheFocus) {
  TestApplication();
  QWidget main;
  main.show();
  TForm3 programming;
  programming.show();
  QtUserDialogs dialogs(&main);
  QWindow* over = nullptr;
  bool onTop = false, focused = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    focused = RunUntil([&] { return box->isAncestorOf(QApplication::focusWidget()); });
    over = box->windowHandle()->transientParent();
    onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    box->button(QMessageBox::Cancel)->click();
  });
  EXPECT_EQ(dialogs.ShowMessage(UiText(901), MessageButtons::OkCancel), MessageAnswer::Cancel);
  EXPECT_EQ(over, programming.windowHandle());
  EXPECT_TRUE(onTop);
  EXPECT_TRUE(focused);
}

}  // namespace
