#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTableWidget>
#include <QThread>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "app/Orvlpgmain.h"
#include "support/FakeSerialPort.h"
#include "support/ScriptedDialogs.h"
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

// How long a window test waits for the program to find the controller on the simulator's line.
inline constexpr int kConnectMs = 10000;

// Runs the event loop until the condition holds or the time is up; returns the condition.
inline bool RunUntil(const std::function<bool()>& condition, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > timeoutMs) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return true;
}

inline void RunFor(int ms) {
  RunUntil([] { return false; }, ms);
}

struct WindowUnderTest {
  ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;

  // port: empty for the real serial port (the pattern comes from ORV_COMM_PATTERN).
  // programDir: where the program lists its firmware images.
  void Start(const std::string& settingsPath, std::unique_ptr<SerialPort> port = nullptr,
             const std::string& programDir = "/tmp") {
    TestApplication();
    MainWindowEnvironment env;
    env.dialogs = &dialogs;
    env.settingsPath = settingsPath;
    env.programDir = programDir;
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

// The value beside a label in a two-column grid; "?" when no row has the label.
inline std::string RowText(QTableWidget* grid, const std::string& label) {
  for (int row = 0; row < grid->rowCount(); ++row) {
    const QTableWidgetItem* name = grid->item(row, 0);
    const QTableWidgetItem* value = grid->item(row, 1);
    if (name && name->text().toStdString() == label) return value ? value->text().toStdString() : "";
  }
  return "?";
}
