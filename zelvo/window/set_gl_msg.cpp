// The frame loop's message pump step.
#include "zelvo/window.h"

void SetGLMsg() {
  // Peek first so that an empty queue never blocks the frame loop; then take exactly the message
  // that was seen. A backlog is worked off one message per frame.
  if (PeekMessageA(&Msg_, 0, 0, 0, PM_NOREMOVE)) {
    GetMessageA(&Msg_, 0, 0, 0);
    TranslateMessage(&Msg_);
    DispatchMessageA(&Msg_);
  }
}
