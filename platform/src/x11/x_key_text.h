// Key presses into what the core needs to type them: the keysym and text X gives a press, which
// the core runs through the thread's dead keys and compose sequences.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace plat {

// What a key press types on its own.
struct XKeyText {
  std::string utf8;          // the characters, UTF-8; empty when the press typed none
  KeySym keysym = NoSymbol;  // the keysym with the event's modifiers applied
};

// The text and keysym of a key press, from the event alone (the sequence state is the core's).
XKeyText x_key_text(XKeyEvent& event);

}  // namespace plat
