#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "app/AppSettings.h"
#include "app/CommandLine.h"
#include "app/DesignFontsQt.h"
#include "app/Orvlpgmain.h"
#include "app/ProgramIconQt.h"
#include "app/ProgramLanguageQt.h"
#include "app/SettingsStore.h"
#include "app/UserDialogsQt.h"
#include "app/WorkshopCommandsQt.h"
#include "base/UiText.h"
#include "firmware/Orvlpgupg.h"
#include "help/Orvlpghelp.h"
#include "link/WireTrace.h"
#include "monitor/Orvlpglup.h"

// Shows an exception that reached an event handler in a standard box; the program goes on.
class OrvApplication : public QApplication {
  static constexpr int kMessageCaption = 700;
  static constexpr int kErrorText = 410;

 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      QMessageBox::critical(nullptr, QString::fromStdString(UiText(kMessageCaption)),
                            QString::fromLocal8Bit(e.what()));
    } catch (...) {
      QMessageBox::critical(nullptr, QString::fromStdString(UiText(kMessageCaption)),
                            QString::fromStdString(UiText(kErrorText)));
    }
    return false;
  }
};

namespace {

// A desktop logout or a service stop (SIGTERM) and a lost terminal (SIGHUP) end the program
// as closing its window does: the handler only wakes the event loop, which closes the window.
int signalPipe[2] = {-1, -1};

void WakeOnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

void CloseOnEndSignals(QWidget& window) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
  QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
    window.close();
  });
  struct sigaction action {};
  action.sa_handler = WakeOnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGHUP, &action, nullptr);
}

// The language chosen at the last run, for what is said before the window reads its settings.
int StoredLanguage() {
  SettingsStore store(SettingsStore::DefaultFilePath());
  store.Load();
  AppSettings settings = DefaultAppSettings("");
  LoadSettings(store, settings);
  return settings.Lang;
}

}  // namespace

int main(int argc, char** argv) {
  const int language = SelectLanguage(StoredLanguage());
  // Commands for batches and for the fitter's checks run without a window.
  if (const std::optional<int> status = RunWorkshopCommand(argc, argv)) return *status;
  if (const std::optional<int> status = RunCommandLine(argc, argv)) return *status;
  OrvApplication app(argc, argv);
  SelectLanguage(language);  // now the toolkit's own texts as well
  app.setApplicationName("MERVOLANTE LPG");
  // The desktop entry's name, by which a desktop finds the icon and the file types.
  QGuiApplication::setDesktopFileName("mervolante-lpg");
  QApplication::setWindowIcon(ProgramIcon());
  ApplyDesignFonts();
  QtUserDialogs dialogs;
  try {
    MainWindowEnvironment env;
    env.dialogs = &dialogs;
    // --trace FILE (or ORV_TRACE): what goes over the line, for a car that will not connect.
    const std::string tracePath = WireTrace::PathFromArguments(argc, argv);
    if (!tracePath.empty()) {
      try {
        env.trace = std::make_shared<WireTrace>(tracePath);
      } catch (const std::exception& e) {
        dialogs.ShowMessage(e.what(), MessageButtons::Ok);
      }
    }
    // The windows are made in this order; the three small ones made here stay hidden.
    TForm1 form1(std::move(env));
    TForm2 form2;
    TForm3 form3;
    TForm4 form4;
    dialogs.SetParent(&form1);
    CloseOnEndSignals(form1);
    // A file handed over by the file manager opens once the window is up.
    if (const std::string file = FileToOpen(argc, argv); !file.empty())
      QTimer::singleShot(0, &form1, [&form1, file] { form1.OpenFile(file); });
    switch (form1.StoredSettings().WState) {
      case 1: form1.showMinimized(); break;
      case 2: form1.showMaximized(); break;
      default: form1.show(); break;
    }
    OrvApplication::exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QString::fromStdString(UiText(700)), QString::fromLocal8Bit(e.what()));
  }
  return 0;
}
