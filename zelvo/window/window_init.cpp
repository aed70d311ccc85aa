// The main window's device context, pixel format and GL rendering context.
#include "core/failure_report.h"
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
  // The first call that fails is named on standard error, with the system's reason; the ones after
  // it fail because of it.
  bool reported = false;
  auto check = [&](bool ok, const char* call) {
    if (ok || reported) return;
    reported = true;
    const DWORD error = GetLastError();
    zelvo::ReportFailure(
        "WindowInit", std::string(call) + " failed" +
                          (error ? ": " + zelvo::WindowsErrorText(error) : ", with no error code"));
  };
  SetLastError(0);
  DCWindow = GetDC(hParent);
  check(DCWindow != 0, "GetDC");

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
  check(iFormat != 0, "ChoosePixelFormat");
  check(SetPixelFormat(DCWindow, iFormat, &pfd), "SetPixelFormat");
  RCWindow = wglCreateContext(DCWindow);
  if (RCWindow == 0) FunctionError = 2;
  check(RCWindow != 0, "wglCreateContext");
  check(wglMakeCurrent(DCWindow, RCWindow), "wglMakeCurrent");
  return FunctionError == 0;
}
