#pragma once

#include <optional>
#include <string>

#include "model/PageAndMode.h"
#include "model/ParameterBlock.h"

inline constexpr const char* kBaseCaption = "MERVOLANTE LPG V1.61";

// What the main window shows for a connection mode: its caption, which page buttons are
// there besides the set-up page's, the page the mode selects, and the warning about a
// controller or file newer than the program.
struct ConnectionModeLook {
  std::string caption;
  bool paramVisible = false;
  bool configVisible = false;
  bool mapVisible = false;
  bool upgVisible = false;
  bool procVisible = false;
  std::optional<Page> page;
  std::optional<std::string> versionWarning;
};

// `openedFileName` names the parameter file or recording of the file mode; the map and
// firmware pages can be withheld by the parameters' presence mask outside the service mode.
ConnectionModeLook LookOfConnectionMode(ConnectionMode mode, const ParameterBlock& block, bool serviceMode,
                                        const std::string& openedFileName);
