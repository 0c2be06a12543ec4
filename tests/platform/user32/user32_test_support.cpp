#include "user32_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <map>
#include <thread>

#include "platform/common/codepage.h"

namespace user32_test {
namespace {

Handler& CurrentHandler() {
  static Handler handler;
  return handler;
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Log().push_back(Heard{hwnd, message, wParam, lParam});
  if (CurrentHandler()) {
    if (auto result = CurrentHandler()(hwnd, message, wParam, lParam)) return *result;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void SendKey(QWidget* widget, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, const QString& text,
             bool autoRepeat) {
  QKeyEvent event(type, key, modifiers, text, autoRepeat);
  // Shortcuts first, as Qt does for keys from the keyboard.
  if (type == QEvent::KeyPress) {
    QKeyEvent shortcut(QEvent::ShortcutOverride, key, modifiers, text, autoRepeat);
    QApplication::sendEvent(widget, &shortcut);
  }
  QApplication::sendEvent(widget, &event);
}

}  // namespace

std::vector<Heard>& Log() {
  static std::vector<Heard> log;
  return log;
}

std::vector<Heard> LogOf(UINT message) {
  std::vector<Heard> result;
  for (const Heard& h : Log()) {
    if (h.message == message) result.push_back(h);
  }
  return result;
}

void SetHandler(Handler handler) { CurrentHandler() = std::move(handler); }

const char* RecordingClass(UINT classStyle) {
  static std::map<UINT, std::string> names;
  auto it = names.find(classStyle);
  if (it != names.end()) return it->second.c_str();
  std::string name = "Recording" + std::to_string(classStyle);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = classStyle;
  wc.lpfnWndProc = RecordingProc;
  wc.cbWndExtra = 16;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name.c_str();
  RegisterClassExA(&wc);
  return names.emplace(classStyle, name).first->second.c_str();
}

HWND MakeWindow(DWORD style, UINT classStyle) {
  return CreateWindowExA(0, RecordingClass(classStyle), "test", style, 40, 40, 300, 200, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void WindowTest::SetUp() {
  Log().clear();
  window = MakeWindow();
  ASSERT_NE(window, nullptr);
}

void WindowTest::TearDown() { SetHandler(nullptr); }

void ShownWindowTest::SetUp() {
  WindowTest::SetUp();
  if (HasFatalFailure()) return;
  ShowWindow(window, SW_SHOW);
  DispatchPending();
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  auto end = std::chrono::steady_clock::now() + limit;
  MSG msg;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  return true;
}

std::vector<MSG> Drain(std::size_t most) {
  std::vector<MSG> result;
  MSG msg;
  while (result.size() < most && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    result.push_back(msg);
    if (msg.message == WM_QUIT) break;
  }
  return result;
}

void DispatchPending() {
  MSG msg;
  for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void Press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers, const QString& text, bool autoRepeat) {
  SendKey(widget, QEvent::KeyPress, key, modifiers, text, autoRepeat);
}

void Release(QWidget* widget, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  SendKey(widget, QEvent::KeyRelease, key, modifiers, text, false);
}

void Click(QWidget* widget, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  Press(widget, key, modifiers, text);
  Release(widget, key, modifiers, text);
}

std::string Sjis(const char8_t* utf8) { return win32::cp932::FromUtf8(reinterpret_cast<const char*>(utf8)).value(); }

}  // namespace user32_test
