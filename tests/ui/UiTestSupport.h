#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTableWidget>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Orvlpgmain.h"
#include "support/FakeSerialPort.h"
#include "support/ScriptedDialogs.h"
#include "support/SimulatorProcess.h"
#include "support/TempFolder.h"

// One application object for the whole test program; windows are shown offscreen. It is
// never destroyed: tearing it down among the other static objects at exit is not safe.
inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "test_ui";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// How long a test waits for what it counts on (a reply, a step, a page): a last guard only,
// far beyond what a loaded machine takes. Nothing a test asserts depends on it.
inline constexpr int kPatienceMs = 60000;

// Runs the event loop until the condition holds or the time is up; returns the condition. It
// looks after every batch of events and never sleeps, so a run of a thousand replies does not
// pay a pause for each.
inline bool RunUntil(const std::function<bool()>& condition, int timeoutMs = kPatienceMs) {
  TestApplication();
  QElapsedTimer clock;
  clock.start();
  QTimer wake;  // the loop looks at the time even when nothing else happens
  wake.start(20);
  while (!condition()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  return true;
}

inline void RunFor(int ms) {
  RunUntil([] { return false; }, ms);
}

struct WindowUnderTest {
  ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;

  // The settings file and, in a folder "backup" beside it, the parameter backups.
  // port: empty for the real serial port (the pattern comes from ORV_COMM_PATTERN).
  // programDir: where the program lists its firmware images.
  void Start(const std::string& settingsPath, std::unique_ptr<SerialPort> port = nullptr,
             const std::string& programDir = "/tmp") {
    TestApplication();
    MainWindowEnvironment env;
    env.dialogs = &dialogs;
    env.settingsPath = settingsPath;
    env.programDir = programDir;
    env.backupDir = (std::filesystem::path(settingsPath).parent_path() / "backup").string();
    env.port = std::move(port);
    form = std::make_unique<TForm1>(std::move(env));
    form->show();
  }
  // The window on a port that cannot be opened: no controller is there.
  TForm1& StartWithoutController(const std::string& settingsPath) {
    auto port = std::make_unique<FakeSerialPort>();
    port->failOpen = true;
    Start(settingsPath, std::move(port));
    return *form;
  }
  void Close() { form.reset(); }
};

// A control of the window by its object name; fails the test when the window has none.
template <class W = QWidget>
W* Control(const QWidget& window, const char* name) {
  W* control = window.findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(control, nullptr) << name;
  return control;
}

// The page grid, lent to the page in view.
inline FixedHeadingGrid* GridEx1(const QWidget& window) {
  return dynamic_cast<FixedHeadingGrid*>(Control<QTableWidget>(window, "GridEx1"));
}

// The text of a grid's cell; empty when the cell has no item.
inline std::string CellText(const QTableWidget* grid, int row, int column) {
  const QTableWidgetItem* item = grid->item(row, column);
  return item ? item->text().toStdString() : std::string();
}

// The value beside a label in a two-column grid; "?" when no row has the label.
inline std::string RowText(const QTableWidget* grid, const std::string& label) {
  for (int row = 0; row < grid->rowCount(); ++row)
    if (CellText(grid, row, 0) == label && grid->item(row, 0)) return CellText(grid, row, 1);
  return "?";
}

// The window with its real serial port against a simulator of its own, which it finds through
// the port pattern; its settings and parameter backups in a temporary folder of their own.
// The window closes before the simulator quits.
struct SimulatorWindow {
  explicit SimulatorWindow(std::vector<std::string> options = {}) : sim(std::move(options)) {}

  // Fails when the simulator did not come up. port: as for WindowUnderTest::Start.
  ::testing::AssertionResult Start(const std::string& programDir = "/tmp",
                                   std::unique_ptr<SerialPort> port = nullptr) {
    if (!sim.Started()) return ::testing::AssertionFailure() << sim.StartError() << " " << sim.ErrorOutput();
    setenv("ORV_COMM_PATTERN", sim.Pattern().c_str(), 1);
    window.Start(SettingsPath(), std::move(port), programDir);
    return ::testing::AssertionSuccess();
  }
  // Starts, then waits for the controller's parameters, read in full, on the parameters page.
  ::testing::AssertionResult Connect(const std::string& programDir = "/tmp") {
    if (auto started = Start(programDir); !started) return started;
    if (!RunUntil([&] { return ReadInFull(); })) return ::testing::AssertionFailure() << "no controller";
    return ::testing::AssertionSuccess();
  }
  bool ReadInFull() {
    return Form().ConnectionMode() == ConnectionMode::Controller && !Form().Link().Vars().readPending &&
           Form().CurrentPage() == Page::Parameters;
  }

  TForm1& Form() { return *window.form; }
  ScriptedDialogs& Dialogs() { return window.dialogs; }
  std::string SettingsPath() const { return folder / "ORV/LPG2.reg"; }
  std::string BackupFolder() const { return folder / "ORV/backup"; }

  SimulatorProcess sim;
  TempFolder folder;
  WindowUnderTest window;
};
