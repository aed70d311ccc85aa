// The null backend: no display. Windows exist only as their records (shown, moved, focused and
// activated with every message the core sends) on a nominal screen with a pointer that goes where
// SetCursorPos puts it; no event arrives but those tests hand it (null_backend.h), nothing is
// drawn, GL refuses with the code Windows gives for a missing format or context, and message boxes
// are records that wait until another thread answers them, as on a display.
#include <poll.h>

#include <algorithm>
#include <deque>
#include <mutex>
#include <utility>

#include "error_codes.h"
#include "message_box_registry.h"
#include "message_box_text.h"
#include "native_backend.h"
#include "null_backend.h"

namespace plat {
namespace {

// The nominal screen, so that what the core derives from the screen's size can be tested.
constexpr SIZE kScreen{1024, 768};
POINT g_pointer{0, 0};

// The reports tests handed in, waiting for a pump as a display's events wait to be read.
std::mutex g_arrived_lock;
std::deque<std::function<void()>> g_arrived;

// True while this thread delivers reports: those after the one under way wait for their turn.
thread_local bool t_pumping = false;

// The oldest report waiting, or nothing.
std::function<void()> next_arrived() {
  std::lock_guard<std::mutex> lock(g_arrived_lock);
  if (g_arrived.empty()) return {};
  std::function<void()> report = std::move(g_arrived.front());
  g_arrived.pop_front();
  return report;
}

// A message box's nominal layout.
constexpr int kBoxMargin = 12;
constexpr int kBoxMinWidth = 240;
constexpr int kBoxHeight = 120;
constexpr int kBoxButtonWidth = 80;
constexpr int kBoxButtonHeight = 26;
constexpr int kBoxButtonPitch = kBoxButtonWidth + 8;
constexpr int kBoxButtonTop = kBoxHeight - kBoxButtonHeight - 11;

}  // namespace

bool native_prepare_windows() { return true; }

SIZE native_screen_size() { return kScreen; }

int native_screen_dpi(bool) { return 96; }

void null_arrive(std::function<void()> report) {
  std::lock_guard<std::mutex> lock(g_arrived_lock);
  g_arrived.push_back(std::move(report));
}

void native_pump_events() {
  // A report whose messages are sent reenters the pump; the reports after it wait for their turn,
  // as the X backend's do.
  if (t_pumping) return;
  t_pumping = true;
  while (std::function<void()> report = next_arrived()) report();
  t_pumping = false;
}

bool native_wait_events() {
  // Nothing more can ever arrive once the reports handed in are read, nor while one of them is
  // being delivered on this thread.
  std::lock_guard<std::mutex> lock(g_arrived_lock);
  return !t_pumping && !g_arrived.empty();
}

bool native_window_create(WindowObject*) { return true; }

void native_window_destroy(WindowObject*, bool) {}

void native_window_forget(NativeWindow*) {}  // windows here have no native part

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

int native_message_box_run(HWND, const std::string& caption, const std::string& text, UINT type) {
  // The box is a record only, centred on the nominal screen, with its buttons in a row below the
  // text: other threads find and answer it as on a display, and nothing else can.
  const std::vector<BoxButton> buttons = box_buttons(type);
  const int width =
      std::max(kBoxMinWidth, static_cast<int>(buttons.size()) * kBoxButtonPitch + kBoxMargin);
  std::vector<BoxControl> controls;
  int x = width - static_cast<int>(buttons.size()) * kBoxButtonPitch;
  for (const BoxButton& b : buttons) {
    controls.push_back(
        {0, b.id, "Button", b.window_text,
         RECT{x, kBoxButtonTop, x + kBoxButtonWidth, kBoxButtonTop + kBoxButtonHeight}});
    x += kBoxButtonPitch;
  }
  controls.push_back(
      {0, kMessageBoxTextId, "Static", text,
       RECT{kBoxMargin, kBoxMargin, width - kBoxMargin, kBoxButtonTop - kBoxMargin}});
  const POINT origin{(kScreen.cx - width) / 2, (kScreen.cy - kBoxHeight) / 2};
  BoxRegistration registration(caption, nullptr, width, kBoxHeight, origin, std::move(controls));
  registration.placed(origin, true);
  registration.focused(true);
  if (registration.wake_descriptor() < 0) {
    SetLastError(kErrorNotEnoughMemory);  // nothing could ever wake the box
    return 0;
  }
  int answer = 0;
  while (answer == 0) {
    MSG msg;
    if (int control = 0; registration.take(&msg, &control)) {
      answer = box_posted_answer(type, msg, control);
      continue;
    }
    // Like Windows, the box waits for as long as it takes someone to answer.
    pollfd wake{registration.wake_descriptor(), POLLIN, 0};
    poll(&wake, 1, -1);
  }
  return answer;
}

}  // namespace plat
