// The key state and the text that key presses typed, shared by the message queue, the backend's
// event translation, TranslateMessage and GetKeyState.
#pragma once

#include <windows.h>

#include <string>

namespace plat {

// What a key press typed, for TranslateMessage: Windows-1252 characters, one WM_CHAR each, or with
// `dead` the one character of a dead key for WM_DEADCHAR.
struct TypedText {
  std::string chars;
  bool dead = false;
};

// A key-down message has been taken from the queue with the text its press typed: it waits here for
// TranslateMessage, however long the program took to read it.
void keyboard_hold_text(const MSG& key_down, TypedText text);
// What the press behind a taken key-down message typed (empty when nothing). Each press answers
// once; the presses taken before it keep theirs.
TypedText keyboard_take_text(const MSG& key_down);

// Key state by virtual-key code for GetKeyState.
void keyboard_set_state(UINT virtual_key, bool down);

}  // namespace plat
