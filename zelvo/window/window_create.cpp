// Creation of the main window, captioned or covering the screen.
#include "core/failure_report.h"
#include "zelvo/window.h"

namespace {

// The show command the process received at start; a program started from a shell has none.
int startup_show_command() {
  STARTUPINFOA info{};
  GetStartupInfoA(&info);
  return (info.dwFlags & STARTF_USESHOWWINDOW) ? info.wShowWindow : SW_SHOWDEFAULT;
}

}  // namespace

HWND WindowCreate(const char* pcApplicationName) {
  DWORD style;
  if (FullScreen) {
    // The display mode is never changed: full screen is a borderless window the size of the screen.
    Width = GetSystemMetrics(SM_CXSCREEN);
    Height = GetSystemMetrics(SM_CYSCREEN);
    style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | WS_SYSMENU;
  } else {
    // Captioned, no sizing border, no maximise box: the viewport never follows a resize.
    style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU |
            WS_MINIMIZEBOX;
  }
  // Width and Height are the outer size; a pop-up window at default coordinates sits at the origin.
  SetLastError(0);
  const HWND window =
      CreateWindowExA(0, "GLWindow", pcApplicationName, style, CW_USEDEFAULT, CW_USEDEFAULT, Width,
                      Height, 0, 0, GetModuleHandleA(nullptr), nullptr);
  if (window != 0) {
    ShowWindow(window, startup_show_command());
    UpdateWindow(window);
  } else {
    const DWORD error = GetLastError();
    zelvo::ReportFailure("WindowCreate", "CreateWindowExA of a \"GLWindow\" failed" +
                                             (error ? ": " + zelvo::WindowsErrorText(error)
                                                    : std::string(", with no error code")));
  }
  return window;
}
