#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/KeyTable.h"

namespace {

KeyContext AllTabsShown(int page = 0, int mode = 2) {
  KeyContext ctx;
  ctx.currentPage = static_cast<Page>(page);
  ctx.connectionMode = static_cast<ConnectionMode>(mode);
  ctx.tabParamVisible = ctx.tabConfigVisible = ctx.tabMapVisible = ctx.tabUpgVisible = true;
  return ctx;
}

// Presses the keys in order and returns the action of each.
std::vector<KeyAction> Press(const std::vector<int>& keys, KeyHistory& history, const KeyContext& ctx) {
  std::vector<KeyAction> actions;
  for (int vk : keys) actions.push_back(HandleKeyDown(vk, history, ctx));
  return actions;
}

int Count(const std::vector<KeyAction>& actions, KeyAction wanted) {
  int n = 0;
  for (KeyAction a : actions) n += a == wanted ? 1 : 0;
  return n;
}

TEST(KeyTable, HistoryKeepsTheLastThreeKeysNewestFirst) {
  KeyHistory h;
  EXPECT_EQ(h.keys, (std::array<int, 3>{0, 0, 0}));
  for (int vk : {1, 2, 3, 4}) h.Push(vk);
  EXPECT_EQ(h.keys, (std::array<int, 3>{4, 3, 2}));
  EXPECT_FALSE(h.CtrlBefore());
  h.Push(VK_CONTROL);
  EXPECT_TRUE(h.CtrlBefore());
}

TEST(KeyTable, FunctionKeysAndVisibleTabs) {
  struct Case {
    int vk;
    KeyAction shown;   // all page buttons visible
    KeyAction hidden;  // TabParam, TabConfig, TabMap, TabUpg hidden
  } cases[] = {
      {VK_F1, KeyAction::ShowKeyLabelsAndHelp, KeyAction::ShowKeyLabelsAndHelp},
      {VK_F2, KeyAction::SelectSetup, KeyAction::SelectSetup},
      {VK_F3, KeyAction::SelectParam, KeyAction::None},
      {VK_F4, KeyAction::SelectConfig, KeyAction::None},
      {VK_F5, KeyAction::SelectMap, KeyAction::None},
      {VK_F6, KeyAction::SelectUpg, KeyAction::None},
      {VK_F7, KeyAction::FocusGrid, KeyAction::FocusGrid},
      {VK_F8, KeyAction::ModeSwitchOrReconnect, KeyAction::ModeSwitchOrReconnect},
      {VK_F9, KeyAction::NextFontSize, KeyAction::NextFontSize},
      {VK_F10, KeyAction::Reconnect, KeyAction::Reconnect},
      {VK_F11, KeyAction::None, KeyAction::None},
      {VK_F12, KeyAction::None, KeyAction::None},
      {'Q', KeyAction::None, KeyAction::None},
      {VK_CONTROL, KeyAction::None, KeyAction::None},
  };
  const KeyHistory none;
  KeyContext hidden;
  for (const auto& c : cases) {
    EXPECT_EQ(DecideKey(c.vk, none, AllTabsShown()), c.shown) << c.vk;
    EXPECT_EQ(DecideKey(c.vk, none, hidden), c.hidden) << c.vk;
  }
  KeyContext onlyMap;
  onlyMap.tabMapVisible = true;
  EXPECT_EQ(DecideKey(VK_F5, none, onlyMap), KeyAction::SelectMap);
  EXPECT_EQ(DecideKey(VK_F6, none, onlyMap), KeyAction::None);
}

TEST(KeyTable, CtrlCombinationsNeedCtrlAsTheImmediatelyPrecedingKey) {
  struct Case {
    int vk;
    KeyAction action;
  } cases[] = {
      {VK_F11, KeyAction::SwitchListOrder},
      {'Q', KeyAction::StopLink},
      {'W', KeyAction::ResetChannelColours},
      {'S', KeyAction::SaveRecording},
      {'O', KeyAction::OpenRecording},
      {VK_F2, KeyAction::SelectSetup},
      {'A', KeyAction::None},
  };
  const KeyContext ctx = AllTabsShown();
  for (const auto& c : cases) {
    KeyHistory held;
    EXPECT_EQ(Press({VK_CONTROL, VK_CONTROL, c.vk}, held, ctx).back(), c.action) << c.vk;
    KeyHistory released;
    const KeyAction afterOther = Press({VK_CONTROL, 'A', c.vk}, released, ctx).back();
    if (c.vk == VK_F2)
      EXPECT_EQ(afterOther, KeyAction::SelectSetup);
    else
      EXPECT_EQ(afterOther, KeyAction::None) << c.vk;
  }
  // Ctrl two keys back does not count either.
  KeyHistory h;
  EXPECT_EQ(Press({VK_CONTROL, VK_F11, VK_F11}, h, ctx),
            (std::vector<KeyAction>{KeyAction::None, KeyAction::SwitchListOrder, KeyAction::None}));
}

// Ctrl+P, which the table leaves free, plays or pauses the stopped history on the readings
// page only; Ctrl+E exports it there; Ctrl+R makes the service report of the parameters there.
TEST(KeyTable, CtrlPAndCtrlEActOnTheReadingsPageOnly) {
  struct Case {
    int page, vk;
    bool ctrl;
    KeyAction action;
  } cases[] = {
      {1, 'P', true, KeyAction::TogglePlay},    {1, 'P', false, KeyAction::None},
      {0, 'P', true, KeyAction::None},          {2, 'P', true, KeyAction::None},
      {1, 'E', true, KeyAction::ExportCsv},     {3, 'E', true, KeyAction::None},
      {1, 'R', true, KeyAction::ServiceReport}, {1, 'R', false, KeyAction::None},
      {0, 'R', true, KeyAction::None},
  };
  for (const auto& c : cases) {
    KeyHistory h;
    EXPECT_EQ(Press({c.ctrl ? VK_CONTROL : 'A', c.vk}, h, AllTabsShown(c.page)).back(), c.action)
        << c.page << " " << c.vk;
  }
}

TEST(KeyTable, EnterActsOnTheScopeAndFirmwarePagesOnly) {
  const KeyHistory none;
  for (int page = 0; page <= 7; ++page) {
    KeyAction expected = KeyAction::None;
    if (page == 1) expected = KeyAction::ToggleScope;
    if (page == 7) expected = KeyAction::StartProgramming;
    EXPECT_EQ(DecideKey(VK_RETURN, none, AllTabsShown(page)), expected) << page;
  }
}

TEST(KeyTable, ArrowsStepOnlyOnTheParameterPageWithAController) {
  struct Case {
    int page, mode;
    bool steps;
  } cases[] = {
      {1, 2, true}, {1, 1, false}, {1, 0, false}, {1, 3, false}, {0, 2, false}, {2, 2, false},
  };
  const KeyHistory none;
  for (const auto& c : cases) {
    const KeyContext ctx = AllTabsShown(c.page, c.mode);
    EXPECT_EQ(DecideKey(VK_LEFT, none, ctx), c.steps ? KeyAction::StepDown : KeyAction::None)
        << c.page << "/" << c.mode;
    EXPECT_EQ(DecideKey(VK_RIGHT, none, ctx), c.steps ? KeyAction::StepUp : KeyAction::None)
        << c.page << "/" << c.mode;
  }
}

TEST(KeyTable, ServiceSequenceTogglesEachTimeItIsCompleted) {
  auto keys = [](const std::string& letters) {
    std::vector<int> v;
    for (char ch : letters) v.push_back(ch);
    return v;
  };
  struct Case {
    std::string typed;
    int toggles;
  } cases[] = {
      {"ORVS", 1}, {"ORVSORVS", 2}, {"OORVS", 1}, {"ORXVS", 0},
      {"ORV", 0},  {"SVRO", 0},     {"ORVSS", 1}, {"XXORVSXORVS", 2},
  };
  for (const auto& c : cases) {
    KeyHistory h;
    EXPECT_EQ(Count(Press(keys(c.typed), h, AllTabsShown()), KeyAction::ToggleServiceMode), c.toggles)
        << c.typed;
  }
  // A function key between the letters breaks the sequence too.
  KeyHistory h;
  std::vector<int> broken = keys("ORV");
  broken.push_back(VK_F7);
  broken.push_back('S');
  EXPECT_EQ(Count(Press(broken, h, AllTabsShown()), KeyAction::ToggleServiceMode), 0);
  // The letters are the ones documented.
  EXPECT_EQ(kServiceSequence, (std::array<int, 4>{'O', 'R', 'V', 'S'}));
}

TEST(KeyTable, KeyLabelCountdownRestoresCaptionsOnTheThirdTickAndRestartsOnF1) {
  KeyLabelCountdown countdown;
  EXPECT_EQ(countdown.Tick(), KeyLabelStep::Idle);
  countdown.Start();
  EXPECT_EQ(countdown.Tick(), KeyLabelStep::Counting);
  EXPECT_EQ(countdown.Tick(), KeyLabelStep::Counting);
  EXPECT_EQ(countdown.Tick(), KeyLabelStep::RestoreCaptions);
  EXPECT_EQ(countdown.Tick(), KeyLabelStep::Idle);
  EXPECT_FALSE(countdown.Running());

  countdown.Start();
  EXPECT_EQ(countdown.Tick(), KeyLabelStep::Counting);
  EXPECT_EQ(countdown.Tick(), KeyLabelStep::Counting);
  countdown.Start();  // F1 again: three more ticks
  EXPECT_EQ(countdown.Tick(), KeyLabelStep::Counting);
  EXPECT_EQ(countdown.Tick(), KeyLabelStep::Counting);
  EXPECT_TRUE(countdown.Running());
  EXPECT_EQ(countdown.Tick(), KeyLabelStep::RestoreCaptions);
}

TEST(KeyTable, FontSizesCycleTenTwelveFourteen) {
  struct Case {
    int index, next, size;
  } cases[] = {{0, 1, 10}, {1, 2, 12}, {2, 0, 14}, {-1, 0, 10}, {3, 0, 10}};
  for (const auto& c : cases) {
    EXPECT_EQ(NextFontIndex(c.index), c.next) << c.index;
    EXPECT_EQ(FontSizeForIndex(c.index), c.size) << c.index;
  }
}

}  // namespace
