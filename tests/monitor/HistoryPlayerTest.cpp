#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "monitor/HistoryPlayer.h"

namespace {

constexpr int kNewest = 3599;

// Ticks until the player stops or n ticks have passed; the positions it asked to show.
std::vector<int> TickOn(HistoryPlayer& player, int n) {
  std::vector<int> shown;
  for (int i = 0; i < n; ++i)
    if (const std::optional<int> p = player.Tick()) shown.push_back(*p);
  return shown;
}

struct SpeedCase {
  int speedIndex, speed;
};

class PlayerSpeed : public ::testing::TestWithParam<SpeedCase> {};

// Ten records a second times the speed: each tick of a tenth of a second moves the position
// on by the speed, and the play ends on the newest record, shown once.
TEST_P(PlayerSpeed, movesTenRecordsASecondTimesTheSpeedAndStopsAtTheNewest) {
  const SpeedCase c = GetParam();
  HistoryPlayer player(kNewest);
  player.SetSpeedIndex(c.speedIndex);
  EXPECT_EQ(player.Speed(), c.speed);
  player.Play(100, 0);
  ASSERT_TRUE(player.Playing());
  const std::vector<int> first = TickOn(player, 10);  // one second
  ASSERT_EQ(first.size(), 10u);
  EXPECT_EQ(first.front(), 100 + c.speed);
  EXPECT_EQ(first.back(), 100 + 10 * c.speed);
  for (std::size_t i = 1; i < first.size(); ++i) EXPECT_EQ(first[i] - first[i - 1], c.speed);

  const int ticksLeft = (kNewest - player.Position() + c.speed - 1) / c.speed;
  const std::vector<int> rest = TickOn(player, ticksLeft + 5);
  ASSERT_EQ(static_cast<int>(rest.size()), ticksLeft);
  EXPECT_EQ(rest.back(), kNewest);
  EXPECT_FALSE(player.Playing());
  EXPECT_EQ(player.Tick(), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Speeds, PlayerSpeed,
                         ::testing::Values(SpeedCase{0, 1}, SpeedCase{1, 4}, SpeedCase{2, 16}));

TEST(HistoryPlayer, aManualScrollPausesButItsOwnPositionDoesNot) {
  HistoryPlayer player(kNewest);
  player.SetSpeedIndex(2);
  player.Play(0, 0);
  for (int i = 0; i < 3; ++i) player.Scrolled(*player.Tick());  // the scroll bar follows the player
  EXPECT_TRUE(player.Playing());
  EXPECT_EQ(player.Position(), 48);
  player.Scrolled(2000);  // the fitter drags the scroll bar
  EXPECT_FALSE(player.Playing());
  EXPECT_EQ(player.Tick(), std::nullopt);
  player.Toggle(player.Position(), 0);  // play again from where he left it
  EXPECT_EQ(player.Tick(), 2016);
  player.Toggle(player.Position(), 0);
  EXPECT_FALSE(player.Playing());
  player.Toggle(kNewest, 3500);  // from the newest record: again from where the data begin
  EXPECT_EQ(player.Position(), 3500);
  EXPECT_TRUE(player.Playing());
}

}  // namespace
