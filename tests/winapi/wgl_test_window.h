// A plain visible window for the GL binding tests, Windows API only.
#pragma once

#include <windows.h>

namespace zelvo_test {

inline const char* window_class() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "WglTestWindow";
    RegisterClassA(&wc);
    return "WglTestWindow";
  }();
  return name;
}

inline HWND make_window(int x = 0, int y = 0, int width = 160, int height = 120) {
  return CreateWindowExA(0, window_class(), "wgl", WS_POPUP | WS_VISIBLE, x, y, width, height, 0, 0,
                         0, nullptr);
}

}  // namespace zelvo_test
