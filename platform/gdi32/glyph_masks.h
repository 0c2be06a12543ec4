// Glyphs kept as the coverage Qt gives each of them, so that drawing a text is a blend of a
// few small masks into the pixels, with no painter at all.
//
// Qt's raster engine draws a text glyph by glyph, each one blended in its own place:
// pixel = colour * c + pixel * (1 - c) for the glyph's coverage c, each term rounded to the
// nearest 1/255. A mask holds exactly those coverages, taken from Qt drawing the glyph on
// its own at the same fraction of a pixel. Before a face's masks are used, blending them is
// checked against Qt drawing a whole text, so texts are drawn with the very pixels Qt gives.
#pragma once

#include <QRawFont>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/gdi32/pixel.h"

namespace win32::gdi {

struct RealizedFont;
struct LaidOutText;

// One glyph's coverage, placed relative to the whole pixel its position falls in.
struct GlyphMask {
  int left = 0;
  int top = 0;
  int width = 0;  // whole vectors: the pixels right of the ink have no coverage
  int height = 0;
  // Each pixel's coverage (0 to 255) twice, once for each 16-bit lane of the pixel.
  std::vector<std::uint16_t> lanes;
};

// A text's glyphs in drawing order, relative to the top-left corner of its cell box. The
// masks belong to the GlyphMaskCache: they are good while its generation is the one here.
struct GlyphMasks {
  enum class State { NotMade, Usable, Unusable } state = State::NotMade;
  std::uint64_t generation = 0;
  struct Placed {
    const GlyphMask* mask = nullptr;
    int left = 0;
    int top = 0;
  };
  std::vector<Placed> glyphs;
};

// The masks made so far, by realised font, face (a text may fall back to other fonts for
// some characters), glyph and fraction of a pixel; and whether each face passed the check.
// Its memory is bounded: when a new mask would go past the budget, all masks go, and the
// generation changes so that texts find theirs again.
class GlyphMaskCache {
 public:
  struct Key {
    const RealizedFont* font = nullptr;
    QRawFont face;
    quint32 glyph = 0;
    int x64 = 0;  // the position's fraction of a pixel, in 64ths
    int y64 = 0;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const;
  };
  enum class Check { NotYet, Passed, Failed };

  const GlyphMask* Find(const Key& key) const;
  const GlyphMask* Keep(const Key& key, std::unique_ptr<GlyphMask> mask);
  Check& CheckOf(const RealizedFont* font, const QRawFont& face);
  std::uint64_t Generation() const { return generation_; }
  // Lets go of everything: the fonts the keys name are going.
  void Clear();

 private:
  static constexpr std::size_t kBudgetBytes = 16 << 20;

  std::unordered_map<Key, std::unique_ptr<GlyphMask>, KeyHash> masks_;
  std::vector<std::pair<Key, Check>> checks_;  // by font and face
  std::size_t bytes_ = 0;
  std::uint64_t generation_ = 1;
};

// The masks of `text` in `font` (with the Qt application there), found in the cache or made
// now: drawing only glyphs not seen yet, and checking a face the first time it is used.
// Texts that Qt draws otherwise than glyph by glyph (underlined or struck out ones, large or
// stretched ones, faces that failed the check) get masks marked Unusable.
const GlyphMasks& MasksOf(const RealizedFont& font, LaidOutText& text);

// Blends usable masks in `color` into `view`, with the text's cell box at (left, top), which
// must not be left of or above the view's origin: Qt rounds glyph positions symmetrically
// about zero, so a mask moved to negative coordinates would not always land where Qt puts it.
void BlendGlyphMasks(const GlyphMasks& masks, Pixel color, const PixelView& view, int left, int top);

}  // namespace win32::gdi
