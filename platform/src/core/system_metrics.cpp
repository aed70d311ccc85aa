// GetSystemMetrics: the screen and the nominal frame metrics of the window service.
#include "native_backend.h"
#include "window_object.h"

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN:
      return plat::native_screen_size().cx;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
      return plat::native_screen_size().cy;
    case SM_CYFULLSCREEN: {
      // The screen less a caption, as the original reports it.
      plat::Frame f = plat::window_frame(WS_CAPTION, 0);
      int h = plat::native_screen_size().cy;
      return h > 0 ? h - (f.top - f.bottom) : 0;
    }
    case SM_CYCAPTION: {
      plat::Frame f = plat::window_frame(WS_CAPTION, 0);
      return f.top - f.bottom;
    }
    case SM_CXBORDER:
    case SM_CYBORDER:
      return plat::window_frame(WS_BORDER, 0).left;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
    case SM_CXFRAME:
    case SM_CYFRAME:
      return plat::window_frame(WS_DLGFRAME, 0).left;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 4;
    case SM_CMOUSEBUTTONS:
      return 3;
    case SM_MOUSEPRESENT:
    case SM_CMONITORS:
      return plat::native_screen_size().cx > 0 ? 1 : 0;
    case SM_SWAPBUTTON:
      return 0;
    default:
      return 0;
  }
}
