// Shared by the texture tests: TGA files built byte by byte, a scratch folder and a count of open
// file descriptors. Message-box capture is in captured_boxes.h.
#pragma once

#include <dirent.h>
#include <windows.h>
#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace tex_test {

using Bytes = std::vector<uint8_t>;

// The 18-byte header of a type 2 or type 10 true-colour file.
inline Bytes TgaHeader(uint8_t type, uint16_t width, uint16_t height, uint8_t bits,
                       uint8_t descriptor = 0) {
  Bytes h(18, 0);
  h[2] = type;
  h[12] = width & 0xFF;
  h[13] = width >> 8;
  h[14] = height & 0xFF;
  h[15] = height >> 8;
  h[16] = bits;
  h[17] = descriptor;
  return h;
}

// A BMP file with a 40-byte info header. `rows` holds the file's rows bottom row first, each
// width x bits / 8 bytes without padding; 8-bit files get a grey colour table.
inline Bytes Bmp(int bits, int width, int height, const Bytes& rows, uint32_t info_size = 40) {
  const int row_bytes = width * bits / 8;
  const int stride = (row_bytes + 3) & ~3;
  const uint32_t table = bits <= 8 ? (1u << bits) * 4 : 0;
  const uint32_t offset = 14 + 40 + table;
  Bytes out;
  auto put16 = [&](uint32_t v) { out.push_back(v & 0xFF), out.push_back((v >> 8) & 0xFF); };
  auto put32 = [&](uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
  out.push_back('B');
  out.push_back('M');
  put32(offset + stride * height);
  put32(0);
  put32(offset);
  put32(info_size);
  put32(width);
  put32(height);
  put16(1);
  put16(bits);
  for (uint32_t v : {0u, uint32_t(stride * height), 2835u, 2835u, 0u, 0u}) put32(v);
  for (uint32_t i = 0; i < table / 4; ++i)
    out.insert(out.end(), {uint8_t(i), uint8_t(i), uint8_t(i), 0});
  for (int y = 0; y < height; ++y) {
    out.insert(out.end(), rows.begin() + y * row_bytes, rows.begin() + (y + 1) * row_bytes);
    out.insert(out.end(), stride - row_bytes, 0);
  }
  return out;
}

inline Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class ScratchDir {
 public:
  ScratchDir() {
    namespace fs = std::filesystem;
    std::random_device random;
    fs::path dir;
    do {
      dir = fs::temp_directory_path() / ("zelvo-tex-" + std::to_string(random()));
    } while (!fs::create_directory(dir));
    fs::permissions(dir, fs::perms::owner_all);
    path_ = dir.string();
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  std::string Write(const std::string& name, const Bytes& bytes) const {
    std::string file = File(name);
    FILE* f = std::fopen(file.c_str(), "wb");
    if (f) {
      if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
    return file;
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

inline int OpenDescriptors() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d)) ++n;
    closedir(d);
  }
  return n;
}

// What GL holds for the texture bound to GL_TEXTURE_2D.
inline GLint TexLevelWidth(int level) {
  GLint w = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
  return w;
}

inline GLint BoundTexture() {
  GLint name = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
  return name;
}

inline Bytes TexImage(GLenum format, int level, size_t size) {
  Bytes out(size, 0xEE);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, out.data());
  return out;
}

}  // namespace tex_test
