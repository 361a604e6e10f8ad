#include "link/TVaComm.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <utility>

#include "link/PortMapping.h"

namespace {

constexpr const char* kPortIsOpen = "Can't perform this operation while port is open";
constexpr const char* kOutputFull = "Output buffer is full. Please check comm status.";

std::string Number(long long value) {
  char digits[24];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  (void)ec;
  return std::string(digits, end);
}

// "<what> (<code>), <system text>"
std::string ErrorText(const char* what, int error) {
  return std::string(what) + " (" + Number(error) + "), " + std::generic_category().message(error);
}

std::string OpenErrorText(const std::string& device, int error) {
  return "Unable to open specified device " + device + " (" + Number(error) + "), " +
         std::generic_category().message(error);
}

}  // namespace

// The hand-off of received-data events between the event thread and the main thread. The
// callable posted to the main thread holds it only weakly, so a callable that runs after
// Close, or after the component is gone, finds it released or stopped and does nothing.
struct TVaComm::EventGate {
  std::mutex lock;
  std::condition_variable changed;
  bool stop = false;
  bool pending = false;        // an event is posted and has not run yet
  std::uint64_t reported = 0;  // bytes received up to the last event's measurement
  TVaComm* owner = nullptr;    // cleared by Close
};

TVaComm::TVaComm(Dispatcher dispatcher, std::string devicePattern, int writeSize,
                 std::chrono::milliseconds writeTimeout)
    : dispatcher_(std::move(dispatcher)),
      devicePattern_(std::move(devicePattern)),
      writeSize_(writeSize > 0 ? writeSize : kDefaultWriteSize),
      writeTimeout_(writeTimeout.count() >= 0 ? writeTimeout : kDefaultWriteTimeout) {}

TVaComm::~TVaComm() {
  try {
    Close();
  } catch (...) {
  }
}

bool TVaComm::Active() const { return fd_ >= 0; }

int TVaComm::PortNum() const { return portNum_; }

void TVaComm::SetPortNum(int port) {
  if (Active()) throw EVaCommError(kPortIsOpen);
  portNum_ = port;
}

const std::string& TVaComm::DevicePattern() const { return devicePattern_; }

void TVaComm::SetDevicePattern(std::string pattern) {
  if (Active()) throw EVaCommError(kPortIsOpen);
  devicePattern_ = std::move(pattern);
}

namespace {

// The explicit pattern, else ORV_COMM_PATTERN; empty when neither is set.
std::string GivenPattern(const std::string& explicitPattern) {
  if (!explicitPattern.empty()) return explicitPattern;
  const char* fromEnvironment = std::getenv(TVaComm::kDevicePatternVariable);
  if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
  return {};
}

long long DeviceIndex(int portNum) { return static_cast<long long>(portNum) - 1; }

}  // namespace

std::string TVaComm::DeviceName() const {
  const std::string pattern = GivenPattern(devicePattern_);
  if (pattern.empty()) {
    if (auto present = MappedSerialDevice(portNum_, deviceRoot_)) return *present;
    return FormatDeviceName(kDefaultDevicePattern, DeviceIndex(portNum_)).value_or(std::string());
  }
  return FormatDeviceName(pattern, DeviceIndex(portNum_)).value_or(std::string());
}

std::optional<std::string> TVaComm::FormatDeviceName(std::string_view pattern, long long index) {
  std::string name;
  bool inserted = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '\0') return std::nullopt;
    if (c != '%') {
      name += c;
      continue;
    }
    if (++i == pattern.size()) return std::nullopt;
    if (pattern[i] == '%') {
      name += '%';
    } else if (pattern[i] == 'd' && !inserted) {
      name += Number(index);
      inserted = true;
    } else {
      return std::nullopt;
    }
  }
  if (!inserted) return std::nullopt;
  return name;
}

bool TVaComm::DeviceLost() const { return lost_.load(); }

void TVaComm::MarkLost() { lost_.store(true); }

void TVaComm::Open() {
  if (Active()) throw EVaCommError(kPortIsOpen);

  const std::string device = DeviceName();
  if (device.empty()) throw EVaCommError(OpenErrorText(GivenPattern(devicePattern_), EINVAL));

  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw EVaCommError(OpenErrorText(device, errno), errno, device);
  // TIOCEXCL keeps other users out but not root; the lock refuses every second opener that
  // goes through this component, in this process or another. A port held by another
  // opener reports EBUSY whichever of the two refused it.
  ::ioctl(fd, TIOCEXCL);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) error = EBUSY;
    throw EVaCommError(OpenErrorText(device, error), error, device);
  }
  fd_ = fd;

  termios settings{};
  if (::tcgetattr(fd_, &settings) != 0) Fail("Error writing dcb", errno);
  ::cfmakeraw(&settings);
  settings.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
  settings.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  settings.c_cc[VSTART] = 17;
  settings.c_cc[VSTOP] = 19;
  if (::cfsetispeed(&settings, B4800) != 0 || ::cfsetospeed(&settings, B4800) != 0)
    Fail("Error writing dcb", errno);
  if (::tcsetattr(fd_, TCSANOW, &settings) != 0) Fail("Error writing dcb", errno);

  // DTR and RTS inactive. Pseudo-terminals have no modem lines and refuse the request.
  int lines = TIOCM_DTR | TIOCM_RTS;
  if (::ioctl(fd_, TIOCMBIC, &lines) != 0 && errno != ENOTTY && errno != EINVAL)
    Fail("Error calling comm function", errno);

  if (::tcflush(fd_, TCIOFLUSH) != 0) Fail("Error initializing buffers", errno);

  wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd_ < 0) {
    const int error = errno;
    CloseDevice();
    throw EVaCommError(OpenErrorText(device, error), error, device);
  }

  lost_.store(false);
  {
    std::lock_guard<std::mutex> guard(readLock_);
    rxFill_ = 0;
    rxArrived_ = 0;
    readerStop_ = false;
  }
  {
    std::lock_guard<std::mutex> guard(writeLock_);
    txBuf_.assign(static_cast<std::size_t>(writeSize_), 0);
    txFill_ = 0;
    writerStop_ = false;
  }
  gate_ = std::make_shared<EventGate>();
  gate_->owner = this;
  try {
    eventThread_ = std::thread(&TVaComm::EventThread, this, gate_);
    writerThread_ = std::thread(&TVaComm::WriterThread, this);
  } catch (const std::system_error& e) {
    StopThreads();
    CloseDevice();
    throw EVaCommError(OpenErrorText(device, e.code().value()));
  }
}

void TVaComm::Fail(const char* what, int error) {
  CloseDevice();
  throw EVaCommError(ErrorText(what, error));
}

void TVaComm::CloseDevice() {
  if (fd_ >= 0) ::close(fd_);
  if (wakeFd_ >= 0) ::close(wakeFd_);
  fd_ = -1;
  wakeFd_ = -1;
}

void TVaComm::StopThreads() {
  if (gate_) {
    {
      std::lock_guard<std::mutex> guard(gate_->lock);
      gate_->stop = true;
      gate_->owner = nullptr;
    }
    gate_->changed.notify_all();
  }
  {
    std::lock_guard<std::mutex> guard(readLock_);
    readerStop_ = true;
  }
  roomMade_.notify_all();
  {
    std::lock_guard<std::mutex> guard(writeLock_);
    writerStop_ = true;
  }
  dataReady_.notify_all();
  roomFreed_.notify_all();
  if (wakeFd_ >= 0) {
    const std::uint64_t one = 1;
    while (::write(wakeFd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
  }
  if (eventThread_.joinable()) eventThread_.join();
  if (writerThread_.joinable()) writerThread_.join();
  gate_.reset();
}

void TVaComm::Close() {
  if (!Active()) return;
  StopThreads();
  // Bytes still queued for the line are dropped: a closing tty would otherwise wait for
  // them to drain at 4800 baud.
  ::tcflush(fd_, TCOFLUSH);
  ::ioctl(fd_, TIOCNXCL);
  CloseDevice();
  lost_.store(false);
  {
    std::lock_guard<std::mutex> guard(readLock_);
    rxFill_ = 0;
  }
  std::lock_guard<std::mutex> guard(writeLock_);
  txFill_ = 0;
}

int TVaComm::ReadBufUsed() {
  if (!Active()) return 0;
  std::lock_guard<std::mutex> guard(readLock_);
  return static_cast<int>(rxFill_);
}

// Takes from the receive queue only. Bytes still in the device are not missed: the event
// thread moves them into the queue at its next look and reports them with an event.
int TVaComm::ReadBuf(std::uint8_t* buf, int count) {
  if (!Active() || buf == nullptr || count <= 0) return 0;
  bool wasFull = false;
  std::size_t n = 0;
  {
    std::lock_guard<std::mutex> guard(readLock_);
    n = std::min(rxFill_, static_cast<std::size_t>(count));
    if (n == 0) return 0;
    wasFull = rxFill_ == rxBuf_.size();
    std::memcpy(buf, rxBuf_.data(), n);
    std::memmove(rxBuf_.data(), rxBuf_.data() + n, rxFill_ - n);
    rxFill_ -= n;
  }
  if (wasFull) roomMade_.notify_all();
  return static_cast<int>(n);
}

int TVaComm::WriteBuf(const std::uint8_t* buf, int count) {
  if (!Active() || buf == nullptr || count <= 0) return 0;
  const auto n = static_cast<std::size_t>(count);
  // More than the whole buffer can never fit, however long the line drains.
  if (n > txBuf_.size()) throw EVaCommError(kOutputFull);
  std::unique_lock<std::mutex> lock(writeLock_);
  const auto deadline = std::chrono::steady_clock::now() + writeTimeout_;
  if (!roomFreed_.wait_until(lock, deadline, [&] { return txFill_ + n <= txBuf_.size(); }))
    throw EVaCommError(kOutputFull);
  std::memcpy(txBuf_.data() + txFill_, buf, n);
  txFill_ += n;
  lock.unlock();
  dataReady_.notify_one();
  return count;
}

void TVaComm::WriterThread() {
  std::vector<std::uint8_t> chunk(txBuf_.size());
  const auto dropPending = [this] {
    // The device no longer takes bytes; the controller simply hears nothing.
    {
      std::lock_guard<std::mutex> guard(writeLock_);
      txFill_ = 0;
    }
    roomFreed_.notify_all();
  };
  for (;;) {
    std::size_t n = 0;
    {
      std::unique_lock<std::mutex> lock(writeLock_);
      dataReady_.wait(lock, [this] { return writerStop_ || txFill_ > 0; });
      if (writerStop_) return;
      n = txFill_;
      std::memcpy(chunk.data(), txBuf_.data(), n);
    }
    pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {fd_, POLLOUT, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      dropPending();
      continue;
    }
    if (fds[0].revents != 0) return;
    const short events = fds[1].revents;
    if ((events & POLLNVAL) != 0) {
      MarkLost();
      dropPending();
      continue;
    }
    const ssize_t written = ::write(fd_, chunk.data(), n);
    if (written > 0) {
      const auto done = static_cast<std::size_t>(written);
      {
        std::lock_guard<std::mutex> guard(writeLock_);
        std::memmove(txBuf_.data(), txBuf_.data() + done, txFill_ - done);
        txFill_ -= done;
      }
      roomFreed_.notify_all();
      continue;
    }
    const int error = written < 0 ? errno : 0;
    const bool hungUp = (events & (POLLHUP | POLLERR)) != 0;
    if ((error == EAGAIN || error == EWOULDBLOCK || error == EINTR) && !hungUp) continue;
    MarkLost();
    dropPending();
  }
}

void TVaComm::EventThread(std::shared_ptr<EventGate> gate) {
  std::uint64_t reported = 0;  // bytes received up to the last event's count
  bool lost = false;
  for (;;) {
    const DrainResult drained = DrainDevice();
    if (drained == DrainResult::kLost) lost = true;
    std::uint64_t arrived = 0;
    {
      std::lock_guard<std::mutex> guard(readLock_);
      arrived = rxArrived_;
    }
    if (arrived > reported) {
      if (!PostAndWait(gate, reported)) return;
      continue;
    }
    // A device that has gone away keeps reporting it; once what it delivered before is
    // reported, stop watching it and leave the port silent.
    if (lost) {
      MarkLost();
      break;
    }
    if (drained == DrainResult::kFull) {
      if (!WaitForRoom()) return;
      continue;
    }
    // Unread bytes wait in the queue, not in the device, so the device becomes readable
    // only when new bytes arrive: no timeout is needed.
    pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {fd_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[0].revents != 0) return;
    if ((fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) lost = true;
  }
  std::unique_lock<std::mutex> lock(gate->lock);
  gate->changed.wait(lock, [&] { return gate->stop; });
}

TVaComm::DrainResult TVaComm::DrainDevice() {
  std::uint8_t chunk[kReadSize];
  for (;;) {
    // Only this thread appends, so the room can only grow while the lock is released.
    std::size_t room = 0;
    {
      std::lock_guard<std::mutex> guard(readLock_);
      room = rxBuf_.size() - rxFill_;
    }
    if (room == 0) return DrainResult::kFull;
    const ssize_t got = ::read(fd_, chunk, room);
    if (got < 0) {
      const int error = errno;
      if (error == EINTR) continue;
      if (error == EAGAIN || error == EWOULDBLOCK) return DrainResult::kOk;
      return DrainResult::kLost;  // EIO: the device has gone away
    }
    // With VMIN and VTIME 0 a read of nothing waiting returns 0; a hung-up device is
    // recognised by poll().
    if (got == 0) return DrainResult::kOk;
    const auto n = static_cast<std::size_t>(got);
    {
      std::lock_guard<std::mutex> guard(readLock_);
      std::memcpy(rxBuf_.data() + rxFill_, chunk, n);
      rxFill_ += n;
      rxArrived_ += n;
    }
    // A terminal read returns everything waiting up to the count asked, so a short read
    // has emptied the device.
    if (n < room) return DrainResult::kOk;
  }
}

bool TVaComm::WaitForRoom() {
  std::unique_lock<std::mutex> lock(readLock_);
  roomMade_.wait(lock, [this] { return readerStop_ || rxFill_ < rxBuf_.size(); });
  return !readerStop_;
}

bool TVaComm::PostAndWait(const std::shared_ptr<EventGate>& gate, std::uint64_t& reported) {
  {
    std::lock_guard<std::mutex> guard(gate->lock);
    if (gate->stop) return false;
    gate->pending = true;
  }
  try {
    dispatcher_([weakGate = std::weak_ptr<EventGate>(gate)] { RunPostedEvent(weakGate); });
  } catch (...) {
    std::lock_guard<std::mutex> guard(gate->lock);
    gate->pending = false;
    return false;
  }
  std::unique_lock<std::mutex> lock(gate->lock);
  gate->changed.wait(lock, [&] { return gate->stop || !gate->pending; });
  if (gate->stop) return false;
  reported = gate->reported;
  return true;
}

void TVaComm::RunPostedEvent(const std::weak_ptr<EventGate>& weakGate) {
  const std::shared_ptr<EventGate> gate = weakGate.lock();
  if (!gate) return;
  TVaComm* owner = nullptr;
  std::uint64_t reported = 0;
  {
    std::lock_guard<std::mutex> guard(gate->lock);
    if (gate->stop || !gate->pending) return;
    owner = gate->owner;
    reported = gate->reported;
  }
  // Releases the event thread however the handler ends (it may throw, close the port or
  // destroy the component); touches only the gate.
  struct Release {
    EventGate& gate;
    std::uint64_t reported;
    ~Release() {
      {
        std::lock_guard<std::mutex> guard(gate.lock);
        gate.pending = false;
        gate.reported = reported;
      }
      gate.changed.notify_all();
    }
  } release{*gate, reported};
  owner->DoEvent(release.reported);
}

void TVaComm::DoEvent(std::uint64_t& reported) {
  // The event thread waits for this event to finish, so the queue only shrinks (by
  // ReadBuf) until then; bytes arriving meanwhile stay in the device for the next event.
  int count = 0;
  {
    std::lock_guard<std::mutex> guard(readLock_);
    count = static_cast<int>(rxFill_);
    reported = rxArrived_;
  }
  if (count > 0 && OnRxChar) {
    // A copy: the handler may close or even destroy this component.
    const std::function<void(int)> handler = OnRxChar;
    handler(count);
  }
}
