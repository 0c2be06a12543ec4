#include "platform/gdi32/font_cache.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>
#include <cmath>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/common/codepage.h"
#include "platform/common/immortal.h"
#include "platform/common/qt_application.h"

namespace win32::gdi {
namespace {

constexpr std::size_t kMaxFonts = 256;
constexpr std::size_t kMaxTexts = 2048;

// Texts are looked up by their bytes, so that drawing a text again converts nothing.
struct TextKey {
  const RealizedFont* font;
  std::string text;
  bool operator==(const TextKey&) const = default;
};

struct TextKeyHash {
  std::size_t operator()(const TextKey& k) const {
    return std::hash<const RealizedFont*>{}(k.font) ^ (std::hash<std::string>{}(k.text) * 0x9E3779B97F4A7C15ull);
  }
};

struct Caches {
  GlyphMaskCache masks;  // keyed by the fonts below, and cleared with them
  std::unordered_map<FontRequest, std::unique_ptr<RealizedFont>, FontRequestHash> fonts;
  std::unordered_map<TextKey, std::unique_ptr<LaidOutText>, TextKeyHash> texts;
};

Caches& TheCaches() {
  static Immortal<Caches> caches;
  return *caches;
}

std::unique_ptr<RealizedFont> Build(const FontRequest& request) {
  auto f = std::make_unique<RealizedFont>();
  f->font = MapFont(request);
  QFontMetricsF m(f->font);
  const double ascent = m.ascent();
  const double descent = m.descent();
  if (request.height > 0) {
    // A cell height is what the program asked for: it is the height it gets.
    f->ascent = static_cast<int>(std::lround(ascent * request.height / (ascent + descent)));
    f->descent = request.height - f->ascent;
  } else {
    f->ascent = static_cast<int>(std::lround(ascent));
    f->descent = static_cast<int>(std::lround(descent));
  }
  f->internalLeading = std::max(0, f->Height() - f->font.pixelSize());
  f->externalLeading = std::max(0, static_cast<int>(std::lround(m.leading())));
  f->aveCharWidth = static_cast<int>(std::lround(m.averageCharWidth()));
  f->maxCharWidth = static_cast<int>(std::lround(m.maxWidth()));
  f->fixedPitch = QFontInfo(f->font).fixedPitch();
  return f;
}

}  // namespace

const RealizedFont* Realize(const FontRequest& request) {
  Caches& c = TheCaches();
  if (!qt::Application()) return nullptr;
  if (auto it = c.fonts.find(request); it != c.fonts.end()) return it->second.get();
  // Texts and masks are keyed by the fonts, and go with them.
  if (c.fonts.size() >= kMaxFonts) ReleaseTextResources();
  return c.fonts.emplace(request, Build(request)).first->second.get();
}

LaidOutText* LayOut(const RealizedFont& font, std::string_view text) {
  Caches& c = TheCaches();
  // One key, reused for every lookup: its string keeps its capacity, so a hit allocates nothing.
  thread_local TextKey key;
  key.font = &font;
  key.text.assign(text);
  if (auto it = c.texts.find(key); it != c.texts.end()) return it->second.get();
  if (c.texts.size() >= kMaxTexts) c.texts.clear();

  const std::u16string unicode = cp932::ToUtf16(text);
  auto laid = std::make_unique<LaidOutText>();
  QTextLayout layout(QString::fromStdU16String(unicode), font.font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  if (line.isValid()) line.setNumColumns(static_cast<int>(unicode.size()) + 1);
  layout.endLayout();
  if (line.isValid()) {
    laid->runs = layout.glyphRuns();
    laid->lineAscent = line.ascent();
    laid->width = static_cast<int>(std::lround(line.horizontalAdvance()));
  }
  return c.texts.emplace(key, std::move(laid)).first->second.get();
}

GlyphMaskCache& TheGlyphMaskCache() { return TheCaches().masks; }

void ReleaseTextResources() {
  Caches& c = TheCaches();
  c.texts.clear();
  c.masks.Clear();
  c.fonts.clear();
}

}  // namespace win32::gdi
