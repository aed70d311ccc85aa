/// @file
/// Cursor and icon files written byte by byte for the tests of their decoding
/// (test_cursor_file.cpp, without a display) and of the X cursors made from them
/// (test_cursor_x11.cpp).
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "cursor_file.h"
#include "temp_dir.h"

namespace cursor_test {

namespace fs = std::filesystem;

/// A scratch folder of this process for the files the cases write, removed at exit.
inline fs::path temp_dir() {
  static const zelvo_test::TempDir dir;
  return dir.path();
}

/// Appends a little-endian 16-bit value.
inline void put16(std::vector<uint8_t>& v, unsigned x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
/// Appends a little-endian 32-bit value.
inline void put32(std::vector<uint8_t>& v, uint32_t x) {
  put16(v, x & 0xFFFF);
  put16(v, x >> 16);
}

/// One BMP-format image of a cursor or icon entry. `pixel(x, y)` gives a palette index (bits <= 8)
/// or 0xAARRGGBB; `masked(x, y)` the AND-mask bit. Rows are written bottom-up as the format wants.
template <class Pixel, class Masked>
std::vector<uint8_t> entry_image(int w, int h, int bits, const std::vector<uint32_t>& palette,
                                 Pixel pixel, Masked masked) {
  std::vector<uint8_t> v;
  put32(v, 40);
  put32(v, static_cast<uint32_t>(w));
  put32(v, static_cast<uint32_t>(2 * h));
  put16(v, 1);
  put16(v, static_cast<unsigned>(bits));
  for (int i = 0; i < 6; ++i) put32(v, 0);
  for (uint32_t c : palette) put32(v, c & 0xFFFFFF);
  size_t xor_stride = (static_cast<size_t>(w) * bits + 31) / 32 * 4;
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(xor_stride, 0);
    for (int x = 0; x < w; ++x) {
      uint32_t p = pixel(x, y);
      if (bits == 32) {
        for (int k = 0; k < 4; ++k) row[x * 4 + k] = static_cast<uint8_t>(p >> (8 * k));
      } else if (bits == 24) {
        for (int k = 0; k < 3; ++k) row[x * 3 + k] = static_cast<uint8_t>(p >> (8 * k));
      } else {
        size_t bit = static_cast<size_t>(x) * bits;
        row[bit / 8] |= static_cast<uint8_t>(p << (8 - bits - bit % 8));
      }
    }
    v.insert(v.end(), row.begin(), row.end());
  }
  size_t and_stride = (static_cast<size_t>(w) + 31) / 32 * 4;
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(and_stride, 0);
    for (int x = 0; x < w; ++x)
      if (masked(x, y)) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    v.insert(v.end(), row.begin(), row.end());
  }
  return v;
}

/// One entry of a .cur/.ico directory: its size, hot spot and image.
struct FileEntry {
  int w, h, hot_x, hot_y;
  std::vector<uint8_t> image;
};

/// A whole .ico (`type` 1) or .cur (`type` 2) file of these entries.
inline std::vector<uint8_t> directory_file(int type, const std::vector<FileEntry>& entries) {
  std::vector<uint8_t> v;
  put16(v, 0);
  put16(v, static_cast<unsigned>(type));
  put16(v, static_cast<unsigned>(entries.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
  for (const FileEntry& e : entries) {
    v.push_back(static_cast<uint8_t>(e.w));
    v.push_back(static_cast<uint8_t>(e.h));
    v.push_back(0);
    v.push_back(0);
    put16(v, static_cast<unsigned>(e.hot_x));
    put16(v, static_cast<unsigned>(e.hot_y));
    put32(v, static_cast<uint32_t>(e.image.size()));
    put32(v, offset);
    offset += static_cast<uint32_t>(e.image.size());
  }
  for (const FileEntry& e : entries) v.insert(v.end(), e.image.begin(), e.image.end());
  return v;
}

/// A 1-bit 32 x 32 arrow-like cursor: black square at the top left, the rest transparent.
inline std::vector<uint8_t> one_bit_cursor(int hot_x, int hot_y) {
  auto inside = [](int x, int y) { return x < 12 && y < 20; };
  return directory_file(2, {{32, 32, hot_x, hot_y,
                             entry_image(
                                 32, 32, 1, {0x000000, 0xFFFFFF},
                                 [&](int x, int y) { return inside(x, y) && x == 0 ? 1u : 0u; },
                                 [&](int x, int y) { return !inside(x, y); })}});
}

/// Writes `bytes` as `name` in the scratch folder; its path.
inline std::string write_file(const std::string& name, const std::vector<uint8_t>& bytes) {
  fs::path p = temp_dir() / name;
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return p.string();
}

/// The layer's decoding of a cursor or icon file.
inline std::optional<plat::CursorImage> parse(const std::vector<uint8_t>& bytes) {
  return plat::parse_cursor_file(bytes.data(), bytes.size());
}

/// A decoded pixel, 0xAARRGGBB.
inline uint32_t at(const plat::CursorImage& image, int x, int y) {
  return image.argb[static_cast<size_t>(y) * image.width + x];
}

}  // namespace cursor_test
