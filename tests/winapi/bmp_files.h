// BMP files of our own making for the BMP and BitBlt tests, written into a private temporary
// folder. Standard C++ only: the shared tests use it on both platforms.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace bmp_test {

// A private folder for the files of one test program, removed at exit.
inline const std::string& folder() {
  static const std::string dir = [] {
    namespace fs = std::filesystem;
    std::random_device random;
    fs::path d;
    do {
      d = fs::temp_directory_path() / ("zelvo-bmp-" + std::to_string(random()));
    } while (!fs::create_directory(d));
    fs::permissions(d, fs::perms::owner_all);
    static fs::path keep = d;
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(keep, ignored);
    });
    return d.string();
  }();
  return dir;
}

inline std::string path(const std::string& name) { return folder() + "/" + name; }

inline void put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  v[at] = static_cast<uint8_t>(x);
  v[at + 1] = static_cast<uint8_t>(x >> 8);
}
inline void put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

inline void write_file(const std::string& file, const std::vector<uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> read_file(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

// `colours` distinct 0xRRGGBB colours.
inline std::vector<uint32_t> palette(int colours) {
  std::vector<uint32_t> out;
  for (int i = 0; i < colours; ++i)
    out.push_back((static_cast<uint32_t>(i * 97 % 256) << 16) |
                  (static_cast<uint32_t>(i * 53 % 256) << 8) |
                  static_cast<uint32_t>(255 - i * 29 % 256));
  return out;
}

// A BMP file of our own making, for the variants ImageMagick does not write.
struct Writer {
  int width = 0;
  int height = 0;  // negative: top-down
  int bpp = 24;
  uint32_t header_size = 40;
  uint32_t compression = 0;
  std::vector<uint32_t> masks;    // BI_BITFIELDS: written after a 40-byte header or into a V4 one
  std::vector<uint32_t> colours;  // 0xRRGGBB colour table
  std::vector<uint8_t> pixels;    // the pixel array as it goes into the file

  std::vector<uint8_t> bytes() const {
    const bool core = header_size == 12;
    const size_t entry = core ? 3 : 4;
    const size_t mask_bytes = (header_size == 40 && compression == 3) ? 12 : 0;
    const size_t offset = 14 + header_size + mask_bytes + colours.size() * entry;
    std::vector<uint8_t> v(offset + pixels.size());
    v[0] = 'B';
    v[1] = 'M';
    put32(v, 2, static_cast<uint32_t>(v.size()));
    put32(v, 10, static_cast<uint32_t>(offset));
    put32(v, 14, header_size);
    if (core) {
      put16(v, 18, static_cast<uint32_t>(width));
      put16(v, 20, static_cast<uint32_t>(height));
      put16(v, 22, 1);
      put16(v, 24, static_cast<uint32_t>(bpp));
    } else {
      put32(v, 18, static_cast<uint32_t>(width));
      put32(v, 22, static_cast<uint32_t>(height));
      put16(v, 26, 1);
      put16(v, 28, static_cast<uint32_t>(bpp));
      put32(v, 30, compression);
      put32(v, 34, static_cast<uint32_t>(pixels.size()));
      put32(v, 46, static_cast<uint32_t>(colours.size()));
      for (size_t i = 0; i < masks.size(); ++i) put32(v, 14 + 40 + 4 * i, masks[i]);
    }
    size_t at = 14 + header_size + mask_bytes;
    for (uint32_t c : colours) {
      v[at] = static_cast<uint8_t>(c);
      v[at + 1] = static_cast<uint8_t>(c >> 8);
      v[at + 2] = static_cast<uint8_t>(c >> 16);
      at += entry;
    }
    std::memcpy(v.data() + offset, pixels.data(), pixels.size());
    return v;
  }
};

inline size_t stride(int width, int bpp) {
  return (static_cast<size_t>(width) * bpp + 31) / 32 * 4;
}

// Packs palette indices (rows in file order) into padded rows of `bpp` bits.
inline std::vector<uint8_t> pack_indices(const std::vector<int>& indices, int width, int height,
                                         int bpp) {
  const size_t s = stride(width, bpp);
  std::vector<uint8_t> out(s * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int value = indices[static_cast<size_t>(y) * width + x];
      const int per_byte = 8 / bpp;
      const int shift = (per_byte - 1 - x % per_byte) * bpp;
      out[y * s + x / per_byte] |= static_cast<uint8_t>(value << shift);
    }
  return out;
}

}  // namespace bmp_test
