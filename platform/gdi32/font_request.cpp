#include "platform/gdi32/font_request.h"

#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/common/codepage.h"
#include "platform/common/immortal.h"

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

namespace {

struct FaceHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// Programs create fonts of a handful of faces over and over: each face name is converted
// once. The cache is bounded all the same.
const std::u16string& UnicodeFace(std::string_view face) {
  constexpr std::size_t kMaxFaces = 64;
  static Immortal<std::unordered_map<std::string, std::u16string, FaceHash, std::equal_to<>>> faces;
  auto& cache = *faces;
  if (auto it = cache.find(face); it != cache.end()) return it->second;
  if (cache.size() >= kMaxFaces) cache.clear();
  return cache.emplace(std::string(face), cp932::ToUtf16(face)).first->second;
}

}  // namespace

FontRequest RequestFromLogFont(const LOGFONTA& lf) {
  FontRequest r;
  r.face = UnicodeFace(std::string_view(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)));
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
