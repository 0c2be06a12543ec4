// Figures drawn from shapes computed in code. Every figure is designed on a 16 by 16 grid,
// facing up, and placed into an image at some scale and turned by quarter turns; the light
// always comes from the top-left of the image, whichever way the figure faces.
#pragma once

#include <array>
#include <functional>

#include "tools/art/color.h"
#include "tools/art/image.h"

namespace art {

enum Direction { Up, Right, Down, Left };

inline constexpr double kGrid = 16.0;  // the design grid's size, in design units

struct Point {
  double x = 0;
  double y = 0;
};

struct Placement {
  int x = 0;             // pixel where the design grid's top-left corner lands
  int y = 0;
  double scale = 1.0;    // pixels per design unit
  Direction facing = Up;
  int outline = 1;       // outline width in pixels
  bool smooth = false;   // continuous shading instead of the material's flat steps
};

// A solid as a height field over the design grid, in the figure's own upward frame: the
// height of its surface above the picture plane, zero or less outside.
using Profile = std::function<double(Point)>;
// A flat mark on a solid (an eye, a rib), in the figure's own upward frame.
using Region = std::function<bool(Point)>;

// The colours of one material, from the shadow side to the highlight; kBase is the main
// colour, the one the lit middle of a figure shows.
struct Material {
  enum Step { kDeep, kShade, kBase, kLit, kBright, kHighlight, kSteps };
  std::array<Rgb, kSteps> steps;
  Rgb outline;
};

// Builds the steps from the main colour: shades towards `shadow`, lights towards `light`.
Material MakeMaterial(Rgb base, Rgb shadow, Rgb outline, Rgb light = kWhite);

// One figure being drawn: a clear layer the size of the design grid at the placement's
// scale, which solids and marks are painted on and which is then laid over an image.
class Figure {
 public:
  explicit Figure(const Placement& at);

  // Fills the solid with the material, shaded as a lit rounded body, then outlines it:
  // every pixel of the solid within the placement's outline width of a pixel outside it.
  void PaintSolid(const Profile& profile, const Material& material);
  // Paints colour over the pixels of the region that the figure already covers.
  void PaintMark(const Region& region, Rgb colour);

  // The layer itself, for pixel work such as text; (0, 0) is the grid's top-left corner.
  Image& layer() { return layer_; }
  void LayOver(Image& image) const { image.Draw(layer_, at_.x, at_.y); }

 private:
  Point PixelCentre(int px, int py) const;

  Placement at_;
  Image layer_;
};

// Common profiles and regions.
Profile Ball(Point centre, double radius);
// A drop: round at the top (centre, radius) and running to a point straight below, at tipY,
// which must lie below the round end.
Profile Drop(Point centre, double radius, double tipY);
Region Disc(Point centre, double radius);
// An axis-aligned square of side 2 * half.
Region Square(Point centre, double half);

}  // namespace art
