// Icons and bitmaps: icon groups, icon images of every depth, packed DIBs, LoadIconA.
#include <gtest/gtest.h>

#include "platform/resources/dib.h"
#include "platform/resources/module_resources.h"
#include "platform/resources/resource_formats.h"
#include "platform/win32.h"
#include "test_images.h"

namespace {

using win32::res::Find;
using win32::res::IconImage;

const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(0x400000);

// Counts the pixels of an icon image that differ from the test picture.
int WrongIconPixels(const IconImage& image, int bitCount) {
  int wrong = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      std::uint32_t alpha =
          bitCount == 32 ? test_images::Alpha(x, y) : (test_images::MaskTransparent(x, y) ? 0u : 0xFFu);
      std::uint32_t expected = (alpha << 24) | test_images::StoredColor(x, y, bitCount);
      if (image.pixels[static_cast<std::size_t>(y) * image.width + x] != expected) ++wrong;
    }
  return wrong;
}

TEST(IconGroup, ListsEveryImageOfTheIconFile) {
  auto group = win32::res::DecodeIconGroup(Find(RT_GROUP_ICON, MAKEINTRESOURCEA(30)));
  ASSERT_TRUE(group.has_value());
  ASSERT_EQ(group->size(), std::size(test_images::kIconImages) + 1);
  for (std::size_t i = 0; i < std::size(test_images::kIconImages); ++i) {
    EXPECT_EQ((*group)[i].width, test_images::kIconImages[i].size) << i;
    EXPECT_EQ((*group)[i].height, test_images::kIconImages[i].size) << i;
    EXPECT_EQ((*group)[i].bitCount, test_images::kIconImages[i].bitCount) << i;
    EXPECT_EQ((*group)[i].bytesInRes, Find(RT_ICON, MAKEINTRESOURCEA((*group)[i].id)).size()) << i;
  }
  EXPECT_EQ(group->back().width, test_images::kPngImageSize);
}

TEST(LoadIcon, GivesTheDecodableImagesLargestFirst) {
  HICON icon = LoadIconA(kInstance, MAKEINTRESOURCEA(30));
  ASSERT_NE(icon, nullptr);
  const std::vector<IconImage>* images = win32::res::IconImages(icon);
  ASSERT_NE(images, nullptr);
  // 48 (32 bits), 32 (8 bits), 24 (24 bits), 20 (1 bit), 16 (4 bits); no 64 (PNG).
  const int sizes[] = {48, 32, 24, 20, 16};
  const int depths[] = {32, 8, 24, 1, 4};
  ASSERT_EQ(images->size(), std::size(sizes));
  for (std::size_t i = 0; i < images->size(); ++i) {
    EXPECT_EQ((*images)[i].width, sizes[i]);
    EXPECT_EQ(WrongIconPixels((*images)[i], depths[i]), 0) << sizes[i];
  }
}

TEST(LoadIcon, IconsAreSharedAndOutliveDestroyIcon) {
  HICON icon = LoadIconA(kInstance, MAKEINTRESOURCEA(30));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(LoadIconA(kInstance, MAKEINTRESOURCEA(30)), icon);
  EXPECT_EQ(LoadIconA(kInstance, "#30"), icon);
  EXPECT_TRUE(DestroyIcon(icon));
  // A shared icon stays valid; destroying it again still succeeds.
  EXPECT_NE(win32::res::IconImages(icon), nullptr);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_EQ(LoadIconA(kInstance, MAKEINTRESOURCEA(30)), icon);
}

TEST(LoadIcon, UnknownIconsAndHandles) {
  EXPECT_EQ(LoadIconA(kInstance, MAKEINTRESOURCEA(31)), nullptr);
  EXPECT_EQ(LoadIconA(kInstance, "NOSUCHICON"), nullptr);
  EXPECT_EQ(LoadIconA(kInstance, nullptr), nullptr);
  // Without a module only system icons are found, and with one only the module's.
  EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(30)), nullptr);
  EXPECT_EQ(LoadIconA(kInstance, IDI_APPLICATION), nullptr);
  HICON bogus = reinterpret_cast<HICON>(0x1234);
  EXPECT_EQ(win32::res::IconImages(bogus), nullptr);
  EXPECT_EQ(win32::res::IconImages(nullptr), nullptr);
  EXPECT_FALSE(DestroyIcon(bogus));
  EXPECT_FALSE(DestroyIcon(nullptr));
}

TEST(LoadIcon, TheSystemApplicationIcon) {
  HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(LoadIconA(nullptr, IDI_APPLICATION), icon);
  const std::vector<IconImage>* images = win32::res::IconImages(icon);
  ASSERT_NE(images, nullptr);
  ASSERT_EQ(images->size(), 2u);
  for (const IconImage& image : *images) {
    ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width * image.height));
    // A transparent margin around an opaque window whose middle is white.
    EXPECT_EQ(image.pixels.front() >> 24, 0u);
    EXPECT_EQ(image.pixels.back() >> 24, 0u);
    std::uint32_t middle = image.pixels[static_cast<std::size_t>(image.height * 3 / 4) * image.width + image.width / 2];
    EXPECT_EQ(middle, 0xFFFFFFFFu);
  }
  EXPECT_EQ((*images)[0].width, 32);
  EXPECT_EQ((*images)[1].width, 16);
}

TEST(PackedDib, DecodesEveryTestBitmap) {
  for (const auto& shape : test_images::kBitmaps) {
    SCOPED_TRACE(shape.id);
    auto dib = win32::res::ParsePackedDib(Find(RT_BITMAP, MAKEINTRESOURCEA(shape.id)), 1);
    ASSERT_TRUE(dib.has_value());
    EXPECT_EQ(dib->width, shape.width);
    EXPECT_EQ(dib->height, shape.height);
    EXPECT_EQ(dib->bitCount, shape.bitCount);
    EXPECT_EQ(dib->topDown, shape.topDown);
    EXPECT_EQ(dib->palette.size(), shape.bitCount <= 8 ? std::size_t{1} << shape.bitCount : 0u);
    int wrong = 0;
    for (int y = 0; y < shape.height; ++y)
      for (int x = 0; x < shape.width; ++x)
        if (dib->Pixel(x, y) != test_images::StoredColor(x, y, shape.bitCount)) ++wrong;
    EXPECT_EQ(wrong, 0);
  }
}

}  // namespace
