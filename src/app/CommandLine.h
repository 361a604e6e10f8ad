#pragma once

#include <optional>

// The program's commands that run without a window:
//   --list-ports                                which device each of COM1..COM4 opens now
//   --export-csv RECORDING.orvv [OUT.csv]       a recording as CSV
//   --compare A.orvp B.orvp                     the parameter rows whose values differ
// Returns the exit status when argv is one of them, nothing when the window is to start.
std::optional<int> RunCommandLine(int argc, char** argv);
