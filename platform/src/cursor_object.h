// Cursors and icons behind HCURSOR/HICON handles (one kind of object, as on the real platform).
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <vector>

#include "handle_table.h"

namespace plat {

struct CursorObject : Object {
  static constexpr Kind kKind = Kind::Cursor;
  CursorObject() : Object(kKind) {}
  ~CursorObject() override;

  int font_shape = -1;  // an X cursor-font glyph for system cursors; -1 for an image
  int width = 0, height = 0, hot_x = 0, hot_y = 0;
  std::vector<uint32_t> argb;  // straight ARGB, rows from the top (images only)
  ::Cursor x_cursor = 0;       // made on first use, so handles exist even without a display
};

// A new handle for an image cursor or icon; `permanent` for the shared system ones.
HANDLE cursor_insert_image(int width, int height, int hot_x, int hot_y, std::vector<uint32_t> argb,
                           bool permanent);

}  // namespace plat
