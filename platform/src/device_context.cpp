// Window and screen device contexts.
#include "gdi_internal.h"

namespace plat {

HWND dc_window(HDC dc) {
  DeviceContext* context = handle_cast<DeviceContext>(dc);
  return context ? context->window : 0;
}

}  // namespace plat

HDC GetDC(HWND window) {
  if (window != 0 && !plat::handle_get(window, plat::Kind::Window)) return 0;
  auto context = std::make_unique<plat::DeviceContext>();
  context->window = window;
  return plat::handle_insert(std::move(context));
}

int ReleaseDC(HWND window, HDC dc) {
  plat::DeviceContext* context = plat::handle_cast<plat::DeviceContext>(dc);
  if (!context || context->memory || context->window != window) return 0;
  plat::handle_remove(dc);
  return 1;
}
