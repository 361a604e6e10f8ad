#include "params/ServiceReportQt.h"

#include <QBuffer>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#ifdef ORV_HAVE_PRINT_SUPPORT
#include <QPrintDialog>
#include <QPrinter>
#endif

#include "base/AtomicFile.h"
#include "base/TextQt.h"

namespace {

constexpr int kTitleText = 1400;
constexpr int kWorkshopText = 1404;
constexpr int kVehicleText = 1405;
constexpr int kPrintText = 1413;
constexpr int kPdfText = 1414;
constexpr int kPdfResolution = 300;
constexpr qreal kMarginMm = 15;

QString Escaped(const std::string& text) { return QtText(text).toHtmlEscaped(); }

QString Html(const ServiceReport& report) {
  QString html = QStringLiteral(
                     "<html><body style='font-family:Liberation Sans,sans-serif;font-size:9pt'>"
                     "<h2 style='font-size:14pt'>%1</h2><table cellspacing='0' cellpadding='2'>")
                     .arg(Escaped(report.title));
  for (const ServiceReportLine& line : report.identity)
    html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                .arg(Escaped(line.label), Escaped(line.value));
  html += QStringLiteral(
              "</table><p></p><table width='100%' border='1' cellspacing='0' cellpadding='2' "
              "style='border-collapse:collapse;border-color:#888'>"
              "<tr style='background:#ddd'><th align='left'>%1</th><th align='left'>%2</th></tr>")
              .arg(Escaped(report.rowHeading.label), Escaped(report.rowHeading.value));
  for (const ServiceReportLine& row : report.rows)
    // The labels' leading blanks show which row a dependent row belongs to.
    html += QStringLiteral("<tr><td style='white-space:pre'>%1</td><td>%2</td></tr>")
                .arg(Escaped(row.label), Escaped(row.value));
  html += QStringLiteral("</table>");
  for (const ServiceReportSection& section : report.comparisons) {
    html += QStringLiteral("<p><b>%1</b></p><ul>").arg(Escaped(section.heading));
    for (const std::string& line : section.lines) html += QStringLiteral("<li>%1</li>").arg(Escaped(line));
    html += QStringLiteral("</ul>");
  }
  return html + QStringLiteral("</body></html>");
}

void Render(const ServiceReport& report, QPagedPaintDevice& device) {
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                   QPageLayout::Millimeter));
  std::unique_ptr<QTextDocument> document = ServiceReportDocument(report);
  document->print(&device);
}

}  // namespace

std::unique_ptr<QTextDocument> ServiceReportDocument(const ServiceReport& report) {
  auto document = std::make_unique<QTextDocument>();
  document->setHtml(Html(report));
  return document;
}

QByteArray ServiceReportPdf(const ServiceReport& report) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfResolution);
    writer.setTitle(QtText(report.title));
    writer.setCreator(QStringLiteral("MERVOLANTE LPG"));
    Render(report, writer);
  }
  return bytes;
}

bool WriteServiceReportPdf(const ServiceReport& report, const std::string& path, std::string* why) {
  const QByteArray bytes = ServiceReportPdf(report);
  return WriteFileAtomically(
      path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), why);
}

bool ServiceReportPrintable() {
#ifdef ORV_HAVE_PRINT_SUPPORT
  return true;
#else
  return false;
#endif
}

bool PrintServiceReport(const ServiceReport& report, QWidget* parent) {
#ifdef ORV_HAVE_PRINT_SUPPORT
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QtText(report.title));
  if (dialog.exec() != QDialog::Accepted) return false;
  Render(report, printer);
  return true;
#else
  (void)report;
  (void)parent;
  return false;
#endif
}

ServiceReportDialog::ServiceReportDialog(const std::string& workshop, const std::string& vehicle,
                                         QWidget* parent)
    : QDialog(parent) {
  setObjectName("ServiceReportDialog");
  setWindowTitle(QtUiText(kTitleText));
  auto* form = new QFormLayout;
  workshopEdit = new QLineEdit(QtText(workshop), this);
  workshopEdit->setObjectName("EDWorkshop");
  vehicleEdit = new QLineEdit(QtText(vehicle), this);
  vehicleEdit->setObjectName("EDVehicle");
  form->addRow(QtUiText(kWorkshopText), workshopEdit);
  form->addRow(QtUiText(kVehicleText), vehicleEdit);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  QPushButton* pdf = buttons->addButton(QtUiText(kPdfText), QDialogButtonBox::AcceptRole);
  pdf->setObjectName("BtnReportPdf");
  pdf->setDefault(true);
  connect(pdf, &QPushButton::clicked, this, [this] { choice_ = Choice::Pdf; });
  if (ServiceReportPrintable()) {
    QPushButton* print = buttons->addButton(QtUiText(kPrintText), QDialogButtonBox::AcceptRole);
    print->setObjectName("BtnReportPrint");
    connect(print, &QPushButton::clicked, this, [this] { choice_ = Choice::Print; });
  }
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

ServiceReportDialog::Choice ServiceReportDialog::Ask() {
  choice_ = Choice::Cancel;
  if (exec() != QDialog::Accepted) return Choice::Cancel;
  return choice_;
}

std::string ServiceReportDialog::Workshop() const { return workshopEdit->text().trimmed().toStdString(); }
std::string ServiceReportDialog::Vehicle() const { return vehicleEdit->text().trimmed().toStdString(); }
