#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>
#include <string_view>

#include "app/Orvlpgmain.h"
#include "app/UserDialogsQt.h"
#include "firmware/Orvlpgupg.h"
#include "help/Orvlpghelp.h"
#include "monitor/Orvlpglup.h"
#include "monitor/RecordingCsv.h"

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

// mervolante-lpg --export-csv RECORDING.orvv [OUT.csv]: the conversion without a window.
int ExportCsvCommand(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: %s --export-csv RECORDING.orvv [OUT.csv]\n", argv[0]);
    return 2;
  }
  std::string error;
  const int result = ExportRecordingCsv(argv[2], argc == 4 ? argv[3] : "", &error);
  if (result != 0) std::fprintf(stderr, "%s\n", error.c_str());
  return result;
}

int main(int argc, char** argv) {
  if (argc >= 2 && std::string_view(argv[1]) == "--export-csv") return ExportCsvCommand(argc, argv);
  OrvApplication app(argc, argv);
  app.setApplicationName("MERVOLANTE LPG");
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
