// Rendering contexts: the backend's contexts behind HGLRC handles, current on the calling thread.
#include "gdi_internal.h"

#include "error_codes.h"
#include "pixel_format_choice.h"
#include "wgl_context.h"
#include "window_object.h"

namespace plat {
namespace {

// The real platform keeps one current context per thread; so do we.
thread_local HGLRC current_context = 0;
thread_local HDC current_dc = 0;

// The live window of a device context whose window has a pixel format, and that format; 0, with
// the reason for GetLastError, otherwise: ERROR_INVALID_HANDLE for a stale context, `no_format` for
// a window without a format (what Wine answers: wglCreateContext names the format, the others the
// handle).
HWND drawable_of(HDC dc, int* format, DWORD no_format = kErrorInvalidHandle) {
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
  return window;
}

bool release_current() {
  if (current_context == 0) return false;
  native_gl_make_current(0, nullptr);
  current_context = 0;
  current_dc = 0;
  return true;
}

}  // namespace

GLContext* current_gl_context() { return handle_cast<GLContext>(current_context); }

}  // namespace plat

HGLRC wglCreateContext(HDC dc) {
  int format = 0;
  if (plat::drawable_of(dc, &format, plat::kErrorInvalidPixelFormat) == 0) return 0;
  plat::NativeGLContext* context = plat::native_gl_create(format);
  if (!context) return 0;  // its reason is set
  auto object = std::make_unique<plat::GLContext>();
  object->native = context;
  object->format = format;
  // A refused record deletes the backend's context with it; the reason is set.
  return plat::handle_insert(std::move(object));
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
  int format = 0;
  HWND window = plat::drawable_of(dc, &format);
  if (window == 0) return FALSE;
  // A context draws only into windows of the format it was made for.
  if (format != object->format) {
    SetLastError(plat::kErrorInvalidPixelFormat);
    return FALSE;
  }
  if (!plat::native_gl_make_current(window, object->native)) return FALSE;
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
  int format = 0;
  HWND window = plat::drawable_of(dc, &format);
  if (window == 0) return FALSE;
  return plat::native_gl_swap(window) ? TRUE : FALSE;
}
