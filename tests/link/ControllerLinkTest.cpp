#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "base/UiText.h"
#include "link/ControllerLink.h"
#include "link/LinkFrames.h"
#include "support/FakeSerialPort.h"
#include "support/LinkReplies.h"
#include "support/LinkTestAccess.h"
#include "support/ScriptedLinkHost.h"

namespace {

class LinkTest : public ::testing::Test {
 protected:
  LinkTest() : link(port, host, host, history) {
    link.SetPageSink(&host);  // the stand-in records the replies of every page
    port.Open();
    port.OnRxChar = [this](int n) { link.VaComm1RxChar(n); };
  }

  // Answers every parameter read with the value memory[index] until the link stops asking.
  void AnswerParameterReads(const ParameterBlock& memory, int maxExchanges = 400) {
    for (int k = 0; k < maxExchanges; ++k) {
      const Bytes& last = port.frames.back();
      if (last[0] != link_code::kParameterRead || link.Vars().expectedReply != link_code::kParameterRead)
        return;
      const std::uint8_t i = last[1];
      port.Feed({0x55, i, memory[i], static_cast<std::uint8_t>(0x55 + i + memory[i])});
      if (!link.Vars().readPending) return;
    }
  }

  void Connect(const ParameterBlock& memory) {
    link.StartLink();
    link.TimerTxTimer();
    AnswerParameterReads(memory);
  }

  static ParameterBlock Memory(std::uint8_t type = 0x64) {
    ParameterBlock m{};
    for (int i = 0; i < 256; ++i) m[i] = static_cast<std::uint8_t>(i * 7 + 3);
    m[0] = type;
    m[1] = 145;
    return m;
  }

  FakeSerialPort port;
  ScriptedLinkHost host;
  ReadingHistory history;
  ControllerLink link;
};

TEST(LinkFramesTest, framesCarryTheirChecksums) {
  EXPECT_EQ(CommandFrame(0x33), (Bytes{0x33, 0x33}));
  EXPECT_EQ(IndexedFrame(0x55, 0), (Bytes{0x55, 0x00, 0x55}));
  EXPECT_EQ(ParameterWriteFrame(40, 0x12), (Bytes{0xAA, 0x28, 0x12, 0xE4}));
  EXPECT_EQ(IndexedFrame(0xC5, 16), (Bytes{0xC5, 0x10, 0xD5}));
  EXPECT_EQ(IndexedFrame(0x5C, 31), (Bytes{0x5C, 0x1F, 0x7B}));
  EXPECT_EQ(PrefixedCommandFrame(0x33), (Bytes{0x35, 0x33, 0x68}));
  EXPECT_EQ(PrefixedCommandFrame(0xAC), (Bytes{0x35, 0xAC, 0xE1}));
  const Bytes reg = RegisterReadFrame(0x20);
  ASSERT_EQ(reg.size(), 4u);
  EXPECT_EQ(reg[2], 0x7A);
}

TEST_F(LinkTest, fullReadRequestsEachIndexTwiceAndStoresBothBlocks) {
  const ParameterBlock memory = Memory();
  link.StartLink();
  EXPECT_EQ(host.interval, kLinkStartIntervalMs);
  link.TimerTxTimer();
  EXPECT_EQ(host.interval, kReadStartIntervalMs);
  EXPECT_TRUE(host.busy);
  EXPECT_EQ(host.progressMax, 105);
  ASSERT_EQ(host.log.size(), 1u);
  EXPECT_EQ(host.log[0], UiText(725));
  AnswerParameterReads(memory);

  std::vector<int> requested;
  for (const Bytes& f : port.frames) requested.push_back(f[1]);
  std::vector<int> expected{0};
  for (int i = 1; i <= 104; ++i) expected.insert(expected.end(), {i, i});
  expected.push_back(105);
  EXPECT_EQ(requested, expected);

  for (int i = 0; i <= 105; ++i) {
    EXPECT_EQ(link.Block()[i], memory[i]) << i;
    EXPECT_EQ(link.SentBlock()[i], memory[i]) << i;
  }
  EXPECT_EQ(link.Block()[106], 255);
  EXPECT_EQ(host.modes, std::vector<int>{2});
  EXPECT_EQ(host.parametersRead, 1);
  EXPECT_FALSE(link.Vars().readPending);
  EXPECT_EQ(link.Vars().linkState, link_state::kParameterPoll);
  EXPECT_TRUE(link.Vars().controllerSeen);
  EXPECT_FALSE(host.busy);
  EXPECT_FALSE(host.progressVisible);
  EXPECT_EQ(host.interval, kPollIntervalMs);

  // The next tick polls and checks the parameters just read.
  link.TimerTxTimer();
  EXPECT_EQ(port.frames.back(), (Bytes{0x33, 0x33}));
  EXPECT_EQ(host.plausibilityChecks, 1);
  link.TimerTxTimer();
  EXPECT_EQ(host.plausibilityChecks, 1);
}

TEST_F(LinkTest, unansweredReadIsRepeatedByTheTick) {
  link.StartLink();
  link.TimerTxTimer();
  port.Feed({0x55, 0, 0x64, 0xB9});
  const std::size_t sent = port.frames.size();
  link.TimerTxTimer();
  ASSERT_EQ(port.frames.size(), sent + 1);
  EXPECT_EQ(port.frames.back(), IndexedFrame(0x55, 1));
}

TEST_F(LinkTest, replyForAnIndexNotYetAskedForIsIgnoredAndTheReadEndsIntact) {
  link.StartLink();
  link.TimerTxTimer();
  port.Feed({0x55, 0, 0x64, 0xB9});
  const ParameterBlock before = link.Block();
  const std::size_t sent = port.frames.size();
  for (std::uint8_t damaged : {0, 2, 50, 105, 106, 200, 255}) {
    port.Feed({0x55, damaged, 0x11, static_cast<std::uint8_t>(0x66 + damaged)});
    EXPECT_EQ(link.Block(), before) << int(damaged);
    EXPECT_TRUE(link.Vars().readPending) << int(damaged);
    EXPECT_EQ(link.Vars().requestIndex, 1) << int(damaged);
  }
  EXPECT_EQ(port.frames.size(), sent);
  EXPECT_TRUE(host.modes.empty());

  link.TimerTxTimer();  // the retry
  EXPECT_EQ(port.frames.back(), IndexedFrame(0x55, 1));
  const ParameterBlock memory = Memory();
  AnswerParameterReads(memory);
  EXPECT_FALSE(link.Vars().readPending);
  EXPECT_EQ(host.modes, std::vector<int>{2});
  for (int i = 1; i <= 105; ++i) EXPECT_EQ(link.Block()[i], memory[i]) << i;
}

// Whatever its kind, a reply whose checksum is wrong counts as none: nothing of it is taken.
TEST_F(LinkTest, aReplyWithAWrongChecksumIsNoReply) {
  const std::pair<int, Bytes> cases[] = {{1, Reply({0x33, 0xC4}, 16)},     {2, Reply({0xAC, 0xC4}, 15)},
                                         {3, Reply({0xC5, 0xC4, 20}, 23)}, {5, Reply({0xC5, 0xC4, 2}, 23)},
                                         {6, Reply({0x5C, 0xC4, 2}, 20)},  {4, Reply({0xCA, 1, 2, 3}, 14)},
                                         {1, Reply({0x5A, 1, 0x42}, 4)},   {1, Reply({0xAA}, 2)}};
  link.SetScopeAdvancing(true);
  auto seen = [&] {
    return std::vector<std::size_t>{link.Vars().controllerStatus, std::size_t(host.beeps),
                                    host.records.size(),          host.configurations.size(),
                                    host.mapColumns.size(),       host.memoryBlocks.size(),
                                    host.portViews.size(),        std::size_t(link.Vars().unansweredCount)};
  };
  for (const auto& [page, reply] : cases) {
    LinkTestAccess::State(link).currentPage = static_cast<Page>(page);
    LinkTestAccess::State(link).unansweredCount = 3;
    const auto before = seen();
    for (bool damaged : {true, false}) {
      LinkTestAccess::State(link).expectedReply = reply[0];
      Bytes r = reply;
      r.back() ^= damaged ? 0x40 : 0;
      port.Feed(r);
      EXPECT_EQ(seen() == before, damaged) << int(reply[0]);
    }
  }
}

// A write counts when the controller acknowledges it; until then each tick sends it again, four
// times in all, then the log names it and the link goes on.
TEST_F(LinkTest, aWriteGoesOutUntilAcknowledgedAndIsNamedAfterItsLastTry) {
  Connect(Memory());
  for (const auto& [lost, writes] : {std::pair{0, 1}, {1, 2}, {3, 4}, {4, 4}, {9, 4}}) {
    host.log.clear();
    LinkTestAccess::Block(link)[40] ^= 0x10;
    int sent = 0;
    for (int t = 0; t < 6; ++t) {
      link.TimerTxTimer();
      if (port.frames.back() == ParameterWriteFrame(40, link.Block()[40]) && ++sent > lost)
        port.Feed({0xAA, 0xAA});
    }
    EXPECT_EQ(sent, writes);
    EXPECT_EQ(port.frames.back(), (Bytes{0x33, 0x33}));
    const std::string named = UiText(1240) + "40: " + std::to_string(link.Block()[40]);
    EXPECT_EQ(host.log, lost >= 4 ? std::vector<std::string>{named} : std::vector<std::string>{}) << lost;
  }
}

// Changes not acknowledged when the link is lost are not sent blindly: after the reconnect's
// read they go to the same controller again, and are named in a box for any other.
TEST_F(LinkTest, changesUnacknowledgedAtALossGoToTheSameControllerOrAreNamed) {
  const std::tuple<int, int, bool> cases[] = {
      {2, 17, true}, {78, 9, true}, {0, 0x65, false}, {1, 146, false}, {60, 1, false}};
  for (const auto& [index, value, same] : cases) {
    const ParameterBlock memory = Memory();
    Connect(memory);
    const std::uint8_t wanted = LinkTestAccess::Block(link)[50] ^= 0x0F;
    link.TimerTxTimer();  // the write goes out and is lost with the link
    link.LinkLost();
    link.RequestFullRead();
    host.log.clear();
    link.TimerTxTimer();  // nothing written: it switches to the read
    ParameterBlock other = memory;
    other[index] = static_cast<std::uint8_t>(value);
    link.TimerTxTimer();
    AnswerParameterReads(other);
    link.TimerTxTimer();
    const std::string change = "50: " + std::to_string(wanted);
    EXPECT_EQ(port.frames.back() == ParameterWriteFrame(50, wanted), same) << index;
    EXPECT_EQ(host.log.back() == UiText(1241) + change, same) << index;
    EXPECT_EQ(!same, !host.messages.empty() && host.messages.back() == UiText(1242) + "\n\r" + change)
        << index;
    port.Feed({0xAA, 0xAA});
  }
}

TEST_F(LinkTest, testerIsReadOnlyUpToIndexFourAndThenSendsOnlyWrites) {
  // The window's page change on mode 3 stops the link; the read's own final state wins.
  host.onApplyConnectionMode = [this](int) { link.EnterPage(Page::Firmware); };
  Connect(Memory(0xCB));
  EXPECT_EQ(host.modes, std::vector<int>{3});
  EXPECT_EQ(link.Vars().linkState, link_state::kTester);
  EXPECT_EQ(port.frames.back()[1], 4);
  EXPECT_EQ(host.parametersRead, 0);

  const std::size_t sent = port.frames.size();
  LinkTestAccess::State(link).modeSwitchRequest = true;
  link.TimerTxTimer();
  EXPECT_EQ(port.frames.size(), sent);
  EXPECT_TRUE(link.Vars().modeSwitchRequest);
  LinkTestAccess::Block(link)[40] = 9;
  link.TimerTxTimer();
  EXPECT_EQ(port.frames.back(), ParameterWriteFrame(40, 9));
}

TEST_F(LinkTest, loaderReportIsEvaluatedOnlyWithEightBytes) {
  link.StartLink();
  link.TimerTxTimer();
  port.Feed({0x3A, 0x64, 0x91, 0, 0, 0});
  EXPECT_EQ(link.Vars().expectedReply, kLoaderReportPending);
  EXPECT_TRUE(host.modes.empty());
  link.TimerTxTimer();  // still incomplete at the tick: discarded, the read is repeated
  EXPECT_EQ(port.frames.back(), IndexedFrame(0x55, 1));
  EXPECT_EQ(link.Vars().expectedReply, link_code::kParameterRead);
  port.Feed({1, 0});  // the rest of the discarded report is no reply
  EXPECT_TRUE(host.modes.empty());
  link.TimerTxTimer();
  EXPECT_EQ(port.Waiting(), 0u);

  port.Feed(Summed({0x3A, 0x65, 0x92, 0, 0, 0, 1, 0}));
  EXPECT_EQ(host.modes, std::vector<int>{4});
  EXPECT_EQ(link.Vars().linkState, link_state::kStopped);
  EXPECT_EQ(link.Vars().expectedReply, kLoaderReportDone);
  EXPECT_EQ(link.Block()[0], 0x65);
  EXPECT_EQ(link.SentBlock()[1], 0x92);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], UiText(920) + UiText(922));
}

// At the line's speed the report arrives a few bytes per received-data event.
TEST_F(LinkTest, loaderReportSplitAtAnyByteIsEvaluatedOnceWhole) {
  const Bytes report = Summed({0x3A, 0x65, 0x92, 0, 0, 0, 3, 0});
  std::vector<std::vector<int>> splits = {{4, 4}, {1, 7}, {7, 1}, {1, 1, 1, 1, 1, 1, 1, 1}};
  for (int first = 1; first < 8; ++first) splits.push_back({first, 8 - first});
  for (const auto& split : splits) {
    FakeSerialPort p;
    ScriptedLinkHost h;
    ReadingHistory hist;
    ControllerLink l(p, h, h, hist);
    p.Open();
    p.OnRxChar = [&](int n) { l.VaComm1RxChar(n); };
    l.StartLink();
    l.TimerTxTimer();
    std::size_t at = 0;
    for (int part : split) {
      EXPECT_TRUE(h.messages.empty()) << split.size() << " parts, first " << split[0];
      p.Feed(Bytes(report.begin() + static_cast<std::ptrdiff_t>(at),
                   report.begin() + static_cast<std::ptrdiff_t>(at + static_cast<std::size_t>(part))));
      at += static_cast<std::size_t>(part);
    }
    EXPECT_EQ(h.modes, std::vector<int>{4}) << split.size() << " parts, first " << split[0];
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0], UiText(920) + UiText(924));
    EXPECT_EQ(l.Block()[0], 0x65);
    EXPECT_EQ(l.Block()[1], 0x92);
    EXPECT_EQ(l.Vars().linkState, link_state::kStopped);
    EXPECT_EQ(l.Vars().expectedReply, kLoaderReportDone);
    EXPECT_EQ(p.frames.size(), 1u);  // nothing asked again
  }
}

TEST_F(LinkTest, loaderReportTextFollowsByteSix) {
  for (int b6 : {0, 1, 2, 3, 4, 200}) {
    host.messages.clear();
    LinkTestAccess::State(link).expectedReply = link_code::kParameterRead;
    port.Feed(Summed({0x3A, 0x64, 0x91, 0, 0, 0, static_cast<std::uint8_t>(b6), 0}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], UiText(920) + (b6 <= 3 ? UiText(921 + b6) : std::string())) << b6;
  }
}

// A modal box runs a nested event loop: ticks and replies arrive while it is open.
TEST_F(LinkTest, boxesOpenedAtTheEndOfAReadSeeAConsistentEngine) {
  int nestedTicks = 0;
  host.onApplyConnectionMode = [&](int) {
    EXPECT_FALSE(link.Vars().readPending);
    EXPECT_EQ(link.Vars().linkState, link_state::kParameterPoll);
    for (int t = 0; t < 3; ++t, ++nestedTicks) link.TimerTxTimer();
    port.Feed(Reply({0x33, 0xC4}, 16));
  };
  Connect(Memory());
  EXPECT_EQ(nestedTicks, 3);
  EXPECT_EQ(host.modes, std::vector<int>{2});
  EXPECT_EQ(port.frames.back(), (Bytes{0x33, 0x33}));  // polls, no second read
  EXPECT_EQ(link.Vars().controllerStatus, 0xC4);

  host.onApplyConnectionMode = nullptr;
  host.onMessage = [&](const std::string&) {
    link.TimerTxTimer();
    port.Feed(Summed({0x3A, 0x64, 0x91, 0, 0, 0, 2, 0}));
  };
  LinkTestAccess::State(link).readPending = true;
  LinkTestAccess::State(link).requestIndex = 3;
  LinkTestAccess::State(link).linkState = link_state::kChoose;
  link.TimerTxTimer();
  port.Feed(Summed({0x3A, 0x64, 0x91, 0, 0, 0, 2, 0}));
  EXPECT_EQ(host.messages.size(), 1u);  // the report arriving again inside the box is not evaluated
  EXPECT_EQ(link.Vars().linkState, link_state::kStopped);
  EXPECT_EQ(host.modes, (std::vector<int>{2, 4}));
}

TEST_F(LinkTest, pendingWritesGoOutLowestIndexFirstOnePerTickWithoutPolls) {
  Connect(Memory());
  link.TimerTxTimer();
  const std::size_t before = port.frames.size();
  for (int i = 0; i < 10; ++i) LinkTestAccess::Block(link)[90 - 5 * i] ^= 0x0F;
  port.acknowledgeWrites = true;
  for (int t = 0; t < 10; ++t) link.TimerTxTimer();
  port.acknowledgeWrites = false;
  ASSERT_EQ(port.frames.size(), before + 10);
  for (int t = 0; t < 10; ++t) {
    const int index = 45 + 5 * t;
    EXPECT_EQ(port.frames[before + t], ParameterWriteFrame(index, link.Block()[index]));
  }
  EXPECT_EQ(link.SentBlock(), link.Block());
  EXPECT_EQ(host.beeps, 10);
  link.TimerTxTimer();
  EXPECT_EQ(port.frames.back(), (Bytes{0x33, 0x33}));

  port.Feed({0xAA, 0xAA});
  EXPECT_EQ(host.beeps, 10);  // the poll's reply is awaited, an acknowledgement is dropped
  LinkTestAccess::Block(link)[50] ^= 1;
  link.TimerTxTimer();
  port.Feed({0xAA, 0xAA});
  EXPECT_EQ(host.beeps, 11);
  EXPECT_EQ(link.Vars().unansweredCount, 0);
}

TEST_F(LinkTest, pendingWritesGoBeforeTheRequestedRead) {
  Connect(Memory());
  LinkTestAccess::Block(link)[33] = 1;
  LinkTestAccess::Block(link)[34] = 2;
  LinkTestAccess::State(link).requestIndex = 0;
  LinkTestAccess::State(link).readPending = true;
  port.acknowledgeWrites = true;
  link.TimerTxTimer();
  link.TimerTxTimer();
  EXPECT_EQ(port.frames[port.frames.size() - 2], ParameterWriteFrame(33, 1));
  EXPECT_EQ(port.frames.back(), ParameterWriteFrame(34, 2));
  link.TimerTxTimer();  // switches to the read
  EXPECT_EQ(link.Vars().linkState, link_state::kChoose);
  link.TimerTxTimer();
  EXPECT_EQ(port.frames.back(), IndexedFrame(0x55, 0));
}

TEST_F(LinkTest, modeSwitchGoesOutPrefixedExactlyOnce) {
  Connect(Memory());
  LinkTestAccess::State(link).modeSwitchRequest = true;
  link.TimerTxTimer();
  EXPECT_EQ(port.frames.back(), (Bytes{0x35, 0x33, 0x68}));
  EXPECT_EQ(link.Vars().expectedReply, 0x33);
  link.TimerTxTimer();
  EXPECT_EQ(port.frames.back(), (Bytes{0x33, 0x33}));

  LinkTestAccess::State(link).linkState = link_state::kConfigurationPoll;
  LinkTestAccess::State(link).modeSwitchRequest = true;
  link.TimerTxTimer();
  EXPECT_EQ(port.frames.back(), (Bytes{0x35, 0xAC, 0xE1}));
  EXPECT_EQ(host.wizardSteps, 1);
  link.TimerTxTimer();
  EXPECT_EQ(port.frames.back(), (Bytes{0xAC, 0xAC}));
}

TEST_F(LinkTest, indexedPollsCycleAndWrap) {
  struct Case {
    LinkState state;
    int first, last;
    std::uint8_t code;
  };
  for (const Case& c : {Case{link_state::kMap, 16, 37, 0xC5}, Case{link_state::kSramPoll, 0, 37, 0xC5},
                        Case{link_state::kEepromPoll, 0, 31, 0x5C}}) {
    LinkTestAccess::State(link) = LinkVariables{};
    LinkTestAccess::State(link).linkState = c.state;
    LinkTestAccess::State(link).requestIndex = c.first;
    port.frames.clear();
    const int count = c.last - c.first + 1;
    for (int t = 0; t < count + 2; ++t) link.TimerTxTimer();
    ASSERT_EQ(port.frames.size(), static_cast<std::size_t>(count + 2));
    for (int t = 0; t < count + 2; ++t) {
      const int index = c.first + t % count;
      EXPECT_EQ(port.frames[t], IndexedFrame(c.code, static_cast<std::uint8_t>(index)))
          << c.state << " " << t;
    }
  }
}

TEST_F(LinkTest, mapCommandIsSentOnceAndModeSwitchComesFirst) {
  LinkTestAccess::State(link).linkState = link_state::kMap;
  LinkTestAccess::State(link).requestIndex = 16;
  LinkTestAccess::State(link).buttonAction = 2;
  LinkTestAccess::State(link).modeSwitchRequest = true;
  link.TimerTxTimer();
  EXPECT_EQ(port.frames.back(), (Bytes{0x35, 0x33, 0x68}));
  link.TimerTxTimer();
  EXPECT_EQ(port.frames.back(), (Bytes{0xC3, 0xC3}));
  EXPECT_EQ(link.Vars().buttonAction, 0);
  link.TimerTxTimer();
  EXPECT_EQ(port.frames.back(), IndexedFrame(0xC5, 16));
}

TEST_F(LinkTest, sharedCodeC5IsRoutedByPage) {
  Bytes reply = Reply({0xC5, 0xC4, 20, 0xFF, 25}, 23);
  reply[19] = 30;
  reply[21] = 100;
  reply = Summed(reply);
  for (int page : {3, 5, 0, 1}) {
    LinkTestAccess::State(link).currentPage = static_cast<Page>(page);
    LinkTestAccess::State(link).expectedReply = 0xC5;
    LinkTestAccess::State(link).controllerStatus = 0;
    host.mapColumns.clear();
    host.memoryBlocks.clear();
    port.Feed(reply);
    EXPECT_EQ(link.Vars().controllerStatus, 0xC4);
    EXPECT_EQ(host.mapColumns.size(), page == 3 ? 1u : 0u);
    EXPECT_EQ(host.memoryBlocks.size(), page == 5 ? 1u : 0u);
  }
}

// The page in view takes the replies only it shows. A configuration reply that arrives after
// the wizard's page was left still shows its readings, but goes to the page now in view, not
// to the wizard.
TEST_F(LinkTest, pageRepliesGoToThePageInViewAndToNoOther) {
  struct PageRecorder : PageReplySink {
    void ShowConfiguration(const ConfigurationView&) override { ++configurations; }
    void WizardStep() override { ++steps; }
    void ShowMapColumn(const MapColumnView&) override { ++columns; }
    int configurations = 0, steps = 0, columns = 0;
  } wizard, map;
  link.SetPageSink(&wizard);
  LinkTestAccess::State(link).currentPage = Page::Configuration;
  LinkTestAccess::State(link).linkState = link_state::kConfigurationPoll;
  link.TimerTxTimer();
  port.Feed(Reply({0xAC, 0x10}, 15));
  EXPECT_EQ(wizard.steps, 1);
  EXPECT_EQ(wizard.configurations, 1);
  EXPECT_EQ(host.configurationReadings.size(), 1u);

  link.TimerTxTimer();  // the next poll, and the page changes before its reply
  EXPECT_EQ(wizard.steps, 2);
  link.EnterPage(Page::Map);
  link.SetPageSink(&map);
  port.Feed(Reply({0xAC, 0x20}, 15));
  EXPECT_EQ(link.Vars().controllerStatus, 0x20);
  EXPECT_EQ(host.configurationReadings.size(), 2u);
  EXPECT_EQ(wizard.configurations, 1);
  EXPECT_EQ(map.configurations, 1);  // the page in view takes it: the map page shows none

  LinkTestAccess::State(link).expectedReply = 0xC5;
  port.Feed(Reply({0xC5, 0x30, 20}, 23));
  EXPECT_EQ(map.columns, 1);
  link.SetPageSink(nullptr);
  port.Feed(Reply({0xC5, 0x40, 21}, 23));
  EXPECT_EQ(link.Vars().controllerStatus, 0x40);
  EXPECT_EQ(map.columns, 1);
  EXPECT_EQ(wizard.steps, 2);
  EXPECT_EQ(wizard.columns, 0);
  EXPECT_EQ(map.steps, 0);
  EXPECT_EQ(host.configurations.size() + host.mapColumns.size() + host.wizardSteps, 0u);
}

TEST_F(LinkTest, portReplyAfterLeavingTheViewOnlyResetsTheCount) {
  LinkTestAccess::State(link).currentPage = Page::Setup;
  LinkTestAccess::State(link).expectedReply = 0xCA;
  LinkTestAccess::State(link).unansweredCount = 7;
  port.Feed(Reply({0xCA, 1, 2, 3, 4, 5, 6, 7, 8, 0x0F, 0, 0, 0x99}, 14));
  EXPECT_EQ(link.Vars().unansweredCount, 0);
  EXPECT_TRUE(host.portViews.empty());
  EXPECT_EQ(link.Vars().controllerStatus, 255);
}

TEST_F(LinkTest, replyWithWrongFirstByteIsDropped) {
  LinkTestAccess::State(link).linkState = link_state::kParameterPoll;
  link.TimerTxTimer();
  port.Feed(Reply({0x34, 0xC0}, 16));
  EXPECT_EQ(link.Vars().unansweredCount, 1);
  EXPECT_EQ(link.Vars().controllerStatus, 255);
  EXPECT_EQ(port.Waiting(), 0u);
}

TEST_F(LinkTest, replySplitOverTwoEventsIsTakenWhenComplete) {
  LinkTestAccess::State(link).linkState = link_state::kParameterPoll;
  LinkTestAccess::State(link).currentPage = static_cast<Page>(1);
  link.TimerTxTimer();
  const Bytes reply = Reply({0x33, 0xD0, 0x24, 25, 10, 0, 0, 3, 0, 0, 77}, 16);
  port.Feed(Bytes(reply.begin(), reply.begin() + 9));
  EXPECT_EQ(link.Vars().unansweredCount, 1);
  port.Feed(Bytes(reply.begin() + 9, reply.end()));
  EXPECT_EQ(link.Vars().unansweredCount, 0);
  EXPECT_EQ(link.Vars().controllerStatus, 0xD0);
  EXPECT_EQ(link.Vars().controllerErrorCode, 3);
  ASSERT_EQ(host.records.size(), 1u);
  EXPECT_EQ(host.records[0][3], 25);
  EXPECT_EQ(host.records[0][10], 77);
  EXPECT_EQ(host.records[0][0], 0);
  EXPECT_EQ(host.records[0][15], 0);
}

TEST_F(LinkTest, liveSampleAdvancesTheScopeAndServiceModeReadsTheRegister) {
  LinkTestAccess::State(link).linkState = link_state::kParameterPoll;
  LinkTestAccess::State(link).currentPage = static_cast<Page>(1);
  history.SetScopeCursor(3598);
  link.TimerTxTimer();
  EXPECT_EQ(history.ScopeCursor(), 3599);
  EXPECT_EQ(host.historyWraps, 0);
  link.TimerTxTimer();
  EXPECT_EQ(history.ScopeCursor(), 0);
  EXPECT_EQ(host.historyWraps, 1);
  EXPECT_EQ(host.scopeCursor, 0);

  link.SetServiceMode(true);
  link.SetRegisterIndex(0x42);
  link.SetMagnifierOpen(true);
  port.Feed(Reply({0x33, 0xC8, 0, 25, 0, 0, 0, 0, 0, 0, 120}, 16));
  EXPECT_TRUE(host.records.empty());
  EXPECT_EQ(port.frames.back(), RegisterReadFrame(0x42));
  EXPECT_EQ(host.magnifier.first, "2500" + UiText(150));
  EXPECT_EQ(host.magnifier.second, "120" + UiText(151));
  port.Feed(Summed({0x5A, 0x42, 0xA5, 0}));
  ASSERT_EQ(host.records.size(), 1u);
  EXPECT_EQ(host.records[0][0], 0x42);
  EXPECT_EQ(host.records[0][15], 0xA5);
  EXPECT_EQ(history.Current()[15], 0xA5);

  // While the scope is stopped the scrolled record stays on screen.
  link.SetScopeAdvancing(false);
  link.SetServiceMode(false);
  link.TimerTxTimer();
  port.Feed(Reply({0x33, 0xC8}, 16));
  EXPECT_EQ(host.records.size(), 1u);
  EXPECT_EQ(history.ScopeCursor(), 0);
}

TEST_F(LinkTest, tickDoesNothingWhileReconnectingOrStopped) {
  LinkTestAccess::State(link).linkState = link_state::kParameterPoll;
  LinkTestAccess::State(link).reconnectPending = true;
  link.TimerTxTimer();
  LinkTestAccess::State(link).reconnectPending = false;
  LinkTestAccess::State(link).linkState = link_state::kStopped;
  link.TimerTxTimer();
  EXPECT_TRUE(port.frames.empty());
}

TEST_F(LinkTest, stateZeroDerivesThePollFromThePage) {
  const std::pair<int, int> cases[] = {{0, 1}, {1, 2}, {2, 3}, {3, 5}, {4, 6}, {5, 0}, {7, 0}};
  for (auto [page, state] : cases) {
    LinkTestAccess::State(link).linkState = link_state::kChoose;
    LinkTestAccess::State(link).readPending = false;
    LinkTestAccess::State(link).currentPage = static_cast<Page>(page);
    link.TimerTxTimer();
    EXPECT_EQ(LinkStateNumber(link.Vars().linkState), state) << page;
  }
  EXPECT_TRUE(port.frames.empty());
}

// Any bytes, in any state and on any page, are handled without harm.
TEST_F(LinkTest, randomBytesInEveryStateNeverBreakTheEngine) {
  std::mt19937 rng(1234);
  const LinkState states[] = {link_state::kChoose,        link_state::kSetupPoll,
                              link_state::kParameterPoll, link_state::kConfigurationPoll,
                              link_state::kTester,        link_state::kMap,
                              link_state::kPortPoll,      link_state::kSramPoll,
                              link_state::kEepromPoll,    link_state::kProgramming,
                              link_state::kStopped};
  const int codes[] = {0x55, 0x33, 0x5A, 0xAC, 0xC5, 0xCA, 0x5C, 0xAA, 0x3A, 0x07, 0xA3, 254, 255, 0};
  for (int round = 0; round < 3000; ++round) {
    LinkTestAccess::State(link).linkState = states[rng() % std::size(states)];
    LinkTestAccess::State(link).currentPage = static_cast<Page>(static_cast<int>(rng() % 8));
    LinkTestAccess::State(link).expectedReply = codes[rng() % std::size(codes)];
    LinkTestAccess::State(link).requestIndex = static_cast<int>(rng() % 300) - 20;
    link.SetServiceMode(rng() & 1);
    link.SetRegisterIndex(static_cast<int>(rng() % 256));
    Bytes noise(rng() % 40);
    for (auto& b : noise) b = static_cast<std::uint8_t>(rng());
    if (!noise.empty() && (rng() & 1)) noise[0] = static_cast<std::uint8_t>(link.Vars().expectedReply);
    port.Feed(noise);
    if (rng() % 3 == 0) link.TimerTxTimer();
  }
  for (const Bytes& f : port.frames) {
    const std::size_t checksumAt = f.size() - (f[0] == 0x5A ? 2 : 1);
    EXPECT_EQ(f[checksumAt], FrameChecksum(f.data(), checksumAt));
  }
}

}  // namespace
