// Minimal writers for the two file formats the demo reads: 24-bit BMP and true-colour TGA.
// Pixels are given top row first, RGBA, 4 bytes each; the writers store rows bottom-up as both
// formats ordinarily do.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // top row first

  Image(int w, int h) : width(w), height(h), rgba(static_cast<size_t>(w) * h * 4) {}
  uint8_t* at(int x, int y) { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

// 24-bit bottom-up BMP, rows padded to 4 bytes; alpha is dropped.
bool WriteBmp24(const std::string& path, const Image& image);

// TGA type 2 (rle false) or type 10 (rle true), 24 or 32 bits, bottom-left origin, no image ID and
// no colour map. Run-length packets never cross a row.
bool WriteTga(const std::string& path, const Image& image, int bits, bool rle);

// The RLE pixel data of one row of already-ordered BGR(A) pixels, appended to out.
void EncodeRleRow(const uint8_t* pixels, int count, int bytes_per_pixel, std::vector<uint8_t>& out);

}  // namespace tools
