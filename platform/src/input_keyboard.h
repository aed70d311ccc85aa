// Keyboard translation shared by the X event translator, TranslateMessage and GetKeyState.
#pragma once

#include <windows.h>
#include <X11/Xlib.h>

#include <string>

namespace plat {

// The virtual-key code of an X key event. A keysym without a code of its own takes the code of the
// key's place on a US keyboard (the OEM codes for the punctuation keys, as Windows' layouts give
// them by scan code); a key outside the character block with no code gets 0xFF, the code Windows'
// layouts give a scan code they do not assign.
UINT keyboard_virtual_key(XKeyEvent* event);

// The code of the key in place `scan` (a scan code without the extended flag) of a US keyboard's
// character block: digits, letters, VK_OEM_*; 0xFF for any other place.
UINT keyboard_place_key(unsigned scan);

// Scan code of an X keycode in bits 0..7 and the extended-key flag in bit 8, as lParam carries
// them.
unsigned keyboard_scan_code(unsigned keycode);

// The spacing character (Unicode) that stands for a dead key on its own, as WM_DEADCHAR carries it
// (dead_acute: U+00B4); 0 for a keysym that is no dead key.
char32_t keyboard_dead_char(KeySym keysym);

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
