// GDI helpers for the tests that run against both our layer and Windows: a region's rectangles read
// back through GetRegionData, and the number of live GDI objects for leak checks.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <vector>

#ifndef _WIN32
#include "handle_table.h"
#endif

namespace zelvo_test {

// The rectangles of `region`, as GetRegionData reports them; empty for a region that is not one.
inline std::vector<RECT> region_rects(HRGN region) {
  const DWORD size = GetRegionData(region, 0, nullptr);
  if (size < sizeof(RGNDATAHEADER)) return {};
  std::vector<char> block(size);
  auto* data = reinterpret_cast<RGNDATA*>(block.data());
  if (GetRegionData(region, size, data) != size) return {};
  std::vector<RECT> rects(data->rdh.nCount);
  if (!rects.empty()) std::memcpy(rects.data(), data->Buffer, rects.size() * sizeof(RECT));
  return rects;
}

// Live GDI objects of the process: our layer counts its handle table, Windows reports its own count
// (whether Wine counts truly was not checked, so under Wine these checks may prove little).
inline size_t gdi_object_count() {
#ifdef _WIN32
  return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
#else
  size_t n = 0;
  for (plat::Kind kind : {plat::Kind::DC, plat::Kind::Bitmap, plat::Kind::Palette,
                          plat::Kind::Region, plat::Kind::Brush, plat::Kind::Pen, plat::Kind::Font})
    n += plat::handle_count(kind);
  return n;
#endif
}

}  // namespace zelvo_test
