// TGA files written by ImageMagick decode to the pixels that stb_image reads from the same files.
// stb_image returns rows top row first whatever the file's origin; the reader keeps rows in file
// order, so a bottom-left file compares flipped and a top-left file compares as is.
#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#include <stb/stb_image.h>

#include <Zelvo.h>

#include <cstdlib>
#include <cstring>
#include <random>

#include "captured_boxes.h"
#include "texture_test_support.h"

using namespace tex_test;

namespace {

struct Case {
  int width, height, bits;
  bool rle, top_left;
};

std::string Name(const Case& c) {
  return std::to_string(c.width) + "x" + std::to_string(c.height) + "_" + std::to_string(c.bits) +
         (c.rle ? "_rle" : "_raw") + (c.top_left ? "_topleft" : "_bottomleft");
}

// A picture with flat stretches (run packets) and noise (literal packets), as a PAM file.
std::string WriteSource(const ScratchDir& dir, const Case& c) {
  const int depth = c.bits / 8;
  std::mt19937 rng(c.width * 1000 + c.height + c.bits);
  Bytes pixels;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const bool flat = ((x / 9 + y / 4) % 3) == 0;
      uint8_t px[4] = {uint8_t(flat ? 200 : rng()), uint8_t(flat ? 40 : rng()),
                       uint8_t(flat ? y * 5 : rng()), uint8_t(flat ? 128 : rng())};
      pixels.insert(pixels.end(), px, px + depth);
    }
  std::string header = "P7\nWIDTH " + std::to_string(c.width) + "\nHEIGHT " +
                       std::to_string(c.height) + "\nDEPTH " + std::to_string(depth) +
                       "\nMAXVAL 255\nTUPLTYPE " + (depth == 4 ? "RGB_ALPHA" : "RGB") +
                       "\nENDHDR\n";
  return dir.Write("source.pam", Concat(Bytes(header.begin(), header.end()), pixels));
}

class ImageMagickFiles : public ::testing::TestWithParam<Case> {};

TEST_P(ImageMagickFiles, DecodeLikeStbImage) {
  const Case c = GetParam();
  ScratchDir dir;
  const std::string source = WriteSource(dir, c);
  const std::string tga = dir.File("image.tga");
  const std::string command = "convert '" + source + "' +set comment -type " +
                              (c.bits == 32 ? "TrueColorAlpha" : "TrueColor") + " -compress " +
                              (c.rle ? "RLE" : "None") + " -orient " +
                              (c.top_left ? "TopLeft" : "BottomLeft") + " 'tga:" + tga + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  // The file is the kind the test means: type, depth and origin as asked.
  FILE* f = std::fopen(tga.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  uint8_t header[18];
  ASSERT_EQ(std::fread(header, 1, 18, f), 18u);
  std::fclose(f);
  ASSERT_EQ(header[2], c.rle ? 10 : 2);
  ASSERT_EQ(header[16], c.bits);
  ASSERT_EQ((header[17] & 0x20) != 0, c.top_left);

  int w = 0, h = 0, n = 0;
  const int bpp = c.bits / 8;
  stbi_uc* oracle = stbi_load(tga.c_str(), &w, &h, &n, bpp);
  ASSERT_NE(oracle, nullptr) << stbi_failure_reason();
  ASSERT_EQ(w, c.width);
  ASSERT_EQ(h, c.height);

  CapturedBoxes boxes;
  TGATexture texture{};
  ASSERT_TRUE(LoadTGA(texture, tga.c_str()));
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.texts();
  ASSERT_EQ(texture.Width, unsigned(w));
  ASSERT_EQ(texture.Height, unsigned(h));
  ASSERT_EQ(texture.Bpp, unsigned(c.bits));
  const size_t row = size_t(w) * bpp;
  int mismatched_rows = 0;
  for (int y = 0; y < h; ++y) {
    const int oracle_row = c.top_left ? y : h - 1 - y;
    if (std::memcmp(texture.ImageData + y * row, oracle + oracle_row * row, row) != 0)
      ++mismatched_rows;
  }
  EXPECT_EQ(mismatched_rows, 0);
  std::free(texture.ImageData);
  stbi_image_free(oracle);
}

std::vector<Case> Cases() {
  std::vector<Case> out;
  for (auto [w, h] : {std::pair{37, 23}, {1, 1}, {301, 7}, {64, 64}})
    for (int bits : {24, 32})
      for (bool rle : {true, false})
        for (bool top_left : {false, true}) out.push_back({w, h, bits, rle, top_left});
  return out;
}

INSTANTIATE_TEST_SUITE_P(Files, ImageMagickFiles, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return Name(info.param); });

}  // namespace
