// Keys, buttons, wheel and motion a backend reports, into the input messages Windows makes of them.
#include <string>
#include <utility>

#include "backend_reports.h"
#include "input_state.h"
#include "keyboard_compose.h"
#include "keyboard_keys.h"
#include "message_queue.h"
#include "text_cp1252.h"
#include "window_object.h"

namespace plat {
namespace {

constexpr LPARAM kKeyExtended = 1 << 24;
constexpr LPARAM kKeyAltDown = 1 << 29;
constexpr LPARAM kKeyWasDown = 1 << 30;
constexpr uint32_t kKeyReleased = 1u << 31;

bool g_key_down[256] = {};  // by keycode: tells auto-repeat presses from new ones
UINT g_key_vk[256] = {};    // by keycode: the virtual-key code its press gave

WPARAM mouse_flags(unsigned state) {
  WPARAM flags = 0;
  if (state & kStateLeftButton) flags |= MK_LBUTTON;
  if (state & kStateMiddleButton) flags |= MK_MBUTTON;
  if (state & kStateRightButton) flags |= MK_RBUTTON;
  if (state & kStateShift) flags |= MK_SHIFT;
  if (state & kStateControl) flags |= MK_CONTROL;
  return flags;
}

LPARAM client_point(int x, int y) {
  // Each coordinate is cut to 16 bits: -5 becomes 65531, as the original platform packs it.
  return MAKELPARAM(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
}

MSG stamped(HWND h, UINT message, WPARAM wparam, LPARAM lparam, POINT screen) {
  input_note_cursor(screen.x, screen.y);
  return make_message(h, message, wparam, lparam);
}

// Key messages go to the window that has the focus when the event is read, whatever window the
// backend gave the key to, as Windows hands keys typed ahead to the focus window of the moment: the
// window that had the keyboard may since have given it to another, been destroyed, or been made
// again with another native window, and the key-up of a key it saw go down belongs to its
// successor. Only while none of ours has the focus does the window reported take the key (none: the
// key state alone changes).
HWND key_target(HWND reported) {
  if (HWND focus = input_focus_window()) return focus;
  return reported;
}

// What TranslateMessage posts for a key press: its characters in Windows-1252, or the spacing form
// of a dead key. Of the control characters only those that keys type on Windows count (Backspace,
// Tab, Return, Escape); Delete and the C1 controls type nothing.
TypedText typed_text(const ComposedKey& press, UINT vk) {
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

// Without SetCapture, Windows sends a mouse message to the window under the cursor. A native
// implicit grab after a press sends everything to the pressed window until the release, even when
// the pointer has moved onto a child; the backend names that child, so the message goes to it in
// its own coordinates. This holds for events that waited in the queue as for fresh ones.
HWND pointer_target(const PointerReport& at, POINT* client) {
  *client = at.client;
  if (at.child == 0 || GetCapture() != 0) return at.window;
  WindowObject* c = window_get(at.child);
  if (!c || c->parent != at.window) return at.window;
  client->x -= c->client_x;
  client->y -= c->client_y;
  return at.child;
}

}  // namespace

void report_key(const KeyReport& key, bool pressed) {
  unsigned keycode = key.keycode & 0xFF;
  UINT vk = keyboard_virtual_key(key);
  bool repeat = pressed && g_key_down[keycode];
  g_key_down[keycode] = pressed;
  if (pressed) g_key_vk[keycode] = vk;
  if (vk == 0) return;
  keyboard_set_state(vk, pressed);

  bool alt = (key.state & kStateAlt) != 0 || (pressed && vk == VK_MENU);
  bool ctrl = (key.state & kStateControl) != 0;
  bool system = (alt && !ctrl) || vk == VK_F10;
  unsigned scan = keyboard_scan_code(key.keycode);
  LPARAM lparam = 1 | static_cast<LPARAM>((scan & 0xFF) << 16);
  if (scan & 0x100) lparam |= kKeyExtended;
  if (alt) lparam |= kKeyAltDown;
  if (repeat || !pressed) lparam |= kKeyWasDown;
  if (!pressed) lparam = static_cast<LPARAM>(static_cast<uint32_t>(lparam) | kKeyReleased);

  // Dead keys and compose sequences see every press, even one no window of ours takes.
  TypedText typed;
  if (pressed) typed = typed_text(keyboard_compose_press(key.typed_keysym, key.text), vk);

  UINT message =
      pressed ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  HWND target = key_target(key.window);
  if (!target) return;
  queue_input(stamped(target, message, vk, lparam, key.screen), std::move(typed));
}

// A key released while none of ours had the keyboard sent us no release, so it goes up here
// without a message, as Windows brings a thread's key state up to date when it has the keyboard
// again. Its next press is then a new one, not a repeat.
void report_keys_down(const uint8_t (&down)[32]) {
  for (unsigned keycode = 8; keycode < 256; ++keycode) {
    if (!g_key_down[keycode] || (down[keycode / 8] & (1 << (keycode % 8)))) continue;
    g_key_down[keycode] = false;
    if (g_key_vk[keycode]) keyboard_set_state(g_key_vk[keycode], false);
  }
}

void report_button(const PointerReport& at, ReportButton button, bool pressed) {
  POINT client;
  HWND h = pointer_target(at, &client);
  if (!window_get(h)) return;
  WPARAM flags = mouse_flags(at.state);
  UINT message = 0;
  WPARAM bit = 0;
  UINT vk = 0;
  switch (button) {
    case ReportButton::kLeft:
      message = pressed ? WM_LBUTTONDOWN : WM_LBUTTONUP, bit = MK_LBUTTON, vk = VK_LBUTTON;
      break;
    case ReportButton::kMiddle:
      message = pressed ? WM_MBUTTONDOWN : WM_MBUTTONUP, bit = MK_MBUTTON, vk = VK_MBUTTON;
      break;
    case ReportButton::kRight:
      message = pressed ? WM_RBUTTONDOWN : WM_RBUTTONUP, bit = MK_RBUTTON, vk = VK_RBUTTON;
      break;
  }
  flags = pressed ? (flags | bit) : (flags & ~bit);
  keyboard_set_state(vk, pressed);
  if (pressed) input_button_pressed(h);
  queue_input(stamped(h, message, flags, client_point(client.x, client.y), at.screen));
}

void report_wheel(const PointerReport& at, int notches) {
  POINT client;
  HWND h = pointer_target(at, &client);
  if (!window_get(h)) return;
  // The wheel reports to the focus window, in screen coordinates.
  int delta = notches * WHEEL_DELTA;
  queue_input(stamped(key_target(h), WM_MOUSEWHEEL,
                      MAKEWPARAM(mouse_flags(at.state), static_cast<uint16_t>(delta)),
                      client_point(at.screen.x, at.screen.y), at.screen));
}

void report_pointer_moved(const PointerReport& at) {
  POINT client;
  HWND h = pointer_target(at, &client);
  if (!window_get(h)) return;
  queue_mouse_move(
      stamped(h, WM_MOUSEMOVE, mouse_flags(at.state), client_point(client.x, client.y), at.screen));
}

}  // namespace plat
