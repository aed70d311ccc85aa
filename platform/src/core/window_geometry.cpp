// Window rectangles, moving and resizing, and coordinate conversion.
//
// The native window of a window is its client area. Top-level windows keep nominal frame metrics so
// that outer and client rectangles relate as on the original platform, whatever the window manager
// draws.
#include <algorithm>

#include "message_box_registry.h"
#include "native_backend.h"
#include "window_object.h"

namespace plat {

// Nominal metrics: a fixed frame of 3 pixels, a caption of 16, a thin border of 1.
constexpr int kFixedFrame = 3;
constexpr int kCaption = 16;
constexpr int kBorder = 1;

Frame window_frame(DWORD style, DWORD ex_style) {
  Frame f;
  int edge = 0;
  if ((style & WS_CAPTION) == WS_CAPTION || (style & WS_DLGFRAME) || (style & WS_THICKFRAME) ||
      (ex_style & WS_EX_DLGMODALFRAME))
    edge = kFixedFrame;
  else if (style & WS_BORDER)
    edge = kBorder;
  f.left = f.right = f.top = f.bottom = edge;
  if ((style & WS_CAPTION) == WS_CAPTION) f.top += kCaption;
  return f;
}

POINT window_client_origin(const WindowObject* w) {
  POINT p{w->client_x, w->client_y};
  HWND parent = w->parent;
  while (WindowObject* pw = window_get(parent)) {
    p.x += pw->client_x;
    p.y += pw->client_y;
    parent = pw->parent;
  }
  return p;
}

HWND window_root(HWND h) {
  WindowObject* w = window_get(h);
  while (w && w->parent) {
    h = w->parent;
    w = window_get(h);
  }
  return w ? h : 0;
}

RECT window_rect_in_parent(const WindowObject* w) {
  Frame f = window_frame(w->style, w->ex_style);
  return RECT{w->client_x - f.left, w->client_y - f.top, w->client_x + w->client_width + f.right,
              w->client_y + w->client_height + f.bottom};
}

void window_track_size(HWND h, int& width, int& height) {
  WindowObject* w = window_get(h);
  if (!w || (!(w->style & WS_THICKFRAME) && (w->style & (WS_POPUP | WS_CHILD)))) return;
  Frame f = window_frame(w->style, w->ex_style);
  const int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
  MINMAXINFO info{};
  info.ptMaxSize = POINT{screen_w + f.left + f.right, screen_h + f.top + f.bottom};
  info.ptMaxPosition = POINT{-f.left, -f.top};
  // No limits of our own: a window may be as small as its program makes it, and as large as the
  // screen or the size asked for; the procedure sets its own.
  info.ptMinTrackSize = POINT{0, 0};
  info.ptMaxTrackSize = POINT{std::max(screen_w, width), std::max(screen_h, height)};
  SendMessageA(h, WM_GETMINMAXINFO, 0, PtrToLParam(&info));
  width = std::max<int>(info.ptMinTrackSize.x, std::min<int>(width, info.ptMaxTrackSize.x));
  height = std::max<int>(info.ptMinTrackSize.y, std::min<int>(height, info.ptMaxTrackSize.y));
}

bool window_pos_changing(HWND h, WINDOWPOS& pos) {
  SendMessageA(h, WM_WINDOWPOSCHANGING, 0, PtrToLParam(&pos));
  return window_get(h) != nullptr;
}

void window_pos_changed(HWND h, const WINDOWPOS& pos) {
  WINDOWPOS copy = pos;
  SendMessageA(h, WM_WINDOWPOSCHANGED, 0, PtrToLParam(&copy));
}

WINDOWPOS window_place(HWND h, UINT flags) {
  WindowObject* w = window_get(h);
  if (!w) return WINDOWPOS{h, 0, 0, 0, 0, 0, flags};
  RECT r = window_rect_in_parent(w);
  return WINDOWPOS{h, 0, r.left, r.top, r.right - r.left, r.bottom - r.top, flags};
}

}  // namespace plat

BOOL GetWindowRect(HWND window, LPRECT rect) {
  // A shown message box and its buttons are found on the screen from any thread, for clicking.
  if (plat::BoxWindowState box; rect && plat::box_state(window, &box)) {
    *rect = box.rect;
    return TRUE;
  }
  plat::WindowObject* w = plat::window_checked(window);
  if (!w || !rect) return FALSE;
  plat::Frame f = plat::window_frame(w->style, w->ex_style);
  POINT origin = plat::window_client_origin(w);
  rect->left = origin.x - f.left;
  rect->top = origin.y - f.top;
  rect->right = origin.x + w->client_width + f.right;
  rect->bottom = origin.y + w->client_height + f.bottom;
  return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
  if (plat::BoxWindowState box; rect && plat::box_state(window, &box)) {
    *rect = box.client;
    return TRUE;
  }
  plat::WindowObject* w = plat::window_checked(window);
  if (!w || !rect) return FALSE;
  *rect = RECT{0, 0, w->client_width, w->client_height};
  return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  if (!plat::window_checked(window)) return FALSE;
  WINDOWPOS pos{window,
                0,
                x,
                y,
                width,
                height,
                SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : static_cast<UINT>(SWP_NOREDRAW))};
  if (!plat::window_pos_changing(window, pos)) return FALSE;
  plat::window_track_size(window, pos.cx, pos.cy);
  plat::WindowObject* w = plat::window_get(window);
  if (!w) return FALSE;
  plat::Frame f = plat::window_frame(w->style, w->ex_style);
  int new_x = pos.x + f.left;
  int new_y = pos.y + f.top;
  int new_width = std::max(0, pos.cx - f.left - f.right);
  int new_height = std::max(0, pos.cy - f.top - f.bottom);
  bool moved = new_x != w->client_x || new_y != w->client_y;
  bool sized = new_width != w->client_width || new_height != w->client_height;
  if (sized) {
    const RECT old_window = plat::window_rect_in_parent(w);
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = RECT{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    params.rgrc[1] = old_window;
    params.rgrc[2] = RECT{w->client_x, w->client_y, w->client_x + w->client_width,
                          w->client_y + w->client_height};
    params.lppos = &pos;
    SendMessageA(window, WM_NCCALCSIZE, TRUE, PtrToLParam(&params));
    if (!(w = plat::window_get(window))) return FALSE;
  }
  RECT before{w->client_x, w->client_y, w->client_width, w->client_height};
  w->client_x = new_x;
  w->client_y = new_y;
  w->client_width = new_width;
  w->client_height = new_height;
  if (!plat::native_window_move_resize(w)) {
    w->client_x = before.left;
    w->client_y = before.top;
    w->client_width = before.right;
    w->client_height = before.bottom;
    return FALSE;
  }
  if (repaint) plat::window_invalidate(w, nullptr, true);
  // As the original platform does, the window hears of its new place and size at once: through
  // DefWindowProcA's handling of WM_WINDOWPOSCHANGED.
  pos.flags |= (moved ? 0 : plat::kSwpNoClientMove) | (sized ? 0 : plat::kSwpNoClientSize);
  plat::window_pos_changed(window, pos);
  return TRUE;
}

BOOL ClientToScreen(HWND window, LPPOINT point) {
  plat::WindowObject* w = plat::window_checked(window);
  if (!w || !point) return FALSE;
  POINT origin = plat::window_client_origin(w);
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
  plat::WindowObject* w = plat::window_checked(window);
  if (!w || !point) return FALSE;
  POINT origin = plat::window_client_origin(w);
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL) {
  if (!rect) return FALSE;
  plat::Frame f = plat::window_frame(style, 0);
  rect->left -= f.left;
  rect->top -= f.top;
  rect->right += f.right;
  rect->bottom += f.bottom;
  return TRUE;
}
