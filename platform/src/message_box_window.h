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
// box is a dialog window of class "#32770" with a push button (class "Button") for each answer,
// whose id is the answer, and a static control (class "Static", id 0xFFFF) holding the text. These
// calls touch only the boxes' own records, under their lock, so they are safe from any thread. Each
// returns false when `h` is neither a shown box nor one of its controls, and the caller goes on
// with the ordinary windows.

// The newest shown box that matches (class "#32770" or NULL; title without regard to case, or
// NULL); 0 when there is none.
HWND message_box_find(LPCSTR class_name, LPCSTR title);
// FindWindowExA among a shown box's controls, in their creation order (the buttons left to right,
// then the text).
bool message_box_find_control(HWND box, HWND after, LPCSTR class_name, LPCSTR title, HWND* found);
// GetDlgItem on a shown box: its control with the id, or 0.
bool message_box_control(HWND box, int id, HWND* control);
// PostMessageA to a box or a control: the message goes to the box's modal loop. A button's
// WM_COMMAND posted to the box chooses that button, as does BM_CLICK posted to the button.
bool message_box_post(HWND h, UINT message, WPARAM wparam, LPARAM lparam);
// SendMessageA to a box or a control: posted as above, then waits until the box's loop has taken
// it (or the box is gone), as a message sent to another thread's window waits for its answer.
bool message_box_send(HWND h, UINT message, WPARAM wparam, LPARAM lparam);
// GetWindowTextA on a box (its title) or a control (a button's Windows text, the box's text):
// `*length` is the length copied into `buffer`.
bool message_box_window_text(HWND h, LPSTR buffer, int size, int* length);

// What other threads may ask about a box or a control.
struct BoxWindowState {
  HWND parent = 0;       // the box, for a control
  int id = 0;            // a control's id
  RECT rect{};           // outer rectangle on the screen
  RECT client{};         // client rectangle (0, 0, width, height)
  bool visible = false;  // the box's X window is mapped
};
bool message_box_window_state(HWND h, BoxWindowState* state);
// The shown box that has the keyboard focus (the foreground window while it is up), or 0.
HWND message_box_foreground();

// The class name of a message box's window.
constexpr const char* kMessageBoxClass = "#32770";
// The control id of a box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

}  // namespace plat
