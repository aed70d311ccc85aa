// The cursor position in screen coordinates.
#include "window_object.h"
#include "x_display.h"

namespace plat {
namespace {

POINT g_last_cursor{0, 0};

}  // namespace

POINT input_last_cursor() { return g_last_cursor; }

void input_note_cursor(int x, int y) { g_last_cursor = POINT{x, y}; }

}  // namespace plat

BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  Display* d = plat::x_display();
  if (!d) return FALSE;
  ::Window root, child;
  int root_x, root_y, x, y;
  unsigned mask;
  if (!XQueryPointer(d, DefaultRootWindow(d), &root, &child, &root_x, &root_y, &x, &y, &mask))
    return FALSE;
  *point = POINT{root_x, root_y};
  plat::input_note_cursor(root_x, root_y);
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  Display* d = plat::x_display();
  if (!d) return FALSE;
  XWarpPointer(d, None, DefaultRootWindow(d), 0, 0, 0, 0, x, y);
  XFlush(d);
  plat::input_note_cursor(x, y);
  return TRUE;
}
