// GDI objects shared between the services of the layer.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "common/large_memory.h"
#include "handle_table.h"
#include "native_backend.h"

namespace plat {

// A drawing object that device contexts can hold. `selections` counts the live contexts that have
// it selected; such an object is not deleted.
struct GdiObject : Object {
  explicit GdiObject(Kind k) : Object(k) {}
  unsigned selections = 0;
};

// The pixel layouts a bitmap can have. Palette formats index `colors`; 16 and 32 bits are decoded
// through `masks` (red, green, blue).
struct Bitmap : GdiObject {
  static constexpr Kind kKind = Kind::Bitmap;
  Bitmap() : GdiObject(kKind) {}

  int width = 0;
  int height = 0;          // always positive
  int bits_per_pixel = 0;  // 1, 4, 8, 16, 24 or 32
  size_t stride = 0;       // bytes per row, a multiple of 4
  bool top_down = false;   // rows stored from the top of the picture (DIB sections asked for so)
  bool dib = true;  // a DIB section (its pixels are visible to the program); else device-dependent
  bool bitfields =
      false;  // the masks came from the creator (BI_BITFIELDS) rather than the defaults
  uint32_t masks[3] = {0, 0, 0};
  std::vector<RGBQUAD> colors;  // colour table of 1-, 4- and 8-bit bitmaps
  std::unique_ptr<uint8_t[], common::FreeDeleter> pixels;  // from common::allocate_large

  uint8_t* bits() const { return pixels.get(); }
  // The row `y` counted from the top of the picture.
  uint8_t* row(int y) const {
    return pixels.get() + stride * static_cast<size_t>(top_down ? y : height - 1 - y);
  }
  size_t image_size() const { return stride * static_cast<size_t>(height); }
};

// Bytes per row of a DIB: padded to 32 bits. 0 when the product does not fit the sanity limit.
size_t dib_stride(int width, int bits_per_pixel);

// The largest pixel array a bitmap may have (1 GiB).
constexpr uint64_t kMaxBitmapBytes = uint64_t{1} << 30;

// The most pixels an image loaded from a file may have (8192 x 8192, 256 MiB at 32 bits): a small
// hostile file, run-length data in particular, cannot make a loader claim more memory than that.
constexpr uint64_t kMaxLoadedPixels = uint64_t{1} << 26;

// A new bitmap with uninitialised pixels of the given layout, or nullptr when the size is zero,
// absurd, or the memory is not there. Sets default masks for 16 (5-5-5) and 32 bits (8-8-8).
std::unique_ptr<Bitmap> make_bitmap(int width, int height, int bits_per_pixel, bool zero);

struct Palette : GdiObject {
  static constexpr Kind kKind = Kind::Palette;
  Palette() : GdiObject(kKind) {}
  std::vector<PALETTEENTRY> entries;
};

struct Brush : GdiObject {
  static constexpr Kind kKind = Kind::Brush;
  Brush() : GdiObject(kKind) {}
  UINT style = BS_SOLID;
  COLORREF color = 0;
};

struct Pen : GdiObject {
  static constexpr Kind kKind = Kind::Pen;
  Pen() : GdiObject(kKind) {}
  UINT style = PS_SOLID;
  COLORREF color = 0;
};

struct RegionData;  // pixman's region, kept out of this header

struct Region : Object {
  static constexpr Kind kKind = Kind::Region;
  Region();
  ~Region() override;
  std::unique_ptr<RegionData> data;
};

struct DeviceContext : Object {
  static constexpr Kind kKind = Kind::DC;
  DeviceContext() : Object(kKind) {}

  HWND window = 0;      // the window whose client area this context draws on (0: screen or memory)
  bool memory = false;  // a memory context from CreateCompatibleDC
  bool screen = false;  // GetDC(0)
  HBITMAP bitmap = 0;   // memory contexts: the selected bitmap
  HBRUSH brush = 0;
  HPEN pen = 0;
  HPALETTE palette = 0;
  HRGN clip = 0;  // a private copy of the selected clipping region, 0 for none
};

// The window a device context belongs to; 0 for a memory or screen context or a stale handle.
HWND dc_window(HDC dc);

// Gives a new context its default objects (stock brush, pen, palette and, for a memory context, the
// 1 x 1 monochrome bitmap) and inserts it into the table.
HDC dc_insert(std::unique_ptr<DeviceContext> context);
// Releases what the context holds and removes it from the table.
void dc_destroy(HDC dc);

// The rectangles of a region in window coordinates, sorted in bands from top to bottom and left to
// right within a band (what XShape wants). Empty for an empty region or a stale handle.
std::vector<RECT> region_rects(HRGN region);

// The region a context clips to, intersected with `box`, as rectangles; `box` alone when the
// context has no clipping region.
std::vector<RECT> clip_rects(const DeviceContext& dc, const RECT& box);

// A copy of a region (for clipping regions); 0 on failure.
HRGN region_copy(HRGN region);

// The depth of the screen, of bitmaps compatible with it, and of memory contexts.
constexpr int kDeviceBitsPerPixel = 32;

// The stock 1 x 1 monochrome bitmap of new memory contexts.
HBITMAP default_bitmap();

// The 20 static colours of the system palette (the default palette), and the 256-entry halftone
// palette built around them.
std::vector<PALETTEENTRY> system_palette_entries();
std::vector<PALETTEENTRY> halftone_palette_entries();

// Copies width x height pixels from `source` at (sx, sy) to `dest` at (dx, dy), converting the
// pixel format; the rectangle must lie inside both bitmaps.
void convert_pixels(const Bitmap& source, int sx, int sy, Bitmap& dest, int dx, int dy, int width,
                    int height);

// `width` x `height` pixels of `source` from (sx, sy) as 0x00RRGGBB values, rows top first.
void rect_to_rgb32(const Bitmap& source, int sx, int sy, int width, int height, uint32_t* out);

// Writes `width` x `height` 0x00RRGGBB values (rows top first) into a rectangle inside the bitmap,
// in the bitmap's format.
void rgb32_to_rect(Bitmap& dest, int x, int y, int width, int height, const uint32_t* in);

// Fills a rectangle (inside the bitmap) with one 0x00RRGGBB colour, in the bitmap's format.
void fill_rgb32(Bitmap& dest, int x, int y, int width, int height, uint32_t rgb);

// The surface a window or screen context draws on, for the backend: its window, 0 for the screen;
// false for a memory context or one without a window.
inline bool dc_surface(const DeviceContext& dc, HWND* surface) {
  if (dc.memory || (!dc.screen && dc.window == 0)) return false;
  *surface = dc.screen ? 0 : dc.window;
  return true;
}

// Paints 0x00RRGGBB pixels (`width` x `height`, rows top first) into a window's client area (or the
// screen) at (x, y). False without a display or window.
inline bool put_rgb32(const DeviceContext& dc, int x, int y, int width, int height,
                      const uint32_t* pixels) {
  HWND surface;
  return dc_surface(dc, &surface) && native_surface_put(surface, x, y, width, height, pixels);
}

// The size of what a window or screen context shows: the window's client area, or the screen.
// False for a memory context, a window that is gone, or no display.
inline bool surface_size(const DeviceContext& dc, int* width, int* height) {
  HWND surface;
  return dc_surface(dc, &surface) && native_surface_size(surface, width, height);
}

// Reads `width` x `height` pixels at (x, y) of a window's client area (or the screen) as
// 0x00RRGGBB values, rows top first: what the display shows there. False without a display or
// window, or when it cannot read the rectangle (an unmapped window).
inline bool get_rgb32(const DeviceContext& dc, int x, int y, int width, int height,
                      uint32_t* pixels) {
  HWND surface;
  return dc_surface(dc, &surface) && native_surface_get(surface, x, y, width, height, pixels);
}

}  // namespace plat
