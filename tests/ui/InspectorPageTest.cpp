#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include "SimController.h"
#include "app/KeyTable.h"
#include "app/SettingsStore.h"
#include "app/VirtualKeysQt.h"
#include "base/UiText.h"
#include "inspector/ProcessorInspector.h"
#include "monitor/LiveMonitorQt.h"
#include "support/FakeSerialPort.h"
#include "support/LinkTestAccess.h"
#include "support/SimulatorProcess.h"
#include "ui/UiTestSupport.h"

namespace {

// X key codes of the physical keys O, R, V, S, and what they type under a Russian layout.
struct PhysicalKey {
  int latin;
  char16_t russian;
  std::uint32_t keyCode;
};
constexpr PhysicalKey kServiceKeys[] = {{'O', u'Щ', 32}, {'R', u'К', 27}, {'V', u'М', 55}, {'S', u'Ы', 39}};

TEST(VirtualKeysTest, lettersFollowThePhysicalKeyUnderACyrillicLayout) {
  struct Case {
    int qtKey;
    std::uint32_t scanCode;
    int expected;
  };
  const Case cases[] = {
      {Qt::Key_Q, 24, 'Q'},
      {Qt::Key_Z, 0, 'Z'},
      {Qt::Key_5, 14, '5'},
      {0x419 /*Й*/, 24, 'Q'},
      {0x42F /*Я*/, 52, 'Z'},
      {0x424 /*Ф*/, 38, 'A'},
      {0x42C /*Ь*/, 58, 'M'},
      {0x410 /*А*/, 41, 'F'},
      {0x456 /*і*/, 39, 'S'},  // Ukrainian
      {0x419, 0, 'Q'},
      {0x429 /*Щ*/, 0, 'O'},
      {0x449 /*щ*/, 0, 'O'},
      {0x42B /*Ы*/, 0, 'S'},
      {0x41C /*М*/, 0, 'V'},
      {0x41A /*К*/, 0, 'R'},
      {0x425 /*Х on [*/, 34, 0},
      {0x425, 0, 0},
      {0x401 /*Ё*/, 49, 0},
      {Qt::Key_F5, 71, VK_F5},
      {Qt::Key_Control, 37, VK_CONTROL},
      {Qt::Key_Return, 36, VK_RETURN},
      {Qt::Key_Left, 113, VK_LEFT},
      {Qt::Key_unknown, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(VirtualKeyFromQt(c.qtKey, c.scanCode), c.expected) << std::hex << c.qtKey;
  for (const PhysicalKey& k : kServiceKeys) {
    EXPECT_EQ(VirtualKeyFromQt(k.russian, k.keyCode), k.latin);
    EXPECT_EQ(VirtualKeyFromQt(k.russian, 0), k.latin);
  }
}

// A key press as the window receives it from the toolkit.
void PressKey(TForm1& form, int qtKey, std::uint32_t scanCode, const QString& text) {
  QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &form;
  QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, scanCode, 0, 0, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, scanCode, 0, 0, text);
  QApplication::sendEvent(target, &release);
}

void TypeServiceSequenceOnRussianLayout(TForm1& form, bool withScanCodes) {
  for (const PhysicalKey& k : kServiceKeys)
    PressKey(form, k.russian, withScanCodes ? k.keyCode : 0, QString(QChar(k.russian)));
}

class InspectorPageTest : public ::testing::Test {
 protected:
  std::string SettingsPath() const { return folder.Path() + "/ORV/LPG2.reg"; }

  TForm1& StartWithoutController() { return window.StartWithoutController(SettingsPath()); }

  TempFolder folder;
  WindowUnderTest window;
};

TEST_F(InspectorPageTest, serviceSequenceTypedOnARussianLayoutTogglesTheServiceMode) {
  TForm1& f = StartWithoutController();
  for (bool withScanCodes : {true, false}) {
    ASSERT_FALSE(f.ServiceModeOn());
    TypeServiceSequenceOnRussianLayout(f, withScanCodes);
    EXPECT_TRUE(f.ServiceModeOn()) << withScanCodes;
    EXPECT_TRUE(f.TabVisible(Page::Port));
    TypeServiceSequenceOnRussianLayout(f, withScanCodes);
    EXPECT_FALSE(f.ServiceModeOn()) << withScanCodes;
    EXPECT_FALSE(f.TabVisible(Page::Port));
  }
  // Latin keys as before.
  for (const PhysicalKey& k : kServiceKeys) PressKey(f, k.latin, k.keyCode, QString(QChar(k.latin)));
  EXPECT_TRUE(f.ServiceModeOn());
}

TEST_F(InspectorPageTest, registerListHoldsTheNamesAndKeepsNoSelectionFromStartToExit) {
  {
    TForm1& f = StartWithoutController();
    ASSERT_EQ(f.Live().Widgets().CBReg->count(), 256);
    EXPECT_EQ(f.Live().Widgets().CBReg->itemText(0).toStdString(), "Rejestr R0");
    EXPECT_EQ(f.Live().Widgets().CBReg->itemText(0x96).toStdString(), "PrógTPS");
    EXPECT_EQ(f.Live().Widgets().CBReg->itemText(0xFF).toStdString(), "$FF - EndStos");
    EXPECT_EQ(f.Live().Widgets().CBReg->currentIndex(), -1);
    EXPECT_EQ(f.CurrentSettings().RamIndex, -1);
    window.Close();
  }
  EXPECT_EQ(SettingsStore::Open(SettingsPath()).ReadInteger("RamIndex"), -1);

  // A stored "no selection" stays one; a stored register is selected and written back.
  for (int stored : {-1, 200, 0}) {
    {
      SettingsStore store = SettingsStore::Open(SettingsPath());
      store.WriteInteger("RamIndex", stored);
      store.Save();
    }
    TForm1& f = StartWithoutController();
    EXPECT_EQ(f.Live().Widgets().CBReg->currentIndex(), stored);
    window.Close();
    EXPECT_EQ(SettingsStore::Open(SettingsPath()).ReadInteger("RamIndex"), stored);
  }
}

TEST_F(InspectorPageTest, viewsShowTheirLabelsAndHeadersAndRepliesFillOnlyTheirOwnView) {
  TForm1& f = StartWithoutController();
  LinkTestAccess::Block(f.Link())[0] = 0x64;
  f.FormKeyDown('O');
  f.FormKeyDown('R');
  f.FormKeyDown('V');
  f.FormKeyDown('S');
  f.TabProcClick();  // no button pressed yet: PORT
  QTableWidget* g = GridEx1(f);
  EXPECT_EQ(f.CurrentPage(), Page::Port);
  EXPECT_EQ(f.Link().Vars().linkState, link_state::kPortPoll);
  EXPECT_EQ(g->columnCount(), 2);
  ASSERT_GE(g->rowCount(), 25);
  EXPECT_EQ(CellText(g, 0, 0), UiText(360));
  EXPECT_EQ(CellText(g, 0, 1), UiText(361));
  EXPECT_EQ(CellText(g, 1, 0), "Б.0 Мотор ЕН");
  EXPECT_EQ(CellText(g, 17, 0), UiText(378));
  for (QPushButton* b :
       {Control<QPushButton>(f, "Btn1"), Control<QPushButton>(f, "Btn2"), Control<QPushButton>(f, "Btn3")})
    EXPECT_TRUE(b->isVisible());
  EXPECT_EQ(Control<QPushButton>(f, "Btn3")->text().toStdString(), "EEPROM");

  std::uint8_t port[14] = {0xCA, 1, 2, 3, 4, 5, 6, 7, 8, 0x03, 0x00, 0x80, 0x10};
  f.Link().PageSink().ShowPortView(DecodePortView(port, f.Link().Block()));
  EXPECT_EQ(CellText(g, 1, 1), "1");
  EXPECT_EQ(CellText(g, 3, 1), "0");
  EXPECT_EQ(CellText(g, 24, 1), "1");

  f.Btn2Click();
  EXPECT_EQ(f.CurrentPage(), Page::Sram);
  EXPECT_EQ(f.Link().Vars().linkState, link_state::kSramPoll);
  EXPECT_EQ(g->columnCount(), 39);
  EXPECT_EQ(g->rowCount(), 17);
  EXPECT_EQ(CellText(g, 0, 38), "25_");
  EXPECT_EQ(CellText(g, 16, 0), "F");
  EXPECT_EQ(CellText(g, 1, 1), "");  // the pins are gone

  std::uint8_t block[23] = {0xC5, 0x10, 36};
  for (int i = 0; i < 16; ++i) block[3 + i] = static_cast<std::uint8_t>(200 + i);
  const MemoryBlockView sram = DecodeMemoryBlock(block, kSramBlocks);
  f.Link().PageSink().ShowMemoryBlock(sram);
  EXPECT_EQ(CellText(g, 1, 37), "200");
  EXPECT_EQ(CellText(g, 16, 37), "215");
  f.resize(f.width() + 60, f.height());
  f.LayoutMainWindow();
  EXPECT_EQ(CellText(g, 16, 37), "215");  // a new layout keeps what arrived
  // Three digits are shown whole in the narrow columns.
  EXPECT_LE(QFontMetrics(g->item(16, 37)->font()).horizontalAdvance("215"), g->columnWidth(37) - 6);
  EXPECT_EQ(g->textElideMode(), Qt::ElideNone);

  f.Btn3Click();
  EXPECT_EQ(f.CurrentPage(), Page::Eeprom);
  EXPECT_EQ(f.Link().Vars().linkState, link_state::kEepromPoll);
  EXPECT_EQ(g->columnCount(), 33);
  EXPECT_EQ(CellText(g, 0, 32), "1F_");
  f.Link().PageSink().ShowMemoryBlock(sram);  // page 36 has no EEPROM column
  for (int c = 1; c < 33; ++c) EXPECT_EQ(CellText(g, 1, c), "") << c;

  f.Btn1Click();
  EXPECT_EQ(f.CurrentPage(), Page::Port);
  EXPECT_EQ(g->columnCount(), 2);
  f.Link().PageSink().ShowMemoryBlock(sram);
  EXPECT_EQ(CellText(g, 1, 1), "");

  f.TabParamClick();  // another page takes the grid over, without the processor cells
  EXPECT_NE(CellText(g, 2, 0), UiText(363));
  EXPECT_EQ(g->textElideMode(), Qt::ElideRight);
}

// The program against the simulator: the fitter types the service sequence on a Russian
// layout, opens the processor page and looks at the pins and the data memory.
TEST_F(InspectorPageTest, servicePageShowsTheSimulatorsPinsAndMemory) {
  SimulatorWindow run;
  ASSERT_TRUE(run.Start());
  TForm1& f = run.Form();
  ASSERT_TRUE(RunUntil([&] { return f.ConnectionMode() == ConnectionMode::Controller; }));
  EXPECT_FALSE(f.TabVisible(Page::Port));
  TypeServiceSequenceOnRussianLayout(f, true);
  ASSERT_TRUE(f.TabVisible(Page::Port));

  f.TabOfPage(Page::Port)->click();
  EXPECT_EQ(f.CurrentPage(), Page::Port);
  QTableWidget* g = GridEx1(f);
  EXPECT_EQ(CellText(g, 1, 0), "Б.0 Мотор ЕН");
  ASSERT_TRUE(RunUntil([&] { return !CellText(g, 24, 1).empty(); }));
  // The simulator's port D has its low four pins set.
  for (int row = 17; row <= 24; ++row) EXPECT_EQ(CellText(g, row, 1), row <= 20 ? "1" : "0") << row;

  Control<QPushButton>(f, "Btn2")->click();
  EXPECT_EQ(f.CurrentPage(), Page::Sram);
  auto allColumnsFilled = [&] {
    for (int c = 1; c <= 38; ++c)
      for (int r = 1; r <= 16; ++r)
        if (CellText(g, r, c).empty()) return false;
    return true;
  };
  // 38 pages at one request per tick.
  ASSERT_TRUE(RunUntil(allColumnsFilled));

  // The registers and variables (except the ones that follow the engine) and the map.
  const sim::SimController reference;
  for (int address = 0; address < 38 * 16; ++address) {
    if (address >= 0x60 && address <= 0x68) continue;
    EXPECT_EQ(CellText(g, address % 16 + 1, address / 16 + 1),
              std::to_string(reference.DataMemoryByte(address)))
        << std::hex << address;
  }
  EXPECT_EQ(CellText(g, 5, 6), "1");  // 0x54: the reset cause, power on

  Control<QPushButton>(f, "Btn3")->click();
  EXPECT_EQ(f.CurrentPage(), Page::Eeprom);
  ASSERT_TRUE(RunUntil([&] { return !CellText(g, 16, 32).empty(); }));
  // The EEPROM starts with the parameters: the type byte and the version.
  EXPECT_EQ(CellText(g, 1, 1), std::to_string(0x64));
  EXPECT_EQ(CellText(g, 2, 1), "145");
}

}  // namespace
