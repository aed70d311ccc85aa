// A window's shape on its X window, cut with XShape from the region's rectangles.
#include <X11/extensions/shape.h>

#include "gdi_internal.h"
#include "window_internal.h"
#include "x_display.h"

namespace plat {

void window_apply_shape(WindowObject* w) {
  Display* d = x_display();
  if (!d || !xwindow_of(w)) return;
  int event_base, error_base;
  if (!XShapeQueryExtension(d, &event_base, &error_base)) return;
  if (!w->region) {
    XShapeCombineMask(d, w->native->xwindow, ShapeBounding, 0, 0, None, ShapeSet);
    return;
  }
  // The region is in window coordinates (from the outer corner); X shapes are in client
  // coordinates.
  Frame f = window_frame(w->style, w->ex_style);
  std::vector<RECT> rects = region_rects(w->region);
  std::vector<XRectangle> xrects;
  xrects.reserve(rects.size());
  for (const RECT& r : rects) {
    int x = r.left - f.left;
    int y = r.top - f.top;
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) continue;
    xrects.push_back(XRectangle{static_cast<short>(x), static_cast<short>(y),
                                static_cast<unsigned short>(width),
                                static_cast<unsigned short>(height)});
  }
  XShapeCombineRectangles(d, w->native->xwindow, ShapeBounding, 0, 0, xrects.data(),
                          static_cast<int>(xrects.size()), ShapeSet, Unsorted);
}

}  // namespace plat
