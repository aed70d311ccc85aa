// Mouse capture: SetCapture grabs the pointer, so moves and releases outside the window still
// arrive, with client coordinates that may be negative. The capture is the thread's: activation and
// focus moving elsewhere leave it where it is.
#include "input_state.h"
#include "native_backend.h"
#include "window_object.h"

namespace plat {
namespace {

HWND g_capture = 0;

// Releases the pointer grab; the window that had the capture hears of it unless it is being
// destroyed.
void release(bool tell) {
  HWND previous = g_capture;
  g_capture = 0;
  native_pointer_grab(nullptr);
  if (tell && previous && window_get(previous)) SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
}

}  // namespace

void input_button_pressed(HWND) {
  if (g_capture) return;
  native_pointer_grab(nullptr);
}

void input_forget_window(HWND h) {
  if (g_capture == h) release(false);
  input_drop_focus(h);
}

}  // namespace plat

HWND SetCapture(HWND window) {
  plat::WindowObject* w = plat::window_get(window);
  if (!w) {
    SetLastError(plat::kErrorInvalidHandle);  // as Wine answers; Windows names no code
    return 0;
  }
  HWND previous = GetCapture();
  plat::g_capture = window;
  plat::native_pointer_grab(w);
  if (previous && previous != window) SendMessageA(previous, WM_CAPTURECHANGED, 0, window);
  return previous;
}

BOOL ReleaseCapture(void) {
  HWND previous = GetCapture();
  plat::release(true);
  // When a child window gives up the capture, the window under the pointer learns at once where
  // the pointer is, as under Wine (a shaped button shows its hover picture again after a click).
  // Wine sends nothing when a top-level window gives it up, so the framework's drag is unchanged.
  if (plat::WindowObject* w = plat::window_get(previous); w && w->parent)
    plat::native_queue_move_under_pointer();
  return TRUE;
}

HWND GetCapture(void) {
  if (plat::g_capture && !plat::window_get(plat::g_capture)) plat::g_capture = 0;
  return plat::g_capture;
}
