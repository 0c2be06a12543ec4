// The message queue of a thread, as Windows keeps one per thread: posted messages, the quit
// request, input from the keyboard and mouse, and calls into window procedures that arrive
// from outside the thread's own calls (Qt's notifications of a resized window, a click on a
// button, a SendMessageA from another thread). WM_PAINT and WM_TIMER are not queued: they
// are generated when the queue is read (see message_retrieval.cpp).
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/user32/user32.h"

namespace win32::user32 {

using Clock = std::chrono::steady_clock;

// Which messages a GetMessageA/PeekMessageA call asks for.
struct MessageFilter {
  HWND hwnd = nullptr;  // null: any; (HWND)-1: thread messages only; else the window and its children
  UINT first = 0;
  UINT last = 0;  // first = last = 0: every message

  bool MatchesWindow(HWND target) const;
  bool MatchesMessage(UINT message) const;
  bool Matches(const MSG& msg) const { return MatchesWindow(msg.hwnd) && MatchesMessage(msg.message); }

  // True for the window filter (HWND)-1.
  static bool IsThreadOnly(HWND filter) { return filter == reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1)); }
};

// A keyboard or mouse message with what the platform knew when it happened.
struct InputMessage {
  MSG msg{};
  std::u16string text;  // the characters a key press types; TranslateMessage turns them into WM_CHAR
  bool shift = false;
  bool control = false;
  bool alt = false;
  bool opensMenu = false;  // the release of Alt or F10 pressed alone
};

class ThreadQueue {
 public:
  // The queue of the calling thread, created on first use.
  static ThreadQueue& Current();
  static std::shared_ptr<ThreadQueue> CurrentShared();

  // Any thread.
  void Post(const MSG& msg);
  void PostCall(std::function<void()> call);
  void Wake();
  bool IsOwnerThread() const;

  // The owner thread only.
  void PostInput(InputMessage input);
  void PostQuit(int exitCode);
  std::optional<std::function<void()>> TakeCall();
  std::optional<MSG> TakePosted(const MessageFilter& filter, bool remove);
  std::optional<MSG> TakeQuit(const MessageFilter& filter, bool remove);
  std::optional<InputMessage> TakeInput(const MessageFilter& filter, bool remove);
  bool HasPending();
  void RemoveMessagesOf(HWND hwnd);

  // Blocks until something is posted or woken, or until `deadline`. Qt's events are
  // processed while waiting when the thread runs Qt.
  void Wait(std::optional<Clock::time_point> deadline);

  // Time of the message most recently retrieved (GetMessageTime).
  DWORD lastMessageTime = 0;

 private:
  std::mutex mutex_;
  std::condition_variable wakeup_;
  bool signalled_ = false;
  std::deque<MSG> posted_;
  std::deque<InputMessage> input_;
  std::deque<std::function<void()>> calls_;
  bool qtWaiting_ = false;
  bool quitPosted_ = false;
  int quitCode_ = 0;
  std::thread::id owner_ = std::this_thread::get_id();
};

// The time stamp of a message made now: the tick count.
DWORD MessageTimeNow();

}  // namespace win32::user32
