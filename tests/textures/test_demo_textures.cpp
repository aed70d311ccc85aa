// The demo's generated textures: the generator writes the same bytes every run, and the three files
// load through the texture tables, as the demo's scene set-up loads them, without a single message
// box and with the content the scene needs (alpha streaks on the funnel, one puff per sheet cell).
#include <gtest/gtest.h>

#include <Zelvo.h>

#include <gl_test_context.h>

#ifdef _WIN32
#include <process.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "captured_boxes.h"
#include "texture_test_support.h"

using namespace tex_test;

namespace {

const char* kNames[] = {"Floor04.bmp", "water3.tga", "CloudsParticles4.tga"};

Bytes ReadAll(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void Generate(const ScratchDir& dir) {
#ifdef _WIN32
  // Started directly, not through the command interpreter, which would take the leading slash of
  // the build folder for an option.
  std::string program = std::string(ZELVO_BINARY_DIR) + "/tools/make_demo_textures.exe";
  std::replace(program.begin(), program.end(), '/', '\\');
  ASSERT_EQ(_spawnl(_P_WAIT, program.c_str(), program.c_str(), dir.path().c_str(), nullptr), 0)
      << program;
#else
  const std::string command =
      std::string(ZELVO_BINARY_DIR) + "/tools/make_demo_textures " + dir.path();
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
#endif
}

TEST(DemoTextures, GeneratorIsDeterministic) {
  ScratchDir a, b;
  Generate(a);
  Generate(b);
  for (const char* name : kNames) {
    const Bytes first = ReadAll(a.File(name));
    EXPECT_GT(first.size(), 1000u) << name;
    EXPECT_EQ(first, ReadAll(b.File(name))) << name;
  }
}

TEST(DemoTextures, FilesHaveTheFormatsTheSceneExpects) {
  ScratchDir dir;
  Generate(dir);
  EXPECT_EQ(GetBmpDepth(dir.File("Floor04.bmp").c_str()), 24);
  const Bytes water = ReadAll(dir.File("water3.tga"));
  const Bytes clouds = ReadAll(dir.File("CloudsParticles4.tga"));
  ASSERT_GE(water.size(), 18u);
  ASSERT_GE(clouds.size(), 18u);
  EXPECT_EQ(water[2], 2);
  EXPECT_EQ(clouds[2], 10) << "run-length encoded";
  EXPECT_EQ(clouds[16], 32);
  EXPECT_EQ(clouds[17] & 0x20, 0) << "rows stored bottom-up";
  EXPECT_LT(clouds.size(), 512u * 256 * 4) << "the transparent background compresses";
}

TEST(DemoTextures, WaterHasOpaqueSwirlsAndTransparentGaps) {
  ScratchDir dir;
  Generate(dir);
  CapturedBoxes boxes;
  TGATexture water{};
  ASSERT_TRUE(LoadTGA(water, dir.File("water3.tga").c_str()));
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.texts();
  ASSERT_EQ(water.Width, 256u);
  ASSERT_EQ(water.Height, 256u);
  ASSERT_EQ(water.Bpp, 32u);
  size_t passes = 0, bluish = 0;
  const size_t count = 256 * 256;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = water.ImageData + 4 * i;
    if (p[3] > 0.4 * 255) {
      ++passes;
      if (p[2] > p[0]) ++bluish;
    }
  }
  // Both the body and the gaps are a large part of the surface under the alpha test.
  EXPECT_GT(passes, count / 4);
  EXPECT_LT(passes, count * 3 / 4);
  EXPECT_EQ(bluish, passes);
  std::free(water.ImageData);
}

TEST(DemoTextures, CloudSheetHasOneDistinctPuffPerCell) {
  ScratchDir dir;
  Generate(dir);
  TGATexture sheet{};
  CapturedBoxes boxes;
  ASSERT_TRUE(LoadTGA(sheet, dir.File("CloudsParticles4.tga").c_str()));
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.texts();
  ASSERT_EQ(sheet.Width, 512u);
  ASSERT_EQ(sheet.Height, 256u);
  ASSERT_EQ(sheet.Bpp, 32u);
  auto alpha = [&](int x, int y) { return sheet.ImageData[(size_t(y) * 512 + x) * 4 + 3]; };
  std::vector<Bytes> cells;
  for (int cy = 0; cy < 4; ++cy) {
    for (int cx = 0; cx < 8; ++cx) {
      SCOPED_TRACE(std::to_string(cx) + "," + std::to_string(cy));
      Bytes cell;
      int edge_alpha = 0, solid = 0;
      for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
          const uint8_t a = alpha(cx * 64 + x, cy * 64 + y);
          cell.push_back(a);
          if (x == 0 || y == 0 || x == 63 || y == 63) edge_alpha += a;
          if (a > 0.4 * 255) ++solid;
        }
      EXPECT_EQ(edge_alpha, 0) << "a cell's border is transparent, so sprites do not bleed";
      EXPECT_GT(solid, 200) << "each cell holds a puff";
      cells.push_back(cell);
    }
  }
  for (size_t i = 0; i < cells.size(); ++i)
    for (size_t j = i + 1; j < cells.size(); ++j) EXPECT_NE(cells[i], cells[j]) << i << " " << j;
  std::free(sheet.ImageData);
}

TEST(DemoTextures, SceneSetUpLoadsAllThreeWithoutAMessage) {
  zelvo_test::GlTestContext context(64, 64);
  ASSERT_TRUE(context.ok());
  ScratchDir dir;
  Generate(dir);
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  CapturedBoxes boxes;
  // The calls of the demo's scene set-up, by relative name from the current directory.
  TextureLoadID("Floor04.bmp", 0);
  TextureLoadTGAID("water3.tga", 0);
  TextureLoadTGAID("CloudsParticles4.tga", 1);
  std::filesystem::current_path(previous);
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.texts();
  GLint width = 0;
  for (auto [name, expected] :
       {std::pair{TextureID2[0], 256}, {TextureTGA2[0].TexID, 256}, {TextureTGA2[1].TexID, 512}}) {
    ASSERT_NE(name, 0u);
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, expected);
  }
}

}  // namespace
