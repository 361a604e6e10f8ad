#include <gtest/gtest.h>

#include <functional>

#include "link/ControllerLink.h"
#include "link/LinkFrames.h"
#include "support/FakeSerialPort.h"
#include "support/LinkTestAccess.h"
#include "support/ScriptedLinkHost.h"

namespace {

// Every field, so that an operation that writes more than its rule shows up.
void ExpectSameState(const LinkVariables& a, const LinkVariables& b) {
  EXPECT_EQ(a.linkState, b.linkState);
  EXPECT_EQ(a.expectedReply, b.expectedReply);
  EXPECT_EQ(a.unansweredCount, b.unansweredCount);
  EXPECT_EQ(a.requestIndex, b.requestIndex);
  EXPECT_EQ(a.readPending, b.readPending);
  EXPECT_EQ(a.reconnectPending, b.reconnectPending);
  EXPECT_EQ(a.modeSwitchRequest, b.modeSwitchRequest);
  EXPECT_EQ(a.validateAfterRead, b.validateAfterRead);
  EXPECT_EQ(a.controllerStatus, b.controllerStatus);
  EXPECT_EQ(a.controllerErrorCode, b.controllerErrorCode);
  EXPECT_EQ(a.buttonAction, b.buttonAction);
  EXPECT_EQ(a.currentPage, b.currentPage);
  EXPECT_EQ(a.failedReconnects, b.failedReconnects);
  EXPECT_EQ(a.controllerSeen, b.controllerSeen);
}

// A link in the middle of its work: every field away from its start value.
LinkVariables Busy() {
  LinkVariables v;
  v.linkState = link_state::kParameterPoll;
  v.expectedReply = 0xC5;
  v.unansweredCount = 7;
  v.requestIndex = 42;
  v.readPending = false;
  v.reconnectPending = false;
  v.modeSwitchRequest = false;
  v.validateAfterRead = true;
  v.controllerStatus = 0xD8;
  v.controllerErrorCode = 136;
  v.buttonAction = 2;
  v.currentPage = Page::Parameters;
  v.failedReconnects = 3;
  v.controllerSeen = true;
  return v;
}

TEST(LinkOperations, eachOperationWritesExactlyWhatItsRuleWrites) {
  struct Case {
    const char* name;
    std::function<void(ControllerLink&)> operation;
    std::function<void(LinkVariables&)> rule;  // the writes the window and pages made by hand
  };
  const Case cases[] = {
      {"RequestFullRead", [](ControllerLink& l) { l.RequestFullRead(); },
       [](LinkVariables& v) {
         v.requestIndex = 0;
         v.readPending = true;
       }},
      {"RequestReconnect", [](ControllerLink& l) { l.RequestReconnect(); },
       [](LinkVariables& v) {
         v.reconnectPending = true;
         v.failedReconnects = 0;
       }},
      {"CancelReconnect", [](ControllerLink& l) { l.CancelReconnect(); },
       [](LinkVariables& v) { v.reconnectPending = false; }},
      {"RequestModeSwitch", [](ControllerLink& l) { l.RequestModeSwitch(); },
       [](LinkVariables& v) { v.modeSwitchRequest = true; }},
      {"ForgetControllerStatus", [](ControllerLink& l) { l.ForgetControllerStatus(); },
       [](LinkVariables& v) { v.controllerStatus = 255; }},
      {"ForgetController", [](ControllerLink& l) { l.ForgetController(); },
       [](LinkVariables& v) {
         v.controllerStatus = 255;
         v.controllerErrorCode = 0;
         v.unansweredCount = 0;
       }},
      {"EnterPage without a controller", [](ControllerLink& l) { l.EnterPage(Page::Setup); },
       [](LinkVariables& v) { v.currentPage = Page::Setup; }},
      {"EnterPage set-up",
       [](ControllerLink& l) {
         l.SetConnectionMode(ConnectionMode::Controller);
         l.EnterPage(Page::Setup);
       },
       [](LinkVariables& v) {
         v.currentPage = Page::Setup;
         v.linkState = link_state::kSetupPoll;
         v.requestIndex = 0;
       }},
      {"EnterPage SRAM", [](ControllerLink& l) { l.EnterPage(Page::Sram); },
       [](LinkVariables& v) {
         v.currentPage = Page::Sram;
         v.linkState = link_state::kSramPoll;
       }},
      {"EnterPage map", [](ControllerLink& l) { l.EnterPage(Page::Map); },
       [](LinkVariables& v) {
         v.currentPage = Page::Map;
         v.linkState = link_state::kMap;
         v.requestIndex = kMapFirstColumn;
         v.buttonAction = 0;
       }},
      {"EnterPage firmware", [](ControllerLink& l) { l.EnterPage(Page::Firmware); },
       [](LinkVariables& v) {
         v.currentPage = Page::Firmware;
         v.linkState = link_state::kStopped;
         v.buttonAction = 0;
         v.controllerStatus = 255;
       }},
      {"ReopenPort", [](ControllerLink& l) { l.ReopenPort(); },
       [](LinkVariables& v) { v.reconnectPending = true; }},
      {"CountFailedReconnect", [](ControllerLink& l) { l.CountFailedReconnect(); },
       [](LinkVariables& v) { ++v.failedReconnects; }},
      {"GiveUp", [](ControllerLink& l) { l.GiveUp(); },
       [](LinkVariables& v) {
         v.readPending = false;
         v.reconnectPending = false;
         v.failedReconnects = 0;
       }},
      {"LinkLost", [](ControllerLink& l) { l.LinkLost(); }, [](LinkVariables& v) { v.unansweredCount = 0; }},
      {"PressPageButton", [](ControllerLink& l) { l.PressPageButton(1); },
       [](LinkVariables& v) { v.buttonAction = 1; }},
      {"BeginProgramming", [](ControllerLink& l) { l.BeginProgramming(); },
       [](LinkVariables& v) {
         v.linkState = link_state::kProgramming;
         v.unansweredCount = 0;
       }},
      {"EndProgramming", [](ControllerLink& l) { l.EndProgramming(); },
       [](LinkVariables& v) { v.linkState = link_state::kStopped; }},
      {"LoaderAnswered", [](ControllerLink& l) { l.LoaderAnswered(); },
       [](LinkVariables& v) { v.unansweredCount = 0; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSerialPort port;
    ScriptedLinkHost host;
    ReadingHistory history;
    ControllerLink link(port, host, host, history);
    LinkTestAccess::State(link) = Busy();
    LinkVariables expected = Busy();
    c.rule(expected);
    c.operation(link);
    ExpectSameState(link.Vars(), expected);
    EXPECT_TRUE(port.frames.empty());  // an operation sends nothing; the next tick does
  }
}

// Entering a page polls what the page shows, at its interval; the set-up page only while a
// controller answers.
TEST(LinkOperations, enteringAPageChoosesItsPollAndInterval) {
  struct Case {
    Page page;
    ConnectionMode mode;
    LinkState state;
    int interval;  // 0: left as it was
  } cases[] = {
      {Page::Setup, ConnectionMode::Controller, link_state::kSetupPoll, kPollIntervalMs},
      {Page::Setup, ConnectionMode::Tester, link_state::kTester, 0},
      {Page::Setup, ConnectionMode::File, link_state::kTester, 0},
      {Page::Parameters, ConnectionMode::Controller, link_state::kParameterPoll, kPollIntervalMs},
      {Page::Configuration, ConnectionMode::Controller, link_state::kConfigurationPoll, kPollIntervalMs},
      {Page::Map, ConnectionMode::Controller, link_state::kMap, kPollIntervalMs},
      {Page::Port, ConnectionMode::Controller, link_state::kPortPoll, kPollIntervalMs},
      {Page::Sram, ConnectionMode::Controller, link_state::kSramPoll, kPollIntervalMs},
      {Page::Eeprom, ConnectionMode::Controller, link_state::kEepromPoll, kPollIntervalMs},
      {Page::Firmware, ConnectionMode::Loader, link_state::kStopped, kLinkStartIntervalMs},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(PageNumber(c.page));
    FakeSerialPort port;
    ScriptedLinkHost host;
    ReadingHistory history;
    ControllerLink link(port, host, host, history);
    LinkTestAccess::State(link).linkState = link_state::kTester;
    link.SetConnectionMode(c.mode);
    link.EnterPage(c.page);
    EXPECT_EQ(LinkStateNumber(link.Vars().linkState), LinkStateNumber(c.state));
    EXPECT_EQ(host.interval, c.interval);
    EXPECT_EQ(link.Vars().currentPage, c.page);
  }
}

// Clearing a counter of the controller writes 0 even when the block already holds 0.
TEST(LinkOperations, forcedWriteGoesOutWhateverWasLastSent) {
  FakeSerialPort port;
  ScriptedLinkHost host;
  ReadingHistory history;
  ControllerLink link(port, host, host, history);
  port.Open();
  LinkTestAccess::State(link).linkState = link_state::kParameterPoll;
  LinkTestAccess::Block(link)[78] = LinkTestAccess::Sent(link)[78] = 0;
  link.ForceWrite(78, 0);
  EXPECT_EQ(link.Block()[78], 0);
  EXPECT_TRUE(link.WritesOutstanding());
  link.TimerTxTimer();
  ASSERT_FALSE(port.frames.empty());
  EXPECT_EQ(port.frames.back(), ParameterWriteFrame(78, 0));
}

// An edited byte changes that byte alone and goes out; an index outside the block changes
// nothing; a loaded block stands in for the whole.
TEST(LinkOperations, anEditedByteChangesOnlyItselfAndALoadedBlockReplacesTheWhole) {
  FakeSerialPort port;
  ScriptedLinkHost host;
  ReadingHistory history;
  ControllerLink link(port, host, host, history);
  port.Open();
  LinkTestAccess::State(link).linkState = link_state::kParameterPoll;
  const ParameterBlock before = link.Block();
  for (int outside : {-1, 256, 1000}) link.SetParameter(outside, 7);
  EXPECT_EQ(link.Block(), before);
  EXPECT_FALSE(link.WritesOutstanding());
  link.SetParameter(40, 7);
  ParameterBlock expected = before;
  expected[40] = 7;
  EXPECT_EQ(link.Block(), expected);
  link.TimerTxTimer();
  ASSERT_FALSE(port.frames.empty());
  EXPECT_EQ(port.frames.back(), ParameterWriteFrame(40, 7));
  link.LoadBlock(before);
  EXPECT_EQ(link.Block(), before);
}

}  // namespace
