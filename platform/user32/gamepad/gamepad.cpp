#include "platform/user32/gamepad/gamepad.h"

#include <map>
#include <memory>
#include <set>

#include "platform/common/immortal.h"
#include "platform/user32/gamepad/key_delivery.h"
#include "platform/user32/gamepad/sdl_pads.h"
#include "platform/user32/gamepad/stick.h"
#include "platform/user32/qt/event_pump.h"

namespace win32::user32::gamepad {
namespace {

using std::chrono::milliseconds;

// A pad's state changes are noticed within this time (a pad's own report rate is 125 to
// 1000 a second; the game's clock ticks every 200 ms at most).
constexpr milliseconds kPadPollInterval{10};
// Without a pad, how often to look for one being plugged in.
constexpr milliseconds kHotPlugInterval{500};

// The stick's source beside the buttons.
constexpr int kLeftStick = SDL_CONTROLLER_BUTTON_MAX;

std::optional<PadAction> ActionOf(int button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return PadAction::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return PadAction::Down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return PadAction::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return PadAction::Right;
    case SDL_CONTROLLER_BUTTON_A:
    case SDL_CONTROLLER_BUTTON_START:
      return PadAction::Confirm;
    case SDL_CONTROLLER_BUTTON_B:
      return PadAction::Cancel;
    default:
      return std::nullopt;  // Back and Guide among them: nothing on a pad ends the game
  }
}

class Gamepads {
 public:
  void Poll(Clock::time_point now) {
    if (!Start()) return;
    std::set<int> moved;  // pads whose stick moved
    for (const PadInput& input : pads_->Read()) {
      switch (input.kind) {
        case PadInput::Button:
          PressOrRelease(input, now);
          break;
        case PadInput::Axis:
          if (input.control == SDL_CONTROLLER_AXIS_LEFTX) sticks_[input.pad].SetX(input.value);
          if (input.control == SDL_CONTROLLER_AXIS_LEFTY) sticks_[input.pad].SetY(input.value);
          if (input.control == SDL_CONTROLLER_AXIS_LEFTX || input.control == SDL_CONTROLLER_AXIS_LEFTY)
            moved.insert(input.pad);
          break;
        case PadInput::Removed:
          moved.erase(input.pad);
          sticks_.erase(input.pad);
          keys_.ReleasePad(input.pad, now);
          break;
      }
    }
    // Each axis comes as an event of its own: a stick is read once all of a poll's have come
    // in, so that a move across does not pass through a direction in between.
    for (int pad : moved) Turn(pad, now);
    keys_.RepeatDue(now);
  }

  std::optional<Clock::time_point> NextPoll(Clock::time_point now) const {
    if (!pads_) return std::nullopt;
    Clock::time_point next = now + (pads_->Any() ? kPadPollInterval : kHotPlugInterval);
    if (auto repeat = keys_.NextRepeat(); repeat && *repeat < next) next = *repeat;
    return next;
  }

  void Shutdown() {
    closed_ = true;
    sticks_.clear();
    pads_.reset();
  }

 private:
  bool Start() {
    if (closed_) return false;
    if (!pads_ && !tried_) {
      tried_ = true;
      pads_ = SdlPads::Open();
    }
    return pads_ != nullptr;
  }

  void PressOrRelease(const PadInput& input, Clock::time_point now) {
    auto action = ActionOf(input.control);
    if (!action) return;
    PadSource source{input.pad, input.control};
    if (input.value) {
      keys_.Press(source, *action, now);
    } else {
      keys_.Release(source, now);
    }
  }

  void Turn(int pad, Clock::time_point now) {
    Stick& stick = sticks_[pad];
    std::optional<PadAction> before = stick.Held();
    std::optional<PadAction> after = stick.Update();
    if (after == before) return;
    PadSource source{pad, kLeftStick};
    if (after) {
      keys_.Press(source, *after, now);
    } else {
      keys_.Release(source, now);
    }
  }

  KeyDelivery delivery_;
  PadKeys keys_{delivery_};
  std::unique_ptr<SdlPads> pads_;
  std::map<int, Stick> sticks_;
  bool tried_ = false;
  bool closed_ = false;
};

Gamepads& Instance() {
  static Immortal<Gamepads> gamepads;
  return *gamepads;
}

}  // namespace

void Poll() {
  if (qt::RunsQt()) Instance().Poll(Clock::now());
}

std::optional<Clock::time_point> NextPoll() {
  if (!qt::RunsQt()) return std::nullopt;
  return Instance().NextPoll(Clock::now());
}

void Shutdown() { Instance().Shutdown(); }

}  // namespace win32::user32::gamepad
