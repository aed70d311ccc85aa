#include "tga_writer.h"

#include <cstring>

namespace zelvo_test {

std::vector<uint8_t> TgaHeader(uint8_t type, uint16_t width, uint16_t height, uint8_t bits,
                               uint8_t descriptor) {
  std::vector<uint8_t> h(18, 0);
  h[2] = type;
  h[12] = width & 0xFF;
  h[13] = width >> 8;
  h[14] = height & 0xFF;
  h[15] = height >> 8;
  h[16] = bits;
  h[17] = descriptor;
  return h;
}

std::vector<uint8_t> TgaEncodeRle(const std::vector<uint8_t>& pixels, int width, int height,
                                  int bytes_per_pixel) {
  const size_t bpp = static_cast<size_t>(bytes_per_pixel);
  const size_t w = static_cast<size_t>(width);
  std::vector<uint8_t> out;
  for (size_t row = 0; row < static_cast<size_t>(height); ++row) {
    const uint8_t* p = &pixels[row * w * bpp];
    auto same = [&](size_t a, size_t b) { return std::memcmp(p + a * bpp, p + b * bpp, bpp) == 0; };
    size_t i = 0;
    while (i < w) {
      size_t run = 1;
      while (i + run < w && run < 128 && same(i, i + run)) ++run;
      if (run >= 2) {
        out.push_back(static_cast<uint8_t>(127 + run));
        out.insert(out.end(), p + i * bpp, p + (i + 1) * bpp);
        i += run;
        continue;
      }
      size_t literal = 1;
      while (i + literal < w && literal < 128 &&
             !(i + literal + 1 < w && same(i + literal, i + literal + 1)))
        ++literal;
      out.push_back(static_cast<uint8_t>(literal - 1));
      out.insert(out.end(), p + i * bpp, p + (i + literal) * bpp);
      i += literal;
    }
  }
  return out;
}

}  // namespace zelvo_test
