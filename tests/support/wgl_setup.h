// What the tests of the GL binding set up as the framework does, with Windows API calls only: the
// pixel-format descriptor its window layer fills for a 32-bit window, and a plain visible window to
// choose and set formats on.
#pragma once

#include <windows.h>

#include <cstring>

namespace zelvo_test {

inline PIXELFORMATDESCRIPTOR framework_descriptor() {
  PIXELFORMATDESCRIPTOR pfd;
  std::memset(&pfd, 0, sizeof pfd);
  pfd.nSize = 40;
  pfd.nVersion = 1;
  pfd.dwFlags = 0x1067;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = pfd.cDepthBits = pfd.cAlphaBits = pfd.cAccumBits = pfd.cStencilBits = 32;
  pfd.cAuxBuffers = 32;
  pfd.iLayerType = 1;
  return pfd;
}

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
