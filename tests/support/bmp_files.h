// Files for the BMP and BitBlt tests, in a private temporary folder (temp_dir.h): the BMP files
// themselves come from the one writer (bmp_writer.h). Standard C++ only: the Windows behaviour
// tests use it on both platforms.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "temp_dir.h"

namespace bmp_test {

// A private folder for the files of one test program, removed at exit.
inline const std::string& folder() {
  static const zelvo_test::TempDir dir;
  static const std::string name = dir.path().string();
  return name;
}

inline std::string path(const std::string& name) { return folder() + "/" + name; }

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

// A run-length stream written by hand and the colour indices it names.
struct RleStream {
  const char* name;
  int bpp, width, height;
  std::vector<uint8_t> data;
  std::vector<int> indices;  // rows bottom first
};

// Runs, literals with their padding, end of line, delta and end of picture, at 8 and 4 bits.
inline std::vector<RleStream> rle_streams() {
  return {
      {"RLE8 runs and literals",
       8,
       5,
       2,
       {2, 7, 0, 3, 1, 2, 4, 0, 0, 0, /*row 1*/ 2, 9, 0, 0, /*end*/ 0, 1},
       {7, 7, 1, 2, 4, 9, 9, 0, 0, 0}},
      {"RLE8 delta and early end",
       8,
       4,
       3,
       {1, 5, 0, 2, 2, 1, 1, 6, 0, 1},
       {5, 0, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0}},
      {"RLE4 alternating runs and an odd literal",
       4,
       7,
       2,
       {4, 0x12, 0, 3, 0xAB, 0xC0, 0, 0, 0, 4, 0x34, 0x5F, 0, 1},
       {1, 2, 1, 2, 0xA, 0xB, 0xC, 3, 4, 5, 0xF, 0, 0, 0}},
  };
}

}  // namespace bmp_test
