// Text: TextOutA draws code page 932 strings into the DC's pixels, as Qt draws them: from
// the text's glyph masks where they can be used, otherwise with a painter on the pixels.
// GetTextExtentPoint32A and GetTextMetricsA measure with the same realised font and layout.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "platform/gdi32/font_cache.h"
#include "platform/gdi32/handle_table.h"

using namespace win32::gdi;

namespace {

const FontRequest& RequestOf(const DeviceContext& dc) {
  if (Font* font = FindFont(dc.font)) return font->request;
  return FindFont(static_cast<HFONT>(Objects().Stock(SYSTEM_FONT)))->request;
}

QColor ToQColor(Pixel p) { return QColor::fromRgb(p); }

// After antialiased drawing a monochrome bitmap holds greys; each pixel takes the nearer
// of black and white again.
void Threshold(const PixelView& view, int left, int top, int right, int bottom) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, view.width);
  bottom = std::min(bottom, view.height);
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) view.Row(y)[x] = NearestMono(view.Row(y)[x]);
}

// What an opaque background fills: the cell box, clipped to the pixels.
void Fill(const PixelView& view, int left, int top, int width, int height, Pixel color) {
  const int right = static_cast<int>(std::min<std::int64_t>(std::int64_t{left} + width, view.width));
  const int bottom = static_cast<int>(std::min<std::int64_t>(std::int64_t{top} + height, view.height));
  for (int y = std::max(top, 0); y < bottom; ++y)
    std::fill(view.Row(y) + std::max(left, 0), view.Row(y) + std::max(right, std::max(left, 0)), color);
}

struct Placement {
  int left;
  int top;
};

// Where the text's cell box goes for the DC's alignment, and the current position a
// TA_UPDATECP DC moves to.
Placement Place(DeviceContext& dc, int x, int y, int width, const RealizedFont& font) {
  const UINT align = dc.textAlign;
  if (align & TA_UPDATECP) {
    x = dc.currentPosition.x;
    y = dc.currentPosition.y;
  }
  Placement p{x, y};
  if ((align & TA_CENTER) == TA_CENTER)
    p.left = x - width / 2;
  else if (align & TA_RIGHT)
    p.left = x - width;
  if ((align & TA_BASELINE) == TA_BASELINE)
    p.top = y - font.ascent;
  else if (align & TA_BOTTOM)
    p.top = y - font.Height();
  if (align & TA_UPDATECP) {
    if ((align & TA_CENTER) == TA_CENTER) {
      // A centred text leaves the current position where it is.
    } else if (align & TA_RIGHT) {
      dc.currentPosition.x = x - width;
    } else {
      dc.currentPosition.x = x + width;
    }
  }
  return p;
}

}  // namespace

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc || c < 0 || (c > 0 && !lpString)) return FALSE;
  const RealizedFont* font = Realize(RequestOf(*dc));
  if (!font) return FALSE;
  LaidOutText* laid = LayOut(*font, std::string_view(lpString ? lpString : "", c));
  const Placement at = Place(*dc, x, y, laid->width, *font);

  PixelView view = ViewOf(*dc);
  if (!view.pixels || c == 0) return TRUE;
  const GlyphMasks& masks = MasksOf(*font, *laid);
  const Pixel textPixel = view.Realize(dc->textColor);
  if (masks.state == GlyphMasks::State::Usable && at.left >= 0 && at.top >= 0) {
    if (dc->bkMode == OPAQUE) Fill(view, at.left, at.top, laid->width, font->Height(), view.Realize(dc->bkColor));
    BlendGlyphMasks(masks, textPixel, view, at.left, at.top);
  } else {
    // The DC's own pixels, wrapped for Qt without a copy.
    QImage image(reinterpret_cast<uchar*>(view.pixels), view.width, view.height, view.width * 4,
                 QImage::Format_RGB32);
    QPainter painter(&image);
    if (dc->bkMode == OPAQUE)
      painter.fillRect(QRect(at.left, at.top, laid->width, font->Height()), ToQColor(view.Realize(dc->bkColor)));
    painter.setPen(ToQColor(textPixel));
    const QPointF origin = QPointF(at.left, at.top) + laid->Origin(*font);
    for (const QGlyphRun& run : laid->runs) painter.drawGlyphRun(origin, run);
  }
  if (view.mono) {
    // Glyphs may reach past their cell (italics, overhangs): take a generous box.
    const int margin = font->Height();
    Threshold(view, at.left - margin, at.top - margin, at.left + laid->width + margin,
              at.top + font->Height() + margin);
  }
  return TRUE;
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc || c < 0 || (c > 0 && !lpString) || !psizl) return FALSE;
  const RealizedFont* font = Realize(RequestOf(*dc));
  if (!font) return FALSE;
  psizl->cx = c == 0 ? 0 : LayOut(*font, std::string_view(lpString, c))->width;
  psizl->cy = font->Height();
  return TRUE;
}

BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc || !lptm) return FALSE;
  const FontRequest& request = RequestOf(*dc);
  const RealizedFont* font = Realize(request);
  if (!font) return FALSE;
  TEXTMETRICA tm{};
  tm.tmHeight = font->Height();
  tm.tmAscent = font->ascent;
  tm.tmDescent = font->descent;
  tm.tmInternalLeading = font->internalLeading;
  tm.tmExternalLeading = font->externalLeading;
  tm.tmAveCharWidth = font->aveCharWidth;
  tm.tmMaxCharWidth = font->maxCharWidth;
  tm.tmWeight = request.weight == FW_DONTCARE ? FW_NORMAL : request.weight;
  tm.tmOverhang = 0;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = request.italic ? 0xFF : 0;
  tm.tmUnderlined = request.underline ? 0xFF : 0;
  tm.tmStruckOut = request.strikeOut ? 0xFF : 0;
  // TMPF_FIXED_PITCH set means the font is NOT fixed pitch.
  tm.tmPitchAndFamily = static_cast<BYTE>(TMPF_VECTOR | TMPF_TRUETYPE | (font->fixedPitch ? 0 : TMPF_FIXED_PITCH) |
                                          (font->fixedPitch ? FF_MODERN : FF_SWISS));
  const bool japanese = request.charset == SHIFTJIS_CHARSET || request.charset == DEFAULT_CHARSET;
  tm.tmCharSet = static_cast<BYTE>(japanese ? SHIFTJIS_CHARSET : request.charset);
  *lptm = tm;
  return TRUE;
}
