#pragma once

#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "link/SerialPort.h"

// An in-memory serial port: the test feeds the bytes the controller sends and reads the
// frames the program wrote.
class FakeSerialPort : public SerialPort {
 public:
  void Open() override {
    if (open_) throw EVaCommError("Can't perform this operation while port is open");
    if (failOpen)
      throw EVaCommError("Unable to open specified device COM" + std::to_string(port_), failOpenError,
                         "/dev/ttyUSB" + std::to_string(port_ - 1));
    open_ = true;
    ++opens;
  }
  void Close() override {
    if (failClose) throw EVaCommError("close failed");
    open_ = false;
  }
  bool Active() const override { return open_; }
  int PortNum() const override { return port_; }
  void SetPortNum(int port) override {
    if (open_) throw EVaCommError("Can't perform this operation while port is open");
    port_ = port;
  }
  int ReadBufUsed() override { return open_ ? static_cast<int>(rx_.size()) : 0; }
  int ReadBuf(std::uint8_t* buf, int count) override {
    if (!open_) return 0;
    int n = 0;
    while (n < count && !rx_.empty()) {
      buf[n++] = rx_.front();
      rx_.pop_front();
    }
    return n;
  }
  int WriteBuf(const std::uint8_t* buf, int count) override {
    if (!open_) return 0;
    frames.emplace_back(buf, buf + count);
    if (acknowledgeWrites && count == 4 && buf[0] == 0xAA) Feed({0xAA, 0xAA});
    return count;
  }

  // Bytes from the controller; raises the received-data event like the real port.
  void Feed(const std::vector<std::uint8_t>& bytes, bool raiseEvent = true) {
    rx_.insert(rx_.end(), bytes.begin(), bytes.end());
    if (raiseEvent && OnRxChar) OnRxChar(static_cast<int>(rx_.size()));
  }
  std::size_t Waiting() const { return rx_.size(); }

  std::vector<std::vector<std::uint8_t>> frames;
  int opens = 0;
  bool failOpen = false;
  int failOpenError = 0;  // errno the failed open reports
  bool failClose = false;
  bool acknowledgeWrites = false;  // the controller acknowledges every parameter write at once

 private:
  bool open_ = false;
  int port_ = 1;
  std::deque<std::uint8_t> rx_;
};
