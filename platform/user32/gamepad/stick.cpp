#include "platform/user32/gamepad/stick.h"

#include <array>
#include <cstdint>

namespace win32::user32::gamepad {
namespace {

// Half way out engages a direction; below 30 % of the way the stick is centred again.
constexpr std::int64_t kEngage = 16384;
constexpr std::int64_t kRelease = 9830;
// A neighbouring direction takes over once the stick leans 56 degrees away from the held
// one (tan 56 = 3/2), not at the 45-degree diagonal; going back takes as much.
constexpr std::int64_t kTakeOverNumerator = 3;
constexpr std::int64_t kTakeOverDenominator = 2;

// How far the stick reaches in a direction.
std::int64_t Along(PadAction d, std::int64_t x, std::int64_t y) {
  switch (d) {
    case PadAction::Up:
      return -y;
    case PadAction::Down:
      return y;
    case PadAction::Left:
      return -x;
    default:
      return x;
  }
}

}  // namespace

std::optional<PadAction> Stick::Update() {
  std::int64_t x = x_;
  std::int64_t y = y_;
  std::int64_t lengthSquared = x * x + y * y;
  std::int64_t threshold = held_ ? kRelease : kEngage;
  if (lengthSquared < threshold * threshold) {
    held_.reset();
    return held_;
  }
  constexpr std::array kDirections{PadAction::Up, PadAction::Right, PadAction::Down, PadAction::Left};
  PadAction best = kDirections[0];
  for (PadAction d : kDirections) {
    if (Along(d, x, y) > Along(best, x, y)) best = d;
  }
  if (!held_ ||
      (best != *held_ && Along(best, x, y) * kTakeOverDenominator > Along(*held_, x, y) * kTakeOverNumerator)) {
    held_ = best;
  }
  return held_;
}

}  // namespace win32::user32::gamepad
