// Files for the BMP and BitBlt tests, in a private temporary folder: the BMP files themselves come
// from the one writer of tests/support (bmp_writer.h). Standard C++ only: the shared tests use it
// on both platforms.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bmp_writer.h"

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

}  // namespace bmp_test
