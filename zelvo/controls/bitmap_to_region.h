/// @file
/// The region of a colour-keyed bitmap already loaded: BitmapToRegion is this applied to a file.
#pragma once

#include <windows.h>

namespace zelvo {

/// The region of every opaque pixel of `bitmap` (selected with `palette`, when not 0, for the
/// copy of other depths), y = 0 the picture's top row; 0 after any failure. `key` must be at most
/// 0x7FFFFFFF. The bitmap, selected into no device context, and the palette stay the caller's.
HRGN RegionFromBitmap(HBITMAP bitmap, HPALETTE palette, COLORREF key, BYTE tolerance);

}  // namespace zelvo
