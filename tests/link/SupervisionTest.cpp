#include <gtest/gtest.h>

#include <cerrno>

#include "base/UiText.h"
#include "link/PortMapping.h"
#include "link/Supervision.h"
#include "support/FakeSerialPort.h"
#include "support/LinkTestAccess.h"
#include "support/ScriptedLinkHost.h"

namespace {

class SupervisionTest : public ::testing::Test {
 protected:
  SupervisionTest() : link(port, host, host, history), supervisor(link, port, host, host) {
    LinkTestAccess::State(link).reconnectPending = true;
  }

  // Sends polls that nobody answers until the supervision declares the link lost.
  void LoseLink() {
    const int threshold = PageNumber(link.Vars().currentPage) == 3 ? 100 : 15;
    LinkTestAccess::State(link).unansweredCount = threshold;
    supervisor.TimerInfoTimer();
  }

  FakeSerialPort port;
  ScriptedLinkHost host;
  ReadingHistory history;
  ControllerLink link;
  ConnectionSupervisor supervisor;
};

TEST_F(SupervisionTest, reconnectOpensThePortAndStartsTheLink) {
  supervisor.TimerInfoTimer();
  ASSERT_EQ(host.log.size(), 1u);
  EXPECT_EQ(host.log[0], UiText(721) + "1 -" + UiText(723));
  EXPECT_TRUE(port.Active());
  EXPECT_FALSE(link.Vars().reconnectPending);
  EXPECT_TRUE(link.Vars().readPending);
  EXPECT_EQ(link.Vars().linkState, link_state::kChoose);
  EXPECT_TRUE(host.txEnabled);
  EXPECT_EQ(host.interval, 1000);
  EXPECT_EQ(host.progressMax, 100);
  EXPECT_EQ(host.setupSelections, 1);
  EXPECT_EQ(host.comboPort, 1);
}

TEST_F(SupervisionTest, portSearchTriesOnePortPerTickCyclingOneToFour) {
  host.autoPortSearch = true;
  port.failOpen = true;
  for (int t = 0; t < 5; ++t) supervisor.TimerInfoTimer();
  ASSERT_EQ(host.log.size(), 5u);
  const int ports[] = {1, 2, 3, 4, 1};
  for (int t = 0; t < 5; ++t)
    EXPECT_EQ(host.log[t], UiText(721) + std::to_string(ports[t]) + " -" + UiText(722));
  EXPECT_TRUE(link.Vars().reconnectPending);
}

TEST_F(SupervisionTest, failedOpenWithoutSearchRetriesTheSamePort) {
  port.failOpen = true;
  supervisor.TimerInfoTimer();
  supervisor.TimerInfoTimer();
  EXPECT_EQ(port.PortNum(), 1);
  EXPECT_EQ(host.log.size(), 2u);
  EXPECT_TRUE(link.Vars().reconnectPending);
}

// Why the port did not open follows the first failure of each reason, once, and again only
// after an open that worked.
TEST_F(SupervisionTest, whyAPortDidNotOpenIsSaidOnceForEachReason) {
  port.failOpen = true;
  const std::string open = UiText(721) + "1 -" + UiText(722);
  const std::string device = UiText(1330) + "/dev/ttyUSB0";
  const struct {
    int error;
    std::vector<std::string> lines;
  } steps[] = {
      {ENOENT, {open, device + UiText(1331)}},
      {ENOENT, {open}},
      {EBUSY, {open, device + UiText(1332)}},
      {EACCES, {open, device + UiText(1335) + UiText(1302)}},  // no such device: no group to name
      {EACCES, {open}},
      {0, {UiText(721) + "1 -" + UiText(723)}},
      {ENOENT, {open, device + UiText(1331)}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.error);
    host.log.clear();
    port.failOpen = step.error != 0;
    port.failOpenError = step.error;
    LinkTestAccess::State(link).reconnectPending = true;
    supervisor.TimerInfoTimer();
    EXPECT_EQ(host.log, step.lines);
  }
}

TEST(PortFailureLineTest, theFittersWordsForEachReason) {
  const std::string d = UiText(1330) + "/dev/ttyUSB0";
  const struct {
    int error;
    const char* group;
    std::string line;
  } cases[] = {
      {ENOENT, "", d + UiText(1331)},
      {EBUSY, "dialout", d + UiText(1332)},
      {EACCES, "dialout", d + UiText(1333)},
      {EACCES, "uucp", d + UiText(1334) + "uucp"},
      {EIO, "dialout", d + UiText(1335) + UiText(1307)},
  };
  for (const auto& c : cases) EXPECT_EQ(PortFailureLine("/dev/ttyUSB0", c.error, c.group), c.line);
}

TEST_F(SupervisionTest, silentPortWithSearchIsLeftForTheNextOne) {
  host.autoPortSearch = true;
  supervisor.TimerInfoTimer();
  host.log.clear();
  LoseLink();
  ASSERT_EQ(host.log.size(), 2u);
  EXPECT_EQ(host.log[0], UiText(724));
  EXPECT_EQ(host.log[1], UiText(720) + "1");
  EXPECT_EQ(port.PortNum(), 2);
  EXPECT_FALSE(port.Active());
  EXPECT_TRUE(link.Vars().reconnectPending);
  EXPECT_EQ(host.modes, std::vector<int>{0});
  EXPECT_EQ(host.beeps, 1);
  supervisor.TimerInfoTimer();
  EXPECT_EQ(host.log.back(), UiText(721) + "2 -" + UiText(723));
}

TEST_F(SupervisionTest, sixLossesInARowWithoutSearchStopTheLink) {
  supervisor.TimerInfoTimer();
  for (int loss = 1; loss <= 6; ++loss) {
    LoseLink();
    EXPECT_EQ(host.txEnabled, loss < 6) << loss;
  }
  EXPECT_EQ(std::count(host.log.begin(), host.log.end(), UiText(724)), 6);
  EXPECT_FALSE(link.Vars().readPending);
  EXPECT_FALSE(link.Vars().reconnectPending);
  EXPECT_EQ(link.Vars().failedReconnects, 0);
  EXPECT_FALSE(host.progressVisible);
  supervisor.TimerInfoTimer();
  EXPECT_EQ(host.panel.text, UiText(140));
  EXPECT_EQ(host.panel.textColour, 0xFF0000u);
  EXPECT_TRUE(host.panel.buttonFace);
}

TEST_F(SupervisionTest, mapPageToleratesAHundredUnansweredRequests) {
  supervisor.TimerInfoTimer();
  LinkTestAccess::State(link).currentPage = static_cast<Page>(3);
  LinkTestAccess::State(link).unansweredCount = 99;
  supervisor.TimerInfoTimer();
  EXPECT_TRUE(host.modes.empty());
  LinkTestAccess::State(link).unansweredCount = 100;
  supervisor.TimerInfoTimer();
  EXPECT_EQ(host.modes, std::vector<int>{0});
  LinkTestAccess::State(link).currentPage = static_cast<Page>(1);
  LinkTestAccess::State(link).unansweredCount = 15;
  supervisor.TimerInfoTimer();
  EXPECT_EQ(host.modes.size(), 2u);
}

TEST_F(SupervisionTest, anyParameterReplyResetsFailedReconnects) {
  supervisor.TimerInfoTimer();
  LoseLink();
  LoseLink();
  EXPECT_EQ(link.Vars().failedReconnects, 2);
  LinkTestAccess::State(link).expectedReply = 0x55;
  port.OnRxChar = [this](int n) { link.VaComm1RxChar(n); };
  port.Feed({0x12, 0x34, 0x56, 0x78});  // wrong, but a reply of four bytes
  EXPECT_EQ(link.Vars().failedReconnects, 0);
}

TEST_F(SupervisionTest, choosingThePortInUseReopensItAndReadsAgain) {
  supervisor.TimerInfoTimer();
  supervisor.CBComChange(0);
  EXPECT_FALSE(port.Active());
  EXPECT_EQ(host.log.back(), UiText(720) + "1");
  supervisor.TimerInfoTimer();
  EXPECT_TRUE(port.Active());
  EXPECT_EQ(port.opens, 2);
  EXPECT_TRUE(link.Vars().readPending);
  supervisor.CBComChange(2);
  supervisor.TimerInfoTimer();
  EXPECT_EQ(port.PortNum(), 3);
}

TEST_F(SupervisionTest, closeErrorsAreIgnored) {
  supervisor.TimerInfoTimer();
  port.failClose = true;
  EXPECT_NO_THROW(supervisor.CBComChange(1));
  EXPECT_NO_THROW(supervisor.TimerInfoTimer());
}

TEST_F(SupervisionTest, panelClickSwitchesModeWhileRunningAndReconnectsWhenStopped) {
  supervisor.TimerInfoTimer();
  supervisor.PanelInfoClick();
  EXPECT_TRUE(link.Vars().modeSwitchRequest);
  supervisor.StopLink();
  EXPECT_FALSE(host.txEnabled);
  EXPECT_EQ(host.tabsShown, 1);
  supervisor.PanelInfoClick();
  EXPECT_TRUE(link.Vars().reconnectPending);
  EXPECT_TRUE(host.log.empty());
}

TEST_F(SupervisionTest, keyLabelsComeBackAfterThreeTicks) {
  supervisor.TimerInfoTimer();
  supervisor.StartKeyLabelCountdown();
  supervisor.TimerInfoTimer();
  supervisor.StartKeyLabelCountdown();  // F1 again restarts at 3
  supervisor.TimerInfoTimer();
  supervisor.TimerInfoTimer();
  EXPECT_EQ(host.captionRestores, 0);
  const int ticks = supervisor.InfoTicks();
  supervisor.TimerInfoTimer();
  EXPECT_EQ(host.captionRestores, 1);
  EXPECT_EQ(supervisor.InfoTicks(), ticks + 1);
}

TEST_F(SupervisionTest, pendingHelpRequestOpensTheHelpWindow) {
  host.helpPending = true;
  supervisor.TimerInfoTimer();
  EXPECT_EQ(host.helpOpened, 1);
  EXPECT_FALSE(host.helpPending);
}

TEST(ModePanelTest, lookFollowsTheStatusByte) {
  struct Case {
    bool running;
    int status, ticks;
    bool face;
    std::uint32_t colour;
    int textId;  // -1: empty
  };
  const Case cases[] = {
      {false, 0xC4, 0, true, 0, 140},        {true, 255, 0, true, 0, -1},
      {true, 0x00, 0, false, 0x808080, 141}, {true, 0xC4, 0, false, 0x00FF00, 144},
      {true, 0xC8, 0, false, 0xFF00FF, 145}, {true, 0xD0, 0, false, 0xFF0000, 142},
      {true, 0xD8, 0, false, 0xFFFF00, 143}, {true, 0x81, 2, false, 0x00FF00, 144},
      {true, 0x82, 4, false, 0xFF0000, 142}, {true, 0x83, 0, false, 0xFFFF00, 143},
      {true, 0x80, 0, true, 0, -1},
  };
  for (const Case& c : cases) {
    const ModePanelLook look =
        NextModePanelLook(ModePanelLook{}, c.running, static_cast<std::uint8_t>(c.status), c.ticks);
    EXPECT_EQ(look.buttonFace, c.face) << c.status;
    if (!c.face) {
      EXPECT_EQ(look.colour, c.colour) << c.status;
    }
    EXPECT_EQ(look.text, c.textId < 0 ? std::string() : UiText(c.textId)) << c.status;
  }
}

TEST(ModePanelTest, bitSixClearBlinksAndOtherFuelBitsKeepTheLook) {
  ModePanelLook gas = NextModePanelLook(ModePanelLook{}, true, 0x81, 0);
  const ModePanelLook odd = NextModePanelLook(gas, true, 0x81, 1);
  EXPECT_TRUE(odd.buttonFace);
  EXPECT_EQ(odd.text, UiText(144));
  const ModePanelLook kept = NextModePanelLook(gas, true, 0xC0 | 0x0C, 2);
  EXPECT_EQ(kept.colour, gas.colour);
  EXPECT_EQ(kept.text, gas.text);
}

TEST(ModePanelTest, autoModeMessagesLaterMatchesWin) {
  EXPECT_EQ(AutoModeMessageId(8), 483);
  EXPECT_EQ(AutoModeMessageId(0x10), 481);
  EXPECT_EQ(AutoModeMessageId(33), 436);
  EXPECT_EQ(AutoModeMessageId(65), 483);
  EXPECT_EQ(AutoModeMessageId(136), 484);
  EXPECT_EQ(AutoModeMessageId(0x18), 481);
  EXPECT_EQ(AutoModeMessageId(0), 0);
}

TEST_F(SupervisionTest, steadyAutoShowsTheSwitchOverMessageWhileTheGridIsVisible) {
  supervisor.TimerInfoTimer();
  LinkTestAccess::State(link).controllerStatus = 0xD8;
  LinkTestAccess::State(link).controllerErrorCode = 136;
  supervisor.TimerInfoTimer();
  EXPECT_EQ(host.autoMessage, UiText(484));
  host.gridVisible = false;
  supervisor.TimerInfoTimer();
  EXPECT_TRUE(host.autoMessage.empty());
}

}  // namespace
