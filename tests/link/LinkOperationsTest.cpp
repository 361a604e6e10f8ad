#include <gtest/gtest.h>

#include <functional>

#include "link/ControllerLink.h"
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
      {"EnterPage", [](ControllerLink& l) { l.EnterPage(Page::Map); },
       [](LinkVariables& v) { v.currentPage = Page::Map; }},
      {"PollSetup", [](ControllerLink& l) { l.PollSetup(); },
       [](LinkVariables& v) {
         v.linkState = link_state::kSetupPoll;
         v.requestIndex = 0;
       }},
      {"PollWith", [](ControllerLink& l) { l.PollWith(link_state::kSramPoll); },
       [](LinkVariables& v) { v.linkState = link_state::kSramPoll; }},
      {"PollMap", [](ControllerLink& l) { l.PollMap(); },
       [](LinkVariables& v) {
         v.linkState = link_state::kMap;
         v.requestIndex = kMapFirstColumn;
         v.buttonAction = 0;
       }},
      {"StopForFirmware", [](ControllerLink& l) { l.StopForFirmware(); },
       [](LinkVariables& v) {
         v.linkState = link_state::kStopped;
         v.buttonAction = 0;
         v.controllerStatus = 255;
       }},
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
    ControllerLink link(port, host, history);
    LinkTestAccess::State(link) = Busy();
    LinkVariables expected = Busy();
    c.rule(expected);
    c.operation(link);
    ExpectSameState(link.Vars(), expected);
    EXPECT_TRUE(port.frames.empty());  // an operation sends nothing; the next tick does
  }
}

}  // namespace
