#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

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

// In a forked child: runs program with args in folder, its output (stdout and stderr) in
// folder/out.txt and, when input is set, its stdin from folder/in.txt. Never returns.
[[noreturn]] inline void ExecInFolder(const std::string& folder, const char* program,
                                      const std::vector<std::string>& args, bool input) {
  if (::chdir(folder.c_str()) != 0) ::_exit(126);
  if (input) ::dup2(::open((folder + "/in.txt").c_str(), O_RDONLY), 0);
  const int out = ::open((folder + "/out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ::dup2(out, 1);
  ::dup2(out, 2);
  std::vector<char*> argv{const_cast<char*>(program)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  ::execv(program, argv.data());
  ::_exit(127);
}
