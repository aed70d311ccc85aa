// Keyboard translation shared by the X event translator, TranslateMessage and GetKeyState.
#pragma once

#include <windows.h>
#include <X11/Xlib.h>

namespace plat {

// The virtual-key code of an X key event (0 for keys the original platform has no code for).
UINT keyboard_virtual_key(XKeyEvent* event);

// Scan code of an X keycode in bits 0..7 and the extended-key flag in bit 8, as lParam carries them.
unsigned keyboard_scan_code(unsigned keycode);

// Remembers the character a key press typed, for TranslateMessage; the key is named by its lParam.
void keyboard_note_char(LPARAM lparam, int character);
// The character (Windows-1252) the key press of this lParam typed, or 0.
int keyboard_char_for(LPARAM lparam);

// Key state by virtual-key code for GetKeyState.
void keyboard_set_state(UINT virtual_key, bool down);

}  // namespace plat
