#include "tools/art/figure.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace art {
namespace {

struct Vec3 {
  double x, y, z;
};

double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 Normalised(Vec3 v) {
  const double length = std::sqrt(Dot(v, v));
  return {v.x / length, v.y / length, v.z / length};
}

// The light falls from the top-left, in front of the picture; the viewer looks straight in.
const Vec3 kLight = Normalised({-1.0, -1.1, 1.5});
const Vec3 kHalfway = Normalised({kLight.x, kLight.y, kLight.z + 1.0});

// How the lighting maps to the material's steps: a surface facing the viewer, like the middle
// of a ball, sits a little above the main colour, so that the main colour covers the broad
// band between the lit top-left and the shaded bottom-right.
constexpr double kMidLight = 0.78;
constexpr double kLightGain = 3.2;
constexpr double kHighlightGain = 3.4;

double Power(double base, int exponent) {
  double result = 1.0;
  for (int i = 0; i < exponent; ++i) result *= base;
  return result;
}

// Position on the material's steps (0 = kDeep ... 5 = kHighlight) of a surface with this
// normal.
double Tone(Vec3 normal) {
  const double diffuse = Dot(normal, kLight);
  const double specular = Power(std::max(0.0, Dot(normal, kHalfway)), 24);
  const double tone = static_cast<double>(Material::kBase) + (diffuse - kMidLight) * kLightGain + specular * kHighlightGain;
  return std::clamp(tone, 0.0, static_cast<double>(Material::kSteps - 1));
}

Rgb StepColour(const Material& material, double tone, bool smooth) {
  if (!smooth) return material.steps[static_cast<std::size_t>(tone + 0.5)];
  const auto low = static_cast<std::size_t>(tone);
  if (low + 1 >= material.steps.size()) return material.steps.back();
  return Mix(material.steps[low], material.steps[low + 1], tone - static_cast<double>(low));
}

// Maps a point of the image (in design units from the placement's corner) into the
// figure's upward frame.
Point ToFigure(Point image, Direction facing) {
  double dx = image.x - kGrid / 2;
  double dy = image.y - kGrid / 2;
  // Each quarter turn back: a figure facing right has its top on the image's right side.
  for (int turn = 0; turn < facing; ++turn) {
    const double x = dx;
    dx = dy;
    dy = -x;
  }
  return {kGrid / 2 + dx, kGrid / 2 + dy};
}

int GridPixels(const Placement& at) { return static_cast<int>(std::ceil(kGrid * at.scale)); }

}  // namespace

Material MakeMaterial(Rgb base, Rgb shadow, Rgb outline, Rgb light) {
  return {{Mix(base, shadow, 0.55), Mix(base, shadow, 0.28), base, Mix(base, light, 0.28), Mix(base, light, 0.55),
           Mix(base, light, 0.85)},
          outline};
}

Figure::Figure(const Placement& at) : at_(at), layer_(GridPixels(at), GridPixels(at)) {}

Point Figure::PixelCentre(int px, int py) const { return {(px + 0.5) / at_.scale, (py + 0.5) / at_.scale}; }

void Figure::PaintSolid(const Profile& profile, const Material& material) {
  const int size = layer_.width();
  auto height = [&](Point p) { return std::max(0.0, profile(ToFigure(p, at_.facing))); };

  std::vector<char> inside(static_cast<std::size_t>(size) * size);
  auto isInside = [&](int px, int py) {
    return px >= 0 && py >= 0 && px < size && py < size && inside[static_cast<std::size_t>(py) * size + px];
  };
  for (int py = 0; py < size; ++py)
    for (int px = 0; px < size; ++px) inside[static_cast<std::size_t>(py) * size + px] = height(PixelCentre(px, py)) > 0;

  auto onOutline = [&](int px, int py) {
    const int reach = at_.outline;
    for (int dy = -reach; dy <= reach; ++dy)
      for (int dx = -reach; dx <= reach; ++dx)
        if (dx * dx + dy * dy <= reach * reach && !isInside(px + dx, py + dy)) return true;
    return false;
  };

  constexpr double kStep = 0.25;  // design units, for the surface's slope
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      if (!isInside(px, py)) continue;
      Rgb colour = material.outline;
      if (!onOutline(px, py)) {
        const Point p = PixelCentre(px, py);
        const double slopeX = (height({p.x + kStep, p.y}) - height({p.x - kStep, p.y})) / (2 * kStep);
        const double slopeY = (height({p.x, p.y + kStep}) - height({p.x, p.y - kStep})) / (2 * kStep);
        colour = StepColour(material, Tone(Normalised({-slopeX, -slopeY, 1.0})), at_.smooth);
      }
      layer_.at(px, py) = Opaque(colour);
    }
  }
}

void Figure::PaintMark(const Region& region, Rgb colour) {
  for (int py = 0; py < layer_.height(); ++py)
    for (int px = 0; px < layer_.width(); ++px)
      if (layer_.at(px, py).a != 0 && region(ToFigure(PixelCentre(px, py), at_.facing))) layer_.at(px, py) = Opaque(colour);
}

Profile Ball(Point centre, double radius) {
  return [=](Point p) {
    const double dx = p.x - centre.x;
    const double dy = p.y - centre.y;
    const double h2 = radius * radius - dx * dx - dy * dy;
    return h2 > 0 ? std::sqrt(h2) : 0.0;
  };
}

Profile Drop(Point centre, double radius, double tipY) {
  // The straight sides touch the round end where a line from the tip is tangent to it.
  const double reach = tipY - centre.y;
  const double touchY = centre.y + radius * radius / reach;
  const double slope = radius / std::sqrt(reach * reach - radius * radius);
  return [=](Point p) {
    double halfWidth = 0;
    if (p.y <= touchY) {
      const double dy = p.y - centre.y;
      halfWidth = std::sqrt(std::max(0.0, radius * radius - dy * dy));
    } else if (p.y < tipY) {
      halfWidth = (tipY - p.y) * slope;
    }
    // Round in cross-section: a ball at the top that narrows to the tip.
    const double dx = p.x - centre.x;
    const double h2 = halfWidth * halfWidth - dx * dx;
    return h2 > 0 ? std::sqrt(h2) : 0.0;
  };
}

Region Disc(Point centre, double radius) {
  return [=](Point p) {
    const double dx = p.x - centre.x;
    const double dy = p.y - centre.y;
    return dx * dx + dy * dy < radius * radius;
  };
}

Region Square(Point centre, double half) {
  return [=](Point p) { return std::abs(p.x - centre.x) < half && std::abs(p.y - centre.y) < half; };
}

}  // namespace art
