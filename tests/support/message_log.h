// A window class whose procedure records every message, for the window and input tests. Windows API
// only, so that it builds against the system <windows.h> as well as ours.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "zelvo/lparam_pointer.h"

namespace zelvo_test {

struct Logged {
  HWND hwnd;
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
  UINT detail = 0;  // WM_WINDOWPOSCHANGING/CHANGED: the WINDOWPOS flags, read while they exist
};

struct MessageLog {
  std::vector<Logged> messages;
  // Optional handlers by message; their result replaces default processing.
  std::map<UINT, std::function<LRESULT(HWND, WPARAM, LPARAM)>> handlers;

  std::vector<Logged> only(UINT message) const {
    std::vector<Logged> out;
    for (const Logged& m : messages)
      if (m.message == message) out.push_back(m);
    return out;
  }
  size_t count(UINT message) const { return only(message).size(); }
  // Index of the first `message` in the log, or -1.
  int first(UINT message) const {
    for (size_t i = 0; i < messages.size(); ++i)
      if (messages[i].message == message) return static_cast<int>(i);
    return -1;
  }
};

inline MessageLog& message_log() {
  static MessageLog log;
  return log;
}

inline LRESULT CALLBACK LoggingProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  MessageLog& log = message_log();
  Logged entry{hwnd, message, wparam, lparam};
  if (message == WM_WINDOWPOSCHANGING || message == WM_WINDOWPOSCHANGED)
    if (const auto* pos = static_cast<const WINDOWPOS*>(LParamToPtr(lparam)))
      entry.detail = pos->flags;
  log.messages.push_back(entry);
  auto it = log.handlers.find(message);
  if (it != log.handlers.end()) return it->second(hwnd, wparam, lparam);
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

// Registers the logging class once per program under `name`.
inline void register_logging_class(const char* name) {
  WNDCLASSEXA wc{};
  if (GetClassInfoExA(GetModuleHandleA(nullptr), name, &wc)) return;
  WNDCLASSA c{};
  c.style = CS_HREDRAW | CS_VREDRAW;
  c.lpfnWndProc = LoggingProc;
  c.hInstance = GetModuleHandleA(nullptr);
  c.lpszClassName = name;
  RegisterClassA(&c);
}

constexpr DWORD kCaptionedStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                  WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFullScreenStyle =
    WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | WS_SYSMENU;

// One frame-loop step as the framework takes it: peek without removing, then take and dispatch one.
inline void pump_one() {
  MSG msg;
  if (PeekMessageA(&msg, 0, 0, 0, PM_NOREMOVE)) {
    GetMessageA(&msg, 0, 0, 0);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Takes and dispatches everything queued now.
inline void pump_all() {
  MSG msg;
  while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Pumps until `done` holds or `timeout_ms` passes; returns `done()`'s final value.
inline bool pump_while_waiting(const std::function<bool()>& done, int timeout_ms = 3000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    pump_all();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

inline bool wait_for_message(UINT message, size_t count = 1, int timeout_ms = 3000) {
  return pump_while_waiting([&] { return message_log().count(message) >= count; }, timeout_ms);
}

}  // namespace zelvo_test
