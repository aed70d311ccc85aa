// Pixel formats set on windows. The format belongs to the window, not to one of its device
// contexts.
#include <unordered_map>

#include "gdi_internal.h"
#include "pixel_format.h"
#include "window_internal.h"

namespace plat {
namespace {

// Keyed by window handle; a destroyed window's handle never comes back with the same generation,
// and its entry is dropped the next time it is looked at.
std::unordered_map<HWND, int>& formats_by_window() {
  static std::unordered_map<HWND, int> map;
  return map;
}

}  // namespace

int window_pixel_format(HWND window) {
  auto& map = formats_by_window();
  auto it = map.find(window);
  if (it == map.end()) return 0;
  if (x_window(window) == 0) {
    map.erase(it);
    return 0;
  }
  return it->second;
}

}  // namespace plat

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*) {
  HWND window = plat::dc_window(dc);
  if (window == 0 || plat::x_window(window) == 0) return FALSE;
  const plat::PixelFormat* f = plat::pixel_format(format);
  if (!f) return FALSE;
  if (plat::window_pixel_format(window) != 0) return FALSE;  // set once, as on the real platform
  if (!plat::window_use_visual(window, f->visual, f->depth)) return FALSE;
  plat::formats_by_window()[window] = format;
  return TRUE;
}

int GetPixelFormat(HDC dc) { return plat::window_pixel_format(plat::dc_window(dc)); }
