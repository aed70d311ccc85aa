// Minimal BMP and TGA writers for the generated demo textures.
#include "image_writers.h"

#include <cstdio>
#include <cstring>

namespace tools {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

// Pixels of file row `row` (0 = bottom) in BGR(A) order.
std::vector<uint8_t> FileRow(const Image& image, int row, int bytes_per_pixel) {
  std::vector<uint8_t> out(static_cast<size_t>(image.width) * bytes_per_pixel);
  const uint8_t* src = &image.rgba[static_cast<size_t>(image.height - 1 - row) * image.width * 4];
  for (int x = 0; x < image.width; ++x) {
    uint8_t* d = &out[static_cast<size_t>(x) * bytes_per_pixel];
    d[0] = src[4 * x + 2];
    d[1] = src[4 * x + 1];
    d[2] = src[4 * x];
    if (bytes_per_pixel == 4) d[3] = src[4 * x + 3];
  }
  return out;
}

}  // namespace

bool WriteBmp24(const std::string& path, const Image& image) {
  const uint32_t stride = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
  const uint32_t data_size = stride * image.height;
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + data_size);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, image.width);
  Put32(out, image.height);
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);  // BI_RGB
  Put32(out, data_size);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int row = 0; row < image.height; ++row) {
    std::vector<uint8_t> pixels = FileRow(image, row, 3);
    pixels.resize(stride, 0);
    out.insert(out.end(), pixels.begin(), pixels.end());
  }
  return WriteFile(path, out);
}

void EncodeRleRow(const uint8_t* pixels, int count, int bpp, std::vector<uint8_t>& out) {
  auto same = [&](int a, int b) {
    return std::memcmp(pixels + a * bpp, pixels + b * bpp, bpp) == 0;
  };
  int i = 0;
  while (i < count) {
    int run = 1;
    while (i + run < count && run < 128 && same(i, i + run)) ++run;
    if (run >= 2) {
      out.push_back(static_cast<uint8_t>(127 + run));
      out.insert(out.end(), pixels + i * bpp, pixels + (i + 1) * bpp);
      i += run;
      continue;
    }
    // A literal stretch ends where a run of at least two begins.
    int literal = 1;
    while (i + literal < count && literal < 128 &&
           !(i + literal + 1 < count && same(i + literal, i + literal + 1)))
      ++literal;
    out.push_back(static_cast<uint8_t>(literal - 1));
    out.insert(out.end(), pixels + i * bpp, pixels + (i + literal) * bpp);
    i += literal;
  }
}

bool WriteTga(const std::string& path, const Image& image, int bits, bool rle) {
  const int bpp = bits / 8;
  std::vector<uint8_t> out(18, 0);
  out[2] = rle ? 10 : 2;
  out[12] = image.width & 0xFF;
  out[13] = (image.width >> 8) & 0xFF;
  out[14] = image.height & 0xFF;
  out[15] = (image.height >> 8) & 0xFF;
  out[16] = static_cast<uint8_t>(bits);
  out[17] = bits == 32 ? 8 : 0;  // alpha bits; bottom-left origin
  for (int row = 0; row < image.height; ++row) {
    std::vector<uint8_t> pixels = FileRow(image, row, bpp);
    if (rle)
      EncodeRleRow(pixels.data(), image.width, bpp, out);
    else
      out.insert(out.end(), pixels.begin(), pixels.end());
  }
  return WriteFile(path, out);
}

}  // namespace tools
