#pragma once

// The simulator's end of the serial line: a pseudo-terminal whose slave side is linked where
// the program looks for its COM port.

#include <optional>
#include <string>
#include <string_view>

namespace sim {

// The device path for a COM port: the single %d of the pattern receives `index` (the port
// number minus one); "%%" stands for a percent sign. Empty when the pattern has no %d or more
// than one.
std::optional<std::string> ExpandPortPattern(std::string_view pattern, int index);

class PtyLine {
 public:
  PtyLine() = default;
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;
  ~PtyLine();

  // Opens the master (non-blocking) and one slave descriptor that stays open for the whole
  // run, so the master never sees a hang-up when the program closes and reopens its port.
  // The line is put in raw mode at 4800 baud.
  bool Open(std::string& error);
  // Points `path` at the slave device, replacing an earlier symbolic link atomically. A path
  // that exists and is not a symbolic link is never replaced.
  bool Link(const std::string& path, std::string& error);
  // Removes the link when it still points at this line.
  void Unlink();
  // Closes both descriptors (the program then sees the device vanish).
  void Close();

  int MasterFd() const { return master_; }
  const std::string& SlaveName() const { return slaveName_; }
  const std::string& LinkPath() const { return linkPath_; }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slaveName_;
  std::string linkPath_;
};

}  // namespace sim
