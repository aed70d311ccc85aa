// The WGL side of GlTestContext, for the tests built as Windows programs: a plain window made with
// CreateWindowExA, the closest double-buffered RGBA format with a depth buffer, and a context on
// it.
#include <windows.h>

#include "gl_test_context.h"

namespace zelvo_test {

namespace {

const char* window_class() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZelvoGlTestContext";
    RegisterClassA(&wc);
    return "ZelvoGlTestContext";
  }();
  return name;
}

}  // namespace

GlTestContext::GlTestContext(int width, int height) : width_(width), height_(height) {
  HWND window = CreateWindowExA(0, window_class(), "gl test", WS_POPUP | WS_VISIBLE, 0, 0, width,
                                height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!window) return;
  window_ = reinterpret_cast<uintptr_t>(window);
  HDC dc = GetDC(window);
  display_ = dc;
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = 24;
  pfd.cAlphaBits = 8;
  pfd.cDepthBits = 24;
  const int format = ChoosePixelFormat(dc, &pfd);
  if (format == 0 || !SetPixelFormat(dc, format, &pfd)) return;
  HGLRC context = wglCreateContext(dc);
  if (!context) return;
  context_ = context;
  ok_ = wglMakeCurrent(dc, context);
  glDrawBuffer(GL_BACK);
  glReadBuffer(GL_BACK);
}

GlTestContext::~GlTestContext() {
  auto window = reinterpret_cast<HWND>(window_);
  wglMakeCurrent(nullptr, nullptr);
  if (context_) wglDeleteContext(static_cast<HGLRC>(context_));
  if (display_) ReleaseDC(window, static_cast<HDC>(display_));
  if (window) DestroyWindow(window);
}

}  // namespace zelvo_test
