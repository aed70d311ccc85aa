// Our own drawings of the system icons, as straight (not premultiplied) ARGB pixels.
#pragma once

#include <cstdint>
#include <vector>

namespace plat {

enum class IconPicture { Application, Error, Question, Warning, Information };

struct IconImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;  // row by row from the top, 0xAARRGGBB
};

// The picture drawn antialiased at `size` x `size` pixels (size >= 8).
IconImage paint_icon(IconPicture picture, int size);

}  // namespace plat
