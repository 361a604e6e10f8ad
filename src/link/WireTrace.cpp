#include "link/WireTrace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <stdexcept>

#include "base/FailureText.h"
#include "base/UiText.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::string_view kTraceOption = "--trace";
constexpr int kCannotOpenFile = 702;

void AppendDigits(std::string& out, long value, int width) {
  char digits[8];
  for (int i = width - 1; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  out.append(digits, static_cast<std::size_t>(width));
}

// "2026-12-08 23:41:05.123 " in local time.
void AppendTimeStamp(std::string& out) {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  ::localtime_r(&now.tv_sec, &local);
  AppendDigits(out, local.tm_year + 1900L, 4);
  out += '-';
  AppendDigits(out, local.tm_mon + 1L, 2);
  out += '-';
  AppendDigits(out, local.tm_mday, 2);
  out += ' ';
  AppendDigits(out, local.tm_hour, 2);
  out += ':';
  AppendDigits(out, local.tm_min, 2);
  out += ':';
  AppendDigits(out, local.tm_sec, 2);
  out += '.';
  AppendDigits(out, now.tv_nsec / 1000000, 3);
  out += ' ';
}

std::string Hex(const std::uint8_t* bytes, int count) {
  std::string text;
  text.reserve(static_cast<std::size_t>(count) * 3);
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += ' ';
    text += kHexDigits[bytes[i] >> 4];
    text += kHexDigits[bytes[i] & 0x0F];
  }
  return text;
}

std::string PortName(int port) { return "COM" + std::to_string(port); }

}  // namespace

WireTrace::WireTrace(const std::string& path) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
  if (fd_ < 0) throw std::runtime_error(UiTextAndName(kCannotOpenFile, path) + ": " + FailureReason(errno));
  Note("trace started");
}

WireTrace::~WireTrace() {
  if (fd_ < 0) return;
  Note("trace ended");
  ::close(fd_);
}

void WireTrace::Sent(const std::uint8_t* bytes, int count) {
  if (count > 0) WriteLine("TX ", Hex(bytes, count));
}

void WireTrace::Received(const std::uint8_t* bytes, int count) {
  if (count > 0) WriteLine("RX ", Hex(bytes, count));
}

void WireTrace::Note(std::string_view text) { WriteLine("-- ", text); }

void WireTrace::WriteLine(std::string_view tag, std::string_view text) {
  std::string line;
  line.reserve(28 + tag.size() + text.size());
  AppendTimeStamp(line);
  line += tag;
  for (char c : text) line += (c == '\n' || c == '\r') ? ' ' : c;  // one event, one line
  line += '\n';
  std::string_view rest = line;
  while (!rest.empty()) {
    const ssize_t n = ::write(fd_, rest.data(), rest.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a full disk loses trace lines, never the link
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
}

std::string WireTrace::PathFromArguments(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == kTraceOption && i + 1 < argc) return argv[i + 1];
    if (arg.size() > kTraceOption.size() + 1 && arg.substr(0, kTraceOption.size()) == kTraceOption &&
        arg[kTraceOption.size()] == '=')
      return std::string(arg.substr(kTraceOption.size() + 1));
  }
  const char* fromEnvironment = std::getenv(kTraceVariable);
  return fromEnvironment != nullptr ? fromEnvironment : "";
}

TracedSerialPort::TracedSerialPort(std::unique_ptr<SerialPort> inner, std::shared_ptr<WireTrace> trace)
    : inner_(std::move(inner)),
      trace_(std::move(trace)),
      device_(dynamic_cast<const TVaComm*>(inner_.get())) {
  inner_->OnRxChar = [this](int count) {
    if (OnRxChar) {
      // A copy: the handler may close the port.
      const std::function<void(int)> handler = OnRxChar;
      handler(count);
    }
  };
}

TracedSerialPort::~TracedSerialPort() { inner_->OnRxChar = nullptr; }

void TracedSerialPort::Open() {
  try {
    inner_->Open();
  } catch (const EVaCommError& e) {
    trace_->Note(PortName(inner_->PortNum()) + " open failed: " + e.what());
    throw;
  }
  lossNoted_ = false;
  trace_->Note(PortName(inner_->PortNum()) + " opened" +
               (device_ != nullptr ? " (" + device_->DeviceName() + ")" : std::string()));
}

void TracedSerialPort::Close() {
  if (!inner_->Active()) return;
  // What arrived and was never taken is dropped by closing; the trace still shows it.
  std::uint8_t rest[256];
  for (int guard = 0; guard < 64 && inner_->ReadBufUsed() > 0; ++guard) {
    const int n = inner_->ReadBuf(rest, sizeof rest);
    if (n <= 0) break;
    trace_->Received(rest, n);
  }
  inner_->Close();
  trace_->Note(PortName(inner_->PortNum()) + " closed");
}

int TracedSerialPort::ReadBuf(std::uint8_t* buf, int count) {
  const int n = inner_->ReadBuf(buf, count);
  if (n > 0) trace_->Received(buf, n);
  return n;
}

void TracedSerialPort::NoteLoss() {
  if (lossNoted_ || !inner_->DeviceLost()) return;
  lossNoted_ = true;
  trace_->Note(PortName(inner_->PortNum()) + " device lost");
}

int TracedSerialPort::WriteBuf(const std::uint8_t* buf, int count) {
  NoteLoss();
  if (inner_->Active() && buf != nullptr && count > 0) trace_->Sent(buf, count);
  return inner_->WriteBuf(buf, count);
}
