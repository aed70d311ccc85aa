#include "real_input.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <thread>

namespace zelvo_test {
namespace {

Display* as_display(void* d) { return static_cast<Display*>(d); }

}  // namespace

XInput::XInput() { display_ = XOpenDisplay(nullptr); }

XInput::~XInput() {
  if (display_) XCloseDisplay(as_display(display_));
}

void XInput::move_pointer(int x, int y) {
  if (!display_) return;
  XTestFakeMotionEvent(as_display(display_), -1, x, y, CurrentTime);
  sync();
}

void XInput::press_button(unsigned button) {
  if (!display_) return;
  XTestFakeButtonEvent(as_display(display_), button, True, CurrentTime);
  sync();
}

void XInput::release_button(unsigned button) {
  if (!display_) return;
  XTestFakeButtonEvent(as_display(display_), button, False, CurrentTime);
  sync();
}

void XInput::click(unsigned button) {
  press_button(button);
  release_button(button);
}

void XInput::press_key(unsigned long keysym) {
  if (!display_) return;
  KeyCode code = XKeysymToKeycode(as_display(display_), keysym);
  if (code == 0) return;
  XTestFakeKeyEvent(as_display(display_), code, True, CurrentTime);
  sync();
}

void XInput::release_key(unsigned long keysym) {
  if (!display_) return;
  KeyCode code = XKeysymToKeycode(as_display(display_), keysym);
  if (code == 0) return;
  XTestFakeKeyEvent(as_display(display_), code, False, CurrentTime);
  sync();
}

void XInput::tap_key(unsigned long keysym) {
  press_key(keysym);
  release_key(keysym);
}

void XInput::hold_key(unsigned long keysym, int milliseconds) {
  if (!display_) return;
  XAutoRepeatOn(as_display(display_));
  press_key(keysym);
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  release_key(keysym);
}

void XInput::sync() {
  if (display_) XSync(as_display(display_), False);
}

bool pump_until(const std::function<void()>& step, const std::function<bool()>& done,
                int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    step();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

}  // namespace zelvo_test
