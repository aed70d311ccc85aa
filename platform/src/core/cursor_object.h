// Cursors and icons behind HCURSOR/HICON handles (one kind of object, as on the real platform).
#pragma once

#include <cstdint>
#include <vector>

#include "handle_table.h"

namespace plat {

struct CursorObject : Object {
  static constexpr Kind kKind = Kind::Cursor;
  CursorObject() : Object(kKind) {}
  ~CursorObject() override;

  unsigned system_id = 0;  // the IDC_ number of a system cursor; 0 for an image
  int width = 0, height = 0, hot_x = 0, hot_y = 0;
  std::vector<uint32_t> argb;       // straight ARGB, rows from the top (images only)
  unsigned long native_cursor = 0;  // the backend's, made on first use: handles exist without one
};

// A new handle for an image cursor or icon; `permanent` for the shared system ones.
HANDLE cursor_insert_image(int width, int height, int hot_x, int hot_y, std::vector<uint32_t> argb,
                           bool permanent);

}  // namespace plat
