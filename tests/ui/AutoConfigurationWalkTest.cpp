// A fitter walks the configuration page through both phases against the simulated car: he
// presses the page's buttons, answers the questions (the scripted dialogs say Yes) and plays
// the engine through the simulator's controls.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <cstdlib>
#include <string>
#include <vector>

#include "autoconfig/AutoConfiguration.h"
#include "base/UiText.h"
#include "monitor/LiveMonitorQt.h"
#include "support/SimulatorProcess.h"
#include "ui/UiTestSupport.h"

namespace {

std::string Finding(TForm1& f, int row) { return CellText(GridEx1(f), row, 1); }

// The engine speed the page's readings show, in rpm.
int ShownRpm(TForm1& f) { return std::atoi(CellText(f.Live().Widgets().Grid, 0, 1).c_str()); }

bool LogHas(TForm1& f, int textId) {
  return f.LogText().find(DisplayText(UiText(textId))) != std::string::npos;
}

// A car on the simulator, its engine on the clock the polls drive (the wizard counts the
// replies, so it meets the same engine however often the program gets the processor), and
// the window connected to it.
struct Walk : SimulatorWindow {
  explicit Walk(std::vector<std::string> car) : SimulatorWindow(WithDrivenClock(std::move(car))) {}
  static std::vector<std::string> WithDrivenClock(std::vector<std::string> car) {
    car.push_back("--driven-clock");
    return car;
  }
  ::testing::AssertionResult Connect() {
    if (auto started = Start(); !started) return started;
    if (!RunUntil([&] { return Form().ConnectionMode() == ConnectionMode::Controller; }))
      return ::testing::AssertionFailure() << "no controller";
    return ::testing::AssertionSuccess();
  }
};

TEST(AutoConfigurationWalk, fitterFindsTheCarsTypesAndPositionsAndTheControllerKeepsThem) {
  Walk walk({"--coil", "0", "--tps", "0", "--probe", "0", "--engine", "stopped"});
  ASSERT_TRUE(walk.Connect());
  SimulatorProcess& sim = walk.sim;
  WindowUnderTest& window = walk.window;
  TForm1& f = walk.Form();
  AutoConfiguration& wizard = f.Wizard();
  const ParameterBlock& block = f.Link().Block();

  f.TabOfPage(Page::Configuration)->click();
  ASSERT_EQ(f.CurrentPage(), Page::Configuration);
  EXPECT_TRUE(f.Configuration().BitBtnConBen->isVisible());
  ASSERT_TRUE(RunUntil([&] { return LogHas(f, 760); }));
  EXPECT_FALSE(f.Configuration().BitBtnOk->isEnabled());

  // Petrol: the switch is at petrol already; the engine is to be started.
  f.Configuration().BitBtnConBen->click();
  ASSERT_TRUE(RunUntil([&] { return LogHas(f, 765); })) << f.LogText();
  EXPECT_EQ(wizard.Step(), 3);
  sim.Send("engine start");
  ASSERT_TRUE(RunUntil([&] { return wizard.Step() == 4; }));
  EXPECT_TRUE(Control<QProgressBar>(f, "CGRead")->isVisible());
  ASSERT_TRUE(RunUntil([&] { return wizard.Step() == 5; })) << Control<QProgressBar>(f, "CGRead")->value();
  EXPECT_EQ(block[wizard_byte::kCoilType], 0);
  EXPECT_EQ(Finding(f, wizard_row::kCoilType), UiText(415));
  EXPECT_TRUE(LogHas(f, 767));
  sim.Send("rpm 3000");
  ASSERT_TRUE(RunUntil([&] { return wizard.Step() == 6; })) << Control<QProgressBar>(f, "CGRead")->value();
  EXPECT_EQ(block[wizard_byte::kTpsType], 0);
  EXPECT_EQ(block[wizard_byte::kProbeType], 0);
  EXPECT_EQ(Finding(f, wizard_row::kTpsType), UiText(427));
  EXPECT_EQ(Finding(f, wizard_row::kProbeType), UiText(442));
  const WizardResults petrol = wizard.state.results;
  EXPECT_GE(petrol.tpsThreshold, 25);  // 0.5 V .. 1 V above a closed throttle of 0.4 V
  EXPECT_LE(petrol.tpsThreshold, 50);
  EXPECT_GE(petrol.probeThreshold, 20);  // about 0.5 V for a 0-1 V probe
  EXPECT_LE(petrol.probeThreshold, 30);
  EXPECT_TRUE(f.Configuration().BitBtnNext->isEnabled());

  // Gas: the wizard asks to switch to automatic; speed brings the change-over.
  // The engine comes back to idle first: the switch to automatic then waits for the speed.
  sim.Send("idle");
  ASSERT_TRUE(RunUntil([&] { return ShownRpm(f) < 1000; })) << CellText(f.Live().Widgets().Grid, 0, 1);
  const auto questions = window.dialogs.messages.size();
  f.Configuration().BitBtnNext->click();
  EXPECT_EQ(block[57], petrol.tpsThreshold);
  EXPECT_EQ(block[58], petrol.probeThreshold);
  ASSERT_TRUE(RunUntil([&] { return wizard.Step() == 13; })) << wizard.Step();
  ASSERT_EQ(window.dialogs.messages.size(), questions + 1);
  EXPECT_EQ(window.dialogs.messages.back(), UiText(771));
  EXPECT_TRUE(LogHas(f, 776));
  sim.Send("rpm 3000");
  ASSERT_TRUE(RunUntil([&] { return wizard.Step() == 15; })) << wizard.Step();
  sim.Send("idle");
  ASSERT_TRUE(RunUntil([&] { return wizard.state.WizardCounters[0] >= 4; }));
  EXPECT_FALSE(Finding(f, wizard_row::kPosition900).empty());
  f.Configuration().BitBtnNext->click();
  auto where = [&] {
    return "step " + std::to_string(wizard.Step()) + ", crossings " +
           std::to_string(wizard.state.WizardCounters[0]) + ", mode " +
           std::to_string(ModeNumber(f.ConnectionMode())) + ", page " +
           std::to_string(PageNumber(f.CurrentPage())) + "\n" + f.LogText();
  };
  ASSERT_TRUE(RunUntil([&] { return wizard.Step() == 17; })) << where();
  sim.Send("rpm 3000");
  ASSERT_TRUE(RunUntil([&] { return wizard.Step() == 18; })) << where();
  const WizardResults gas = wizard.state.results;
  EXPECT_NEAR(gas.position900, 72, 4);  // the car's reducer wants 72 at idle and 128 at speed
  EXPECT_NEAR(gas.position3000, 128, 4);
  EXPECT_EQ(Finding(f, wizard_row::kPosition3000), std::to_string(gas.position3000));
  EXPECT_TRUE(f.Configuration().BitBtnOk->isEnabled());
  sim.Send("idle");

  f.Configuration().BitBtnOk->click();
  EXPECT_EQ(wizard.Step(), 0);
  EXPECT_EQ(f.CurrentPage(), Page::Parameters);
  EXPECT_EQ(block[wizard_byte::kPosition900], gas.position900);
  EXPECT_EQ(block[wizard_byte::kPosition3000], gas.position3000);
  ASSERT_TRUE(RunUntil([&] {
    const ControllerLink& link = f.Link();
    return std::equal(link.Block().begin(), link.Block().begin() + kExchangedParameterBytes,
                      link.SentBlock().begin());
  }));

  // Read everything back from the controller.
  f.BtnReadParClick();
  ASSERT_TRUE(RunUntil([&] { return f.Link().Vars().readPending; }));
  ASSERT_TRUE(RunUntil(
      [&] { return !f.Link().Vars().readPending && f.ConnectionMode() == ConnectionMode::Controller; }));
  const std::pair<int, int> expected[] = {{32, 0},
                                          {33, 0},
                                          {34, 0},
                                          {46, gas.tpsThreshold},
                                          {57, gas.tpsThreshold},
                                          {58, gas.probeThreshold},
                                          {64, gas.position900},
                                          {65, gas.position3000}};
  for (auto [index, value] : expected) EXPECT_EQ(block[index], value) << index;
  window.Close();
}

}  // namespace

namespace {

// Another car: six cylinders, a falling TPS and a 0.8-1.6 V probe. Leaving the page after the
// petrol phase asks whether to apply; Cancel returns the bytes to where the phase began.
TEST(AutoConfigurationWalk, otherCarIsFoundAndLeavingWithCancelRestoresTheParameters) {
  Walk walk({"--coil", "2", "--tps", "1", "--probe", "3", "--engine", "idle"});
  ASSERT_TRUE(walk.Connect());
  SimulatorProcess& sim = walk.sim;
  WindowUnderTest& window = walk.window;
  TForm1& f = walk.Form();
  AutoConfiguration& wizard = f.Wizard();
  const ParameterBlock& block = f.Link().Block();
  const ParameterBlock before = block;

  f.TabOfPage(Page::Configuration)->click();
  f.Configuration().BitBtnConBen->click();
  ASSERT_TRUE(RunUntil([&] { return wizard.Step() == 5; })) << Control<QProgressBar>(f, "CGRead")->value();
  EXPECT_EQ(block[wizard_byte::kCoilType], 2);
  sim.Send("rpm 3000");
  ASSERT_TRUE(RunUntil([&] { return wizard.Step() == 6; })) << Control<QProgressBar>(f, "CGRead")->value();
  EXPECT_EQ(block[wizard_byte::kTpsType], 1);
  EXPECT_EQ(block[wizard_byte::kProbeType], 3);
  EXPECT_EQ(Finding(f, wizard_row::kTpsType), UiText(428));
  EXPECT_EQ(Finding(f, wizard_row::kProbeType), UiText(445));

  window.dialogs.answers.push_back(MessageAnswer::Cancel);
  f.TabOfPage(Page::Parameters)->click();
  ASSERT_FALSE(window.dialogs.messages.empty());
  EXPECT_EQ(window.dialogs.messages.back(), UiText(740));
  EXPECT_EQ(wizard.Step(), 0);
  EXPECT_EQ(f.CurrentPage(), Page::Parameters);
  EXPECT_FALSE(f.Configuration().BitBtnConBen->isVisible());
  for (int index : WizardBackup::kBytes) EXPECT_EQ(block[index], before[index]) << index;

  // Applying on the way to another page: the result is kept, and the page shown is the one
  // asked for with its own button pressed (applying passes through the parameters page).
  sim.Send("idle");
  f.TabOfPage(Page::Configuration)->click();
  f.Configuration().BitBtnConBen->click();
  ASSERT_TRUE(RunUntil([&] { return wizard.Step() >= 5; })) << Control<QProgressBar>(f, "CGRead")->value();
  window.dialogs.answers.push_back(MessageAnswer::Ok);
  f.TabOfPage(Page::Map)->click();
  EXPECT_EQ(window.dialogs.messages.back(), UiText(740));
  EXPECT_EQ(wizard.Step(), 0);
  EXPECT_EQ(f.CurrentPage(), Page::Map);
  EXPECT_TRUE(f.TabOfPage(Page::Map)->isChecked());
  EXPECT_FALSE(f.TabOfPage(Page::Parameters)->isChecked());
  EXPECT_EQ(block[wizard_byte::kCoilType], 2);
  window.Close();
}

// Counts the times the watched widgets are shown.
struct ShowCounter : QObject {
  int count = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show) ++count;
    return false;
  }
};

// Leaving for the set-up page after the petrol phase, the fitter answers OK: the result is
// applied, which shows the controller's page, the parameters, with its button pressed. That
// page change runs after the one under way, not inside it, so the set-up page is not laid
// out on the way.
TEST(AutoConfigurationWalk, leavingForTheSetupPageWithOkEndsOnTheParametersPageWithItsButtonPressed) {
  Walk walk({"--coil", "2", "--tps", "1", "--probe", "3", "--engine", "idle"});
  ASSERT_TRUE(walk.Connect());
  WindowUnderTest& window = walk.window;
  TForm1& f = walk.Form();
  AutoConfiguration& wizard = f.Wizard();
  f.TabOfPage(Page::Configuration)->click();
  f.Configuration().BitBtnConBen->click();
  ASSERT_TRUE(RunUntil([&] { return wizard.Step() >= 5; })) << Control<QProgressBar>(f, "CGRead")->value();

  std::vector<bool> setupButton;
  ShowCounter setupEditorsShown;  // also the receiver of the button's toggles
  for (QWidget* editor :
       std::initializer_list<QWidget*>{f.Setup().CBCom, f.Setup().CBCAut, f.Setup().EDFile, f.Setup().CBFAut,
                                       f.Setup().CBList, f.Setup().CBFont})
    editor->installEventFilter(&setupEditorsShown);
  QObject::connect(f.TabOfPage(Page::Setup), &QToolButton::toggled, &setupEditorsShown,
                   [&](bool on) { setupButton.push_back(on); });
  window.dialogs.answers.push_back(MessageAnswer::Ok);
  f.TabOfPage(Page::Setup)->click();

  EXPECT_EQ(window.dialogs.messages.back(), UiText(740));
  EXPECT_EQ(wizard.Step(), 0);
  EXPECT_EQ(f.CurrentPage(), Page::Parameters);
  EXPECT_EQ(f.Link().Vars().linkState, link_state::kParameterPoll);
  EXPECT_TRUE(f.TabOfPage(Page::Parameters)->isChecked());
  EXPECT_FALSE(f.TabOfPage(Page::Setup)->isChecked());
  // Pressed by the click, released when the parameters page was entered, never pressed again.
  EXPECT_EQ(setupButton, (std::vector<bool>{true, false}));
  EXPECT_EQ(setupEditorsShown.count, 0);
  ASSERT_NE(GridEx1(f)->item(1, 0), nullptr);
  EXPECT_NE(GridEx1(f)->item(1, 0)->text().toStdString(), DisplayText(UiText(302)));
  window.Close();
}

}  // namespace
