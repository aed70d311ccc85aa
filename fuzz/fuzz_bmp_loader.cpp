// Feeds arbitrary bytes to the BMP reader: it must refuse or decode, never read outside the input.
#include <cstddef>
#include <cstdint>

#include "bmp_decode.h"

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
  return 0;
}
