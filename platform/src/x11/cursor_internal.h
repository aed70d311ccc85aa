// What the cursor and icon service offers the window service.
#pragma once

#include <windows.h>
#include <X11/Xlib.h>

#include <vector>

namespace plat {

// The X cursor of a cursor handle (system or loaded from a file); None for 0 or a stale handle.
::Cursor x_cursor(HCURSOR cursor);

// The icon as _NET_WM_ICON wants it: width, height, then width x height ARGB pixels. Empty for 0 or
// a stale handle.
std::vector<unsigned long> icon_argb(HICON icon);

}  // namespace plat
