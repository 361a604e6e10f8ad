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

// The name under devRoot/serial/by-id/ (an adapter's maker, model and serial number) that
// stands for device; empty when there is none.
std::string SerialByIdName(const std::string& device, const std::string& devRoot = "/dev");

// One line of the port list: "COM1  /dev/ttyUSB0  usb-FTDI_FT232R_A1B2-if00-port0", or the
// device marked as not present.
std::string PortListLine(int port, const std::string& device, const std::string& devRoot = "/dev");

// The name of the group that owns device; empty when it cannot be told.
std::string DeviceGroupName(const std::string& device);

// The log line that says in the fitter's words why device did not open (error is the errno
// value): no such device (check the cable and the port chosen), held by another program, or
// no permission, with the dialout advice only when the device belongs to that group.
std::string PortFailureLine(const std::string& device, int error, const std::string& group);
