// GLX behind the core's rendering contexts: contexts made, made current and swapped on X windows,
// and the swap controls. Some servers advertise a swap control that then fails (Xvfb with Mesa
// refuses glXSwapIntervalMESA with GLX_BAD_CONTEXT), and a control that is not advertised may crash
// when called, so each is called only when the display lists it, inside an X error trap, and its
// refusal becomes the call's failure.
#include <GL/glx.h>
#include <win/native_x11.h>

#include <cstring>

#include "error_codes.h"
#include "native_backend.h"
#include "pixel_format.h"
#include "wgl_context.h"
#include "window_internal.h"
#include "x_display.h"

namespace plat {
namespace {

GLXContext glx_of(NativeGLContext* context) { return reinterpret_cast<GLXContext>(context); }

// Whether the GLX extensions that both the client library and the server support include `name`.
bool has_glx_extension(Display* d, const char* name) {
  const char* list = glXQueryExtensionsString(d, DefaultScreen(d));
  const size_t length = std::strlen(name);
  for (const char* p = list; p && (p = std::strstr(p, name)) != nullptr; p += length) {
    const bool starts = p == list || p[-1] == ' ';
    const bool ends = p[length] == '\0' || p[length] == ' ';
    if (starts && ends) return true;
  }
  return false;
}

template <typename Function>
Function glx_function(const char* name) {
  return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

bool has_swap_control(Display* d) {
  return has_glx_extension(d, "GLX_EXT_swap_control") ||
         has_glx_extension(d, "GLX_MESA_swap_control") ||
         has_glx_extension(d, "GLX_SGI_swap_control");
}

// Sets the interval through one control; false when it is not offered or refuses.
bool set_with_ext(Display* d, GLXDrawable drawable, int interval) {
  if (!has_glx_extension(d, "GLX_EXT_swap_control") || drawable == 0) return false;
  auto set = glx_function<PFNGLXSWAPINTERVALEXTPROC>("glXSwapIntervalEXT");
  if (!set) return false;
  XErrorTrap trap;
  set(d, drawable, interval);
  return trap.sync() == 0;
}

bool set_with_mesa(Display* d, int interval) {
  if (!has_glx_extension(d, "GLX_MESA_swap_control")) return false;
  auto set = glx_function<PFNGLXSWAPINTERVALMESAPROC>("glXSwapIntervalMESA");
  if (!set) return false;
  XErrorTrap trap;
  const int result = set(static_cast<unsigned>(interval));
  return trap.sync() == 0 && result == 0;
}

bool set_with_sgi(Display* d, int interval) {
  // This control cannot turn the wait off: 0 is GLX_BAD_VALUE.
  if (interval == 0 || !has_glx_extension(d, "GLX_SGI_swap_control")) return false;
  auto set = glx_function<PFNGLXSWAPINTERVALSGIPROC>("glXSwapIntervalSGI");
  if (!set) return false;
  XErrorTrap trap;
  const int result = set(interval);
  return trap.sync() == 0 && result == 0;
}

// What the server reports for the current drawable; -1 when it cannot say.
int reported_interval(Display* d, GLXDrawable drawable) {
  if (drawable != 0 && has_glx_extension(d, "GLX_EXT_swap_control")) {
    unsigned value = 0;
    XErrorTrap trap;
    glXQueryDrawable(d, drawable, GLX_SWAP_INTERVAL_EXT, &value);
    if (trap.sync() == 0) return static_cast<int>(value);
  }
  if (has_glx_extension(d, "GLX_MESA_swap_control")) {
    if (auto get = glx_function<PFNGLXGETSWAPINTERVALMESAPROC>("glXGetSwapIntervalMESA")) {
      XErrorTrap trap;
      const int value = get();
      if (trap.sync() == 0 && value >= 0) return value;
    }
  }
  return -1;
}

}  // namespace

NativeGLContext* native_gl_create(int format) {
  Display* d = x_display();
  if (!d) {
    SetLastError(kErrorInvalidHandle);
    return nullptr;
  }
  const PixelFormat* f = pixel_format(format);
  if (!f) {
    SetLastError(kErrorInvalidPixelFormat);
    return nullptr;
  }
  // A direct context of the default (compatibility) profile: the fixed-function pipeline is used.
  GLXContext context = nullptr;
  {
    XErrorTrap trap;  // the server may refuse the configuration or run out of memory
    context = glXCreateNewContext(d, f->config, GLX_RGBA_TYPE, nullptr, True);
    if (!trap.succeeded()) {
      if (context) glXDestroyContext(d, context);
      return nullptr;
    }
  }
  if (!context) {
    SetLastError(kErrorNotEnoughMemory);
    return nullptr;
  }
  return reinterpret_cast<NativeGLContext*>(context);
}

void native_gl_delete(NativeGLContext* context) {
  if (Display* d = x_display(); d && context) glXDestroyContext(d, glx_of(context));
}

bool native_gl_make_current(HWND window, NativeGLContext* context) {
  Display* d = x_display();
  if (!context) {
    if (d) glXMakeCurrent(d, 0, nullptr);
    return true;
  }
  const ::Window drawable = x_window(window);
  if (!d || drawable == 0) {
    SetLastError(kErrorInvalidHandle);
    return false;
  }
  XErrorTrap trap;  // the X window may be gone behind our back
  Bool made = glXMakeCurrent(d, drawable, glx_of(context));
  if (!trap.succeeded()) return false;
  if (!made) {
    SetLastError(kErrorInvalidHandle);
    return false;
  }
  return true;
}

bool native_gl_swap(HWND window) {
  Display* d = x_display();
  const ::Window drawable = x_window(window);
  if (!d || drawable == 0) {
    SetLastError(kErrorInvalidHandle);
    return false;
  }
  // Not trapped: a trap waits for the server twice, and this runs every frame. A window that
  // another client destroyed fails the next trapped call (wglMakeCurrent, MoveWindow, ...) instead.
  glXSwapBuffers(d, drawable);
  return true;
}

bool native_gl_has_swap_control() {
  Display* d = x_display();
  return d && has_swap_control(d);
}

bool native_gl_set_swap_interval(int interval) {
  Display* d = x_display();
  if (!d) return false;
  const GLXDrawable drawable = glXGetCurrentDrawable();
  return set_with_ext(d, drawable, interval) || set_with_mesa(d, interval) ||
         set_with_sgi(d, interval);
}

int native_gl_reported_swap_interval() {
  Display* d = x_display();
  return d ? reported_interval(d, glXGetCurrentDrawable()) : -1;
}

bool native_window_set_pixel_format(WindowObject* w, int format) {
  const PixelFormat* f = pixel_format(format);
  if (!f) {
    SetLastError(kErrorInvalidPixelFormat);
    return false;
  }
  return window_use_visual(w->handle, f->visual, f->depth);
}

}  // namespace plat

GLXContext ZelvoGLXContext(HGLRC context) {
  const plat::GLContext* object = plat::handle_cast<plat::GLContext>(context);
  return object ? plat::glx_of(object->native) : nullptr;
}
