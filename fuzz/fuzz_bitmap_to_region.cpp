// Arbitrary files through BitmapToRegion: no crash, no undefined behaviour, and nothing left behind
// but the region it returns. Input: 3 bytes of colour key, 1 byte of tolerance, then the file.
#include <zelvo/controls.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "handle_table.h"
#include "memory_file.h"

namespace {

size_t Live() {
  return plat::handle_count(plat::Kind::Bitmap) + plat::handle_count(plat::Kind::Palette) +
         plat::handle_count(plat::Kind::Region) + plat::handle_count(plat::Kind::DC) +
         plat::handle_count(plat::Kind::Global);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const COLORREF key = RGB(data[0], data[1], data[2]);
  const BYTE tolerance = data[3];
  static fuzz::MemoryFile file;
  const std::string name = file.Hold(data + 4, size - 4);

  const size_t before = Live();
  HRGN region = BitmapToRegion(name, key, tolerance);
  if (region) {
    RECT box{};
    GetRgnBox(region, &box);
    DeleteObject(region);
  }
  if (Live() != before) {
    std::fprintf(stderr, "BitmapToRegion left %zu objects behind\n", Live() - before);
    std::abort();
  }
  return 0;
}
