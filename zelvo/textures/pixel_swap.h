// Blue/red exchange of packed 3- and 4-byte pixels, the one conversion between the file orders
// (BGR, BGRA) and OpenGL's (RGB, RGBA). Vector versions are chosen once, by what the processor
// offers; the plain loops are the reference and the fallback.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zelvo {

// In place: bytes 0 and 2 of each pixel change places.
void SwapRedBlue3(uint8_t* data, std::size_t pixels);
void SwapRedBlue4(uint8_t* data, std::size_t pixels);

// The same while copying from src to dst (which do not overlap).
void CopySwapRedBlue3(uint8_t* dst, const uint8_t* src, std::size_t pixels);
void CopySwapRedBlue4(uint8_t* dst, const uint8_t* src, std::size_t pixels);

// One complete set of the swaps. The in-place ones are the copying ones with dst == src.
struct PixelSwapKernels {
  const char* name;
  void (*copy3)(uint8_t* dst, const uint8_t* src, std::size_t pixels);
  void (*copy4)(uint8_t* dst, const uint8_t* src, std::size_t pixels);
};

// Every set this processor can run, the portable one first; the functions above use the last.
std::span<const PixelSwapKernels> AvailablePixelSwapKernels();

}  // namespace zelvo
