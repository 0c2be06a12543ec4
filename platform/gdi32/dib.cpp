// Device-independent bitmaps in and out: CreateDIBitmap, SetDIBits and GetDIBits.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi32/dib_format.h"
#include "platform/gdi32/handle_table.h"

using namespace win32::gdi;

namespace {

// Writes scan lines [start, start + count) of a DIB into the bitmap; returns how many fit.
int WriteLines(Bitmap& bitmap, const DibFormat& f, UINT start, UINT count, const BYTE* bits) {
  PixelView view = bitmap.View();
  const int columns = std::min(f.width, view.width);
  std::vector<Pixel> row(f.width);
  int written = 0;
  for (UINT i = 0; i < count; ++i) {
    std::int64_t line = std::int64_t{start} + i;
    if (line >= f.height) break;
    int y = f.RowOfLine(static_cast<int>(line), view.height);
    if (y < 0 || y >= view.height) continue;
    f.DecodeRow(bits + f.stride * i, row.data(), f.width);
    Pixel* out = view.Row(y);
    for (int x = 0; x < columns; ++x) out[x] = view.mono ? NearestMono(row[x]) : row[x];
    ++written;
  }
  return written;
}

void WriteColorTable(LPBITMAPINFO info, const DibFormat& f) {
  auto* table = reinterpret_cast<BYTE*>(info) + info->bmiHeader.biSize;
  for (std::size_t i = 0; i < f.colors.size(); ++i) {
    RGBQUAD q{BYTE(f.colors[i]), BYTE(f.colors[i] >> 8), BYTE(f.colors[i] >> 16), 0};
    std::memcpy(table + i * sizeof q, &q, sizeof q);
  }
}

}  // namespace

HBITMAP WINAPI CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* pbmih, DWORD flInit, const void* pjBits,
                              const BITMAPINFO* pbmi, UINT iUsage) {
  if (!pbmih) return nullptr;
  // No DC means the screen, which gives a colour bitmap.
  DeviceContext* dc = nullptr;
  if (hdc && !(dc = FindDC(hdc))) return nullptr;
  auto shape = ReadDibFormat(reinterpret_cast<const BITMAPINFO*>(pbmih));
  if (!shape) return nullptr;
  std::optional<DibFormat> data;
  if (flInit & CBM_INIT) {
    if (!pjBits || !pbmi || iUsage != DIB_RGB_COLORS || !(data = ReadDibFormat(pbmi))) return nullptr;
  }
  const bool mono = dc && MakesMonoBitmaps(*dc);
  HBITMAP handle = static_cast<HBITMAP>(Objects().Insert(Bitmap(shape->width, shape->height, mono)));
  if (handle && data) WriteLines(*FindBitmap(handle), *data, 0, data->height, static_cast<const BYTE*>(pjBits));
  return handle;
}

int WINAPI SetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, const void* lpBits, const BITMAPINFO* lpbmi,
                     UINT ColorUse) {
  Bitmap* bitmap = FindBitmap(hbm);
  if (!bitmap || !lpBits || ColorUse != DIB_RGB_COLORS || (hdc && !FindDC(hdc))) return 0;
  auto f = ReadDibFormat(lpbmi);
  if (!f) return 0;
  return WriteLines(*bitmap, *f, start, cLines, static_cast<const BYTE*>(lpBits));
}

int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi, UINT usage) {
  Bitmap* bitmap = FindBitmap(hbm);
  if (!bitmap || !lpbmi || !FindDC(hdc) || usage != DIB_RGB_COLORS) return 0;
  BITMAPINFOHEADER& header = lpbmi->bmiHeader;
  if (header.biSize < sizeof(BITMAPINFOHEADER)) return 0;

  if (!lpvBits && header.biBitCount == 0) {
    // Describe the bitmap in its own format.
    header.biWidth = bitmap->width;
    header.biHeight = bitmap->height;
    header.biPlanes = 1;
    header.biBitCount = bitmap->mono ? 1 : 32;
    header.biCompression = BI_RGB;
    header.biXPelsPerMeter = header.biYPelsPerMeter = 0;
    header.biClrUsed = header.biClrImportant = 0;
    auto f = OutputDibFormat(header);
    header.biSizeImage = f ? static_cast<DWORD>(f->ImageSize()) : 0;
    return bitmap->height;
  }

  auto f = OutputDibFormat(header);
  if (!f) return 0;
  header.biSizeImage = static_cast<DWORD>(f->ImageSize());
  header.biClrUsed = 0;
  WriteColorTable(lpbmi, *f);
  if (!lpvBits) return bitmap->height;

  PixelView view = bitmap->View();
  const int columns = std::min(f->width, view.width);
  std::vector<Pixel> row(f->width, kBlack);
  auto* out = static_cast<BYTE*>(lpvBits);
  int copied = 0;
  for (UINT i = 0; i < cLines; ++i) {
    std::int64_t line = std::int64_t{start} + i;
    if (line >= f->height) break;
    int y = f->RowOfLine(static_cast<int>(line), view.height);
    if (y < 0 || y >= view.height) continue;
    std::copy(view.Row(y), view.Row(y) + columns, row.begin());
    f->EncodeRow(row.data(), out + f->stride * i, f->width);
    ++copied;
  }
  return copied;
}
