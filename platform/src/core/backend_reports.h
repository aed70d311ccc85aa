/// @file
/// The upward half of the seam between the Windows core and a backend: what a backend tells the
/// core the hardware and the window system did. A backend reports facts in its own neutral terms
/// (xkb keycodes and keysyms, UTF-8, client coordinates) and never makes a Windows message; the
/// core decides the virtual keys, lParam bits, WM_SYSKEYDOWN, WM_CHAR, MK_* flags, capture and
/// focus routing, activation and SC_CLOSE, once for every backend. Called on the thread that pumps
/// the backend's events (native_pump_events, native_queue_move_under_pointer).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

namespace plat {

/// Modifier keys and buttons held when an event happened (before the event's own change).
enum ReportState : unsigned {
  kStateShift = 1u << 0,         ///< a Shift key
  kStateControl = 1u << 1,       ///< a Control key
  kStateAlt = 1u << 2,           ///< Alt (the first modifier beyond Control)
  kStateNumLock = 1u << 3,       ///< Num Lock is on
  kStateLeftButton = 1u << 4,    ///< the first (left) button
  kStateMiddleButton = 1u << 5,  ///< the second (middle) button
  kStateRightButton = 1u << 6,   ///< the third (right) button
};

/// One key going down or up.
struct KeyReport {
  HWND window = 0;              ///< our window the key came to; 0 when none of ours (any more)
  unsigned keycode = 0;         ///< xkb keycode: the kernel's key number + 8
  uint32_t keysym = 0;          ///< the keysym of the key's first level (no modifiers)
  uint32_t shifted_keysym = 0;  ///< the keysym of its second level (the keypad's digits)
  uint32_t typed_keysym = 0;    ///< a press: the keysym with the modifiers held applied
  std::string_view text;        ///< a press: UTF-8 the key types on its own, before dead keys
  unsigned state = 0;           ///< ReportState bits held
  POINT screen{};               ///< the pointer on the screen at the event
};

/// A pointer event's place.
struct PointerReport {
  HWND window = 0;     ///< our window the event came to
  HWND child = 0;      ///< our child of `window` under the pointer, when the backend names one
  POINT client{};      ///< the pointer in `window`'s client coordinates
  POINT screen{};      ///< the pointer on the screen
  unsigned state = 0;  ///< ReportState bits held
};

/// The three buttons a pointer reports; a wheel's steps are reported by report_wheel.
enum class ReportButton { kLeft, kMiddle, kRight };

/// A key went down (`pressed`) or up; auto-repeat reports more presses without a release.
void report_key(const KeyReport& key, bool pressed);
/// One of our windows got the keyboard with these keys down (bit k of byte k / 8: keycode k).
void report_keys_down(const uint8_t (&down)[32]);
/// A button went down or up.
void report_button(const PointerReport& at, ReportButton button, bool pressed);
/// The wheel turned `notches` steps (positive: away from the user).
void report_wheel(const PointerReport& at, int notches);
/// The pointer moved (or is where it is now, when the core asked).
void report_pointer_moved(const PointerReport& at);
/// The window system placed the window's client area at `origin` (in its parent's client area, on
/// the screen for a top-level window) with `size`.
void report_configured(HWND window, POINT origin, SIZE size);
/// Part of the window's client area must be drawn again.
void report_exposed(HWND window, const RECT& area);
/// The user asked to close the top-level window (its close box).
void report_close_requested(HWND window);
/// The native keyboard focus came to (`gained`) or left our top-level window; `holder` is our
/// window that has it now (0: none of ours).
void report_keyboard_focus(HWND window, bool gained, HWND holder);

}  // namespace plat
