// GetDeviceCaps: what a device context's device can do. Every context here draws for the one
// screen, memory contexts included (as on Windows, where they are compatible with it).
#include "error_codes.h"
#include "gdi_internal.h"
#include "native_backend.h"

int GetDeviceCaps(HDC dc, int index) {
  if (!plat::handle_cast<plat::DeviceContext>(dc)) {
    SetLastError(plat::kErrorInvalidHandle);
    return 0;
  }
  switch (index) {
    case LOGPIXELSX:
      return plat::native_screen_dpi(true);
    case LOGPIXELSY:
      return plat::native_screen_dpi(false);
    default:
      return 0;
  }
}
