#include "tests/render/text_ink.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace render_test {
namespace {

constexpr int Touched = 26;       // coverage of any pixel the text touches at all
constexpr int ShadowSolid = 128;  // coverage a visible shadow pixel has at the right offset
constexpr int Tolerance = 40;     // per channel, for "shows the colour"

bool Shows(Rgb pixel, Rgb colour) {
  for (int shift : {0, 8, 16})
    if (std::abs(int((pixel >> shift) & 0xFF) - int((colour >> shift) & 0xFF)) > Tolerance) return false;
  return true;
}

// True when some pixel within `radius` of (x, y) of the ink is touched.
bool NearInk(const TextInk& ink, int x, int y, int radius) {
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx)
      if (ink.At(x + dx, y + dy) >= Touched) return true;
  return false;
}

}  // namespace

TextInk InkOf(const char* text, const TextStyle& style, Rgb colour) {
  HFONT font = CreateFontA(style.height, 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, style.italic, 0, 0,
                           SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
  const int length = static_cast<int>(std::strlen(text));
  Canvas measure(1, 1);
  HGDIOBJ old = SelectObject(measure.Dc(), font);
  SIZE extent = {0, 0};
  GetTextExtentPoint32A(measure.Dc(), text, length, &extent);
  SelectObject(measure.Dc(), old);

  TextInk ink;
  ink.width = extent.cx + 2 * TextInk::Margin + style.height / 2;  // room for a slant
  ink.height = extent.cy + 2 * TextInk::Margin;
  auto draw = [&](Rgb textColour, Rgb ground) {
    auto canvas = std::make_unique<Canvas>(ink.width, ink.height, ground);
    HGDIOBJ previous = SelectObject(canvas->Dc(), font);
    SetTextColor(canvas->Dc(), ColorRefOf(textColour));
    SetBkMode(canvas->Dc(), TRANSPARENT);
    TextOutA(canvas->Dc(), TextInk::Margin, TextInk::Margin, text, length);
    SelectObject(canvas->Dc(), previous);
    return canvas;
  };
  const auto white = draw(RgbOf(255, 255, 255), 0);
  const auto onBlack = draw(colour, 0);
  const auto onWhite = draw(colour, RgbOf(255, 255, 255));
  DeleteObject(font);

  const std::size_t size = static_cast<std::size_t>(ink.width) * ink.height;
  ink.coverage.resize(size);
  ink.solid.resize(size);
  for (int y = 0; y < ink.height; ++y)
    for (int x = 0; x < ink.width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * ink.width + x;
      ink.coverage[i] = static_cast<std::uint8_t>((white->At(x, y) >> 8) & 0xFF);
      ink.solid[i] = Shows(onBlack->At(x, y), colour) && Shows(onWhite->At(x, y), colour);
    }
  return ink;
}

InkMatch MatchInk(const Canvas& frame, const TextInk& ink, int x, int y, Rgb colour) {
  const int left = x - TextInk::Margin;
  const int top = y - TextInk::Margin;
  int solid = 0, solidShown = 0, shown = 0, shownOnInk = 0;
  for (int iy = 0; iy < ink.height; ++iy)
    for (int ix = 0; ix < ink.width; ++ix) {
      const int fx = left + ix;
      const int fy = top + iy;
      if (fx < 0 || fy < 0 || fx >= frame.Width() || fy >= frame.Height()) continue;
      const bool showsColour = Shows(frame.At(fx, fy), colour);
      if (ink.SolidAt(ix, iy)) {
        ++solid;
        solidShown += showsColour;
      }
      if (showsColour && NearInk(ink, ix, iy, 2)) {
        ++shown;
        shownOnInk += ink.At(ix, iy) >= Touched;
      }
    }
  InkMatch match;
  match.recall = solid > 0 ? double(solidShown) / solid : 0;
  match.precision = shown > 0 ? double(shownOnInk) / shown : 0;
  match.found = shown;
  return match;
}

ShadowFit FitShadow(const Canvas& frame, const TextInk& ink, int x, int y, Rgb colour) {
  // The shadow's visible pixels: those of its colour within reach of the ink at any of
  // the candidate offsets.
  std::vector<std::pair<int, int>> visible;  // ink coordinates, relative to the main copy
  for (int iy = 0; iy < ink.height + 3; ++iy)
    for (int ix = 0; ix < ink.width + 3; ++ix) {
      const int fx = x - TextInk::Margin + ix;
      const int fy = y - TextInk::Margin + iy;
      if (fx < 0 || fy < 0 || fx >= frame.Width() || fy >= frame.Height()) continue;
      if (Shows(frame.At(fx, fy), colour) && NearInk(ink, ix - 1, iy - 1, 2)) visible.emplace_back(ix, iy);
    }
  ShadowFit best;
  if (visible.empty()) return best;
  for (int dy = 0; dy <= 3; ++dy)
    for (int dx = 0; dx <= 3; ++dx) {
      int on = 0;
      for (auto [ix, iy] : visible) on += ink.At(ix - dx, iy - dy) >= ShadowSolid;
      const double share = double(on) / visible.size();
      if (share > best.share) best = {dx, dy, share};
    }
  return best;
}

}  // namespace render_test
