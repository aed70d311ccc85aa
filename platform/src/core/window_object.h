// The window service's own records: classes, windows, and the helpers its files share.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "error_codes.h"
#include "handle_table.h"
#include "native_backend.h"

namespace plat {

// The instance that stands for the system's own module: the classes the system registers are global
// and carry it, and asking for a class with it finds those alone.
constexpr HINSTANCE kSystemModule = 0x7FF00000u;

struct NativeWindow;

struct WindowClass {
  ATOM atom = 0;
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  HINSTANCE instance = 0;
  HICON icon = 0;
  HICON icon_small = 0;
  HCURSOR cursor = 0;
  HBRUSH background = 0;
  // The menu the class names: a resource number, or a name kept with the class.
  LPCSTR menu_id = nullptr;
  std::optional<std::string> menu_name;
  int windows = 0;  // live windows of the class; a class in use cannot be unregistered
};

// Nominal frame of a window: how far the outer rectangle reaches beyond the client area.
struct Frame {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// What a built-in control (the status bar) keeps about one window of its class.
struct ControlState {
  virtual ~ControlState() = default;
};

struct WindowObject : Object {
  static constexpr Kind kKind = Kind::Window;
  WindowObject() : Object(kKind) {}
  // A window the program never destroyed still gives back its native part's memory at exit.
  ~WindowObject() override {
    if (native) native_window_forget(native);
  }

  HWND handle = 0;
  WindowClass* window_class = nullptr;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD ex_style = 0;
  HWND parent = 0;
  std::vector<HWND> children;
  int id = 0;  // control identifier of a child window
  LONG user_data = 0;
  std::string title;  // Windows-1252, as the caller gave it

  // Client area: for a top-level window its origin on the screen, for a child its origin in the
  // parent's client area.
  int client_x = 0, client_y = 0;
  int client_width = 0, client_height = 0;

  NativeWindow* native = nullptr;  // the backend's part, made and freed by the backend
  bool mapped = false;             // ShowWindow state (WS_VISIBLE)
  int pixel_format = 0;            // set once by SetPixelFormat; 0 when none

  // Update region, kept as its bounding rectangle.
  bool invalid = false;
  bool erase = false;
  RECT update{};

  std::unordered_map<std::string, HANDLE> props;  // keys upper-cased
  HRGN region = 0;                                // owned shape region
  std::unique_ptr<ControlState> control;          // released with the window

  bool destroying = false;
  // An overlapped window hears its size and place (WM_SIZE, WM_MOVE) when first shown.
  bool size_pending = false;
};

// The live window behind `h`, or nullptr.
inline WindowObject* window_get(HWND h) { return handle_cast<WindowObject>(h); }

// The live window behind the handle a caller gave a Windows call; nullptr, with
// ERROR_INVALID_WINDOW_HANDLE for GetLastError, when there is none.
inline WindowObject* window_checked(HWND h) {
  WindowObject* w = window_get(h);
  if (!w) SetLastError(kErrorInvalidWindowHandle);
  return w;
}

// Every live window, in creation order.
const std::vector<HWND>& window_list();
void window_list_remove(HWND h);

// The class of that name (or atom) that `instance` sees: its module's own before a global one; with
// instance 0, any module's.
WindowClass* class_find(LPCSTR name, HINSTANCE instance = 0);

Frame window_frame(DWORD style, DWORD ex_style);

// Screen position of the window's client origin.
POINT window_client_origin(const WindowObject* w);

// The top-level window that contains `h` (itself when it is top level); 0 for a stale handle.
HWND window_root(HWND h);

// Shown, and every ancestor shown too.
bool visible_on_screen(const WindowObject* w);

// Update region bookkeeping: the message queue synthesises WM_PAINT while any window is invalid.
void window_invalidate(WindowObject* w, const RECT* rect, bool erase);
void window_validate(WindowObject* w);
int window_invalid_count();

// The first step of destroying a shown window: hidden as ShowWindow hides it (a top-level window
// without WM_SHOWWINDOW), so that activation and focus move on before WM_DESTROY.
void window_hide_for_destruction(HWND window);

// Makes `to` (a top-level window, or 0 for none: the program goes to the background) the active
// window: WM_NCACTIVATE and WM_ACTIVATE to the old and the new one, WM_ACTIVATEAPP when the program
// comes to the front or leaves it, and the focus to the new window. `native_focus` gives it the
// native keyboard focus too when no window manager does that.
void window_activate(HWND to, bool native_focus);
// The active window `leaving` is hidden, destroyed or minimised: the window active before it (still
// shown) becomes active; when there is none, no window is active, or `leaving` stays active if
// `stay_if_none`.
void window_activate_other(HWND leaving, bool stay_if_none = false);
// A destroyed window leaves the activation records without messages.
void window_forget_activation(HWND h);

// WM_GETMINMAXINFO for windows that have a size to track (a sizing frame, or overlapped): the
// procedure's answer for a window of `width` x `height` (outer), clamped.
void window_track_size(HWND h, int& width, int& height);
// The outer rectangle in the parent's client area (on the screen for a top-level window).
RECT window_rect_in_parent(const WindowObject* w);
// A WINDOWPOS record of the window's current outer rectangle with `flags` (SWP_*).
WINDOWPOS window_place(HWND h, UINT flags);
// WM_WINDOWPOSCHANGING, whose procedure may change the place and size in `pos`; false when the
// window is gone afterwards. WM_WINDOWPOSCHANGED, whose default processing sends WM_MOVE and
// WM_SIZE.
bool window_pos_changing(HWND h, WINDOWPOS& pos);
void window_pos_changed(HWND h, const WINDOWPOS& pos);
// The SWP_ flags that tell DefWindowProcA's WM_WINDOWPOSCHANGED that the client area did not move
// or change size (Windows' own, beyond the documented ones).
constexpr UINT kSwpNoClientSize = 0x0800;
constexpr UINT kSwpNoClientMove = 0x1000;

// WM_PARENTNOTIFY for a child's creation or destruction (`event`: WM_CREATE or WM_DESTROY).
void window_notify_parent(HWND child, UINT event);

// Drops the window's queued messages (it has been destroyed).
void queue_forget_window(HWND h);
// Releases capture and focus bookkeeping that refer to a dying window.
void input_forget_window(HWND h);

// The last cursor position the layer knows, in screen coordinates, for messages' `pt`.
POINT input_last_cursor();
void input_note_cursor(int x, int y);

}  // namespace plat
