// SetWindowRgn: the window keeps the region, and the backend cuts its native window to it.
#include "gdi_internal.h"
#include "native_backend.h"
#include "window_object.h"

int SetWindowRgn(HWND window, HRGN region, BOOL redraw) {
  plat::WindowObject* w = plat::window_checked(window);
  if (!w) return 0;
  if (region != 0 && !plat::handle_get(region, plat::Kind::Region)) return 0;
  if (w->region && w->region != region) DeleteObject(w->region);
  w->region = region;
  plat::native_window_set_shape(w);
  if (redraw) plat::window_invalidate(w, nullptr, true);
  return 1;
}
