// Writes BMP files of every depth the controls read, from an RGB picture given top row first.
// Palettized depths take their colour table from the picture's distinct colours (in order of first
// appearance), so a picture must not use more colours than the depth holds.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace ctrl_test {

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // row-major, top row first

  Picture(int w, int h, Rgb fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
  Rgb& at(int x, int y) { return pixels[size_t(y) * width + x]; }
  const Rgb& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

inline constexpr Rgb kMagenta{255, 0, 255};

namespace detail {
inline void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
inline void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
}  // namespace detail

// The bytes of a bottom-up BI_RGB BMP (BITMAPINFOHEADER) of `bits` per pixel: 1, 4, 8, 16 (5-5-5),
// 24 or 32. `table` overrides the palette of palettized depths (the picture's colours must be in
// it).
inline std::vector<uint8_t> EncodeBmp(const Picture& picture, int bits,
                                      std::vector<Rgb> table = {}) {
  const bool indexed = bits <= 8;
  if (indexed && table.empty()) {
    for (const Rgb& c : picture.pixels) {
      bool known = false;
      for (const Rgb& t : table) known = known || t == c;
      if (!known) table.push_back(c);
    }
  }
  if (indexed && table.size() > (size_t{1} << bits)) throw std::runtime_error("too many colours");
  auto index_of = [&](const Rgb& c) {
    for (size_t i = 0; i < table.size(); ++i)
      if (table[i] == c) return uint32_t(i);
    throw std::runtime_error("colour not in table");
  };

  const uint32_t stride = ((uint32_t(picture.width) * bits + 31) / 32) * 4;
  const uint32_t image_size = stride * picture.height;
  const uint32_t table_bytes = indexed ? uint32_t(table.size()) * 4 : 0;
  const uint32_t offset = 14 + 40 + table_bytes;

  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  detail::put32(out, offset + image_size);
  detail::put32(out, 0);
  detail::put32(out, offset);
  detail::put32(out, 40);
  detail::put32(out, uint32_t(picture.width));
  detail::put32(out, uint32_t(picture.height));
  detail::put16(out, 1);
  detail::put16(out, uint32_t(bits));
  detail::put32(out, 0);  // BI_RGB
  detail::put32(out, image_size);
  detail::put32(out, 2835);
  detail::put32(out, 2835);
  detail::put32(out, indexed ? uint32_t(table.size()) : 0);
  detail::put32(out, 0);
  for (const Rgb& c : table) {
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    out.push_back(0);
  }
  for (int y = picture.height - 1; y >= 0; --y) {
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < picture.width; ++x) {
      const Rgb& c = picture.at(x, y);
      switch (bits) {
        case 1:
          row[x / 8] |= uint8_t(index_of(c) << (7 - x % 8));
          break;
        case 4:
          row[x / 2] |= uint8_t(index_of(c) << (x % 2 ? 0 : 4));
          break;
        case 8:
          row[x] = uint8_t(index_of(c));
          break;
        case 16: {
          const uint32_t v = (uint32_t(c.r >> 3) << 10) | (uint32_t(c.g >> 3) << 5) | (c.b >> 3);
          row[x * 2] = uint8_t(v);
          row[x * 2 + 1] = uint8_t(v >> 8);
          break;
        }
        case 24:
          row[x * 3] = c.b;
          row[x * 3 + 1] = c.g;
          row[x * 3 + 2] = c.r;
          break;
        case 32:
          row[x * 4] = c.b;
          row[x * 4 + 1] = c.g;
          row[x * 4 + 2] = c.r;
          row[x * 4 + 3] = 0;
          break;
        default:
          throw std::runtime_error("unsupported depth");
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

inline void WriteBmp(const std::string& path, const Picture& picture, int bits = 24,
                     std::vector<Rgb> table = {}) {
  WriteFile(path, EncodeBmp(picture, bits, std::move(table)));
}

}  // namespace ctrl_test
