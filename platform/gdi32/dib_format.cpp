#include "platform/gdi32/dib_format.h"

#include <bit>
#include <cstring>
#include <limits>

#include "platform/gdi32/bitmap_limits.h"

namespace win32::gdi {
namespace {

constexpr DWORD kCoreHeaderSize = 12;

template <typename T>
T Load(const BYTE* p) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

std::size_t StrideOf(int width, int bitCount) { return (std::size_t(width) * bitCount + 31) / 32 * 4; }

// A channel of a BI_BITFIELDS pixel, scaled to 8 bits.
unsigned Channel(DWORD value, DWORD mask) {
  if (mask == 0) return 0;
  int shift = std::countr_zero(mask);
  int bits = std::popcount(mask >> shift);
  std::uint64_t v = (value & mask) >> shift;
  std::uint64_t max = (std::uint64_t{1} << bits) - 1;
  return static_cast<unsigned>((v * 255 + max / 2) / max);
}

unsigned Expand5(unsigned v) { return (v << 3) | (v >> 2); }

const std::vector<Pixel>& TableFor(int bitCount) {
  static const std::vector<Pixel> mono = {kBlack, kWhite};
  static const std::vector<Pixel> vga = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
                                         0xFF008080, 0xFFC0C0C0, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                                         0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
  static const std::vector<Pixel> full = [] {
    std::vector<Pixel> t = vga;
    for (unsigned r = 0; r < 6; ++r)
      for (unsigned g = 0; g < 6; ++g)
        for (unsigned b = 0; b < 6; ++b) t.push_back(kOpaque | (r * 51) << 16 | (g * 51) << 8 | (b * 51));
    for (unsigned i = 1; t.size() < 256; ++i) t.push_back(kOpaque | 0x010101u * (i * 10));
    return t;
  }();
  return bitCount == 1 ? mono : bitCount == 4 ? vga : full;
}

unsigned Distance(Pixel a, Pixel b) {
  int dr = int((a >> 16) & 0xFF) - int((b >> 16) & 0xFF);
  int dg = int((a >> 8) & 0xFF) - int((b >> 8) & 0xFF);
  int db = int(a & 0xFF) - int(b & 0xFF);
  return unsigned(dr * dr + dg * dg + db * db);
}

unsigned NearestIndex(const std::vector<Pixel>& table, Pixel p) {
  unsigned best = 0;
  unsigned bestDistance = std::numeric_limits<unsigned>::max();
  for (unsigned i = 0; i < table.size() && bestDistance != 0; ++i) {
    unsigned d = Distance(table[i], p);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

bool SupportedBitCount(int bitCount) {
  return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

}  // namespace

void DibFormat::DecodeRow(const BYTE* in, Pixel* out, int count) const {
  auto indexed = [&](unsigned index) { return index < colors.size() ? colors[index] : kBlack; };
  auto masked = [&](DWORD v) {
    return kOpaque | Channel(v, masks[0]) << 16 | Channel(v, masks[1]) << 8 | Channel(v, masks[2]);
  };
  for (int x = 0; x < count; ++x) {
    switch (bitCount) {
      case 1:
        out[x] = indexed((in[x >> 3] >> (7 - (x & 7))) & 1);
        break;
      case 4:
        out[x] = indexed((x & 1) ? in[x >> 1] & 0x0F : in[x >> 1] >> 4);
        break;
      case 8:
        out[x] = indexed(in[x]);
        break;
      case 16: {
        DWORD v = Load<WORD>(in + 2 * x);
        if (compression == BI_BITFIELDS)
          out[x] = masked(v);
        else
          out[x] = kOpaque | Expand5((v >> 10) & 31) << 16 | Expand5((v >> 5) & 31) << 8 | Expand5(v & 31);
        break;
      }
      case 24:
        out[x] = kOpaque | in[3 * x + 2] << 16 | in[3 * x + 1] << 8 | in[3 * x];
        break;
      case 32: {
        DWORD v = Load<DWORD>(in + 4 * x);
        if (compression == BI_BITFIELDS)
          out[x] = masked(v);
        else
          out[x] = kOpaque | (v & 0x00FFFFFF);
        break;
      }
    }
  }
}

void DibFormat::EncodeRow(const Pixel* in, BYTE* out, int count) const {
  std::memset(out, 0, stride);
  for (int x = 0; x < count; ++x) {
    Pixel p = in[x];
    switch (bitCount) {
      case 1:
        out[x >> 3] |= BYTE(NearestIndex(colors, p) << (7 - (x & 7)));
        break;
      case 4:
        out[x >> 1] |= BYTE(NearestIndex(colors, p) << ((x & 1) ? 0 : 4));
        break;
      case 8:
        out[x] = BYTE(NearestIndex(colors, p));
        break;
      case 16: {
        WORD v = WORD(((p >> 19) & 31) << 10 | ((p >> 11) & 31) << 5 | ((p >> 3) & 31));
        std::memcpy(out + 2 * x, &v, 2);
        break;
      }
      case 24:
        out[3 * x] = BYTE(p);
        out[3 * x + 1] = BYTE(p >> 8);
        out[3 * x + 2] = BYTE(p >> 16);
        break;
      case 32: {
        DWORD v = p & 0x00FFFFFF;
        std::memcpy(out + 4 * x, &v, 4);
        break;
      }
    }
  }
}

std::optional<DibFormat> ReadDibFormat(const BITMAPINFO* info) {
  if (!info) return std::nullopt;
  const auto* base = reinterpret_cast<const BYTE*>(info);
  DWORD headerSize = Load<DWORD>(base);
  DibFormat f;
  std::int64_t height;
  DWORD colorsUsed = 0;
  bool core = headerSize == kCoreHeaderSize;
  if (core) {
    f.width = Load<WORD>(base + 4);
    height = Load<WORD>(base + 6);
    f.bitCount = Load<WORD>(base + 10);
  } else if (headerSize >= sizeof(BITMAPINFOHEADER)) {
    const BITMAPINFOHEADER& h = info->bmiHeader;
    f.width = h.biWidth;
    height = h.biHeight;
    f.bitCount = h.biBitCount;
    f.compression = h.biCompression;
    colorsUsed = h.biClrUsed;
  } else {
    return std::nullopt;
  }
  f.topDown = height < 0;
  if (height < 0) height = -height;
  if (!SizeAllowed(f.width, height) || !SupportedBitCount(f.bitCount)) return std::nullopt;
  f.height = static_cast<int>(height);
  if (f.compression == BI_BITFIELDS) {
    if (f.bitCount != 16 && f.bitCount != 32) return std::nullopt;
    // The masks follow a BITMAPINFOHEADER; later headers carry them inside.
    const BYTE* masks = base + sizeof(BITMAPINFOHEADER);
    for (int i = 0; i < 3; ++i) f.masks[i] = Load<DWORD>(masks + 4 * i);
  } else if (f.compression != BI_RGB) {
    return std::nullopt;
  }
  f.stride = StrideOf(f.width, f.bitCount);
  if (f.bitCount <= 8) {
    DWORD maxColors = 1u << f.bitCount;
    DWORD count = (colorsUsed == 0 || colorsUsed > maxColors) ? maxColors : colorsUsed;
    const BYTE* table = base + headerSize;
    int entrySize = core ? 3 : 4;
    for (DWORD i = 0; i < count; ++i) {
      const BYTE* e = table + i * entrySize;
      f.colors.push_back(kOpaque | e[2] << 16 | e[1] << 8 | e[0]);
    }
  }
  return f;
}

std::optional<DibFormat> OutputDibFormat(const BITMAPINFOHEADER& request) {
  DibFormat f;
  f.width = request.biWidth;
  std::int64_t height = request.biHeight;
  f.topDown = height < 0;
  if (height < 0) height = -height;
  f.bitCount = request.biBitCount;
  if (request.biCompression != BI_RGB || !SupportedBitCount(f.bitCount) || !SizeAllowed(f.width, height))
    return std::nullopt;
  f.height = static_cast<int>(height);
  f.stride = StrideOf(f.width, f.bitCount);
  if (f.bitCount <= 8) f.colors = TableFor(f.bitCount);
  return f;
}

}  // namespace win32::gdi
