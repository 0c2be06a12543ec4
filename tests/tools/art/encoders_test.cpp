// The generator's file encoders, read back by the test's own reader: row padding and bit
// packing at widths the game's art never has, masks, several deflate blocks, palette limits.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/tools/art/picture_reader.h"
#include "tools/art/bmp_file.h"
#include "tools/art/ico_file.h"
#include "tools/art/indexed_image.h"
#include "tools/art/png_file.h"

namespace arttest {
namespace {

// Six colours varying from pixel to pixel, with every third diagonal clear when asked.
art::Image Pattern(int width, int height, bool holes) {
  art::Image image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const auto k = static_cast<std::uint8_t>((x * 7 + y * 3) % 6);
      if (!holes || (x + y) % 3 != 0) image.at(x, y) = art::Opaque({static_cast<std::uint8_t>(40 * k), 200, k});
    }
  return image;
}

void ExpectSamePixels(const art::Image& drawn, const Picture& read) {
  ASSERT_EQ(read.width, drawn.width());
  ASSERT_EQ(read.height, drawn.height());
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x) {
      const art::Rgba& d = drawn.at(x, y);
      ASSERT_EQ(read.isClear(x, y), d.a == 0) << x << "," << y;
      ASSERT_TRUE(d.a == 0 || read.at(x, y) == (Colour{d.rgb.r, d.rgb.g, d.rgb.b})) << x << "," << y;
    }
}

class BmpWidths : public testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(BmpWidths, RoundTripEveryPixel) {
  const auto [bits, width] = GetParam();
  const art::Image drawn = Pattern(width, 3, false);
  const Picture read = ReadBmp(art::EncodeBmp(art::ToIndexed(drawn, bits), bits));
  EXPECT_EQ(read.bits, bits);
  ExpectSamePixels(drawn, read);
}

INSTANTIATE_TEST_SUITE_P(Encoders, BmpWidths, testing::Combine(testing::Values(4, 8), testing::Range(1, 10)));

TEST(Encoders, IconImagesRoundTripWithTheirMasks) {
  std::vector<art::Image> drawn;
  std::vector<art::IndexedImage> indexed;
  for (int size : {5, 16, 33}) {
    drawn.push_back(Pattern(size, size, true));
    indexed.push_back(art::ToIndexed(drawn.back(), 8, art::kBlack));
  }
  const auto icon = ReadIco(art::EncodeIco(indexed));
  ASSERT_EQ(icon.size(), drawn.size());
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    EXPECT_EQ(icon[i].entryWidth, drawn[i].width());
    ExpectSamePixels(drawn[i], icon[i].picture);
  }
}

TEST(Encoders, PngKeepsCoverageAcrossSeveralStoredBlocks) {
  // 200 by 100 RGBA is 80 100 bytes of scanlines: two 65 535-byte stored blocks.
  art::Image drawn = Pattern(200, 100, true);
  drawn.at(3, 4) = {{10, 20, 30}, 128};
  const Picture read = ReadPng(art::EncodePng(drawn));
  ExpectSamePixels(drawn, read);
  EXPECT_EQ(read.alpha[4 * 200 + 3], 128);
}

TEST(Encoders, PaletteHoldsItsFirstColourAtIndexZeroAndNoMoreThanFits) {
  art::Image image(17, 1);
  for (int x = 0; x < 17; ++x) image.at(x, 0) = art::Opaque({static_cast<std::uint8_t>(x), 0, 0});
  EXPECT_THROW(art::ToIndexed(image, 4), std::runtime_error);
  const art::IndexedImage indexed = art::ToIndexed(image, 8, art::Rgb{9, 9, 9});
  EXPECT_EQ(indexed.palette.size(), 256u);
  EXPECT_EQ(indexed.palette[0], (art::Rgb{9, 9, 9}));
  EXPECT_EQ(indexed.indices[16], 17);
  EXPECT_THROW(art::ToIndexed(art::Image(1, 1, {{1, 2, 3}, 100}), 8), std::runtime_error) << "partial coverage";
}

}  // namespace
}  // namespace arttest
