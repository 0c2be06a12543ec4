#include "platform/resources/system_icons.h"

namespace win32::res {
namespace {

constexpr std::uint32_t kFrame = 0xFF404040;
constexpr std::uint32_t kTitleBar = 0xFF0A246A;
constexpr std::uint32_t kClient = 0xFFFFFFFF;

// A window outline filling the square but a one-pixel transparent margin, with a title bar of
// a quarter of its height.
IconImage WindowPicture(int size) {
  IconImage image;
  image.width = size;
  image.height = size;
  image.pixels.assign(static_cast<std::size_t>(size) * size, 0);
  const int last = size - 2;
  const int titleBottom = 1 + size / 4;
  for (int y = 1; y <= last; ++y)
    for (int x = 1; x <= last; ++x) {
      bool edge = x == 1 || y == 1 || x == last || y == last;
      image.pixels[static_cast<std::size_t>(y) * size + x] = edge ? kFrame : y < titleBottom ? kTitleBar : kClient;
    }
  return image;
}

}  // namespace

std::vector<IconImage> ApplicationIconImages() { return {WindowPicture(32), WindowPicture(16)}; }

}  // namespace win32::res
