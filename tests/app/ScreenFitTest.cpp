#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppSettings.h"

namespace {

constexpr int kFrame = 35;  // outer height beyond the client area
const ScreenArea kLaptop{0, 0, 1366, 728};
const ScreenArea kRightMonitor{1366, -200, 1920, 1050};

struct Bounds {
  int left, top, width, height;
  bool operator==(const Bounds&) const = default;
};

AppSettings Stored(Bounds b, int wsize = kMinUpperPanelHeight, int state = 0) {
  AppSettings s;
  s.WLeft = b.left;
  s.WTop = b.top;
  s.WWidth = b.width;
  s.WHeight = b.height;
  s.WSize = wsize;
  s.WState = state;
  s.boundsRead = true;
  return s;
}

Bounds BoundsOf(const AppSettings& s) { return {s.WLeft, s.WTop, s.WWidth, s.WHeight}; }

TEST(ScreenFit, storedBoundsEndOnAScreenTheyFit) {
  struct Case {
    const char* what;
    Bounds stored;
    std::vector<ScreenArea> screens;
    Bounds fitted;
  };
  const std::vector<ScreenArea> one{kLaptop};
  const std::vector<ScreenArea> two{kLaptop, kRightMonitor};
  const Case cases[] = {
      {"inside stays", {100, 100, 640, 480}, one, {100, 100, 640, 480}},
      {"far right, off every screen", {20000, 100, 640, 480}, one, {726, 100, 640, 480}},
      {"far up-left", {-20000, -20000, 640, 480}, one, {0, 0, 640, 480}},
      {"huge", {0, 0, 20000, 20000}, one, {0, 0, 1366, 728}},
      {"huge and off", {-20000, 20000, 20000, 20000}, one, {0, 0, 1366, 728}},
      {"hanging over the edge", {1000, 500, 640, 480}, one, {726, 248, 640, 480}},
      {"on the second monitor", {2000, 0, 800, 600}, two, {2000, 0, 800, 600}},
      {"mostly on the second", {1300, 10, 800, 600}, two, {1366, 10, 800, 600}},
      {"off both goes to the first", {9000, 9000, 800, 600}, two, {566, 128, 800, 600}},
      {"screen smaller than the smallest window",
       {50, 50, 900, 700},
       {{0, 0, 600, 400}},
       {0, 0, kMinWindowWidth, kMinWindowHeight}},
  };
  for (const Case& c : cases) {
    AppSettings s = Stored(c.stored);
    FitSettingsToScreens(s, c.screens, kFrame);
    EXPECT_EQ(BoundsOf(s), c.fitted) << c.what;
    EXPECT_TRUE(s.boundsRead) << c.what;
  }
}

TEST(ScreenFit, upperPanelLeavesTheEditorRowsReachable) {
  struct Case {
    int wsize, windowHeight, state, fitted;
  };
  // Client height = window height - 35; the panel leaves 120 pixels below it.
  const Case cases[] = {
      {160, 480, 0, 160},   {325, 480, 0, 325},   {326, 480, 0, 325},     {20000, 480, 0, 325},
      {20000, 458, 0, 303}, {500, 728, 0, 500},   {20000, 20000, 0, 573},  // height fitted first
      {500, 480, 2, 500},   {20000, 480, 2, 573},                          // maximised: screen height
  };
  for (const Case& c : cases) {
    AppSettings s = Stored({0, 0, 640, c.windowHeight}, c.wsize, c.state);
    FitSettingsToScreens(s, {kLaptop}, kFrame);
    EXPECT_EQ(s.WSize, c.fitted) << c.wsize << " in " << c.windowHeight << " state " << c.state;
    if (c.state == 0) {
      EXPECT_GE(s.WHeight - kFrame - s.WSize, kMinLowerPanelHeight);
    }
  }
  EXPECT_EQ(UpperPanelLimit(0), kMinUpperPanelHeight);
  EXPECT_EQ(UpperPanelLimit(445), 325);
}

TEST(ScreenFit, withoutStoredBoundsOnlyTheUpperPanelIsLimited) {
  AppSettings s;  // design bounds, not read
  s.WSize = 20000;
  const std::vector<std::string> changed = FitSettingsToScreens(s, {kLaptop}, kFrame);
  EXPECT_EQ(changed, std::vector<std::string>{"WSize"});
  EXPECT_EQ(s.WSize, 480 - kFrame - kMinLowerPanelHeight);
  EXPECT_EQ(BoundsOf(s),
            (Bounds{kDesignWindowLeft, kDesignWindowTop, kDesignWindowWidth, kDesignWindowHeight}));

  AppSettings far = Stored({20000, 20000, 20000, 20000}, 20000);
  far.boundsRead = true;
  EXPECT_EQ(FitSettingsToScreens(far, {}, kFrame), std::vector<std::string>{"WSize"});  // no screen known
  EXPECT_EQ(FitSettingsToScreens(far, {{0, 0, 0, 0}}, kFrame), std::vector<std::string>{});
}

}  // namespace
