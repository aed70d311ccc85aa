// System cursors on the X cursor font, cursors from files as ARGB cursors, and what the window
// service asks of them (the X cursor, the icon image).
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xrender.h>

#include <vector>

#include "cursor_internal.h"
#include "cursor_object.h"
#include "native_backend.h"
#include "x_display.h"

namespace plat {
namespace {

// The X cursor-font glyph of a system cursor; -1 for none.
int font_shape_of(unsigned id) {
  switch (id) {
    case 32512:
      return XC_left_ptr;  // IDC_ARROW
    case 32513:
      return XC_xterm;  // IDC_IBEAM
    case 32514:
      return XC_watch;  // IDC_WAIT
    case 32515:
      return XC_crosshair;  // IDC_CROSS
    case 32516:
      return XC_sb_up_arrow;  // IDC_UPARROW
    case 32640:
      return XC_fleur;  // IDC_SIZE
    case 32641:
      return XC_icon;  // IDC_ICON
    case 32642:
      return XC_bottom_right_corner;  // IDC_SIZENWSE
    case 32643:
      return XC_bottom_left_corner;  // IDC_SIZENESW
    case 32644:
      return XC_sb_h_double_arrow;  // IDC_SIZEWE
    case 32645:
      return XC_sb_v_double_arrow;  // IDC_SIZENS
    case 32646:
      return XC_fleur;  // IDC_SIZEALL
    case 32648:
      return XC_X_cursor;  // IDC_NO
    case 32649:
      return XC_hand2;  // IDC_HAND
    case 32650:
      return XC_watch;  // IDC_APPSTARTING
    case 32651:
      return XC_question_arrow;  // IDC_HELP
    default:
      return -1;
  }
}

bool have_render_cursors(Display* d) {
  int event_base, error_base, major = 0, minor = 0;
  return XRenderQueryExtension(d, &event_base, &error_base) &&
         XRenderQueryVersion(d, &major, &minor) && (major > 0 || minor >= 5);
}

// A full-colour cursor through XRender, from premultiplied pixels.
::Cursor argb_cursor(Display* d, const CursorObject& c) {
  XRenderPictFormat* format = XRenderFindStandardFormat(d, PictStandardARGB32);
  if (!format) return 0;
  std::vector<uint32_t> premultiplied(c.argb.size());
  for (size_t i = 0; i < c.argb.size(); ++i) {
    uint32_t p = c.argb[i], a = p >> 24, out = a << 24;
    for (int shift = 0; shift <= 16; shift += 8)
      out |= ((((p >> shift) & 0xFF) * a + 127) / 255) << shift;
    premultiplied[i] = out;
  }
  ::Window root = DefaultRootWindow(d);
  Pixmap pixmap =
      XCreatePixmap(d, root, static_cast<unsigned>(c.width), static_cast<unsigned>(c.height), 32);
  XImage* image =
      XCreateImage(d, DefaultVisual(d, DefaultScreen(d)), 32, ZPixmap, 0,
                   reinterpret_cast<char*>(premultiplied.data()), static_cast<unsigned>(c.width),
                   static_cast<unsigned>(c.height), 32, c.width * 4);
  if (!image) {
    XFreePixmap(d, pixmap);
    return 0;
  }
  // The pixels are in this machine's byte order; Xlib converts for the server.
  const uint32_t probe = 1;
  image->byte_order = *reinterpret_cast<const uint8_t*>(&probe) ? LSBFirst : MSBFirst;
  GC gc = XCreateGC(d, pixmap, 0, nullptr);
  XPutImage(d, pixmap, gc, image, 0, 0, 0, 0, static_cast<unsigned>(c.width),
            static_cast<unsigned>(c.height));
  image->data = nullptr;  // owned by the vector
  XDestroyImage(image);
  XFreeGC(d, gc);
  Picture picture = XRenderCreatePicture(d, pixmap, format, 0, nullptr);
  ::Cursor cursor = XRenderCreateCursor(d, picture, static_cast<unsigned>(c.hot_x),
                                        static_cast<unsigned>(c.hot_y));
  XRenderFreePicture(d, picture);
  XFreePixmap(d, pixmap);
  return cursor;
}

// Two colours and a mask, for servers without XRender cursors: dark pixels black, light ones white.
::Cursor bitmap_cursor(Display* d, const CursorObject& c) {
  size_t stride = (static_cast<size_t>(c.width) + 7) / 8;
  std::vector<char> source(stride * c.height, 0), mask(stride * c.height, 0);
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) {
      uint32_t p = c.argb[static_cast<size_t>(y) * c.width + x];
      unsigned luma = (((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF)) / 10;
      char bit = static_cast<char>(1 << (x % 8));
      if ((p >> 24) >= 128) mask[y * stride + x / 8] |= bit;
      if (luma < 128) source[y * stride + x / 8] |= bit;
    }
  }
  ::Window root = DefaultRootWindow(d);
  auto w = static_cast<unsigned>(c.width), h = static_cast<unsigned>(c.height);
  Pixmap src = XCreateBitmapFromData(d, root, source.data(), w, h);
  Pixmap msk = XCreateBitmapFromData(d, root, mask.data(), w, h);
  XColor black{}, white{};
  white.red = white.green = white.blue = 0xFFFF;
  ::Cursor cursor = XCreatePixmapCursor(d, src, msk, &black, &white, static_cast<unsigned>(c.hot_x),
                                        static_cast<unsigned>(c.hot_y));
  XFreePixmap(d, src);
  XFreePixmap(d, msk);
  return cursor;
}

}  // namespace

::Cursor x_cursor(HCURSOR cursor) {
  CursorObject* c = handle_cast<CursorObject>(cursor);
  Display* d = x_display();
  if (!c || !d) return 0;
  if (!c->native_cursor) {
    if (int shape = font_shape_of(c->system_id); shape >= 0)
      c->native_cursor = XCreateFontCursor(d, static_cast<unsigned>(shape));
    else if (c->width > 0 && c->height > 0)
      c->native_cursor = have_render_cursors(d) ? argb_cursor(d, *c) : bitmap_cursor(d, *c);
  }
  return c->native_cursor;
}

std::vector<unsigned long> icon_argb(HICON icon) {
  CursorObject* c = handle_cast<CursorObject>(icon);
  if (!c || c->argb.empty()) return {};
  std::vector<unsigned long> out;
  out.reserve(2 + c->argb.size());
  out.push_back(static_cast<unsigned long>(c->width));
  out.push_back(static_cast<unsigned long>(c->height));
  out.insert(out.end(), c->argb.begin(), c->argb.end());
  return out;
}

void native_cursor_destroy(unsigned long native_cursor) {
  if (Display* d = x_display()) XFreeCursor(d, native_cursor);
}

}  // namespace plat
