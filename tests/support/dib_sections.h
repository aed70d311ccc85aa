// DIB sections for the BitBlt tests, Windows API only, so that it builds against the system
// <windows.h> as well as ours.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelvo_test {

// Bytes in one row of a DIB: rows are padded to whole 32-bit words.
inline int stride(int width, int bpp) { return (width * bpp + 31) / 32 * 4; }

struct Info {
  BITMAPINFOHEADER header;
  DWORD masks_or_colors[256];
};

// A bottom-up DIB section (or top-down for negative height) with the default layout of its depth.
inline HBITMAP make_dib(int width, int height, int bpp, void** bits,
                        const std::vector<uint32_t>& colours = {}) {
  Info info{};
  info.header = BITMAPINFOHEADER{40,     width, height, 1, static_cast<WORD>(bpp),
                                 BI_RGB, 0,     0,      0, static_cast<DWORD>(colours.size()),
                                 0};
  for (size_t i = 0; i < colours.size(); ++i) info.masks_or_colors[i] = colours[i];
  return CreateDIBSection(0, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, bits, 0, 0);
}

// 0x00RRGGBB pixels of a 32-bit section, rows top first.
inline std::vector<uint32_t> read32(const void* bits, int width, int height,
                                    bool top_down = false) {
  std::vector<uint32_t> out;
  for (int y = 0; y < height; ++y) {
    const auto* row = static_cast<const uint32_t*>(bits) +
                      static_cast<size_t>(top_down ? y : height - 1 - y) * width;
    for (int x = 0; x < width; ++x) out.push_back(row[x] & 0xFFFFFF);
  }
  return out;
}

// Puts back what the two memory contexts held, then deletes them and both bitmaps.
inline void release_copy(HDC from, HGDIOBJ old_from, HDC to, HGDIOBJ old_to, HBITMAP a, HBITMAP b) {
  SelectObject(from, old_from);
  SelectObject(to, old_to);
  DeleteDC(from);
  DeleteDC(to);
  DeleteObject(a);
  DeleteObject(b);
}

}  // namespace zelvo_test
