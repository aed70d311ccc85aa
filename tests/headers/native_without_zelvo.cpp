// Compiled, not run: the native header beside Xlib and GLX, without Zelvo.h or <windows.h>.
#include <X11/Xlib.h>
#include <GL/glx.h>
#include <win/native_x11.h>

int WidthOf(HWND window) {
  XWindowAttributes attributes{};
  Window native = ZelvoXWindow(window);
  if (native == None || !XGetWindowAttributes(ZelvoXDisplay(), native, &attributes)) return 0;
  return attributes.width;
}
