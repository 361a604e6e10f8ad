// The fitter starts the petrol phase, which sets the coil type to one cylinder for its
// measurement, and leaves it in a way that neither applies nor asks: another page, F4 on the
// page itself, a lost link, closing the program, or after pressing БЕНЗИН twice. The simulated
// controller must end up with its own coil type again. The phase's backup file holds the
// controller's parameters as they were before the phase.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "app/KeyTable.h"
#include "autoconfig/AutoConfiguration.h"
#include "support/SimulatorProcess.h"
#include "ui/UiTestSupport.h"

namespace {

namespace fs = std::filesystem;

// The value the simulator last received for a parameter in a write frame "RX AA ii vv ss".
std::optional<int> LastWrite(const SimulatorProcess& sim, int index) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "RX AA %02X ", index);
  std::optional<int> value;
  for (const std::string& line : sim.LogLines()) {
    if (line.size() < 14 || line.compare(0, 9, prefix) != 0) continue;
    int v = 0;
    if (std::from_chars(line.data() + 9, line.data() + 11, v, 16).ec == std::errc()) value = v;
  }
  return value;
}

// What the simulated controller holds: its own value unless the program wrote another.
int Held(const SimulatorProcess& sim, int index, int original) {
  return LastWrite(sim, index).value_or(original);
}

enum class Way { OtherPage, F4, LinkLost, Close, RestartThenOtherPage };

struct WayCase {
  const char* name;
  Way way;
};

void PrintTo(const WayCase& c, std::ostream* os) { *os << c.name; }

class WizardWaysOutTest : public ::testing::TestWithParam<WayCase> {};

TEST_P(WizardWaysOutTest, petrolPhaseLeftWithoutApplyingLeavesTheControllerAsItWas) {
  const WayCase c = GetParam();
  // A stopped engine holds the phase in step 3, waiting for the engine to start; the engine
  // runs on the clock the polls drive.
  SimulatorWindow run({"--coil", "2", "--engine", "stopped", "--driven-clock"});
  ASSERT_TRUE(run.Connect());
  SimulatorProcess& sim = run.sim;
  WindowUnderTest& window = run.window;
  TForm1& f = run.Form();
  const ParameterBlock before = f.Link().Block();
  ASSERT_NE(before[wizard_byte::kCoilType], 5);

  f.TabOfPage(Page::Configuration)->click();
  f.Configuration().BitBtnConBen->click();
  ASSERT_TRUE(RunUntil([&] { return Held(sim, wizard_byte::kCoilType, before[32]) == 5; }));
  ASSERT_TRUE(RunUntil([&] { return f.Wizard().Step() == 3; }));

  // The backup file was made before the phase's first write and is named in the log.
  const fs::path backups = run.BackupFolder();
  ASSERT_TRUE(fs::exists(backups));
  std::string backupPath;
  for (const auto& entry : fs::directory_iterator(backups)) backupPath = entry.path().string();
  const std::string content = Slurp(backupPath);
  ASSERT_GE(content.size(), static_cast<std::size_t>(kExchangedParameterBytes));
  for (int i = 0; i < kExchangedParameterBytes; ++i)
    EXPECT_EQ(static_cast<std::uint8_t>(content[static_cast<std::size_t>(i)]), before[i]) << "byte " << i;
  EXPECT_NE(Control<QTextEdit>(f, "Memo1")->toPlainText().toStdString().find(backupPath), std::string::npos)
      << f.LogText();

  const auto questions = window.dialogs.messages.size();
  switch (c.way) {
    case Way::OtherPage: f.TabOfPage(Page::Parameters)->click(); break;
    case Way::F4: f.FormKeyDown(VK_F4); break;
    case Way::LinkLost:
      // The controller falls silent: the link is declared lost and the set-up page shown. The
      // restore cannot reach it then; it does once the controller answers again.
      sim.Send("silent on");
      ASSERT_TRUE(RunUntil(
          [&] { return f.ConnectionMode() == ConnectionMode::None && f.CurrentPage() == Page::Setup; }));
      sim.Send("silent off");
      break;
    case Way::Close: f.close(); break;
    case Way::RestartThenOtherPage:
      f.Configuration().BitBtnConBen->click();
      RunFor(300);
      f.TabOfPage(Page::Parameters)->click();
      break;
  }
  EXPECT_EQ(window.dialogs.messages.size(), questions) << "no question on a way out before step 4";
  // What the controller holds, asked anew at most every 200 ms while the wait runs.
  auto asked = std::chrono::steady_clock::now();
  auto holds = [&](int index) {
    if (std::chrono::steady_clock::now() - asked > std::chrono::milliseconds(200) && sim.Send("memory"))
      asked = std::chrono::steady_clock::now();
    const std::vector<int> memory = sim.LastMemory();
    return memory.size() > static_cast<std::size_t>(index) ? memory[static_cast<std::size_t>(index)] : -1;
  };
  EXPECT_TRUE(RunUntil([&] { return holds(wizard_byte::kCoilType) == before[32]; }))
      << "the simulator holds coil type " << holds(wizard_byte::kCoilType);
  for (int index : WizardBackup::kBytes) EXPECT_EQ(holds(index), before[index]) << index;
  window.Close();
}

INSTANTIATE_TEST_SUITE_P(EveryWay, WizardWaysOutTest,
                         ::testing::Values(WayCase{"otherPage", Way::OtherPage}, WayCase{"f4", Way::F4},
                                           WayCase{"linkLost", Way::LinkLost}, WayCase{"close", Way::Close},
                                           WayCase{"restartThenOtherPage", Way::RestartThenOtherPage}),
                         [](const ::testing::TestParamInfo<WayCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
