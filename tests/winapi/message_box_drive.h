// Drives a message box from a second thread once it is shown and in front, as a user or a Windows
// program's automation meets it, with Windows API calls only; a box left up afterwards is closed so
// that a failing test ends.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <thread>

namespace zelvo_test {

// The box titled `caption` once it is shown and in front (bounded wait), as automation waits for
// it before it presses anything; 0 when it did not come.
inline HWND box_in_front(const char* caption) {
  HWND box = 0;
  for (int attempt = 0; attempt < 3000; ++attempt) {
    if (!box) box = FindWindowA("#32770", caption);
    if (box && IsWindowVisible(box) && GetForegroundWindow() == box) return box;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}

// A box that is still up after `drive` is closed through its first button, so that a failing
// test ends instead of waiting for ever; `closed_by_force` tells the test.
inline int show_and_drive(const char* text, const char* caption, UINT type,
                          const std::function<void(HWND)>& drive, bool* closed_by_force) {
  *closed_by_force = false;
  std::thread driver([&] {
    HWND box = box_in_front(caption);
    if (box) drive(box);
    for (int attempt = 0; attempt < 500; ++attempt) {
      if (!FindWindowA("#32770", caption)) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (HWND left = FindWindowA("#32770", caption)) {
      *closed_by_force = true;
      HWND first = FindWindowExA(left, 0, "Button", nullptr);
      PostMessageA(left, WM_COMMAND, MAKEWPARAM(first ? GetDlgCtrlID(first) : IDOK, BN_CLICKED), 0);
    }
  });
  const int answer = MessageBoxA(0, text, caption, type);
  driver.join();
  return answer;
}

}  // namespace zelvo_test
