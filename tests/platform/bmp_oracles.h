// Helpers of the BMP and BitBlt tests on our layer: BMP files written by ImageMagick (our own
// writer is tests/support/bmp_writer.h), decoded by independent decoders (stb_image, ImageMagick)
// to compare against.
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
// Static: both BMP test files of the area include the decoder into one program.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

#include "bmp_files.h"

namespace bmp_test {

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

}  // namespace bmp_test
