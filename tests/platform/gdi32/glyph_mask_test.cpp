// Texts drawn from glyph coverage masks give exactly the pixels Qt's painter gives, in any
// colour on any background; texts whose drawing is more than their glyphs keep Qt's.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "gdi_test_support.h"
#include "platform/common/qt_application.h"
#include "platform/gdi32/font_cache.h"

namespace {

using gdi_test::Canvas;
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

QImage RandomImage(int width, int height, std::mt19937& random) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<Pixel*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) row[x] = 0xFF000000u | (random() & 0xFFFFFFu);
  }
  return image;
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
    win32::gdi::MakeGlyphMasks(*font, *text);
    ASSERT_EQ(text->masks.state, GlyphMasks::State::Usable) << c.text;
    ASSERT_FALSE(text->masks.glyphs.empty()) << c.text;
    const int width = text->width + 2 * c.height;
    const int height = 3 * c.height;
    // At whole-pixel places near the edges too, where glyphs are cut off.
    for (auto [left, top] : {std::pair{c.height / 2, c.height}, std::pair{0, 0}, std::pair{width - 9, 2 * c.height}}) {
      for (int colour = 0; colour < 8; ++colour) {
        const Pixel ink = 0xFF000000u | (random() & 0xFFFFFFu);
        QImage byQt = RandomImage(width, height, random);
        QImage byMasks = byQt.copy();
        {
          QPainter painter(&byQt);
          painter.setPen(QColor::fromRgb(ink));
          for (const QGlyphRun& run : text->runs) painter.drawGlyphRun(QPointF(left, top) + text->Origin(*font), run);
        }
        win32::gdi::BlendGlyphMasks(text->masks, ink,
                                    {reinterpret_cast<Pixel*>(byMasks.bits()), width, height, false}, left, top);
        ASSERT_TRUE(byQt == byMasks) << c.text << " at " << left << "," << top << " in " << std::hex << ink;
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
      HFONT font = CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, lines & underline, lines & strikeOut, SHIFTJIS_CHARSET, 0,
                               0, 0, 0, "ＭＳ Ｐゴシック");
      HGDIOBJ old = SelectObject(c->dc(), font);
      SetBkMode(c->dc(), TRANSPARENT);
      ASSERT_TRUE(TextOutA(c->dc(), 5, 5, "    ", 4));
      SelectObject(c->dc(), old);
      DeleteObject(font);
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
    HFONT font = CreateFontA(25, 0, 0, 0, FW_BOLD, 1, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
    HGDIOBJ old = SelectObject(canvas->dc(), font);
    SetBkMode(canvas->dc(), TRANSPARENT);
    SetTextColor(canvas->dc(), RGB(250, 200, 10));
    ASSERT_TRUE(TextOutA(canvas->dc(), x, y, "ポロンゴ", 8));
    SelectObject(canvas->dc(), old);
    DeleteObject(font);
  }
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 200; ++x) {
      const int fx = x - 47, fy = y - 27;
      const COLORREF moved = fx >= 0 && fy >= 0 ? a.At(fx, fy) : RGB(30, 60, 90);
      ASSERT_EQ(b.At(x, y), moved) << x << "," << y;
    }
}

}  // namespace
