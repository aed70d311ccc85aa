// X events into window messages.
#include <X11/Xutil.h>
#include <poll.h>

#include <string>
#include <utility>

#include "input_keyboard.h"
#include "input_state.h"
#include "message_queue.h"
#include "native_backend.h"
#include "text_cp1252.h"
#include "window_internal.h"
#include "x_display.h"
#include "x_key_text.h"

namespace plat {
namespace {

// Events taken per pump at most, so a flood of motion cannot keep PeekMessageA from returning.
constexpr int kPumpBudget = 4096;

constexpr LPARAM kKeyExtended = 1 << 24;
constexpr LPARAM kKeyAltDown = 1 << 29;
constexpr LPARAM kKeyWasDown = 1 << 30;
constexpr uint32_t kKeyReleased = 1u << 31;

bool g_key_down[256] = {};  // by X keycode: tells auto-repeat presses from new ones
UINT g_key_vk[256] = {};    // by X keycode: the virtual-key code its press gave

WPARAM mouse_flags(unsigned state) {
  WPARAM flags = 0;
  if (state & Button1Mask) flags |= MK_LBUTTON;
  if (state & Button2Mask) flags |= MK_MBUTTON;
  if (state & Button3Mask) flags |= MK_RBUTTON;
  if (state & ShiftMask) flags |= MK_SHIFT;
  if (state & ControlMask) flags |= MK_CONTROL;
  return flags;
}

LPARAM client_point(int x, int y) {
  // Each coordinate is cut to 16 bits: -5 becomes 65531, as the original platform packs it.
  return MAKELPARAM(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
}

MSG stamped(HWND h, UINT message, WPARAM wparam, LPARAM lparam, int root_x, int root_y) {
  input_note_cursor(root_x, root_y);
  return make_message(h, message, wparam, lparam);
}

// Key messages go to the window that has the focus when the event is read, whatever window X gave
// the key to, as Windows hands keys typed ahead to the focus window of the moment: the window that
// had the keyboard may since have given it to another, been destroyed, or been made again with
// another visual, and the key-up of a key it saw go down belongs to its successor. Only while none
// of ours has the focus does the window X named take the key (none: the key state alone changes).
HWND key_target(HWND event_window) {
  if (HWND focus = input_focus_window()) return focus;
  return event_window;
}

// The keyboard as the server has it when one of our windows gets the keyboard (KeymapNotify comes
// right after FocusIn, in order with the key events): a key released while none of ours had it
// sent us no release, so it goes up here without a message, as Windows brings a thread's key state
// up to date when it has the keyboard again. Its next press is then a new one, not a repeat.
void release_keys_up_elsewhere(const XKeymapEvent& keymap) {
  for (unsigned keycode = 8; keycode < 256; ++keycode) {
    if (!g_key_down[keycode] || (keymap.key_vector[keycode / 8] & (1 << (keycode % 8)))) continue;
    g_key_down[keycode] = false;
    if (g_key_vk[keycode]) keyboard_set_state(g_key_vk[keycode], false);
  }
}

bool is_auto_repeat_release(Display* d, const XKeyEvent& release) {
  // Servers without detectable auto-repeat send a release and a press with the same time stamp.
  if (XEventsQueued(d, QueuedAfterReading) == 0) return false;
  XEvent next;
  XPeekEvent(d, &next);
  return next.type == KeyPress && next.xkey.keycode == release.keycode &&
         next.xkey.time == release.time;
}

// What TranslateMessage posts for a key press: its characters in Windows-1252, or the spacing form
// of a dead key. Of the control characters only those that keys type on Windows count (Backspace,
// Tab, Return, Escape); Delete and the C1 controls type nothing.
TypedText typed_text(const KeyPressText& press, UINT vk) {
  TypedText text;
  if (vk == VK_RETURN) {
    text.chars.push_back('\r');  // the keypad's Enter too
    return text;
  }
  const std::string& utf8 = press.utf8;
  std::string kept;
  for (size_t i = 0; i < utf8.size(); ++i) {
    auto c = static_cast<unsigned char>(utf8[i]);
    bool typed_control = c == '\r' || c == '\t' || c == '\b' || c == 0x1B;
    if ((c < 0x20 && !typed_control) || c == 0x7F) continue;
    if (c == 0xC2 && i + 1 < utf8.size()) {
      auto next = static_cast<unsigned char>(utf8[i + 1]);
      if (next >= 0x80 && next < 0xA0) {  // U+0080..U+009F
        ++i;
        continue;
      }
    }
    kept += static_cast<char>(c);
  }
  if (!kept.empty()) {
    text.chars = utf8_to_cp1252(kept);
  } else if (char32_t spacing = keyboard_dead_char(press.keysym)) {
    text.chars = std::string(1, cp1252_from_unicode(spacing));
    text.dead = true;
  }
  return text;
}

void translate_key(Display* d, HWND h, XKeyEvent& event, bool press) {
  unsigned keycode = event.keycode & 0xFF;
  if (!press && is_auto_repeat_release(d, event)) return;
  UINT vk = keyboard_virtual_key(&event);
  bool repeat = press && g_key_down[keycode];
  g_key_down[keycode] = press;
  if (press) g_key_vk[keycode] = vk;
  if (vk == 0) return;
  keyboard_set_state(vk, press);

  bool alt = (event.state & Mod1Mask) != 0 || (press && vk == VK_MENU);
  bool ctrl = (event.state & ControlMask) != 0;
  bool system = (alt && !ctrl) || vk == VK_F10;
  unsigned scan = keyboard_scan_code(event.keycode);
  LPARAM lparam = 1 | static_cast<LPARAM>((scan & 0xFF) << 16);
  if (scan & 0x100) lparam |= kKeyExtended;
  if (alt) lparam |= kKeyAltDown;
  if (repeat || !press) lparam |= kKeyWasDown;
  if (!press) lparam = static_cast<LPARAM>(static_cast<uint32_t>(lparam) | kKeyReleased);

  TypedText typed;
  if (press) {
    WindowObject* top = window_get(window_root(h));
    if (top && xwindow_of(top) != event.window) top = nullptr;
    typed = typed_text(x_key_press_text(d, top, event), vk);
  }

  UINT message = press ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  HWND target = key_target(h);
  if (!target) return;
  MSG msg = stamped(target, message, vk, lparam, event.x_root, event.y_root);
  queue_input(msg, std::move(typed));
}

void translate_button(HWND h, XButtonEvent& event, bool press) {
  WPARAM flags = mouse_flags(event.state);
  UINT message = 0;
  WPARAM bit = 0;
  UINT vk = 0;
  switch (event.button) {
    case Button1:
      message = press ? WM_LBUTTONDOWN : WM_LBUTTONUP, bit = MK_LBUTTON, vk = VK_LBUTTON;
      break;
    case Button2:
      message = press ? WM_MBUTTONDOWN : WM_MBUTTONUP, bit = MK_MBUTTON, vk = VK_MBUTTON;
      break;
    case Button3:
      message = press ? WM_RBUTTONDOWN : WM_RBUTTONUP, bit = MK_RBUTTON, vk = VK_RBUTTON;
      break;
    case Button4:
    case Button5: {
      if (!press) return;
      // The wheel reports to the focus window, in screen coordinates.
      int delta = event.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA;
      HWND target = key_target(h);
      queue_input(stamped(target, WM_MOUSEWHEEL, MAKEWPARAM(flags, static_cast<uint16_t>(delta)),
                          client_point(event.x_root, event.y_root), event.x_root, event.y_root));
      return;
    }
    default:
      return;
  }
  flags = press ? (flags | bit) : (flags & ~bit);
  keyboard_set_state(vk, press);
  if (press) input_button_pressed(h);
  queue_input(
      stamped(h, message, flags, client_point(event.x, event.y), event.x_root, event.y_root));
}

void translate_configure(HWND h, WindowObject* w, XConfigureEvent& event, Display* d) {
  if (event.window != xwindow_of(w)) return;
  bool sized = event.width != w->client_width || event.height != w->client_height;
  // A window made 0 pixels wide keeps a 1-pixel X window; that is not a change of size.
  if (w->client_width == 0 && event.width == 1) sized = false;
  if (w->client_height == 0 && event.height == 1) sized = false;
  int x = event.x + event.border_width;
  int y = event.y + event.border_width;
  if (w->parent == 0 && !event.send_event && w->native->reparented) {
    // Coordinates are relative to the window manager's frame; ask where we really are.
    ::Window child;
    if (!XTranslateCoordinates(d, w->native->xwindow, DefaultRootWindow(d), 0, 0, &x, &y, &child))
      return;
  }
  bool moved = x != w->client_x || y != w->client_y;
  if (!moved && !sized) return;
  w->client_x = x;
  w->client_y = y;
  if (sized) {
    w->client_width = event.width;
    w->client_height = event.height;
  }
  // The window manager has moved or sized the window already: the procedure hears of it as of any
  // change of place, and DefWindowProcA turns that into WM_MOVE and WM_SIZE.
  WINDOWPOS pos = window_place(
      h, SWP_NOZORDER | SWP_NOACTIVATE | (moved ? 0u : SWP_NOMOVE) | (sized ? 0u : SWP_NOSIZE));
  if (!window_pos_changing(h, pos)) return;
  pos.flags |= (moved ? 0 : kSwpNoClientMove) | (sized ? 0 : kSwpNoClientSize);
  window_pos_changed(h, pos);
}

// Without SetCapture, Windows sends a mouse message to the window under the cursor. X's implicit
// grab after a press sends everything to the pressed window until the release, even when the
// pointer has moved onto a child; the event names that child (subwindow), so the message goes to it
// in its own coordinates. This holds for events that waited in the queue as for fresh ones.
template <typename PointerEvent>
HWND window_under_pointer(HWND h, PointerEvent& event) {
  if (event.subwindow == None || GetCapture() != 0) return h;
  HWND child = window_from_x(event.subwindow);
  WindowObject* c = window_get(child);
  if (!c || c->parent != h || xwindow_of(c) != event.subwindow) return h;
  event.x -= c->client_x;
  event.y -= c->client_y;
  event.window = event.subwindow;
  event.subwindow = None;
  return child;
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
    release_keys_up_elsewhere(event.xkeymap);
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
  if (event.type == ButtonPress || event.type == ButtonRelease)
    h = window_under_pointer(h, event.xbutton);
  else if (event.type == MotionNotify)
    h = window_under_pointer(h, event.xmotion);
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
      queue_mouse_move(stamped(h, WM_MOUSEMOVE, mouse_flags(event.xmotion.state),
                               client_point(event.xmotion.x, event.xmotion.y), event.xmotion.x_root,
                               event.xmotion.y_root));
      break;
    case Expose: {
      RECT r{event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
             event.xexpose.y + event.xexpose.height};
      window_invalidate(w, &r, true);
      break;
    }
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
      input_focus_changed(h, event.type == FocusIn, focused_window(d));
      break;
    case ClientMessage:
      if (event.xclient.message_type == x_atom("WM_PROTOCOLS") && event.xclient.format == 32 &&
          static_cast<Atom>(event.xclient.data.l[0]) == x_atom("WM_DELETE_WINDOW")) {
        // The close box: the window hears it as the system command, so the program sees it first.
        POINT p = input_last_cursor();
        queue_input(make_message(h, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(p.x, p.y)));
      }
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
  HWND under = 0;
  int under_x = 0, under_y = 0;
  // Down the window tree to the deepest window containing the pointer (shapes respected).
  while (XQueryPointer(d, xw, &root, &child, &root_x, &root_y, &x, &y, &state)) {
    if (HWND h = window_from_x(xw)) under = h, under_x = x, under_y = y;
    if (child == None) break;
    xw = child;
  }
  if (!under) return;
  queue_mouse_move(stamped(under, WM_MOUSEMOVE, mouse_flags(state), client_point(under_x, under_y),
                           root_x, root_y));
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
