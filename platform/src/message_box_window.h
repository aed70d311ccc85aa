// The message box as a modal X dialog.
#pragma once

#include <windows.h>

#include <string>

namespace plat {

// Shows the box and runs its modal loop until a button is chosen; returns that button's id, or 0
// when no box can be shown (no display, no font). Caption and text come in Windows-1252, as the
// caller gave them.
int run_message_box_window(HWND owner, const std::string& caption, const std::string& text,
                           UINT type);

// While a box is shown, other threads may find it and answer it, as on the real platform where a
// box is a dialog window of class "#32770" whose buttons send WM_COMMAND with their id. These calls
// touch only the boxes' own records, under their lock, so they are safe from any thread.

// The newest shown box that matches (class "#32770" or NULL; title without regard to case, or
// NULL); 0 when there is none.
HWND message_box_find(LPCSTR class_name, LPCSTR title);
// True when `box` is a shown box; the message then goes to its modal loop.
bool message_box_post(HWND box, UINT message, WPARAM wparam, LPARAM lparam);
// True when `box` is a shown box; `*length` is then the length of its title (id 0) or text
// (id 0xFFFF, the box's static text control), copied into `buffer` like GetWindowTextA does.
bool message_box_text(HWND box, int id, LPSTR buffer, int size, int* length);

// The class name of a message box's window.
constexpr const char* kMessageBoxClass = "#32770";
// The control id of a box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

}  // namespace plat
