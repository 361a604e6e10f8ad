// The program with its real serial port programs an image made by the image producer into
// the simulator's loader over a pseudo-terminal.

#include <gtest/gtest.h>

#include <QProgressBar>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/UiText.h"
#include "firmware/FirmwareImage.h"
#include "firmware/Orvlpgupg.h"
#include "support/FirmwareImageFiles.h"
#include "support/SimulatorProcess.h"
#include "support/TempFolder.h"
#include "ui/InputEvents.h"
#include "ui/UiTestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class FirmwareEndToEndTest : public ::testing::Test {
 protected:
  // A 16 KB binary, made into an image by the producer program, next to the program.
  void MakeImage() {
    plain = PlainImage(kFirmwareImageBytes, 0x1234567);
    MakeImageFile(plain, folder / "plain.bin", programDir / "firmware.img", "2024-03-07");
  }

  void Start(std::vector<std::string> options) {
    run = std::make_unique<SimulatorWindow>(std::move(options));
    ASSERT_TRUE(run->Start(programDir.Path()));
    form = &run->Form();
  }

  bool ReadInFull() {
    return RunUntil([&] { return run->ReadInFull(); });
  }

  // Starts a run from the firmware page with Enter and waits for its end; returns its result text.
  // `progress` gets the values the programming window's bar took.
  int Program() {
    if (form->CurrentPage() != Page::Firmware) form->TabUpgClick();
    if (form->Firmware().Page().FirmwareList().size() != 1) return -1;
    ProgrammingDialogue& dialogue = form->Firmware().Page().Dialogue();
    const std::vector<std::string>& messages = run->Dialogs().messages;
    const std::size_t before = messages.size();
    progress.clear();
    PressKeyAtWindow(*form, Qt::Key_Return);  // as the fitter starts it, whatever has the focus
    QMetaObject::Connection watch;
    RunUntil([&] {
      if (TForm3* w = form->Firmware().ProgrammingForm(); w && !watch)
        watch = QObject::connect(w->Progres, &QProgressBar::valueChanged, w->Progres,
                                 [this](int value) { progress.push_back(value); });
      return dialogue.CurrentPhase() == ProgrammingDialogue::Phase::Idle;
    });
    if (messages.size() <= before + 1) return 0;
    return dialogue.LastResultText();
  }

  // The bar rose with the blocks the loader asked for, never back, to the last one; it is
  // set back to 0 as the window closes.
  ::testing::AssertionResult ProgressRoseTo(int blocks) const {
    std::vector<int> values = progress;
    if (!values.empty() && values.back() == 0) values.pop_back();
    if (values.empty() || !std::is_sorted(values.begin(), values.end()) || values.back() != blocks)
      return ::testing::AssertionFailure()
             << values.size() << " values, the last " << (values.empty() ? -1 : values.back());
    return ::testing::AssertionSuccess();
  }

  bool ReceivedMatches(std::size_t blocks) {
    return ReceivedImageMatches(folder / "received.bin", plain, blocks);
  }

  TempFolder folder, programDir;
  Bytes plain;
  std::unique_ptr<SimulatorWindow> run;
  TForm1* form = nullptr;
  std::vector<int> progress;
};

TEST_F(FirmwareEndToEndTest, ImageArrivesIntactWithAndWithoutExtraBlocks) {
  MakeImage();
  for (int p : {0, 8}) {
    std::filesystem::remove(folder / "received.bin");
    ASSERT_NO_FATAL_FAILURE(Start({"--loader-p", std::to_string(p), "--received", folder / "received.bin"}));
    SimulatorProcess& sim = run->sim;
    const std::vector<std::string>& messages = run->Dialogs().messages;
    ASSERT_TRUE(ReadInFull()) << p;
    EXPECT_EQ(Program(), 911) << p;
    EXPECT_TRUE(ProgressRoseTo(1024 + p / 8)) << p;
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(form->Firmware().ProgrammingForm(), nullptr);
    EXPECT_EQ(messages.back(), UiText(911));
    ASSERT_TRUE(RunUntil([&] { return std::filesystem::exists(folder / "received.bin"); }));
    EXPECT_TRUE(ReceivedMatches(1024 + p / 8)) << p;
    // The link restarts and reads the controller's new program in full.
    const std::size_t reads = sim.ParameterReads().size();
    ASSERT_TRUE(RunUntil([&] { return sim.ParameterReads().size() > reads; }));
    EXPECT_TRUE(ReadInFull()) << p;
    run.reset();
  }
}

TEST_F(FirmwareEndToEndTest, LoaderFallingSilentMidRunIsGivenUpAndTheRunCanBeRepeated) {
  MakeImage();
  ASSERT_NO_FATAL_FAILURE(Start({"--received", folder / "received.bin"}));
  SimulatorProcess& sim = run->sim;
  const std::vector<std::string>& messages = run->Dialogs().messages;
  ASSERT_TRUE(ReadInFull());
  sim.Send("silent after 100");
  ASSERT_TRUE(RunUntil([&] { return sim.LogHas("CMD silent after 100"); }));
  EXPECT_EQ(Program(), 909);
  EXPECT_TRUE(sim.LogHas("LOADER silent after block 99"));
  EXPECT_EQ(messages.back(), UiText(909));
  EXPECT_TRUE(form->isEnabled());
  EXPECT_EQ(form->Firmware().ProgrammingForm(), nullptr);

  // The restarted link finds the unfinished run's loader and brings the firmware page back.
  sim.Send("silent off");
  ASSERT_TRUE(RunUntil([&] { return form->ConnectionMode() == ConnectionMode::Loader; }));
  EXPECT_EQ(form->CurrentPage(), Page::Firmware);
  EXPECT_EQ(form->Link().Vars().linkState, link_state::kStopped);

  // From there the run is repeated, and the controller's program is read again.
  EXPECT_EQ(Program(), 911);
  EXPECT_TRUE(ReceivedMatches(1025));
  EXPECT_TRUE(ReadInFull());
}

}  // namespace
