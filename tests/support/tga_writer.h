// The tests' and benchmarks' one TGA writer: the header of a true-colour file and run-length
// packets. Standard C++ only.
#pragma once

#include <cstdint>
#include <vector>

namespace zelvo_test {

// The 18-byte header of a type 2 (uncompressed) or type 10 (run-length) true-colour file, without
// an image identifier or colour map.
std::vector<uint8_t> TgaHeader(uint8_t type, uint16_t width, uint16_t height, uint8_t bits,
                               uint8_t descriptor = 0);

// `pixels` (width x height pixels of `bytes_per_pixel` bytes, rows in file order) as run-length
// packets, each row packed on its own: a run packet for two to 128 equal pixels, literal packets of
// up to 128 for the rest.
std::vector<uint8_t> TgaEncodeRle(const std::vector<uint8_t>& pixels, int width, int height,
                                  int bytes_per_pixel);

}  // namespace zelvo_test
