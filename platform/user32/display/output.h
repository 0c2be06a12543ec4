// The real output that the display settings emulate their modes on. Its own mode is what the
// desktop runs, and this program never changes it.
#pragma once

#include <memory>

namespace win32::display {

struct OutputMode {
  int width = 0;  // in the coordinates windows have (the desktop's scaling applied)
  int height = 0;
  int refreshHz = 0;      // whole hertz; 0 when the output does not say
  int bitsPerPixel = 32;  // as Windows counts it: 32 for a 24-bit-deep screen

  friend bool operator==(const OutputMode&, const OutputMode&) = default;
};

class Output {
 public:
  virtual ~Output() = default;
  // The output's own mode. May be asked from any thread; where the output cannot be read
  // from the calling thread, the last mode read is the answer.
  virtual OutputMode Mode() = 0;
};

// The primary output through Qt (an X server, XWayland or a Wayland compositor); where Qt
// draws on no screen (offscreen, minimal) or cannot start, the one output assumed there.
std::unique_ptr<Output> SystemOutput();

// The output assumed where none can be seen.
inline constexpr OutputMode kAssumedOutput{1024, 768, 60, 32};

}  // namespace win32::display
