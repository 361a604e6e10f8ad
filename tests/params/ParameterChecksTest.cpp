#include <gtest/gtest.h>

#include <vector>

#include "ParameterTestBlocks.h"
#include "base/UiText.h"
#include "params/ParameterChecks.h"

namespace {

TEST(DependentDefaults, FillTheDependentBytesAsTabled) {
  struct Case {
    int p;
    int value;
    std::vector<std::pair<int, int>> expected;
    RebuildAfterDefaults rebuild;
  } cases[] = {
      {33, 0, {{57, 40}, {46, 40}, {54, 1}}, RebuildAfterDefaults::EditorAndReadings},
      {33, 1, {{57, 210}, {46, 210}, {54, 1}}, RebuildAfterDefaults::EditorAndReadings},
      {33, 2, {{57, 125}, {46, 125}, {54, 1}}, RebuildAfterDefaults::EditorAndReadings},
      {33, 3, {{57, 125}, {46, 125}, {54, 1}}, RebuildAfterDefaults::EditorAndReadings},
      {33, 4, {{44, 0}, {47, 0}, {54, 0}}, RebuildAfterDefaults::EditorAndReadings},
      {34, 0, {{58, 25}, {53, 1}}, RebuildAfterDefaults::EditorAndReadings},
      {34, 2, {{58, 125}, {53, 1}}, RebuildAfterDefaults::EditorAndReadings},
      {34, 3, {{58, 60}, {53, 1}}, RebuildAfterDefaults::EditorAndReadings},
      {34, 4, {{53, 0}, {58, 99}}, RebuildAfterDefaults::EditorAndReadings},
      {68, 0, {{69, 120}, {70, 90}, {71, 60}, {72, 30}}, RebuildAfterDefaults::Editor},
      {68, 1, {{69, 30}, {70, 60}, {71, 90}, {72, 120}}, RebuildAfterDefaults::Editor},
      {68, 2, {{69, 200}, {70, 150}, {71, 100}, {72, 50}}, RebuildAfterDefaults::Editor},
      {68, 3, {{69, 50}, {70, 100}, {71, 150}, {72, 200}}, RebuildAfterDefaults::Editor},
      {68, 4, {{69, 99}, {72, 99}}, RebuildAfterDefaults::Editor},
      {81, 2, {{82, 1}}, RebuildAfterDefaults::EditorAndReadings},
      {81, 0, {{82, 0}}, RebuildAfterDefaults::EditorAndReadings},
      {87, 1, {{69, 50}}, RebuildAfterDefaults::Editor},
      {87, 0, {{69, 200}}, RebuildAfterDefaults::Editor},
      {57, 3, {{57, 3}, {46, 99}}, RebuildAfterDefaults::None},
  };
  for (const Case& c : cases) {
    ParameterBlock b{};
    b.fill(99);
    b[c.p] = static_cast<std::uint8_t>(c.value);
    ParameterBlock sent = b;
    const DependentDefaultsResult r = FillDependentDefaults(b, sent, c.p);
    for (auto [index, value] : c.expected)
      EXPECT_EQ(b[index], value) << c.p << "=" << c.value << " byte " << index;
    EXPECT_EQ(r.rebuild, c.rebuild) << c.p;
    EXPECT_FALSE(r.readAll);
    // Only the typical simulation touches what the controller is believed to hold.
    ParameterBlock untouched{};
    untouched.fill(99);
    untouched[c.p] = static_cast<std::uint8_t>(c.value);
    EXPECT_EQ(sent, untouched) << c.p;
  }
}

TEST(DependentDefaults, TypicalSimulationChangesBothBlocksSoNothingIsSent) {
  ParameterBlock b = TypicalBlock();
  b[35] = 3;
  ParameterBlock sent = b;
  sent[35] = 0;  // the step itself is still to be written
  EXPECT_EQ(FillDependentDefaults(b, sent, 35).rebuild, RebuildAfterDefaults::Editor);
  for (auto [index, value] : {std::pair{36, 40}, {37, 40}, {38, 0}, {39, 0}}) {
    EXPECT_EQ(b[index], value);
    EXPECT_EQ(sent[index], value);
  }
  int differing = 0;
  for (int i = 0; i < 105; ++i) differing += b[i] != sent[i];
  EXPECT_EQ(differing, 1);  // byte 35 only
}

TEST(DependentDefaults, ClearingDiagnosticsForcesTheWriteOfZeroAndARead) {
  for (int p : {78, 79}) {
    ParameterBlock b = TypicalBlock();
    b[p] = 0;  // already zero: the write must still go out
    ParameterBlock sent = b;
    const DependentDefaultsResult r = FillDependentDefaults(b, sent, p);
    EXPECT_EQ(b[p], 0);
    EXPECT_EQ(r.forceZero, p);  // the link forces the write (sent gets 255 there)
    EXPECT_TRUE(r.readAll);
    EXPECT_EQ(r.rebuild, RebuildAfterDefaults::None);
  }
}

TEST(Plausibility, BoundsOfTheSwitchOverSpeed) {
  struct Case {
    int b62;
    bool warns;
  } cases[] = {{10, true}, {11, false}, {30, false}, {31, true}, {0, true}};
  for (const Case& c : cases) {
    ParameterBlock b = TypicalBlock();
    b[62] = static_cast<std::uint8_t>(c.b62);
    EXPECT_EQ(PlausibilityMessage(b), c.warns ? UiText(744) : "") << c.b62;
  }
}

TEST(Plausibility, MotorOrderGasSpeedAndProbeThreshold) {
  ParameterBlock b = TypicalBlock();
  EXPECT_EQ(PlausibilityMessage(b), "");

  b[42] = 20, b[64] = 20, b[65] = 60, b[41] = 100;  // equal values are not rising
  EXPECT_EQ(PlausibilityMessage(b), UiText(743));
  b[64] = 21;
  EXPECT_EQ(PlausibilityMessage(b), "");
  b[65] = 100;
  EXPECT_EQ(PlausibilityMessage(b), UiText(743));

  b = TypicalBlock();
  b[62] = 25, b[63] = 25;
  EXPECT_EQ(PlausibilityMessage(b), UiText(745));
  b[62] = 31, b[63] = 20;
  b[41] = 0;
  EXPECT_EQ(PlausibilityMessage(b), UiText(743) + UiText(744) + UiText(745));

  // A wrong probe threshold replaces everything else.
  b[58] = 41;
  EXPECT_EQ(PlausibilityMessage(b), UiText(746));

  struct Probe {
    int type;
    int threshold;
    bool warns;
  } probes[] = {{0, 10, false},  {0, 40, false}, {0, 9, true},   {0, 41, true},  {1, 50, false},
                {1, 200, false}, {2, 49, true},  {2, 201, true}, {3, 50, false}, {3, 70, false},
                {3, 71, true},   {3, 49, true},  {4, 0, false},  {9, 255, false}};
  for (const Probe& p : probes) {
    ParameterBlock good = TypicalBlock();
    good[34] = static_cast<std::uint8_t>(p.type);
    good[58] = static_cast<std::uint8_t>(p.threshold);
    EXPECT_EQ(PlausibilityMessage(good), p.warns ? UiText(746) : "") << p.type << " " << p.threshold;
  }
}

TEST(Plausibility, LastWarnedParameterSuppressesTheSameWarningUntilReset) {
  ParameterBlock b = TypicalBlock();
  b[62] = 5;
  PlausibilityChecker checker;
  EXPECT_EQ(checker.Check(b, 62, true), UiText(744));
  EXPECT_EQ(checker.LastWarnedParameter(), 62);
  EXPECT_EQ(checker.Check(b, 62, true), "");  // the same parameter again: quiet
  EXPECT_EQ(checker.Check(b, 63, true), UiText(744));
  EXPECT_EQ(checker.LastWarnedParameter(), 63);
  checker.ResetLastWarned();
  EXPECT_EQ(checker.Check(b, 63, true), UiText(744));

  // Parameters outside the list never warn after an edit; the check after a read always runs.
  PlausibilityChecker fresh;
  EXPECT_EQ(fresh.Check(b, 57, true), "");
  EXPECT_EQ(fresh.Check(b, 57, false), UiText(744));
  EXPECT_EQ(fresh.LastWarnedParameter(), 57);
  EXPECT_EQ(fresh.Check(b, 57, false), UiText(744));
  EXPECT_EQ(fresh.Check(b, 0, false), UiText(744));
  EXPECT_EQ(fresh.Check(TypicalBlock(), 62, true), "");

  for (int p : {34, 41, 42, 52, 53, 58, 62, 63, 64, 65}) EXPECT_TRUE(IsCheckedAfterEdit(p)) << p;
  for (int p : {0, 33, 57, 66, 78}) EXPECT_FALSE(IsCheckedAfterEdit(p)) << p;
}

}  // namespace
