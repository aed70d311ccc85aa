// BitBlt: copies between memory contexts with format conversion, paints memory contexts onto
// windows and reads windows back. Both rectangles are clipped to their bitmaps, then to the
// destination's clipping region.
#include <algorithm>
#include <cstring>
#include <vector>

#include "error_codes.h"
#include "gdi_internal.h"

namespace plat {
namespace {

struct Box {
  int64_t left, top, right, bottom;
  bool empty() const { return right <= left || bottom <= top; }
};

Box intersect(const Box& a, const Box& b) {
  return Box{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
             std::min(a.bottom, b.bottom)};
}

constexpr uint32_t kWhite = 0xFFFFFF;

Bitmap* selected_bitmap(const DeviceContext& dc) {
  return dc.memory ? handle_cast<Bitmap>(dc.bitmap) : nullptr;
}

// Sets every bit of each pixel of a rectangle inside a direct-colour bitmap: WHITENESS works on the
// bits, so a 32-bit pixel gets its fourth byte set too.
void set_all_bits(Bitmap& bitmap, int x, int y, int width, int height) {
  const size_t bytes = static_cast<size_t>(bitmap.bits_per_pixel / 8);
  for (int k = 0; k < height; ++k)
    std::memset(bitmap.row(y + k) + bytes * static_cast<size_t>(x), 0xFF,
                bytes * static_cast<size_t>(width));
}

// Fills with black or white, the two raster operations that need no source.
BOOL fill(DeviceContext& dest, int x, int y, int width, int height, uint32_t rgb) {
  Box box{x, y, int64_t{x} + width, int64_t{y} + height};
  Bitmap* bitmap = selected_bitmap(dest);
  if (dest.memory) {
    if (!bitmap) return FALSE;
    box = intersect(box, Box{0, 0, bitmap->width, bitmap->height});
  }
  if (box.empty()) return TRUE;
  const RECT rect{static_cast<LONG>(box.left), static_cast<LONG>(box.top),
                  static_cast<LONG>(box.right), static_cast<LONG>(box.bottom)};
  for (const RECT& r : clip_rects(dest, rect)) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (bitmap && rgb == kWhite && bitmap->bits_per_pixel >= 16) {
      set_all_bits(*bitmap, r.left, r.top, w, h);
    } else if (bitmap) {
      fill_rgb32(*bitmap, r.left, r.top, w, h, rgb);
    } else {
      std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, rgb);
      if (!put_rgb32(dest, r.left, r.top, w, h, pixels.data())) return FALSE;
    }
  }
  return TRUE;
}

}  // namespace
}  // namespace plat

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int source_x, int source_y,
            DWORD rop) {
  plat::DeviceContext* to = plat::handle_cast<plat::DeviceContext>(dest);
  if (!to) {
    SetLastError(plat::kErrorInvalidHandle);
    return FALSE;
  }
  if (rop == BLACKNESS) return plat::fill(*to, x, y, width, height, 0x000000);
  if (rop == WHITENESS) return plat::fill(*to, x, y, width, height, plat::kWhite);
  if (rop != SRCCOPY) return FALSE;
  plat::DeviceContext* from = plat::handle_cast<plat::DeviceContext>(source);
  if (!from) return FALSE;
  // The source is a bitmap in a memory context, or what a window (or the screen) shows.
  plat::Bitmap* source_bitmap = plat::selected_bitmap(*from);
  int source_width = 0, source_height = 0;
  if (source_bitmap) {
    source_width = source_bitmap->width;
    source_height = source_bitmap->height;
  } else if (from->memory || !plat::surface_size(*from, &source_width, &source_height)) {
    return FALSE;
  }
  plat::Bitmap* dest_bitmap = plat::selected_bitmap(*to);
  if (to->memory && !dest_bitmap) return FALSE;
  if (width <= 0 || height <= 0) return TRUE;

  // Work in destination coordinates: the source rectangle, moved onto the destination.
  const int64_t shift_x = int64_t{x} - source_x, shift_y = int64_t{y} - source_y;
  plat::Box box{x, y, int64_t{x} + width, int64_t{y} + height};
  box = plat::intersect(
      box, plat::Box{shift_x, shift_y, shift_x + source_width, shift_y + source_height});
  if (dest_bitmap)
    box = plat::intersect(box, plat::Box{0, 0, dest_bitmap->width, dest_bitmap->height});
  else  // window coordinates beyond 16 bits are off any screen; a bitmap's are not
    box = plat::intersect(box, plat::Box{-32768, -32768, 32767, 32767});
  if (box.empty()) return TRUE;

  const RECT rect{static_cast<LONG>(box.left), static_cast<LONG>(box.top),
                  static_cast<LONG>(box.right), static_cast<LONG>(box.bottom)};
  for (const RECT& r : plat::clip_rects(*to, rect)) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int sx = static_cast<int>(r.left - shift_x), sy = static_cast<int>(r.top - shift_y);
    if (dest_bitmap && source_bitmap) {
      plat::convert_pixels(*source_bitmap, sx, sy, *dest_bitmap, r.left, r.top, w, h);
      continue;
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    if (source_bitmap)
      plat::rect_to_rgb32(*source_bitmap, sx, sy, w, h, pixels.data());
    else if (!plat::get_rgb32(*from, sx, sy, w, h, pixels.data()))
      return FALSE;
    if (dest_bitmap)
      plat::rgb32_to_rect(*dest_bitmap, r.left, r.top, w, h, pixels.data());
    else if (!plat::put_rgb32(*to, r.left, r.top, w, h, pixels.data()))
      return FALSE;
  }
  return TRUE;
}
