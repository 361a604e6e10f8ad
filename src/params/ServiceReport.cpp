#include "params/ServiceReport.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/FailureText.h"
#include "base/UiText.h"
#include "base/UserFolders.h"
#include "params/ParameterBackup.h"
#include "params/ParameterCompare.h"
#include "params/ParameterFiles.h"
#include "params/ParameterRows.h"
#include "params/ParameterTable.h"

namespace {

constexpr int kTitleText = 1400;
constexpr int kProgramText = 1401;
constexpr int kControllerText = 1402;
constexpr int kDateText = 1403;
constexpr int kWorkshopText = 1404;
constexpr int kVehicleText = 1405;
constexpr int kFactoryHeading = 1407;
constexpr int kFactoryUnknown = 1408;
constexpr int kBackupHeading = 1409;
constexpr int kBackupUnknown = 1410;
constexpr int kFactoryKept = 1417;
constexpr int kFactoryNotKept = 1418;
constexpr int kYesText = 556;
constexpr int kPowerDefectsByte = 78;

// The list's rows as the editor shows them. A diagnostic row offers clearing in the editor;
// on paper it states what was found: the count of power defects, or that the error is set.
std::vector<ServiceReportLine> ListRows(const ParameterBlock& block, int listOrder) {
  const ParameterList list = BuildParameterList(block, listOrder);
  std::vector<ServiceReportLine> rows;
  for (int r = 1; r <= list.Count(); ++r) {
    const ParameterRow& row = list.Rows()[static_cast<std::size_t>(r)];
    const ParameterRowText& text = list.Texts()[static_cast<std::size_t>(r)];
    std::string value = text.value;
    if (row.editorKind == kEditorClearButton)
      value =
          row.parameter == kPowerDefectsByte ? std::to_string(block[kPowerDefectsByte]) : UiText(kYesText);
    rows.push_back({text.label, value});
  }
  return rows;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return lines;
}

// The differences from a reference as the question before loading lists them: the reference's
// value first, the report's after it.
ServiceReportSection Compare(const std::string& heading, const std::optional<ParameterBlock>& reference,
                             const ParameterBlock& block, int listOrder, int unknownText) {
  ServiceReportSection section{heading, {}};
  if (!reference) {
    section.lines.push_back(UiText(unknownText));
    return section;
  }
  ParameterBlock now = *reference;
  CopyFileToController(block, now);
  section.lines = SplitLines(LoadDifferencesText(*reference, now, listOrder, &block));
  return section;
}

std::string Stamp(std::time_t now, const char* format) {
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, format, &local);
  return text;
}

}  // namespace

std::string ControllerIdentity(const ParameterBlock& block) {
  return ModelText(block[kTypeByte]).model + " V" + VersionText(block);
}

std::string ReportDateTime(std::time_t now) { return Stamp(now, "%Y-%m-%d %H:%M"); }

std::string ReportFileName(const std::string& base, std::time_t now) {
  return base + Stamp(now, "-%Y%m%d-%H%M") + ".pdf";
}

ServiceReport BuildServiceReport(const ServiceReportInput& in) {
  ServiceReport report;
  report.title = UiText(kTitleText);
  report.identity = {{UiText(kProgramText), in.program},
                     {UiText(kControllerText), ControllerIdentity(in.block)},
                     {UiText(kDateText), in.dateTime}};
  if (!in.workshop.empty()) report.identity.push_back({UiText(kWorkshopText), in.workshop});
  if (!in.vehicle.empty()) report.identity.push_back({UiText(kVehicleText), in.vehicle});
  report.rowHeading = {UiText(300), UiText(301)};
  report.rows = ListRows(in.block, in.listOrder);
  report.comparisons.push_back(
      Compare(UiText(kFactoryHeading), in.factory, in.block, in.listOrder, kFactoryUnknown));
  report.comparisons.push_back(Compare(UiTextAndName(kBackupHeading, in.backup ? in.backupName : ""),
                                       in.backup, in.block, in.listOrder, kBackupUnknown));
  return report;
}

std::string ServiceReportText(const ServiceReport& report) {
  std::string text = report.title + "\n";
  for (const ServiceReportLine& line : report.identity) text += line.label + "\t" + line.value + "\n";
  text += report.rowHeading.label + "\t" + report.rowHeading.value + "\n";
  for (const ServiceReportLine& row : report.rows) text += row.label + "\t" + row.value + "\n";
  for (const ServiceReportSection& section : report.comparisons) {
    text += section.heading + "\n";
    for (const std::string& line : section.lines) text += line + "\n";
  }
  return text;
}

std::string NewestBackupOf(const std::string& folder, const ParameterBlock& block) {
  // Backups are named "YYYYMMDD-HHMMSS-TYPE-Vx.xx.orvp", a second one within the same second
  // with "-2" before the extension; the name sorts by time.
  const std::string ofThis = BackupFileName(block, 0).substr(15);  // "-TELK100-V1.45.orvp"
  const std::string stem = ofThis.substr(0, ofThis.size() - 5);
  std::string newest;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() < 15 + ofThis.size() || !HasParameterExtension(name) || !entry.is_regular_file(ec))
      continue;
    const std::string rest = name.substr(15, name.size() - 15 - 5);
    const bool digits = std::all_of(name.begin(), name.begin() + 15,
                                    [](char c) { return (c >= '0' && c <= '9') || c == '-'; });
    const bool same =
        rest == stem || (rest.compare(0, stem.size() + 1, stem + "-") == 0 && rest.size() > stem.size() + 1 &&
                         std::all_of(rest.begin() + static_cast<long>(stem.size()) + 1, rest.end(),
                                     [](char c) { return c >= '0' && c <= '9'; }));
    if (!digits || !same) continue;
    // Within one second the numbered copy is the later one.
    auto key = [](const std::string& n) { return std::make_pair(n.substr(0, 15), n.size()); };
    if (newest.empty() || key(name) > key(newest) || (key(name) == key(newest) && name > newest))
      newest = name;
  }
  return newest.empty() ? std::string() : folder + "/" + newest;
}

std::string FactoryParametersPath(const std::string& backupFolder, const ParameterBlock& block) {
  const std::string ofThis = BackupFileName(block, 0).substr(16);  // "TELK100-V1.45.orvp"
  return std::filesystem::path(backupFolder).parent_path().string() + "/factory/" + ofThis;
}

std::string FactoryParametersKeeper::ReadCompleted(const ParameterBlock& block, const ParameterBlock& sent,
                                                   const std::string& backupFolder) {
  if (!asked_ || !std::equal(block.begin(), block.begin() + kExchangedParameterBytes, sent.begin()))
    return {};
  asked_ = false;
  const std::string path = FactoryParametersPath(backupFolder, block);
  const std::string folder = std::filesystem::path(path).parent_path().string();
  int error = 0;
  if (!MakeFolders(folder, &error, 0755))
    return UiText(kFactoryNotKept) + folder + ": " + FailureReason(error);
  std::string why;
  if (!SaveParameterFile(path, block, &why)) return UiText(kFactoryNotKept) + why;
  return UiText(kFactoryKept) + path;
}
