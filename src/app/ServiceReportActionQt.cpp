#include "app/ServiceReportActionQt.h"

#include "app/ConnectionModeLook.h"
#include "app/SettingsStore.h"
#include "base/FileFlow.h"
#include "base/FilePaths.h"
#include "base/TextQt.h"
#include "base/UiText.h"
#include "params/ParameterFiles.h"
#include "params/ServiceReportQt.h"

namespace {

constexpr int kNothingInView = 1415;
constexpr int kReportWritten = 1416;

bool HasPdfExtension(const std::string& path) {
  if (path.size() < 4) return false;
  std::string end = path.substr(path.size() - 4);
  for (char& c : end) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return end == ".pdf";
}

std::optional<ParameterBlock> Loaded(const std::string& path) {
  if (path.empty()) return std::nullopt;
  const LoadedParameterFile file = LoadParameterFile(path);
  if (file.status != ParameterFileStatus::Loaded) return std::nullopt;
  return file.bytes;
}

}  // namespace

ServiceReportInput ReportInputFor(const ParameterBlock& block, int listOrder, const SettingsStore& store,
                                  const std::string& backupFolder, std::time_t now) {
  ServiceReportInput in;
  in.block = block;
  in.listOrder = listOrder;
  in.program = kBaseCaption;
  in.dateTime = ReportDateTime(now);
  if (store.TypeOf(kReportWorkshopValue) == SettingsStore::ValueType::Text)
    in.workshop = store.ReadString(kReportWorkshopValue);
  if (store.TypeOf(kReportVehicleValue) == SettingsStore::ValueType::Text)
    in.vehicle = store.ReadString(kReportVehicleValue);
  in.factory = Loaded(FactoryParametersPath(backupFolder, block));
  const std::string backup = NewestBackupOf(backupFolder, block);
  in.backup = Loaded(backup);
  if (in.backup) in.backupName = FileNameOf(backup);
  return in;
}

void MakeServiceReport(const ServiceReportSource& s) {
  UserDialogs& dialogs = *s.dialogs;
  if (s.mode != ConnectionMode::Controller && s.mode != ConnectionMode::File) {
    dialogs.ShowMessage(UiText(kNothingInView), MessageButtons::Ok);
    return;
  }
  SettingsStore store = SettingsStore::Open(s.settingsPath);
  const std::time_t now = std::time(nullptr);
  ServiceReportInput in = ReportInputFor(*s.block, s.listOrder, store, s.backupFolder, now);
  const std::optional<ReportDetails> details = dialogs.AskReportDetails({in.workshop, in.vehicle, false});
  if (!details) return;
  in.workshop = details->workshop;
  in.vehicle = details->vehicle;
  const ServiceReport report = BuildServiceReport(in);
  std::string folder = store.TypeOf(kReportFolderValue) == SettingsStore::ValueType::Text
                           ? store.ReadString(kReportFolderValue)
                           : std::string();
  std::string written;
  if (details->print) {
    PrintServiceReport(report, s.parent);
  } else {
    SaveThroughDialog(dialogs,
                      {FileDialogUse::SaveReport, folder, ReportFileName(s.fileNameBase, now),
                       [&](const std::string& chosen) { folder = chosen; }, HasPdfExtension},
                      [&](const std::string& path, std::string* why) {
                        const bool ok = WriteServiceReportPdf(report, path, why);
                        if (ok) written = path;
                        return ok;
                      });
  }
  // The details and the folder are kept at once; the window's own settings follow at exit.
  if (store.Unreadable()) return;
  store.WriteString(kReportWorkshopValue, in.workshop);
  store.WriteString(kReportVehicleValue, in.vehicle);
  store.WriteString(kReportFolderValue, folder);
  store.Save();
  if (!written.empty() && s.log) s.log(UiText(kReportWritten) + written);
}
