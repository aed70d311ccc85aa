// The pixel-format descriptor the framework's window layer fills for a 32-bit window, for the
// platform tests that choose and set formats the way the framework does.
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

}  // namespace zelvo_test
