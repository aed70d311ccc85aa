// Blue/red exchange of packed pixels.
#include "pixel_swap.h"

#include <cstring>

namespace zelvo {

namespace {

inline uint32_t Swap4(uint32_t p) {
  return (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
}

}  // namespace

void SwapRedBlue4(uint8_t* data, std::size_t pixels) { CopySwapRedBlue4(data, data, pixels); }

void CopySwapRedBlue4(uint8_t* dst, const uint8_t* src, std::size_t pixels) {
  for (std::size_t i = 0; i < pixels; ++i) {
    uint32_t p;
    std::memcpy(&p, src + 4 * i, 4);
    p = Swap4(p);
    std::memcpy(dst + 4 * i, &p, 4);
  }
}

void SwapRedBlue3(uint8_t* data, std::size_t pixels) {
  for (std::size_t i = 0; i < pixels; ++i) {
    uint8_t* p = data + 3 * i;
    uint8_t b = p[0];
    p[0] = p[2];
    p[2] = b;
  }
}

void CopySwapRedBlue3(uint8_t* dst, const uint8_t* src, std::size_t pixels) {
  for (std::size_t i = 0; i < pixels; ++i) {
    dst[3 * i] = src[3 * i + 2];
    dst[3 * i + 1] = src[3 * i + 1];
    dst[3 * i + 2] = src[3 * i];
  }
}

}  // namespace zelvo
