// An Xorg server on the dummy video driver, started by a test: a real X server whose
// RandR can switch modes, without any display hardware.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace porongo::testing {

struct XrandrMode {
  int width = 0;
  int height = 0;
  double refresh = 0;  // the primary output's mode in force, as xrandr prints it
  int screenWidth = 0;
  int screenHeight = 0;
};

class DummyXServer {
 public:
  // Its desktop is 1024x768 at 60 Hz; it also has 800x600 and 640x480 at 60 (59.94) and
  // 75 Hz. Null, with the reason in `why`, when Xorg is missing or does not start (it
  // needs root, or a system that permits -config).
  static std::unique_ptr<DummyXServer> Start(std::string& why);
  ~DummyXServer();
  DummyXServer(const DummyXServer&) = delete;
  DummyXServer& operator=(const DummyXServer&) = delete;

  const std::string& Display() const { return display_; }
  // The primary output's mode as `xrandr --current` reports it; nothing if xrandr fails.
  std::optional<XrandrMode> CurrentMode() const;
  // Whether xrandr shows the primary output and the screen at `width` x `height` within
  // `timeout` (looked at least once).
  bool ShowsMode(int width, int height, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
  // Runs `xrandr <arguments>` on this display; whether it succeeded.
  bool Xrandr(const std::string& arguments) const;

 private:
  DummyXServer() = default;
  pid_t pid_ = -1;
  std::filesystem::path directory_;
  std::string display_;
};

}  // namespace porongo::testing
