// Helpers of the user32 tests: a window class that records what its procedure hears, a
// pump that reads the queue like a program's message loop, and synthesised Qt input.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/user32/qt/widget_binding.h"
#include "platform/win32.h"

namespace user32_test {

struct Heard {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Everything the recording windows' procedures heard, in order.
std::vector<Heard>& Log();

// The messages of one kind in the log.
std::vector<Heard> LogOf(UINT message);

// What a recording window does with a message before (or instead of) DefWindowProcA; an
// empty result passes it on.
using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
void SetHandler(Handler handler);

// Registers (once) the recording class with this class style and returns its name.
const char* RecordingClass(UINT classStyle = CS_HREDRAW | CS_VREDRAW);

// A top-level recording window, 0x00CB0000 (caption, system menu, minimise and maximise
// boxes) unless told otherwise, not shown.
HWND MakeWindow(DWORD style = 0x00CB0000, UINT classStyle = CS_HREDRAW | CS_VREDRAW);

// The fixture of tests on one recording window: the log starts empty and the window exists,
// not shown; the handler is reset afterwards.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  HWND window = nullptr;
};

// The same with the window shown and what showing it queued (its first paint) dispatched.
class ShownWindowTest : public WindowTest {
 protected:
  void SetUp() override;
};

// Reads and dispatches messages as a message loop does (TranslateMessage included) until
// `done` holds or `limit` passes. False on timeout.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::milliseconds(3000));

// Reads every message now in the queue (WM_PAINT and due WM_TIMERs included) without
// dispatching; stops at WM_QUIT or after `most` messages.
std::vector<MSG> Drain(std::size_t most = 64);

// Reads and dispatches what is in the queue now, without waiting.
void DispatchPending();

// Synthesised keyboard input on a widget, as Qt would deliver it from the keyboard.
void Press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {},
           bool autoRepeat = false);
void Release(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {});
void Click(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {});

// The widget that takes a window's input.
inline QWidget* WidgetOf(HWND hwnd) { return win32::user32::InputWidgetOf(hwnd); }

// Text in UTF-8 as code page 932 bytes.
std::string Sjis(const char8_t* utf8);

}  // namespace user32_test
