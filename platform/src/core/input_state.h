// Capture and focus state shared by the input services and the input reports.
#pragma once

#include <windows.h>

namespace plat {

// The window that has our keyboard focus (0 when none of ours has it).
HWND input_focus_window();
// Moves our keyboard focus, with WM_KILLFOCUS to the window that loses it and WM_SETFOCUS to the
// one that gains it.
void input_move_focus(HWND to);
// A window being destroyed loses the focus without messages (it has heard its last).
void input_drop_focus(HWND h);

// A button went down in `window`. Without an explicit capture, the native automatic grab is
// dropped so that, as on the original platform, moves go to whichever window is under the pointer.
void input_button_pressed(HWND window);

}  // namespace plat
