// A gamepad's controls as keys of a keyboard. The D-pad and the stick give one direction at
// a time: the newest still held is the one in force, and letting go of it brings back the
// one held before. The other buttons are keys of their own. Like a keyboard, the key that
// went down last repeats while it is held.
#pragma once

#include <chrono>
#include <optional>
#include <vector>

namespace win32::user32::gamepad {

using Clock = std::chrono::steady_clock;

enum class PadAction { Up, Down, Left, Right, Confirm, Cancel };

// One control of one pad: a button, or a stick taken as a whole.
struct PadSource {
  int pad = 0;
  int control = 0;
  bool operator==(const PadSource&) const = default;
};

struct RepeatTiming {
  Clock::duration delay;
  Clock::duration interval;
};

// Where the keys go.
class KeySink {
 public:
  virtual ~KeySink() = default;
  // The key an action presses now; 0 when it presses none.
  virtual int KeyFor(PadAction action) = 0;
  // False when nobody took the key (no window has the focus, or a repeat would reach another
  // window than the first press did): the key then stops repeating.
  virtual bool Press(int key, bool repeat) = 0;
  virtual void Release(int key) = 0;
  // How a held key repeats; nothing when keys do not repeat.
  virtual std::optional<RepeatTiming> Repeat() = 0;
};

class PadKeys {
 public:
  explicit PadKeys(KeySink& sink) : sink_(sink) {}

  // The source went down, or (a stick) turned to another direction while held.
  void Press(PadSource source, PadAction action, Clock::time_point now);
  void Release(PadSource source, Clock::time_point now);
  // Everything a pad held is let go (the pad was unplugged).
  void ReleasePad(int pad, Clock::time_point now);

  // Repeats the key that went down last, when its time has come.
  void RepeatDue(Clock::time_point now);
  std::optional<Clock::time_point> NextRepeat() const;

 private:
  struct Held {
    PadSource source;
    int key;
  };

  void ChangeDirection(Clock::time_point now);
  void KeyDown(int key, Clock::time_point now);
  void KeyUp(int key);
  bool ButtonKeyHeld(int key) const;

  KeySink& sink_;
  std::vector<Held> directions_;  // oldest first: the last one is in force
  std::vector<Held> buttons_;
  int directionKey_ = 0;  // the arrow key down now
  int repeatKey_ = 0;
  Clock::time_point repeatDue_;
  Clock::duration repeatInterval_{};
};

}  // namespace win32::user32::gamepad
