#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QTimer>

#include "app/KeyTable.h"
#include "app/SettingsStore.h"
#include "base/UiText.h"
#include "support/SimulatorProcess.h"
#include "ui/UiTestSupport.h"

namespace {

// The program with its real serial port, looking for its ports where the simulator is.
class ProgramAgainstSimulatorTest : public ::testing::Test {
 protected:
  void Start(std::vector<std::string> options = {}) {
    run = std::make_unique<SimulatorWindow>(std::move(options));
    ASSERT_TRUE(run->Start());
  }
  TForm1& Form() { return run->Form(); }
  SimulatorProcess& Sim() { return run->sim; }
  ScriptedDialogs& Dialogs() { return run->Dialogs(); }
  bool WaitForMode(ConnectionMode mode) {
    return RunUntil([&] { return Form().ConnectionMode() == mode; });
  }

  std::unique_ptr<SimulatorWindow> run;
};

TEST_F(ProgramAgainstSimulatorTest, connectsReadsEverythingAndPollsOnTheParametersPage) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(WaitForMode(ConnectionMode::Controller));
  TForm1& f = Form();
  SimulatorProcess& sim = Sim();
  EXPECT_EQ(f.windowTitle().toStdString(), "MERVOLANTE LPG V1.61 - Командоконтроллер газа TELK100 V1.45");
  EXPECT_EQ(f.CurrentPage(), Page::Parameters);
  EXPECT_EQ(f.Link().Vars().linkState, link_state::kParameterPoll);
  EXPECT_EQ(FullReadProblem(sim.LogLines()), "");
  ASSERT_TRUE(RunUntil([&] { return sim.LogHas("RX 33 33"); }));
  ASSERT_TRUE(RunUntil([&] { return f.Link().Vars().controllerStatus != 255; }));

  // F3 to F6 select the pages whose buttons are shown.
  const std::pair<int, Page> keys[] = {{VK_F4, Page::Configuration},
                                       {VK_F5, Page::Map},
                                       {VK_F6, Page::Firmware},
                                       {VK_F3, Page::Parameters},
                                       {VK_F2, Page::Setup}};
  for (auto [key, page] : keys) {
    f.FormKeyDown(key);
    EXPECT_EQ(f.CurrentPage(), page) << key;
  }
  EXPECT_FALSE(f.TabVisible(Page::Port));
  f.FormKeyDown(VK_F10);
  ASSERT_TRUE(RunUntil([&] { return f.Link().Vars().readPending; }));
  ASSERT_TRUE(WaitForMode(ConnectionMode::Controller));
  run->window.Close();
  SettingsStore store = SettingsStore::Open(run->SettingsPath());
  EXPECT_FALSE(store.HasValue("AutoScan"));
}

TEST_F(ProgramAgainstSimulatorTest, silentControllerIsLostAndReadAgain) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(WaitForMode(ConnectionMode::Controller));
  Sim().Send("silent on");
  ASSERT_TRUE(RunUntil([&] { return Form().LogText().find(UiText(724)) != std::string::npos; }));
  EXPECT_EQ(Form().ConnectionMode(), ConnectionMode::None);
  EXPECT_EQ(Form().windowTitle().toStdString(), "MERVOLANTE LPG V1.61");
  EXPECT_TRUE(Form().Link().Vars().readPending);
  Sim().Send("silent off");
  ASSERT_TRUE(WaitForMode(ConnectionMode::Controller));
}

TEST_F(ProgramAgainstSimulatorTest, sixLossesInARowStopTheLinkAndAskForAConnection) {
  ASSERT_NO_FATAL_FAILURE(Start({"--silent"}));
  ASSERT_TRUE(
      RunUntil([&] { return !Form().TimerTx()->isActive() && !Form().Link().Vars().reconnectPending; },
               2 * kPatienceMs));
  RunFor(1000);
  std::string log = Form().LogText();
  int losses = 0;
  for (std::size_t at = log.find(UiText(724)); at != std::string::npos; at = log.find(UiText(724), at + 1))
    ++losses;
  EXPECT_EQ(losses, 6);
  EXPECT_EQ(Control<QLabel>(Form(), "PanelInfo")->text().toStdString(), "СОЕДИНИ");
  EXPECT_NE(Control<QLabel>(Form(), "PanelInfo")->styleSheet().indexOf("color:#ff0000"), -1);
  EXPECT_GE(Dialogs().beeps, 6);
}

TEST_F(ProgramAgainstSimulatorTest, portSearchFindsTheControllerOnCom3) {
  ASSERT_NO_FATAL_FAILURE(Start({"--port", "3"}));
  Form().Setup().CBCAut->setCurrentIndex(1);
  ASSERT_TRUE(WaitForMode(ConnectionMode::Controller));
  EXPECT_EQ(Form().Port().PortNum(), 3);
  const std::string log = Form().LogText();
  EXPECT_NE(log.find(UiText(721) + "1 -" + UiText(722)), std::string::npos);
  EXPECT_NE(log.find(UiText(721) + "3 -" + UiText(723)), std::string::npos);
}

TEST_F(ProgramAgainstSimulatorTest, newerFirmwareBringsTheVersionWarning) {
  ASSERT_NO_FATAL_FAILURE(Start({"--version", "180"}));
  ASSERT_TRUE(WaitForMode(ConnectionMode::Controller));
  ASSERT_EQ(Dialogs().messages.size(), 1u);
  EXPECT_EQ(Dialogs().messages[0], UiText(741) + "176 .\n\r");
  EXPECT_TRUE(Form().TimerTx()->isActive());  // the link resumes after the box
}

TEST_F(ProgramAgainstSimulatorTest, testerLeavesOnlyTheSetupAndFirmwarePages) {
  ASSERT_NO_FATAL_FAILURE(Start({"--tester"}));
  ASSERT_TRUE(WaitForMode(ConnectionMode::Tester));
  EXPECT_EQ(Form().Link().Vars().linkState, link_state::kTester);
  EXPECT_EQ(Form().CurrentPage(), Page::Firmware);
  for (Page page : {Page::Setup, Page::Firmware}) EXPECT_TRUE(Form().TabVisible(page)) << PageNumber(page);
  for (Page page : {Page::Parameters, Page::Configuration, Page::Map, Page::Port})
    EXPECT_FALSE(Form().TabVisible(page)) << PageNumber(page);
}

TEST_F(ProgramAgainstSimulatorTest, loaderReportShowsTheFailedProgrammingAndTheLoaderMode) {
  ASSERT_NO_FATAL_FAILURE(Start({"--loader", "1"}));
  ASSERT_TRUE(WaitForMode(ConnectionMode::Loader));
  ASSERT_EQ(Dialogs().messages.size(), 1u);
  EXPECT_EQ(Dialogs().messages[0], UiText(920) + UiText(922));
  EXPECT_EQ(Form().Link().Vars().linkState, link_state::kStopped);
  EXPECT_TRUE(Form().TabVisible(Page::Firmware));
  EXPECT_FALSE(Form().TabVisible(Page::Parameters));
}

}  // namespace
