#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstring>
#include <exception>

#include "app/DesignFontsQt.h"
#include "app/Orvlpgmain.h"
#include "app/UserDialogsQt.h"
#include "firmware/Orvlpgupg.h"
#include "help/Orvlpghelp.h"
#include "link/TVaComm.h"
#include "monitor/Orvlpglup.h"

// Shows an exception that reached an event handler in a standard box; the program goes on.
class OrvApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      QMessageBox::critical(nullptr, applicationName(), QString::fromLocal8Bit(e.what()));
    } catch (...) {
      QMessageBox::critical(nullptr, applicationName(), "Unknown error");
    }
    return false;
  }
};

namespace {

// `--list-ports`: which device each of COM1..COM4 opens now.
int ListPorts() {
  for (int port = 1; port <= 4; ++port) {
    TVaComm comm([](std::function<void()>) {});
    comm.SetPortNum(port);
    const std::string device = comm.DeviceName();
    std::printf("COM%d  %s\n", port, device.empty() ? "-" : device.c_str());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--list-ports") == 0) return ListPorts();
  OrvApplication app(argc, argv);
  app.setApplicationName("MERVOLANTE LPG");
  ApplyDesignFonts();
  QtUserDialogs dialogs;
  try {
    MainWindowEnvironment env;
    env.dialogs = &dialogs;
    // The windows are made in this order; the three small ones made here stay hidden.
    TForm1 form1(std::move(env));
    TForm2 form2;
    TForm3 form3;
    TForm4 form4;
    dialogs.SetParent(&form1);
    switch (form1.StoredSettings().WState) {
      case 1: form1.showMinimized(); break;
      case 2: form1.showMaximized(); break;
      default: form1.show(); break;
    }
    OrvApplication::exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, app.applicationName(), QString::fromLocal8Bit(e.what()));
  }
  return 0;
}
