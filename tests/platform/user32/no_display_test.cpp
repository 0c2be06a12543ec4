// Without a display, window creation fails quietly: NULL, an error code, one line on stderr,
// no abort. Run in a child process with the display variables removed.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(int fd) {
  std::string text;
  std::array<char, 4096> buffer;
  ssize_t n;
  while ((n = read(fd, buffer.data(), buffer.size())) > 0) text.append(buffer.data(), static_cast<std::size_t>(n));
  return text;
}

Outcome RunWithoutDisplay(std::vector<std::string> args) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    if (entry.rfind("DISPLAY=", 0) == 0 || entry.rfind("QT_QPA_PLATFORM=", 0) == 0 ||
        entry.rfind("WAYLAND_DISPLAY=", 0) == 0) {
      continue;
    }
    env.push_back(entry);
  }
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  args.insert(args.begin(), PROBE_PATH);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  int out[2], err[2];
  EXPECT_EQ(pipe(out), 0);
  EXPECT_EQ(pipe(err), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, err[0]);
  pid_t pid = 0;
  int spawned = posix_spawn(&pid, PROBE_PATH, &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(err[1]);
  Outcome outcome;
  if (spawned != 0) return outcome;
  outcome.out = ReadAll(out[0]);
  outcome.err = ReadAll(err[0]);
  close(out[0]);
  close(err[0]);
  waitpid(pid, &outcome.status, 0);
  return outcome;
}

TEST(NoDisplay, CreateWindowFailsWithOneLineOnStderrAndTheProgramGoesOn) {
  Outcome o = RunWithoutDisplay({"one two", "x"});
  ASSERT_TRUE(WIFEXITED(o.status)) << "the probe did not end normally";
  // WinMain's result is the exit code; it ran to the end.
  EXPECT_EQ(WEXITSTATUS(o.status), 7);
  // Both windows refused (ERROR_NOT_SUPPORTED); the show command and the command line as
  // Windows gives them.
  EXPECT_EQ(o.out, "0 0 50 10 [\"one two\" x]\n");
  // Exactly one line, saying why.
  ASSERT_FALSE(o.err.empty());
  EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
  EXPECT_NE(o.err.find("cannot create a window"), std::string::npos) << o.err;
  EXPECT_NE(o.err.find("DISPLAY"), std::string::npos) << o.err;
}

}  // namespace
