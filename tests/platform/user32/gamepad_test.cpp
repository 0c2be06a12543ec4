// Game controllers, driven through SDL's virtual joysticks: the keys each control gives, one
// direction at a time, the stick's dead zone and hysteresis, auto-repeat and the key state,
// pads plugged in and out, and the keys a pad gives in a message box.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>

#include "tests/common/step_runner.h"
#include "user32_test_support.h"
#include "virtual_controller.h"

using namespace user32_test;

namespace {

// One of SDL's virtual controllers, plugged in for as long as it lives.
class VirtualPad {
 public:
  VirtualPad() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    EXPECT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    joystick_ = PlugInVirtualController();
    EXPECT_NE(joystick_, nullptr) << SDL_GetError();
  }
  ~VirtualPad() {
    Unplug();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;

  void Button(SDL_GameControllerButton button, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, button, down ? SDL_PRESSED : SDL_RELEASED);
  }
  void Axis(SDL_GameControllerAxis axis, int value) {
    SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value));
  }
  void Unplug() {
    if (!joystick_) return;
    SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
  }

 private:
  SDL_Joystick* joystick_ = nullptr;
};

struct KeyMessage {
  UINT message;
  WPARAM wParam;
  bool repeat;  // lParam bit 30
  bool operator==(const KeyMessage&) const = default;
};

void PrintTo(const KeyMessage& m, std::ostream* out) {
  *out << "{0x" << std::hex << m.message << ", 0x" << m.wParam << (m.repeat ? ", repeat}" : "}") << std::dec;
}

// Reads the queue as a message loop does (the gamepads are read with it), translating
// key-downs; returns the keyboard messages.
std::vector<KeyMessage> ReadKeys() {
  std::vector<KeyMessage> got;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_PAINT) ValidateRect(msg.hwnd, nullptr);
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)
      got.push_back(KeyMessage{msg.message, msg.wParam, (msg.lParam & (1 << 30)) != 0});
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return got;
}

constexpr int kFull = 32767;

// One change on the pad: a button down or up, or an axis to a value.
struct Change {
  enum Kind { Button, Axis };
  Kind kind;
  int control;
  int value;
};

Change Down(SDL_GameControllerButton b) { return {Change::Button, b, 1}; }
Change Up(SDL_GameControllerButton b) { return {Change::Button, b, 0}; }
Change StickX(int value) { return {Change::Axis, SDL_CONTROLLER_AXIS_LEFTX, value}; }
Change StickY(int value) { return {Change::Axis, SDL_CONTROLLER_AXIS_LEFTY, value}; }

void Apply(VirtualPad& pad, const Change& c) {
  if (c.kind == Change::Button) {
    pad.Button(static_cast<SDL_GameControllerButton>(c.control), c.value != 0);
  } else {
    pad.Axis(static_cast<SDL_GameControllerAxis>(c.control), c.value);
  }
}

KeyMessage KeyDown(WPARAM vk) { return {WM_KEYDOWN, vk, false}; }
KeyMessage KeyUp(WPARAM vk) { return {WM_KEYUP, vk, true}; }
KeyMessage Char(WPARAM c) { return {WM_CHAR, c, false}; }

// A shown window with the focus, and a pad plugged in that the platform has seen.
class Gamepad : public ::testing::Test {
 protected:
  void SetUp() override {
    window = MakeWindow();
    ShowWindow(window, SW_SHOW);
    ReadKeys();
  }
  void TearDown() override { DestroyWindow(window); }

  // Makes the changes together, then reads what the queue holds.
  std::vector<KeyMessage> Make(VirtualPad& pad, std::initializer_list<Change> changes) {
    for (const Change& c : changes) Apply(pad, c);
    return ReadKeys();
  }

  HWND window = nullptr;
};

struct ControlCase {
  const char* name;
  // Each group of changes is made at once, then the queue is read.
  std::vector<std::vector<Change>> steps;
  std::vector<KeyMessage> expected;
};

void PrintTo(const ControlCase& c, std::ostream* out) { *out << c.name; }

class Controls : public Gamepad, public ::testing::WithParamInterface<ControlCase> {};

TEST_P(Controls, GiveTheKeysOfTheKeyboard) {
  VirtualPad pad;
  ReadKeys();
  std::vector<KeyMessage> got;
  for (const auto& step : GetParam().steps) {
    for (const Change& c : step) Apply(pad, c);
    for (const KeyMessage& m : ReadKeys()) got.push_back(m);
  }
  EXPECT_EQ(got, GetParam().expected);
}

using B = SDL_GameControllerButton;
constexpr B kA = SDL_CONTROLLER_BUTTON_A;
constexpr B kB = SDL_CONTROLLER_BUTTON_B;
constexpr B kStart = SDL_CONTROLLER_BUTTON_START;
constexpr B kLeft = SDL_CONTROLLER_BUTTON_DPAD_LEFT;
constexpr B kRight = SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
constexpr B kUp = SDL_CONTROLLER_BUTTON_DPAD_UP;
constexpr B kDown = SDL_CONTROLLER_BUTTON_DPAD_DOWN;

INSTANTIATE_TEST_SUITE_P(
    Pad, Controls,
    ::testing::Values(
        ControlCase{"DpadIsTheArrowKeys",
                    {{Down(kLeft)},
                     {Up(kLeft)},
                     {Down(kUp)},
                     {Up(kUp)},
                     {Down(kRight)},
                     {Up(kRight)},
                     {Down(kDown)},
                     {Up(kDown)}},
                    {KeyDown(VK_LEFT), KeyUp(VK_LEFT), KeyDown(VK_UP), KeyUp(VK_UP), KeyDown(VK_RIGHT), KeyUp(VK_RIGHT),
                     KeyDown(VK_DOWN), KeyUp(VK_DOWN)}},
        ControlCase{"AAndStartAreSpace",
                    {{Down(kA)}, {Up(kA)}, {Down(kStart)}, {Up(kStart)}},
                    {KeyDown(VK_SPACE), Char(' '), KeyUp(VK_SPACE), KeyDown(VK_SPACE), Char(' '), KeyUp(VK_SPACE)}},
        ControlCase{"AAndStartHeldTogetherAreOneSpace",
                    {{Down(kA)}, {Down(kStart)}, {Up(kA)}, {Up(kStart)}},
                    {KeyDown(VK_SPACE), Char(' '), KeyUp(VK_SPACE)}},
        // Esc would end the game: outside a dialog B, Back and Guide give nothing.
        ControlCase{"BBackGuideAndTheRestGiveNothing",
                    {{Down(kB), Down(SDL_CONTROLLER_BUTTON_BACK), Down(SDL_CONTROLLER_BUTTON_GUIDE),
                      Down(SDL_CONTROLLER_BUTTON_X), Down(SDL_CONTROLLER_BUTTON_LEFTSHOULDER)},
                     {Up(kB), Up(SDL_CONTROLLER_BUTTON_BACK), Up(SDL_CONTROLLER_BUTTON_GUIDE),
                      Up(SDL_CONTROLLER_BUTTON_X), Up(SDL_CONTROLLER_BUTTON_LEFTSHOULDER)},
                     {{Change::Axis, SDL_CONTROLLER_AXIS_RIGHTX, kFull},
                      {Change::Axis, SDL_CONTROLLER_AXIS_TRIGGERLEFT, kFull}}},
                    {}},
        // One direction at a time: the newest, and the older one again when it is let go.
        ControlCase{
            "NewestDirectionWins",
            {{Down(kRight)}, {Down(kUp)}, {Up(kUp)}, {Up(kRight)}},
            {KeyDown(VK_RIGHT), KeyUp(VK_RIGHT), KeyDown(VK_UP), KeyUp(VK_UP), KeyDown(VK_RIGHT), KeyUp(VK_RIGHT)}},
        ControlCase{"DpadAndStickOnOneDirectionAreOneKey",
                    {{Down(kLeft)}, {StickX(-kFull)}, {Up(kLeft)}, {StickX(0)}},
                    {KeyDown(VK_LEFT), KeyUp(VK_LEFT)}},
        ControlCase{
            "StickInsideTheDeadZone",
            {{StickX(16000)}, {StickX(0), StickY(-16000)}, {StickX(-11000), StickY(11000)}, {StickX(0), StickY(0)}},
            {}},
        // Half way out engages; it lets go only below 30 %.
        ControlCase{"StickHysteresisAlongAnAxis",
                    {{StickY(17000)}, {StickY(11000)}, {StickY(16000)}, {StickY(9000)}, {StickY(12000)}},
                    {KeyDown(VK_DOWN), KeyUp(VK_DOWN)}},
        // Round the corner: the neighbour takes over at 56 degrees, not at the diagonal, and
        // gives way again only as far past it.
        ControlCase{"StickHysteresisRoundTheDiagonal",
                    {{StickX(30000)},
                     {StickX(22000), StickY(-24000)},
                     {StickX(16000), StickY(-28000)},
                     {StickX(24000), StickY(-22000)},
                     {StickX(28000), StickY(-15000)}},
                    {KeyDown(VK_RIGHT), KeyUp(VK_RIGHT), KeyDown(VK_UP), KeyUp(VK_UP), KeyDown(VK_RIGHT)}},
        ControlCase{"StickFlickedAcross",
                    {{StickX(kFull)}, {StickX(-kFull)}, {StickX(0)}},
                    {KeyDown(VK_RIGHT), KeyUp(VK_RIGHT), KeyDown(VK_LEFT), KeyUp(VK_LEFT)}}),
    [](const ::testing::TestParamInfo<ControlCase>& info) { return std::string(info.param.name); });

// A held button repeats as a held key does: key-downs with the previous-state bit, each
// with its character, and only the key that went down last repeats.
TEST_F(Gamepad, HeldButtonsRepeatAndShowInTheKeyState) {
  VirtualPad pad;
  ReadKeys();
  std::vector<KeyMessage> got = Make(pad, {Down(kRight)});
  for (const KeyMessage& m : Make(pad, {Down(kA)})) got.push_back(m);
  auto repeats = [&] { return std::count(got.begin(), got.end(), KeyMessage{WM_KEYDOWN, VK_SPACE, true}); };
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (repeats() < 3 && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    for (const KeyMessage& m : ReadKeys()) got.push_back(m);
  }
  ASSERT_GE(repeats(), 3);
  EXPECT_LT(GetKeyState(VK_SPACE), 0);
  EXPECT_LT(GetKeyState(VK_RIGHT), 0);
  EXPECT_LT(GetAsyncKeyState(VK_SPACE), 0);
  ASSERT_GE(got.size(), 3u);
  EXPECT_EQ(got[0], KeyDown(VK_RIGHT));
  EXPECT_EQ(got[1], KeyDown(VK_SPACE));
  for (std::size_t i = 2; i < got.size(); ++i) {
    // Space repeats with its character; Right, pressed before it, no longer does.
    const KeyMessage& m = got[i];
    EXPECT_TRUE(m == (KeyMessage{WM_KEYDOWN, VK_SPACE, true}) || m == (KeyMessage{WM_CHAR, ' ', true}) ||
                m == Char(' '))
        << i;
  }
  got = Make(pad, {Up(kA), Up(kRight)});
  EXPECT_EQ(got, (std::vector<KeyMessage>{KeyUp(VK_SPACE), KeyUp(VK_RIGHT)}));
  EXPECT_GE(GetKeyState(VK_SPACE), 0);
  EXPECT_GE(GetKeyState(VK_RIGHT), 0);
  EXPECT_GE(GetAsyncKeyState(VK_SPACE), 0);
}

// Without a pad nothing happens; pads plugged in while the program runs are picked up, and
// one unplugged with a button held lets its key go.
TEST_F(Gamepad, PadsComeAndGo) {
  auto padKeys = [](VirtualPad& pad) {
    pad.Button(kA, true);
    std::vector<KeyMessage> got = ReadKeys();
    pad.Button(kA, false);
    for (const KeyMessage& m : ReadKeys()) got.push_back(m);
    return got;
  };
  const std::vector<KeyMessage> space{KeyDown(VK_SPACE), Char(' '), KeyUp(VK_SPACE)};
  const std::vector<KeyMessage> none;
  EXPECT_EQ(ReadKeys(), none);
  {
    VirtualPad pad;
    EXPECT_EQ(ReadKeys(), none);  // a pad plugged in presses nothing
    EXPECT_EQ(padKeys(pad), space);
    EXPECT_EQ(Make(pad, {Down(kUp)}), std::vector<KeyMessage>{KeyDown(VK_UP)});
    pad.Unplug();
    EXPECT_EQ(ReadKeys(), std::vector<KeyMessage>{KeyUp(VK_UP)});
    EXPECT_GE(GetKeyState(VK_UP), 0);
  }
  EXPECT_EQ(ReadKeys(), none);
  VirtualPad another;
  EXPECT_EQ(ReadKeys(), none);
  EXPECT_EQ(padKeys(another), space);
}

// In a message box A and Start are Enter, B is Esc, and the D-pad moves among the buttons.
struct BoxCase {
  const char* name;
  UINT type;
  std::vector<B> buttons;  // each pressed and released in turn
  int answer;
};

void PrintTo(const BoxCase& c, std::ostream* out) { *out << c.name; }

class BoxAnswers : public Gamepad, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(BoxAnswers, ComeFromThePad) {
  VirtualPad pad;
  ReadKeys();
  std::vector<std::function<void()>> steps;
  const std::vector<B>& buttons = GetParam().buttons;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    B button = buttons[i];
    steps.push_back([&pad, button] { pad.Button(button, true); });
    if (i + 1 < buttons.size()) steps.push_back([&pad, button] { pad.Button(button, false); });
  }
  test::RunSteps(steps);
  int answer = MessageBoxA(window, "?", "pad", GetParam().type);
  test::StopSteps();
  EXPECT_EQ(answer, GetParam().answer);
  pad.Button(buttons.back(), false);
  ReadKeys();
}

INSTANTIATE_TEST_SUITE_P(Pad, BoxAnswers,
                         ::testing::Values(BoxCase{"AIsTheDefaultButton", MB_YESNO, {kA}, IDYES},
                                           BoxCase{"DpadThenA", MB_YESNO, {kRight, kA}, IDNO},
                                           BoxCase{"BIsCancel", MB_OKCANCEL, {kB}, IDCANCEL},
                                           // Esc means nothing in a Yes/No box: the question is still to be answered.
                                           BoxCase{"BInAYesNoBoxWaits", MB_YESNO, {kB, kDown, kStart}, IDNO}),
                         [](const ::testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

// A held A that paused the game does not go on into a box that opens meanwhile: its repeats
// would press the box's focused button.
TEST_F(Gamepad, AHeldBeforeABoxOpensDoesNotAnswerIt) {
  VirtualPad pad;
  ReadKeys();
  EXPECT_EQ(Make(pad, {Down(kA)}), (std::vector<KeyMessage>{KeyDown(VK_SPACE), Char(' ')}));
  bool openAfterRepeatTime = false;
  auto start = std::chrono::steady_clock::now();
  std::vector<std::function<void()>> steps;
  // Well past the repeat delay, then A let go; the box is then answered No from the pad.
  for (int i = 0; i < 40; ++i) steps.push_back([] {});
  steps.push_back([&] {
    openAfterRepeatTime = std::chrono::steady_clock::now() - start > std::chrono::milliseconds(700);
    pad.Button(kA, false);
  });
  steps.push_back([&pad] { pad.Button(kRight, true); });
  steps.push_back([&pad] { pad.Button(kRight, false); });
  steps.push_back([&pad] { pad.Button(kA, true); });
  test::RunSteps(steps, 25);
  int answer = MessageBoxA(window, "?", "pad", MB_YESNO);
  test::StopSteps();
  EXPECT_TRUE(openAfterRepeatTime);
  EXPECT_EQ(answer, IDNO);
  pad.Button(kA, false);
  ReadKeys();
}

}  // namespace
