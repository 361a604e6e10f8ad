// The supervision with a serial device that has gone away, driven tick by tick.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/UiText.h"
#include "link/ControllerLink.h"
#include "link/Supervision.h"
#include "support/FakeSerialPort.h"
#include "support/LinkTestAccess.h"
#include "support/ScriptedLinkHost.h"

namespace {

class LosablePort : public FakeSerialPort {
 public:
  bool DeviceLost() const override { return Active() && lost; }
  bool lost = false;
};

struct LostRig {
  LosablePort port;
  ScriptedLinkHost host;
  ReadingHistory history;
  ControllerLink link{port, host, host, history};
  ConnectionSupervisor supervisor{link, port, host, host};

  int Logged(const std::string& line) const {
    return static_cast<int>(std::count(host.log.begin(), host.log.end(), line));
  }
  // Ticks as an unanswered link sees them: unanswered requests pile up to the loss.
  void LoseTheLink() {
    LinkTestAccess::State(link).unansweredCount = ConnectionSupervisor::kLossThreshold;
    supervisor.TimerInfoTimer();
  }
};

TEST(LostDevice, lossOnALostDeviceReopensItEachTickUntilItIsBack) {
  LostRig rig;
  rig.supervisor.RequestReconnect();
  rig.supervisor.TimerInfoTimer();
  ASSERT_TRUE(rig.port.Active());
  ASSERT_EQ(rig.port.opens, 1);

  rig.port.lost = true;
  rig.LoseTheLink();
  EXPECT_EQ(rig.Logged(UiText(724)), 1);
  EXPECT_FALSE(rig.port.Active());  // closed at once, so the next tick can open it again
  EXPECT_TRUE(rig.link.Vars().reconnectPending);
  EXPECT_EQ(rig.link.Vars().failedReconnects, 0);  // not one of the losses that give up

  rig.port.failOpen = true;  // the device is not there
  for (int tick = 0; tick < 10; ++tick) rig.supervisor.TimerInfoTimer();
  EXPECT_EQ(rig.Logged(UiText(721) + "1 -" + UiText(722)), 10);
  EXPECT_TRUE(rig.link.Vars().reconnectPending);
  EXPECT_TRUE(rig.host.txEnabled);  // never given up

  rig.port.failOpen = false;  // back
  rig.port.lost = false;
  rig.supervisor.TimerInfoTimer();
  EXPECT_TRUE(rig.port.Active());
  EXPECT_FALSE(rig.link.Vars().reconnectPending);
  EXPECT_EQ(rig.Logged(UiText(721) + "1 -" + UiText(723)), 2);
}

TEST(LostDevice, lossOnAPresentDeviceStillCountsTowardsGivingUp) {
  LostRig rig;
  rig.supervisor.RequestReconnect();
  rig.supervisor.TimerInfoTimer();
  for (int loss = 1; loss <= ConnectionSupervisor::kMaxFailedReconnects + 1; ++loss) rig.LoseTheLink();
  EXPECT_TRUE(rig.port.Active());  // a silent controller: the port stays open
  EXPECT_FALSE(rig.host.txEnabled);
  EXPECT_FALSE(rig.link.Vars().reconnectPending);
}

}  // namespace
