// The tests' and benchmarks' one BMP writer: files laid out field by field (any header size, depth,
// compression, masks and colour table, for the decoders' odd cases) and pictures encoded at every
// depth the readers take. Standard C++ only: the Windows behaviour tests use it on both platforms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zelvo_test {

using Bytes = std::vector<uint8_t>;

// Little-endian fields: written at a place in `bytes`, or appended.
void set16(Bytes& bytes, size_t at, uint32_t value);
void set32(Bytes& bytes, size_t at, uint32_t value);
void append16(Bytes& bytes, uint32_t value);
void append32(Bytes& bytes, uint32_t value);

// Bytes in a row of `width` pixels of `bpp` bits, padded to 4 bytes as BMP rows are.
size_t bmp_stride(int width, int bpp);

// A BMP file as its fields give it.
struct BmpFile {
  int width = 0;
  int height = 0;  // negative: top-down
  int bpp = 24;
  uint32_t header_size = 40;  // 12 (core), 40, 108 (V4), 124 (V5)
  uint32_t compression = 0;
  std::vector<uint32_t> masks;    // BI_BITFIELDS: written after a 40-byte header or into a V4 one
  std::vector<uint32_t> colours;  // 0xRRGGBB colour table
  Bytes pixels;                   // the pixel array as it goes into the file

  Bytes bytes() const;
};

// Palette indices (rows in file order) packed into padded rows of `bpp` (1, 2, 4 or 8) bits.
Bytes bmp_pack_indices(const std::vector<int>& indices, int width, int height, int bpp);

// Rows of width * bpp / 8 bytes each (file order, bottom row first, no padding) as a bottom-up
// BI_RGB file; 8-bit and smaller files get a colour table of every entry, entry i grey level i.
Bytes bmp_from_rows(int bpp, int width, int height, const Bytes& rows);

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kMagenta{255, 0, 255};

// An RGB picture, top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // row-major, top row first

  Picture(int w, int h, Rgb fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
  Rgb& at(int x, int y) { return pixels[size_t(y) * width + x]; }
  const Rgb& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// A bottom-up BI_RGB file (40-byte header) of `bits` per pixel: 1, 4, 8, 16 (5-5-5), 24 or 32.
// Palettized depths take `table`, or when it is empty the picture's distinct colours in order of
// first appearance; throws std::runtime_error when the picture has colours the table lacks.
Bytes EncodeBmp(const Picture& picture, int bits, std::vector<Rgb> table = {});

// Writes `bytes` to `path`; throws std::runtime_error when the file cannot be made.
void WriteFile(const std::string& path, const Bytes& bytes);

inline void WriteBmp(const std::string& path, const Picture& picture, int bits = 24,
                     std::vector<Rgb> table = {}) {
  WriteFile(path, EncodeBmp(picture, bits, std::move(table)));
}

}  // namespace zelvo_test
