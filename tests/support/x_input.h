// Real input for window tests: XTest requests on a connection of the test's own, so that the layer
// under test receives ordinary X events, exactly as from a keyboard and a mouse.
#pragma once

#include <functional>

namespace zelvo_test {

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

}  // namespace zelvo_test
