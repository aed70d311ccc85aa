// What a backend reports about a window as the window system handles it (placed, exposed, asked to
// close), into the messages Windows sends for it. The keyboard focus's report is activation's
// (window_activation.cpp).
#include "backend_reports.h"
#include "message_queue.h"
#include "window_object.h"

namespace plat {

void report_configured(HWND window, POINT origin, SIZE size) {
  WindowObject* w = window_get(window);
  if (!w) return;
  bool sized = size.cx != w->client_width || size.cy != w->client_height;
  bool moved = origin.x != w->client_x || origin.y != w->client_y;
  if (!moved && !sized) return;
  w->client_x = origin.x;
  w->client_y = origin.y;
  if (sized) {
    w->client_width = size.cx;
    w->client_height = size.cy;
  }
  // The window system has moved or sized the window already: the procedure hears of it as of any
  // change of place, and DefWindowProcA turns that into WM_MOVE and WM_SIZE.
  WINDOWPOS pos = window_place(window, SWP_NOZORDER | SWP_NOACTIVATE | (moved ? 0u : SWP_NOMOVE) |
                                           (sized ? 0u : SWP_NOSIZE));
  if (!window_pos_changing(window, pos)) return;
  pos.flags |= (moved ? 0 : kSwpNoClientMove) | (sized ? 0 : kSwpNoClientSize);
  window_pos_changed(window, pos);
}

void report_exposed(HWND window, const RECT& area) {
  if (WindowObject* w = window_get(window)) window_invalidate(w, &area, true);
}

void report_close_requested(HWND window) {
  if (!window_get(window)) return;
  // The close box: the window hears it as the system command, so the program sees it first.
  POINT p = input_last_cursor();
  queue_input(make_message(window, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(p.x, p.y)));
}

}  // namespace plat
