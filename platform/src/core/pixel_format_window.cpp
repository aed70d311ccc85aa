// Pixel formats set on windows. The format belongs to the window record, not to one of its device
// contexts, and goes with it.
#include "error_codes.h"
#include "gdi_internal.h"
#include "native_backend.h"
#include "pixel_format_choice.h"
#include "window_object.h"

namespace plat {

int window_pixel_format(HWND window) {
  const WindowObject* w = window_get(window);
  return w ? w->pixel_format : 0;
}

}  // namespace plat

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*) {
  HWND window = plat::dc_window(dc);
  plat::WindowObject* w = plat::window_get(window);
  if (!w) {
    SetLastError(plat::kErrorInvalidHandle);
    return FALSE;
  }
  const bool known =
      format >= 1 && static_cast<size_t>(format) <= plat::native_pixel_formats().size();
  // Set once, as on the real platform; giving the window the format it has changes nothing and
  // succeeds there too.
  const int current = w->pixel_format;
  if (known && current == format) return TRUE;
  if (!known || current != 0) {
    SetLastError(plat::kErrorInvalidPixelFormat);
    return FALSE;
  }
  if (!plat::native_window_set_pixel_format(w, format)) return FALSE;  // its reason is set
  // The native window may have been made again, which the window's procedure hears of.
  if ((w = plat::window_get(window))) w->pixel_format = format;
  return TRUE;
}

int GetPixelFormat(HDC dc) {
  if (!plat::handle_cast<plat::DeviceContext>(dc)) {
    SetLastError(plat::kErrorInvalidPixelFormat);
    return 0;
  }
  return plat::window_pixel_format(plat::dc_window(dc));
}
