// The TGA texture table on a real Mesa context: uploaded texels, filters, wrapping, mipmaps, the GL
// state a load leaves, and the slot checks.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <dlfcn.h>
#endif

#include <Zelvo.h>

#include <gl_test_context.h>

#include "captured_boxes.h"
#include "texture_test_support.h"

using namespace tex_test;

namespace {

// File pixels BGR(A) -> expected texels RGB(A).
Bytes Swapped(const Bytes& file_pixels, int bpp) {
  Bytes out = file_pixels;
  for (size_t i = 0; i + bpp <= out.size(); i += bpp) std::swap(out[i], out[i + 2]);
  return out;
}

Bytes Pattern(size_t n, uint8_t seed) {
  Bytes out(n);
  for (size_t i = 0; i < n; ++i) out[i] = uint8_t(i * 37 + seed * 11 + (i >> 3));
  return out;
}

class TgaTextures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(context_.ok());
    GL_Min_Filter = GL_LINEAR;
    GL_Mag_Filter = GL_LINEAR;
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  }
  void TearDown() override {
    GL_Min_Filter = GL_LINEAR;
    GL_Mag_Filter = GL_LINEAR;
  }
  zelvo_test::GlTestContext context_{64, 64};
  ScratchDir dir_;
};

TEST_F(TgaTextures, OddWidthImagesUploadWithTheirTrueColours) {
  for (int bits : {24, 32}) {
    for (int width : {1, 3, 5, 7, 33}) {
      SCOPED_TRACE(std::to_string(bits) + " bits, width " + std::to_string(width));
      const int height = 3, bpp = bits / 8;
      const Bytes pixels = Pattern(size_t(width) * height * bpp, uint8_t(width));
      const std::string file = dir_.Write(
          "odd.tga", Concat(TgaHeader(2, uint16_t(width), height, uint8_t(bits)), pixels));
      CapturedBoxes boxes;
      TextureLoadTGAID(file.c_str(), 7);
      EXPECT_TRUE(boxes.boxes().empty()) << boxes.texts();
      const TGATexture& slot = TextureTGA2[7];
      ASSERT_NE(slot.TexID, 0u);
      EXPECT_EQ(BoundTexture(), GLint(slot.TexID));
      EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
      EXPECT_EQ(slot.ImageData, nullptr);
      EXPECT_EQ(slot.Width, unsigned(width));
      EXPECT_EQ(slot.Height, 3u);
      EXPECT_EQ(slot.Bpp, unsigned(bits));
      EXPECT_EQ(slot.Typ, bits == 24 ? GLenum(GL_RGB) : GLenum(GL_RGBA));
      // The caller's unpack alignment is left as it was.
      GLint alignment = 0;
      glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
      EXPECT_EQ(alignment, 4);
      // First file row is texture row t = 0, which glGetTexImage returns first.
      EXPECT_EQ(TexImage(bits == 24 ? GL_RGB : GL_RGBA, 0, pixels.size()), Swapped(pixels, bpp));
      EXPECT_EQ(TexLevelWidth(1), 0) << "no mipmaps with GL_LINEAR";
    }
  }
}

TEST_F(TgaTextures, RleImageUploadsAndUnpackSettingsOfTheCallerSurvive) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 100);
  const std::string file =
      dir_.Write("rle.tga", Concat(TgaHeader(10, 3, 2, 24), {0x85, 10, 20, 30}));
  TextureLoadTGAID(file.c_str(), 0);
  EXPECT_EQ(TexImage(GL_RGB, 0, 18),
            (Bytes{30, 20, 10, 30, 20, 10, 30, 20, 10, 30, 20, 10, 30, 20, 10, 30, 20, 10}));
  GLint alignment = 0, row_length = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glGetIntegerv(GL_UNPACK_ROW_LENGTH, &row_length);
  EXPECT_EQ(alignment, 8);
  EXPECT_EQ(row_length, 100);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

TEST_F(TgaTextures, FiltersAndRepeatWrapping) {
  GL_Min_Filter = GL_NEAREST;
  GL_Mag_Filter = GL_NEAREST;
  const std::string file = dir_.Write("f.tga", Concat(TgaHeader(2, 2, 2, 32), Pattern(16, 1)));
  TextureLoadTGAID(file.c_str(), 3);
  GLint value = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
  EXPECT_EQ(value, GL_NEAREST);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
  EXPECT_EQ(value, GL_NEAREST);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
  EXPECT_EQ(value, GL_REPEAT);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
  EXPECT_EQ(value, GL_REPEAT);
}

TEST_F(TgaTextures, MipmapChainOnlyWithAMipmappingFilter) {
  // A uniform 8 x 4 image: every level of the chain has the same colour as level 0.
  const Bytes pixels = Concat(Bytes{}, [] {
    Bytes p;
    for (int i = 0; i < 32; ++i) p.insert(p.end(), {40, 80, 120, 200});
    return p;
  }());
  const std::string file = dir_.Write("m.tga", Concat(TgaHeader(2, 8, 4, 32), pixels));
  GL_Min_Filter = GL_LINEAR_MIPMAP_LINEAR;
  TextureLoadTGAID(file.c_str(), 4);
  EXPECT_EQ(TexLevelWidth(1), 4);
  EXPECT_EQ(TexLevelWidth(3), 1);
  Bytes level2 = TexImage(GL_RGBA, 2, 2 * 1 * 4);
  EXPECT_EQ(level2, (Bytes{120, 80, 40, 200, 120, 80, 40, 200}));

  // 24-bit: level 1 of a 4 x 4 image has 6-byte rows.
  Bytes rgb;
  for (int i = 0; i < 16; ++i) rgb.insert(rgb.end(), {40, 80, 120});
  TextureLoadTGAID(dir_.Write("m24.tga", Concat(TgaHeader(2, 4, 4, 24), rgb)).c_str(), 6);
  EXPECT_EQ(TexImage(GL_RGB, 1, 12), (Bytes{120, 80, 40, 120, 80, 40, 120, 80, 40, 120, 80, 40}));

  GL_Min_Filter = GL_LINEAR;
  TextureLoadTGAID(file.c_str(), 5);
  EXPECT_EQ(TexLevelWidth(0), 8);
  EXPECT_EQ(TexLevelWidth(1), 0);
}

TEST_F(TgaTextures, MissingOrRefusedFileChangesNothing) {
  const std::string good = dir_.Write("g.tga", Concat(TgaHeader(2, 1, 1, 24), {1, 2, 3}));
  TextureLoadTGAID(good.c_str(), 9);
  const GLuint before = TextureTGA2[9].TexID;
  glBindTexture(GL_TEXTURE_2D, 0);
  glDisable(GL_TEXTURE_2D);

  CapturedBoxes boxes;
  TextureLoadTGAID(dir_.File("missing.tga").c_str(), 9);
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.texts();
  EXPECT_EQ(TextureTGA2[9].TexID, before);

  const std::string bad = dir_.Write("bad.tga", Concat(TgaHeader(3, 1, 1, 8), {1}));
  TextureLoadTGAID(bad.c_str(), 9);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].caption, "Invalid Image");
  EXPECT_EQ(TextureTGA2[9].TexID, before);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_EQ(BoundTexture(), 0);
}

TEST_F(TgaTextures, RefusedReloadLeavesTheSlotExactlyAsItWas) {
  const std::string good = dir_.Write("g.tga", Concat(TgaHeader(2, 2, 1, 24), Bytes(6, 1)));
  TextureLoadTGAID(good.c_str(), 11);
  const TGATexture before = TextureTGA2[11];
  ASSERT_EQ(before.Width, 2u);
  // Headers that are read whole and then refused: a 16-bit depth, then pixel data cut short.
  CapturedBoxes boxes;
  for (const Bytes& bad :
       {TgaHeader(2, 7, 5, 16), TgaHeader(2, 9, 3, 32), TgaHeader(10, 4, 4, 32)}) {
    TextureLoadTGAID(dir_.Write("bad.tga", bad).c_str(), 11);
    const TGATexture& after = TextureTGA2[11];
    EXPECT_EQ(after.Width, before.Width);
    EXPECT_EQ(after.Height, before.Height);
    EXPECT_EQ(after.Bpp, before.Bpp);
    EXPECT_EQ(after.Typ, before.Typ);
    EXPECT_EQ(after.TexID, before.TexID);
    EXPECT_EQ(after.ImageData, nullptr);
  }
  EXPECT_EQ(boxes.boxes().size(), 3u);
}

// Linux only: the count needs the library's glPixelStorei calls to reach this program's own
// definition first, and on Windows they go through opengl32's import table.
#ifndef _WIN32
// glPixelStorei as the library calls it, counted, then passed on to the driver.
std::vector<std::pair<GLenum, GLint>> g_pixel_store_calls;

}  // namespace

extern "C" void glPixelStorei(GLenum name, GLint value) {
  using Real = void (*)(GLenum, GLint);
  static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "glPixelStorei"));
  g_pixel_store_calls.emplace_back(name, value);
  real(name, value);
}

namespace {

TEST_F(TgaTextures, UploadChangesUnpackStateOnlyWhereRowsWouldBeMisread) {
  struct Case {
    int bits, width;
    size_t calls;  // set and restore of the alignment, or nothing
  } cases[] = {{24, 3, 2}, {24, 5, 2}, {24, 4, 0}, {24, 8, 0}, {32, 3, 0}, {32, 1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.bits) + " bits, width " + std::to_string(c.width));
    const std::string file =
        dir_.Write("u.tga", Concat(TgaHeader(2, uint16_t(c.width), 2, uint8_t(c.bits)),
                                   Pattern(size_t(c.width) * 2 * (c.bits / 8), 3)));
    g_pixel_store_calls.clear();
    TextureLoadTGAID(file.c_str(), 12);
    ASSERT_EQ(g_pixel_store_calls.size(), c.calls);
    if (c.calls == 2) {
      EXPECT_EQ(g_pixel_store_calls[0], std::make_pair(GLenum(GL_UNPACK_ALIGNMENT), GLint(1)));
      EXPECT_EQ(g_pixel_store_calls[1], std::make_pair(GLenum(GL_UNPACK_ALIGNMENT), GLint(4)));
    }
  }
}
#endif

TEST_F(TgaTextures, ReloadingASlotKeepsTheOldTextureAlive) {
  const std::string file = dir_.Write("r.tga", Concat(TgaHeader(2, 1, 1, 24), {1, 2, 3}));
  TextureLoadTGAID(file.c_str(), 10);
  const GLuint first = TextureTGA2[10].TexID;
  TextureLoadTGAID(file.c_str(), 10);
  const GLuint second = TextureTGA2[10].TexID;
  EXPECT_NE(first, second);
  EXPECT_TRUE(glIsTexture(first));
  EXPECT_TRUE(glIsTexture(second));
}

TEST_F(TgaTextures, SelectBindsTheSlotOrNameZero) {
  const std::string file = dir_.Write("s.tga", Concat(TgaHeader(2, 1, 1, 24), {1, 2, 3}));
  TextureLoadTGAID(file.c_str(), 0);
  TextureLoadTGAID(file.c_str(), 200);
  glBindTexture(GL_TEXTURE_2D, 0);
  TextureTGASelectID(200);
  EXPECT_EQ(BoundTexture(), GLint(TextureTGA2[200].TexID));
  TextureTGASelectID(0);
  EXPECT_EQ(BoundTexture(), GLint(TextureTGA2[0].TexID));
  ASSERT_EQ(TextureTGA2[150].TexID, 0u);
  TextureTGASelectID(150);
  EXPECT_EQ(BoundTexture(), 0);
}

TEST(TgaTextureSlots, OutOfRangeSlotsStopTheProgram) {
  // A fresh process for each death: the forked copy of a process that has had a GL context may not
  // exit cleanly.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ScratchDir dir;
  const std::string file = dir.Write("x.tga", Concat(TgaHeader(2, 1, 1, 24), {1, 2, 3}));
  EXPECT_EXIT(TextureLoadTGAID(file.c_str(), 201), ::testing::ExitedWithCode(2),
              "index 201 is outside TextureTGA2");
  EXPECT_EXIT(TextureLoadTGAID(file.c_str(), -1), ::testing::ExitedWithCode(2),
              "index -1 is outside TextureTGA2");
  EXPECT_EXIT(TextureTGASelectID(201), ::testing::ExitedWithCode(2), "TextureTGA2");
  EXPECT_EXIT(TextureTGASelectID(-1), ::testing::ExitedWithCode(2), "TextureTGA2");
  // The slot is looked at only once the file is known to exist.
  TextureLoadTGAID(dir.File("missing.tga").c_str(), 201);
  TextureLoadTGAID(dir.File("missing.tga").c_str(), -1);
}

}  // namespace
