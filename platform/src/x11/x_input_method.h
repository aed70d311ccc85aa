// Key presses into text through the X input method, so that dead keys and compose sequences type
// what the locale's compose table says.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace plat {

struct WindowObject;

// What a key press typed.
struct KeyPressText {
  std::string utf8;          // the characters, UTF-8; empty when the press typed none
  KeySym keysym = NoSymbol;  // the keysym that typed them (for a dead key, the dead keysym)
};

// The text of a key press on the top-level window `top` (nullptr: a window without a context). The
// press goes through the window's input context first: a dead key or a step of a compose sequence
// types nothing, the last step types the sequence's result, which the input method leaves at the
// head of Xlib's queue and this call takes from there. Without an input method, XLookupString's
// Latin-1 text.
KeyPressText x_key_press_text(Display* d, WindowObject* top, XKeyEvent& event);

// Releases the window's input context (before its X window goes).
void x_input_context_destroy(WindowObject* w);

}  // namespace plat
