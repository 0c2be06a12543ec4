// The handle table and device contexts: lifetimes, selection rules, defaults.
#include <gtest/gtest.h>

#include <memory>

#include "gdi_test_support.h"
#include "platform/gdi32/pixel_buffer.h"

namespace {

using win32::gdi::LiveObjectCount;

TEST(Objects, NothingLeaksOverManyCreateSelectDrawDeleteCycles) {
  const std::size_t before = LiveObjectCount();
  HDC screen = win32::gdi::CreateScreenDC();
  for (int i = 0; i < 10000; ++i) {
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    HBITMAP mono = CreateBitmap(8, 8, 1, 1, nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(i & 255, 0, 0));
    HFONT font = CreateFontA(12, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldFont = SelectObject(dc, font);
    PatBlt(dc, 0, 0, 8, 8, PATCOPY);
    HDC monoDc = CreateCompatibleDC(dc);
    SelectObject(monoDc, mono);
    BitBlt(monoDc, 0, 0, 8, 8, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    ASSERT_TRUE(DeleteDC(monoDc));
    ASSERT_TRUE(DeleteDC(dc));
    ASSERT_TRUE(DeleteObject(mono));
    ASSERT_TRUE(DeleteObject(bitmap));
    ASSERT_TRUE(DeleteObject(brush));
    ASSERT_TRUE(DeleteObject(font));
  }
  win32::gdi::ReleaseBufferDC(screen);
  EXPECT_EQ(LiveObjectCount(), before);
}

TEST(Objects, EachCreationIsCountedUntilItsDeletion) {
  const std::size_t before = LiveObjectCount();
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
  HBRUSH brush = CreateSolidBrush(0);
  HFONT font = CreateFontA(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "");
  EXPECT_EQ(LiveObjectCount(), before + 4);
  GetStockObject(WHITE_BRUSH);
  EXPECT_EQ(LiveObjectCount(), before + 4) << "stock objects are not counted";
  DeleteDC(dc);
  DeleteObject(bitmap);
  DeleteObject(brush);
  DeleteObject(font);
  EXPECT_EQ(LiveObjectCount(), before);
}

TEST(Objects, ASelectedBitmapCannotBeDeletedUntilItsDCIsGone) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
  SelectObject(dc, bitmap);
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_EQ(GetObjectType(bitmap), DWORD{OBJ_BITMAP});
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(Objects, SelectedBrushesAndFontsAreNotDeletedEither) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HFONT font = CreateFontA(10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "x");
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldFont = SelectObject(dc, font);
  EXPECT_FALSE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(font));
  EXPECT_EQ(SelectObject(dc, oldBrush), brush);
  EXPECT_EQ(SelectObject(dc, oldFont), font);
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_TRUE(DeleteObject(font));
  DeleteDC(dc);
}

TEST(Objects, StaleAndForgedHandlesAreRefused) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(1, 1, 1, 32, nullptr);
  HBRUSH brush = CreateSolidBrush(0);
  DeleteObject(bitmap);
  DeleteObject(brush);
  // The slots are reused by new objects; the old handles must not reach them.
  HBITMAP reused = CreateBitmap(1, 1, 1, 32, nullptr);
  HBRUSH reusedBrush = CreateSolidBrush(0);
  EXPECT_NE(reused, bitmap);
  EXPECT_EQ(SelectObject(dc, bitmap), nullptr);
  EXPECT_EQ(SelectObject(dc, brush), nullptr);
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_EQ(GetObjectType(bitmap), 0u);
  EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), 0);
  for (std::uintptr_t forged :
       {std::uintptr_t{1}, std::uintptr_t{0xFFFFF}, std::uintptr_t{0xDEADBEEF}, ~std::uintptr_t{0}}) {
    auto h = reinterpret_cast<HGDIOBJ>(forged);
    EXPECT_FALSE(DeleteObject(h));
    EXPECT_EQ(GetObjectType(h), 0u);
    EXPECT_EQ(SelectObject(dc, h), nullptr);
    EXPECT_EQ(SetBkColor(reinterpret_cast<HDC>(h), 0), CLR_INVALID);
  }
  EXPECT_EQ(GetObjectType(reused), DWORD{OBJ_BITMAP});
  DeleteObject(reused);
  DeleteObject(reusedBrush);
  DeleteDC(dc);
  EXPECT_FALSE(DeleteDC(dc));
}

TEST(Objects, ABitmapLivesInOneDCAtATime) {
  HDC a = CreateCompatibleDC(nullptr);
  HDC b = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
  HGDIOBJ initial = SelectObject(a, bitmap);
  EXPECT_NE(initial, nullptr);
  EXPECT_EQ(GetObjectType(initial), DWORD{OBJ_BITMAP});
  EXPECT_EQ(SelectObject(b, bitmap), nullptr);
  // The stock bitmap can be in many DCs; selecting it back frees the bitmap.
  EXPECT_EQ(SelectObject(a, initial), bitmap);
  EXPECT_NE(SelectObject(b, bitmap), nullptr);
  EXPECT_TRUE(DeleteObject(initial)) << "deleting a stock object is harmless";
  EXPECT_EQ(GetObjectType(initial), DWORD{OBJ_BITMAP});
  DeleteDC(a);
  DeleteDC(b);
  EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(Objects, NewDCsHaveGdisDefaults) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetObjectType(dc), DWORD{OBJ_MEMDC});
  EXPECT_EQ(GetTextColor(dc), 0x000000u);
  EXPECT_EQ(GetBkColor(dc), 0xFFFFFFu);
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(GetStretchBltMode(dc), BLACKONWHITE);
  EXPECT_EQ(GetTextAlign(dc), UINT{TA_LEFT | TA_TOP | TA_NOUPDATECP});
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
  POINT origin{5, 5};
  EXPECT_TRUE(GetBrushOrgEx(dc, &origin));
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  // The initial bitmap is 1x1 monochrome.
  BITMAP bm{};
  GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmHeight, 1);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(GetPixel(dc, 0, 0), 0u);
  EXPECT_EQ(GetPixel(dc, 1, 0), CLR_INVALID);
  DeleteDC(dc);
}

TEST(Objects, LongFaceNamesAreCutAtACharacterBoundary) {
  // 16 full-width characters are 32 bytes; the face keeps 15 of them (30 bytes).
  HFONT font = CreateFontA(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "ああああああああああああああああ");
  LOGFONTA lf{};
  GetObjectA(font, sizeof lf, &lf);
  EXPECT_EQ(std::string(lf.lfFaceName).size(), 30u);
  DeleteObject(font);
}

TEST(Objects, StockObjectsArePermanent) {
  for (int index : {WHITE_BRUSH, NULL_BRUSH, BLACK_PEN, SYSTEM_FONT, DEFAULT_GUI_FONT, DEFAULT_PALETTE}) {
    HGDIOBJ h = GetStockObject(index);
    DWORD type = GetObjectType(h);
    EXPECT_NE(type, 0u) << index;
    EXPECT_TRUE(DeleteObject(h)) << "deleting a stock object is harmless";
    EXPECT_EQ(GetObjectType(h), type) << index << " survives deletion";
  }
  EXPECT_EQ(GetStockObject(9), nullptr);
  EXPECT_EQ(GetStockObject(1000), nullptr);
}

TEST(Objects, WindowBufferDCsDrawIntoTheBuffer) {
  auto buffer = std::make_shared<win32::gdi::PixelBuffer>();
  buffer->Resize(4, 3);
  HDC dc = win32::gdi::CreateBufferDC(buffer);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetObjectType(dc), DWORD{OBJ_DC});
  EXPECT_FALSE(DeleteDC(dc)) << "window DCs are released, not deleted";
  {
    gdi_test::SelectedBrush brush(dc, RGB(0x11, 0x22, 0x33));
    PatBlt(dc, 1, 1, 2, 2, PATCOPY);
  }
  EXPECT_EQ(buffer->pixels[1 * 4 + 1], 0xFF112233u);
  EXPECT_EQ(buffer->pixels[0], 0xFF000000u);
  // Bitmaps go into memory DCs only.
  HBITMAP bitmap = CreateBitmap(1, 1, 1, 32, nullptr);
  EXPECT_EQ(SelectObject(dc, bitmap), nullptr);
  // A colour bitmap compatible with it, filled from it.
  HBITMAP copy = CreateCompatibleBitmap(dc, 4, 3);
  HDC memory = CreateCompatibleDC(dc);
  SelectObject(memory, copy);
  BitBlt(memory, 0, 0, 4, 3, dc, 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(memory, 2, 2), RGB(0x11, 0x22, 0x33));
  DeleteDC(memory);
  DeleteObject(copy);
  DeleteObject(bitmap);
  EXPECT_TRUE(win32::gdi::ReleaseBufferDC(dc));
}

TEST(Objects, BufferResizeKeepsTheOverlapAndBlackensTheRest) {
  win32::gdi::PixelBuffer buffer;
  buffer.Resize(3, 2);
  ASSERT_EQ(buffer.pixels.size(), 6u);
  for (std::size_t i = 0; i < 6; ++i) buffer.pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(i + 1);
  buffer.Resize(2, 3);
  EXPECT_EQ(buffer.width, 2);
  EXPECT_EQ(buffer.height, 3);
  EXPECT_EQ(buffer.pixels,
            (std::vector<std::uint32_t>{0xFF000001, 0xFF000002, 0xFF000004, 0xFF000005, 0xFF000000, 0xFF000000}));
  buffer.Resize(-1, 5);
  EXPECT_EQ(buffer.width, 0);
  EXPECT_TRUE(buffer.pixels.empty());
}

TEST(Objects, ScreenDCReportsTheScreenAndClipsDrawing) {
  HDC screen = win32::gdi::CreateScreenDC();
  EXPECT_EQ(GetObjectType(screen), DWORD{OBJ_DC});
  EXPECT_GT(GetDeviceCaps(screen, HORZRES), 0);
  EXPECT_GT(GetDeviceCaps(screen, VERTRES), 0);
  int bits = GetDeviceCaps(screen, BITSPIXEL);
  EXPECT_TRUE(bits == 8 || bits == 16 || bits == 24 || bits == 32) << bits;
  EXPECT_EQ(GetDeviceCaps(screen, PLANES), 1);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(screen, TECHNOLOGY), DT_RASDISPLAY);
  EXPECT_NE(GetDeviceCaps(screen, RASTERCAPS) & RC_STRETCHBLT, 0);
  if (bits > 8) {
    EXPECT_EQ(GetDeviceCaps(screen, NUMCOLORS), -1);
  }
  EXPECT_EQ(GetPixel(screen, 0, 0), CLR_INVALID);
  EXPECT_TRUE(PatBlt(screen, 0, 0, 10, 10, BLACKNESS));
  // Memory DCs report the same device.
  HDC memory = CreateCompatibleDC(screen);
  EXPECT_EQ(GetDeviceCaps(memory, HORZRES), GetDeviceCaps(screen, HORZRES));
  EXPECT_EQ(GetDeviceCaps(memory, BITSPIXEL), bits);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 3, 3);
  BITMAP bm{};
  GetObjectA(bitmap, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  DeleteObject(bitmap);
  DeleteDC(memory);
  EXPECT_TRUE(win32::gdi::ReleaseBufferDC(screen));
  EXPECT_FALSE(win32::gdi::ReleaseBufferDC(screen));
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 0);
}

}  // namespace
