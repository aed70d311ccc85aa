// The status bar's face and text, drawn with Xft on its X window.
#include <X11/Xft/Xft.h>

#include <algorithm>
#include <string>
#include <vector>

#include "native_backend.h"
#include "text_cp1252.h"
#include "window_internal.h"
#include "x_display.h"

namespace plat {
namespace {

constexpr int kTextInset = 4;

XftFont* status_font(Display* d) {
  static XftFont* font = XftFontOpenName(d, DefaultScreen(d), "DejaVu Sans:pixelsize=12");
  return font;
}

}  // namespace

void native_status_bar_draw(HWND bar, const std::vector<StatusBarPart>& parts) {
  Display* d = x_display();
  ::Window xw = x_window(bar);
  XftFont* font = d ? status_font(d) : nullptr;
  if (!d || !xw || !font) return;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(d, xw, &attributes)) return;
  int width = attributes.width, height = attributes.height;
  XftDraw* draw = XftDrawCreate(d, xw, attributes.visual, attributes.colormap);
  if (!draw) return;
  auto colour = [&](unsigned short r, unsigned short g, unsigned short b) {
    XRenderColor c{static_cast<unsigned short>(r * 257), static_cast<unsigned short>(g * 257),
                   static_cast<unsigned short>(b * 257), 0xFFFF};
    return c;
  };
  XRenderColor face = colour(0xF0, 0xF0, 0xF0), shadow = colour(0xA0, 0xA0, 0xA0);
  XftColor face_colour, shadow_colour, text_colour;
  XRenderColor black = colour(0, 0, 0);
  XftColorAllocValue(d, attributes.visual, attributes.colormap, &face, &face_colour);
  XftColorAllocValue(d, attributes.visual, attributes.colormap, &shadow, &shadow_colour);
  XftColorAllocValue(d, attributes.visual, attributes.colormap, &black, &text_colour);
  XftDrawRect(draw, &face_colour, 0, 0, static_cast<unsigned>(width),
              static_cast<unsigned>(height));
  XftDrawRect(draw, &shadow_colour, 0, 0, static_cast<unsigned>(width), 1);
  int left = 0;
  for (size_t i = 0; i < parts.size(); ++i) {
    int right = parts[i].right < 0 ? width : std::min(parts[i].right, width);
    if (right > left) {
      std::string text = cp1252_to_utf8(parts[i].text);
      int baseline = (height + font->ascent - font->descent) / 2 + 1;
      // Text stays inside its part.
      XRectangle clip{static_cast<short>(left), 0, static_cast<unsigned short>(right - left),
                      static_cast<unsigned short>(height)};
      XftDrawSetClipRectangles(draw, 0, 0, &clip, 1);
      XftDrawStringUtf8(draw, &text_colour, font, left + kTextInset, baseline,
                        reinterpret_cast<const FcChar8*>(text.data()),
                        static_cast<int>(text.size()));
      XftDrawSetClip(draw, nullptr);
      if (parts[i].right >= 0 && right < width)
        XftDrawRect(draw, &shadow_colour, right - 1, 3, 1,
                    static_cast<unsigned>(std::max(height - 5, 1)));
    }
    left = std::max(left, right);
  }
  XftColorFree(d, attributes.visual, attributes.colormap, &face_colour);
  XftColorFree(d, attributes.visual, attributes.colormap, &shadow_colour);
  XftColorFree(d, attributes.visual, attributes.colormap, &text_colour);
  XftDrawDestroy(draw);
  XFlush(d);
}

}  // namespace plat
