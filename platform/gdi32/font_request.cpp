#include "platform/gdi32/font_request.h"

#include <cstring>
#include <functional>
#include <string_view>

#include "platform/common/codepage.h"

namespace win32::gdi {

std::size_t FontRequestHash::operator()(const FontRequest& r) const {
  std::size_t h = std::hash<std::u16string>{}(r.face);
  auto mix = [&h](std::size_t v) { h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); };
  mix(static_cast<std::size_t>(r.height));
  mix(static_cast<std::size_t>(r.width));
  mix(static_cast<std::size_t>(r.weight));
  mix(static_cast<std::size_t>(r.charset));
  mix(static_cast<std::size_t>(r.quality));
  mix(static_cast<std::size_t>(r.pitchAndFamily));
  mix((r.italic ? 1u : 0u) | (r.underline ? 2u : 0u) | (r.strikeOut ? 4u : 0u));
  return h;
}

FontRequest RequestFromLogFont(const LOGFONTA& lf) {
  FontRequest r;
  r.face = cp932::ToUtf16(std::string_view(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)));
  r.height = lf.lfHeight;
  r.width = lf.lfWidth < 0 ? -lf.lfWidth : lf.lfWidth;
  r.weight = lf.lfWeight;
  r.italic = lf.lfItalic != 0;
  r.underline = lf.lfUnderline != 0;
  r.strikeOut = lf.lfStrikeOut != 0;
  r.charset = lf.lfCharSet;
  r.quality = lf.lfQuality;
  r.pitchAndFamily = lf.lfPitchAndFamily;
  return r;
}

}  // namespace win32::gdi
