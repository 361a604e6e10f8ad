#pragma once

// The pages of the main window, numbered as the page buttons are: the set-up page, the
// parameters, the configuration (the wizard's page), the map, the three processor views
// (port, SRAM, EEPROM) and the firmware page.
enum class Page { Setup, Parameters, Configuration, Map, Port, Sram, Eeprom, Firmware };

// How the program is connected: to nothing, to a parameter file, to a controller, to a
// tester, or to a controller's loader only.
enum class ConnectionMode { None, File, Controller, Tester, Loader };

constexpr int PageNumber(Page page) { return static_cast<int>(page); }
constexpr int ModeNumber(ConnectionMode mode) { return static_cast<int>(mode); }
