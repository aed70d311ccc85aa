// X events into the reports the core makes window messages of (backend_reports.h): only what X
// says is decided here (which window, which key, auto-repeat, the window manager's frame).
#include <X11/Xutil.h>
#include <poll.h>

#include "backend_reports.h"
#include "native_backend.h"
#include "window_internal.h"
#include "x_display.h"
#include "x_key_text.h"

namespace plat {
namespace {

// Events taken per pump at most, so a flood of motion cannot keep PeekMessageA from returning.
constexpr int kPumpBudget = 4096;

unsigned report_state(unsigned state) {
  unsigned bits = 0;
  if (state & ShiftMask) bits |= kStateShift;
  if (state & ControlMask) bits |= kStateControl;
  if (state & Mod1Mask) bits |= kStateAlt;
  if (state & Mod2Mask) bits |= kStateNumLock;
  if (state & Button1Mask) bits |= kStateLeftButton;
  if (state & Button2Mask) bits |= kStateMiddleButton;
  if (state & Button3Mask) bits |= kStateRightButton;
  return bits;
}

bool is_auto_repeat_release(Display* d, const XKeyEvent& release) {
  // Servers without detectable auto-repeat send a release and a press with the same time stamp.
  if (XEventsQueued(d, QueuedAfterReading) == 0) return false;
  XEvent next;
  XPeekEvent(d, &next);
  return next.type == KeyPress && next.xkey.keycode == release.keycode &&
         next.xkey.time == release.time;
}

void translate_key(Display* d, HWND h, XKeyEvent& event, bool press) {
  if (!press && is_auto_repeat_release(d, event)) return;
  KeyReport key;
  key.window = h;
  key.keycode = event.keycode;
  key.keysym = static_cast<uint32_t>(XLookupKeysym(&event, 0));
  key.shifted_keysym = static_cast<uint32_t>(XLookupKeysym(&event, 1));
  key.state = report_state(event.state);
  key.screen = POINT{event.x_root, event.y_root};
  XKeyText text;
  if (press) {
    text = x_key_text(event);
    key.typed_keysym = static_cast<uint32_t>(text.keysym);
    key.text = text.utf8;
  }
  report_key(key, press);
}

// Our child window that X names as the one under the pointer in a pointer event (the implicit grab
// of a press reports to the pressed window); 0 when none of ours is.
HWND x_child(::Window subwindow) {
  if (subwindow == None) return 0;
  HWND child = window_from_x(subwindow);
  return xwindow_of(window_get(child)) == subwindow ? child : 0;
}

template <typename PointerEvent>
PointerReport pointer_report(HWND h, const PointerEvent& event) {
  PointerReport at;
  at.window = h;
  at.child = x_child(event.subwindow);
  at.client = POINT{event.x, event.y};
  at.screen = POINT{event.x_root, event.y_root};
  at.state = report_state(event.state);
  return at;
}

void translate_button(HWND h, const XButtonEvent& event, bool press) {
  PointerReport at = pointer_report(h, event);
  switch (event.button) {
    case Button1:
      report_button(at, ReportButton::kLeft, press);
      break;
    case Button2:
      report_button(at, ReportButton::kMiddle, press);
      break;
    case Button3:
      report_button(at, ReportButton::kRight, press);
      break;
    case Button4:
    case Button5:
      // X reports a wheel's step as a click of button 4 (away) or 5 (toward the user).
      if (press) report_wheel(at, event.button == Button4 ? 1 : -1);
      break;
    default:
      break;
  }
}

void translate_configure(HWND h, WindowObject* w, const XConfigureEvent& event, Display* d) {
  if (event.window != xwindow_of(w)) return;
  SIZE size{event.width, event.height};
  // A window made 0 pixels wide or high keeps a 1-pixel X window; that is not a change of size.
  if ((w->client_width == 0 && event.width == 1) || (w->client_height == 0 && event.height == 1))
    size = SIZE{w->client_width, w->client_height};
  int x = event.x + event.border_width;
  int y = event.y + event.border_width;
  if (w->parent == 0 && !event.send_event && w->native->reparented) {
    // Coordinates are relative to the window manager's frame; ask where we really are.
    ::Window child;
    if (!XTranslateCoordinates(d, w->native->xwindow, DefaultRootWindow(d), 0, 0, &x, &y, &child))
      return;
  }
  report_configured(h, POINT{x, y}, size);
}

// Our window that has the X keyboard focus now; 0 when none of ours has it.
HWND focused_window(Display* d) {
  ::Window focus = 0;
  int revert = 0;
  XGetInputFocus(d, &focus, &revert);
  return focus != None && focus != PointerRoot ? window_from_x(focus) : 0;
}

void translate(Display* d, XEvent& event) {
  if (event.type == MappingNotify) {
    XRefreshKeyboardMapping(&event.xmapping);
    return;
  }
  if (event.type == KeymapNotify) {
    // Comes right after FocusIn, in order with the key events: the keys down as we get the
    // keyboard.
    uint8_t down[32];
    for (int i = 0; i < 32; ++i) down[i] = static_cast<uint8_t>(event.xkeymap.key_vector[i]);
    report_keys_down(down);
    return;
  }
  HWND h = window_from_x(event.xany.window);
  WindowObject* w = window_get(h);
  if (!w) {
    // Keys come only for windows of ours: one that is gone still passes them to the focus window.
    if (event.type == KeyPress || event.type == KeyRelease)
      translate_key(d, 0, event.xkey, event.type == KeyPress);
    return;
  }
  switch (event.type) {
    case KeyPress:
    case KeyRelease:
      translate_key(d, h, event.xkey, event.type == KeyPress);
      break;
    case ButtonPress:
    case ButtonRelease:
      translate_button(h, event.xbutton, event.type == ButtonPress);
      break;
    case MotionNotify:
      report_pointer_moved(pointer_report(h, event.xmotion));
      break;
    case Expose:
      report_exposed(h,
                     RECT{event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                          event.xexpose.y + event.xexpose.height});
      break;
    case ConfigureNotify:
      translate_configure(h, w, event.xconfigure, d);
      break;
    case ReparentNotify:
      if (event.xreparent.window == xwindow_of(w))
        w->native->reparented = event.xreparent.parent != DefaultRootWindow(d);
      break;
    case FocusIn:
    case FocusOut:
      if (event.xfocus.mode == NotifyGrab || event.xfocus.mode == NotifyUngrab) break;
      if (event.xfocus.detail == NotifyPointer || event.xfocus.detail == NotifyInferior) break;
      report_keyboard_focus(h, event.type == FocusIn, focused_window(d));
      break;
    case ClientMessage:
      if (event.xclient.message_type == x_atom("WM_PROTOCOLS") && event.xclient.format == 32 &&
          static_cast<Atom>(event.xclient.data.l[0]) == x_atom("WM_DELETE_WINDOW"))
        report_close_requested(h);
      break;
    default:
      break;
  }
}

bool g_pumping = false;

}  // namespace

void native_queue_move_under_pointer() {
  Display* d = x_display();
  if (!d) return;
  ::Window xw = DefaultRootWindow(d), root, child;
  int root_x = 0, root_y = 0, x = 0, y = 0;
  unsigned state = 0;
  PointerReport at;
  // Down the window tree to the deepest window containing the pointer (shapes respected).
  while (XQueryPointer(d, xw, &root, &child, &root_x, &root_y, &x, &y, &state)) {
    if (HWND h = window_from_x(xw)) at.window = h, at.client = POINT{x, y};
    if (child == None) break;
    xw = child;
  }
  if (!at.window) return;
  at.screen = POINT{root_x, root_y};
  at.state = report_state(state);
  report_pointer_moved(at);
}

void native_pump_events() {
  Display* d = x_display();
  if (!d || g_pumping) return;
  // Nothing waits: XPending only looks at what the server has already sent.
  if (XPending(d) == 0) return;
  g_pumping = true;
  int budget = kPumpBudget;
  do {
    while (budget > 0 && XEventsQueued(d, QueuedAlready) > 0) {
      XEvent event;
      XNextEvent(d, &event);
      translate(d, event);
      --budget;
    }
  } while (budget > 0 && XEventsQueued(d, QueuedAfterReading) > 0);
  g_pumping = false;
}

bool native_wait_events() {
  Display* d = x_display();
  // Without a display nothing can ever arrive.
  if (!d) return false;
  if (XPending(d) > 0) return true;
  pollfd fd{ConnectionNumber(d), POLLIN, 0};
  poll(&fd, 1, -1);
  return true;
}

}  // namespace plat
