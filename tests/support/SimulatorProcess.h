#pragma once

// Runs the controller simulator program as a child process on a pseudo-terminal of its own,
// in a private temporary folder, for tests and benchmarks that drive the real serial port
// against it.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#ifndef ORV_SIMULATOR_PATH
#error "ORV_SIMULATOR_PATH must name the simulator program"
#endif

#include "ChildProcess.h"

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

// What is wrong with the first full parameter read in the log lines from `from` on; empty
// when nothing is. A full read asks for the indices 0 to 105 in order, each at least once (a
// reply that came late is asked for again), with no other frame among them.
inline std::string FullReadProblem(const std::vector<std::string>& lines, std::size_t from = 0) {
  std::vector<int> reads;
  for (std::size_t i = from; i < lines.size() && (reads.empty() || reads.back() != 105); ++i) {
    const std::string& line = lines[i];
    const bool read = line.size() == 11 && line.compare(0, 6, "RX 55 ") == 0;
    if (reads.empty() && !(read && line.compare(6, 2, "00") == 0)) continue;  // before the read
    if (!read) return "another frame among the reads: " + line;
    reads.push_back(std::stoi(line.substr(6, 2), nullptr, 16));
  }
  if (reads.empty()) return "no read of index 0";
  for (std::size_t i = 1; i < reads.size(); ++i)
    if (reads[i] < reads[i - 1] || reads[i] > reads[i - 1] + 1)
      return "index " + std::to_string(reads[i]) + " read after " + std::to_string(reads[i - 1]);
  if (reads.back() != 105) return "the read stopped at index " + std::to_string(reads.back());
  return {};
}

class SimulatorProcess {
 public:
  // How long the simulator may take to come up.
  static constexpr auto kPatience = std::chrono::seconds(10);

  // Starts `program` on COM port 1 of "<folder>/tty%d" with the given extra options and
  // waits for its ready file. Started() tells whether it came up, StartError() why not.
  explicit SimulatorProcess(std::vector<std::string> options = {}, std::string program = ORV_SIMULATOR_PATH) {
    // A command sent after the simulator has gone must fail, not kill the caller.
    ::signal(SIGPIPE, SIG_IGN);
    std::string templ = (std::filesystem::temp_directory_path() / "orv-sim-XXXXXX").string();
    if (::mkdtemp(templ.data()) == nullptr) {
      error_ = "cannot create a folder in " + std::filesystem::temp_directory_path().string();
      return;
    }
    dir_ = templ;

    std::vector<std::string> args = {program, "--pattern", Pattern(),      "--port",       "1",
                                     "--log", LogPath(),   "--ready-file", dir_ + "/ready"};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    int toChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0) {
      error_ = "cannot create a pipe";
      return;
    }
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
    if (pid_ < 0) {
      error_ = "cannot fork";
      return;
    }

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
        error_ = "the simulator ended at start (" + program + ")";
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    error_ = "the simulator did not come up within 10 s";
  }

  ~SimulatorProcess() {
    Quit();
    if (!dir_.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(dir_, ignored);
    }
  }

  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  // Asks the simulator to quit and waits for it. Returns its wait status when it ended on
  // its own within 5 s; otherwise it is ended by signal and the answer is -1. The folder
  // stays until the object goes.
  int Quit() {
    if (stdin_ >= 0) {
      if (pid_ > 0) Send("quit");
      ::close(stdin_);
      stdin_ = -1;
    }
    if (pid_ <= 0) return -1;
    int status = -1;
    if (!ReapWithin(pid_, std::chrono::seconds(5), &status)) {
      EndChild(pid_);
      status = -1;
    }
    pid_ = -1;
    return status;
  }

  bool Started() const { return started_; }
  const std::string& StartError() const { return error_; }
  pid_t Pid() const { return pid_; }
  const std::string& Folder() const { return dir_; }
  std::string Pattern() const { return dir_ + "/tty%d"; }
  std::string Device() const { return dir_ + "/tty0"; }  // COM1
  std::string LogPath() const { return dir_ + "/sim.log"; }
  std::string ErrorOutput() const { return ReadWhole(dir_ + "/stderr"); }

  // One command line on the simulator's stdin ("silent on", "vanish", ...).
  bool Send(std::string_view command) {
    if (stdin_ < 0) return false;
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

  // The parameter bytes 0..104 in the last "MEMORY" line of the log (the "memory" command).
  std::vector<int> LastMemory() const {
    const std::string log = Log();
    const std::size_t at = log.rfind("MEMORY ");
    std::vector<int> bytes;
    for (std::size_t i = at + 7; at != std::string::npos && i + 2 <= log.size() && bytes.size() < 105; i += 3)
      std::from_chars(log.data() + i, log.data() + i + 2, bytes.emplace_back(), 16);
    return bytes;
  }

  // Frames received so far.
  std::size_t Frames() const {
    std::size_t n = 0;
    for (const std::string& l : LogLines()) n += l.compare(0, 3, "RX ") == 0;
    return n;
  }

  std::size_t LogCount(std::string_view line) const {
    std::size_t n = 0;
    for (const std::string& l : LogLines()) n += l == line;
    return n;
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
  std::string error_;
  pid_t pid_ = -1;
  int stdin_ = -1;
  bool started_ = false;
};
