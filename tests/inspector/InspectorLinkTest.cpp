#include <gtest/gtest.h>

#include "inspector/ProcessorInspector.h"
#include "link/ControllerLink.h"
#include "link/LinkFrames.h"
#include "monitor/ReadingRows.h"
#include "support/FakeSerialPort.h"
#include "support/LinkReplies.h"
#include "support/LinkTestAccess.h"
#include "support/ScriptedLinkHost.h"

namespace {

// The link as the processor views drive it: a view is entered by setting the page and the
// poll state, as the page button does.
class InspectorLinkTest : public ::testing::Test {
 protected:
  InspectorLinkTest() : link(port, host, host, history) {
    link.SetPageSink(&host);  // the stand-in records the replies of every page
    port.Open();
    port.OnRxChar = [this](int n) { link.VaComm1RxChar(n); };
  }

  void Enter(Page page) {
    LinkTestAccess::State(link).currentPage = static_cast<Page>(page);
    LinkTestAccess::State(link).linkState = InspectorLinkState(page);
  }

  // The index bytes of the frames sent by `ticks` transmit ticks.
  std::vector<int> RequestedPages(int ticks, std::uint8_t code) {
    port.frames.clear();
    std::vector<int> pages;
    for (int t = 0; t < ticks; ++t) {
      link.TimerTxTimer();
      EXPECT_EQ(port.frames.back()[0], code);
      pages.push_back(port.frames.back()[1]);
    }
    return pages;
  }

  FakeSerialPort port;
  ScriptedLinkHost host;
  ReadingHistory history;
  ControllerLink link;
};

TEST_F(InspectorLinkTest, indexFromTheMapIsAskedOnceThenTheViewGoesOnAndWraps) {
  LinkTestAccess::State(link).requestIndex = 34;  // the map view stopped here
  Enter(Page::Sram);
  EXPECT_EQ(RequestedPages(6, 0xC5), (std::vector<int>{34, 35, 36, 37, 0, 1}));

  LinkTestAccess::State(link).requestIndex = 35;  // beyond the EEPROM's last page
  Enter(Page::Eeprom);
  EXPECT_EQ(RequestedPages(3, 0x5C), (std::vector<int>{35, 0, 1}));

  LinkTestAccess::State(link).requestIndex = 31;
  EXPECT_EQ(RequestedPages(2, 0x5C), (std::vector<int>{31, 0}));
}

TEST_F(InspectorLinkTest, memoryRepliesReachOnlyTheirOwnView) {
  struct Case {
    Page page;
    Bytes reply;
    bool shown;
  };
  const Bytes sram = Reply({0xC5, 0x41, 6, 1, 2, 3}, 23);
  const Bytes eeprom = Reply({0x5C, 0x42, 6, 9, 8, 7}, 20);
  const Case cases[] = {{Page::Sram, sram, true},         {Page::Eeprom, sram, false},
                        {Page::Port, sram, false},        {Page::Eeprom, eeprom, true},
                        {Page::Sram, eeprom, false},      {Page::Port, eeprom, false},
                        {Page::Parameters, eeprom, false}};
  for (const Case& c : cases) {
    LinkTestAccess::State(link).currentPage = c.page;
    LinkTestAccess::State(link).expectedReply = c.reply[0];
    LinkTestAccess::State(link).controllerStatus = 0;
    host.memoryBlocks.clear();
    port.Feed(c.reply);
    EXPECT_EQ(link.Vars().controllerStatus, c.reply[1]) << PageNumber(c.page);
    ASSERT_EQ(host.memoryBlocks.size(), c.shown ? 1u : 0u) << PageNumber(c.page) << " " << int(c.reply[0]);
    if (!c.shown) continue;
    EXPECT_EQ(host.memoryBlocks[0].column, 7);
    const auto cells = MemoryBlockCells(host.memoryBlocks[0], c.page);
    ASSERT_EQ(cells.size(), 16u);
    EXPECT_EQ(cells[0].text, std::to_string(c.reply[3]));
    EXPECT_EQ(cells[15].text, "0");
  }
}

TEST_F(InspectorLinkTest, portViewPollsAndItsPinsComeBackOnThePortView) {
  Enter(Page::Port);
  link.TimerTxTimer();
  EXPECT_EQ(port.frames.back(), (Bytes{0xCA, 0xCA}));
  port.Feed(Reply({0xCA, 10, 20, 30, 40, 50, 60, 70, 80, 0x01, 0x80, 0x00, 0x24}, 14));
  ASSERT_EQ(host.portViews.size(), 1u);
  EXPECT_EQ(link.Vars().controllerStatus, 0x24);
  const auto cells = PortPinCells(host.portViews[0], Page::Port);
  const std::string expected =
      "10000000"
      "00000001"
      "00000000";  // bit 0 of port B first
  ASSERT_EQ(cells.size(), 24u);
  for (int row = 1; row <= 24; ++row) {
    EXPECT_EQ(cells[row - 1].column, 1);
    EXPECT_EQ(cells[row - 1].text, std::string(1, expected[row - 1])) << row;
  }
  for (Page page : {Page::Parameters, Page::Sram, Page::Eeprom})
    EXPECT_TRUE(PortPinCells(host.portViews[0], page).empty());
}

TEST_F(InspectorLinkTest, registerIsReadAfterEachLiveReplyInTheServiceMode) {
  LinkTestAccess::State(link).currentPage = static_cast<Page>(1);
  LinkTestAccess::State(link).linkState = link_state::kParameterPoll;
  link.SetServiceMode(true);
  link.SetRegisterIndex(0x54);
  for (int round = 0; round < 2; ++round) {
    link.TimerTxTimer();
    EXPECT_EQ(port.frames.back(), (Bytes{0x33, 0x33}));
    port.Feed(Reply({0x33, 0x10, 0, 25}, 16));
    ASSERT_EQ(port.frames.back().size(), 4u);
    EXPECT_EQ(Bytes(port.frames.back().begin(), port.frames.back().begin() + 3), (Bytes{0x5A, 0x54, 0xAE}));
    EXPECT_TRUE(host.records.size() == static_cast<std::size_t>(round));  // shown after the register
    port.Feed({0x5A, 0x54, 0xA5, 0x53});
    ASSERT_EQ(host.records.size(), static_cast<std::size_t>(round + 1));
    EXPECT_EQ(host.records.back()[0], 0x54);
    EXPECT_EQ(host.records.back()[15], 0xA5);
    EXPECT_EQ(RamText(host.records.back()[15]), "1010:0101  165");
  }
  link.SetServiceMode(false);
  link.TimerTxTimer();
  port.Feed(Reply({0x33, 0x10, 0, 25}, 16));
  EXPECT_EQ(port.frames.back(), (Bytes{0x33, 0x33}));  // no register read outside the service mode
  EXPECT_EQ(host.records.size(), 3u);
}

}  // namespace
