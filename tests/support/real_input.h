// Real input: keys and mouse buttons delivered as the system's own input, never as posted
// messages, so that the whole path from the device to the window procedure is exercised. RealInput
// takes keys by virtual-key code, for the tests that run in both worlds (SendInput on Windows,
// XTest on our layer); on our layer XInput takes them by X keysym, for the tests of its X side:
// XTest requests on a connection of the test's own, so that the layer under test receives
// ordinary X events, exactly as from a keyboard and a mouse.
#pragma once

#include <windows.h>

#ifndef _WIN32
#include <X11/keysym.h>

#include <functional>
#endif

namespace zelvo_test {

#ifdef _WIN32

class RealInput {
 public:
  bool ok() const { return true; }
  void press_key(WORD vk) { key(vk, 0); }
  void release_key(WORD vk) { key(vk, KEYEVENTF_KEYUP); }
  void tap_key(WORD vk) {
    press_key(vk);
    release_key(vk);
  }
  // Screen coordinates. SetCursorPos moves the pointer as the mouse does, with the same messages.
  void move_pointer(int x, int y) { SetCursorPos(x, y); }
  // Button 1 left, 3 right.
  void press_button(unsigned button) {
    mouse(button == 1 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN);
  }
  void release_button(unsigned button) {
    mouse(button == 1 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
  }

 private:
  static bool extended(WORD vk) {
    switch (vk) {
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
      case VK_HOME:
      case VK_END:
      case VK_PRIOR:
      case VK_NEXT:
      case VK_INSERT:
      case VK_DELETE:
        return true;
      default:
        return false;
    }
  }
  static void key(WORD vk, DWORD flags) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
    in.ki.dwFlags = flags | (extended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &in, sizeof in);
  }
  static void mouse(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
  }
};

#else

class XInput {
 public:
  XInput();  // opens its own connection to $DISPLAY
  ~XInput();
  XInput(const XInput&) = delete;
  XInput& operator=(const XInput&) = delete;

  bool ok() const { return display_ != nullptr; }

  // Pointer position in screen coordinates.
  void move_pointer(int x, int y);
  // Button 1 left, 2 middle, 3 right.
  void press_button(unsigned button);
  void release_button(unsigned button);
  void click(unsigned button);

  // Keys by X keysym (XK_Escape, XK_a, XK_F4, XK_Alt_L, ...).
  void press_key(unsigned long keysym);
  void release_key(unsigned long keysym);
  void tap_key(unsigned long keysym);
  // Holds the key down for `milliseconds` with the server's auto-repeat switched on, then releases
  // it.
  void hold_key(unsigned long keysym, int milliseconds);

  // Waits until the server has handled every request sent so far.
  void sync();

 private:
  void* display_ = nullptr;
};

// Calls `step` (which should pump the message queue) until `done` is true or `timeout_ms` passes;
// returns `done()`'s final value. Sleeps briefly between attempts.
bool pump_until(const std::function<void()>& step, const std::function<bool()>& done,
                int timeout_ms = 3000);

class RealInput {
 public:
  bool ok() const { return x_.ok(); }
  void press_key(WORD vk) { x_.press_key(keysym(vk)); }
  void release_key(WORD vk) { x_.release_key(keysym(vk)); }
  void tap_key(WORD vk) { x_.tap_key(keysym(vk)); }
  void move_pointer(int x, int y) { x_.move_pointer(x, y); }
  void press_button(unsigned button) { x_.press_button(button); }
  void release_button(unsigned button) { x_.release_button(button); }

 private:
  // The key of a US keyboard that gives the virtual-key code.
  static unsigned long keysym(WORD vk) {
    if (vk >= 'A' && vk <= 'Z') return XK_a + (vk - 'A');
    if (vk >= '0' && vk <= '9') return XK_0 + (vk - '0');
    if (vk >= VK_F1 && vk <= VK_F12) return XK_F1 + (vk - VK_F1);
    switch (vk) {
      case VK_ESCAPE:
        return XK_Escape;
      case VK_SPACE:
        return XK_space;
      case VK_RETURN:
        return XK_Return;
      case VK_TAB:
        return XK_Tab;
      case VK_BACK:
        return XK_BackSpace;
      case VK_LEFT:
        return XK_Left;
      case VK_UP:
        return XK_Up;
      case VK_RIGHT:
        return XK_Right;
      case VK_DOWN:
        return XK_Down;
      case VK_SHIFT:
        return XK_Shift_L;
      case VK_CONTROL:
        return XK_Control_L;
      case VK_MENU:
        return XK_Alt_L;
      case VK_DELETE:
        return XK_Delete;
      case VK_HOME:
        return XK_Home;
      default:
        return 0;
    }
  }
  XInput x_;
};

#endif

}  // namespace zelvo_test
