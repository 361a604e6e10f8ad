#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <string>

#include "params/ServiceReport.h"

class QLineEdit;
class QTextDocument;
class QWidget;

// The report as a document: a heading, the identity table, the parameter list in two columns
// and the comparisons, sized for A4.
std::unique_ptr<QTextDocument> ServiceReportDocument(const ServiceReport& report);

// The report as PDF bytes, written by the toolkit's own writer.
QByteArray ServiceReportPdf(const ServiceReport& report);

// Writes the PDF to path through a temporary file renamed into place; false, with "path:
// reason" in *why, when it could not be written.
bool WriteServiceReportPdf(const ServiceReport& report, const std::string& path, std::string* why);

// True when this build can print through the system's print dialog.
bool ServiceReportPrintable();
// The system's print dialog, then the report on the printer chosen; false when cancelled.
bool PrintServiceReport(const ServiceReport& report, QWidget* parent);

// The report's small dialog: the workshop's name and the car's registration or VIN, both
// optional, then written as PDF or printed.
class ServiceReportDialog : public QDialog {
 public:
  enum class Choice { Cancel, Pdf, Print };

  ServiceReportDialog(const std::string& workshop, const std::string& vehicle, QWidget* parent);

  Choice Ask();
  std::string Workshop() const;
  std::string Vehicle() const;

  QLineEdit* workshopEdit = nullptr;
  QLineEdit* vehicleEdit = nullptr;

 private:
  Choice choice_ = Choice::Cancel;
};
