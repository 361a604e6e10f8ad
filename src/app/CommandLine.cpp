#include "app/CommandLine.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "app/AppSettings.h"
#include "app/ConnectionModeLook.h"
#include "app/SettingsStore.h"
#include "base/UiText.h"
#include "link/PortMapping.h"
#include "link/TVaComm.h"
#include "monitor/RecordingCsv.h"
#include "params/ParameterCompare.h"

namespace {

constexpr std::string_view kTraceOption = "--trace";

// The usage: every option on a line of its own, its words from the text table.
struct UsageLine {
  const char* option;
  int textId;
};
constexpr UsageLine kUsage[] = {
    {"[FILE.orvp | FILE.orvv]", 1351},
    {"--trace FILE", 1352},
    {"--list-ports", 1353},
    {"--export-csv RECORDING.orvv [OUT.csv]", 1354},
    {"--compare A.orvp B.orvp", 1355},
    {"--report FILE.orvp [OUT.pdf]", 1420},
    {"--read OUT.orvp", 1421},
    {"--write IN.orvp [--yes]", 1422},
    {"--record SECONDS OUT.orvv", 1423},
    {"--program IMAGE.img [--yes]", 1424},
    {"--read|--write|... --port COMn", 1425},
    {"-h, --help", 1356},
    {"--version", 1357},
};

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "%s\n", UiText(1350).c_str());
  for (const UsageLine& line : kUsage)
    std::fprintf(out, "  mervolante-lpg %-38s %s\n", line.option, UiText(line.textId).c_str());
}

int ListPorts() {
  std::fputs(PortList("/dev").c_str(), stdout);
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

std::string PortList(const std::string& devRoot) {
  std::string text;
  for (int port = 1; port <= 4; ++port) {
    TVaComm comm([](std::function<void()>) {});
    comm.SetDeviceRoot(devRoot);
    comm.SetPortNum(port);
    text += PortListLine(port, comm.DeviceName(), devRoot) + "\n";
  }
  return text;
}

std::optional<int> RunCommandLine(int argc, char** argv) {
  if (argc < 2) return std::nullopt;
  const std::string_view command = argv[1];
  if (command == "--help" || command == "-h") {
    PrintUsage(stdout);
    return 0;
  }
  if (command == "--version") {
    std::printf("%s\n", kBaseCaption);
    return 0;
  }
  if (command == "--list-ports" && argc == 2) return ListPorts();
  if (command == "--export-csv") return ExportCsv(argc, argv);
  if (command == "--compare") return CompareParameters(argc, argv);
  // The window takes --trace FILE and one file to open; anything else is a mistake.
  int files = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == kTraceOption && i + 1 < argc) {
      ++i;
      continue;
    }
    if (arg.starts_with(kTraceOption) && arg.size() > kTraceOption.size() + 1 &&
        arg[kTraceOption.size()] == '=')
      continue;
    const bool option = arg.size() > 1 && arg[0] == '-';
    if (option || ++files > 1) {
      std::fprintf(stderr, "%s%s\n", UiText(1358).c_str(), argv[i]);
      PrintUsage(stderr);
      return 2;
    }
  }
  return std::nullopt;
}

std::string FileToOpen(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == kTraceOption) {
      ++i;
      continue;
    }
    if (!arg.empty() && arg[0] != '-') return std::string(arg);
  }
  return {};
}
