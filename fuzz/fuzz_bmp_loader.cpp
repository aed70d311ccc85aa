// Feeds arbitrary bytes to the BMP reader, from memory and through LoadImageA on a real file name:
// it must refuse or decode, never read outside the input, and both paths must agree.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "bmp_decode.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  plat::BmpLayout layout;
  // Headers that ask for more than 1 MiB of pixels are valid, but zeroing that much for a
  // run-length file of a few bytes only slows the search down.
  if (plat::bmp_parse_headers(data, size, size, layout) &&
      static_cast<uint64_t>(layout.stride) * static_cast<uint64_t>(layout.height) >
          (uint64_t{1} << 20))
    return 0;
  auto bitmap = plat::bmp_decode(data, size);
  if (bitmap) {
    // Touch the whole pixel array so that a wrong size shows up under AddressSanitizer.
    volatile uint8_t sink = 0;
    for (size_t i = 0; i < bitmap->image_size(); i += 61) sink = sink ^ bitmap->bits()[i];
    if (bitmap->image_size() > 0) sink = sink ^ bitmap->bits()[bitmap->image_size() - 1];
  }
  // The file path reads only what the headers describe, in its own way: the same picture or none.
  static fuzz::MemoryFile file;
  HBITMAP loaded = static_cast<HBITMAP>(
      LoadImageA(0, file.Hold(data, size), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if ((loaded != 0) != (bitmap != nullptr)) __builtin_trap();
  if (loaded) {
    BITMAP bm{};
    if (GetObjectA(loaded, sizeof bm, &bm) != sizeof bm || bm.bmWidth != bitmap->width ||
        bm.bmHeight != bitmap->height || bm.bmBitsPixel != bitmap->bits_per_pixel ||
        std::memcmp(bm.bmBits, bitmap->bits(), bitmap->image_size()) != 0)
      __builtin_trap();
    DeleteObject(loaded);
  }
  return 0;
}
