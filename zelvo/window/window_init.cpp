// The main window's device context, pixel format and GL rendering context.
#include "zelvo/window.h"

namespace {

// The descriptor's size fields are bytes; a depth that does not fit is a caller's error.
BYTE bits_as_byte() {
  if (Bits < 0 || Bits > 255) zelvo::RangeError("Bits", Bits, 0, 255);
  return static_cast<BYTE>(Bits);
}

}  // namespace

bool WindowInit(HWND hParent) {
  int FunctionError = 0;
  DCWindow = GetDC(hParent);

  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  pfd.nVersion = 1;
  pfd.dwFlags = static_cast<DWORD>(Pixel_Format_Flags) | 0x1067;
  pfd.iPixelType = PFD_TYPE_RGBA;
  const BYTE bits = bits_as_byte();
  pfd.cColorBits = bits;
  pfd.cDepthBits = bits;
  pfd.cAlphaBits = bits;
  pfd.cAccumBits = bits;
  pfd.cStencilBits = bits;
  pfd.cAuxBuffers = bits;
  pfd.iLayerType = 1;

  // Every size is a preference: the system picks its closest format and fails only when it has no
  // usable one.
  const int iFormat = ChoosePixelFormat(DCWindow, &pfd);
  if (iFormat == 0) FunctionError = 1;
  SetPixelFormat(DCWindow, iFormat, &pfd);
  RCWindow = wglCreateContext(DCWindow);
  if (RCWindow == 0) FunctionError = 2;
  wglMakeCurrent(DCWindow, RCWindow);
  return FunctionError == 0;
}
