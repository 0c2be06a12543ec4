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

// The environments a program may be started in without a usable display.
struct NoDisplay {
  const char* name;
  const char* display;   // null: unset
  const char* platform;  // QT_QPA_PLATFORM, null: unset
};
constexpr NoDisplay kNoDisplays[] = {
    {"no DISPLAY", nullptr, nullptr},
    {"DISPLAY naming no X server", ":54321", nullptr},
    {"xcb asked for, no X server", ":54321", "xcb"},
};

void Enter(const NoDisplay& environment) {
  unsetenv("WAYLAND_DISPLAY");
  if (environment.display)
    setenv("DISPLAY", environment.display, 1);
  else
    unsetenv("DISPLAY");
  if (environment.platform)
    setenv("QT_QPA_PLATFORM", environment.platform, 1);
  else
    unsetenv("QT_QPA_PLATFORM");
}

TEST_F(Lifetime, WithoutADisplayTextFailsQuietlyAndEverythingElseWorks) {
  for (const NoDisplay& environment : kNoDisplays) {
    EXPECT_EXIT(
        {
          Enter(environment);
          HDC dc = CreateCompatibleDC(nullptr);
          HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
          SelectObject(dc, bitmap);
          HFONT font = CreateFontA(15, 0, 0, 0, 0, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
          HGDIOBJ old = SelectObject(dc, font);
          SIZE size{};
          TEXTMETRICA tm{};
          int code = 0;
          if (GetTextMetricsA(dc, &tm)) code = 23;
          if (TextOutA(dc, 0, 0, "abc", 3)) code = 21;
          if (GetTextExtentPoint32A(dc, "abc", 3, &size)) code = 22;
          if (!PatBlt(dc, 0, 0, 8, 8, WHITENESS) || GetPixel(dc, 7, 7) != 0xFFFFFF) code = 24;
          SelectObject(dc, old);
          if (!DeleteObject(font) || !DeleteDC(dc) || !DeleteObject(bitmap)) code = 25;
          std::exit(code);
        },
        ::testing::ExitedWithCode(0), "")
        << environment.name;
  }
}

TEST_F(Lifetime, WithoutADisplayTheFontMapperAnswersWithoutQt) {
  for (const NoDisplay& environment : kNoDisplays) {
    EXPECT_EXIT(
        {
          Enter(environment);
          win32::gdi::FontRequest request;
          request.face = u"ＭＳ Ｐゴシック";
          request.charset = SHIFTJIS_CHARSET;
          request.height = 20;
          request.width = 8;
          int code = 0;
          if (!win32::gdi::MapFamily(request).isEmpty()) code = 31;
          // A cell height stands for the em when there are no metrics.
          if (win32::gdi::EmPixelSize(request, QString()) != 20) code = 32;
          if (win32::gdi::MapFont(request).pixelSize() != 20) code = 33;
          request.height = -12;
          if (win32::gdi::MapFont(request).pixelSize() != 12) code = 34;
          std::exit(code);
        },
        ::testing::ExitedWithCode(0), "")
        << environment.name;
  }
}

// A program's first text call may come before anything has made the Qt application (no
// window yet): the call makes it, and measures and draws as usual.
TEST_F(Lifetime, TextWorksBeforeAnythingMadeTheApplication) {
  EXPECT_EXIT(
      {
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateBitmap(60, 30, 1, 32, nullptr);
        SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, 60, 30, WHITENESS);
        HFONT font = CreateFontA(17, 0, 0, 0, 0, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICA tm{};
        int code = 0;
        if (!GetTextMetricsA(dc, &tm) || tm.tmHeight != 17) code = 41;
        SetBkMode(dc, TRANSPARENT);
        if (!TextOutA(dc, 2, 2, "■", 2)) code = 42;
        int inked = 0;
        for (int y = 0; y < 30; ++y)
          for (int x = 0; x < 60; ++x) inked += GetPixel(dc, x, y) == 0x000000;
        if (inked < 50) code = 43;
        SelectObject(dc, old);
        DeleteObject(font);
        DeleteDC(dc);
        DeleteObject(bitmap);
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
