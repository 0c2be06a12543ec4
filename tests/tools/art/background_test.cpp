// Checks the committed board tile, resources/background.bmp: four bevelled grey cells,
// raised at the top-left and bottom-right, sunken at the other two.
#include <gtest/gtest.h>

#include "tests/tools/art/picture_reader.h"

namespace arttest {
namespace {

constexpr Colour kFace{160, 160, 164};
constexpr Colour kLight[] = {{208, 208, 208}, {192, 192, 192}};  // outer, inner
constexpr Colour kDark[] = {{64, 64, 64}, {96, 96, 96}};

TEST(Background, IsA32By32CheckerboardOfBevelledCells) {
  const Picture tile = ReadBmp(ReadFile(PORONGO_SOURCE_DIR "/resources/background.bmp"));
  ASSERT_EQ(tile.width, 32);
  ASSERT_EQ(tile.height, 32);
  EXPECT_EQ(tile.bits, 4);
  for (int cell = 0; cell < 4; ++cell) {
    const int x0 = cell % 2 * 16, y0 = cell / 2 * 16;
    const bool raised = cell == 0 || cell == 3;
    SCOPED_TRACE(cell);
    const Colour* topLeft = raised ? kLight : kDark;
    const Colour* bottomRight = raised ? kDark : kLight;
    auto at = [&](int x, int y) { return tile.at(x0 + x, y0 + y); };
    // Ring 0 is the outer edge, ring 1 the inner; away from the corners where the lit and
    // shaded sides meet, each side has its own colours.
    for (int ring = 0; ring < 2; ++ring) {
      EXPECT_EQ(at(ring, ring), topLeft[ring]);
      EXPECT_EQ(at(15 - ring, 15 - ring), bottomRight[ring]);
      for (int i = 2; i < 14; ++i) {
        EXPECT_EQ(at(i, ring), topLeft[ring]) << "top " << i;
        EXPECT_EQ(at(ring, i), topLeft[ring]) << "left " << i;
        EXPECT_EQ(at(i, 15 - ring), bottomRight[ring]) << "bottom " << i;
        EXPECT_EQ(at(15 - ring, i), bottomRight[ring]) << "right " << i;
      }
    }
    for (int y = 2; y < 14; ++y)
      for (int x = 2; x < 14; ++x) EXPECT_EQ(at(x, y), kFace) << x << "," << y;
  }
}

}  // namespace
}  // namespace arttest
