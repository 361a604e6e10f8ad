#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

// Every failure of the serial component is raised as EVaCommError with a text such as
// "Unable to open specified device /dev/ttyS2 (2), No such file or directory".
class EVaCommError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  EVaCommError(const std::string& text, int error, std::string device)
      : std::runtime_error(text), error_(error), device_(std::move(device)) {}
  int Error() const { return error_; }                   // errno of a failed open; 0 otherwise
  const std::string& Device() const { return device_; }  // the device that failed to open

 private:
  int error_ = 0;
  std::string device_;
};

// What the link needs of a serial port: the operations the program calls and the
// received-data event. TVaComm is the POSIX implementation; tests use an in-memory fake.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  virtual void Open() = 0;   // throws EVaCommError; the port is closed again on failure
  virtual void Close() = 0;  // no effect when closed
  virtual bool Active() const = 0;

  virtual int PortNum() const = 0;
  virtual void SetPortNum(int port) = 0;  // throws EVaCommError while open

  virtual int ReadBufUsed() = 0;                                 // 0 when closed
  virtual int ReadBuf(std::uint8_t* buf, int count) = 0;         // what is waiting, up to count
  virtual int WriteBuf(const std::uint8_t* buf, int count) = 0;  // 0 when closed

  // True once the open device has gone away (a USB adapter pulled out); only opening it
  // again can bring it back.
  virtual bool DeviceLost() const { return false; }

  // Raised on the main thread when bytes have arrived; the count is only a hint.
  std::function<void(int count)> OnRxChar;
};

// A port that hands everything to an inner port and passes the inner port's received-data
// events on through RxChar. A wrapper that watches or adds to the traffic overrides what it
// needs. The inner port must outlive it.
class ForwardingSerialPort : public SerialPort {
 public:
  explicit ForwardingSerialPort(SerialPort& inner) : inner_(inner) {
    inner_.OnRxChar = [this](int count) { RxChar(count); };
  }
  ~ForwardingSerialPort() override { inner_.OnRxChar = nullptr; }
  ForwardingSerialPort(const ForwardingSerialPort&) = delete;
  ForwardingSerialPort& operator=(const ForwardingSerialPort&) = delete;

  void Open() override { inner_.Open(); }
  void Close() override { inner_.Close(); }
  bool Active() const override { return inner_.Active(); }
  int PortNum() const override { return inner_.PortNum(); }
  void SetPortNum(int port) override { inner_.SetPortNum(port); }
  int ReadBufUsed() override { return inner_.ReadBufUsed(); }
  int ReadBuf(std::uint8_t* buf, int count) override { return inner_.ReadBuf(buf, count); }
  int WriteBuf(const std::uint8_t* buf, int count) override { return inner_.WriteBuf(buf, count); }
  bool DeviceLost() const override { return inner_.DeviceLost(); }

 protected:
  virtual void RxChar(int count) {
    if (OnRxChar) OnRxChar(count);
  }
  SerialPort& Inner() const { return inner_; }

 private:
  SerialPort& inner_;
};
