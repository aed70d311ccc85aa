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
  // When the set-up fails, the first call that failed is named on standard error with the
  // system's reason (the calls after it fail because of it). A call that fails while the set-up
  // still succeeds says nothing.
  const char* failed_call = nullptr;
  DWORD failed_error = 0;
  auto check = [&](bool ok, const char* call) {
    if (!ok && !failed_call) {
      failed_call = call;
      failed_error = GetLastError();
    }
    SetLastError(0);
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
  if (FunctionError != 0 && failed_call)
    zelvo::ReportFailure("WindowInit",
                         std::string(failed_call) + " failed" +
                             (failed_error ? ": " + zelvo::WindowsErrorText(failed_error)
                                           : std::string(", with no error code")));
  return FunctionError == 0;
}
