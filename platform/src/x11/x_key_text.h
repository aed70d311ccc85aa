// Key presses into text: the keysym and Latin-1 text X gives a press, through the thread's compose
// state (keyboard_compose.h), so that dead keys and compose sequences type what the user's compose
// table says.
#pragma once

#include <X11/Xlib.h>

#include <string>

#include "keyboard_compose.h"

namespace plat {

struct WindowObject;

// What a key press typed.
struct KeyPressText {
  std::string utf8;          // the characters, UTF-8; empty when the press typed none
  KeySym keysym = NoSymbol;  // the keysym that typed them (for a dead key, the dead keysym, whose
                             // accent keyboard_dead_char gives)
};

// The text of a key press on the top-level window `top`. A dead key or a step of a compose
// sequence types nothing, the last step the sequence's result. The sequence state is the thread's,
// as on Windows, so neither the display nor the window is asked for more than the event holds.
KeyPressText x_key_press_text(Display* d, WindowObject* top, XKeyEvent& event);

}  // namespace plat
