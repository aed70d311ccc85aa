// Rendering contexts: GLX contexts behind HGLRC handles, current on the calling thread.
#include "gdi_internal.h"

#include <GL/glx.h>
#include <win/native_x11.h>

#include "error_codes.h"
#include "pixel_format.h"
#include "wgl_context.h"
#include "window_internal.h"
#include "x_display.h"

namespace plat {
namespace {

// The real platform keeps one current context per thread; so do we.
thread_local HGLRC current_context = 0;
thread_local HDC current_dc = 0;

// The live X window of a device context whose window has a pixel format, and that format; 0, with
// the reason for GetLastError, otherwise: ERROR_INVALID_HANDLE for a stale context, `no_format` for
// a window without a format (what Wine answers: wglCreateContext names the format, the others the
// handle).
::Window drawable_of(HDC dc, int* format, DWORD no_format = kErrorInvalidHandle) {
  HWND window = dc_window(dc);
  if (window == 0) {
    SetLastError(kErrorInvalidHandle);
    return 0;
  }
  *format = window_pixel_format(window);
  if (*format == 0) {
    SetLastError(no_format);
    return 0;
  }
  ::Window drawable = x_window(window);
  if (drawable == 0) SetLastError(kErrorInvalidHandle);
  return drawable;
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
  if (!d) {
    SetLastError(plat::kErrorInvalidHandle);
    return 0;
  }
  if (plat::drawable_of(dc, &format, plat::kErrorInvalidPixelFormat) == 0) return 0;
  const plat::PixelFormat* f = plat::pixel_format(format);
  if (!f) {
    SetLastError(plat::kErrorInvalidPixelFormat);
    return 0;
  }
  // A direct context of the default (compatibility) profile: the fixed-function pipeline is used.
  GLXContext context = nullptr;
  {
    plat::XErrorTrap trap;  // the server may refuse the configuration or run out of memory
    context = glXCreateNewContext(d, f->config, GLX_RGBA_TYPE, nullptr, True);
    if (!trap.succeeded()) {
      if (context) glXDestroyContext(d, context);
      return 0;
    }
  }
  if (!context) {
    SetLastError(plat::kErrorNotEnoughMemory);
    return 0;
  }
  auto object = std::make_unique<plat::GLContext>();
  object->context = context;
  object->format = format;
  HGLRC handle = plat::handle_insert(std::move(object));
  if (!handle) SetLastError(plat::kErrorNotEnoughMemory);
  return handle;
}

BOOL wglMakeCurrent(HDC dc, HGLRC context) {
  if (context == 0) {
    if (plat::release_current()) return TRUE;
    SetLastError(plat::kErrorInvalidHandle);  // nothing was current
    return FALSE;
  }
  auto* object = plat::handle_cast<plat::GLContext>(context);
  if (!object) {
    SetLastError(plat::kErrorInvalidHandle);
    return FALSE;
  }
  Display* d = plat::x_display();
  int format = 0;
  ::Window drawable = plat::drawable_of(dc, &format);
  if (!d || drawable == 0) return FALSE;
  // A context draws only into windows of the format it was made for.
  if (format != object->format) {
    SetLastError(plat::kErrorInvalidPixelFormat);
    return FALSE;
  }
  {
    plat::XErrorTrap trap;  // the X window may be gone behind our back
    Bool made = glXMakeCurrent(d, drawable, object->context);
    if (!trap.succeeded()) return FALSE;
    if (!made) {
      SetLastError(plat::kErrorInvalidHandle);
      return FALSE;
    }
  }
  plat::current_context = context;
  plat::current_dc = dc;
  return TRUE;
}

BOOL wglDeleteContext(HGLRC context) {
  if (!plat::handle_cast<plat::GLContext>(context)) {
    SetLastError(plat::kErrorInvalidHandle);
    return FALSE;
  }
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
  // Not trapped: a trap waits for the server twice, and this runs every frame. A window that
  // another client destroyed fails the next trapped call (wglMakeCurrent, MoveWindow, ...) instead.
  glXSwapBuffers(d, drawable);
  return TRUE;
}

GLXContext ZelvoGLXContext(HGLRC context) {
  const plat::GLContext* object = plat::handle_cast<plat::GLContext>(context);
  return object ? object->context : nullptr;
}
