#include "tools/art/characters.h"

#include <cmath>

#include "tools/art/glyphs.h"

namespace art {
namespace {

// The main colours of the board's things. The materials' shadows lean towards a darker,
// slightly different hue, which keeps the shaded side of a ball from looking muddy.
constexpr Rgb kHeadRed{255, 56, 56};
constexpr Rgb kBodyMagenta{255, 56, 255};
constexpr Rgb kBodyRim{224, 0, 224};
constexpr Rgb kGreen{28, 255, 28};
constexpr Rgb kBlue{28, 28, 255};
constexpr Rgb kYellow{255, 255, 28};
constexpr Rgb kRoamerBlack{48, 48, 48};
constexpr Rgb kRoamerEye{255, 0, 255};

const Material kHead = MakeMaterial(kHeadRed, {120, 0, 48}, {112, 0, 24});
const Material kBody = MakeMaterial(kBodyMagenta, {150, 0, 170}, kBodyRim);
const Material kPickups[] = {
    MakeMaterial(kGreen, {0, 110, 60}, {0, 88, 24}),
    MakeMaterial(kBlue, {16, 0, 120}, {0, 0, 96}),
    MakeMaterial(kYellow, {190, 110, 0}, {128, 80, 0}),
};
// A dim, cool light: a bright one would turn the black ball grey.
const Material kRoamer = MakeMaterial(kRoamerBlack, {8, 8, 16}, {0, 0, 0}, {150, 150, 176});

constexpr Point kCentre{8, 8};
constexpr double kRadius = 8;

const char* const kPickupNumbers[] = {"3", "5", "-3"};

// A band across the figure's upward frame, one design unit thick, centred on y.
Region Rib(double y) {
  return [y](Point p) { return std::abs(p.y - y) < 0.5; };
}

}  // namespace

void DrawHead(Image& image, const Placement& at) {
  Figure head(at);
  head.PaintSolid(Ball(kCentre, kRadius), kHead);
  // Two eyes in the front half, pupils at their front edge. Drawn at half size or less, an
  // eye is two pixels, the white and, in front of it, the pupil.
  const double pixel = 1.0 / at.scale;
  for (double x : {5.0, 11.0}) {
    if (at.scale < 1.0) {
      head.PaintMark(Square({x, 5}, pixel / 2), kWhite);
      head.PaintMark(Square({x, 5 - pixel}, pixel / 2), kBlack);
      continue;
    }
    head.PaintMark(Disc({x, 5}, 1.85), kWhite);
    head.PaintMark(Disc({x, 4}, 1.0), kBlack);
  }
  head.LayOver(image);
}

void DrawBodyCell(Image& image, const Placement& at, bool ribbed) {
  Figure body(at);
  body.PaintSolid(Ball(kCentre, kRadius), kBody);
  // Two rings across the direction of travel cut the ball into three bands.
  if (ribbed)
    for (double y : {5.5, 10.5}) body.PaintMark(Rib(y), kBodyRim);
  body.LayOver(image);
}

void DrawTail(Image& image, const Placement& at) {
  Figure tail(at);
  tail.PaintSolid(Drop({8, 6.5}, 6.5, 16.5), kBody);
  tail.PaintMark(Rib(5.5), kBodyRim);
  tail.LayOver(image);
}

void DrawPickup(Image& image, const Placement& at, PickupKind kind) {
  const Material& material = kPickups[kind];
  Figure pickup(at);
  pickup.PaintSolid(Ball(kCentre, kRadius), material);
  const char* number = kPickupNumbers[kind];
  const int size = pickup.layer().width();
  DrawText(pickup.layer(), (size - TextWidth(number)) / 2, (size - TextHeight()) / 2, number, kWhite,
           material.outline);
  pickup.LayOver(image);
}

void DrawRoamer(Image& image, const Placement& at) {
  Figure roamer(at);
  roamer.PaintSolid(Ball(kCentre, kRadius), kRoamer);
  // Two eyes under brows that slope down towards the middle: a scowl.
  for (double side : {-1.0, 1.0}) {
    const Point eye{kCentre.x + side * 3.0, 7.0};
    roamer.PaintMark([eye, side](Point p) {
      const double brow = eye.y - 0.8 - (p.x - eye.x) * side * 0.6;
      return Disc(eye, 2.2)(p) && p.y > brow;
    }, kRoamerEye);
  }
  roamer.LayOver(image);
}

}  // namespace art
