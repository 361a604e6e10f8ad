// The service report: its rows in both list orders, its comparisons, the backup it finds and
// the PDF the toolkit writes of it.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/UserDialogsQt.h"
#include "params/ParameterFiles.h"
#include "params/ParameterTestBlocks.h"
#include "params/ServiceReport.h"
#include "params/ServiceReportQt.h"
#include "support/TempFolder.h"
#include "ui/InputEvents.h"
#include "ui/UiTestSupport.h"

namespace {

// A controller that offers only the coil, the TPS and its regulation: the two orders list
// the same rows in another order and with other labels.
ParameterBlock SmallBlock() {
  ParameterBlock b = TypicalBlock();
  for (int i = 3; i <= 15; ++i) b[i] = 0;
  for (int n : {32, 86, 33, 57, 54, 59})
    b[3 + n / 8] = static_cast<std::uint8_t>(b[3 + n / 8] | (1 << (n % 8)));
  b[32] = 0;
  b[33] = 0;
  b[54] = 1;
  b[59] = 10;
  return b;
}

ServiceReportInput SmallInput(int order) {
  ServiceReportInput in;
  in.block = SmallBlock();
  in.listOrder = order;
  in.program = "MERVOLANTE LPG V1.61";
  in.dateTime = "2026-12-09 14:30";
  in.workshop = "Autogas Nowak";
  return in;
}

TEST(ServiceReport, TextOfAKnownBlockInBothListOrders) {
  const std::string head =
      "Отчёт о настройке командоконтроллера\n"
      "Программа\tMERVOLANTE LPG V1.61\n"
      "Командоконтроллер\t TELK100 V1.45\n"
      "Дата и время\t2026-12-09 14:30\n"
      "Мастерская\tAutogas Nowak\n"
      "Параметр :\tВеличина :\n"
      "Тип катушки\t 4 цилиндра\n"
      "  Сигнал катушки\t0-5V\n"
      "Тип TPS\t0-5V\n";
  const std::string tail =
      "Отличия от фабричных параметров (фабричное → сейчас):\n"
      "Фабричные параметры этого командоконтроллера неизвестны\n"
      "Отличия от последней резервной копии (копия → сейчас):\n"
      "Резервной копии этого командоконтроллера нет\n";
  const struct {
    int order;
    std::string rows;
  } cases[] = {
      {0, "   Порог TPS\t0.80 [V]\nРег. от TPS\tДа\n   Гистерезис TPS\t0.20 [V]\n"},
      {1, "  Порог TPS\t0.80 [V]\n  Рег. от TPS\tДа\n    Гистерезис\t0.20 [V]\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.order);
    EXPECT_EQ(ServiceReportText(BuildServiceReport(SmallInput(c.order))), head + c.rows + tail);
  }
}

TEST(ServiceReport, DiagnosticRowsStateWhatWasFoundAndEmptyDetailsAreLeftOut) {
  ServiceReportInput in = SmallInput(0);
  in.workshop.clear();
  in.block[78] = 3;
  in.block[79] = 0x02;  // TPS error
  for (int n : {78, 79})
    in.block[3 + n / 8] = static_cast<std::uint8_t>(in.block[3 + n / 8] | (1 << (n % 8)));
  const ServiceReport report = BuildServiceReport(in);
  ASSERT_EQ(report.identity.size(), 3u);  // program, controller, date
  ASSERT_GE(report.rows.size(), 2u);
  EXPECT_EQ(report.rows[0].label, "Дефекты питания");
  EXPECT_EQ(report.rows[0].value, "3");
  EXPECT_EQ(report.rows[1].label, "Ошибка TPS");
  EXPECT_EQ(report.rows[1].value, "Да");
}

TEST(ServiceReport, ComparisonsListTheDifferencesAsBeforeLoadingAFile) {
  ServiceReportInput in = SmallInput(0);
  ParameterBlock before = in.block;
  before[57] = 29;
  in.factory = in.block;
  in.backup = before;
  in.backupName = "20261208-143005-TELK100-V1.45.orvp";
  const ServiceReport report = BuildServiceReport(in);
  ASSERT_EQ(report.comparisons.size(), 2u);
  EXPECT_EQ(report.comparisons[0].lines,
            std::vector<std::string>{"Файл не отличается от параметров командоконтроллера"});
  EXPECT_EQ(report.comparisons[1].heading,
            "Отличия от последней резервной копии (копия → сейчас): 20261208-143005-TELK100-V1.45.orvp");
  EXPECT_EQ(report.comparisons[1].lines,
            std::vector<std::string>{"Тип TPS / Порог TPS: 0.58 [V] → 0.80 [V]"});
}

TEST(ServiceReport, NewestBackupIsTheLatestOfThisControllerTypeAndVersion) {
  TempFolder folder;
  const ParameterBlock block = SmallBlock();
  const struct {
    const char* name;
    bool newest;
  } files[] = {
      {"20261208-143005-TELK100-V1.45.orvp", false},     {"20261209-090000-TELK100-V1.45.orvp", false},
      {"20261209-090000-TELK100-V1.45-2.orvp", true},  // the second within that second
      {"20261210-080000-TELK50-V1.45.orvp", false},    // another model
      {"20261210-080000-TELK100-V1.46.orvp", false},   // another version
      {"car-20261211-080000-TELK100-V1.45.orvp", false},
  };
  for (const auto& f : files) ASSERT_TRUE(SaveParameterFile(folder / f.name, block));
  for (const auto& f : files)
    if (f.newest) {
      EXPECT_EQ(NewestBackupOf(folder.Path(), block), folder / f.name);
    }
  EXPECT_EQ(NewestBackupOf(folder / "none", block), "");
  EXPECT_EQ(FactoryParametersPath("/d/ORV/backup", block), "/d/ORV/factory/TELK100-V1.45.orvp");
  EXPECT_EQ(ReportFileName("car", 0).substr(0, 4), "car-");
}

// A text with its runs of blanks made one, as pdftotext sets words apart.
std::string Squeezed(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != ' ' || (!out.empty() && out.back() != ' ' && out.back() != '\n')) out += c;
  return out;
}

// Every row of a report as pdftotext reads it from the file: a line with the label, then the
// value.
void ExpectRowsInPdf(const std::string& pdf, const ServiceReport& report) {
  const std::string command = "pdftotext -layout " + pdf + " " + pdf + ".txt";
  ASSERT_EQ(std::system(command.c_str()), 0) << "pdftotext (poppler-utils) is needed";
  const std::string text = Squeezed(Slurp(pdf + ".txt"));
  std::size_t at = 0;
  for (const ServiceReportLine& row : report.rows) {
    at = text.find(Squeezed(row.label), at);
    ASSERT_NE(at, std::string::npos) << row.label;
    const std::size_t end = text.find('\n', at);
    EXPECT_NE(text.substr(at, end - at).find(Squeezed(row.value)), std::string::npos) << row.label;
  }
}

TEST(ServiceReportPdf, PdfTextHoldsEveryRowOfTheList) {
  TestApplication();
  TempFolder folder;
  ServiceReportInput in = SmallInput(1);
  in.block = TypicalBlock();
  const ServiceReport report = BuildServiceReport(in);
  ASSERT_GT(report.rows.size(), 30u);
  std::string why;
  ASSERT_TRUE(WriteServiceReportPdf(report, folder / "report.pdf", &why)) << why;
  ExpectRowsInPdf(folder / "report.pdf", report);
  const std::string text = Slurp(folder / "report.pdf.txt");
  EXPECT_NE(text.find("Autogas Nowak"), std::string::npos);
  // The document holds what the plain text does.
  const std::string plain = ServiceReportDocument(report)->toPlainText().toStdString();
  for (const ServiceReportLine& row : report.rows) EXPECT_NE(plain.find(row.label), std::string::npos);
}

// The report's own dialog: the details as entered, and which of its buttons was pressed.
TEST(ServiceReportPdf, DialogGivesTheDetailsAndTheWayOut) {
  TestApplication();
  QtUserDialogs dialogs;
  for (const char* button : {"BtnReportPdf", "BtnReportPrint"}) {
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      auto* dialog = dynamic_cast<ServiceReportDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      answer.stop();
      EXPECT_EQ(dialog->workshopEdit->text().toStdString(), "Autogas Nowak");
      dialog->vehicleEdit->setText(" KR 4711A ");
      dialog->findChild<QPushButton*>(button)->click();
    });
    answer.start(10);
    const std::optional<ReportDetails> details = dialogs.AskReportDetails({"Autogas Nowak", "", false});
    ASSERT_TRUE(details);
    EXPECT_EQ(details->workshop, "Autogas Nowak");
    EXPECT_EQ(details->vehicle, "KR 4711A");
    EXPECT_EQ(details->print, std::string(button) == "BtnReportPrint");
  }
}

// Ctrl+R on the parameters page with the controller read: the details are kept, the PDF is
// written where the fitter chose and the log names it.
TEST(ServiceReportPdf, CtrlRWritesTheControllersReportThroughTheFileFlow) {
  SimulatorWindow run;
  ASSERT_TRUE(run.Connect());
  TForm1& form = run.Form();
  EXPECT_TRUE(form.Parameters().BtnReport->isVisible());
  EXPECT_EQ(form.Parameters().BtnReport->toolTip().toStdString(), UiText(1411));
  EXPECT_GT(form.Parameters().BtnReport->x(), form.Parameters().BtnHelp->geometry().right());
  const std::string pdf = run.folder / "reports/car.pdf";
  std::filesystem::create_directories(run.folder / "reports");
  run.Dialogs().fileAnswers = {pdf};
  PressKeys(form, {Qt::Key_Control, Qt::Key_R});
  ASSERT_TRUE(std::filesystem::exists(pdf));
  ASSERT_EQ(run.Dialogs().fileRequests.size(), 1u);
  EXPECT_EQ(run.Dialogs().fileRequests[0].use, FileDialogUse::SaveReport);
  EXPECT_NE(form.LogText().find(UiText(1416) + pdf), std::string::npos);
  ServiceReportInput in;
  in.block = form.Link().Block();
  in.listOrder = form.ListOrder();
  ExpectRowsInPdf(pdf, BuildServiceReport(in));
  EXPECT_NE(Slurp(run.SettingsPath()).find("\"DirReport\"=\"" + run.folder / "reports\""), std::string::npos);
}

// A factory reset from the parameters page keeps what the controller came back with, and the
// next report compares with it.
TEST(ServiceReportPdf, FactoryResetKeepsTheFactoryParametersTheReportComparesWith) {
  SimulatorWindow run;
  ASSERT_TRUE(run.Connect());
  TForm1& form = run.Form();
  const std::string factory = FactoryParametersPath(run.BackupFolder(), form.Link().Block());
  form.BtnWriteParClick();  // answered Yes
  ASSERT_TRUE(RunUntil([&] { return std::filesystem::exists(factory); }));
  EXPECT_TRUE(run.sim.LogHas("FACTORY RESET"));
  EXPECT_EQ(LoadParameterFile(factory).bytes, form.Link().Block());
  EXPECT_NE(form.LogText().find(UiText(1417) + factory), std::string::npos);
  const std::string pdf = run.folder / "car.pdf";
  run.Dialogs().fileAnswers = {pdf};
  form.BtnReportClick();
  ASSERT_EQ(std::system(("pdftotext " + pdf + " " + pdf + ".txt").c_str()), 0);
  const std::string text = Slurp(pdf + ".txt");
  EXPECT_EQ(text.find(UiText(1408)), std::string::npos);  // the factory parameters are known
  EXPECT_NE(text.find(UiText(1230)), std::string::npos);
}

}  // namespace
