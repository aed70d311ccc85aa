// Registration of the window classes "GLWindow" and "IMAGEBUTTON".
#include "core/failure_report.h"
#include "zelvo/controls.h"
#include "zelvo/window.h"

namespace {

// A cursor or icon file the class is to show; on failure the class has none and standard error
// says why.
HCURSOR load_file_cursor(const char* file, const char* what) {
  SetLastError(0);
  HCURSOR cursor = LoadCursorFromFileA(file);
  if (!cursor)
    zelvo::ReportFileFailure("WindowRegister", file,
                             std::string("LoadCursorFromFileA of the ") + what +
                                 " failed: " + zelvo::WindowsErrorText(GetLastError()));
  return cursor;
}

HCURSOR class_cursor(int32_t kind) {
  switch (kind) {
    case ARROW:
      return LoadCursorA(0, IDC_ARROW);
    case IBEAM:
      return LoadCursorA(0, IDC_IBEAM);
    case WAIT:
      return LoadCursorA(0, IDC_WAIT);
    case CROSS:
      return LoadCursorA(0, IDC_CROSS);
    case UPARROW:
      return LoadCursorA(0, IDC_UPARROW);
    case zelvo::SIZE:
      return LoadCursorA(0, IDC_SIZE);
    case FILECURSOR:
      return load_file_cursor(CursorFile, "cursor file");
    case SIZENWSE:
      return LoadCursorA(0, IDC_SIZENWSE);
    case SIZENESW:
      return LoadCursorA(0, IDC_SIZENESW);
    case SIZEWE:
      return LoadCursorA(0, IDC_SIZEWE);
    case SIZENS:
      return LoadCursorA(0, IDC_SIZENS);
    case SIZEALL:
      return LoadCursorA(0, IDC_SIZEALL);
    case NOCURSOR:
      return LoadCursorA(0, IDC_NO);
    case HAND:
      return LoadCursorA(0, IDC_HAND);
    case APPSTARTING:
      return LoadCursorA(0, IDC_APPSTARTING);
    case HELP:
      return LoadCursorA(0, IDC_HELP);
    default:
      return 0;  // an unknown kind gives the class no cursor
  }
}

HICON class_icon(int32_t kind) {
  switch (kind) {
    case GENERIC:
      return LoadIconA(0, IDI_APPLICATION);
    // The icon file goes through the cursor-file loader, which reads icon files as well.
    case FILEICON:
      return load_file_cursor(IconFile, "icon file");
    default:
      return 0;
  }
}

void register_image_button() {
  if (GetClassInfoExA(0, SzHoverClass, &WindowClassEx)) return;
  WindowClassEx = WNDCLASSEXA{};
  WindowClassEx.cbSize = sizeof(WNDCLASSEXA);
  WindowClassEx.style = 0;
  WindowClassEx.lpfnWndProc = HoverButtonHandler;
  WindowClassEx.cbClsExtra = 0;
  WindowClassEx.cbWndExtra = 0;
  WindowClassEx.hInstance = GetModuleHandleA(nullptr);
  WindowClassEx.hIcon = LoadIconA(0, IDI_APPLICATION);
  WindowClassEx.hCursor = LoadCursorA(0, IDC_ARROW);
  WindowClassEx.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  WindowClassEx.lpszMenuName = nullptr;
  WindowClassEx.lpszClassName = SzHoverClass;
  WindowClassEx.hIconSm = LoadIconA(0, IDI_APPLICATION);
  // A missing image button class does not stop the GL window.
  RegisterClassExA(&WindowClassEx);
}

}  // namespace

bool WindowRegister() {
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = GLWndProc;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = 0;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = class_icon(SetTypeIcon);
  wc.hCursor = class_cursor(SetTypeCursor);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszMenuName = nullptr;
  wc.lpszClassName = "GLWindow";
  SetLastError(0);
  const bool registered = (RegisterClassA(&wc) & 0xFFFF) != 0;
  if (!registered) {
    const DWORD error = GetLastError();
    zelvo::ReportFailure(
        "WindowRegister",
        "RegisterClassA of \"GLWindow\" failed" +
            (error ? ": " + zelvo::WindowsErrorText(error)
                   : std::string(", with no error code (is the class registered already?)")));
  }
  register_image_button();
  return registered;
}
