// Helpers of the BMP and BitBlt tests: BMP files written by ImageMagick or by a small writer of our
// own, decoded by independent decoders (stb_image, ImageMagick) to compare against.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace bmp_test {

// A private folder for the files of one test program, removed at exit.
inline const std::string& folder() {
  static std::string dir = [] {
    char pattern[] = "/tmp/zelvo-bmp-XXXXXX";
    std::string d = mkdtemp(pattern);
    static std::string keep = d;
    atexit([] { std::system(("rm -rf '" + keep + "'").c_str()); });
    return d;
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

// A picture of `width` x `height` 0xRRGGBB pixels (rows top first) with `colours` distinct colours,
// laid out so that runs, odd widths and every row differ.
inline std::vector<uint32_t> pattern(int width, int height, int colours) {
  const std::vector<uint32_t> colour = palette(colours);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      pixels[static_cast<size_t>(y) * width + x] =
          colour[static_cast<size_t>((x / 3 + y * 7 + x * y) % colours)];
  return pixels;
}

// Writes a binary PPM that ImageMagick turns into BMP files.
inline void write_ppm(const std::string& file, int width, int height,
                      const std::vector<uint32_t>& rgb) {
  std::string head = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  std::vector<uint8_t> bytes(head.begin(), head.end());
  for (uint32_t p : rgb) {
    bytes.push_back(static_cast<uint8_t>(p >> 16));
    bytes.push_back(static_cast<uint8_t>(p >> 8));
    bytes.push_back(static_cast<uint8_t>(p));
  }
  write_file(file, bytes);
}

inline bool run(const std::string& command) {
  return std::system((command + " 2>/dev/null").c_str()) == 0;
}

// Decoded by stb_image: 0xRRGGBB pixels, rows top first; empty when stb refuses the file.
inline std::vector<uint32_t> stb_rgb(const std::string& file, int* width = nullptr,
                                     int* height = nullptr) {
  int w = 0, h = 0, n = 0;
  unsigned char* data = stbi_load(file.c_str(), &w, &h, &n, 4);
  std::vector<uint32_t> out;
  if (!data) return out;
  for (int i = 0; i < w * h; ++i)
    out.push_back((uint32_t{data[4 * i]} << 16) | (uint32_t{data[4 * i + 1]} << 8) |
                  data[4 * i + 2]);
  stbi_image_free(data);
  if (width) *width = w;
  if (height) *height = h;
  return out;
}

// Decoded by ImageMagick (`convert file rgb:...`, 8 bits per channel): rows top first. Its status
// is not used: it decodes some valid RLE4 streams fully and still reports an early end of file.
inline std::vector<uint32_t> magick_rgb(const std::string& file) {
  std::string out_file = file + ".rgb";
  std::vector<uint32_t> out;
  std::remove(out_file.c_str());
  run("convert '" + file + "' -depth 8 rgb:'" + out_file + "'");
  std::vector<uint8_t> bytes = read_file(out_file);
  for (size_t i = 0; i + 2 < bytes.size(); i += 3)
    out.push_back((uint32_t{bytes[i]} << 16) | (uint32_t{bytes[i + 1]} << 8) | bytes[i + 2]);
  return out;
}

// Writes several BMP files from one picture in one ImageMagick run (it is slow to start): each
// entry is the options for one file, ending with the format prefix, and the file name.
inline bool magick_write_all(const std::string& source,
                             const std::vector<std::pair<std::string, std::string>>& outputs) {
  // Each file's settings stay inside its parentheses.
  std::string command = "convert -respect-parentheses '" + source + "'";
  for (const auto& [options, file] : outputs) {
    const size_t space = options.rfind(' ');
    const std::string settings = space == std::string::npos ? "" : options.substr(0, space);
    const std::string format = space == std::string::npos ? options : options.substr(space + 1);
    command += " \\( +clone " + settings + " -write " + format + "'" + file + "' +delete \\)";
  }
  return run(command + " null:");
}

// Decodes several files in one ImageMagick run; an empty result for a file it cannot read.
inline std::vector<std::vector<uint32_t>> magick_rgb_all(const std::vector<std::string>& files) {
  std::string command = "convert";
  for (const std::string& f : files) command += " '" + f + "'";
  const std::string pattern = folder() + "/decoded-%d.rgb";
  for (size_t i = 0; i < files.size(); ++i)
    std::remove((folder() + "/decoded-" + std::to_string(i) + ".rgb").c_str());
  run(command + " -depth 8 +adjoin rgb:'" + pattern + "'");
  std::vector<std::vector<uint32_t>> out;
  for (size_t i = 0; i < files.size(); ++i) {
    std::vector<uint8_t> bytes = read_file(folder() + "/decoded-" + std::to_string(i) + ".rgb");
    std::vector<uint32_t> pixels;
    for (size_t k = 0; k + 2 < bytes.size(); k += 3)
      pixels.push_back((uint32_t{bytes[k]} << 16) | (uint32_t{bytes[k + 1]} << 8) | bytes[k + 2]);
    out.push_back(pixels);
  }
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
