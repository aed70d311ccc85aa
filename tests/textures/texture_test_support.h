// Shared by the texture tests: the TGA and BMP writers, a scratch folder and a count of open file
// descriptors (handles on Windows). Message-box capture is in captured_boxes.h.
#pragma once

#ifndef _WIN32
#include <dirent.h>
#endif
#include <windows.h>
#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "temp_dir.h"
#include "tga_writer.h"

namespace tex_test {

using Bytes = std::vector<uint8_t>;

// The one TGA and BMP writers of tests/support.
using zelvo_test::bmp_from_rows;
using zelvo_test::TgaHeader;

inline Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A private folder (tests/support/temp_dir.h) with the texture tests' way of naming and writing its
// files.
class ScratchDir {
 public:
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
  zelvo_test::TempDir dir_;
  std::string path_ = dir_.path().string();
};

// Files the process holds open: its descriptors on Linux, its kernel handles on Windows.
inline int OpenDescriptors() {
#ifdef _WIN32
  DWORD n = 0;
  GetProcessHandleCount(GetCurrentProcess(), &n);
  return static_cast<int>(n);
#else
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d)) ++n;
    closedir(d);
  }
  return n;
#endif
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
