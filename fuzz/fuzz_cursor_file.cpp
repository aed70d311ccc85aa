// Feeds arbitrary bytes to the .cur/.ico reader, from memory and through LoadCursorFromFileA on a
// real file name: it must refuse or decode, never read outside the input, any image it returns
// must be consistent, and both paths must agree.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "cursor_file.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::optional<plat::CursorImage> image = plat::parse_cursor_file(data, size);
  if (image) {
    bool consistent = image->width > 0 && image->height > 0 && image->width <= 256 &&
                      image->height <= 256 &&
                      image->argb.size() == static_cast<size_t>(image->width) * image->height &&
                      image->hot_x >= 0 && image->hot_x < image->width && image->hot_y >= 0 &&
                      image->hot_y < image->height;
    if (!consistent) std::abort();
  }
  static fuzz::MemoryFile file;
  HCURSOR cursor = LoadCursorFromFileA(file.Hold(data, size));
  if ((cursor != 0) != image.has_value()) std::abort();
  if (cursor) DestroyCursor(cursor);
  return 0;
}
