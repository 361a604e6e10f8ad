#pragma once

#include <ctime>
#include <functional>
#include <string>

#include "base/UserDialogs.h"
#include "model/PageAndMode.h"
#include "model/ParameterBlock.h"
#include "params/ServiceReport.h"

class QPushButton;
class QWidget;
class SettingsStore;

// The settings the report keeps beside the window's: the two details and its folder.
inline constexpr const char* kReportWorkshopValue = "ReportWorkshop";
inline constexpr const char* kReportVehicleValue = "ReportVehicle";
inline constexpr const char* kReportFolderValue = "DirReport";

// What the report of the parameters in view is made from.
struct ServiceReportSource {
  QWidget* parent = nullptr;
  UserDialogs* dialogs = nullptr;
  const ParameterBlock* block = nullptr;
  ConnectionMode mode = ConnectionMode::None;
  int listOrder = 0;
  std::string fileNameBase;  // EDFile
  std::string settingsPath;
  std::string backupFolder;
  std::function<void(const std::string&)> log;  // the message log
};

// The report's content for a block: the program, the date, the details kept in the store, and
// the factory parameters and the newest backup of this controller found in backupFolder.
ServiceReportInput ReportInputFor(const ParameterBlock& block, int listOrder, const SettingsStore& store,
                                  const std::string& backupFolder, std::time_t now);

// Ctrl+R and the report button on the parameters page: the details, then the PDF through the
// file flow (or the print dialog). Only with parameters in view: the controller's or a file's.
void MakeServiceReport(const ServiceReportSource& source);
