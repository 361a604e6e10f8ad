#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/UiText.h"
#include "link/PortMapping.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

// A fake /dev: plain files stand for the device nodes, by-id entries are links to them.
class FakeDev {
 public:
  explicit FakeDev(const fs::path& root) : root_(root) {}
  std::string Device(const std::string& name) {
    std::ofstream(root_ / name).put('\0');
    return (root_ / name).string();
  }
  void ById(const std::string& id, const std::string& device) {
    fs::create_directories(root_ / "serial" / "by-id");
    fs::create_symlink("../../" + device, root_ / "serial" / "by-id" / id);
  }
  std::string Path(const std::string& name) const { return (root_ / name).string(); }
  std::string Root() const { return root_.string(); }

 private:
  fs::path root_;
};

TEST(PortMapping, adaptersComeFirstByTheirIdNamesThenBuiltInPortsByNumber) {
  TempFolder folder;
  FakeDev dev(fs::path(folder.Path()));
  for (const char* name :
       {"ttyS10", "ttyS2", "ttyS0", "ttyUSB1", "ttyUSB0", "ttyACM0", "ttyUSB7", "tty0", "ttySX"})
    dev.Device(name);
  // The adapter on ttyUSB1 sorts first by its id, whatever its number.
  dev.ById("usb-FTDI_FT232R_A900-if00-port0", "ttyUSB1");
  dev.ById("usb-Prolific_2303-if00-port0", "ttyUSB0");
  dev.ById("usb-gone-if00", "ttyUSB9");  // a stale link to a device that is not there

  const std::vector<std::string> expected{
      dev.Path("ttyUSB1"), dev.Path("ttyUSB0"), dev.Path("ttyUSB7"), dev.Path("ttyACM0"),
      dev.Path("ttyS0"),   dev.Path("ttyS2"),   dev.Path("ttyS10"),
  };
  EXPECT_EQ(PresentSerialDevices(dev.Root()), expected);
  EXPECT_EQ(MappedSerialDevice(1, dev.Root()), dev.Path("ttyUSB1"));
  EXPECT_EQ(MappedSerialDevice(4, dev.Root()), dev.Path("ttyACM0"));
  EXPECT_EQ(MappedSerialDevice(0, dev.Root()), std::nullopt);
  EXPECT_EQ(MappedSerialDevice(8, dev.Root()), std::nullopt);
}

TEST(PortMapping, noDevicesOrNoFolderMapNothing) {
  TempFolder folder;
  EXPECT_TRUE(PresentSerialDevices(folder.Path()).empty());
  EXPECT_TRUE(PresentSerialDevices(folder / "missing").empty());
  EXPECT_EQ(MappedSerialDevice(1, folder.Path()), std::nullopt);
}

// The port list names each device, marks one that is not there and gives an adapter's name
// under serial/by-id.
TEST(PortMapping, thePortListMarksAbsentDevicesAndNamesAdapters) {
  TempFolder folder;
  FakeDev dev(fs::path(folder.Path()));
  dev.Device("ttyUSB0");
  dev.Device("ttyS0");
  dev.ById("usb-FTDI_FT232R_USB_UART_A10KZP45-if00-port0", "ttyUSB0");
  const struct {
    int port;
    std::string device, line;
  } cases[] = {
      {1, dev.Path("ttyUSB0"),
       "COM1  " + dev.Path("ttyUSB0") + "  usb-FTDI_FT232R_USB_UART_A10KZP45-if00-port0"},
      {2, dev.Path("ttyS0"), "COM2  " + dev.Path("ttyS0")},
      {3, dev.Path("ttyS2"), "COM3  " + dev.Path("ttyS2") + "  (" + UiText(1340) + ")"},
      {4, "", "COM4  -  (" + UiText(1340) + ")"},
  };
  for (const auto& c : cases) EXPECT_EQ(PortListLine(c.port, c.device, dev.Root()), c.line);
}

}  // namespace
