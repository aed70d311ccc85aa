// Graphics services: device contexts, bitmaps and DIB sections, palettes, regions, BitBlt.
#pragma once

#include "base.h"

// A device context for the window's client area; GetDC(0) gives one for the screen. Each call makes a
// new context, which ReleaseDC releases. Returns 0 for a destroyed window.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
