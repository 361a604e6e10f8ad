#pragma once

#include <optional>
#include <string>
#include <vector>

// Without ORV_COMM_PATTERN the ports COM1 to COM4 stand for the serial devices present when
// a port is opened, in a stable order: USB adapters first, by their names under
// /dev/serial/by-id/ (so one adapter keeps its number whatever its ttyUSB index is), then
// adapters that have no such name (/dev/ttyUSB*, /dev/ttyACM*, by number), then the
// built-in ports /dev/ttyS0, /dev/ttyS1, ... The folder is a parameter so that tests can
// use a fake tree.
std::vector<std::string> PresentSerialDevices(const std::string& devRoot = "/dev");

// The device of COM port (1-based) in that order; nothing when fewer devices are present.
std::optional<std::string> MappedSerialDevice(int port, const std::string& devRoot = "/dev");
