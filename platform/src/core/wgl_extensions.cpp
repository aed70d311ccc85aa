// The binding's extensions, reached through wglGetProcAddress: the extension string and the swap
// interval (vertical sync) on the backend's swap controls, whose refusal becomes the call's FALSE.
#include <cstring>

#include "error_codes.h"
#include "native_backend.h"
#include "wgl_context.h"

namespace plat {
namespace {

const char* WINAPI get_extensions_string() {
  return native_gl_has_swap_control() ? "WGL_EXT_extensions_string WGL_EXT_swap_control"
                                      : "WGL_EXT_extensions_string";
}

BOOL WINAPI swap_interval(int interval) {
  GLContext* context = current_gl_context();
  if (!context) {
    SetLastError(kErrorInvalidHandle);
    return FALSE;
  }
  if (interval < 0) {
    SetLastError(kErrorInvalidData);
    return FALSE;
  }
  if (!native_gl_set_swap_interval(interval)) {
    SetLastError(kErrorNotSupported);
    return FALSE;
  }
  context->swap_interval = interval;
  return TRUE;
}

int WINAPI get_swap_interval() {
  GLContext* context = current_gl_context();
  if (!context) return 0;
  if (context->swap_interval >= 0) return context->swap_interval;
  const int reported = native_gl_reported_swap_interval();
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
