// A program started by a test, with its standard input and output on pipes.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace porongo::testing {

class ChildProcess {
 public:
  // Starts `argv` with the test's environment plus `extraEnv` ("NAME=value", overriding),
  // every signal at its default action. Check Running() for failure.
  ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv);
  ~ChildProcess();  // kills and reaps a child that is still running
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Running() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }

  // The next line of output without its newline; nothing at end of output or timeout.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
  void WriteLine(const std::string& line);
  void CloseInput();
  void Signal(int signal);
  // The raw wait status once the child has ended; nothing at timeout.
  std::optional<int> Wait(std::chrono::milliseconds timeout);

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string buffered_;
};

// Processes whose command line is exactly `argv`.
std::vector<pid_t> FindProcesses(const std::vector<std::string>& argv);

// Makes this process the reaper of its orphaned descendants (a guard whose program died),
// so a test can wait for them.
void AdoptOrphans();

// Waits for a descendant adopted by AdoptOrphans() to end; its raw status, or nothing.
std::optional<int> WaitForAdopted(pid_t pid, std::chrono::milliseconds timeout);

}  // namespace porongo::testing
