// The window end of BitBlt: converted pixels go to the X window with XPutImage.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <cstdlib>
#include <cstring>

#include "gdi_internal.h"
#include "window_internal.h"
#include "x_display.h"

namespace plat {
namespace {

// One channel of a TrueColor visual: 8-bit value -> its bits in the pixel.
uint32_t place(uint32_t value8, unsigned long mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const uint32_t v = bits <= 8 ? value8 >> (8 - bits) : value8 << (bits - 8);
  return static_cast<uint32_t>((static_cast<unsigned long>(v) << shift) & mask);
}

}  // namespace

bool put_rgb32(const DeviceContext& dc, int x, int y, int width, int height,
               const uint32_t* pixels) {
  Display* display = x_display();
  if (!display || width <= 0 || height <= 0) return false;
  ::Window target = dc.screen ? DefaultRootWindow(display) : x_window(dc.window);
  if (!target) return false;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, target, &attributes)) return false;
  Visual* visual = attributes.visual;
  if (visual->c_class != TrueColor && visual->c_class != DirectColor) return false;

  XImage* image =
      XCreateImage(display, visual, static_cast<unsigned>(attributes.depth), ZPixmap, 0, nullptr,
                   static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
  if (!image) return false;
  image->data =
      static_cast<char*>(std::malloc(static_cast<size_t>(image->bytes_per_line) * height));
  if (!image->data) {
    XDestroyImage(image);
    return false;
  }
  // Bits outside the colour masks (the alpha of a 32-bit visual) are set, so the pixels are opaque.
  const unsigned long colour_bits = visual->red_mask | visual->green_mask | visual->blue_mask;
  const uint32_t extra = attributes.depth >= 32 ? static_cast<uint32_t>(~colour_bits) : 0;
  const bool direct = image->bits_per_pixel == 32 && image->byte_order == LSBFirst &&
                      visual->red_mask == 0xFF0000 && visual->green_mask == 0x00FF00 &&
                      visual->blue_mask == 0x0000FF;
  for (int row = 0; row < height; ++row) {
    const uint32_t* in = pixels + static_cast<size_t>(row) * width;
    if (direct) {
      auto* out = reinterpret_cast<uint8_t*>(image->data +
                                             static_cast<size_t>(row) * image->bytes_per_line);
      for (int i = 0; i < width; ++i) {
        const uint32_t v = in[i] | extra;
        std::memcpy(out + 4 * static_cast<size_t>(i), &v, 4);
      }
    } else {
      for (int i = 0; i < width; ++i) {
        const uint32_t rgb = in[i];
        const uint32_t v = place((rgb >> 16) & 0xFF, visual->red_mask) |
                           place((rgb >> 8) & 0xFF, visual->green_mask) |
                           place(rgb & 0xFF, visual->blue_mask) | extra;
        XPutPixel(image, i, row, v);
      }
    }
  }
  GC gc = XCreateGC(display, target, 0, nullptr);
  XPutImage(display, target, gc, image, 0, 0, x, y, static_cast<unsigned>(width),
            static_cast<unsigned>(height));
  XFreeGC(display, gc);
  XDestroyImage(image);
  XFlush(display);
  return true;
}

}  // namespace plat
