// Keyboard translation shared by the X event translator, TranslateMessage and GetKeyState.
#pragma once

#include <windows.h>
#include <X11/Xlib.h>

namespace plat {

// The virtual-key code of an X key event (0 for keys the original platform has no code for).
UINT keyboard_virtual_key(XKeyEvent* event);

// Scan code of an X keycode in bits 0..7 and the extended-key flag in bit 8, as lParam carries
// them.
unsigned keyboard_scan_code(unsigned keycode);

// Remembers the character a key press typed, for TranslateMessage; the press is named by the
// key-down message's lParam and time.
void keyboard_note_char(LPARAM lparam, DWORD time, int character);
// The character (Windows-1252) that key press typed, or 0. Each press answers once.
int keyboard_take_char(LPARAM lparam, DWORD time);

// Key state by virtual-key code for GetKeyState.
void keyboard_set_state(UINT virtual_key, bool down);

}  // namespace plat
