// Real pointer input for the image-button tests, as the system delivers it (SendInput and
// SetCursorPos on Windows, XTest on our layer: tests/support/real_input.h), and a message pump.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <thread>

#include "real_input.h"

namespace ctrl_test {

inline zelvo_test::RealInput& Input() {
  static zelvo_test::RealInput input;
  return input;
}

// Dispatches every message that arrives until `done` holds or about two seconds have passed.
// Returns whether `done` held.
inline bool PumpUntil(const std::function<bool()>& done) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, HWND{}, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

// Lets everything the input caused reach the queue and be handled: messages until the queue has
// stayed empty for a while. (The input is synchronous: its events are on their way on return.)
inline void Settle() {
  int quiet = 0;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (quiet < 25 && std::chrono::steady_clock::now() < give_up) {
    MSG msg;
    if (PeekMessageA(&msg, HWND{}, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      quiet = 0;
    } else {
      ++quiet;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
}

inline void MovePointer(int screen_x, int screen_y) {
  Input().move_pointer(screen_x, screen_y);
  Settle();
}

inline void LeftButton(bool down) {
  if (down)
    Input().press_button(1);
  else
    Input().release_button(1);
  Settle();
}

}  // namespace ctrl_test
