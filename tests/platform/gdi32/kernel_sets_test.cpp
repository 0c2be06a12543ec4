// Every kernel set (the SSE2 baseline, and AVX2 where the CPU has it) gives the same pixels:
// stretches against the fixed-point model of their axis maps, over many geometries; the
// loops of an exact enlargement by two against weighted sums; raster operations against
// their truth tables; glyph masks against Qt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "gdi_test_support.h"
#include "glyph_test_support.h"
#include "platform/common/qt_application.h"
#include "platform/gdi32/font_cache.h"
#include "platform/gdi32/pixel_kernels.h"
#include "platform/gdi32/resampler.h"

namespace {

using gdi_test::Canvas;
using gdi_test::StretchGeometry;
using win32::gdi::AxisMap;
using win32::gdi::Combine;
using win32::gdi::Pixel;
using win32::gdi::PixelKernels;

// The sets this CPU can run.
std::vector<const PixelKernels*> Sets() {
  std::vector<const PixelKernels*> sets{&win32::gdi::BaselineKernels()};
  if (const PixelKernels* avx2 = win32::gdi::Avx2Kernels()) sets.push_back(avx2);
  return sets;
}

// Makes a set the one in use for the life of the object.
class UsingSet {
 public:
  explicit UsingSet(const PixelKernels* set) { win32::gdi::UseKernels(set); }
  ~UsingSet() { win32::gdi::UseKernels(nullptr); }
  UsingSet(const UsingSet&) = delete;
  UsingSet& operator=(const UsingSet&) = delete;
};

TEST(KernelSets, TheBaselineIsAlwaysThereAndAvx2OnlyWhereTheCpuHasIt) {
  EXPECT_EQ(win32::gdi::BaselineKernels().pixelsPerVector, 4);
  if (const PixelKernels* avx2 = win32::gdi::Avx2Kernels()) {
    EXPECT_EQ(avx2->pixelsPerVector, 8);
    EXPECT_EQ(&win32::gdi::Kernels(), avx2) << "the widest set the CPU runs is the one in use";
  } else {
    EXPECT_EQ(&win32::gdi::Kernels(), &win32::gdi::BaselineKernels());
    std::printf("note: no AVX2 on this CPU; only the baseline set is tested\n");
  }
  {
    UsingSet baseline(&win32::gdi::BaselineKernels());
    EXPECT_EQ(&win32::gdi::Kernels(), &win32::gdi::BaselineKernels());
  }
  EXPECT_EQ(win32::gdi::Kernels().pixelsPerVector, Sets().back()->pixelsPerVector);
}

std::vector<Pixel> RandomPixels(std::size_t count, std::mt19937& random) {
  std::vector<Pixel> pixels(count);
  for (Pixel& p : pixels) p = 0xFF000000u | (random() & 0xFFFFFFu);
  return pixels;
}

constexpr StretchGeometry kGeometries[] = {
    {"doubled", 64, 48, 128, 96, 0, 0, 128, 96, 0, 0, 64, 48},
    {"the frame doubled", 640, 480, 1280, 960, 0, 0, 1280, 960, 0, 0, 640, 480},
    {"doubled, one column more", 641, 480, 1282, 960, 0, 0, 1282, 960, 0, 0, 641, 480},
    {"the frame nearly doubled", 641, 480, 1279, 961, 0, 0, 1279, 961, 0, 0, 641, 480},
    {"doubled from outside the destination", 64, 48, 100, 80, -3, -1, 128, 96, 0, 0, 64, 48},
    {"doubled from outside the source", 30, 20, 90, 70, 1, 2, 70, 50, -2, -1, 35, 25},
    {"doubled, part of the source", 50, 40, 60, 50, 7, 9, 40, 30, 5, 3, 20, 15},
    {"doubled, mirrored", 33, 21, 66, 42, 66, 0, -66, 42, 0, 0, 33, 21},
    {"doubled, narrow", 3, 1000, 6, 2000, 0, 0, 6, 2000, 0, 0, 3, 1000},
    {"one pixel doubled", 1, 1, 2, 2, 0, 0, 2, 2, 0, 0, 1, 1},
    {"one pixel enlarged", 1, 1, 9, 9, 0, 0, 9, 9, 0, 0, 1, 1},
    {"to one pixel", 9, 7, 1, 1, 0, 0, 1, 1, 0, 0, 9, 7},
    {"enlarged by odd ratios", 37, 23, 101, 67, 0, 0, 101, 67, 0, 0, 37, 23},
    {"enlarged by one and a half", 40, 30, 60, 45, 0, 0, 60, 45, 0, 0, 40, 30},
    {"tripled", 20, 10, 60, 30, 0, 0, 60, 30, 0, 0, 20, 10},
    {"quadrupled", 16, 12, 64, 48, 0, 0, 64, 48, 0, 0, 16, 12},
    {"the frame a little larger", 640, 480, 1000, 750, 0, 0, 1000, 750, 0, 0, 640, 480},
    {"shrunk a little", 64, 48, 50, 41, 0, 0, 50, 41, 0, 0, 64, 48},
    {"shrunk a lot", 64, 48, 13, 7, 0, 0, 13, 7, 0, 0, 64, 48},
    {"halved", 64, 48, 32, 24, 0, 0, 32, 24, 0, 0, 64, 48},
    {"shrunk by three", 99, 99, 33, 33, 0, 0, 33, 33, 0, 0, 99, 99},
    {"the frame smaller", 640, 480, 400, 300, 0, 0, 400, 300, 0, 0, 640, 480},
    {"wider and shorter", 40, 30, 70, 11, 0, 0, 70, 11, 0, 0, 40, 30},
    {"one axis one to one", 10, 10, 10, 25, 0, 0, 10, 25, 0, 0, 10, 10},
    {"both mirrored", 64, 48, 100, 70, 90, 60, -85, -55, 3, 2, 50, 40},
    {"source mirrored", 33, 33, 47, 19, 2, 3, 40, 15, 30, 1, -25, 31},
    {"clipped on both surfaces", 64, 48, 100, 70, -10, -5, 120, 90, -4, -3, 70, 60},
    {"tall and thin", 3, 1000, 7, 61, 0, 0, 7, 61, 0, 0, 3, 1000},
    {"tall and thin, mirrored", 3, 1000, 50, 200, 1, 1, 45, 190, 3, 1000, -3, -1000},
    {"wide to narrow", 200, 5, 3, 5, 0, 0, 3, 5, 0, 0, 200, 5},
};

// The pixels of one axis position's taps (value(source) gives each) combined: their weighted
// sum, a channel at a time, rounded; or all of them ANDed or ORed; or the one picked.
template <typename Value>
Pixel CombineTaps(const AxisMap& map, int position, Value value) {
  const int begin = map.offsets[position];
  const int end = map.offsets[position + 1];
  if (map.combine != Combine::Weighted) {
    Pixel out = map.combine == Combine::And ? 0xFFFFFFFFu : 0;
    for (int k = begin; k < end; ++k) {
      const Pixel p = value(map.sources[k]);
      out = map.combine == Combine::And ? out & p : map.combine == Combine::Or ? out | p : p;
    }
    return out;
  }
  int sums[3] = {128, 128, 128};
  for (int k = begin; k < end; ++k) {
    const Pixel p = value(map.sources[k]);
    for (int c = 0; c < 3; ++c) sums[c] += map.weights[k] * int((p >> (8 * c)) & 0xFF);
  }
  return Pixel(sums[0] / 256) | Pixel(sums[1] / 256) << 8 | Pixel(sums[2] / 256) << 16;
}

// The stretch as its two axis maps define it: source rows combined along the columns map,
// rounded, then those combined along the rows map, rounded again; opaque.
std::vector<Pixel> ModelStretch(const StretchGeometry& g, int mode, const std::vector<Pixel>& src,
                                std::vector<Pixel> dst, bool invert) {
  const AxisMap columns = win32::gdi::MapAxis(g.xd, g.wd, g.xs, g.ws, g.dstW, g.srcW, mode);
  const AxisMap rows = win32::gdi::MapAxis(g.yd, g.hd, g.ys, g.hs, g.dstH, g.srcH, mode);
  for (int i = 0; i < rows.Count(); ++i) {
    for (int j = 0; j < columns.Count(); ++j) {
      const Pixel p = CombineTaps(rows, i, [&](int sourceRow) {
        return CombineTaps(columns, j,
                           [&](int sourceColumn) { return src[std::size_t(sourceRow) * g.srcW + sourceColumn]; });
      });
      Pixel& out = dst[std::size_t(rows.first + i) * g.dstW + columns.first + j];
      out = (invert ? out ^ p : p) | 0xFF000000u;
    }
  }
  return dst;
}

TEST(KernelSets, StretchesGiveThePixelsOfTheFixedPointModel) {
  std::mt19937 random(99);
  for (const StretchGeometry& g : kGeometries) {
    const std::vector<Pixel> src = RandomPixels(std::size_t(g.srcW) * g.srcH, random);
    const std::vector<Pixel> before = RandomPixels(std::size_t(g.dstW) * g.dstH, random);
    const bool large = g.dstW * g.dstH > 100000;
    for (int mode : {HALFTONE, COLORONCOLOR, BLACKONWHITE, WHITEONBLACK}) {
      if (large && mode != HALFTONE) continue;  // the other modes pick or mask, the same at any size
      for (bool invert : {false, true}) {
        if (large && invert) continue;
        const std::vector<Pixel> expected = ModelStretch(g, mode, src, before, invert);
        for (const PixelKernels* set : Sets()) {
          UsingSet using_(set);
          Canvas from(g.srcW, g.srcH, src);
          Canvas to(g.dstW, g.dstH, before);
          SetStretchBltMode(to.dc(), mode);
          ASSERT_TRUE(StretchBlt(to.dc(), g.xd, g.yd, g.wd, g.hd, from.dc(), g.xs, g.ys, g.ws, g.hs,
                                 invert ? SRCINVERT : SRCCOPY));
          const std::vector<Pixel> got = to.Words();
          for (std::size_t i = 0; i < got.size(); ++i)
            ASSERT_EQ(got[i], expected[i])
                << g.name << ", " << set->name << ", mode " << mode << (invert ? ", SRCINVERT" : "") << ", pixel "
                << i % g.dstW << "," << i / g.dstW;
        }
      }
    }
  }
}

TEST(KernelSets, AStretchOntoItsOwnSurfaceReadsTheOriginalPixels) {
  std::mt19937 random(4);
  const std::vector<Pixel> pixels = RandomPixels(80 * 60, random);
  for (const PixelKernels* set : Sets()) {
    UsingSet using_(set);
    Canvas surface(80, 60, pixels);
    Canvas original(80, 60, pixels);
    Canvas expected(80, 60, pixels);
    for (Canvas* s : {&surface, &expected}) SetStretchBltMode(s->dc(), HALFTONE);
    // Doubled over its own source.
    StretchBlt(surface.dc(), 3, 1, 70, 50, surface.dc(), 0, 0, 35, 25, SRCCOPY);
    StretchBlt(expected.dc(), 3, 1, 70, 50, original.dc(), 0, 0, 35, 25, SRCCOPY);
    EXPECT_EQ(surface.Words(), expected.Words()) << set->name;
  }
}

// (64 * light + 192 * heavy + 128) / 256 for each channel, opaque.
Pixel QuarterBlend(Pixel light, Pixel heavy) {
  Pixel out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8)
    out |= Pixel((64 * ((light >> shift) & 0xFF) + 192 * ((heavy >> shift) & 0xFF) + 128) / 256) << shift;
  return out;
}

TEST(KernelSets, DoublingARowBlendsEachPixelWithEachNeighbourByQuarters) {
  std::mt19937 random(12);
  for (const PixelKernels* set : Sets()) {
    for (int inCount : {1, 2, 3, 5, 8, 9, 16, 17, 18, 33, 100}) {
      std::vector<Pixel> in = RandomPixels(inCount, random);
      in[0] = 0xFFFFFFFFu;  // extremes of every channel at the ends
      in[inCount - 1] = 0xFF000000u;
      for (int centre = 0; centre < inCount; centre += 1 + centre / 4) {
        for (int phase : {0, 1}) {
          const int most = 2 * (inCount - centre) - phase;  // as far as the last centre
          for (int count : {1, most / 2, most}) {
            if (count < 1) continue;
            std::vector<Pixel> out(count + 1, 0x12345678u);
            set->doubleRow(in.data(), inCount, centre, phase, count, out.data());
            for (int j = 0; j < count; ++j) {
              const int t = j + phase;
              const int c = centre + t / 2;
              const int neighbour = std::clamp(t % 2 ? c + 1 : c - 1, 0, inCount - 1);
              ASSERT_EQ(out[j], QuarterBlend(in[neighbour], in[c])) << set->name << " " << inCount << " pixels, centre "
                                                                    << centre << ", phase " << phase << ", pixel " << j;
            }
            ASSERT_EQ(out[count], 0x12345678u) << set->name << ": written past the row";
          }
        }
      }
    }
  }
}

TEST(KernelSets, TheRowPairsOfADoublingAreQuarterBlends) {
  std::mt19937 random(13);
  for (const PixelKernels* set : Sets()) {
    for (int width = 1; width <= 40; ++width) {
      const int padded =
          (width + win32::gdi::kWidestVector - 1) / win32::gdi::kWidestVector * win32::gdi::kWidestVector;
      const std::vector<Pixel> a = RandomPixels(padded, random);
      const std::vector<Pixel> b = RandomPixels(padded, random);
      std::vector<Pixel> out(width + 1, 0x12345678u), next(width + 1, 0x12345678u);
      set->blendQuarters(a.data(), b.data(), width, out.data(), next.data());
      for (int x = 0; x < width; ++x) {
        ASSERT_EQ(out[x], QuarterBlend(b[x], a[x])) << set->name << " width " << width << " pixel " << x;
        ASSERT_EQ(next[x], QuarterBlend(a[x], b[x])) << set->name << " width " << width << " pixel " << x;
      }
      ASSERT_EQ(out[width], 0x12345678u);
      ASSERT_EQ(next[width], 0x12345678u);
    }
  }
}

// The result of operation `index` on one pixel, one bit at a time: bit (P<<2|S<<1|D) of the
// index is the output for that combination; opaque.
Pixel TruthTable(unsigned index, Pixel p, Pixel s, Pixel d) {
  Pixel out = 0;
  for (int bit = 0; bit < 24; ++bit) {
    const unsigned combination = ((p >> bit) & 1) << 2 | ((s >> bit) & 1) << 1 | ((d >> bit) & 1);
    out |= Pixel((index >> combination) & 1u) << bit;
  }
  return out | 0xFF000000u;
}

TEST(KernelSets, RasterOperationBlocksOfEveryWidthFollowTheirTruthTables) {
  std::mt19937 random(8);
  constexpr int kWidth = 19, kHeight = 2, kPitch = 24;
  for (const PixelKernels* set : Sets()) {
    for (unsigned index = 0; index < 256; ++index) {
      const Pixel pattern = 0xFF000000u | (random() & 0xFFFFFFu);
      const std::vector<Pixel> src = RandomPixels(kPitch * kHeight, random);
      const std::vector<Pixel> before = RandomPixels(kPitch * kHeight, random);
      for (int width = 1; width <= kWidth; ++width) {
        std::vector<Pixel> dst = before;
        set->blocks[index](dst.data(), kPitch, src.data(), kPitch, pattern, width, kHeight);
        for (int y = 0; y < kHeight; ++y) {
          for (int x = 0; x < kPitch; ++x) {
            const std::size_t i = std::size_t(y) * kPitch + x;
            const Pixel want = x < width ? TruthTable(index, pattern, src[i], before[i]) : before[i];
            ASSERT_EQ(dst[i], want) << set->name << " index 0x" << std::hex << index << std::dec << " width " << width
                                    << " at " << x << "," << y;
          }
        }
      }
    }
  }
}

TEST(KernelSets, CoverageBlendsAlikeInEverySet) {
  std::mt19937 random(21);
  for (int count = 0; count <= 40; ++count) {
    // Coverage with vectors of none, of full, and of partial coverage.
    std::vector<std::uint16_t> coverage(2 * std::size_t(count));
    for (int x = 0; x < count; ++x) {
      const int kind = (x / 4 + count) % 3;
      const std::uint16_t c = kind == 0 ? 0 : kind == 1 ? 255 : static_cast<std::uint16_t>(random() % 256);
      coverage[2 * x] = coverage[2 * x + 1] = c;
    }
    const Pixel color = 0xFF000000u | (random() & 0xFFFFFFu);
    const std::vector<Pixel> before = RandomPixels(count + 1, random);
    std::vector<Pixel> expected = before;
    win32::gdi::BaselineKernels().blendCoverage(expected.data(), coverage.data(), count, color);
    for (int x = 0; x < count; ++x)
      if (coverage[2 * x] == 0) {
        ASSERT_EQ(expected[x], before[x]) << "no coverage, no change";
      }
    for (const PixelKernels* set : Sets()) {
      std::vector<Pixel> got = before;
      set->blendCoverage(got.data(), coverage.data(), count, color);
      ASSERT_EQ(got, expected) << set->name << " count " << count;
    }
  }
}

TEST(KernelSets, GlyphMasksGiveQtsPixelsWithEverySet) {
  ASSERT_NE(win32::qt::Application(), nullptr) << win32::qt::ApplicationError();
  win32::gdi::FontRequest request;
  request.face = u"ＭＳ Ｐゴシック";
  request.charset = SHIFTJIS_CHARSET;
  request.height = 23;
  request.weight = FW_BOLD;
  const win32::gdi::RealizedFont* font = win32::gdi::Realize(request);
  ASSERT_NE(font, nullptr);
  win32::gdi::LaidOutText* text = win32::gdi::LayOut(*font, "ゲームオーバー 01位 -2147483648");
  const win32::gdi::GlyphMasks& masks = win32::gdi::MasksOf(*font, *text);
  ASSERT_EQ(masks.state, win32::gdi::GlyphMasks::State::Usable);
  std::mt19937 random(30);
  const int width = text->width + 40;
  const int height = 60;
  for (const PixelKernels* set : Sets()) {
    UsingSet using_(set);
    // At whole-pixel places, the last one cutting the text off on the right.
    for (int left : {0, 3, 7, 21, width - 50}) {
      const Pixel ink = 0xFF000000u | (random() & 0xFFFFFFu);
      const QImage background = gdi_test::RandomImage(width, height, random);
      ASSERT_TRUE(gdi_test::MasksDrawLikeQt(*font, *text, ink, background, left, 10)) << set->name << " at " << left;
    }
  }
}

}  // namespace
