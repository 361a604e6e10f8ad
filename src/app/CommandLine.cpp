#include "app/CommandLine.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "link/TVaComm.h"
#include "monitor/RecordingCsv.h"

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

}  // namespace

std::optional<int> RunCommandLine(int argc, char** argv) {
  if (argc < 2) return std::nullopt;
  const std::string_view command = argv[1];
  if (command == "--list-ports" && argc == 2) return ListPorts();
  if (command == "--export-csv") return ExportCsv(argc, argv);
  return std::nullopt;
}
