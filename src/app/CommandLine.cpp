#include "app/CommandLine.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "app/AppSettings.h"
#include "app/SettingsStore.h"
#include "link/TVaComm.h"
#include "monitor/RecordingCsv.h"
#include "params/ParameterCompare.h"

namespace {

int ListPorts() {
  for (int port = 1; port <= 4; ++port) {
    TVaComm comm([](std::function<void()>) {});
    comm.SetPortNum(port);
    const std::string device = comm.DeviceName();
    std::printf("COM%d  %s\n", port, device.empty() ? "-" : device.c_str());
  }
  return 0;
}

int ExportCsv(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: %s --export-csv RECORDING.orvv [OUT.csv]\n", argv[0]);
    return 2;
  }
  std::string error;
  const int result = ExportRecordingCsv(argv[2], argc == 4 ? argv[3] : "", &error);
  if (result != 0) std::fprintf(stderr, "%s\n", error.c_str());
  return result;
}

// The rows come in the list order the user last chose in the parameter view.
int CompareParameters(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s --compare A.orvp B.orvp\n", argv[0]);
    return 2;
  }
  AppSettings settings = DefaultAppSettings("");
  LoadSettings(SettingsStore::Open(SettingsStore::DefaultFilePath()), settings);
  std::string out;
  std::string err;
  const int result = CompareParameterFiles(argv[2], argv[3], settings.List ? 1 : 0, out, err);
  std::fputs(out.c_str(), stdout);
  std::fputs(err.c_str(), stderr);
  return result;
}

}  // namespace

std::optional<int> RunCommandLine(int argc, char** argv) {
  if (argc < 2) return std::nullopt;
  const std::string_view command = argv[1];
  if (command == "--list-ports" && argc == 2) return ListPorts();
  if (command == "--export-csv") return ExportCsv(argc, argv);
  if (command == "--compare") return CompareParameters(argc, argv);
  return std::nullopt;
}
