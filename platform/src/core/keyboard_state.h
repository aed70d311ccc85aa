// The key state and the text that key presses typed, shared by the backend's event translation,
// TranslateMessage and GetKeyState.
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

// Remembers what a key press typed; the press is named by the key-down message's lParam and time.
void keyboard_note_text(LPARAM lparam, DWORD time, TypedText text);
// What that key press typed (empty when nothing). Each press answers once.
TypedText keyboard_take_text(LPARAM lparam, DWORD time);

// Key state by virtual-key code for GetKeyState.
void keyboard_set_state(UINT virtual_key, bool down);

}  // namespace plat
