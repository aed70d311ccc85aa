// Update regions and painting: InvalidateRect, ValidateRect, GetUpdateRect, BeginPaint, EndPaint.
//
// The update region is kept as its bounding rectangle; painting a little more than was invalidated
// is harmless, and the message queue only needs to know which windows are waiting for WM_PAINT.
#include <algorithm>

#include "window_object.h"

namespace plat {
namespace {

int g_invalid_windows = 0;

}  // namespace

int window_invalid_count() { return g_invalid_windows; }

void window_invalidate(WindowObject* w, const RECT* rect, bool erase) {
  RECT r = rect ? *rect : RECT{0, 0, w->client_width, w->client_height};
  r.left = std::max<LONG>(r.left, 0);
  r.top = std::max<LONG>(r.top, 0);
  r.right = std::min<LONG>(r.right, w->client_width);
  r.bottom = std::min<LONG>(r.bottom, w->client_height);
  if (r.left >= r.right || r.top >= r.bottom) return;
  if (!w->invalid) {
    w->invalid = true;
    w->update = r;
    ++g_invalid_windows;
  } else {
    w->update.left = std::min(w->update.left, r.left);
    w->update.top = std::min(w->update.top, r.top);
    w->update.right = std::max(w->update.right, r.right);
    w->update.bottom = std::max(w->update.bottom, r.bottom);
  }
  w->erase = w->erase || erase;
}

void window_validate(WindowObject* w) {
  if (!w->invalid) return;
  w->invalid = false;
  w->erase = false;
  w->update = RECT{};
  --g_invalid_windows;
}

}  // namespace plat

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  if (window == 0) {
    // The whole screen: every top-level window of ours.
    for (HWND h : plat::window_list())
      if (plat::WindowObject* w = plat::window_get(h); w && w->parent == 0)
        plat::window_invalidate(w, nullptr, erase);
    return TRUE;
  }
  plat::WindowObject* w = plat::window_checked(window);
  if (!w) return FALSE;
  plat::window_invalidate(w, rect, erase);
  return TRUE;
}

BOOL ValidateRect(HWND window, const RECT* rect) {
  plat::WindowObject* w = window ? plat::window_checked(window) : nullptr;
  if (!w) return FALSE;
  if (!w->invalid) return TRUE;
  // Validating part of the bounding rectangle keeps it; only a rectangle that covers it clears it.
  if (!rect || (rect->left <= w->update.left && rect->top <= w->update.top &&
                rect->right >= w->update.right && rect->bottom >= w->update.bottom))
    plat::window_validate(w);
  return TRUE;
}

BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase) {
  plat::WindowObject* w = plat::window_checked(window);
  if (!w) return FALSE;
  if (rect) *rect = w->invalid ? w->update : RECT{};
  if (w->invalid && erase && w->erase) {
    HDC dc = GetDC(window);
    if (SendMessageA(window, WM_ERASEBKGND, dc, 0)) {
      if ((w = plat::window_get(window))) w->erase = false;
    }
    ReleaseDC(window, dc);
    w = plat::window_get(window);
  }
  return w && w->invalid ? TRUE : FALSE;
}

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
  // Filled even when the window is gone, so a caller that ignores the result reads zeros.
  if (paint) *paint = PAINTSTRUCT{};
  plat::WindowObject* w = plat::window_checked(window);
  if (!w || !paint) return 0;
  HDC dc = GetDC(window);
  paint->hdc = dc;
  paint->rcPaint = w->invalid ? w->update : RECT{};
  bool erase = w->invalid && w->erase;
  plat::window_validate(w);
  // fErase tells the painter that the background still has to be drawn.
  paint->fErase = erase && !SendMessageA(window, WM_ERASEBKGND, dc, 0) ? TRUE : FALSE;
  return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (!paint) return FALSE;
  ReleaseDC(window, paint->hdc);
  return TRUE;
}
