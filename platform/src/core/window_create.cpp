// CreateWindowExA: top-level pop-up windows and child windows.
#include <algorithm>

#include "error_codes.h"
#include "native_backend.h"
#include "window_object.h"

namespace plat {
namespace {

std::vector<HWND>& windows() {
  static std::vector<HWND> list;
  return list;
}

// Default size of an overlapped window created with CW_USEDEFAULT sizes.
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

}  // namespace

const std::vector<HWND>& window_list() { return windows(); }

void window_list_remove(HWND h) {
  auto& list = windows();
  list.erase(std::remove(list.begin(), list.end(), h), list.end());
}

void window_notify_parent(HWND child, UINT event) {
  WindowObject* w = window_get(child);
  if (!w) return;
  const WPARAM wparam = MAKEWPARAM(event, w->id);
  const LPARAM lparam = static_cast<LPARAM>(child);
  // Every ancestor hears of it, up to the first one that is not a child itself.
  while (w && (w->style & WS_CHILD) && !(w->ex_style & WS_EX_NOPARENTNOTIFY)) {
    HWND parent = w->parent;
    SendMessageA(parent, WM_PARENTNOTIFY, wparam, lparam);
    w = window_get(parent);
  }
}

}  // namespace plat

HWND CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR window_name, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  plat::WindowClass* window_class = plat::class_find(class_name);
  if (!window_class) {
    SetLastError(plat::kErrorCannotFindClass);
    return 0;
  }
  bool child = (style & WS_CHILD) != 0;
  if (child && parent == 0) {
    SetLastError(plat::kErrorTopLevelChild);
    return 0;
  }
  // A top-level window's parent is its owner, which must be a live window too.
  plat::WindowObject* parent_window = parent ? plat::window_checked(parent) : nullptr;
  if (parent && !parent_window) return 0;
  if (!plat::native_prepare_windows()) return 0;

  if (x == CW_USEDEFAULT) x = y = 0;  // pop-ups and children at the origin of their parent
  if (width == CW_USEDEFAULT) {
    bool popup = (style & WS_POPUP) != 0 || child;
    width = popup ? 0 : plat::kDefaultWidth;
    height = popup ? 0 : plat::kDefaultHeight;
  }

  // The procedure's size limits, for windows that have a size to track; asked before it exists.
  const bool tracks_size = (style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD));

  auto owned = std::make_unique<plat::WindowObject>();
  plat::WindowObject* w = owned.get();
  HWND handle = plat::handle_insert(std::move(owned));
  if (!handle) return 0;  // the quota's reason is set; nothing else of the window exists yet
  w->handle = handle;
  w->window_class = window_class;
  w->proc = window_class->proc;
  w->style = style & ~static_cast<DWORD>(WS_VISIBLE);
  w->ex_style = ex_style;
  w->parent = child ? parent : 0;
  w->id = child ? static_cast<int>(menu) : 0;
  w->title = window_name ? window_name : "";
  window_class->windows++;
  plat::windows().push_back(handle);
  if (child) parent_window->children.push_back(handle);
  if (tracks_size) {
    plat::window_track_size(handle, width, height);
    if (!(w = plat::window_get(handle))) return 0;
  }
  plat::Frame f = plat::window_frame(style, ex_style);
  w->client_x = x + f.left;
  w->client_y = y + f.top;
  w->client_width = std::max(0, width - f.left - f.right);
  w->client_height = std::max(0, height - f.top - f.bottom);
  if (!plat::native_window_create(w)) {
    const DWORD reason = GetLastError();
    DestroyWindow(handle);
    SetLastError(reason);
    return 0;
  }

  CREATESTRUCTA cs{};
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = parent;
  cs.cx = width;
  cs.cy = height;
  cs.x = x;
  cs.y = y;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = window_name;
  cs.lpszClass = class_name;
  cs.dwExStyle = ex_style;

  if (!SendMessageA(handle, WM_NCCREATE, 0, PtrToLParam(&cs))) {
    DestroyWindow(handle);
    return 0;
  }
  if (!(w = plat::window_get(handle))) return 0;
  // The client area follows our frame metrics; the procedure hears the window rectangle it is cut
  // from.
  RECT outer = plat::window_rect_in_parent(w);
  SendMessageA(handle, WM_NCCALCSIZE, FALSE, PtrToLParam(&outer));
  if (!IsWindow(handle)) return 0;
  if (SendMessageA(handle, WM_CREATE, 0, PtrToLParam(&cs)) == -1) {
    DestroyWindow(handle);
    return 0;
  }
  w = plat::window_get(handle);
  if (!w) return 0;  // the procedure destroyed its own window while it was being created
  if (!child && !(style & WS_POPUP)) {
    // An overlapped window hears of its size and place when it is first shown.
    w->size_pending = true;
  } else {
    SendMessageA(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->client_width, w->client_height));
    if ((w = plat::window_get(handle)))
      SendMessageA(handle, WM_MOVE, 0, MAKELPARAM(w->client_x, w->client_y));
  }
  if (child && IsWindow(handle)) plat::window_notify_parent(handle, WM_CREATE);
  if (!IsWindow(handle)) return 0;
  if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
  return IsWindow(handle) ? handle : 0;
}
