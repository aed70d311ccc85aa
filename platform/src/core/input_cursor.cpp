// The cursor position in screen coordinates.
#include "native_backend.h"
#include "window_object.h"

namespace plat {
namespace {

POINT g_last_cursor{0, 0};

}  // namespace

POINT input_last_cursor() { return g_last_cursor; }

void input_note_cursor(int x, int y) { g_last_cursor = POINT{x, y}; }

}  // namespace plat

BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  POINT now;
  if (!plat::native_cursor_position(&now)) return FALSE;
  *point = now;
  plat::input_note_cursor(now.x, now.y);
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  if (!plat::native_set_cursor_position(x, y)) return FALSE;
  plat::input_note_cursor(x, y);
  return TRUE;
}
