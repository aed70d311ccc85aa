// Pixel formats set on windows. The format belongs to the window record, not to one of its device
// contexts, and goes with it.
#include "error_codes.h"
#include "gdi_internal.h"
#include "pixel_format.h"
#include "window_internal.h"
#include "window_object.h"

namespace plat {

int window_pixel_format(HWND window) {
  const WindowObject* w = window_get(window);
  return w ? w->pixel_format : 0;
}

}  // namespace plat

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*) {
  HWND window = plat::dc_window(dc);
  if (window == 0 || plat::x_window(window) == 0) {
    SetLastError(plat::kErrorInvalidHandle);
    return FALSE;
  }
  const plat::PixelFormat* f = plat::pixel_format(format);
  // Set once, as on the real platform; giving the window the format it has changes nothing and
  // succeeds there too.
  const int current = plat::window_pixel_format(window);
  if (f && current == format) return TRUE;
  if (!f || current != 0) {
    SetLastError(plat::kErrorInvalidPixelFormat);
    return FALSE;
  }
  if (!plat::window_use_visual(window, f->visual, f->depth)) return FALSE;  // its reason is set
  plat::window_get(window)->pixel_format = format;
  return TRUE;
}

int GetPixelFormat(HDC dc) {
  if (!plat::handle_cast<plat::DeviceContext>(dc)) {
    SetLastError(plat::kErrorInvalidPixelFormat);
    return 0;
  }
  return plat::window_pixel_format(plat::dc_window(dc));
}
