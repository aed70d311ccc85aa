// Real pointer input for the image-button tests: XTest requests on the platform layer's own X
// connection, so that they are ordered with everything the layer sends, and a message pump.
#pragma once

#include <windows.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "x_display.h"

namespace ctrl_test {

// Dispatches every message that arrives until `done` holds or about two seconds have passed.
// Returns whether `done` held.
inline bool PumpUntil(const std::function<bool()>& done) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

// Lets everything already sent reach the queue and be handled: a round trip to the server, then
// messages until the queue has stayed empty for a while.
inline void Settle() {
  XSync(plat::x_display(), False);
  int quiet = 0;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (quiet < 25 && std::chrono::steady_clock::now() < give_up) {
    MSG msg;
    if (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {
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
  XTestFakeMotionEvent(plat::x_display(), -1, screen_x, screen_y, CurrentTime);
  Settle();
}

inline void LeftButton(bool down) {
  XTestFakeButtonEvent(plat::x_display(), 1, down ? True : False, CurrentTime);
  Settle();
}

}  // namespace ctrl_test
