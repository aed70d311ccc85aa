// Blue/red exchange of packed 3- and 4-byte pixels, the one conversion between the file orders
// (BGR, BGRA) and OpenGL's (RGB, RGBA). Written as plain loops over whole words so that the
// compiler turns them into vector code.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelvo {

// In place: bytes 0 and 2 of each pixel change places.
void SwapRedBlue3(uint8_t* data, std::size_t pixels);
void SwapRedBlue4(uint8_t* data, std::size_t pixels);

// The same while copying from src to dst (which do not overlap).
void CopySwapRedBlue3(uint8_t* dst, const uint8_t* src, std::size_t pixels);
void CopySwapRedBlue4(uint8_t* dst, const uint8_t* src, std::size_t pixels);

}  // namespace zelvo
