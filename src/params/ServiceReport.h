#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "model/ParameterBlock.h"

// The service report: what a controller was set to, for the customer and the car's file. The
// content is plain rows; the Qt side lays them out as a printable document.

// What the report is made of, beyond the block.
struct ServiceReportInput {
  ParameterBlock block{};  // the parameters in view
  int listOrder = 0;       // the parameter list's order
  std::string program;     // the program's name and version, as the caption begins
  std::string dateTime;    // "2026-12-09 14:30"
  std::string workshop;    // optional
  std::string vehicle;     // registration or VIN, optional
  // The references the parameters are compared with, when they are known.
  std::optional<ParameterBlock> factory;
  std::optional<ParameterBlock> backup;
  std::string backupName;  // the backup's file name
};

struct ServiceReportLine {
  std::string label;
  std::string value;
};

// One comparison: a heading and the differences, one line each as the question before a
// file is loaded lists them (reference value → value in the report); a note instead of the
// lines when the reference is not known.
struct ServiceReportSection {
  std::string heading;
  std::vector<std::string> lines;
};

struct ServiceReport {
  std::string title;
  std::vector<ServiceReportLine> identity;  // program, controller, date, workshop, vehicle
  ServiceReportLine rowHeading;             // the list's column headings
  std::vector<ServiceReportLine> rows;      // every row of the list, in its order
  std::vector<ServiceReportSection> comparisons;
};

ServiceReport BuildServiceReport(const ServiceReportInput& input);

// The report as plain text, a line per row, label and value separated by a tab: what the
// printed document holds, line for line.
std::string ServiceReportText(const ServiceReport& report);

// " TELK100 V1.45": the controller as the caption names it.
std::string ControllerIdentity(const ParameterBlock& block);

// "2026-12-09 14:30" in local time.
std::string ReportDateTime(std::time_t now);

// The proposed file name: the parameter file name base and the local date and time,
// "car-20261209-1430.pdf".
std::string ReportFileName(const std::string& base, std::time_t now);

// The newest automatic backup in folder made of a controller of this type and version; its
// path, or empty when there is none.
std::string NewestBackupOf(const std::string& folder, const ParameterBlock& block);

// Where the factory parameters of a controller of this type and version are kept: in the
// folder "factory" beside the backup folder, "<data>/ORV/factory/TELK100-V1.45.orvp".
std::string FactoryParametersPath(const std::string& backupFolder, const ParameterBlock& block);

// Keeps the parameters a controller comes back with after a factory reset, where the report
// finds its factory parameters.
class FactoryParametersKeeper {
 public:
  void ResetAsked() { asked_ = true; }
  // A read of the controller completed. The first complete read after a reset (nothing left to
  // write: the block is what the controller holds) is kept in folder; returns the log line,
  // empty when nothing was to be kept.
  std::string ReadCompleted(const ParameterBlock& block, const ParameterBlock& sent,
                            const std::string& folder);

 private:
  bool asked_ = false;
};
