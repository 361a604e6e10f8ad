// The program with its real serial port programs an image made by the image producer into
// the simulator's loader over a pseudo-terminal.

#include <gtest/gtest.h>

#include <QProgressBar>
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
#include "ui/UiTestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kConnectMs = 10000;
constexpr int kRunMs = 60000;

class FirmwareEndToEndTest : public ::testing::Test {
 protected:
  // A 16 KB binary, made into an image by the producer program, next to the program.
  void MakeImage() {
    plain = PlainImage(kFirmwareImageBytes, 0x1234567);
    MakeImageFile(plain, folder / "plain.bin", programDir / "firmware.img", "2024-03-07");
  }

  void Start(SimulatorProcess& sim) {
    ASSERT_TRUE(sim.Started()) << sim.ErrorOutput();
    setenv("ORV_COMM_PATTERN", sim.Pattern().c_str(), 1);
    TestApplication();
    MainWindowEnvironment env;
    env.dialogs = &dialogs;
    env.settingsPath = folder / "LPG2.reg";
    env.programDir = programDir.Path();
    form = std::make_unique<TForm1>(std::move(env));
    form->show();
  }

  bool ReadInFull() {
    return RunUntil(
        [&] {
          return form->ConnectionMode() == ConnectionMode::Controller &&
                 form->CurrentPage() == Page::Parameters && !form->Link().Vars().readPending;
        },
        kConnectMs);
  }

  // Starts a run from the firmware page and waits for its end; returns its result text.
  int Program() {
    if (form->CurrentPage() != Page::Firmware) form->TabUpgClick();
    if (form->Firmware().Page().FirmwareList().size() != 1) return -1;
    ProgrammingDialogue& dialogue = form->Firmware().Page().Dialogue();
    const int before = static_cast<int>(dialogs.messages.size());
    progressSeen = 0;
    form->Btn1Click();
    RunUntil(
        [&] {
          if (TForm3* w = form->Firmware().ProgrammingForm(); w && w->Progres->isVisible())
            progressSeen = std::max(progressSeen, w->Progres->value());
          return dialogue.CurrentPhase() == ProgrammingDialogue::Phase::Idle;
        },
        kRunMs);
    if (static_cast<int>(dialogs.messages.size()) <= before + 1) return 0;
    return dialogue.LastResultText();
  }

  bool ReceivedMatches(std::size_t blocks) {
    return ReceivedImageMatches(folder / "received.bin", plain, blocks);
  }

  TempFolder folder, programDir;
  Bytes plain;
  ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
  int progressSeen = 0;
};

TEST_F(FirmwareEndToEndTest, ImageArrivesIntactWithAndWithoutExtraBlocks) {
  MakeImage();
  for (int p : {0, 8}) {
    SimulatorProcess sim({"--loader-p", std::to_string(p), "--received", folder / "received.bin"});
    std::filesystem::remove(folder / "received.bin");
    Start(sim);
    ASSERT_TRUE(ReadInFull()) << p;
    EXPECT_EQ(Program(), 911) << p;
    EXPECT_GT(progressSeen, 500) << p;
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(form->Firmware().ProgrammingForm(), nullptr);
    EXPECT_EQ(dialogs.messages.back(), UiText(911));
    ASSERT_TRUE(RunUntil([&] { return std::filesystem::exists(folder / "received.bin"); }, 2000));
    EXPECT_TRUE(ReceivedMatches(1024 + p / 8)) << p;
    // The link restarts and reads the controller's new program in full.
    const std::size_t reads = sim.ParameterReads().size();
    ASSERT_TRUE(RunUntil([&] { return sim.ParameterReads().size() > reads; }, kConnectMs));
    EXPECT_TRUE(ReadInFull()) << p;
    form.reset();
    dialogs.messages.clear();
  }
}

TEST_F(FirmwareEndToEndTest, LoaderFallingSilentMidRunIsGivenUpAndTheRunCanBeRepeated) {
  MakeImage();
  SimulatorProcess sim({"--received", folder / "received.bin"});
  Start(sim);
  ASSERT_TRUE(ReadInFull());
  sim.Send("silent after 100");
  ASSERT_TRUE(RunUntil([&] { return sim.LogHas("CMD silent after 100"); }, 2000));
  EXPECT_EQ(Program(), 909);
  EXPECT_TRUE(sim.LogHas("LOADER silent after block 99"));
  EXPECT_EQ(dialogs.messages.back(), UiText(909));
  EXPECT_TRUE(form->isEnabled());
  EXPECT_EQ(form->Firmware().ProgrammingForm(), nullptr);

  // The restarted link finds the unfinished run's loader and brings the firmware page back.
  sim.Send("silent off");
  ASSERT_TRUE(RunUntil([&] { return form->ConnectionMode() == ConnectionMode::Loader; }, kConnectMs));
  EXPECT_EQ(form->CurrentPage(), Page::Firmware);
  EXPECT_EQ(form->Link().Vars().linkState, link_state::kStopped);

  // From there the run is repeated, and the controller's program is read again.
  EXPECT_EQ(Program(), 911);
  EXPECT_TRUE(ReceivedMatches(1025));
  EXPECT_TRUE(ReadInFull());
}

}  // namespace
