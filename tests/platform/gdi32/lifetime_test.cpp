// GDI at the edges of the process's life: from static destructors after main() has
// returned, and with no display for Qt at all. Each case runs in a fresh child process, so
// gdi32 starts there from nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/gdi32/font_mapper.h"
#include "platform/gdi32/pixel_buffer.h"
#include "platform/win32.h"

namespace {

// Like the game's global object: built before any GDI call, filled later, and releasing its
// DC and bitmap from its destructor during exit. Any failure there ends the process with a
// code of its own.
class GlobalSurface {
 public:
  void Fill() {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateBitmap(16, 16, 1, 32, nullptr);
    SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, 16, 16, WHITENESS);
  }
  ~GlobalSurface() {
    if (GetPixel(dc_, 3, 3) != 0xFFFFFF) _exit(11);
    if (!DeleteDC(dc_)) _exit(12);
    if (!DeleteObject(bitmap_)) _exit(13);
    if (win32::gdi::LiveObjectCount() != 0) _exit(14);
    if (DeleteObject(bitmap_)) _exit(15);
  }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
};

class Lifetime : public ::testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(Lifetime, ObjectsCanBeDeletedFromStaticDestructors) {
  EXPECT_EXIT(
      {
        static GlobalSurface surface;  // constructed before gdi32's own state exists
        surface.Fill();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(Lifetime, WithoutADisplayTextFailsQuietlyAndEverythingElseWorks) {
  EXPECT_EXIT(
      {
        unsetenv("QT_QPA_PLATFORM");
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
        SelectObject(dc, bitmap);
        HFONT font = CreateFontA(15, 0, 0, 0, 0, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        TEXTMETRICA tm{};
        int code = 0;
        if (TextOutA(dc, 0, 0, "abc", 3)) code = 21;
        if (GetTextExtentPoint32A(dc, "abc", 3, &size)) code = 22;
        if (GetTextMetricsA(dc, &tm)) code = 23;
        if (!PatBlt(dc, 0, 0, 8, 8, WHITENESS) || GetPixel(dc, 7, 7) != 0xFFFFFF) code = 24;
        SelectObject(dc, old);
        if (!DeleteObject(font) || !DeleteDC(dc) || !DeleteObject(bitmap)) code = 25;
        std::exit(code);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(TextResources, ReleasingThemKeepsTextWorkingWhileQtIsThere) {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontA(20, 0, 0, 0, 0, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
  HGDIOBJ old = SelectObject(dc, font);
  SIZE before{}, after{};
  ASSERT_TRUE(GetTextExtentPoint32A(dc, "ポロンゴ", 8, &before));
  win32::gdi::ReleaseTextResources();
  ASSERT_TRUE(GetTextExtentPoint32A(dc, "ポロンゴ", 8, &after));
  EXPECT_EQ(after.cx, before.cx);
  EXPECT_EQ(after.cy, 20);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
}

}  // namespace
