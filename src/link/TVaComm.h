#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "link/SerialPort.h"

// The serial port component on POSIX systems. COM ports 1..4 map to devices through a
// printf-like pattern whose single %d receives the port number minus one, set explicitly or
// by the environment variable ORV_COMM_PATTERN; without either, COM1..COM4 are the serial
// devices present when the port is opened, USB adapters first (PortMapping.h).
//
// While open, two threads of its own run: the event thread moves received bytes from the
// device into the component's receive queue and hands a received-data event to the main
// thread through the dispatcher whenever new bytes have come, blocking until the main
// thread has run it (so at most one event is ever in flight), and the writer thread drains
// the transmit buffer to the device so that WriteBuf never waits for the line.
//
// All operations are called on the main thread; OnRxChar is raised there.
class TVaComm : public SerialPort {
 public:
  // Posts a callable to the main thread and returns at once. Called from the event thread.
  using Dispatcher = std::function<void(std::function<void()>)>;

  static constexpr const char* kDefaultDevicePattern = "/dev/ttyS%d";
  static constexpr const char* kDevicePatternVariable = "ORV_COMM_PATTERN";
  static constexpr int kDefaultWriteSize = 2048;
  static constexpr std::chrono::milliseconds kDefaultWriteTimeout{1000};

  // devicePattern empty: ORV_COMM_PATTERN when set and not empty, else the devices present,
  // looked up at every Open; a port beyond them is "/dev/ttyS%d" (which then fails to open). writeSize is the
  // transmit buffer's capacity, writeTimeout how long a write waits for room in it.
  explicit TVaComm(Dispatcher dispatcher, std::string devicePattern = {}, int writeSize = kDefaultWriteSize,
                   std::chrono::milliseconds writeTimeout = kDefaultWriteTimeout);
  ~TVaComm() override;

  TVaComm(const TVaComm&) = delete;
  TVaComm& operator=(const TVaComm&) = delete;

  void Open() override;
  void Close() override;
  bool Active() const override;

  int PortNum() const override;
  void SetPortNum(int port) override;

  const std::string& DevicePattern() const;
  void SetDevicePattern(std::string pattern);  // throws EVaCommError while open
  // The folder searched for present devices ("/dev"); tests use a fake tree.
  void SetDeviceRoot(std::string root) { deviceRoot_ = std::move(root); }
  // The device the current port number maps to; empty when the pattern is not valid.
  std::string DeviceName() const;

  int ReadBufUsed() override;
  int ReadBuf(std::uint8_t* buf, int count) override;
  int WriteBuf(const std::uint8_t* buf, int count) override;

  // True once the open device has hung up or failed (a USB adapter pulled out, the far
  // end of a pseudo-terminal closed). The port stays open and silent until closed.
  bool DeviceLost() const override;

  // Inserts index into a pattern with exactly one %d; "%%" stands for a percent sign and
  // any other % makes the pattern invalid (nullopt). Never hands the pattern to printf.
  static std::optional<std::string> FormatDeviceName(std::string_view pattern, long long index);

 private:
  struct EventGate;

  // Capacity of the receive queue: the event thread stops taking bytes from the device
  // while it is full (the kernel keeps further ones) and goes on once ReadBuf makes room.
  static constexpr std::size_t kReadSize = 4096;

  // What one look at the device found.
  enum class DrainResult { kOk, kFull, kLost };

  void CloseDevice();
  void StopThreads();
  [[noreturn]] void Fail(const char* what, int error);  // closes the device, then throws
  void EventThread(std::shared_ptr<EventGate> gate);
  void WriterThread();
  // Event thread: moves everything waiting on the device into the receive queue.
  DrainResult DrainDevice();
  // Event thread: waits until ReadBuf has made room in the full queue; false when stopping.
  bool WaitForRoom();
  bool PostAndWait(const std::shared_ptr<EventGate>& gate, std::uint64_t& reported);
  static void RunPostedEvent(const std::weak_ptr<EventGate>& weakGate);
  // Main thread: raises OnRxChar; sets reported to the bytes received up to its count.
  void DoEvent(std::uint64_t& reported);
  void MarkLost();

  Dispatcher dispatcher_;
  std::string devicePattern_;
  std::string deviceRoot_ = "/dev";
  int portNum_ = 1;
  const int writeSize_;
  const std::chrono::milliseconds writeTimeout_;

  int fd_ = -1;
  int wakeFd_ = -1;  // eventfd, signalled once to stop both threads
  std::atomic<bool> lost_{false};
  std::shared_ptr<EventGate> gate_;
  std::thread eventThread_;
  std::thread writerThread_;

  // Receive queue: the event thread appends what the device delivers, ReadBuf takes from
  // the front. Only the event thread reads the device.
  std::mutex readLock_;
  std::condition_variable roomMade_;
  std::vector<std::uint8_t> rxBuf_ = std::vector<std::uint8_t>(kReadSize);
  std::size_t rxFill_ = 0;
  std::uint64_t rxArrived_ = 0;  // bytes put into the queue since Open
  bool readerStop_ = false;

  // Transmit buffer, owned by the writer thread; WriteBuf appends.
  std::mutex writeLock_;
  std::condition_variable dataReady_;
  std::condition_variable roomFreed_;
  std::vector<std::uint8_t> txBuf_;
  std::size_t txFill_ = 0;
  bool writerStop_ = false;
};
