// The window end of BitBlt: converted pixels go to the X window (or the root window for the
// screen) with XPutImage, and come back from it with XGetImage.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <cstdlib>
#include <cstring>

#include "native_backend.h"
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

// The reverse: the 8-bit value of a channel's bits in the pixel (narrow channels widened by
// repeating their bits, as a full channel reads back at full strength).
uint32_t take(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const uint32_t v = static_cast<uint32_t>((pixel & mask) >> shift);
  if (bits >= 8) return v >> (bits - 8);
  uint32_t out = 0;
  int filled = 0;
  while (filled < 8) {
    out = (out << bits) | v;
    filled += bits;
  }
  return (out >> (filled - 8)) & 0xFF;
}

// The X window of a surface (0: the screen's root window); 0 for none.
::Window surface_window(Display* display, HWND window) {
  return window == 0 ? DefaultRootWindow(display) : x_window(window);
}

}  // namespace

bool native_surface_put(HWND window, int x, int y, int width, int height, const uint32_t* pixels) {
  Display* display = x_display();
  if (!display || width <= 0 || height <= 0) return false;
  ::Window target = surface_window(display, window);
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

bool native_surface_size(HWND window, int* width, int* height) {
  Display* display = x_display();
  if (!display) return false;
  const ::Window target = surface_window(display, window);
  if (!target) return false;
  XErrorTrap trap;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, target, &attributes) || !trap.succeeded()) return false;
  *width = attributes.width;
  *height = attributes.height;
  return true;
}

bool native_surface_get(HWND window, int x, int y, int width, int height, uint32_t* pixels) {
  Display* display = x_display();
  if (!display || width <= 0 || height <= 0) return false;
  const ::Window target = surface_window(display, window);
  if (!target) return false;
  // A window that is not mapped, or a rectangle off the screen, cannot be read: the server refuses.
  XErrorTrap trap;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, target, &attributes)) return false;
  XImage* image = XGetImage(display, target, x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (!trap.succeeded() || !image) {
    if (image) XDestroyImage(image);
    return false;
  }
  const Visual* visual = attributes.visual;
  const bool direct = image->bits_per_pixel == 32 && image->byte_order == LSBFirst &&
                      visual->red_mask == 0xFF0000 && visual->green_mask == 0x00FF00 &&
                      visual->blue_mask == 0x0000FF;
  for (int row = 0; row < height; ++row) {
    uint32_t* out = pixels + static_cast<size_t>(row) * width;
    if (direct) {
      const auto* in = reinterpret_cast<const uint8_t*>(image->data + static_cast<size_t>(row) *
                                                                          image->bytes_per_line);
      for (int i = 0; i < width; ++i) {
        uint32_t v;
        std::memcpy(&v, in + 4 * static_cast<size_t>(i), 4);
        out[i] = v & 0xFFFFFF;
      }
    } else {
      for (int i = 0; i < width; ++i) {
        const unsigned long v = XGetPixel(image, i, row);
        out[i] = (take(v, visual->red_mask) << 16) | (take(v, visual->green_mask) << 8) |
                 take(v, visual->blue_mask);
      }
    }
  }
  XDestroyImage(image);
  return true;
}

}  // namespace plat
