// The thread's message queue as the window and input services feed it.
#pragma once

#include <windows.h>

#include "keyboard_state.h"

namespace plat {

// The most posted messages a thread's queue holds, as on Windows; PostMessageA fails beyond it.
constexpr size_t kMaxPostedMessages = 10000;

// A message stamped with the current tick count and the last known cursor position.
MSG make_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Posts a message made from input (a typed character): it does not count against the quota.
void queue_posted_input(const MSG& msg);

// Appends an input message (keys, buttons, the window manager's close request) to the queue. A
// key-down message carries the text its press typed, which TranslateMessage gives when the program
// takes the message.
void queue_input(const MSG& msg, TypedText typed = {});

// Appends a mouse move, or refreshes the one still waiting at the end of the input queue: a slow
// reader never works off a backlog of stale positions.
void queue_mouse_move(const MSG& msg);

}  // namespace plat
