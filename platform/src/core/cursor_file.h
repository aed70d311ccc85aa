// The .cur and .ico file format, read from bytes (no X needed, so it can be fuzzed on its own).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace plat {

struct CursorImage {
  int width = 0;
  int height = 0;
  int hot_x = 0;
  int hot_y = 0;
  std::vector<uint32_t> argb;  // straight 0xAARRGGBB, rows from the top
};

// The image of the file closest to 32 x 32 (the deepest at that size): an icon directory, entries,
// BMP-format images at 1, 4, 8, 24 or 32 bits with their AND masks. The hot spot of a cursor file
// comes from its entry, kept inside the image; an icon's is its centre. nullopt for anything
// truncated or malformed; PNG-compressed entries are passed over. Never reads outside `data`.
std::optional<CursorImage> parse_cursor_file(const uint8_t* data, size_t size);

}  // namespace plat
