// The BMP file reader: bytes in, a DIB section's bitmap out. Pure: no X, no handle table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "gdi_internal.h"

namespace plat {

// What the headers and colour table of a BMP file say.
struct BmpLayout {
  int width = 0;
  int height = 0;  // positive
  bool top_down = false;
  int bits_per_pixel = 0;
  uint32_t compression = 0;  // BI_RGB, BI_RLE8, BI_RLE4 or BI_BITFIELDS
  bool bitfields = false;
  uint32_t masks[3] = {0, 0, 0};
  std::vector<RGBQUAD> colors;
  uint64_t pixel_offset = 0;  // where the pixel array starts in the file
  uint64_t file_size = 0;
  size_t stride = 0;
  uint64_t rle_size = 0;  // compressed files: bytes of pixel data, from biSizeImage when it is sane
};

// Channel masks of a 16- or 32-bit bitmap: each one run of bits inside the pixel, none shared.
bool valid_masks(const uint32_t masks[3], int bits_per_pixel);

// The headers are always within this many bytes of the start of a file.
constexpr size_t kBmpHeaderBytes = 14 + 124 + 12 + 256 * 4;

// Reads the headers and colour table from `data` (the first `size` bytes of a file of `file_size`
// bytes; `size` must be min(file_size, kBmpHeaderBytes) or more). False when they are malformed or
// describe pixels the file cannot hold.
bool bmp_parse_headers(const uint8_t* data, size_t size, uint64_t file_size, BmpLayout& layout);

// Bytes of pixel data an uncompressed file must hold: all rows, the last one may lack its padding.
uint64_t bmp_min_pixel_bytes(const BmpLayout& layout);

// Decodes the pixel array (`pixels`, the `available` bytes from layout.pixel_offset to the end of
// the file) into a new bitmap with bottom-up rows. nullptr when the data is short or RLE overruns;
// `starved`, when given, tells whether a run-length stream failed only because its bytes ended.
std::unique_ptr<Bitmap> bmp_decode_pixels(const BmpLayout& layout, const uint8_t* pixels,
                                          size_t available, bool* starved = nullptr);

// The whole file in memory to a bitmap; nullptr when it is not a BMP file this reader accepts.
std::unique_ptr<Bitmap> bmp_decode(const uint8_t* data, size_t size);

}  // namespace plat
