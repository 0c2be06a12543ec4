#include "dummy_x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace porongo::testing {
namespace {


std::string FindXorg() {
  for (const char* path : {"/usr/lib/xorg/Xorg", "/usr/bin/Xorg"}) {
    if (access(path, X_OK) == 0) return path;
  }
  return {};
}

std::string Tail(const std::filesystem::path& log) {
  std::ifstream file(log);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  std::string tail;
  for (std::size_t i = lines.size() > 5 ? lines.size() - 5 : 0; i < lines.size(); ++i) tail += "\n  " + lines[i];
  return tail;
}

std::string Capture(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    if (pclose(pipe) != 0) return {};
  }
  return out;
}

}  // namespace

std::unique_ptr<DummyXServer> DummyXServer::Start(std::string& why) {
  std::string xorg = FindXorg();
  if (xorg.empty()) {
    why = "Xorg is not installed (xserver-xorg-core, xserver-xorg-video-dummy)";
    return nullptr;
  }
  std::unique_ptr<DummyXServer> server(new DummyXServer);
  char pattern[] = "/tmp/porongo-xorg-XXXXXX";
  if (!mkdtemp(pattern)) {
    why = "cannot make a temporary directory";
    return nullptr;
  }
  server->directory_ = pattern;
  std::filesystem::copy_file(DUMMY_XORG_CONF, server->directory_ / "xorg.conf");
  std::filesystem::path log = server->directory_ / "Xorg.log";

  int ready[2];
  if (pipe(ready) != 0) {
    why = "cannot make a pipe";
    return nullptr;
  }
  std::vector<std::string> args{xorg,
                                "-config",
                                (server->directory_ / "xorg.conf").string(),
                                "-logfile",
                                log.string(),
                                "-noreset",
                                "-nolisten",
                                "tcp",
                                "-displayfd",
                                std::to_string(ready[1])};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, ready[0]);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  int spawned = posix_spawn(&server->pid_, xorg.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ready[1]);
  if (spawned != 0) {
    close(ready[0]);
    server->pid_ = -1;
    why = "cannot start " + xorg;
    return nullptr;
  }

  // Xorg writes its display number on the descriptor once it accepts clients.
  std::string number;
  pollfd p{ready[0], POLLIN, 0};
  while (poll(&p, 1, 20000) > 0) {
    char c;
    if (read(ready[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(ready[0]);
  if (number.empty()) {
    why = "Xorg with the dummy driver did not start:" + Tail(log);
    return nullptr;
  }
  server->display_ = ":" + number;
  return server;
}

DummyXServer::~DummyXServer() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  std::error_code ignored;
  if (!directory_.empty()) std::filesystem::remove_all(directory_, ignored);
}

bool DummyXServer::ShowsMode(int width, int height, std::chrono::milliseconds timeout) const {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    std::optional<XrandrMode> mode = CurrentMode();
    if (mode && mode->width == width && mode->height == height && mode->screenWidth == width &&
        mode->screenHeight == height) {
      return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

bool DummyXServer::Xrandr(const std::string& arguments) const {
  std::string command = "xrandr -d " + display_ + " " + arguments + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

std::optional<XrandrMode> DummyXServer::CurrentMode() const {
  std::istringstream text(Capture("xrandr -d " + display_ + " --current 2>/dev/null"));
  XrandrMode mode;
  bool found = false;
  for (std::string line; std::getline(text, line);) {
    if (line.starts_with("Screen ")) {
      std::sscanf(line.c_str() + line.find("current"), "current %d x %d", &mode.screenWidth, &mode.screenHeight);
    } else if (line.starts_with("   ") && line.find('*') != std::string::npos) {
      // "   640x480_75    75.00*": the mode's name and its rates, the one in force starred.
      std::istringstream words(line);
      std::string name;
      words >> name;
      std::sscanf(name.c_str(), "%dx%d", &mode.width, &mode.height);
      for (std::string rate; words >> rate;) {
        if (rate.find('*') != std::string::npos) mode.refresh = std::atof(rate.c_str());
      }
      found = true;
    }
  }
  if (!found) return std::nullopt;
  return mode;
}

}  // namespace porongo::testing
