// The program with its real serial port against the simulator pacing both directions at the
// line's 4800 baud: the bytes of a reply arrive a few at a time, as from a controller behind
// a USB adapter. Each run takes the time the line takes.

#include <gtest/gtest.h>

#include <QLabel>
#include <QObject>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/MainThreadQt.h"
#include "base/UiText.h"
#include "firmware/Orvlpgupg.h"
#include "support/FirmwareImageFiles.h"
#include "support/SimulatorProcess.h"
#include "support/TempFolder.h"
#include "ui/InputEvents.h"
#include "ui/UiTestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kPacedRunMs = 4 * kPatienceMs;  // a 16 KB image takes a minute at line speed

// One program window on the paced simulator, its port given explicitly so that several
// windows can run side by side.
struct PacedProgram {
  explicit PacedProgram(std::vector<std::string> options, const std::string& programDir = "/tmp")
      : run([&] {
          options.push_back("--paced");
          return options;
        }()) {
    if (!sim.Started()) return;
    run.Start(programDir, std::make_unique<TVaComm>(MakeQtMainThreadDispatcher(&context), sim.Pattern()));
    shownAt = std::chrono::steady_clock::now();
  }
  bool InLoaderOnFirmwarePage() const {
    return form->ConnectionMode() == ConnectionMode::Loader && form->CurrentPage() == Page::Firmware &&
           !dialogs.messages.empty();
  }

  QObject context;  // outlives the window's port
  SimulatorWindow run;
  SimulatorProcess& sim = run.sim;
  ScriptedDialogs& dialogs = run.window.dialogs;
  std::unique_ptr<TForm1>& form = run.window.form;
  std::chrono::steady_clock::time_point shownAt;
};

double SecondsSince(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

class PacedLineTest : public ::testing::Test {
 protected:
  // A program window on a controller in its loader (byte 6 `status`) that is to receive
  // `plain` as an image next to the program; the loader's report shows `text`.
  void StartInLoader(std::unique_ptr<PacedProgram>& p, const char* status, const Bytes& plain, int text) {
    MakeImageFile(plain, folder / "plain.bin", programDir / "firmware.img", "2026-12-09");
    p = std::make_unique<PacedProgram>(std::vector<std::string>{"--loader", status, "--loader-p", "0",
                                                                "--received", folder / "received.bin"},
                                       programDir.Path());
    ASSERT_TRUE(p->sim.Started()) << p->sim.ErrorOutput();
    ASSERT_TRUE(RunUntil([&] { return p->InLoaderOnFirmwarePage(); }));
    RecordProperty("seconds_to_firmware_page", std::to_string(SecondsSince(p->shownAt)));
    EXPECT_EQ(p->dialogs.messages, std::vector<std::string>{UiText(920) + UiText(text)});
  }

  // Starts the run of the one listed image, calls `midway` once when the loader has asked
  // for `midwayBlock`, and waits for the end; returns the result text.
  int Program(PacedProgram& p, int midwayBlock = -1, const std::function<void()>& midway = nullptr) {
    TForm1& form = *p.form;
    if (form.Firmware().Page().FirmwareList().size() != 1) return -1;
    ProgrammingDialogue& dialogue = form.Firmware().Page().Dialogue();
    bool midwayDone = false;
    form.Btn1Click();
    const bool ended = RunUntil(
        [&] {
          const TForm3* w = form.Firmware().ProgrammingForm();
          if (midway && !midwayDone && w && w->Progres->isVisible() && w->Progres->value() >= midwayBlock) {
            midwayDone = true;
            midway();
          }
          return dialogue.CurrentPhase() == ProgrammingDialogue::Phase::Idle;
        },
        kPacedRunMs);
    if (!ended || (midway && !midwayDone)) return 0;
    return dialogue.LastResultText();
  }

  // The loader put together the plain image, then zeros to the end of block `blocks`.
  void ExpectReceived(const Bytes& plain, std::size_t blocks) {
    ASSERT_TRUE(RunUntil([&] { return std::filesystem::exists(folder / "received.bin"); }));
    EXPECT_TRUE(ReceivedImageMatches(folder / "received.bin", plain, blocks));
  }

  TempFolder folder, programDir;
};

// The loader's report answers the first parameter read; each text of its byte 6 is shown and
// the firmware page comes up. Three controllers side by side; the first two texts come with
// the runs below.
TEST_F(PacedLineTest, LoaderReportWithEachTextBringsTheFirmwarePage) {
  const struct {
    const char* byte6;
    std::string text;
  } table[] = {{"2", UiText(920) + UiText(923)}, {"3", UiText(920) + UiText(924)}, {"77", UiText(920)}};
  std::vector<std::unique_ptr<PacedProgram>> programs;
  for (const auto& row : table) {
    programs.push_back(std::make_unique<PacedProgram>(std::vector<std::string>{"--loader", row.byte6}));
    ASSERT_TRUE(programs.back()->sim.Started()) << programs.back()->sim.ErrorOutput();
  }
  EXPECT_TRUE(RunUntil([&] {
    for (const auto& p : programs)
      if (!p->InLoaderOnFirmwarePage()) return false;
    return true;
  }));
  RecordProperty("seconds_to_firmware_page", std::to_string(SecondsSince(programs.back()->shownAt)));
  for (std::size_t i = 0; i < programs.size(); ++i) {
    const PacedProgram& p = *programs[i];
    EXPECT_EQ(p.dialogs.messages, std::vector<std::string>{table[i].text}) << table[i].byte6;
    EXPECT_EQ(p.form->Link().Vars().linkState, link_state::kStopped);
    EXPECT_EQ(p.form->Link().Block()[0], 0x64);
    EXPECT_TRUE(p.form->TabVisible(Page::Firmware));
    // The report, though it came in pieces, answered the first read: nothing was asked beyond
    // it (a tick that comes before the report's last piece repeats the request for index 1).
    const std::vector<int> reads = p.sim.ParameterReads();
    ASSERT_FALSE(reads.empty());
    EXPECT_EQ(reads.front(), 0);
    EXPECT_EQ(std::count(reads.begin(), reads.end(), 1), static_cast<long>(reads.size()) - 1)
        << table[i].byte6;
  }
}

// A controller left in its loader is reflashed with a 3000-byte image (P = 0, so the last
// block is only half filled) while page keys, F10, Ctrl+Q and clicks are pressed in the
// middle of the run; the restarted link then reads the new program in full.
TEST_F(PacedLineTest, KeysInTheMiddleOfARunChangeNothingAndTheNewProgramIsReadInFull) {
  const Bytes plain = PlainImage(3000, 0x1234567);
  std::unique_ptr<PacedProgram> program;
  ASSERT_NO_FATAL_FAILURE(StartInLoader(program, "0", plain, 921));
  PacedProgram& p = *program;
  TForm1& form = *p.form;
  PressKeys(form, {Qt::Key_O, Qt::Key_R, Qt::Key_V, Qt::Key_S});  // every page button shown

  EXPECT_EQ(Program(p, 90,
                    [&] {
                      PressKeys(form, {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F6,
                                       Qt::Key_F10, Qt::Key_Control, Qt::Key_Q, Qt::Key_F8, Qt::Key_Return});
                      ClickWidget(form.TabOfPage(Page::Parameters));
                      ClickWidget(Control<QLabel>(form, "PanelInfo"));
                      ClickWidget(Control<QPushButton>(form, "Btn1"));
                    }),
            911);
  EXPECT_EQ(p.dialogs.messages.back(), UiText(911));
  EXPECT_TRUE(form.isEnabled());
  EXPECT_EQ(form.Firmware().ProgrammingForm(), nullptr);
  ASSERT_NO_FATAL_FAILURE(ExpectReceived(plain, 188));

  // The link restarts and reads the controller's new program, byte by byte at line speed.
  ASSERT_TRUE(RunUntil([&] { return p.run.ReadInFull(); }));
  const std::vector<std::string> lines = p.sim.LogLines();
  const auto lastStart = std::find(lines.rbegin(), lines.rend(), "RX 55 00 55");
  EXPECT_EQ(FullReadProblem(lines, static_cast<std::size_t>(lines.rend() - lastStart) - 1), "");
  EXPECT_EQ(form.Link().Block()[0], 0x64);
  EXPECT_EQ(form.Link().Block()[1], 145);
  EXPECT_EQ(form.Link().SentBlock(), form.Link().Block());
}

// A whole 16 KB image at line speed with P = 0, from a loader whose last run ended in error.
TEST_F(PacedLineTest, SixteenKilobyteImageArrivesIntact) {
  const Bytes plain = PlainImage(16384, 0x7654321);
  std::unique_ptr<PacedProgram> program;
  ASSERT_NO_FATAL_FAILURE(StartInLoader(program, "1", plain, 922));
  PacedProgram& p = *program;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(Program(p), 911);
  RecordProperty("run_seconds", std::to_string(SecondsSince(started)));
  EXPECT_TRUE(p.form->isEnabled());
  ExpectReceived(plain, 1024);
}

}  // namespace
