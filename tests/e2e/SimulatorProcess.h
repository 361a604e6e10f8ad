#pragma once

// Runs the controller simulator program as a child process on a pseudo-terminal of its own,
// in a private temporary folder, for tests that drive the real serial port against it.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#ifndef ORV_SIMULATOR_PATH
#error "ORV_SIMULATOR_PATH must name the simulator program"
#endif

namespace e2e {

// Waits for real I/O are bounded by this; nothing waits longer.
inline constexpr auto kPatience = std::chrono::seconds(10);

// CPU time used by all threads of this process, in seconds.
inline double ProcessCpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// "AA 28 4D 1F": the simulator's spelling of frame bytes.
inline std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s;
  for (std::uint8_t b : bytes) {
    if (!s.empty()) s += ' ';
    s += kDigits[b >> 4];
    s += kDigits[b & 0x0F];
  }
  return s;
}

// Waits until the child ends or the time is up; true when it was reaped.
inline bool ReapWithin(pid_t pid, std::chrono::milliseconds limit, int* status = nullptr) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int st = 0;
  for (;;) {
    const pid_t r = ::waitpid(pid, &st, WNOHANG);
    if (r == pid || (r < 0 && errno != EINTR)) {
      if (status) *status = st;
      return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// Ends a child for sure: SIGTERM, a bounded wait, then SIGKILL.
inline void EndChild(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  if (ReapWithin(pid, std::chrono::seconds(5))) return;
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

class SimulatorProcess {
 public:
  // Starts the simulator on COM port 1 of "<folder>/tty%d" with the given extra options and
  // waits for its ready file. Started() tells whether it came up.
  explicit SimulatorProcess(std::vector<std::string> options = {}) {
    // A command sent after the simulator has gone must fail, not kill the test.
    ::signal(SIGPIPE, SIG_IGN);
    std::string templ = (std::filesystem::temp_directory_path() / "orv-e2e-XXXXXX").string();
    if (::mkdtemp(templ.data()) == nullptr) return;
    dir_ = templ;

    std::vector<std::string> args = {ORV_SIMULATOR_PATH, "--pattern", Pattern(), "--port", "1",
                                     "--ready-file", dir_ + "/ready", "--log", LogPath()};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    int toChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0) return;
    const std::string errPath = dir_ + "/stderr";
    const int errFd = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    pid_ = ::fork();
    if (pid_ == 0) {
      // Only async-signal-safe calls until exec.
      ::dup2(toChild[0], 0);
      if (errFd >= 0) ::dup2(errFd, 2);
      if (::chdir(dir_.c_str()) != 0) ::_exit(126);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(toChild[0]);
    if (errFd >= 0) ::close(errFd);
    stdin_ = toChild[1];
    if (pid_ < 0) return;

    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    const std::string ready = dir_ + "/ready";
    while (std::chrono::steady_clock::now() < deadline) {
      struct stat st {};
      if (::stat(ready.c_str(), &st) == 0 && st.st_size > 0) {
        started_ = true;
        return;
      }
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {  // it gave up
        pid_ = -1;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  ~SimulatorProcess() {
    if (stdin_ >= 0) ::close(stdin_);
    EndChild(pid_);
    if (!dir_.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(dir_, ignored);
    }
  }

  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  bool Started() const { return started_; }
  pid_t Pid() const { return pid_; }
  const std::string& Folder() const { return dir_; }
  std::string Pattern() const { return dir_ + "/tty%d"; }
  std::string Device() const { return dir_ + "/tty0"; }  // COM1
  std::string LogPath() const { return dir_ + "/sim.log"; }
  std::string ErrorOutput() const { return ReadWhole(dir_ + "/stderr"); }

  // One command line on the simulator's stdin ("silent on", "vanish", ...).
  bool Send(std::string_view command) {
    std::string line(command);
    line += '\n';
    std::string_view rest = line;
    while (!rest.empty()) {
      const ssize_t n = ::write(stdin_, rest.data(), rest.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      rest.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }

  // The frame log as written so far: "RX 55 01 56" per frame received, plus event lines.
  std::string Log() const { return ReadWhole(LogPath()); }

  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    const std::string text = Log();
    std::size_t at = 0;
    while (at < text.size()) {
      std::size_t end = text.find('\n', at);
      if (end == std::string::npos) break;  // a line still being written
      lines.push_back(text.substr(at, end - at));
      at = end + 1;
    }
    return lines;
  }

  bool LogHas(std::string_view line) const {
    for (const std::string& l : LogLines())
      if (l == line) return true;
    return false;
  }

  // The indices of the parameter reads the simulator received, in order.
  std::vector<int> ParameterReads() const {
    std::vector<int> indices;
    for (const std::string& l : LogLines()) {
      if (l.size() < 8 || l.compare(0, 6, "RX 55 ") != 0) continue;
      int index = 0;
      const auto r = std::from_chars(l.data() + 6, l.data() + 8, index, 16);
      if (r.ec == std::errc()) indices.push_back(index);
    }
    return indices;
  }

 private:
  static std::string ReadWhole(const std::string& path) {
    std::string text;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return text;
    char buf[4096];
    for (;;) {
      const ssize_t n = ::read(fd, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      text.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return text;
  }

  std::string dir_;
  pid_t pid_ = -1;
  int stdin_ = -1;
  bool started_ = false;
};

}  // namespace e2e
