// BMP textures on a real Mesa context: the depth query, the colour swap, uploaded texels for 24-
// and 32-bit files of every row padding, files that give no image, mipmaps and the slot checks.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <Zelvo.h>

#include <gl_test_context.h>

#include <random>

#include "captured_boxes.h"
#include "texture_test_support.h"
#include "wine_differences.h"

using namespace tex_test;

namespace {

Bytes Random(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (auto& b : out) b = uint8_t(rng());
  return out;
}

int32_t Depth(const std::string& file) { return GetBmpDepth(file.c_str()); }

TEST(BmpDepth, ReadsTheHeaderDepthOrZero) {
  ScratchDir dir;
  const int fds = OpenDescriptors();
  EXPECT_EQ(Depth(dir.Write("a.bmp", bmp_from_rows(24, 2, 2, Bytes(12)))), 24);
  EXPECT_EQ(Depth(dir.Write("b.bmp", bmp_from_rows(32, 2, 2, Bytes(16)))), 32);
  EXPECT_EQ(Depth(dir.Write("c.bmp", bmp_from_rows(8, 2, 2, Bytes(4)))), 8);
  Bytes os2 = bmp_from_rows(24, 2, 2, Bytes(12));
  zelvo_test::set32(os2, 14, 12);  // the header size of an OS/2 file, whose fields are shorter
  EXPECT_EQ(Depth(dir.Write("os2.bmp", os2)), 0);
  EXPECT_EQ(Depth(dir.Write("gif.bmp", Concat({'G', 'I', 'F', '8', '9', 'a'}, Bytes(60)))), 0);
  EXPECT_EQ(GetBmpDepth(dir.File("missing.bmp").c_str()), 0);
  EXPECT_EQ(GetBmpDepth(dir.path().c_str()), 0) << "a folder is not a file";
  // Too short for its headers: not a usable BMP, and the program goes on.
  EXPECT_EQ(Depth(dir.Write("short1.bmp", {'B', 'M', 1, 2})), 0);
  const Bytes whole = bmp_from_rows(24, 2, 2, Bytes(12));
  EXPECT_EQ(Depth(dir.Write("short2.bmp", Bytes(whole.begin(), whole.begin() + 53))), 0);
  EXPECT_EQ(OpenDescriptors(), fds);
  EXPECT_EQ(FileMode, 0);
}

#ifndef _WIN32  // Windows has no FIFO in the file system
TEST(BmpDepthDeathTest, FifoGivesZeroAtOnce) {
  ScratchDir dir;
  const std::string fifo = dir.File("pipe.bmp");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // In a child with five seconds: an open that waited for a writer would hang the test program.
  EXPECT_EXIT(
      {
        alarm(5);
        _exit(GetBmpDepth(fifo.c_str()) == 0 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}
#endif

TEST(BmpDepth, SwapRgbExchangesFirstAndThirdByteOfEachGroup) {
  Bytes data = Random(3 * 1001 + 2, 5);
  const Bytes before = data;
  SwapRGB(data.data(), 1001);
  for (size_t i = 0; i < 1001; ++i) {
    ASSERT_EQ(data[3 * i], before[3 * i + 2]) << i;
    ASSERT_EQ(data[3 * i + 1], before[3 * i + 1]) << i;
    ASSERT_EQ(data[3 * i + 2], before[3 * i]) << i;
  }
  EXPECT_EQ(data[3003], before[3003]) << "nothing beyond Size groups";
  EXPECT_EQ(data[3004], before[3004]);
  SwapRGB(data.data(), 0);
  SwapRGB(data.data(), -5);
  SwapRGB(data.data(), 1001);
  EXPECT_EQ(data, before);
}

class BmpTextures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(context_.ok());
    GL_Min_Filter = GL_LINEAR;
    GL_Mag_Filter = GL_LINEAR;
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
  }
  void TearDown() override { GL_Min_Filter = GL_LINEAR; }
  GLuint LoadExpectingFreshName(const std::string& file, int slot) {
    const GLuint before = TextureID2[slot];
    TextureLoadID(file.c_str(), slot);
    EXPECT_NE(TextureID2[slot], 0u);
    EXPECT_NE(TextureID2[slot], before);
    EXPECT_EQ(BoundTexture(), GLint(TextureID2[slot]));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    return TextureID2[slot];
  }
  zelvo_test::GlTestContext context_{64, 64};
  ScratchDir dir_;
};

TEST_F(BmpTextures, TwentyFourBitTexelsHaveTheTrueColoursForEveryWidth) {
  for (int width : {1, 2, 3, 4, 5, 7, 33}) {
    SCOPED_TRACE(width);
    const int height = 3;
    Bytes rows = Random(size_t(width) * height * 3, width);
    rows[0] = 10, rows[1] = 20, rows[2] = 30;  // first pixel stored blue 10, green 20, red 30
    LoadExpectingFreshName(dir_.Write("w.bmp", bmp_from_rows(24, width, height, rows)), 1);
    ASSERT_EQ(TexLevelWidth(0), width);
    Bytes expected = rows;
    for (size_t i = 0; i < expected.size(); i += 3) std::swap(expected[i], expected[i + 2]);
    const Bytes texels = TexImage(GL_RGB, 0, rows.size());
    EXPECT_EQ(texels[0], 30);
    EXPECT_EQ(texels[2], 10);
    EXPECT_EQ(texels, expected) << "bottom row first, at t = 0";
    EXPECT_EQ(TexLevelWidth(1), 0);
  }
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4);
}

TEST_F(BmpTextures, ThirtyTwoBitPixelsUploadAsBgraWithTheirFourthByteAsAlpha) {
  Bytes rows = Random(5 * 2 * 4, 9);
  rows[3] = 0;
  LoadExpectingFreshName(dir_.Write("a.bmp", bmp_from_rows(32, 5, 2, rows)), 2);
  Bytes expected = rows;
  for (size_t i = 0; i < expected.size(); i += 4) std::swap(expected[i], expected[i + 2]);
  EXPECT_EQ(TexImage(GL_RGBA, 0, rows.size()), expected);
  GLint value = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
  EXPECT_EQ(value, GL_REPEAT);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
  EXPECT_EQ(value, GL_REPEAT);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
  EXPECT_EQ(value, GL_LINEAR);
}

TEST_F(BmpTextures, FilesWithoutAnImageStillTakeATextureName) {
  CapturedBoxes boxes;
  const GLuint missing = LoadExpectingFreshName(dir_.File("missing.bmp"), 3);
  EXPECT_EQ(TexLevelWidth(0), 0);
  LoadExpectingFreshName(dir_.Write("p.bmp", bmp_from_rows(8, 4, 4, Bytes(16, 7))), 3);
  EXPECT_EQ(TexLevelWidth(0), 0);
  EXPECT_TRUE(glIsTexture(missing)) << "the slot's previous texture is not deleted";
  EXPECT_TRUE(boxes.boxes().empty()) << "BMP problems are never reported";
}

TEST_F(BmpTextures, MissingPixelsGiveNoImage) {
  SKIP_UNDER_WINE("LoadImageA reads past the end of the file and the program crashes (number 22)");
  CapturedBoxes boxes;
  // Headers promise 24 bits, but the pixels are missing: the system loads nothing, and nothing is
  // read or written through a bitmap that does not exist.
  const Bytes whole = bmp_from_rows(24, 64, 64, Bytes(64 * 64 * 3, 1));
  LoadExpectingFreshName(dir_.Write("t.bmp", Bytes(whole.begin(), whole.begin() + 60)), 3);
  EXPECT_EQ(TexLevelWidth(0), 0);
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.texts();
}

TEST_F(BmpTextures, MipmapChainOnlyWithAMipmappingFilter) {
  Bytes uniform;
  for (int i = 0; i < 16; ++i) uniform.insert(uniform.end(), {10, 20, 30});
  const std::string file = dir_.Write("m.bmp", bmp_from_rows(24, 4, 4, uniform));
  GL_Min_Filter = GL_NEAREST_MIPMAP_NEAREST;
  LoadExpectingFreshName(file, 4);
  EXPECT_EQ(TexLevelWidth(1), 2);
  EXPECT_EQ(TexImage(GL_RGB, 1, 12), (Bytes{30, 20, 10, 30, 20, 10, 30, 20, 10, 30, 20, 10}));
  GL_Min_Filter = GL_LINEAR;
  LoadExpectingFreshName(file, 4);
  EXPECT_EQ(TexLevelWidth(1), 0);

  Bytes rgba;
  for (int i = 0; i < 16; ++i) rgba.insert(rgba.end(), {10, 20, 30, 40});
  GL_Min_Filter = GL_LINEAR_MIPMAP_LINEAR;
  LoadExpectingFreshName(dir_.Write("m32.bmp", bmp_from_rows(32, 4, 4, rgba)), 5);
  EXPECT_EQ(TexLevelWidth(2), 1);
  EXPECT_EQ(TexImage(GL_RGBA, 2, 4), (Bytes{30, 20, 10, 40}));
}

TEST_F(BmpTextures, MipmapsOf24BitRowsFollowTheCallersUnpackSettings) {
  // 2 x 4 RGB (a power of two, so that GLU keeps level 0 as given): 6-byte rows, padded to 8 at
  // alignment 4, tight at alignment 1.
  const Bytes tight = Random(2 * 4 * 3, 11);
  Bytes padded;
  for (int y = 0; y < 4; ++y) {
    padded.insert(padded.end(), tight.begin() + y * 6, tight.begin() + (y + 1) * 6);
    padded.insert(padded.end(), {0xAA, 0xAA});
  }
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  for (GLint alignment : {4, 1}) {
    SCOPED_TRACE(alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    AddMipmapsTexture(24, 2, 4, (alignment == 4 ? padded : tight).data());
    EXPECT_EQ(TexImage(GL_RGB, 0, tight.size()), tight);
    EXPECT_EQ(TexLevelWidth(2), 1);
    GLint after = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &after);
    EXPECT_EQ(after, alignment) << "the caller's settings are left as they were";
  }
  // The rows of a wider picture, starting one row and one pixel in.
  Bytes wide(3 * 5 * 3, 0);
  for (int y = 0; y < 4; ++y)
    std::copy(tight.begin() + y * 6, tight.begin() + (y + 1) * 6, wide.begin() + (y + 1) * 9 + 3);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 3);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 1);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 1);
  AddMipmapsTexture(24, 2, 4, wide.data());
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  EXPECT_EQ(TexImage(GL_RGB, 0, tight.size()), tight);
  glDeleteTextures(1, &name);
}

TEST_F(BmpTextures, SlotsAtBothEndsAndSelection) {
  const std::string file = dir_.Write("s.bmp", bmp_from_rows(24, 1, 1, {1, 2, 3}));
  LoadExpectingFreshName(file, 0);
  LoadExpectingFreshName(file, 500);
  glBindTexture(GL_TEXTURE_2D, 0);
  TextureSelectID(500);
  EXPECT_EQ(BoundTexture(), GLint(TextureID2[500]));
  TextureSelectID(0);
  EXPECT_EQ(BoundTexture(), GLint(TextureID2[0]));
  ASSERT_EQ(TextureID2[250], 0u);
  TextureSelectID(250);
  EXPECT_EQ(BoundTexture(), 0);
}

TEST(BmpTextureSlots, OutOfRangeSlotsStopTheProgram) {
  // A fresh process for each death: the forked copy of a process that has had a GL context may not
  // exit cleanly.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(TextureLoadID("/nonexistent/none.bmp", 501), ::testing::ExitedWithCode(2),
              "index 501 is outside TextureID2");
  EXPECT_EXIT(TextureLoadID("/nonexistent/none.bmp", -1), ::testing::ExitedWithCode(2),
              "index -1 is outside TextureID2");
  EXPECT_EXIT(TextureSelectID(501), ::testing::ExitedWithCode(2), "TextureID2");
}

}  // namespace
