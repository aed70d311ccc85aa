// GDI objects shared between the services of the layer.
#pragma once

#include <vector>

#include "handle_table.h"

namespace plat {

struct DeviceContext : Object {
  static constexpr Kind kKind = Kind::DC;
  DeviceContext() : Object(kKind) {}

  HWND window = 0;      // the window whose client area this context draws on (0: screen or memory)
  bool memory = false;  // a memory context from CreateCompatibleDC
};

// The window a device context belongs to; 0 for a memory or screen context or a stale handle.
HWND dc_window(HDC dc);

// The rectangles of a region in window coordinates, sorted in bands from top to bottom and left to
// right within a band (what XShape wants). Empty for an empty region or a stale handle.
std::vector<RECT> region_rects(HRGN region);

}  // namespace plat
