// A damaged or hand-edited settings file must leave a usable window: on a screen, no larger
// than the screen, with the splitter and the editor rows in reach, and saved that way.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "app/AppSettings.h"
#include "app/MainLayout.h"
#include "app/SettingsStore.h"
#include "app/SplitterBarQt.h"
#include "base/UiText.h"
#include "support/FakeSerialPort.h"
#include "ui/UiTestSupport.h"

namespace {

TEST(SettingsOnScreen, storedBoundsAndUpperPanelAreFittedToTheScreen) {
  struct Case {
    const char* what;
    int left, top, width, height, wsize;
  };
  const Case cases[] = {
      {"upper panel 20000", 100, 100, 640, 480, 20000},
      {"window 20000 x 20000", 0, 0, 20000, 20000, 160},
      {"left 20000, off every screen", 20000, 100, 640, 480, 160},
      {"everything 20000", 20000, 20000, 20000, 20000, 20000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const std::string path = folder.Path() + "/ORV/LPG2.reg";
    AppSettings stored = DefaultAppSettings("/tmp");
    stored.WLeft = c.left;
    stored.WTop = c.top;
    stored.WWidth = c.width;
    stored.WHeight = c.height;
    stored.WSize = c.wsize;
    SettingsStore store(path);
    SaveSettings(store, stored, "/tmp", true, false);
    ASSERT_TRUE(store.Save());

    WindowUnderTest window;
    auto port = std::make_unique<FakeSerialPort>();
    port->failOpen = true;
    window.Start(path, std::move(port));
    RunFor(50);
    TForm1& f = *window.form;
    ASSERT_TRUE(f.StoredSettings().boundsRead);

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(f.width(), screen.width());
    EXPECT_LE(f.height(), screen.height());
    EXPECT_TRUE(screen.intersects(QRect(f.pos(), f.size())))
        << f.pos().x() << "," << f.pos().y() << " on " << screen.width() << "x" << screen.height();
    // The splitter lies inside the client area with room for the editor rows below it.
    const int clientHeight = f.centralWidget()->height();
    EXPECT_EQ(Control<QWidget>(f, "Splitter")->geometry().top(),
              kTabConHeight + std::min(c.wsize, UpperPanelLimit(clientHeight)));
    EXPECT_LE(Control<QWidget>(f, "Splitter")->geometry().bottom(), clientHeight - 64);

    window.Close();
    const SettingsStore saved = SettingsStore::Open(path);
    EXPECT_LE(saved.ReadInteger("WWidth"), screen.width() + 16);
    EXPECT_LE(saved.ReadInteger("WLeft"), screen.right());
    EXPECT_LE(saved.ReadInteger("WSize"), UpperPanelLimit(clientHeight));
    EXPECT_GE(saved.ReadInteger("WSize"), kMinUpperPanelHeight);
  }
}

// Settings that cannot be read are said once at start and left as they are at exit; settings
// that cannot be written are said in a box at exit, and the old file stays.
TEST(SettingsOnScreen, settingsThatCannotBeReadOrWrittenAreSaidAndNeverLost) {
  struct Case {
    const char* what;
    std::string file;  // under the temporary folder
    bool tooLarge;     // the file is there and beyond the reader's limit
    int logId, boxId;
  };
  const std::vector<Case> cases = {
      {"beyond the reader's limit", "ORV/LPG2.reg", true, 1320, 0},
      {"a file where its folder should be", "ORV/LPG2.reg/LPG2.reg", false, 0, 1321},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    std::filesystem::create_directories(folder / "ORV");
    const std::string old =
        "[Software\\ORV\\LPG2]\n" + std::string(c.tooLarge ? SettingsStore::kMaxFileBytes : 0, '\n');
    Put(folder / "ORV/LPG2.reg", old);
    WindowUnderTest window;
    TForm1& f = window.StartWithoutController(folder / c.file);
    const std::string log = f.LogText();
    EXPECT_EQ(log.find(UiText(1320)) != std::string::npos, c.logId != 0) << log;
    window.Close();
    EXPECT_EQ(Slurp(folder / "ORV/LPG2.reg"), old);
    if (c.boxId == 0) {
      EXPECT_TRUE(window.dialogs.messages.empty());
    } else {
      ASSERT_EQ(window.dialogs.messages.size(), 1u);
      EXPECT_EQ(window.dialogs.messages[0], UiText(c.boxId) + folder / "ORV/LPG2.reg" + ": " + UiText(1304));
    }
  }
}

}  // namespace
