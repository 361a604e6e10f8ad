#include <gtest/gtest.h>

#include <set>

#include "base/UiText.h"
#include "inspector/ProcessorInspector.h"
#include "link/ControllerLink.h"
#include "monitor/ReadingRows.h"
#include "params/ParameterTable.h"

namespace {

TEST(RegisterNamesTest, namesAtTheEndsAndTheExceptions) {
  const std::pair<int, const char*> cases[] = {
      {0x00, "Rejestr R0"},
      {0x03, "Kontrola @ Liczn czest RPM"},
      {0x09, "PSI  uniw @ LAM@ uniw"},
      {0x1F, "Rejestr ZH"},
      {0x20, "*$20"},
      {0x47, "*ICRIH"},
      {0x5C, "*$5C"},
      {0x5F, "*SREG"},
      {0x60, "A.0 LAM V"},
      {0x67, "A.7 Akumul V"},
      {0x96, "Pr\xC3\xB3gTPS"},
      {0x97, "Pr\xC3\xB3gLAM"},
      {0x99, "WypelPWM"},
      {0x9A, "PredkOpcLAM"},
      {0x9B, "$9B"},
      {0x9F, "$9F"},
      {0xA0, "$A0@Mapa"},
      {0xA1, "$A1"},
      {0xB0, "$B0 Mapa@Txd"},
      {0xC0, "$C0 Txd"},
      {0xD0, "$D0 @Rxd"},
      {0xD8, "$D8 Rxd"},
      {0xFE, "$FE"},
      {0xFF, "$FF - EndStos"},
  };
  for (const auto& [address, name] : cases) EXPECT_EQ(RegisterName(address), name) << address;
  EXPECT_EQ(RegisterName(0x9A), RegisterName(0x94));
  EXPECT_EQ(RegisterName(-1), "");
  EXPECT_EQ(RegisterName(256), "");
}

TEST(RegisterNamesTest, everyAddressHasANameAndOnlyTheRepeatedOneIsTwice) {
  std::set<std::string> names;
  for (int a = 0; a < kRegisterCount; ++a) {
    const std::string name = RegisterName(a);
    ASSERT_FALSE(name.empty()) << a;
    names.insert(name);
    // The I/O registers carry a star, the addresses from 0x9B their number.
    if (a >= 0x20 && a < 0x60) {
      EXPECT_EQ(name[0], '*') << a;
    }
    if (a >= 0x9B) {
      const std::string hex = {'$', "0123456789ABCDEF"[a >> 4], "0123456789ABCDEF"[a & 15]};
      EXPECT_EQ(name.substr(0, 3), hex) << a;
    }
  }
  EXPECT_EQ(names.size(), 255u);
}

TEST(RegisterNamesTest, registerValueShowsItsBitsAndItsNumber) {
  const std::pair<int, const char*> cases[] = {
      {0, "0000:0000   0"},  {165, "1010:0101  165"},  {255, "1111:1111  255"}, {1, "0000:0001   1"},
      {10, "0000:1010  10"}, {0x80, "1000:0000  128"}, {0x0F, "0000:1111  15"}, {0x10, "0001:0000  16"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(RamText(static_cast<std::uint8_t>(value)), text);
}

TEST(ResetCauseTest, lowFourBitsNameTheCause) {
  const std::pair<int, const char*> cases[] = {
      {0, "Watchdog Reset"},     {8, "Watchdog Reset"},    {2, "External Reset"},    {4, "Brown-out Reset"},
      {1, "Power On Reset"},     {3, "Power On Reset"},    {15, "Power On Reset"},   {0x12, "External Reset"},
      {0xF4, "Brown-out Reset"}, {0x80, "Watchdog Reset"}, {0x0C, "Power On Reset"},
  };
  for (const auto& [value, text] : cases)
    EXPECT_EQ(ResetCauseText(static_cast<std::uint8_t>(value)), text) << value;
}

TEST(InspectorPagesTest, buttonActionChoosesTheViewAndItsPoll) {
  const struct {
    int action, page;
    LinkState state;
  } cases[] = {{0, 4, link_state::kPortPoll}, {1, 4, link_state::kPortPoll},
               {2, 5, link_state::kSramPoll}, {3, 6, link_state::kEepromPoll},
               {7, 4, link_state::kPortPoll}, {-1, 4, link_state::kPortPoll}};
  for (const auto& c : cases) {
    EXPECT_EQ(PageNumber(InspectorPageFor(c.action)), c.page) << c.action;
    EXPECT_EQ(InspectorLinkState(InspectorPageFor(c.action)), c.state) << c.action;
  }
  for (int page = 0; page < 8; ++page)
    EXPECT_EQ(IsInspectorPage(static_cast<Page>(page)), page >= 4 && page <= 6);
}

TEST(PortLabelsTest, labelsFollowTheControllerType) {
  for (std::uint8_t type : {0x64, 0x32}) {
    for (int row = 1; row <= 24; ++row) EXPECT_EQ(PortPinLabel(type, row), UiText(361 + row)) << row;
    EXPECT_EQ(PortPinLabel(type, 1), "Б.0 Мотор ЕН");
    EXPECT_EQ(PortPinLabel(type, 17), "Д.0 \x0Cs28 RXD");
    EXPECT_EQ(PortPinLabel(type, 18), "Д.1 \x0Cs28 TXD");
    EXPECT_EQ(PortPinLabel(type, 24), "Д.7 PU газа");
  }
  for (std::uint8_t type : {0x65, 0x33}) {
    const std::pair<int, const char*> cases[] = {{1, "B.0 MotorEN"},
                                                 {7,
                                                  "B.6 Prze\xC5\x82\xC4\x85"
                                                  "cznik"},
                                                 {10, "C.1"},
                                                 {13, "C.4"},
                                                 {16, "C.7 RezLam47k"},
                                                 {19, "D.2 ImpWtrys."},
                                                 {21, "D.4 Symmulacja"},
                                                 {24, "D.7 PUgazu"}};
    for (const auto& [row, label] : cases) EXPECT_EQ(PortPinLabel(type, row), label) << row;
  }
  for (std::uint8_t type : {0xCB, 0x00, 0xFF, 0x66})
    for (int row = 1; row <= 24; ++row) EXPECT_EQ(PortPinLabel(type, row), "");
  EXPECT_EQ(PortPinLabel(0x64, 0), "");
  EXPECT_EQ(PortPinLabel(0x64, 25), "");
}

// The cell at (column, row) of a built grid; "?" when the grid does not write it.
std::string CellOf(const InspectorGrid& grid, int column, int row) {
  for (const GridCell& c : grid.cells)
    if (c.column == column && c.row == row) return c.text;
  return "?";
}

TEST(MemoryViewsTest, builtGridsHaveTheirSizeLabelsAndHeaders) {
  struct Case {
    int page, columns, rows;
    const char* lastHeader;
  };
  for (const Case& c : {Case{5, 39, 17, "25_"}, Case{6, 33, 17, "1F_"}}) {
    const InspectorGrid g = BuildInspectorGrid(static_cast<Page>(c.page), 0x64);
    EXPECT_EQ(g.columns, c.columns);
    EXPECT_EQ(g.rows, c.rows);
    EXPECT_EQ(CellOf(g, 0, 0), "");
    EXPECT_EQ(CellOf(g, 1, 0), "00_");
    EXPECT_EQ(CellOf(g, c.columns - 1, 0), c.lastHeader);
    EXPECT_EQ(CellOf(g, 0, 1), "0");
    EXPECT_EQ(CellOf(g, 11, 0), "0A_");
    EXPECT_EQ(CellOf(g, 0, 11), "A");
    EXPECT_EQ(CellOf(g, 0, 16), "F");
    EXPECT_EQ(CellOf(g, 1, 1), "?");  // value cells are left blank for the replies
    EXPECT_EQ(g.cells.size(), static_cast<std::size_t>(c.columns + 16));
  }
  const InspectorGrid port = BuildInspectorGrid(Page::Port, 0x65);
  EXPECT_EQ(port.columns, 2);
  EXPECT_EQ(port.rows, 25);
  EXPECT_EQ(CellOf(port, 0, 0), UiText(360));
  EXPECT_EQ(CellOf(port, 1, 0), UiText(361));
  EXPECT_EQ(CellOf(port, 0, 1), "B.0 MotorEN");
  EXPECT_EQ(CellOf(port, 0, 24), "D.7 PUgazu");
  EXPECT_EQ(CellOf(BuildInspectorGrid(Page::Port, 0xCB), 0, 5), "");
  for (int page : {0, 1, 3, 7})
    EXPECT_EQ(BuildInspectorGrid(static_cast<Page>(page), 0x64).columns, 0) << page;
}

MemoryBlockView Block(int page) {
  std::uint8_t reply[23] = {0xC5, 0x44, static_cast<std::uint8_t>(page)};
  for (int i = 0; i < 16; ++i) reply[3 + i] = static_cast<std::uint8_t>(page * 16 + i);
  return DecodeMemoryBlock(reply, kSramBlocks);
}

TEST(MemoryViewsTest, pageReplyFillsItsColumnOnlyOnAMemoryView) {
  const std::vector<GridCell> cells = MemoryBlockCells(Block(5), Page::Sram);
  ASSERT_EQ(cells.size(), 16u);
  for (int row = 1; row <= 16; ++row) {
    EXPECT_EQ(cells[row - 1].column, 6);
    EXPECT_EQ(cells[row - 1].row, row);
    EXPECT_EQ(cells[row - 1].text, std::to_string(80 + row - 1));
  }
  EXPECT_EQ(MemoryBlockCells(Block(37), Page::Sram).size(), 16u);
  EXPECT_EQ(MemoryBlockCells(Block(31), Page::Eeprom).size(), 16u);
  EXPECT_TRUE(MemoryBlockCells(Block(32), Page::Eeprom).empty());  // no such EEPROM page
  for (int page : {0, 1, 3, 4, 7})
    EXPECT_TRUE(MemoryBlockCells(Block(5), static_cast<Page>(page)).empty()) << page;
}

}  // namespace
