// BMP files of every kind the framework's files can be, loaded as DIB sections with LoadImageA and
// read back through the section's own bits, colour table and masks, against stb_image decoding the
// same file (run-length files, which stb_image does not read, against the pixels their streams
// name). Under Wine this judges our decoder's expectations against Windows' own LoadImageA.
#include <gtest/gtest.h>
#include <windows.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb/stb_image.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "bmp_files.h"
#include "wine_differences.h"

namespace {

using bmp_test::path;
using Pixels = std::vector<uint32_t>;  // 0xRRGGBB, top row first

int bit_count(uint32_t mask) {
  int n = 0;
  for (; mask; mask &= mask - 1) ++n;
  return n;
}
int low_bit(uint32_t mask) {
  int n = 0;
  while (mask && !(mask & 1)) mask >>= 1, ++n;
  return n;
}

// A channel of `bits` bits widened to 8 by repeating its bits, as both stb_image and GDI do.
uint32_t widen(uint32_t value, uint32_t mask) {
  if (!mask) return 0;
  const int bits = bit_count(mask);
  const uint32_t x = (value & mask) >> low_bit(mask);
  if (bits >= 8) return x >> (bits - 8);
  uint32_t out = 0;
  int filled = 0;
  for (; filled < 8; filled += bits) out = (out << bits) | x;
  return out >> (filled - 8);
}

// What LoadImageA made of `file`: the section's format and its pixels, decoded here from the bits,
// the colour table and the masks the section reports.
struct Section {
  bool loaded = false;
  int width = 0, height = 0, bpp = 0;
  Pixels rgb;
};

Section load_section(const std::string& file) {
  Section out;
  HBITMAP bitmap = (HBITMAP)LoadImageA(HINSTANCE{}, file.c_str(), IMAGE_BITMAP, 0, 0,
                                       LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  if (!bitmap) return out;
  DIBSECTION ds{};
  if (GetObjectA(bitmap, sizeof ds, &ds) != static_cast<int>(sizeof ds) || !ds.dsBm.bmBits) {
    DeleteObject(bitmap);
    return out;
  }
  out.loaded = true;
  out.width = ds.dsBm.bmWidth;
  out.height = ds.dsBm.bmHeight;
  out.bpp = ds.dsBm.bmBitsPixel;
  RGBQUAD table[256] = {};
  if (out.bpp <= 8) {
    HDC dc = CreateCompatibleDC(HDC{});
    HGDIOBJ old = SelectObject(dc, bitmap);
    GetDIBColorTable(dc, 0, 256, table);
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  uint32_t masks[3] = {0xFF0000, 0xFF00, 0xFF};
  if (out.bpp == 16) masks[0] = 0x7C00, masks[1] = 0x3E0, masks[2] = 0x1F;
  if (ds.dsBmih.biCompression == BI_BITFIELDS)
    for (int i = 0; i < 3; ++i) masks[i] = ds.dsBitfields[i];
  const bool top_down = ds.dsBmih.biHeight < 0;
  const auto* bits = static_cast<const uint8_t*>(ds.dsBm.bmBits);
  for (int y = 0; y < out.height; ++y) {
    const uint8_t* row =
        bits + static_cast<size_t>(ds.dsBm.bmWidthBytes) * (top_down ? y : out.height - 1 - y);
    for (int x = 0; x < out.width; ++x) {
      uint32_t v = 0;
      switch (out.bpp) {
        case 1:
        case 4:
        case 8: {
          const int per_byte = 8 / out.bpp;
          v = (row[x / per_byte] >> ((per_byte - 1 - x % per_byte) * out.bpp)) &
              ((1u << out.bpp) - 1);
          const RGBQUAD q = table[v];
          out.rgb.push_back((uint32_t{q.rgbRed} << 16) | (q.rgbGreen << 8) | q.rgbBlue);
          continue;
        }
        case 16:
          v = row[2 * x] | (row[2 * x + 1] << 8);
          break;
        case 24:
          v = row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16);
          break;
        case 32:
          std::memcpy(&v, row + 4 * x, 4);
          break;
      }
      out.rgb.push_back((widen(v, masks[0]) << 16) | (widen(v, masks[1]) << 8) |
                        widen(v, masks[2]));
    }
  }
  DeleteObject(bitmap);
  return out;
}

// stb_image's reading of the same file.
Pixels stb_rgb(const std::string& file, int* width, int* height) {
  int channels = 0;
  stbi_uc* data = stbi_load(file.c_str(), width, height, &channels, 3);
  if (!data) return {};
  Pixels out(static_cast<size_t>(*width) * *height);
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = (uint32_t{data[3 * i]} << 16) | (data[3 * i + 1] << 8) | data[3 * i + 2];
  stbi_image_free(data);
  return out;
}

// A picture of `colours` distinct colours with flat stretches and single pixels.
Pixels picture(int w, int h, const std::vector<uint32_t>& colours) {
  Pixels out;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      out.push_back(colours[static_cast<size_t>((x / 3 + y * 5 + x * y) % colours.size())]);
  return out;
}

// The picture's pixels in the file layout of `bpp` (rows bottom-up unless `top_down`): palette
// indices into `colours`, or channels narrowed into `masks`.
zelvo_test::Bytes encode(const Pixels& rgb, int w, int h, int bpp, bool top_down,
                         const std::vector<uint32_t>& colours, const uint32_t masks[3]) {
  const size_t stride = zelvo_test::bmp_stride(w, bpp);
  zelvo_test::Bytes out(stride * h);
  auto narrow = [](uint32_t v8, uint32_t mask) {
    const int bits = bit_count(mask);
    return ((bits <= 8 ? v8 >> (8 - bits) : v8 << (bits - 8)) << low_bit(mask)) & mask;
  };
  for (int file_row = 0; file_row < h; ++file_row) {
    const int y = top_down ? file_row : h - 1 - file_row;
    uint8_t* row = out.data() + stride * file_row;
    for (int x = 0; x < w; ++x) {
      const uint32_t p = rgb[static_cast<size_t>(y) * w + x];
      if (bpp <= 8) {
        const int index =
            static_cast<int>(std::find(colours.begin(), colours.end(), p) - colours.begin());
        const int per_byte = 8 / bpp;
        row[x / per_byte] |= static_cast<uint8_t>(index << ((per_byte - 1 - x % per_byte) * bpp));
      } else {
        const uint32_t v = narrow((p >> 16) & 255, masks[0]) | narrow((p >> 8) & 255, masks[1]) |
                           narrow(p & 255, masks[2]);
        for (int k = 0; k < bpp / 8; ++k) row[bpp / 8 * x + k] = static_cast<uint8_t>(v >> (8 * k));
      }
    }
  }
  return out;
}

struct Variant {
  const char* name;
  int bpp;
  bool top_down;
  uint32_t compression = BI_RGB;
  uint32_t header = 40;
  std::vector<uint32_t> masks = {};  // written for BI_BITFIELDS; the layout's masks otherwise
  int colours = 0;                   // palette entries written (0: every entry of the depth)
};

const uint32_t kRgb24[3] = {0xFF0000, 0xFF00, 0xFF};
const uint32_t kRgb555[3] = {0x7C00, 0x3E0, 0x1F};

// Writes each variant in a few sizes (odd widths give padded rows) and compares what LoadImageA
// gives with what stb_image reads from the same file.
void expect_like_stb(const std::vector<Variant>& variants) {
  for (const Variant& v : variants) {
    for (auto [w, h] : {std::pair{1, 1}, {7, 5}, {33, 4}}) {
      SCOPED_TRACE(std::string(v.name) + " " + std::to_string(w) + "x" + std::to_string(h));
      const int entries = v.bpp <= 8 ? (v.colours ? v.colours : 1 << v.bpp) : 0;
      std::vector<uint32_t> colours = bmp_test::palette(v.bpp <= 8 ? entries : 300);
      if (v.bpp == 16)  // colours a 16-bit pixel holds exactly
        for (uint32_t& c : colours) c &= 0xF8F8F8;
      const Pixels rgb = picture(w, h, colours);
      zelvo_test::BmpFile writer;
      writer.width = w;
      writer.height = v.top_down ? -h : h;
      writer.bpp = v.bpp;
      writer.header_size = v.header;
      writer.compression = v.compression;
      if (v.compression == BI_BITFIELDS) writer.masks = v.masks;
      if (v.bpp <= 8) writer.colours = colours;
      const uint32_t* masks = v.bpp == 16 ? kRgb555 : kRgb24;
      if (!v.masks.empty()) masks = v.masks.data();
      writer.pixels = encode(rgb, w, h, v.bpp, v.top_down, colours, masks);
      const std::string file = path("oracle.bmp");
      bmp_test::write_file(file, writer.bytes());

      int stb_w = 0, stb_h = 0;
      const Pixels oracle = stb_rgb(file, &stb_w, &stb_h);
      Pixels significant = oracle;
      if (v.bpp == 16)  // stb_image widens 5 and 6 bits by repeating their high bits
        for (uint32_t& p : significant) p &= 0xF8F8F8;
      ASSERT_EQ(significant, rgb) << "stb_image must read the file as written";
      const Section section = load_section(file);
      ASSERT_TRUE(section.loaded);
      EXPECT_EQ(section.width, w);
      EXPECT_EQ(section.height, h);
      EXPECT_EQ(section.bpp, v.bpp);
      const Pixels& got = section.rgb;
      int wrong = 0;
      for (size_t i = 0; i < got.size() && i < oracle.size(); ++i)
        if (got[i] != oracle[i] && ++wrong <= 3)
          ADD_FAILURE() << "pixel " << i % w << "," << i / w << ": " << std::hex << got[i]
                        << " instead of " << oracle[i];
      EXPECT_EQ(got.size(), oracle.size());
      EXPECT_EQ(wrong, 0);
    }
  }
}

TEST(BmpOracle, PaletteFilesDecodeLikeStbImage) {
  expect_like_stb({
      {"1-bit", 1, false},
      {"4-bit", 4, false},
      {"4-bit, 5 colours given", 4, false, BI_RGB, 40, {}, 5},
      {"8-bit", 8, false},
      {"8-bit, 20 colours given", 8, false, BI_RGB, 40, {}, 20},
  });
}

TEST(BmpOracle, TrueColourFilesDecodeLikeStbImage) {
  expect_like_stb({
      {"24-bit", 24, false},
      {"32-bit", 32, false},
      {"16-bit without masks is 5-5-5", 16, false},
  });
}

TEST(BmpOracle, BitfieldFilesDecodeLikeStbImage) {
  expect_like_stb({
      {"16-bit 5-5-5 in masks", 16, false, BI_BITFIELDS, 40, {0x7C00, 0x3E0, 0x1F}},
      {"32-bit, red in the low byte, V4 header",
       32,
       false,
       BI_BITFIELDS,
       108,
       {0xFF, 0xFF00, 0xFF0000}},
      {"32-bit, the usual order", 32, false, BI_BITFIELDS, 40, {0xFF0000, 0xFF00, 0xFF}},
  });
}

// The section keeps green's sixth bit: its low bits repeat the six, as stb_image widens them.
TEST(BmpOracle, FiveSixFiveFileKeepsItsSixGreenBits) {
  SKIP_UNDER_WINE("LoadImageA makes a 5-6-5 file a 5-5-5 section (number 20 in docs/windows.md)");
  expect_like_stb({{"16-bit 5-6-5", 16, false, BI_BITFIELDS, 40, {0xF800, 0x7E0, 0x1F}}});
}

TEST(BmpOracle, TopDownFilesDecodeLikeStbImage) {
  SKIP_UNDER_WINE("a top-down file's picture is lost by LoadImageA (number 12 in docs/windows.md)");
  expect_like_stb({
      {"1-bit", 1, true},
      {"4-bit", 4, true},
      {"8-bit", 8, true},
      {"24-bit", 24, true},
      {"32-bit", 32, true},
      {"16-bit 5-6-5", 16, true, BI_BITFIELDS, 40, {0xF800, 0x7E0, 0x1F}},
  });
}

// Run-length files: stb_image reads none, so the oracle is the pixels each stream names. Runs,
// literals with their padding, end of line, delta and end of picture.
TEST(BmpOracle, RunLengthFilesDecodeToTheirStreams) {
  const std::vector<uint32_t> colours = bmp_test::palette(16);
  for (const bmp_test::RleStream& s : bmp_test::rle_streams()) {
    SCOPED_TRACE(s.name);
    zelvo_test::BmpFile writer;
    writer.width = s.width;
    writer.height = s.height;
    writer.bpp = s.bpp;
    writer.compression = s.bpp == 8 ? BI_RLE8 : BI_RLE4;
    writer.colours = colours;
    writer.pixels = s.data;
    const std::string file = path("rle.bmp");
    bmp_test::write_file(file, writer.bytes());
    const Section section = load_section(file);
    ASSERT_TRUE(section.loaded);
    EXPECT_EQ(section.width, s.width);
    EXPECT_EQ(section.height, s.height);
    Pixels expected;
    for (int y = s.height - 1; y >= 0; --y)
      for (int x = 0; x < s.width; ++x)
        expected.push_back(colours[static_cast<size_t>(s.indices[y * s.width + x])]);
    EXPECT_EQ(section.rgb, expected);
  }
}

}  // namespace
