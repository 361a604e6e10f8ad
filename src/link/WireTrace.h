#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "link/SerialPort.h"
#include "link/TVaComm.h"

// The wire trace for the field: a text file with one line per frame sent, per group of
// bytes received and per change of the link (port opened or closed, an open refused, the
// log's connection lines, the connection mode). Each line is written with one system call
// as it happens, so the file is complete up to the last event even if the program dies.
//
//   2026-12-08 23:41:05.123 TX 55 00 55
//   2026-12-08 23:41:05.141 RX 55 00 64 B9
//   2026-12-08 23:41:06.902 -- COM1 open failed: Unable to open specified device ...
class WireTrace {
 public:
  // The environment variable that names the trace file when --trace is not given.
  static constexpr const char* kTraceVariable = "ORV_TRACE";

  // Creates (or empties) the file. Throws std::runtime_error with the system's reason when
  // it cannot be written.
  explicit WireTrace(const std::string& path);
  ~WireTrace();

  WireTrace(const WireTrace&) = delete;
  WireTrace& operator=(const WireTrace&) = delete;

  void Sent(const std::uint8_t* bytes, int count);
  void Received(const std::uint8_t* bytes, int count);
  void Note(std::string_view text);  // a "--" line

  // The file name of the command line's --trace FILE (also --trace=FILE), else of
  // ORV_TRACE; empty when neither is given.
  static std::string PathFromArguments(int argc, const char* const* argv);

 private:
  void WriteLine(std::string_view tag, std::string_view text);

  int fd_ = -1;
};

// A serial port that writes what passes through it to a wire trace: frames handed to
// WriteBuf, bytes taken by ReadBuf (which the link does for every byte that arrives), and
// opening and closing, and a serial device that has gone away (noticed at the next write).
// Everything else is the inner port's.
class TracedSerialPort : public SerialPort {
 public:
  TracedSerialPort(std::unique_ptr<SerialPort> inner, std::shared_ptr<WireTrace> trace);
  ~TracedSerialPort() override;

  void Open() override;
  void Close() override;
  bool Active() const override { return inner_->Active(); }
  int PortNum() const override { return inner_->PortNum(); }
  void SetPortNum(int port) override { inner_->SetPortNum(port); }
  int ReadBufUsed() override { return inner_->ReadBufUsed(); }
  int ReadBuf(std::uint8_t* buf, int count) override;
  int WriteBuf(const std::uint8_t* buf, int count) override;
  bool DeviceLost() const override { return inner_->DeviceLost(); }

  SerialPort& Inner() { return *inner_; }

 private:
  void NoteLoss();

  std::unique_ptr<SerialPort> inner_;
  std::shared_ptr<WireTrace> trace_;
  const TVaComm* device_ = nullptr;  // the inner port when it is a serial device
  bool lossNoted_ = false;
};
