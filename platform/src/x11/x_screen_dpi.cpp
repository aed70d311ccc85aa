// The screen's resolution, as the X server states it.
#include <X11/Xresource.h>

#include <cmath>
#include <cstdlib>

#include "native_backend.h"
#include "x_display.h"

namespace plat {
namespace {

constexpr int kUnknownDpi = 96;

// The Xft.dpi resource of the server's database (xrdb), 0 when it is not set or not a number.
double xft_dpi(Display* d) {
  const char* resources = XResourceManagerString(d);
  if (!resources) return 0;
  XrmInitialize();
  XrmDatabase database = XrmGetStringDatabase(resources);
  if (!database) return 0;
  char* type = nullptr;
  XrmValue value{};
  double dpi = 0;
  if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
    char* end = nullptr;
    dpi = std::strtod(value.addr, &end);
    if (end == value.addr || !std::isfinite(dpi) || dpi <= 0) dpi = 0;
  }
  XrmDestroyDatabase(database);
  return dpi;
}

}  // namespace

int x_screen_dpi(bool horizontal) {
  Display* d = x_display();
  if (!d) return kUnknownDpi;
  if (double dpi = xft_dpi(d); dpi > 0) return static_cast<int>(std::lround(dpi));
  const int screen = DefaultScreen(d);
  const int pixels = horizontal ? DisplayWidth(d, screen) : DisplayHeight(d, screen);
  const int millimetres = horizontal ? DisplayWidthMM(d, screen) : DisplayHeightMM(d, screen);
  if (pixels <= 0 || millimetres <= 0) return kUnknownDpi;
  return static_cast<int>(std::lround(pixels * 25.4 / millimetres));
}

int native_screen_dpi(bool horizontal) { return x_screen_dpi(horizontal); }

}  // namespace plat
