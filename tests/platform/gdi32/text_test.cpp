// Fonts and text, measured on the pixels TextOutA draws.
#include <gtest/gtest.h>

#include <QFont>
#include <algorithm>
#include <cstring>

#include "gdi_test_support.h"
#include "platform/common/qt_application.h"
#include "platform/gdi32/font_mapper.h"

namespace {

using gdi_test::Canvas;

const char* const kFace = "ＭＳ Ｐゴシック";
const char* const kSquare = "■";  // a solid glyph: its middle is pure text colour
constexpr COLORREF kPaper = RGB(255, 255, 255);

class SelectedFont : public gdi_test::Selected {
 public:
  SelectedFont(HDC dc, int height, int weight = FW_NORMAL, bool italic = false, const char* face = kFace)
      : Selected(dc, CreateFontA(height, 0, 0, 0, weight, italic, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, face)) {}
};

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // right and bottom exclusive
  bool Empty() const { return right < 0; }
};

// The pixels that differ from `background(x, y)`.
template <typename Background>
Box InkBox(const Canvas& c, Background background) {
  Box b;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (c.At(x, y) != background(x, y)) {
        b.left = std::min(b.left, x);
        b.top = std::min(b.top, y);
        b.right = std::max(b.right, x + 1);
        b.bottom = std::max(b.bottom, y + 1);
      }
  return b;
}
Box InkBox(const Canvas& c, COLORREF paper = kPaper) {
  return InkBox(c, [paper](int, int) { return paper; });
}

// Total darkness on white paper: how much ink the text put down.
long Ink(const Canvas& c) {
  long sum = 0;
  for (COLORREF p : c.Pixels()) sum += 765 - (GetRValue(p) + GetGValue(p) + GetBValue(p));
  return sum;
}

SIZE Extent(HDC dc, const char* text) {
  SIZE s{};
  EXPECT_TRUE(GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &s));
  return s;
}

BOOL Draw(HDC dc, int x, int y, const char* text) {
  return TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

class Text : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_NE(win32::qt::Application(), nullptr) << win32::qt::ApplicationError(); }
};

TEST_F(Text, LandsAtItsPositionInItsColour) {
  Canvas a(120, 60), b(120, 60);
  a.Fill(kPaper);
  b.Fill(kPaper);
  Box boxes[2];
  SIZE extent{};
  int i = 0;
  for (auto [canvas, x, y] : {std::tuple{&a, 20, 10}, std::tuple{&b, 31, 17}}) {
    SelectedFont font(canvas->dc(), 25);
    SetBkMode(canvas->dc(), TRANSPARENT);
    SetTextColor(canvas->dc(), RGB(255, 0, 0));
    ASSERT_TRUE(Draw(canvas->dc(), x, y, kSquare));
    extent = Extent(canvas->dc(), kSquare);
    boxes[i++] = InkBox(*canvas);
  }
  ASSERT_FALSE(boxes[0].Empty());
  // Inside the cell box that starts at the given point.
  EXPECT_GE(boxes[0].left, 20);
  EXPECT_GE(boxes[0].top, 10);
  EXPECT_LE(boxes[0].right, 20 + extent.cx);
  EXPECT_LE(boxes[0].bottom, 10 + extent.cy);
  // Moving the point moves the pixels by exactly as much.
  EXPECT_EQ(boxes[1].left - boxes[0].left, 11);
  EXPECT_EQ(boxes[1].top - boxes[0].top, 7);
  EXPECT_EQ(boxes[1].right - boxes[0].right, 11);
  EXPECT_EQ(boxes[1].bottom - boxes[0].bottom, 7);
  // The middle of the square is the text colour itself.
  EXPECT_EQ(a.At((boxes[0].left + boxes[0].right) / 2, (boxes[0].top + boxes[0].bottom) / 2), RGB(255, 0, 0));
}

TEST_F(Text, BoldIsWiderAndHeavier) {
  const char* text = "ポロンゴ Score";
  Canvas normal(300, 40), bold(300, 40);
  normal.Fill(kPaper);
  bold.Fill(kPaper);
  SIZE normalExtent, boldExtent;
  {
    SelectedFont font(normal.dc(), 17, FW_NORMAL);
    Draw(normal.dc(), 2, 2, text);
    normalExtent = Extent(normal.dc(), text);
  }
  {
    SelectedFont font(bold.dc(), 17, FW_BOLD);
    Draw(bold.dc(), 2, 2, text);
    boldExtent = Extent(bold.dc(), text);
  }
  EXPECT_GE(boldExtent.cx, normalExtent.cx);
  EXPECT_GE(InkBox(bold).right, InkBox(normal).right);
  EXPECT_GT(Ink(bold), Ink(normal) * 115 / 100);
}

TEST_F(Text, ItalicLeansRight) {
  Canvas upright(60, 60), italic(60, 60);
  for (Canvas* c : {&upright, &italic}) {
    c->Fill(kPaper);
    SelectedFont font(c->dc(), 50, FW_NORMAL, c == &italic);
    Draw(c->dc(), 5, 2, "l");
  }
  // Horizontal centre of the ink in the top and bottom thirds of the glyph.
  auto lean = [](const Canvas& c) {
    Box b = InkBox(c);
    int third = (b.bottom - b.top) / 3;
    auto centre = [&](int from, int to) {
      long sum = 0, weight = 0;
      for (int y = from; y < to; ++y)
        for (int x = 0; x < c.width(); ++x)
          if (c.At(x, y) != kPaper) sum += x, ++weight;
      return weight ? double(sum) / weight : 0.0;
    };
    return centre(b.top, b.top + third) - centre(b.bottom - third, b.bottom);
  };
  EXPECT_LT(std::abs(lean(upright)), 1.0);
  EXPECT_GT(lean(italic), 3.0);
}

TEST_F(Text, TransparentModeLeavesTheBackground) {
  auto stripes = [](int x, int) { return x % 2 ? RGB(0, 200, 0) : RGB(200, 0, 200); };
  Canvas c(80, 40);
  c.Paint(stripes);
  SelectedFont font(c.dc(), 20);
  SetBkMode(c.dc(), TRANSPARENT);
  SetBkColor(c.dc(), RGB(0, 0, 255));
  SetTextColor(c.dc(), RGB(255, 255, 0));
  Draw(c.dc(), 10, 10, "ロ");
  SIZE extent = Extent(c.dc(), "ロ");
  int unchanged = 0, inBox = 0;
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      bool inside = x >= 10 && x < 10 + extent.cx && y >= 10 && y < 10 + extent.cy;
      if (!inside) {
        ASSERT_EQ(c.At(x, y), stripes(x, y)) << x << "," << y;
      } else {
        ++inBox;
        unchanged += c.At(x, y) == stripes(x, y);
        ASSERT_NE(c.At(x, y), RGB(0, 0, 255)) << "no background colour in transparent mode";
      }
    }
  }
  EXPECT_GT(unchanged, inBox / 2);
  EXPECT_LT(unchanged, inBox);
}

TEST_F(Text, OpaqueModeFillsTheCellBox) {
  auto stripes = [](int x, int) { return x % 2 ? RGB(0, 200, 0) : RGB(200, 0, 200); };
  Canvas c(80, 40);
  c.Paint(stripes);
  SelectedFont font(c.dc(), 20);
  SetBkMode(c.dc(), OPAQUE);
  SetBkColor(c.dc(), RGB(0, 0, 255));
  SetTextColor(c.dc(), RGB(255, 255, 0));
  Draw(c.dc(), 10, 10, "ロ");
  SIZE extent = Extent(c.dc(), "ロ");
  int background = 0;
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      COLORREF p = c.At(x, y);
      if (x >= 10 && x < 10 + extent.cx && y >= 10 && y < 10 + extent.cy) {
        // Only blends of the background and text colours: red and green rise together.
        ASSERT_EQ(GetRValue(p), GetGValue(p)) << x << "," << y;
        ASSERT_EQ(GetBValue(p), 255 - GetRValue(p)) << x << "," << y;
        background += p == RGB(0, 0, 255);
      } else {
        ASSERT_EQ(p, stripes(x, y)) << x << "," << y;
      }
    }
  }
  EXPECT_GT(background, 0);
}

TEST_F(Text, PositiveHeightIsTheCellHeight) {
  Canvas c(200, 120);
  for (int height : {12, 15, 17, 25, 30, 50, 100}) {
    SelectedFont font(c.dc(), height);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(c.dc(), &tm));
    EXPECT_EQ(tm.tmHeight, height);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, height);
    EXPECT_GE(tm.tmInternalLeading, 0);
    EXPECT_EQ(Extent(c.dc(), "Ag").cy, height);
    // Ascenders and descenders stay inside the cell.
    c.Fill(kPaper);
    Draw(c.dc(), 0, 10, "|ｇＯ");
    Box ink = InkBox(c);
    EXPECT_GE(ink.top, 10) << height;
    EXPECT_LE(ink.bottom, 10 + height) << height;
    EXPECT_GT(ink.bottom - ink.top, height / 2) << height;
  }
}

TEST_F(Text, NegativeHeightIsTheEmHeight) {
  Canvas c(10, 10);
  for (int height : {-12, -16, -40}) {
    SelectedFont font(c.dc(), height);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(c.dc(), &tm));
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -height);
    // A full-width character is one em wide in a Japanese gothic.
    EXPECT_EQ(Extent(c.dc(), "■").cx, -height);
  }
  SelectedFont font(c.dc(), 0);
  TEXTMETRICA tm{};
  GetTextMetricsA(c.dc(), &tm);
  EXPECT_GT(tm.tmHeight, 8) << "height 0 picks a readable default";
}

TEST_F(Text, ExtentsAddUpAndMatchTheDrawing) {
  Canvas c(300, 40);
  c.Fill(kPaper);
  SelectedFont font(c.dc(), 17);
  SIZE a = Extent(c.dc(), "A"), aa = Extent(c.dc(), "AA"), v = Extent(c.dc(), "AV");
  EXPECT_EQ(aa.cx, 2 * a.cx);
  EXPECT_EQ(v.cx, a.cx + Extent(c.dc(), "V").cx) << "no kerning";
  SIZE empty{-1, -1};
  EXPECT_TRUE(GetTextExtentPoint32A(c.dc(), "", 0, &empty));
  EXPECT_EQ(empty.cx, 0);
  EXPECT_EQ(empty.cy, 17);
  const char* text = "得点：00123";
  SIZE s = Extent(c.dc(), text);
  Draw(c.dc(), 5, 5, text);
  Box ink = InkBox(c);
  EXPECT_GE(ink.left, 5);
  EXPECT_LE(ink.right, 5 + s.cx + 1);
  EXPECT_GT(ink.right, 5 + s.cx * 3 / 4);
  TEXTMETRICA tm{};
  GetTextMetricsA(c.dc(), &tm);
  EXPECT_GT(tm.tmAveCharWidth, 0);
  EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
  EXPECT_EQ(tm.tmCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(tm.tmWeight, FW_NORMAL);
}

TEST_F(Text, AlignmentMovesTheCellBox) {
  Canvas c(200, 100);
  SelectedFont font(c.dc(), 30);
  SIZE s = Extent(c.dc(), kSquare);
  TEXTMETRICA tm{};
  GetTextMetricsA(c.dc(), &tm);
  struct Case {
    UINT align;
    int left, top;  // where the cell box must start for a reference point (100, 60)
  } cases[] = {
      {TA_LEFT | TA_TOP, 100, 60},
      {TA_RIGHT | TA_TOP, 100 - s.cx, 60},
      {TA_CENTER | TA_TOP, 100 - s.cx / 2, 60},
      {TA_LEFT | TA_BOTTOM, 100, 60 - s.cy},
      {TA_LEFT | TA_BASELINE, 100, 60 - tm.tmAscent},
  };
  Box reference;
  for (const Case& k : cases) {
    c.Fill(kPaper);
    SetTextAlign(c.dc(), k.align);
    Draw(c.dc(), 100, 60, kSquare);
    Box ink = InkBox(c);
    if (k.align == (TA_LEFT | TA_TOP)) reference = ink;
    // The ink sits in the cell box the same way whatever the alignment.
    EXPECT_EQ(ink.left - k.left, reference.left - 100) << k.align;
    EXPECT_EQ(ink.top - k.top, reference.top - 60) << k.align;
  }
  SetTextAlign(c.dc(), TA_LEFT | TA_TOP);
}

TEST_F(Text, UpdateCpDrawsAtAndAdvancesTheCurrentPosition) {
  Canvas joined(200, 40), split(200, 40);
  joined.Fill(kPaper);
  split.Fill(kPaper);
  {
    SelectedFont font(joined.dc(), 20);
    Draw(joined.dc(), 0, 0, "AB");
  }
  SelectedFont font(split.dc(), 20);
  SetTextAlign(split.dc(), TA_UPDATECP);
  Draw(split.dc(), 50, 50, "A");  // the point is ignored: the current position starts at (0, 0)
  Draw(split.dc(), 50, 50, "B");
  EXPECT_EQ(split.Pixels(), joined.Pixels());
}

TEST_F(Text, MonochromeBitmapsGetBlackAndWhiteText) {
  Canvas mono(80, 30, true);
  mono.Fill(kPaper);
  SelectedFont font(mono.dc(), 20);
  SetBkMode(mono.dc(), TRANSPARENT);
  SetTextColor(mono.dc(), RGB(20, 20, 20));
  Draw(mono.dc(), 2, 2, "ポロンゴ");
  int black = 0;
  for (COLORREF p : mono.Pixels()) {
    ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << std::hex << p;
    black += p == 0;
  }
  EXPECT_GT(black, 40);
}

TEST_F(Text, JapaneseGlyphsAreRealGlyphs) {
  // Missing glyphs would all be the same box.
  Canvas po(40, 40), ro(40, 40);
  for (auto [canvas, text] : {std::pair{&po, "ポ"}, std::pair{&ro, "ロ"}}) {
    canvas->Fill(kPaper);
    SelectedFont font(canvas->dc(), 30);
    Draw(canvas->dc(), 2, 2, text);
  }
  EXPECT_NE(po.Pixels(), ro.Pixels());
  EXPECT_GT(Ink(po), 0);
}

TEST_F(Text, ClippedAtTheBitmapEdges) {
  Canvas c(20, 10);
  c.Fill(kPaper);
  SelectedFont font(c.dc(), 25);
  EXPECT_TRUE(Draw(c.dc(), -8, -6, "■■■■"));
  EXPECT_TRUE(Draw(c.dc(), 1000, 1000, "■"));
  EXPECT_FALSE(TextOutA(c.dc(), 0, 0, nullptr, 3));
  EXPECT_FALSE(TextOutA(c.dc(), 0, 0, "x", -1));
  EXPECT_GT(Ink(c), 0);
}

TEST_F(Text, FontMapperPicksTheFreeJapaneseGothics) {
  struct Case {
    std::u16string face;
    int charset;
    int pitch;
    QString family;
  } cases[] = {
      {u"ＭＳ Ｐゴシック", SHIFTJIS_CHARSET, 0, "IPAPGothic"},
      {u"MS PGothic", ANSI_CHARSET, 0, "IPAPGothic"},
      {u"ＭＳ ゴシック", SHIFTJIS_CHARSET, 0, "IPAGothic"},
      {u"ms gothic", SHIFTJIS_CHARSET, 0, "IPAGothic"},
      {u"System", ANSI_CHARSET, 0, "IPAPGothic"},
      {u"No Such Face", SHIFTJIS_CHARSET, 0, "IPAPGothic"},
      {u"No Such Face", SHIFTJIS_CHARSET, FIXED_PITCH, "IPAGothic"},
      {u"", DEFAULT_CHARSET, 0, "IPAPGothic"},
      {u"DejaVu Sans", ANSI_CHARSET, 0, "DejaVu Sans"},
  };
  for (const Case& c : cases) {
    win32::gdi::FontRequest request;
    request.face = c.face;
    request.charset = c.charset;
    request.pitchAndFamily = c.pitch;
    EXPECT_EQ(win32::gdi::MapFamily(request), c.family) << c.family.toStdString();
  }
  // An unknown face in a Western character set gets the desktop's general font.
  win32::gdi::FontRequest western;
  western.face = u"No Such Face";
  western.charset = ANSI_CHARSET;
  EXPECT_FALSE(win32::gdi::MapFamily(western).isEmpty());
  EXPECT_NE(win32::gdi::MapFamily(western), "No Such Face");
}

TEST_F(Text, CreateFontAFaceBytesReachTheMapper) {
  HFONT font = CreateFontA(25, 0, 0, 0, FW_BOLD, 1, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                           "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E");
  LOGFONTA lf{};
  GetObjectA(font, sizeof lf, &lf);
  win32::gdi::FontRequest request = win32::gdi::RequestFromLogFont(lf);
  EXPECT_EQ(request.face, u"ＭＳ Ｐゴシック");
  QFont qfont = win32::gdi::MapFont(request);
  EXPECT_EQ(qfont.family(), "IPAPGothic");
  EXPECT_TRUE(qfont.italic());
  EXPECT_EQ(qfont.weight(), QFont::Bold);
  DeleteObject(font);
}

}  // namespace
