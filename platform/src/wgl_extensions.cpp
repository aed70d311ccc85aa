// The binding's extensions, reached through wglGetProcAddress: the extension string and the swap
// interval (vertical sync) on the GLX swap controls. Some servers advertise a control that then
// fails (Xvfb with Mesa refuses glXSwapIntervalMESA with GLX_BAD_CONTEXT), and a control that is
// not advertised may crash when called, so each is called only when the display lists it, inside
// an X error trap, and its refusal becomes the call's FALSE.
#include <GL/glx.h>

#include <cstring>

#include "error_codes.h"
#include "wgl_context.h"
#include "x_display.h"

namespace plat {
namespace {

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

const char* WINAPI get_extensions_string() {
  Display* d = x_display();
  return d && has_swap_control(d) ? "WGL_EXT_extensions_string WGL_EXT_swap_control"
                                  : "WGL_EXT_extensions_string";
}

BOOL WINAPI swap_interval(int interval) {
  GLContext* context = current_gl_context();
  Display* d = x_display();
  if (!context || !d) {
    SetLastError(kErrorInvalidHandle);
    return FALSE;
  }
  if (interval < 0) {
    SetLastError(kErrorInvalidData);
    return FALSE;
  }
  const GLXDrawable drawable = glXGetCurrentDrawable();
  if (!set_with_ext(d, drawable, interval) && !set_with_mesa(d, interval) &&
      !set_with_sgi(d, interval)) {
    SetLastError(kErrorNotSupported);
    return FALSE;
  }
  context->swap_interval = interval;
  return TRUE;
}

int WINAPI get_swap_interval() {
  GLContext* context = current_gl_context();
  Display* d = x_display();
  if (!context || !d) return 0;
  if (context->swap_interval >= 0) return context->swap_interval;
  const int reported = reported_interval(d, glXGetCurrentDrawable());
  return reported >= 0 ? reported : 1;
}

// Through the generic function pointer type, which converts to any other without a warning.
template <typename Function>
PROC as_proc(Function function) {
  return reinterpret_cast<PROC>(reinterpret_cast<void (*)()>(function));
}

struct Entry {
  const char* name;
  PROC function;
};

const Entry kFunctions[] = {
    {"wglGetExtensionsStringEXT", as_proc(&get_extensions_string)},
    {"wglSwapIntervalEXT", as_proc(&swap_interval)},
    {"wglGetSwapIntervalEXT", as_proc(&get_swap_interval)},
};

}  // namespace
}  // namespace plat

PROC wglGetProcAddress(LPCSTR name) {
  if (name && plat::current_gl_context()) {
    for (const plat::Entry& entry : plat::kFunctions)
      if (std::strcmp(entry.name, name) == 0) return entry.function;
  }
  SetLastError(plat::kErrorProcNotFound);
  return nullptr;
}
