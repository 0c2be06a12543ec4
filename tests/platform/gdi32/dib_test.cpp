// Bitmaps: creation in both formats, their descriptions, and DIB bits in and out.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "gdi_test_support.h"

namespace {

using gdi_test::Canvas;

// A DIB: header, colour table and bits, laid out as Windows lays them out in memory.
struct Dib {
  std::vector<BYTE> info;  // BITMAPINFOHEADER followed by the colour table
  std::vector<BYTE> bits;

  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
  const BITMAPINFOHEADER* Header() const { return reinterpret_cast<const BITMAPINFOHEADER*>(info.data()); }
};

constexpr int kWidth = 5;
constexpr int kHeight = 3;

// The colour of the test image at (x, y) for a DIB of `bitCount`: colours a DIB of that
// depth can hold exactly.
COLORREF ImageColour(int bitCount, int x, int y) {
  static const COLORREF palette[] = {RGB(0, 0, 0),   RGB(255, 255, 255), RGB(255, 0, 0),   RGB(0, 128, 0),
                                     RGB(0, 0, 255), RGB(128, 128, 0),   RGB(0, 255, 255), RGB(192, 192, 192)};
  int i = x + y * kWidth;
  switch (bitCount) {
    case 1:
      return (i % 3 == 0) ? RGB(255, 255, 255) : RGB(0, 0, 0);
    case 4:
    case 8:
      return palette[i % 8];
    case 16: {
      // 5 bits per channel; 8-bit values repeat their top bits, so 31 is 255.
      auto expand = [](int v) { return (v << 3) | (v >> 2); };
      return RGB(expand(i * 2 % 32), expand(31 - i), expand(i % 3 ? 8 : 31));
    }
    default:
      return RGB(i * 13, 255 - i * 7, (i * 37) & 0xFF);
  }
}

Dib MakeDib(int bitCount, bool topDown) {
  Dib dib;
  const int colours = bitCount <= 8 ? 1 << bitCount : 0;
  dib.info.resize(sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD));
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = kWidth;
  h.biHeight = topDown ? -kHeight : kHeight;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bitCount);
  h.biCompression = BI_RGB;
  std::memcpy(dib.info.data(), &h, sizeof h);
  // Colour table: the palette colours first, in a shuffled order so indexes matter.
  std::vector<COLORREF> table;
  if (bitCount == 1) table = {RGB(0, 0, 0), RGB(255, 255, 255)};
  if (bitCount >= 4 && bitCount <= 8) {
    table = {RGB(192, 192, 192), RGB(0, 255, 255), RGB(128, 128, 0),   RGB(0, 0, 255),
             RGB(0, 128, 0),     RGB(255, 0, 0),   RGB(255, 255, 255), RGB(0, 0, 0)};
    table.resize(colours, RGB(1, 2, 3));
  }
  for (std::size_t i = 0; i < table.size(); ++i) {
    RGBQUAD q{GetBValue(table[i]), GetGValue(table[i]), GetRValue(table[i]), 0};
    std::memcpy(dib.info.data() + sizeof h + i * 4, &q, 4);
  }
  auto indexOf = [&](COLORREF c) {
    for (std::size_t i = 0; i < table.size(); ++i)
      if (table[i] == c) return static_cast<unsigned>(i);
    ADD_FAILURE() << "colour not in table";
    return 0u;
  };
  const std::size_t stride = (kWidth * bitCount + 31) / 32 * 4;
  dib.bits.assign(stride * kHeight, 0);
  for (int y = 0; y < kHeight; ++y) {
    BYTE* row = dib.bits.data() + stride * (topDown ? y : kHeight - 1 - y);
    for (int x = 0; x < kWidth; ++x) {
      COLORREF c = ImageColour(bitCount, x, y);
      switch (bitCount) {
        case 1:
          row[x / 8] |= BYTE(indexOf(c) << (7 - x % 8));
          break;
        case 4:
          row[x / 2] |= BYTE(indexOf(c) << (x % 2 ? 0 : 4));
          break;
        case 8:
          row[x] = BYTE(indexOf(c));
          break;
        case 16: {
          WORD v = WORD((GetRValue(c) >> 3) << 10 | (GetGValue(c) >> 3) << 5 | (GetBValue(c) >> 3));
          std::memcpy(row + 2 * x, &v, 2);
          break;
        }
        case 24:
          row[3 * x] = GetBValue(c), row[3 * x + 1] = GetGValue(c), row[3 * x + 2] = GetRValue(c);
          break;
        case 32:
          row[4 * x] = GetBValue(c), row[4 * x + 1] = GetGValue(c), row[4 * x + 2] = GetRValue(c), row[4 * x + 3] = 0;
          break;
      }
    }
  }
  return dib;
}

// The bitmap's pixels as a 32-bpp top-down DIB read with GetDIBits.
std::vector<COLORREF> ReadBack(HDC dc, HBITMAP bitmap, int width, int height) {
  std::vector<COLORREF> out;
  for (std::uint32_t v : gdi_test::ReadDibWords(dc, bitmap, width, height))
    out.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
  return out;
}

class DibRoundTrip : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(DibRoundTrip, CreateDIBitmapThenGetDIBitsGivesTheImage) {
  auto [bitCount, topDown] = GetParam();
  Dib dib = MakeDib(bitCount, topDown);
  Canvas reference(1, 1);  // a memory DC holding a colour bitmap gives colour bitmaps
  HBITMAP bitmap = CreateDIBitmap(reference.dc(), dib.Header(), CBM_INIT, dib.bits.data(), dib.Info(), DIB_RGB_COLORS);
  ASSERT_NE(bitmap, nullptr);
  BITMAP bm{};
  ASSERT_EQ(GetObjectA(bitmap, sizeof bm, &bm), int(sizeof bm));
  EXPECT_EQ(bm.bmWidth, kWidth);
  EXPECT_EQ(bm.bmHeight, kHeight);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  std::vector<COLORREF> pixels = ReadBack(reference.dc(), bitmap, kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      EXPECT_EQ(pixels[y * kWidth + x], ImageColour(bitCount, x, y)) << bitCount << " bpp at " << x << "," << y;

  // Out again at the DIB's own depth: the colours come back through GetDIBits' table.
  {
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    *header = *dib.Header();
    std::vector<BYTE> bits(dib.bits.size() + 16, 0xAB);
    ASSERT_EQ(GetDIBits(reference.dc(), bitmap, 0, kHeight, bits.data(), reinterpret_cast<BITMAPINFO*>(info.data()),
                        DIB_RGB_COLORS),
              kHeight);
    Dib again{info, bits};
    HBITMAP copy = CreateDIBitmap(reference.dc(), again.Header(), CBM_INIT, bits.data(), again.Info(), DIB_RGB_COLORS);
    EXPECT_EQ(ReadBack(reference.dc(), copy, kWidth, kHeight), pixels) << bitCount << " bpp";
    EXPECT_EQ(bits[dib.bits.size()], 0xAB) << "wrote past the image";
    DeleteObject(copy);
  }
  DeleteObject(bitmap);
}

INSTANTIATE_TEST_SUITE_P(AllDepths, DibRoundTrip,
                         ::testing::Combine(::testing::Values(1, 4, 8, 16, 24, 32), ::testing::Bool()));

TEST(Dib, GetDIBitsDescribesTheBitmap) {
  Canvas colour(7, 3);
  Canvas mono(7, 3, true);
  for (Canvas* c : {&colour, &mono}) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    EXPECT_NE(GetDIBits(c->dc(), c->bitmap(), 0, 3, nullptr, &info, DIB_RGB_COLORS), 0);
    EXPECT_EQ(info.bmiHeader.biWidth, 7);
    EXPECT_EQ(info.bmiHeader.biHeight, 3);
    int bits = c == &mono ? 1 : 32;
    EXPECT_EQ(info.bmiHeader.biBitCount, bits);
    EXPECT_EQ(info.bmiHeader.biSizeImage, DWORD((7 * bits + 31) / 32 * 4 * 3));
  }
}

TEST(Dib, SetDIBitsWritesScanLinesFromTheBottom) {
  Dib dib = MakeDib(24, false);
  Canvas target(kWidth, kHeight);
  target.Fill(RGB(7, 7, 7));
  // Scan line 1 of a bottom-up DIB is the second row from the bottom.
  const std::size_t stride = (kWidth * 24 + 31) / 32 * 4;
  EXPECT_EQ(SetDIBits(target.dc(), target.bitmap(), 1, 1, dib.bits.data() + stride, dib.Info(), DIB_RGB_COLORS), 1);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      EXPECT_EQ(target.At(x, y), y == kHeight - 2 ? ImageColour(24, x, y) : RGB(7, 7, 7)) << x << "," << y;
}

TEST(Dib, DamagedDescriptionsAreRefused) {
  Dib dib = MakeDib(8, false);
  Canvas reference(1, 1);
  auto create = [&](const Dib& d) {
    return CreateDIBitmap(reference.dc(), d.Header(), CBM_INIT, d.bits.data(), d.Info(), DIB_RGB_COLORS);
  };
  auto modified = [&](auto change) {
    Dib d = dib;
    change(*reinterpret_cast<BITMAPINFOHEADER*>(d.info.data()));
    return d;
  };
  EXPECT_EQ(create(modified([](BITMAPINFOHEADER& h) { h.biBitCount = 7; })), nullptr);
  EXPECT_EQ(create(modified([](BITMAPINFOHEADER& h) { h.biWidth = 0; })), nullptr);
  EXPECT_EQ(create(modified([](BITMAPINFOHEADER& h) { h.biWidth = -5; })), nullptr);
  EXPECT_EQ(create(modified([](BITMAPINFOHEADER& h) { h.biHeight = 0x7FFFFFFF; })), nullptr);
  EXPECT_EQ(create(modified([](BITMAPINFOHEADER& h) { h.biCompression = BI_RLE8; })), nullptr);
  EXPECT_EQ(create(modified([](BITMAPINFOHEADER& h) { h.biSize = 8; })), nullptr);
  EXPECT_EQ(CreateDIBitmap(reference.dc(), nullptr, 0, nullptr, nullptr, DIB_RGB_COLORS), nullptr);
  EXPECT_EQ(CreateDIBitmap(reference.dc(), dib.Header(), CBM_INIT, nullptr, dib.Info(), DIB_RGB_COLORS), nullptr);
}

TEST(Dib, ColourTableIndexesBeyondTheTableAreBlack) {
  Dib dib = MakeDib(8, true);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(dib.info.data());
  header->biClrUsed = 2;  // only the first two entries exist
  dib.bits[0] = 5;
  Canvas reference(1, 1);
  HBITMAP bitmap = CreateDIBitmap(reference.dc(), dib.Header(), CBM_INIT, dib.bits.data(), dib.Info(), DIB_RGB_COLORS);
  EXPECT_EQ(ReadBack(reference.dc(), bitmap, kWidth, kHeight)[0], RGB(0, 0, 0));
  DeleteObject(bitmap);
}

TEST(Bitmaps, CreateBitmapReadsWordAlignedMonochromeRows) {
  // 20 pixels wide: each row is two 16-bit words (4 bytes, the last one padding), the most
  // significant bit first.
  const BYTE bits[] = {0b10100000, 0b01000000, 0b11110000, 0xFF, 0b01111111, 0b10000000, 0b00010000, 0xFF};
  HBITMAP bitmap = CreateBitmap(20, 2, 1, 1, bits);
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, bitmap);
  const char* expected[] = {"10100000010000001111", "01111111100000000001"};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 20; ++x) EXPECT_EQ(GetPixel(dc, x, y), expected[y][x] == '1' ? 0xFFFFFFu : 0u) << x << "," << y;
  BITMAP bm{};
  GetObjectA(bitmap, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidthBytes, 4);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmPlanes, 1);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

TEST(Bitmaps, CompatibleBitmapsTakeTheFormatOfTheDCsBitmap) {
  HDC fresh = CreateCompatibleDC(nullptr);
  Canvas colour(2, 2);
  struct Case {
    HDC dc;
    int width, height;
    int bits, bitmapWidth;
  } cases[] = {
      {fresh, 17, 3, 1, 17},         // a new memory DC holds a monochrome bitmap
      {colour.dc(), 17, 3, 32, 17},  // one holding a colour bitmap gives colour
      {fresh, 0, 5, 1, 1},           // an empty size gives 1x1 monochrome
      {colour.dc(), 5, 0, 1, 1},
  };
  for (const Case& c : cases) {
    HBITMAP b = CreateCompatibleBitmap(c.dc, c.width, c.height);
    ASSERT_NE(b, nullptr);
    BITMAP bm{};
    ASSERT_EQ(GetObjectA(b, sizeof bm, &bm), int(sizeof bm));
    EXPECT_EQ(bm.bmBitsPixel, c.bits) << c.width << "x" << c.height;
    EXPECT_EQ(bm.bmWidth, c.bitmapWidth);
    EXPECT_EQ(bm.bmWidthBytes, c.bits == 1 ? (c.bitmapWidth + 15) / 16 * 2 : c.bitmapWidth * 4);
    EXPECT_TRUE(DeleteObject(b));
  }
  EXPECT_EQ(CreateCompatibleBitmap(fresh, -1, 4), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(fresh, 100000, 100000), nullptr);
  DeleteDC(fresh);
}

TEST(Bitmaps, SetPixelStoresWhatTheBitmapCanHold) {
  Canvas colour(1, 1), mono(1, 1, true);
  EXPECT_EQ(SetPixel(colour.dc(), 0, 0, RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(colour.At(0, 0), RGB(1, 2, 3));
  EXPECT_EQ(SetPixel(mono.dc(), 0, 0, RGB(200, 200, 200)), RGB(255, 255, 255));
  EXPECT_EQ(SetPixel(mono.dc(), 0, 0, RGB(20, 20, 200)), RGB(0, 0, 0));
}

}  // namespace
