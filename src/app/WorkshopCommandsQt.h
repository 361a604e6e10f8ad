#pragma once

#include <optional>

// The workshop's commands, run without a window through the same link engine, serial port,
// files and firmware dialogue as the window:
//   --report FILE.orvp [OUT.pdf]         the service report of a parameter file
//   --read OUT.orvp                      connect, read every parameter, write the file
//   --write IN.orvp [--yes]              connect, show what changes, back up, write, check
//   --record SECONDS OUT.orvv            poll live data and write a recording
//   --program IMAGE.img [--yes]          the firmware run of the firmware page
// with --port COMn (the settings' port otherwise) and --trace FILE. Exit status:
//   0 done; 1 the job did not complete (declined, not held, the run failed, a file was not
//   written); 2 a mistake in the command or an input file that cannot be used; 3 no
//   controller answered, or it stopped answering.
// Returns nothing when argv is none of these commands.
std::optional<int> RunWorkshopCommand(int argc, char** argv);
