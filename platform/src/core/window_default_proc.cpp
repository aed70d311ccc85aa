// DefWindowProcA: what a window does with the messages its procedure leaves alone.
#include <algorithm>
#include <cstring>

#include "native_backend.h"
#include "window_object.h"

namespace plat {
namespace {

constexpr LPARAM kKeyAltDown = 1 << 29;

LRESULT copy_text(WindowObject* w, WPARAM size, LPARAM lparam) {
  char* buffer = static_cast<char*>(LParamToPtr(lparam));
  if (!buffer || size == 0) return 0;
  size_t n = std::min<size_t>(w->title.size(), size - 1);
  std::memcpy(buffer, w->title.data(), n);
  buffer[n] = '\0';
  return static_cast<LRESULT>(n);
}

}  // namespace
}  // namespace plat

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  plat::WindowObject* w = plat::window_get(window);
  if (!w) return 0;
  switch (message) {
    case WM_NCCREATE:
      return TRUE;
    case WM_NCACTIVATE:
      return TRUE;  // the change of activation may go ahead
    case WM_ACTIVATE:
      // An activated window takes the keyboard focus, unless it is minimised.
      if (LOWORD(wparam) != WA_INACTIVE && !HIWORD(wparam)) SetFocus(window);
      return 0;
    case WM_WINDOWPOSCHANGED: {
      // A window hears of its new place and size from here: a procedure that handles this message
      // itself gets no WM_MOVE or WM_SIZE.
      const auto* pos = static_cast<const WINDOWPOS*>(LParamToPtr(lparam));
      if (!pos) return 0;
      const UINT flags = pos->flags;
      if (!(flags & plat::kSwpNoClientMove))
        SendMessageA(window, WM_MOVE, 0, MAKELPARAM(w->client_x, w->client_y));
      // A minimised window has no client area to speak of.
      if (!(flags & plat::kSwpNoClientSize) && (w = plat::window_get(window)))
        SendMessageA(window, WM_SIZE, (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : SIZE_RESTORED,
                     (w->style & WS_MINIMIZE) ? 0 : MAKELPARAM(w->client_width, w->client_height));
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_SYSCOMMAND:
      switch (wparam & 0xFFF0) {
        case SC_CLOSE:
          SendMessageA(window, WM_CLOSE, 0, 0);
          break;
        case SC_MINIMIZE:
          ShowWindow(window, SW_MINIMIZE);
          break;
        case SC_RESTORE:
          ShowWindow(window, SW_RESTORE);
          break;
        default:  // the screen saver and monitor power-down have nothing to do here
          break;
      }
      return 0;
    case WM_SYSKEYDOWN:
      if (wparam == VK_F4 && (lparam & plat::kKeyAltDown))
        SendMessageA(plat::window_root(window), WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_RBUTTONUP: {
      POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      ClientToScreen(window, &p);
      SendMessageA(window, WM_CONTEXTMENU, window, MAKELPARAM(p.x, p.y));
      return 0;
    }
    case WM_CONTEXTMENU:
      // A child that has no menu of its own lets its parent offer one.
      if (w->parent) return SendMessageA(w->parent, WM_CONTEXTMENU, wparam, lparam);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(window, &ps);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      // The layer draws no backgrounds: the background was not erased.
      return 0;
    case WM_SETTEXT: {
      const char* text = static_cast<const char*>(LParamToPtr(lparam));
      w->title = text ? text : "";
      return plat::native_window_set_title(w) ? TRUE : FALSE;
    }
    case WM_GETTEXT:
      return plat::copy_text(w, wparam, lparam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->title.size());
    default:
      return 0;
  }
}
