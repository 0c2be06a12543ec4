// LoadBitmapA: bitmap resources of every depth become colour bitmaps with the right pixels.
#include <gtest/gtest.h>

#include "platform/gdi32/pixel_buffer.h"
#include "platform/win32.h"
#include "test_images.h"

namespace {

const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(0x400000);

// The test picture's colour at (x, y) for a depth, as a COLORREF.
COLORREF ExpectedColorRef(int x, int y, int bitCount) {
  const std::uint32_t c = test_images::StoredColor(x, y, bitCount);
  return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

TEST(LoadBitmap, EveryDepthBecomesAColourBitmapWithThePicture) {
  const std::size_t objectsBefore = win32::gdi::LiveObjectCount();
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  for (const auto& shape : test_images::kBitmaps) {
    SCOPED_TRACE(shape.id);
    HBITMAP bitmap = LoadBitmapA(kInstance, MAKEINTRESOURCEA(shape.id));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, shape.width);
    EXPECT_EQ(info.bmHeight, shape.height);
    EXPECT_EQ(info.bmBitsPixel, 32);  // the screen's format, even for a 1-bit DIB
    HGDIOBJ old = SelectObject(dc, bitmap);
    int wrong = 0;
    for (int y = 0; y < shape.height; ++y)
      for (int x = 0; x < shape.width; ++x)
        if (GetPixel(dc, x, y) != ExpectedColorRef(x, y, shape.bitCount)) ++wrong;
    EXPECT_EQ(wrong, 0);
    SelectObject(dc, old);
    EXPECT_TRUE(DeleteObject(bitmap));
  }
  DeleteDC(dc);
  // Nothing is left behind: no screen DC, no stray bitmap.
  EXPECT_EQ(win32::gdi::LiveObjectCount(), objectsBefore);
}

TEST(LoadBitmap, MissingBitmapsAndSystemBitmaps) {
  const std::size_t objectsBefore = win32::gdi::LiveObjectCount();
  EXPECT_EQ(LoadBitmapA(kInstance, MAKEINTRESOURCEA(39)), nullptr);
  EXPECT_EQ(LoadBitmapA(kInstance, "NOSUCHBITMAP"), nullptr);
  EXPECT_EQ(LoadBitmapA(kInstance, nullptr), nullptr);
  // A menu is no bitmap.
  EXPECT_EQ(LoadBitmapA(kInstance, MAKEINTRESOURCEA(10)), nullptr);
  // The system's own bitmaps (a null instance) are not provided.
  EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCEA(40)), nullptr);
  EXPECT_EQ(win32::gdi::LiveObjectCount(), objectsBefore);
}

}  // namespace
