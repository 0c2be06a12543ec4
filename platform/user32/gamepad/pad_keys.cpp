#include "platform/user32/gamepad/pad_keys.h"

#include <algorithm>

namespace win32::user32::gamepad {
namespace {

bool IsDirection(PadAction action) { return action != PadAction::Confirm && action != PadAction::Cancel; }

}  // namespace

void PadKeys::Press(PadSource source, PadAction action, Clock::time_point now) {
  if (IsDirection(action)) {
    std::erase_if(directions_, [&](const Held& h) { return h.source == source; });
    directions_.push_back(Held{source, sink_.KeyFor(action)});
    ChangeDirection(now);
    return;
  }
  if (std::ranges::any_of(buttons_, [&](const Held& h) { return h.source == source; })) return;
  // The key is chosen when the button goes down, and stays that key until it comes up, even
  // if meanwhile a dialog opened or closed.
  int key = sink_.KeyFor(action);
  bool alreadyDown = ButtonKeyHeld(key);
  buttons_.push_back(Held{source, key});
  if (key && !alreadyDown) KeyDown(key, now);
}

void PadKeys::Release(PadSource source, Clock::time_point now) {
  auto isSource = [&](const Held& h) { return h.source == source; };
  if (std::erase_if(directions_, isSource)) {
    ChangeDirection(now);
    return;
  }
  auto held = std::ranges::find_if(buttons_, isSource);
  if (held == buttons_.end()) return;
  int key = held->key;
  buttons_.erase(held);
  if (key && !ButtonKeyHeld(key)) KeyUp(key);
}

void PadKeys::ReleasePad(int pad, Clock::time_point now) {
  std::vector<PadSource> sources;
  for (const auto* list : {&directions_, &buttons_}) {
    for (const Held& h : *list) {
      if (h.source.pad == pad) sources.push_back(h.source);
    }
  }
  for (const PadSource& s : sources) Release(s, now);
}

void PadKeys::RepeatDue(Clock::time_point now) {
  if (!repeatKey_ || now < repeatDue_) return;
  if (!sink_.Press(repeatKey_, true)) {
    repeatKey_ = 0;
    return;
  }
  // A late poll gives one repeat, not a burst of the ones missed.
  repeatDue_ += repeatInterval_;
  if (repeatDue_ <= now) repeatDue_ = now + repeatInterval_;
}

std::optional<Clock::time_point> PadKeys::NextRepeat() const {
  if (!repeatKey_) return std::nullopt;
  return repeatDue_;
}

void PadKeys::ChangeDirection(Clock::time_point now) {
  int key = directions_.empty() ? 0 : directions_.back().key;
  if (key == directionKey_) return;
  if (directionKey_) KeyUp(directionKey_);
  directionKey_ = key;
  if (key) KeyDown(key, now);
}

void PadKeys::KeyDown(int key, Clock::time_point now) {
  repeatKey_ = 0;
  if (!sink_.Press(key, false)) return;
  std::optional<RepeatTiming> timing = sink_.Repeat();
  if (!timing) return;
  repeatKey_ = key;
  repeatDue_ = now + timing->delay;
  repeatInterval_ = timing->interval;
}

void PadKeys::KeyUp(int key) {
  sink_.Release(key);
  if (repeatKey_ == key) repeatKey_ = 0;
}

bool PadKeys::ButtonKeyHeld(int key) const {
  return key && std::ranges::any_of(buttons_, [&](const Held& h) { return h.key == key; });
}

}  // namespace win32::user32::gamepad
