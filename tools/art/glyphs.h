// The numbers on the pickups, drawn from small pixel glyphs.
#pragma once

#include <string_view>

#include "tools/art/color.h"
#include "tools/art/image.h"

namespace art {

// Width in pixels of text set in the glyphs, one pixel between characters.
int TextWidth(std::string_view text);
int TextHeight();

// Sets text with its top-left corner at (x, y) in `ink`, ringed by a one-pixel `edge` (all
// eight neighbours) that keeps it readable on any colour. Characters are the digits and '-'.
void DrawText(Image& image, int x, int y, std::string_view text, Rgb ink, Rgb edge);

}  // namespace art
