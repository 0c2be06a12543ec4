// Texts drawn from glyph coverage masks give exactly the pixels Qt's painter gives, in any
// colour on any background; texts whose drawing is more than their glyphs keep Qt's.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "gdi_test_support.h"
#include "glyph_test_support.h"
#include "platform/common/qt_application.h"
#include "platform/gdi32/font_cache.h"

namespace {

using gdi_test::Canvas;
using gdi_test::RandomImage;
using gdi_test::Selected;
using win32::gdi::GlyphMasks;
using win32::gdi::Pixel;

class GlyphMaskTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_NE(win32::qt::Application(), nullptr) << win32::qt::ApplicationError(); }
};

win32::gdi::FontRequest Request(int height, int weight, bool italic, int quality = DEFAULT_QUALITY) {
  win32::gdi::FontRequest r;
  r.face = u"ＭＳ Ｐゴシック";
  r.charset = SHIFTJIS_CHARSET;
  r.height = height;
  r.weight = weight;
  r.italic = italic;
  r.quality = quality;
  return r;
}

TEST_F(GlyphMaskTest, BlendingTheMasksGivesQtsPixelsInAnyColourOnAnyBackground) {
  struct Case {
    const char* text;
    int height;
    int weight;
    bool italic;
    int quality;
  } cases[] = {
      {"ポロンゴ", 25, FW_BOLD, true, DEFAULT_QUALITY},
      {"01位 得点:-2147483648 胴体:00000", 17, FW_BOLD, false, DEFAULT_QUALITY},
      {"ＧａｍｅＯｖｅｒ...！", 50, FW_BOLD, true, DEFAULT_QUALITY},
      {"(C) Porongo Team", 15, FW_NORMAL, true, DEFAULT_QUALITY},
      {"↑キー fi AV", 12, FW_BOLD, false, DEFAULT_QUALITY},
      {"Wave", 30, FW_NORMAL, false, NONANTIALIASED_QUALITY},
  };
  std::mt19937 random(2024);
  for (const Case& c : cases) {
    const win32::gdi::RealizedFont* font = win32::gdi::Realize(Request(c.height, c.weight, c.italic, c.quality));
    ASSERT_NE(font, nullptr);
    win32::gdi::LaidOutText* text = win32::gdi::LayOut(*font, c.text);
    const GlyphMasks& masks = win32::gdi::MasksOf(*font, *text);
    ASSERT_EQ(masks.state, GlyphMasks::State::Usable) << c.text;
    ASSERT_FALSE(masks.glyphs.empty()) << c.text;
    const int width = text->width + 2 * c.height;
    const int height = 3 * c.height;
    // At whole-pixel places near the edges too, where glyphs are cut off.
    for (auto [left, top] : {std::pair{c.height / 2, c.height}, std::pair{0, 0}, std::pair{width - 9, 2 * c.height}}) {
      for (int colour = 0; colour < 8; ++colour) {
        const Pixel ink = 0xFF000000u | (random() & 0xFFFFFFu);
        const QImage background = RandomImage(width, height, random);
        ASSERT_TRUE(gdi_test::MasksDrawLikeQt(*font, *text, ink, background, left, top))
            << c.text << " at " << left << "," << top << " in " << std::hex << ink;
      }
    }
  }
}

// Draws `text` in `font` in a random colour on a random background with Qt and with the
// masks; true when the two images are the same.
bool MasksDrawLikeQt(const win32::gdi::RealizedFont& font, const win32::gdi::LaidOutText& text, std::mt19937& random) {
  const Pixel ink = 0xFF000000u | (random() & 0xFFFFFFu);
  const QImage background = RandomImage(text.width + 8, font.Height() + 8, random);
  return gdi_test::MasksDrawLikeQt(font, text, ink, background, 4, 4);
}

TEST_F(GlyphMaskTest, TextsSharingGlyphsAtOtherPlacesStillMatchQt) {
  // A counter: the same digits again and again, at other fractions of a pixel as the
  // proportional digits before them change.
  const win32::gdi::RealizedFont* font = win32::gdi::Realize(Request(17, FW_NORMAL, false));
  ASSERT_NE(font, nullptr);
  std::mt19937 random(5);
  for (int value : {0, 1, 7, 11, 19, 101, 1234, 11111, 98765, -2147483647}) {
    const std::string text = "得点:" + std::to_string(value) + " ilj.";
    win32::gdi::LaidOutText* laid = win32::gdi::LayOut(*font, text);
    ASSERT_EQ(win32::gdi::MasksOf(*font, *laid).state, GlyphMasks::State::Usable) << value;
    ASSERT_TRUE(MasksDrawLikeQt(*font, *laid, random)) << value;
  }
}

TEST_F(GlyphMaskTest, MasksLetGoToStayWithinMemoryAreMadeAgain) {
  const win32::gdi::RealizedFont* font = win32::gdi::Realize(Request(19, FW_BOLD, false));
  ASSERT_NE(font, nullptr);
  win32::gdi::LaidOutText* laid = win32::gdi::LayOut(*font, "ポロンゴ");
  win32::gdi::GlyphMaskCache& cache = win32::gdi::TheGlyphMaskCache();
  ASSERT_EQ(win32::gdi::MasksOf(*font, *laid).state, GlyphMasks::State::Usable);
  const std::uint64_t before = cache.Generation();
  // Masks of glyphs no font has, a few megabytes each, until the cache lets go of all.
  for (quint32 i = 0; cache.Generation() == before && i < 64; ++i) {
    auto big = std::make_unique<win32::gdi::GlyphMask>();
    big->lanes.resize(2u << 20);
    cache.Keep({font, laid->runs.front().rawFont(), 0xFFFF0000u + i, 0, 0}, std::move(big));
  }
  ASSERT_NE(cache.Generation(), before);
  const GlyphMasks& again = win32::gdi::MasksOf(*font, *laid);
  EXPECT_EQ(again.generation, cache.Generation());
  ASSERT_EQ(again.state, GlyphMasks::State::Usable);
  std::mt19937 random(3);
  EXPECT_TRUE(MasksDrawLikeQt(*font, *laid, random));
}

TEST_F(GlyphMaskTest, AFaceThatFailedItsCheckIsDrawnByQt) {
  const win32::gdi::RealizedFont* font = win32::gdi::Realize(Request(21, FW_NORMAL, true));
  ASSERT_NE(font, nullptr);
  win32::gdi::LaidOutText* laid = win32::gdi::LayOut(*font, "ロゴ");
  ASSERT_FALSE(laid->runs.isEmpty());
  win32::gdi::TheGlyphMaskCache().CheckOf(font, laid->runs.front().rawFont()) =
      win32::gdi::GlyphMaskCache::Check::Failed;
  const GlyphMasks& masks = win32::gdi::MasksOf(*font, *laid);
  EXPECT_EQ(masks.state, GlyphMasks::State::Unusable);
  EXPECT_TRUE(masks.glyphs.empty());
  // Drawn all the same, by Qt.
  Canvas c(60, 40);
  c.Fill(RGB(255, 255, 255));
  {
    Selected hfont(c.dc(),
                   CreateFontA(21, 0, 0, 0, FW_NORMAL, 1, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック"));
    ASSERT_TRUE(TextOutA(c.dc(), 2, 2, "ロゴ", 4));
  }
  int inked = 0;
  for (COLORREF p : c.Pixels()) inked += p != RGB(255, 255, 255);
  EXPECT_GT(inked, 30);
}

// Whichever way a text goes, masks or painter, TextOutA gives the pixels Qt's painter gives:
// small and large fonts, bold, italic, unantialiased, transparent and opaque.
TEST_F(GlyphMaskTest, TextOutDrawsQtsPixelsAtEverySize) {
  struct Case {
    int height;
    int weight;
    bool italic;
    int quality;
  } cases[] = {{12, FW_NORMAL, false, DEFAULT_QUALITY}, {17, FW_BOLD, false, DEFAULT_QUALITY},
               {25, FW_BOLD, true, DEFAULT_QUALITY},    {50, FW_BOLD, true, DEFAULT_QUALITY},
               {62, FW_NORMAL, false, DEFAULT_QUALITY}, {70, FW_NORMAL, true, DEFAULT_QUALITY},
               {90, FW_BOLD, false, DEFAULT_QUALITY},   {30, FW_NORMAL, false, NONANTIALIASED_QUALITY},
               {120, FW_NORMAL, true, DEFAULT_QUALITY}};
  const char* texts[] = {"ポロンゴ", "■ＧａｍｅＯｖｅｒ", "WAVE fi ij", "得　点：00123"};
  std::mt19937 random(77);
  for (const Case& c : cases) {
    const win32::gdi::RealizedFont* font = win32::gdi::Realize(Request(c.height, c.weight, c.italic, c.quality));
    ASSERT_NE(font, nullptr);
    for (const char* text : texts) {
      for (int mode : {TRANSPARENT, OPAQUE}) {
        win32::gdi::LaidOutText* laid = win32::gdi::LayOut(*font, text);
        const int width = laid->width + 2 * c.height, height = 3 * c.height;
        const int x = c.height / 2, y = c.height;
        Canvas canvas(width, height);
        QImage byQt = RandomImage(width, height, random);
        canvas.Paint([&](int px, int py) { return win32::gdi::ColorFromPixel(byQt.pixel(px, py)); });
        const Pixel ink = 0xFF000000u | (random() & 0xFFFFFFu);
        const Pixel paper = 0xFF000000u | (random() & 0xFFFFFFu);
        {
          Selected hfont(canvas.dc(), CreateFontA(c.height, 0, 0, 0, c.weight, c.italic, 0, 0, SHIFTJIS_CHARSET, 0, 0,
                                                  static_cast<DWORD>(c.quality), 0, "ＭＳ Ｐゴシック"));
          SetBkMode(canvas.dc(), mode);
          SetTextColor(canvas.dc(), win32::gdi::ColorFromPixel(ink));
          SetBkColor(canvas.dc(), win32::gdi::ColorFromPixel(paper));
          ASSERT_TRUE(TextOutA(canvas.dc(), x, y, text, static_cast<int>(std::strlen(text))));
        }
        {
          QPainter painter(&byQt);
          if (mode == OPAQUE) painter.fillRect(QRect(x, y, laid->width, font->Height()), QColor::fromRgb(paper));
          painter.setPen(QColor::fromRgb(ink));
          for (const QGlyphRun& run : laid->runs) painter.drawGlyphRun(QPointF(x, y) + laid->Origin(*font), run);
        }
        int differing = 0;
        for (int py = 0; py < height; ++py)
          for (int px = 0; px < width; ++px)
            differing += canvas.At(px, py) != win32::gdi::ColorFromPixel(byQt.pixel(px, py));
        EXPECT_EQ(differing, 0) << text << " at height " << c.height << (mode == OPAQUE ? ", opaque" : "");
      }
    }
  }
}

TEST_F(GlyphMaskTest, UnderlinedAndStruckOutTextsAreDrawnWhole) {
  // The lines are no glyphs: a text with them is drawn by Qt, lines included.
  for (auto [underline, strikeOut] : {std::pair{1, 0}, std::pair{0, 1}}) {
    Canvas plain(120, 40), decorated(120, 40);
    int lineRows = 0;
    for (Canvas* c : {&plain, &decorated}) {
      c->Fill(RGB(255, 255, 255));
      const DWORD lines = c == &decorated;
      Selected font(c->dc(), CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, lines & underline, lines & strikeOut,
                                         SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック"));
      SetBkMode(c->dc(), TRANSPARENT);
      ASSERT_TRUE(TextOutA(c->dc(), 5, 5, "    ", 4));
    }
    // Spaces have no ink: all there is of the decorated text is its line.
    EXPECT_EQ(plain.Pixels(), std::vector<COLORREF>(120 * 40, RGB(255, 255, 255)));
    for (int y = 0; y < 40; ++y) {
      bool across = true;
      for (int x = 8; x < 20; ++x) across = across && decorated.At(x, y) != RGB(255, 255, 255);
      lineRows += across;
    }
    EXPECT_GE(lineRows, 1) << (underline ? "underline" : "strike-out");
  }
}

TEST_F(GlyphMaskTest, TextLandsTheSameWayWhereverItIsDrawn) {
  // The same text at two places inside a canvas: the second drawing is the first moved.
  Canvas a(200, 80), b(200, 80);
  for (Canvas* c : {&a, &b}) c->Fill(RGB(30, 60, 90));
  for (auto [canvas, x, y] : {std::tuple{&a, 3, 4}, std::tuple{&b, 50, 31}}) {
    Selected font(canvas->dc(),
                  CreateFontA(25, 0, 0, 0, FW_BOLD, 1, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック"));
    SetBkMode(canvas->dc(), TRANSPARENT);
    SetTextColor(canvas->dc(), RGB(250, 200, 10));
    ASSERT_TRUE(TextOutA(canvas->dc(), x, y, "ポロンゴ", 8));
  }
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 200; ++x) {
      const int fx = x - 47, fy = y - 27;
      const COLORREF moved = fx >= 0 && fy >= 0 ? a.At(fx, fy) : RGB(30, 60, 90);
      ASSERT_EQ(b.At(x, y), moved) << x << "," << y;
    }
}

}  // namespace
