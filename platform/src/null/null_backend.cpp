// The null backend: no display. Windows exist only as their records (shown, moved, focused and
// activated with every message the core sends) on a nominal screen with a pointer that goes where
// SetCursorPos puts it; no event ever arrives, nothing is drawn, GL refuses with the code Windows
// gives for a missing format or context, and message boxes cannot be shown (MessageBoxA then
// writes the message to standard error, as without a display).
#include "error_codes.h"
#include "native_backend.h"

namespace plat {
namespace {

// The nominal screen, so that what the core derives from the screen's size can be tested.
constexpr SIZE kScreen{1024, 768};
POINT g_pointer{0, 0};

}  // namespace

bool native_prepare_windows() { return true; }

SIZE native_screen_size() { return kScreen; }

int native_screen_dpi(bool) { return 96; }

void native_pump_events() {}

bool native_wait_events() { return false; }

bool native_window_create(WindowObject*) { return true; }

void native_window_destroy(WindowObject*, bool) {}

bool native_window_set_title(WindowObject*) { return true; }

bool native_window_move_resize(WindowObject*) { return true; }

void native_window_show(WindowObject*, bool) {}

void native_window_hide(WindowObject*) {}

void native_window_set_minimized(WindowObject*, bool) {}

void native_window_focus(WindowObject*, bool) {}

void native_window_bring_to_front(WindowObject*) {}

void native_window_set_shape(WindowObject*) {}

bool native_window_set_pixel_format(WindowObject*, int) {
  SetLastError(kErrorInvalidPixelFormat);
  return false;
}

void native_pointer_grab(WindowObject*) {}

bool native_cursor_position(POINT* point) {
  *point = g_pointer;
  return true;
}

bool native_set_cursor_position(int x, int y) {
  g_pointer = POINT{x, y};
  return true;
}

void native_cursor_destroy(unsigned long) {}

void native_queue_move_under_pointer() {}  // no pointer events without a display

bool native_surface_size(HWND, int*, int*) { return false; }

bool native_surface_put(HWND, int, int, int, int, const uint32_t*) { return false; }

bool native_surface_get(HWND, int, int, int, int, uint32_t*) { return false; }

void native_status_bar_draw(HWND, const std::vector<StatusBarPart>&) {}

const std::vector<PixelFormatTraits>& native_pixel_formats() {
  static const std::vector<PixelFormatTraits> none;
  return none;
}

NativeGLContext* native_gl_create(int) {
  SetLastError(kErrorInvalidPixelFormat);
  return nullptr;
}

void native_gl_delete(NativeGLContext*) {}

bool native_gl_make_current(HWND, NativeGLContext* context) {
  if (!context) return true;
  SetLastError(kErrorInvalidHandle);
  return false;
}

bool native_gl_swap(HWND) {
  SetLastError(kErrorInvalidHandle);
  return false;
}

bool native_gl_has_swap_control() { return false; }

bool native_gl_set_swap_interval(int) { return false; }

int native_gl_reported_swap_interval() { return -1; }

int native_message_box_run(HWND, const std::string&, const std::string&, UINT) {
  SetLastError(kErrorNotSupported);
  return 0;
}

bool native_box_state(HWND, BoxWindowState*) { return false; }

bool native_box_find(HWND box, HWND, LPCSTR, LPCSTR, HWND* found) {
  if (box != 0) return false;
  *found = 0;
  return true;
}

bool native_box_control(HWND, int, HWND*) { return false; }

bool native_box_message(HWND, UINT, WPARAM, LPARAM, bool) { return false; }

bool native_box_text(HWND, LPSTR, int, int*) { return false; }

HWND native_box_foreground() { return 0; }

}  // namespace plat
