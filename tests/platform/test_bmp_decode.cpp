// The BMP reader against independent decoders: files written by ImageMagick and by our own writer,
// at every depth and layout, must decode to the pixels stb_image and ImageMagick see; broken files
// must be refused without reading past their end.
#include <gtest/gtest.h>

#include <map>

#include "bmp_decode.h"
#include "bmp_oracles.h"

namespace {

using bmp_test::path;

// Our bitmap as 0xRRGGBB, rows top first, decoded here independently of the library's converters.
std::vector<uint32_t> our_rgb(const plat::Bitmap& b) {
  auto widen = [](uint32_t v, uint32_t mask) -> uint32_t {
    if (mask == 0) return 0;
    int shift = __builtin_ctz(mask), bits = __builtin_popcount(mask);
    uint32_t x = (v & mask) >> shift;
    if (bits >= 8) return x >> (bits - 8);
    uint32_t out = 0;
    int filled = 0;
    for (; filled < 8; filled += bits) out = (out << bits) | x;
    return out >> (filled - 8);
  };
  std::vector<uint32_t> out;
  for (int y = 0; y < b.height; ++y) {
    const uint8_t* row = b.bits() + b.stride * static_cast<size_t>(b.height - 1 - y);
    for (int x = 0; x < b.width; ++x) {
      uint32_t v = 0;
      switch (b.bits_per_pixel) {
        case 1:
          v = (row[x / 8] >> (7 - x % 8)) & 1;
          break;
        case 4:
          v = (row[x / 2] >> (x % 2 ? 0 : 4)) & 15;
          break;
        case 8:
          v = row[x];
          break;
        case 16:
          v = row[2 * x] | (row[2 * x + 1] << 8);
          break;
        case 24:
          out.push_back((row[3 * x + 2] << 16) | (row[3 * x + 1] << 8) | row[3 * x]);
          continue;
        case 32:
          std::memcpy(&v, row + 4 * x, 4);
          break;
      }
      if (b.bits_per_pixel <= 8) {
        const RGBQUAD q = v < b.colors.size() ? b.colors[v] : RGBQUAD{0, 0, 0, 0};
        out.push_back((uint32_t{q.rgbRed} << 16) | (q.rgbGreen << 8) | q.rgbBlue);
      } else {
        out.push_back((widen(v, b.masks[0]) << 16) | (widen(v, b.masks[1]) << 8) |
                      widen(v, b.masks[2]));
      }
    }
  }
  return out;
}

std::unique_ptr<plat::Bitmap> decode_file(const std::string& file) {
  std::vector<uint8_t> bytes = bmp_test::read_file(file);
  return plat::bmp_decode(bytes.data(), bytes.size());
}

struct MagickCase {
  const char* name;
  int colours;
  const char* options;  // for convert, ending with the output format prefix
  int bpp;
  uint32_t compression;
  bool stb;  // stb_image reads it (it does not do RLE)
};

const MagickCase kMagickCases[] = {
    {"24-bit", 500, "-type TrueColor BMP3:", 24, BI_RGB, true},
    {"32-bit bitfields, V5", 500, "-type TrueColorAlpha BMP:", 32, BI_BITFIELDS, true},
    {"8-bit palette", 200, "-type Palette -compress None BMP3:", 8, BI_RGB, true},
    {"4-bit palette", 12, "-type Palette -compress None BMP3:", 4, BI_RGB, true},
    {"1-bit palette", 2, "-type Palette -compress None BMP3:", 1, BI_RGB, true},
    {"16-bit 5-6-5", 500, "-define bmp:subtype=RGB565 BMP:", 16, BI_BITFIELDS, true},
    {"16-bit 5-5-5", 500, "-define bmp:subtype=RGB555 BMP:", 16, BI_BITFIELDS, true},
    {"8-bit RLE", 40, "-type Palette -compress RLE BMP3:", 8, BI_RLE8, false},
    // stb_image miscounts the colour tables of OS/2 core files, so only ImageMagick judges them.
    {"OS/2 core 8-bit", 200, "-type Palette BMP2:", 8, BI_RGB, false},
    {"OS/2 core 24-bit", 500, "-type TrueColor BMP2:", 24, BI_RGB, true},
};

TEST(BmpDecode, ImageMagickFilesMatchStbAndImageMagick) {
  for (auto [w, h] : {std::pair{1, 1}, {13, 7}}) {
    // One picture per colour count, written in one run per picture and all decoded in one run.
    std::map<int, std::vector<std::pair<std::string, std::string>>> outputs;
    std::vector<std::string> files;
    for (size_t i = 0; i < std::size(kMagickCases); ++i) {
      files.push_back(path("magick" + std::to_string(i) + ".bmp"));
      outputs[kMagickCases[i].colours].push_back({kMagickCases[i].options, files.back()});
    }
    for (const auto& [colours, list] : outputs) {
      const std::string ppm = path("src.ppm");
      bmp_test::write_ppm(ppm, w, h, bmp_test::pattern(w, h, colours));
      ASSERT_TRUE(bmp_test::magick_write_all(ppm, list));
    }
    const std::vector<std::vector<uint32_t>> magick = bmp_test::magick_rgb_all(files);
    for (size_t i = 0; i < std::size(kMagickCases); ++i) {
      const MagickCase& c = kMagickCases[i];
      SCOPED_TRACE(std::string(c.name) + " " + std::to_string(w) + "x" + std::to_string(h));
      auto bitmap = decode_file(files[i]);
      ASSERT_NE(bitmap, nullptr);
      if (w * h >= c.colours) {
        EXPECT_EQ(bitmap->bits_per_pixel, c.bpp);
      }
      EXPECT_EQ(bitmap->width, w);
      EXPECT_EQ(bitmap->height, h);
      EXPECT_EQ(bitmap->stride, zelvo_test::bmp_stride(w, bitmap->bits_per_pixel));
      std::vector<uint32_t> ours = our_rgb(*bitmap);
      EXPECT_EQ(ours, magick[i]);
      const std::vector<uint8_t> bytes = bmp_test::read_file(files[i]);
      if (bytes[14] != 12) {
        EXPECT_EQ(bytes[30], c.compression);
      }
      if (c.stb) {  // stb_image reads no RLE
        EXPECT_EQ(ours, bmp_test::stb_rgb(files[i]));
      }
    }
  }
}

// Pixels of a picture in the layout of `bpp`, rows in file order (bottom-up unless top_down).
std::vector<uint8_t> encode(const std::vector<uint32_t>& rgb, int w, int h, int bpp, bool top_down,
                            const std::vector<uint32_t>& colours,
                            const std::vector<uint32_t>& masks) {
  const size_t s = zelvo_test::bmp_stride(w, bpp);
  std::vector<uint8_t> out(s * h);
  auto narrow = [](uint32_t v8, uint32_t mask) {
    int shift = __builtin_ctz(mask), bits = __builtin_popcount(mask);
    return ((bits <= 8 ? v8 >> (8 - bits) : v8 << (bits - 8)) << shift) & mask;
  };
  for (int fy = 0; fy < h; ++fy) {
    const int y = top_down ? fy : h - 1 - fy;
    uint8_t* row = out.data() + s * fy;
    for (int x = 0; x < w; ++x) {
      const uint32_t p = rgb[static_cast<size_t>(y) * w + x];
      if (bpp <= 8) {
        const int index =
            static_cast<int>(std::find(colours.begin(), colours.end(), p) - colours.begin());
        const int per_byte = 8 / bpp;
        row[x / per_byte] |= static_cast<uint8_t>(index << ((per_byte - 1 - x % per_byte) * bpp));
      } else if (bpp == 24) {
        row[3 * x] = static_cast<uint8_t>(p);
        row[3 * x + 1] = static_cast<uint8_t>(p >> 8);
        row[3 * x + 2] = static_cast<uint8_t>(p >> 16);
      } else {
        const uint32_t v = narrow((p >> 16) & 255, masks[0]) | narrow((p >> 8) & 255, masks[1]) |
                           narrow(p & 255, masks[2]);
        for (int k = 0; k < bpp / 8; ++k) row[bpp / 8 * x + k] = static_cast<uint8_t>(v >> (8 * k));
      }
    }
  }
  return out;
}

TEST(BmpDecode, OwnWriterVariantsMatchStbAndImageMagick) {
  struct Variant {
    const char* name;
    int bpp;
    uint32_t header;
    uint32_t compression;
    std::vector<uint32_t> masks;
    bool top_down;
  };
  const std::vector<Variant> variants = {
      {"top-down 1", 1, 40, BI_RGB, {}, true},
      {"top-down 4", 4, 40, BI_RGB, {}, true},
      {"top-down 8", 8, 40, BI_RGB, {}, true},
      {"top-down 24", 24, 40, BI_RGB, {}, true},
      {"top-down 32", 32, 40, BI_RGB, {0xFF0000, 0xFF00, 0xFF}, true},
      {"16-bit BI_RGB is 5-5-5", 16, 40, BI_RGB, {0x7C00, 0x3E0, 0x1F}, false},
      {"16-bit bitfields 5-6-5 after a 40-byte header",
       16,
       40,
       BI_BITFIELDS,
       {0xF800, 0x7E0, 0x1F},
       false},
      {"32-bit bitfields in a V4 header", 32, 108, BI_BITFIELDS, {0xFF, 0xFF00, 0xFF0000}, false},
      {"top-down 16-bit bitfields", 16, 40, BI_BITFIELDS, {0xF800, 0x7E0, 0x1F}, true},
      {"OS/2 core 4-bit", 4, 12, BI_RGB, {}, false},
      {"OS/2 core 1-bit", 1, 12, BI_RGB, {}, false},
  };
  std::vector<std::string> magick_files, magick_names;
  std::vector<std::vector<uint32_t>> magick_expected;
  for (const Variant& v : variants) {
    for (auto [w, h] : {std::pair{1, 2}, {7, 5}, {33, 4}}) {
      SCOPED_TRACE(std::string(v.name) + " " + std::to_string(w) + "x" + std::to_string(h));
      const int colours = v.bpp <= 8 ? std::min(1 << v.bpp, 11) : 300;
      std::vector<uint32_t> rgb = bmp_test::pattern(w, h, colours);
      // Colours a 16-bit pixel can hold exactly, so that no oracle has to round.
      if (v.bpp == 16)
        for (uint32_t& p : rgb) p &= 0xF8F8F8;
      zelvo_test::BmpFile writer;
      writer.width = w;
      writer.height = v.top_down ? -h : h;
      writer.bpp = v.bpp;
      writer.header_size = v.header;
      writer.compression = v.compression;
      if (v.compression == BI_BITFIELDS) writer.masks = v.masks;
      if (v.bpp <= 8) writer.colours = bmp_test::palette(colours);
      writer.pixels = encode(rgb, w, h, v.bpp, v.top_down, writer.colours, v.masks);
      if (v.header == 12) writer.colours.resize(size_t{1} << v.bpp);  // core tables are always full
      const std::string file = path("own.bmp");
      bmp_test::write_file(file, writer.bytes());

      auto bitmap = decode_file(file);
      ASSERT_NE(bitmap, nullptr);
      EXPECT_EQ(bitmap->bits_per_pixel, v.bpp);
      EXPECT_EQ(bitmap->height, h);
      std::vector<uint32_t> ours = our_rgb(*bitmap);
      std::vector<uint32_t> significant = ours;
      if (v.bpp == 16)  // the low bits of each channel are replicated high bits
        for (uint32_t& p : significant) p &= 0xF8F8F8;
      EXPECT_EQ(significant, rgb);
      if (v.header != 12) {
        EXPECT_EQ(ours, bmp_test::stb_rgb(file));
      }
      if (w == 33) {  // ImageMagick is slow to start: these are judged together at the end
        const std::string kept = path("own" + std::to_string(magick_files.size()) + ".bmp");
        std::rename(file.c_str(), kept.c_str());
        magick_files.push_back(kept);
        magick_expected.push_back(ours);
        magick_names.push_back(v.name);
      }
    }
  }
  const std::vector<std::vector<uint32_t>> magick = bmp_test::magick_rgb_all(magick_files);
  for (size_t i = 0; i < magick_files.size(); ++i)
    EXPECT_EQ(magick_expected[i], magick[i]) << magick_names[i];
}

// RLE streams written by hand: runs, literal runs with padding, delta, end of line, end of bitmap.
TEST(BmpDecode, RunLengthStreamsDecodeLikeImageMagick) {
  const std::vector<uint32_t> colours = bmp_test::palette(16);
  std::vector<bmp_test::RleStream> streams = bmp_test::rle_streams();
  streams.push_back({"RLE4 ends after the last line", 4, 3, 1, {3, 0x77, 0, 0}, {7, 7, 7}});
  streams.push_back({"RLE8 run into the row padding", 8, 3, 1, {4, 7, 0, 1}, {7, 7, 7}});
  for (const bmp_test::RleStream& s : streams) {
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
    auto bitmap = decode_file(file);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->bits_per_pixel, s.bpp);
    std::vector<uint8_t> packed = zelvo_test::bmp_pack_indices(s.indices, s.width, s.height, s.bpp);
    EXPECT_EQ(std::vector<uint8_t>(bitmap->bits(), bitmap->bits() + bitmap->image_size()), packed);
    // ImageMagick agrees wherever the stream sets a pixel (it may fill skipped ones differently).
    if (std::string(s.name).find("delta") == std::string::npos) {
      EXPECT_EQ(our_rgb(*bitmap), bmp_test::magick_rgb(file));
    }
  }
}

TEST(BmpDecode, OverrunningRunLengthStreamsAreRefused) {
  const std::vector<std::vector<uint8_t>> bad = {
      {5, 1, 0, 1},              // run longer than the padded row (width 4)
      {0, 5, 1, 2, 3, 4, 5, 0},  // literal longer than the padded row
      {0, 0, 0, 0, 1, 1, 0, 1},  // a pixel on the row past the last (height 2)
      {0, 2, 5, 0, 0, 1},        // delta beyond the right edge
      {0, 2, 0, 3, 0, 1},        // delta beyond the last row
      {0, 4, 1, 2},              // literal cut off by the end of the data
      {2, 1},                    // no end-of-bitmap before the data ends
  };
  for (size_t i = 0; i < bad.size(); ++i) {
    SCOPED_TRACE(i);
    zelvo_test::BmpFile writer;
    writer.width = 4;
    writer.height = 2;
    writer.bpp = 8;
    writer.compression = BI_RLE8;
    writer.colours = bmp_test::palette(8);
    writer.pixels = bad[i];
    std::vector<uint8_t> bytes = writer.bytes();
    EXPECT_EQ(plat::bmp_decode(bytes.data(), bytes.size()), nullptr);
  }
}

std::vector<uint8_t> good_file() {
  zelvo_test::BmpFile writer;
  writer.width = 3;
  writer.height = 2;
  writer.bpp = 8;
  writer.colours = bmp_test::palette(4);
  writer.pixels = {0, 1, 2, 0, 3, 2, 1, 0};
  return writer.bytes();
}

TEST(BmpDecode, BrokenHeaderFieldsAreRefused) {
  ASSERT_NE(plat::bmp_decode(good_file().data(), good_file().size()), nullptr);
  struct Break {
    const char* name;
    size_t at;
    uint32_t value;
    int bytes;
  };
  const Break breaks[] = {
      {"magic", 0, 'M' | ('B' << 8), 2},
      {"pixel offset past the end", 10, 0xFFFFFF00u, 4},
      {"pixel offset inside the header", 10, 20, 4},
      {"header size", 14, 41, 4},
      {"zero width", 18, 0, 4},
      {"negative width", 18, 0xFFFFFFFFu, 4},
      {"zero height", 22, 0, 4},
      {"most negative height", 22, 0x80000000u, 4},
      {"planes", 26, 2, 2},
      {"depth", 28, 7, 2},
      {"compression", 30, 9, 4},
      {"RLE4 at 8 bits", 30, BI_RLE4, 4},
      {"bitfields at 8 bits", 30, BI_BITFIELDS, 4},
      {"absurd width", 18, 0x7FFFFFFFu, 4},
      {"absurd height", 22, 0x7FFFFFFFu, 4},
  };
  for (const Break& b : breaks) {
    SCOPED_TRACE(b.name);
    std::vector<uint8_t> bytes = good_file();
    if (b.bytes == 2)
      zelvo_test::set16(bytes, b.at, b.value);
    else
      zelvo_test::set32(bytes, b.at, b.value);
    EXPECT_EQ(plat::bmp_decode(bytes.data(), bytes.size()), nullptr);
  }
}

TEST(BmpDecode, BadMasksAndTopDownRleAreRefused) {
  zelvo_test::BmpFile writer;
  writer.width = 2;
  writer.height = 1;
  writer.bpp = 16;
  writer.compression = BI_BITFIELDS;
  writer.pixels = {1, 2, 3, 4};
  for (std::vector<uint32_t> masks : {std::vector<uint32_t>{0xF0F0, 0x0F00, 0x000F},  // not one run
                                      {0xFF00, 0x0FF0, 0x000F},                       // overlapping
                                      {0x1F0000, 0x7E0, 0x1F}}) {  // outside 16 bits
    writer.masks = masks;
    std::vector<uint8_t> bytes = writer.bytes();
    EXPECT_EQ(plat::bmp_decode(bytes.data(), bytes.size()), nullptr);
  }
  zelvo_test::BmpFile rle;
  rle.width = 2;
  rle.height = -1;
  rle.bpp = 8;
  rle.compression = BI_RLE8;
  rle.colours = {0, 0xFFFFFF};
  rle.pixels = {2, 1, 0, 1};
  std::vector<uint8_t> bytes = rle.bytes();
  EXPECT_EQ(plat::bmp_decode(bytes.data(), bytes.size()), nullptr);
  rle.height = 1;
  bytes = rle.bytes();
  EXPECT_NE(plat::bmp_decode(bytes.data(), bytes.size()), nullptr);
}

// Cut at every length: each prefix is refused, except those that lack only the last row's padding.
TEST(BmpDecode, TruncatedFilesAreRefusedAtEveryLength) {
  const std::vector<std::string> kinds = {
      "-type TrueColor BMP3:", "-type Palette -compress None BMP3:",
      "-type Palette -compress RLE BMP3:", "-define bmp:subtype=RGB565 BMP:",
      "-type Palette BMP2:"};
  std::vector<std::pair<std::string, std::string>> outputs;
  for (size_t i = 0; i < kinds.size(); ++i)
    outputs.push_back({kinds[i], path("cut" + std::to_string(i) + ".bmp")});
  bmp_test::write_ppm(path("cut.ppm"), 5, 4, bmp_test::pattern(5, 4, 9));
  ASSERT_TRUE(bmp_test::magick_write_all(path("cut.ppm"), outputs));
  for (const auto& [options, bmp] : outputs) {
    SCOPED_TRACE(options);
    const std::vector<uint8_t> whole = bmp_test::read_file(bmp);
    auto full = plat::bmp_decode(whole.data(), whole.size());
    ASSERT_NE(full, nullptr);
    const size_t padding = full->stride - (5 * full->bits_per_pixel + 7) / 8;
    const bool rle = options.find("RLE") != std::string::npos;
    for (size_t n = 0; n < whole.size(); ++n) {
      // An exact-size copy, so that AddressSanitizer sees any read past the end.
      std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(n));
      auto bitmap = plat::bmp_decode(cut.data(), cut.size());
      if (!rle && n + padding >= whole.size()) {
        ASSERT_NE(bitmap, nullptr) << n;
        EXPECT_EQ(0, std::memcmp(bitmap->bits(), full->bits(), full->image_size() - padding));
      } else if (!rle || n + 2 < whole.size()) {
        EXPECT_EQ(bitmap, nullptr) << n;
      }
    }
  }
}

TEST(BmpDecode, ShortColourTablesAndClrUsed) {
  // Two colours declared for an 8-bit file: indices past them are black, as an empty table entry.
  zelvo_test::BmpFile writer;
  writer.width = 3;
  writer.height = 1;
  writer.bpp = 8;
  writer.colours = {0x112233, 0x445566};
  writer.pixels = {1, 0, 200, 0};
  std::vector<uint8_t> bytes = writer.bytes();
  auto bitmap = plat::bmp_decode(bytes.data(), bytes.size());
  ASSERT_NE(bitmap, nullptr);
  ASSERT_EQ(bitmap->colors.size(), 2u);
  EXPECT_EQ(our_rgb(*bitmap), (std::vector<uint32_t>{0x445566, 0x112233, 0}));
  // biClrUsed beyond 2^bpp reads only 2^bpp entries.
  zelvo_test::set32(bytes, 46, 1000);
  bitmap = plat::bmp_decode(bytes.data(), bytes.size());
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->colors.size(), 2u);  // the pixel array starts after two entries
}

}  // namespace
