// The message box as a modal X dialog.
#pragma once

#include <windows.h>

#include <string>

namespace plat {

// Shows the box (caption and text in UTF-8) and runs its modal loop until a button is chosen;
// returns that button's id, or 0 when no box can be shown (no display, no font).
int run_message_box_window(HWND owner, const std::string& caption, const std::string& text,
                           UINT type);

}  // namespace plat
