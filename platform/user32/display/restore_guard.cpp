#include "platform/user32/display/restore_guard.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/user32/display/xrandr_backend.h"

extern char** environ;

namespace win32::display {
namespace {

// What the started executable finds in its environment when it is to be a guard.
constexpr char kSocketVariable[] = "PORONGO_DISPLAY_GUARD_FD";
constexpr char kSnapshotVariable[] = "PORONGO_DISPLAY_GUARD_SNAPSHOT";

// Messages on the socket, one byte each; the last one read counts.
constexpr char kArmed = '1';
constexpr char kDisarmed = '0';

void CloseQuietly(int fd) {
  if (fd >= 0) close(fd);
}

// An owned file descriptor.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { CloseQuietly(fd_); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }
  void reset() { CloseQuietly(release()); }

 private:
  int fd_;
};

// Moves a descriptor above 0, 1 and 2, which the guard's start reuses for /dev/null (they
// may be free when this process was started with them closed).
int AboveStdio(int fd) {
  if (fd < 0 || fd > STDERR_FILENO) return fd;
  int moved = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
  close(fd);
  return moved;
}

class GuardProcess final : public RestoreGuard {
 public:
  GuardProcess(pid_t pid, int socket) : pid_(pid), socket_(socket) {}
  ~GuardProcess() override {
    // The guard acts on the last state it was told and ends; wait for it, so that it is
    // done with the screen and leaves no zombie.
    socket_.reset();
    Reap(0);
  }
  GuardProcess(const GuardProcess&) = delete;
  GuardProcess& operator=(const GuardProcess&) = delete;

  void SetArmed(bool armed) override {
    if (socket_.get() < 0) return;
    char message = armed ? kArmed : kDisarmed;
    ssize_t sent;
    do {
      sent = send(socket_.get(), &message, 1, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    if (sent == 1) return;
    std::fprintf(stderr, "porongo: the display-mode guard has gone; a crash now would leave the screen switched\n");
    socket_.reset();
    Reap(WNOHANG);
  }

 private:
  void Reap(int options) {
    if (pid_ <= 0) return;
    pid_t done;
    do {
      done = waitpid(pid_, nullptr, options);
    } while (done < 0 && errno == EINTR);
    if (done != 0) pid_ = -1;
  }

  pid_t pid_;
  Fd socket_;
};

// The environment of the guard: this process's, less any guard variables it inherited,
// plus its own.
std::vector<std::string> GuardEnvironment(int socket, const std::string& snapshot) {
  std::vector<std::string> env;
  for (char** entry = environ; entry && *entry; ++entry) {
    std::string_view text(*entry);
    if (text.starts_with(kSocketVariable) || text.starts_with(kSnapshotVariable)) continue;
    env.emplace_back(text);
  }
  env.push_back(std::string(kSocketVariable) + "=" + std::to_string(socket));
  env.push_back(std::string(kSnapshotVariable) + "=" + snapshot);
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Only async-signal-safe calls between fork and exec: the parent may have other threads,
// whose locks the child inherits held.
[[noreturn]] void ExecGuard(int socket, int devNull, int status, char** argv, char** envp) {
  setsid();
  dup2(devNull, STDIN_FILENO);
  dup2(devNull, STDOUT_FILENO);
  // Nothing but the socket and stderr may stay open in the guard: it outlives this
  // process, and an inherited pipe would keep a reader of this process's output waiting.
  close_range(3, static_cast<unsigned>(socket) - 1, CLOSE_RANGE_CLOEXEC);
  close_range(static_cast<unsigned>(socket) + 1, ~0U, CLOSE_RANGE_CLOEXEC);
  fcntl(socket, F_SETFD, 0);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  execve("/proc/self/exe", argv, envp);
  int error = errno;
  ssize_t ignored = write(status, &error, sizeof error);
  (void)ignored;
  _exit(127);
}

// The guard's life, in the started executable before any of the program's own static
// objects exist.
[[noreturn]] void RunGuard(int socket, const std::string& snapshot) {
  std::signal(SIGINT, SIG_IGN);
  std::signal(SIGHUP, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  bool armed = true;
  char messages[64];
  for (;;) {
    ssize_t n = read(socket, messages, sizeof messages);
    if (n > 0) {
      armed = messages[n - 1] == kArmed;
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  if (armed && !RestoreSnapshotOnItsDisplay(snapshot)) {
    std::fprintf(stderr, "porongo: could not give the screen its display mode back\n");
  }
  _exit(0);
}

// Runs before the C++ objects of the program (priority constructors come first), so a
// guard never builds the program's own globals.
__attribute__((constructor(101))) void BecomeGuardIfAsked() {
  const char* socketText = std::getenv(kSocketVariable);
  if (!socketText) return;
  const char* snapshotText = std::getenv(kSnapshotVariable);
  char* end = nullptr;
  long socket = std::strtol(socketText, &end, 10);
  struct stat info {};
  bool ours = snapshotText && end && *end == '\0' && socket >= 3 && socket < 65536 &&
              fstat(static_cast<int>(socket), &info) == 0 && S_ISSOCK(info.st_mode);
  std::string snapshot = snapshotText ? snapshotText : "";
  unsetenv(kSocketVariable);
  unsetenv(kSnapshotVariable);
  // A stray variable that names no socket of ours: this is the program, not a guard.
  if (ours) RunGuard(static_cast<int>(socket), snapshot);
}

}  // namespace

std::unique_ptr<RestoreGuard> LaunchRestoreGuard(const std::string& snapshot) {
  auto fail = [](int error) {
    std::fprintf(stderr, "porongo: cannot start the display-mode guard: %s\n", std::strerror(error));
    return std::unique_ptr<RestoreGuard>();
  };
  int sockets[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) return fail(errno);
  Fd ours(sockets[0]);
  Fd theirs(AboveStdio(sockets[1]));
  int status[2];
  if (pipe2(status, O_CLOEXEC) != 0) return fail(errno);
  Fd statusRead(status[0]);
  Fd statusWrite(AboveStdio(status[1]));
  Fd devNull(AboveStdio(open("/dev/null", O_RDWR | O_CLOEXEC)));
  if (theirs.get() < 0 || statusWrite.get() < 0 || devNull.get() < 0) return fail(errno);

  std::vector<std::string> env = GuardEnvironment(theirs.get(), snapshot);
  std::vector<std::string> args{kGuardProcessName, std::to_string(getpid())};
  std::vector<char*> envp = Pointers(env);
  std::vector<char*> argv = Pointers(args);

  pid_t pid = fork();
  if (pid == 0) ExecGuard(theirs.get(), devNull.get(), statusWrite.get(), argv.data(), envp.data());
  if (pid < 0) return fail(errno);
  theirs.reset();
  statusWrite.reset();

  // The status pipe closes on a successful exec; a failed one writes its errno first.
  int execError = 0;
  ssize_t n;
  do {
    n = read(statusRead.get(), &execError, sizeof execError);
  } while (n < 0 && errno == EINTR);
  if (n > 0 && execError != 0) {
    waitpid(pid, nullptr, 0);
    return fail(execError);
  }
  return std::make_unique<GuardProcess>(pid, ours.release());
}

}  // namespace win32::display
