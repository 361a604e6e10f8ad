#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "autoconfig/AutoConfiguration.h"
#include "base/UiText.h"
#include "support/ScriptedDialogs.h"

namespace {

constexpr std::uint8_t kPetrolRunning = 0xD2;  // engine runs on petrol, switch at petrol
constexpr std::uint8_t kGasRunning = 0xC7;     // engine runs on gas, switch at automatic
constexpr std::uint8_t kAutoWaiting = 0xDB;    // switch at automatic, waiting for gas
constexpr std::uint8_t kStoppedAtPetrol = 0x82;

// The window as the wizard sees it; every side effect is recorded.
struct RecordingHost : WizardHost {
  ParameterBlock block = FreshParameterBlock();
  std::vector<std::string> log;
  std::map<int, std::string> findings;
  std::vector<std::string> calls;  // backup, rebuild, mode N, switch, in order
  int selectedRow = 0, gaugeMax = 0, gaugePos = 0;
  bool gaugeVisible = false;
  std::map<WizardButton, bool> enabled{
      {WizardButton::Next, true}, {WizardButton::Ok, true}, {WizardButton::Cancel, true}};

  const ParameterBlock& Parameters() const override { return block; }
  void SetParameter(int index, std::uint8_t value) override {
    block[static_cast<std::size_t>(index)] = value;
  }
  void RequestModeSwitch() override { calls.push_back("switch"); }
  void ClearLog() override { log.clear(); }
  void AddLogLine(const std::string& line) override { log.push_back(line); }
  void SetGauge(int maximum, int position) override {
    gaugeMax = maximum;
    gaugePos = position;
  }
  void SetGaugePosition(int position) override { gaugePos = position; }
  void SetGaugeVisible(bool visible) override { gaugeVisible = visible; }
  void ShowFinding(int row, const std::string& text) override { findings[row] = text; }
  void SelectRow(int row) override { selectedRow = row; }
  void EnableButton(WizardButton button, bool on) override { enabled[button] = on; }
  void RebuildEditor() override { calls.push_back("rebuild"); }
  void ApplyConnectionMode(ConnectionMode mode) override {
    calls.push_back("mode " + std::to_string(ModeNumber(mode)));
  }
  std::string MakeAutomaticBackup() override {
    calls.push_back("backup");
    backups.push_back(block);
    return backupLine;
  }
  std::vector<ParameterBlock> backups;  // the block as each backup file got it
  std::string backupLine;               // what the window logs for the backup; empty: none made
};

class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 256; ++i) host.block[i] = static_cast<std::uint8_t>(i);
  }
  void Reply(int s, int l, int m, int t, int times = 1) {
    for (int i = 0; i < times; ++i)
      w.OnConfigurationReply(static_cast<std::uint8_t>(s), static_cast<std::uint8_t>(l),
                             static_cast<std::uint8_t>(m), static_cast<std::uint8_t>(t));
  }
  // One poll: the step, then the reply to it.
  void Cycle(std::uint8_t status, int s, int l, int m, int t, int times = 1) {
    for (int i = 0; i < times; ++i) {
      w.OnTransmitTick(status);
      Reply(s, l, m, t);
    }
  }
  std::int32_t C(int n) const { return w.state.WizardCounters[n]; }
  // Into step 4 from the petrol button, with the engine idling on petrol.
  void ToIdleMeasurement() {
    w.BitBtnConBenClick();
    for (int i = 0; i < 3; ++i) w.OnTransmitTick(kPetrolRunning);
    ASSERT_EQ(w.Step(), 4);
  }

  RecordingHost host;
  ScriptedDialogs dialogs;
  AutoConfiguration w{host, dialogs};
};

// ---------------------------------------------------------------------------------------
// Statistics

TEST_F(WizardTest, idleSpeedBandsExclusiveBelowInclusiveAbove) {
  struct Case {
    int speed, counter;  // -1: no band
  };
  const Case cases[] = {{0, -1}, {5, -1}, {6, 5},  {10, 5}, {11, 4}, {20, 4}, {21, 6}, {30, 6},  {31, 0},
                        {40, 0}, {41, 1}, {50, 1}, {51, 2}, {60, 2}, {61, 3}, {80, 3}, {81, -1}, {255, -1}};
  for (const Case& c : cases) {
    w.state = {};
    w.state.WizardStep = 4;
    Reply(c.speed, 25, 0, 30);
    for (int n = 0; n <= 6; ++n) EXPECT_EQ(C(n), n == c.counter ? 1 : 0) << "speed " << c.speed << " C" << n;
  }
}

TEST_F(WizardTest, recordedReplySequencesGiveTheStatistics) {
  struct Case {
    const char* name;
    int step;
    std::vector<std::array<int, 4>> replies;  // S, L, M, T
    std::vector<std::pair<int, std::int32_t>> counters;
    int tpsThreshold, probeThreshold;
  };
  const Case cases[] = {
      // The idle TPS average halves toward each reading: 15, 22, 26.
      {"idle TPS average", 4, {{9, 20, 0, 30}, {9, 30, 0, 30}, {9, 25, 0, 31}}, {{5, 3}, {9, 26}}, 30, 25},
      // A TPS span of 12 or more puts the threshold 12 above the minimum; less keeps the minimum.
      {"TPS span 11", 4, {{9, 10, 0, 40}, {9, 11, 0, 51}}, {{9, 35}}, 40, 10},
      {"TPS span 12", 4, {{9, 10, 0, 40}, {9, 11, 0, 52}}, {{9, 36}}, 52, 10},
      // Rising: T bands exclusive on both sides; C0 = 3S up to 24, counting above 25.
      {"rising",
       5,
       {{9, 5, 0, 50},
        {9, 45, 0, 51},
        {20, 25, 0, 75},
        {24, 25, 0, 76},
        {25, 25, 0, 100},
        {26, 25, 0, 101},
        {30, 25, 0, 125}},
       {{0, 74}, {1, 25}, {2, 1}, {3, 1}, {4, 1}, {5, 87}},
       62,
       25},
      // Below 10 the idle TPS average is replaced by half the reading.
      {"rising from idle", 5, {{10, 25, 0, 31}}, {{0, 30}, {1, 15}}, 31, 25},
  };
  for (const Case& c : cases) {
    w.state = {};
    w.state.WizardStep = c.step;
    w.state.lambdaMin = w.state.lambdaMax = c.replies[0][1];
    w.state.tpsMin = w.state.tpsMax = static_cast<std::uint8_t>(c.replies[0][3]);
    for (const auto& r : c.replies) Reply(r[0], r[1], r[2], r[3]);
    for (auto [n, value] : c.counters) EXPECT_EQ(C(n), value) << c.name << " C" << n;
    EXPECT_EQ(w.state.results.tpsThreshold, c.tpsThreshold) << c.name;
    EXPECT_EQ(w.state.results.probeThreshold, c.probeThreshold) << c.name;
  }
}

TEST_F(WizardTest, extremesFollowEachReplyBeforeStepFourAndAgainInStepFourteen) {
  for (int step : {0, 3, 14}) {
    w.state = {};
    w.state.WizardStep = step;
    Reply(9, 40, 0, 90);
    Reply(9, 10, 0, 20);
    EXPECT_EQ(w.state.lambdaMin, 10) << step;
    EXPECT_EQ(w.state.lambdaMax, 10) << step;
    EXPECT_EQ(w.state.tpsMax, 20) << step;
  }
  w.state.WizardStep = 15;
  Reply(9, 40, 0, 90);
  EXPECT_EQ(w.state.lambdaMax, 40);
  EXPECT_EQ(w.state.results.probeThreshold, 25);  // (10 + 40) / 2
  EXPECT_EQ(host.findings[wizard_row::kProbeThreshold], "0.50 [V]");
  EXPECT_EQ(host.findings[wizard_row::kTpsThreshold], "0.64 [V]");  // 20 + 12
}

TEST_F(WizardTest, gasIdleCrossingsAverageFromSeventy) {
  w.state.WizardStep = 14;
  Reply(9, 25, 70, 30);  // the extremes start again
  w.state.WizardStep = 15;
  w.state.runningTotal = 70;
  struct Row {
    int s, l, m;
    std::int32_t crossings, shown;  // C0 and C7 after the reply
  };
  const Row rows[] = {
      {9, 40, 80, 1, 0},    // a rise from nothing: the first position only
      {9, 10, 70, 2, 72},   // a fall: (70 + (70 + 80) / 2) / 2 = 72
      {11, 40, 99, 2, 72},  // above idle nothing is counted
      {9, 41, 77, 3, 72},   // (145 + 73) / 3 = 72.67, cut toward zero
      {9, 9, 65, 4, 72},    // (218 + 71) / 4 = 72.25
  };
  for (const Row& r : rows) {
    Reply(r.s, r.l, r.m, 30);
    EXPECT_EQ(C(0), r.crossings) << r.m;
    EXPECT_EQ(C(7), r.shown) << r.m;
  }
  EXPECT_EQ(C(2), 25);  // midpoint of 9 and 41
  EXPECT_EQ(C(3), 41);
  EXPECT_EQ(w.state.runningTotal, 289);
  EXPECT_EQ(w.state.results.position900, 72);
  EXPECT_EQ(host.findings[wizard_row::kPosition900], "72");
}

TEST_F(WizardTest, positionsAtIdleAndAtSpeedAverageAllButTheFirstCrossing) {
  w.state.WizardStep = 15;
  w.state.lambdaMin = 9;
  w.state.lambdaMax = 41;
  w.BitBtnNextClick();
  ASSERT_EQ(w.Step(), 16);
  EXPECT_EQ(host.gaugeMax, 5);
  EXPECT_TRUE(host.gaugeVisible);
  const std::array<int, 4> idle[] = {
      // S, L, M, position after
      {9, 30, 60, 0}, {9, 10, 66, 66}, {9, 40, 78, 72}, {9, 12, 67, 70}, {9, 39, 77, 72}, {9, 11, 1, 72}};
  for (const auto& r : idle) {
    Reply(r[0], r[1], r[2], 30);
    EXPECT_EQ(w.state.results.position900, r[3]) << r[2];
  }
  EXPECT_EQ(C(0), 6);
  EXPECT_EQ(C(8), 77) << "the sixth crossing is not stored";
  w.OnTransmitTick(kGasRunning);
  ASSERT_EQ(w.Step(), 17);
  EXPECT_EQ(host.selectedRow, wizard_row::kPosition3000);
  EXPECT_EQ(host.log.front(), UiText(778));
  const std::array<int, 4> high[] = {
      {28, 30, 130, 0}, {30, 30, 130, 0}, {30, 10, 118, 118}, {30, 40, 134, 126}};
  for (const auto& r : high) {
    Reply(r[0], r[1], r[2], 30);
    EXPECT_EQ(w.state.results.position3000, r[3]) << r[0] << " " << r[2];
  }
  EXPECT_EQ(w.state.results.position900, 72);
  EXPECT_EQ(host.findings[wizard_row::kPosition3000], "126");
}

// ---------------------------------------------------------------------------------------
// Steps

TEST_F(WizardTest, idleSpeedBandFindsTheCoilType) {
  struct Case {
    int speed, coil, textId;
  };
  const Case cases[] = {{9, 5, 420},  {18, 4, 419}, {27, 6, 421}, {36, 0, 415},
                        {45, 1, 416}, {54, 2, 417}, {70, 3, 418}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.speed);
    w.state = {};
    ToIdleMeasurement();
    EXPECT_EQ(host.block[wizard_byte::kCoilType], 5) << "measured as a coil on one cylinder";
    EXPECT_EQ(host.log, std::vector<std::string>{UiText(766)});
    Cycle(kPetrolRunning, c.speed, 25, 0, 30, 100);
    EXPECT_EQ(w.Step(), 4);
    w.OnTransmitTick(kPetrolRunning);
    EXPECT_EQ(w.Step(), 5);
    EXPECT_EQ(host.block[wizard_byte::kCoilType], c.coil);
    EXPECT_EQ(host.findings[wizard_row::kCoilType], UiText(c.textId));
    EXPECT_EQ(host.selectedRow, wizard_row::kTpsType);
    EXPECT_EQ(C(1), 29) << "the idle TPS average, halving toward 30 from 0";
    EXPECT_EQ(C(9), 29) << "C9 is kept";
    for (int n : {0, 2, 3, 4, 5, 6}) EXPECT_EQ(C(n), 0) << n;
  }
}

TEST_F(WizardTest, idleSpeedOfExactlyFiveNeverFinishesStepFour) {
  ToIdleMeasurement();
  Cycle(kPetrolRunning, 5, 25, 0, 30, 500);
  EXPECT_EQ(w.Step(), 4);
  EXPECT_EQ(host.gaugePos, 0);
  EXPECT_EQ(host.block[wizard_byte::kCoilType], 5);
}

TEST_F(WizardTest, throttleAtIdleAndAtSpeedGivesTheTpsType) {
  struct Case {
    const char* name;
    int idle;               // T at idle (S 9)
    std::vector<int> ramp;  // T on the way up (S 15..24)
    int high;               // T at speed (S 30)
    int type;
  };
  const Case cases[] = {
      {"0-5V", 20, {40, 60, 70, 80, 90, 110, 120, 124, 130}, 163, 0},
      {"5-0V", 235, {200, 150, 124, 120, 110, 99, 95, 92, 92}, 92, 1},
      {"switch", 0, {0, 0, 250, 250}, 250, 2},
      {"inverted switch", 250, {250, 0, 0}, 0, 3},
      // Half the idle reading equals the average at speed, and nothing moved.
      {"equal averages", 30, {30, 30, 30}, 16, 4},
      // Against half the idle reading a steady signal looks like a switch.
      {"steady signal", 30, {30, 30, 30}, 30, 2},
      {"none", 0, {0, 0, 0}, 0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    w.state = {};
    w.state.WizardStep = 5;
    w.state.WizardCounters[1] = c.idle;
    Cycle(kPetrolRunning, 9, 25, 0, c.idle, 3);
    int s = 15;
    for (int t : c.ramp) Cycle(kPetrolRunning, s++ > 24 ? 24 : s, 25, 0, t);
    while (C(0) < 100) Cycle(kPetrolRunning, 30, 25, 0, c.high);
    EXPECT_EQ(w.Step(), 5);
    w.OnTransmitTick(kPetrolRunning);
    ASSERT_EQ(w.Step(), 6);
    EXPECT_EQ(host.block[wizard_byte::kTpsType], c.type);
    EXPECT_EQ(host.findings[wizard_row::kTpsType], UiText(427 + c.type));
  }
  EXPECT_EQ(host.log, (std::vector<std::string>{UiText(768), UiText(769), UiText(770), ""}));
  EXPECT_TRUE(host.enabled[WizardButton::Next]);
  EXPECT_FALSE(host.gaugeVisible);
  EXPECT_EQ(host.selectedRow, wizard_row::kPosition900);
}

TEST_F(WizardTest, probeThresholdGivesTheProbeType) {
  const std::pair<int, int> cases[] = {{0, 4},  {15, 4}, {16, 0}, {25, 0},  {34, 0},  {35, 4},  {50, 4},
                                       {51, 3}, {69, 3}, {70, 4}, {100, 4}, {101, 1}, {149, 1}, {150, 4}};
  for (auto [threshold, type] : cases) {
    w.state = {};
    w.state.WizardStep = 5;
    w.state.WizardCounters[0] = 100;
    w.state.results.probeThreshold = static_cast<std::uint8_t>(threshold);
    w.OnTransmitTick(kPetrolRunning);
    EXPECT_EQ(host.block[wizard_byte::kProbeType], type) << threshold;
    EXPECT_EQ(host.findings[wizard_row::kProbeType], UiText(442 + type)) << threshold;
  }
}

TEST_F(WizardTest, petrolStartAsksToSwitchOnceAndWaitsForPetrolAndTheEngine) {
  w.BitBtnConBenClick();
  EXPECT_EQ(host.log, std::vector<std::string>{UiText(784)});
  // The question is open while the transmit tick goes on: no second question.
  dialogs.onMessage = [&](const std::string&) {
    EXPECT_EQ(w.Step(), 2);
    w.OnTransmitTick(kAutoWaiting);
  };
  w.OnTransmitTick(kAutoWaiting);
  dialogs.onMessage = nullptr;
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{UiText(771)});
  EXPECT_EQ(host.calls, (std::vector<std::string>{"backup", "switch"}));
  EXPECT_EQ(host.log, std::vector<std::string>{UiText(764)});
  EXPECT_EQ(w.Step(), 2);
  w.OnTransmitTick(kAutoWaiting);
  EXPECT_EQ(w.Step(), 2);
  const int beeps = dialogs.beeps;
  w.OnTransmitTick(kStoppedAtPetrol);
  EXPECT_EQ(w.Step(), 3);
  EXPECT_EQ(dialogs.beeps, beeps + 1);
  EXPECT_EQ(host.log, std::vector<std::string>{UiText(765)});
  w.OnTransmitTick(kStoppedAtPetrol);
  EXPECT_EQ(w.Step(), 3);
  w.OnTransmitTick(kPetrolRunning | 0x20);  // the throttle bit does not matter
  EXPECT_EQ(w.Step(), 4);
  EXPECT_TRUE(host.enabled[WizardButton::Ok]);
  EXPECT_TRUE(host.enabled[WizardButton::Cancel]);
  EXPECT_FALSE(host.enabled[WizardButton::Next]);
  EXPECT_TRUE(host.gaugeVisible);
  EXPECT_EQ(host.gaugeMax, 100);

  // Before the first status after a link start the wizard waits instead of asking.
  w.BitBtnConBenClick();
  w.OnTransmitTick(0xFF);
  EXPECT_EQ(w.Step(), 1);
  EXPECT_EQ(dialogs.messages.size(), 1u);

  // Answering No leaves the mode alone.
  w.BitBtnConBenClick();
  dialogs.answers.push_back(MessageAnswer::No);
  w.OnTransmitTick(kGasRunning);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"backup", "switch"})) << "restarts take no second backup";
}

TEST_F(WizardTest, gasPhaseWaitsForAutomaticThenGasAndOffersNext) {
  w.BitBtnConGasClick();
  EXPECT_EQ(w.Step(), 10);
  EXPECT_EQ(host.findings[wizard_row::kCoilType], "") << "byte 32 is 32 here, beyond the list";
  host.block[32] = 6;
  host.block[33] = 1;
  host.block[34] = 4;
  w.BitBtnConGasClick();
  EXPECT_EQ(host.findings[wizard_row::kCoilType], UiText(421));
  EXPECT_EQ(host.findings[wizard_row::kTpsType], UiText(428));
  EXPECT_EQ(host.findings[wizard_row::kProbeType], "");
  w.OnTransmitTick(kPetrolRunning);
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{UiText(771)});
  EXPECT_EQ(w.Step(), 11);
  w.OnTransmitTick(kPetrolRunning);
  EXPECT_EQ(w.Step(), 11);
  w.OnTransmitTick(kAutoWaiting);
  EXPECT_EQ(w.Step(), 12);
  w.OnTransmitTick(kAutoWaiting);
  EXPECT_EQ(host.log, std::vector<std::string>{UiText(776)});
  EXPECT_EQ(w.Step(), 13);
  w.OnTransmitTick(kAutoWaiting);
  EXPECT_EQ(w.Step(), 13);
  w.OnTransmitTick(kGasRunning | 0x20);
  EXPECT_EQ(w.Step(), 14);
  w.OnTransmitTick(kGasRunning);
  EXPECT_EQ(w.Step(), 15);
  EXPECT_EQ(host.log,
            (std::vector<std::string>{UiText(777), UiText(781), UiText(782), UiText(783), UiText(780)}));
  EXPECT_EQ(w.state.runningTotal, 70);
  EXPECT_FALSE(host.enabled[WizardButton::Ok]);
  EXPECT_TRUE(host.enabled[WizardButton::Next]);
  EXPECT_TRUE(host.enabled[WizardButton::Cancel]);
  w.OnTransmitTick(kGasRunning);
  EXPECT_EQ(w.Step(), 15) << "waits for the button";
}

TEST_F(WizardTest, stepSeventeenEndsWithTheHighPositionAboveTheIdlePosition) {
  struct Case {
    int idle, high, expected;
  };
  const Case cases[] = {{72, 126, 126}, {130, 126, 131}, {72, 72, 73}, {0, 0, 1}, {255, 200, 255}};
  for (const Case& c : cases) {
    w.state = {};
    w.state.WizardStep = 17;
    w.state.WizardCounters[0] = 5;
    w.state.results.position900 = static_cast<std::uint8_t>(c.idle);
    w.state.results.position3000 = static_cast<std::uint8_t>(c.high);
    w.OnTransmitTick(kGasRunning);
    EXPECT_EQ(w.Step(), 18);
    EXPECT_EQ(w.state.results.position3000, c.expected) << c.idle << " " << c.high;
  }
  EXPECT_EQ(host.log, (std::vector<std::string>{UiText(779), UiText(780)}));
  EXPECT_TRUE(host.enabled[WizardButton::Ok]);
}

TEST_F(WizardTest, engineStopOrModeChangeWhileMeasuringCancelsSilently) {
  struct Case {
    int step;
    std::uint8_t status;
  };
  const Case cases[] = {
      {3, kGasRunning}, {4, kStoppedAtPetrol}, {4, kAutoWaiting}, {14, kAutoWaiting}, {14, kStoppedAtPetrol}};
  for (const Case& c : cases) {
    w.state = {};
    w.BitBtnConBenClick();  // backup with byte 32 as it was
    w.state.WizardStep = c.step;
    host.calls.clear();
    const auto messages = dialogs.messages.size();
    w.OnTransmitTick(c.status);
    EXPECT_EQ(w.Step(), 0) << c.step;
    EXPECT_EQ(host.block[32], 32) << "backup restored";
    EXPECT_EQ(host.calls, std::vector<std::string>{"rebuild"});
    EXPECT_EQ(dialogs.messages.size(), messages);
  }
  // Step 3 with the engine not yet running waits.
  w.BitBtnConBenClick();
  w.state.WizardStep = 3;
  w.OnTransmitTick(kStoppedAtPetrol);
  EXPECT_EQ(w.Step(), 3);
}

// ---------------------------------------------------------------------------------------
// Buttons

TEST_F(WizardTest, applyWritesExactlyTheFoundBytes) {
  w.state.WizardStep = 18;
  w.state.results = {32, 25, 72, 60};
  const ParameterBlock before = host.block;
  w.BitBtnOkClick();
  // The backup file was made when the phase started, before its first write.
  EXPECT_EQ(host.calls, (std::vector<std::string>{"rebuild", "mode 2"}));
  EXPECT_EQ(w.Step(), 0);
  std::map<int, int> changed;
  for (int i = 0; i < 256; ++i)
    if (host.block[i] != before[i]) changed[i] = host.block[i];
  EXPECT_EQ(changed, (std::map<int, int>{{46, 32}, {57, 32}, {58, 25}, {64, 72}, {65, 72}}))
      << "the 3000-rpm position is raised to the 900-rpm position";

  // Nothing found: nothing written.
  host.block = before;
  w.state.WizardStep = 18;
  w.state.results = {};
  w.BitBtnOkClick();
  EXPECT_EQ(host.block, before);
  // No idle position: the positions stay, even with a high position found.
  w.state.WizardStep = 18;
  w.state.results = {0, 0, 0, 120};
  w.BitBtnOkClick();
  EXPECT_EQ(host.block, before);
}

TEST_F(WizardTest, cancelRestoresExactlyTheBackedUpBytes) {
  w.BitBtnCancelClick();  // before any phase: nothing to restore
  EXPECT_EQ(host.block[0], 0);
  w.BitBtnConBenClick();
  const ParameterBlock atStart = [&] {
    ParameterBlock b = host.block;
    b[32] = 32;
    return b;
  }();
  for (int i = 0; i < 256; ++i) host.block[i] = 200;
  w.BitBtnCancelClick();
  for (int i = 0; i < 256; ++i) {
    const bool listed = i == 32 || i == 33 || i == 34 || i == 46 || i == 57 || i == 58 || i == 64 || i == 65;
    EXPECT_EQ(host.block[i], listed ? atStart[i] : 200) << i;
  }
  EXPECT_EQ(w.Step(), 0);
  EXPECT_EQ(host.calls.back(), "rebuild");
}

TEST_F(WizardTest, nextAfterThePetrolPhaseWritesItsThresholdsAndStartsTheGasPhase) {
  w.BitBtnConBenClick();
  w.state.WizardStep = 6;
  w.state.results = {32, 25, 0, 0};
  host.block[wizard_byte::kCoilType] = 0;
  w.BitBtnNextClick();
  EXPECT_FALSE(host.enabled[WizardButton::Next]);
  EXPECT_EQ(host.block[57], 32);
  EXPECT_EQ(host.block[46], 32);
  EXPECT_EQ(host.block[58], 25);
  EXPECT_EQ(w.Step(), 10);
  EXPECT_EQ(host.log, std::vector<std::string>{UiText(785)});
  EXPECT_EQ(w.state.results.tpsThreshold, 0);
  // A later cancel returns to the state after the petrol phase.
  host.block[58] = 99;
  w.BitBtnCancelClick();
  EXPECT_EQ(host.block[58], 25);
  EXPECT_EQ(host.block[wizard_byte::kCoilType], 0);
  // Next elsewhere only disables itself.
  w.state.WizardStep = 4;
  w.BitBtnNextClick();
  EXPECT_EQ(w.Step(), 4);
}

// Примени, or OK to the question on leaving, applies only what the phase under way has
// measured; every other byte the wizard changed returns to its backup, as a cancel does.
TEST_F(WizardTest, applyingBeforeAnythingWasMeasuredLeavesTheBackup) {
  // Step (gas from 10), then the coil type, thresholds and positions the bytes end with.
  const std::array<int, 4> cases[] = {{1, 32, 0, 0},  {4, 32, 0, 0},  {5, 2, 0, 0},
                                      {6, 2, 1, 0},   {10, 32, 0, 0}, {13, 32, 0, 0},
                                      {14, 32, 0, 0}, {15, 32, 1, 0}, {18, 32, 1, 1}};
  for (const auto& [step, coil, thresholds, positions] : cases) {
    SetUp();
    step >= 10 ? w.BitBtnConGasClick() : w.BitBtnConBenClick();
    if (step == 5 || step == 6) host.block[wizard_byte::kCoilType] = 2;  // what step 4 found
    w.state.WizardStep = step;
    w.state.results = {40, 30, static_cast<std::uint8_t>(positions * 70),
                       static_cast<std::uint8_t>(positions * 90)};
    w.BitBtnOkClick();
    const ParameterBlock& b = host.block;
    EXPECT_EQ((std::array<int, 8>{b[32], b[33], b[34], b[46], b[57], b[58], b[64], b[65]}),
              (std::array<int, 8>{coil, 33, 34, thresholds ? 40 : 46, thresholds ? 40 : 57,
                                  thresholds ? 30 : 58, positions ? 70 : 64, positions ? 90 : 65}))
        << step;
  }
}

TEST_F(WizardTest, leavingThePageAsksOnlyAfterStepThree) {
  w.BitBtnConBenClick();
  w.state.WizardStep = 2;
  w.LeavePage();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(w.Step(), 0);
  EXPECT_EQ(host.block[32], 32) << "the coil setting for the measurement goes back silently";

  w.BitBtnConBenClick();
  w.state.WizardStep = 6;
  w.state.results = {40, 0, 0, 0};
  dialogs.answers.push_back(MessageAnswer::Ok);
  w.LeavePage();
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{UiText(740)});
  EXPECT_EQ(host.block[57], 40);
  EXPECT_EQ(host.calls.back(), "mode 2");
  EXPECT_EQ(w.Step(), 0);

  w.BitBtnConBenClick();
  w.state.WizardStep = 4;
  host.calls.clear();
  host.block[32] = 3;
  dialogs.answers.push_back(MessageAnswer::Cancel);
  w.LeavePage();
  EXPECT_EQ(host.block[32], 5) << "as it was when the phase started";
  EXPECT_EQ(host.calls, std::vector<std::string>{"rebuild"});
  EXPECT_EQ(w.Step(), 0);
}

// ---------------------------------------------------------------------------------------
// Ways out of a phase

// Every way out of a phase that neither applies nor asks gives the bytes back as they were
// when the phase started, without a question.
TEST_F(WizardTest, everySilentWayOutOfAPhaseRestoresItsBackup) {
  enum class Way { LeavePage, Reselect, Close, GasButton };
  struct Case {
    const char* name;
    bool gas;
    int step;
    Way way;
  };
  const Case cases[] = {
      {"leave in step 1", false, 1, Way::LeavePage},      {"leave in step 2", false, 2, Way::LeavePage},
      {"leave in step 3", false, 3, Way::LeavePage},      {"F4 in step 2", false, 2, Way::Reselect},
      {"F4 in step 5", false, 5, Way::Reselect},          {"F4 in step 15", true, 15, Way::Reselect},
      {"close in step 3", false, 3, Way::Close},          {"close in step 4", false, 4, Way::Close},
      {"close in step 6", false, 6, Way::Close},          {"close in step 11", true, 11, Way::Close},
      {"close in step 18", true, 18, Way::Close},         {"gas button in step 2", false, 2, Way::GasButton},
      {"gas button in step 5", false, 5, Way::GasButton},
  };
  for (const Case& c : cases) {
    SetUp();
    w.state = {};
    dialogs.messages.clear();
    const ParameterBlock before = host.block;
    if (c.gas)
      w.BitBtnConGasClick();
    else
      w.BitBtnConBenClick();
    w.state.WizardStep = c.step;
    // What the phase had set by then.
    for (int index : WizardBackup::kBytes) host.block[index] = 7;
    switch (c.way) {
      case Way::LeavePage: w.LeavePage(); break;
      case Way::Reselect:
        w.LeavePage();  // the page button leaves the page first, then selects it again
        if (!dialogs.messages.empty()) continue;  // after step 3 it asks: not a silent way
        w.Reset();
        break;
      case Way::Close: w.Abandon(); break;
      case Way::GasButton: w.BitBtnConGasClick(); break;
    }
    EXPECT_TRUE(dialogs.messages.empty()) << c.name;
    for (int index : WizardBackup::kBytes)
      EXPECT_EQ(host.block[index], before[index]) << c.name << " byte " << index;
    EXPECT_EQ(w.Step(), c.way == Way::GasButton ? 10 : 0) << c.name;
  }
}

TEST_F(WizardTest, restartingThePhaseUnderWayKeepsTheBackupOfItsFirstStart) {
  const ParameterBlock before = host.block;
  w.BitBtnConBenClick();
  EXPECT_EQ(host.block[32], 5);
  w.state.WizardStep = 3;
  w.BitBtnConBenClick();
  EXPECT_EQ(w.Step(), 1);
  w.BitBtnCancelClick();
  EXPECT_EQ(host.block[32], before[32]);

  w.BitBtnConGasClick();
  host.block[64] = 99;
  w.state.WizardStep = 15;
  w.BitBtnConGasClick();
  EXPECT_EQ(w.Step(), 10);
  w.BitBtnCancelClick();
  EXPECT_EQ(host.block[64], before[64]);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"backup", "rebuild", "backup", "rebuild"}))
      << "one backup file per phase started";
}

TEST_F(WizardTest, backupFileIsTakenBeforeThePhasesFirstWriteAndNamedAtTheHeadOfTheLog) {
  host.backupLine = "backup: /b/1.orvp";
  const ParameterBlock before = host.block;
  w.BitBtnConBenClick();
  ASSERT_EQ(host.backups.size(), 1u);
  EXPECT_EQ(host.backups[0], before);
  EXPECT_EQ(host.log, (std::vector<std::string>{"backup: /b/1.orvp", UiText(784)}));
  dialogs.answers.push_back(MessageAnswer::No);
  w.OnTransmitTick(kAutoWaiting);
  EXPECT_EQ(host.log, (std::vector<std::string>{"backup: /b/1.orvp", UiText(764)}));

  // Продолжай after the petrol phase: the gas phase's copy holds the petrol thresholds.
  w.state.WizardStep = 6;
  w.state.results = {40, 30, 0, 0};
  host.backupLine = "backup: /b/2.orvp";
  w.BitBtnNextClick();
  ASSERT_EQ(host.backups.size(), 2u);
  EXPECT_EQ(host.backups[1][57], 40);
  EXPECT_EQ(host.backups[1][32], 5);
  EXPECT_EQ(host.log.front(), "backup: /b/2.orvp");
  // Selecting the page again shows the plain invitation.
  w.Reset();
  w.OnTransmitTick(kAutoWaiting);
  EXPECT_EQ(host.log, (std::vector<std::string>{UiText(760), UiText(761), UiText(762), UiText(763)}));
}

// The question's box runs ticks and replies; they neither move the wizard nor change what OK
// applies, and a page change from inside the box asks nothing more.
TEST_F(WizardTest, questionAnsweredAfterTicksAppliesWhatTheWizardHeldWhenAsked) {
  for (MessageAnswer answer : {MessageAnswer::Ok, MessageAnswer::Cancel}) {
    SetUp();
    w.state = {};
    dialogs.messages.clear();
    const ParameterBlock before = host.block;
    ToIdleMeasurement();
    Cycle(kPetrolRunning, 9, 20, 0, 30, 3);
    w.state.WizardStep = 5;
    const WizardState asked = w.state;
    dialogs.onMessage = [&](const std::string&) {
      // The engine stops and odd replies come while the box is open.
      Cycle(kStoppedAtPetrol, 0, 200, 90, 200, 20);
      w.LeavePage();
      w.BitBtnCancelClick();
    };
    dialogs.answers.push_back(answer);
    w.LeavePage();
    dialogs.onMessage = nullptr;
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{UiText(740)});
    EXPECT_EQ(w.Step(), 0);
    if (answer == MessageAnswer::Ok) {
      // On the way to 3000 rpm the thresholds are not measured yet: they return.
      EXPECT_NE(asked.results.tpsThreshold, 0);
      EXPECT_EQ(host.block[57], before[57]);
      EXPECT_EQ(host.block[58], before[58]);
      EXPECT_EQ(host.block[32], 5) << "the coil type found by then stays";
    } else {
      for (int index : WizardBackup::kBytes) EXPECT_EQ(host.block[index], before[index]) << index;
    }
  }
}

}  // namespace
