#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <filesystem>

#include "app/KeyTable.h"
#include "app/SettingsStore.h"
#include "base/UiText.h"
#include "firmware/FirmwarePageQt.h"
#include "help/HelpDeskQt.h"
#include "monitor/LiveMonitorQt.h"
#include "support/FakeSerialPort.h"
#include "ui/UiTestSupport.h"

namespace {

namespace fs = std::filesystem;

// The program started in a folder of its own, with or without the help document in it.
class HelpWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { previousFolder_ = fs::current_path(); }
  void TearDown() override {
    window.Close();
    fs::current_path(previousFolder_);
  }

  // Without a port given, no controller is there.
  TForm1& Start(bool withDocument, std::unique_ptr<FakeSerialPort> port = nullptr) {
    if (withDocument)
      fs::copy_file(fs::path(ORV_SOURCE_DIR) / "docs/mervolante.rtf", folder / "mervolante.rtf");
    fs::current_path(folder.Path());
    if (!port) {
      // Without a controller every information tick would reopen the port and show the set-up
      // page; the tests call the tick themselves where they need it.
      TForm1& f = window.StartWithoutController(folder / "LPG2.reg");
      f.TimerInfo()->stop();
      return f;
    }
    window.Start(folder / "LPG2.reg", std::move(port));
    return *window.form;
  }

  // The parameters page with a few rows of the editor, the focus in the grid on a row.
  void ShowParameters(TForm1& f, int selectedRow) {
    f.TabParamClick();
    QTableWidget& grid = *GridEx1(f);
    const int ids[] = {300, 425, 435, 440, 452, 460};
    grid.setRowCount(std::max(grid.rowCount(), 6));
    for (int r = 0; r < 6; ++r)
      grid.setItem(r, 0, new QTableWidgetItem(QString::fromStdString(UiText(ids[r]))));
    grid.setCurrentCell(selectedRow, 0);
    f.activateWindow();
    grid.setFocus();
    ASSERT_TRUE(RunUntil([&] { return grid.hasFocus(); }));
  }

  // F1 in the help window's `mode` on row `row` of the parameters; the help window, if any.
  TForm4* OpenHelpOnRow(TForm1& f, int mode, int row) {
    f.Help().SetHelpWindowMode(mode);
    ShowParameters(f, row);
    f.FormKeyDown(VK_F1);
    return f.Help().Window();
  }

  static std::string Selected(TForm1& f) {
    return f.Help().Window()->RichEdit1->textCursor().selectedText().toStdString();
  }
  static int SelectionStart(TForm1& f) { return f.Help().Window()->RichEdit1->textCursor().selectionStart(); }
  static int Find(TForm1& f, const std::string& text) {
    return static_cast<int>(
        f.Help().Window()->RichEdit1->toPlainText().indexOf(QString::fromStdString(text)));
  }

  TempFolder folder;
  WindowUnderTest window;

 private:
  fs::path previousFolder_;
};

TEST_F(HelpWindowTest, theStartPageShowsTheFormattedDocument) {
  TForm1& f = Start(true);
  EXPECT_TRUE(f.Help().HelpFileLoaded());
  EXPECT_TRUE(Control<QTextEdit>(f, "Memo2")->toPlainText().startsWith("MERVOLANTE LPG\n"));
  QTextCursor c(Control<QTextEdit>(f, "Memo2")->document());
  c.setPosition(1);
  EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
  EXPECT_EQ(Control<QTextEdit>(f, "Memo2")->toPlainText().indexOf(QString::fromStdString(UiText(702))), -1);
  // The document names the magnifier button by what it shows.
  EXPECT_NE(Control<QTextEdit>(f, "Memo2")
                ->toPlainText()
                .indexOf(QString("Кнопка «%1»").arg(f.Live().Widgets().BtnLup->text())),
            -1);
}

TEST_F(HelpWindowTest, withoutTheDocumentTheStartPageSaysSoAndOnlyTheButtonReportsIt) {
  TForm1& f = Start(false);
  EXPECT_FALSE(f.Help().HelpFileLoaded());
  EXPECT_EQ(Control<QTextEdit>(f, "Memo2")->toPlainText().toStdString(), UiText(702) + " " + UiText(103));
  ShowParameters(f, 2);
  f.FormKeyDown(VK_F1);
  EXPECT_EQ(f.Help().Window(), nullptr);
  EXPECT_TRUE(window.dialogs.messages.empty());
  f.BtnHelpClick();
  ASSERT_EQ(window.dialogs.messages.size(), 1u);
  EXPECT_EQ(window.dialogs.messages[0],
            " Нельзя открыть файл"
            " mervolante.rtf");
  EXPECT_EQ(f.Help().Window(), nullptr);
}

TEST_F(HelpWindowTest, f1OnTheParametersPageOpensTheWindowAtTheSelectedParameter) {
  TForm1& f = Start(true);
  TForm4* help = OpenHelpOnRow(f, 1, 2);  // "   Порог TPS" under "Тип TPS"
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(f.Help().HelpWindowOpen());
  EXPECT_EQ(help->windowTitle().toStdString(), "MERVOLANTE");
  EXPECT_EQ(help->RadioIndex(), 1);
  EXPECT_FALSE(help->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(help->width(), f.Live().Widgets().Grid->width() - 2);
  EXPECT_EQ(Selected(f), "ПОРОГ TPS");
  EXPECT_GT(SelectionStart(f), Find(f, "ТИП TPS"));

  // With the window open F1 follows the selection on any page.
  GridEx1(f)->setCurrentCell(4, 0);  // "   Щуп" under "Тип щупа"
  f.FormKeyDown(VK_F1);
  EXPECT_EQ(f.Help().Window(), help);
  EXPECT_EQ(Selected(f), "ЩУП");
  EXPECT_GT(SelectionStart(f), Find(f, "ТИП ЩУПА") + 8);
}

TEST_F(HelpWindowTest, f1ElsewhereOpensNothing) {
  TForm1& f = Start(true);
  f.FormKeyDown(VK_F1);  // the start page
  EXPECT_EQ(f.Help().Window(), nullptr);
  ShowParameters(f, 1);
  f.Live().Widgets().UpDownX->setFocus();  // the focus outside the parameter grid
  ASSERT_TRUE(RunUntil([&] { return f.Live().Widgets().UpDownX->hasFocus(); }));
  f.FormKeyDown(VK_F1);
  EXPECT_EQ(f.Help().Window(), nullptr);
  EXPECT_FALSE(f.Help().HelpWindowOpen());
}

TEST_F(HelpWindowTest, topModeFollowsTheSelectionAtTheNextInformationTickAndKeepsTheFocus) {
  TForm1& f = Start(true);
  f.Help().SetHelpWindowMode(0);
  ShowParameters(f, 1);
  f.BtnHelpClick();
  TForm4* help = f.Help().Window();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(Selected(f), "ТИП TPS");

  GridEx1(f)->setCurrentCell(5, 0);   // "Симуляция"
  EXPECT_EQ(Selected(f), "ТИП TPS");  // not before the tick
  f.TimerInfoTimer();
  EXPECT_EQ(Selected(f), "СИМУЛЯЦИЯ");
  EXPECT_TRUE(RunUntil([&] { return f.isActiveWindow(); }));
  EXPECT_TRUE(help->isVisible());

  // In the Hide mode the selection is not followed.
  help->radioButtons->button(1)->click();
  EXPECT_EQ(f.Help().HelpWindowMode(), 1);
  EXPECT_EQ(f.CurrentSettings().Help, 1);
  EXPECT_FALSE(help->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  GridEx1(f)->setCurrentCell(3, 0);
  f.TimerInfoTimer();
  EXPECT_EQ(Selected(f), "СИМУЛЯЦИЯ");
}

TEST_F(HelpWindowTest, closeModeClosesWhenTheMainWindowIsActivatedAndEscClosesAnyMode) {
  TForm1& f = Start(true);
  TForm4* help = OpenHelpOnRow(f, 2, 3);
  ASSERT_NE(help, nullptr);
  help->activateWindow();
  ASSERT_TRUE(RunUntil([&] { return help->isActiveWindow(); }));

  // F1 to F9 only beep inside the help window.
  const int beeps = window.dialogs.beeps;
  QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
  QApplication::sendEvent(help->RichEdit1, &f5);
  EXPECT_EQ(window.dialogs.beeps, beeps + 1);
  EXPECT_EQ(f.CurrentPage(), Page::Parameters);

  f.activateWindow();
  ASSERT_TRUE(RunUntil([&] { return !help->isVisible(); }));
  EXPECT_FALSE(f.Help().HelpWindowOpen());

  // The next opening makes a new window; Esc closes it.
  f.Help().SetHelpWindowMode(1);
  ASSERT_TRUE(RunUntil([&] { return GridEx1(f)->hasFocus(); }));
  f.FormKeyDown(VK_F1);
  ASSERT_TRUE(f.Help().HelpWindowOpen());
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(f.Help().Window()->RichEdit1, &esc);
  EXPECT_FALSE(f.Help().HelpWindowOpen());
  EXPECT_FALSE(f.Help().Window()->isVisible());
}

TEST_F(HelpWindowTest, hideModeBringsTheWindowForwardOnF1AndTheHelpButton) {
  TForm1& f = Start(true);
  TForm4* help = OpenHelpOnRow(f, 1, 2);
  ASSERT_NE(help, nullptr);
  for (const char* way : {"F1", "button"}) {
    f.activateWindow();
    ASSERT_TRUE(RunUntil([&] { return f.isActiveWindow(); })) << way;
    GridEx1(f)->setFocus();
    if (std::string(way) == "F1")
      f.FormKeyDown(VK_F1);
    else
      f.BtnHelpClick();
    EXPECT_TRUE(RunUntil([&] { return help->isActiveWindow(); })) << way;
    EXPECT_TRUE(help->RichEdit1->hasFocus()) << way;
    EXPECT_EQ(Selected(f), "ПОРОГ TPS") << way;
  }
}

// The fitter closes the main window while the help, the magnifier and a programming window
// are open: the program ends, the settings are written and the port is closed.
TEST_F(HelpWindowTest, closingTheMainWindowEndsTheProgramWhateverElseIsOpen) {
  auto port = std::make_unique<FakeSerialPort>();
  FakeSerialPort* line = port.get();
  TForm1& f = Start(true, std::move(port));
  ASSERT_TRUE(RunUntil([&] { return line->Active(); }));
  ASSERT_NE(OpenHelpOnRow(f, 1, 2), nullptr);
  f.Live().BtnLupClick();
  ASSERT_TRUE(f.Live().MagnifierShown());
  f.Firmware().OpenProgrammingWindow();
  ASSERT_NE(f.Firmware().ProgrammingForm(), nullptr);
  f.Setup().EDFile->setText("closed-with-help");

  // The fitter's close arrives inside the program's event loop, which must then end.
  QTimer::singleShot(0, &f, [&] { f.close(); });
  // Should the loop not end, it is ended here so that the test fails instead of hanging.
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  guard.start(60000);
  const int status = QApplication::exec();
  guard.stop();
  EXPECT_EQ(status, 0) << "the program went on after its main window was closed";
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
  EXPECT_FALSE(line->Active());
  EXPECT_EQ(SettingsStore::Open(folder / "LPG2.reg").ReadString("FileName"), "closed-with-help");
}

}  // namespace
