// Rendering contexts: GLX contexts behind HGLRC handles, current on the calling thread.
#include "gdi_internal.h"

#include <GL/glx.h>
#include <win/native_x11.h>

#include "pixel_format.h"
#include "wgl_context.h"
#include "window_internal.h"
#include "x_display.h"

namespace plat {
namespace {

// The real platform keeps one current context per thread; so do we.
thread_local HGLRC current_context = 0;
thread_local HDC current_dc = 0;

// The live X window of a device context whose window has a pixel format, and that format.
::Window drawable_of(HDC dc, int* format) {
  HWND window = dc_window(dc);
  if (window == 0) return 0;
  *format = window_pixel_format(window);
  if (*format == 0) return 0;
  return x_window(window);
}

bool release_current() {
  if (current_context == 0) return false;
  if (Display* d = x_display()) glXMakeCurrent(d, 0, nullptr);
  current_context = 0;
  current_dc = 0;
  return true;
}

}  // namespace

GLContext* current_gl_context() { return handle_cast<GLContext>(current_context); }

}  // namespace plat

HGLRC wglCreateContext(HDC dc) {
  Display* d = plat::x_display();
  int format = 0;
  if (!d || plat::drawable_of(dc, &format) == 0) return 0;
  const plat::PixelFormat* f = plat::pixel_format(format);
  if (!f) return 0;
  // A direct context of the default (compatibility) profile: the fixed-function pipeline is used.
  GLXContext context = glXCreateNewContext(d, f->config, GLX_RGBA_TYPE, nullptr, True);
  if (!context) return 0;
  auto object = std::make_unique<plat::GLContext>();
  object->context = context;
  object->format = format;
  return plat::handle_insert(std::move(object));
}

BOOL wglMakeCurrent(HDC dc, HGLRC context) {
  if (context == 0) return plat::release_current() ? TRUE : FALSE;
  auto* object = plat::handle_cast<plat::GLContext>(context);
  Display* d = plat::x_display();
  int format = 0;
  ::Window drawable = plat::drawable_of(dc, &format);
  if (!object || !d || drawable == 0 || format != object->format) return FALSE;
  if (!glXMakeCurrent(d, drawable, object->context)) return FALSE;
  plat::current_context = context;
  plat::current_dc = dc;
  return TRUE;
}

BOOL wglDeleteContext(HGLRC context) {
  if (!plat::handle_cast<plat::GLContext>(context)) return FALSE;
  if (plat::current_context == context) plat::release_current();
  plat::handle_remove(context);
  return TRUE;
}

HGLRC wglGetCurrentContext(void) { return plat::current_context; }

HDC wglGetCurrentDC(void) { return plat::current_dc; }

BOOL SwapBuffers(HDC dc) {
  Display* d = plat::x_display();
  int format = 0;
  ::Window drawable = plat::drawable_of(dc, &format);
  if (!d || drawable == 0) return FALSE;
  glXSwapBuffers(d, drawable);
  return TRUE;
}

GLXContext ZelvoGLXContext(HGLRC context) {
  const plat::GLContext* object = plat::handle_cast<plat::GLContext>(context);
  return object ? object->context : nullptr;
}
