#pragma once

#include <optional>
#include <string>

// The program's commands that run without a window:
//   -h, --help                                  the usage, every option on a line
//   --version                                   the program's name and version
//   --list-ports                                which device each of COM1..COM4 opens now
//   --export-csv RECORDING.orvv [OUT.csv]       a recording as CSV
//   --compare A.orvp B.orvp                     the parameter rows whose values differ
// Returns the exit status when argv is one of them, nothing when the window is to start (with
// --trace FILE and one file to open at most). An unknown option prints the usage and gives 2.
std::optional<int> RunCommandLine(int argc, char** argv);

// The parameter file or recording the window is to open at start (the file manager's %f);
// empty when none is named.
std::string FileToOpen(int argc, char** argv);

// What --list-ports prints: a line for each of COM1..COM4 with the device it opens now,
// marked when it is not there, and a USB adapter's name under devRoot/serial/by-id.
std::string PortList(const std::string& devRoot);
