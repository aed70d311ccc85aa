// The framework's file opens find a file named in another case, as they would on Windows: the TGA
// reader, the BMP depth query, both texture tables and the control bitmaps.
#include <gtest/gtest.h>

#include <Zelvo.h>

#include <gl_test_context.h>

#include "captured_boxes.h"
#include "texture_test_support.h"

using namespace tex_test;

namespace {

TEST(FileNameCase, ReadersFindAFileNamedInAnotherCase) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.path() + "/Textures");
  dir.Write("Textures/Water3.tga", Concat(TgaHeader(2, 1, 1, 24), {1, 2, 3}));
  dir.Write("Textures/Floor04.bmp", bmp_from_rows(24, 2, 2, Bytes(12)));

  CapturedBoxes boxes;
  TGATexture texture{};
  EXPECT_TRUE(LoadTGA(texture, dir.File("TEXTURES/WATER3.TGA").c_str()));
  std::free(texture.ImageData);
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.texts();
  EXPECT_EQ(GetBmpDepth(dir.File("textures/floor04.BMP").c_str()), 24);
  HPALETTE palette{};
  HBITMAP bitmap = LoadBmpFromFile(dir.File("textures/FLOOR04.BMP"), palette);
  EXPECT_TRUE(bitmap);
  DeleteObject(bitmap);
  DeleteObject(palette);

  // Only the case may differ.
  EXPECT_EQ(GetBmpDepth(dir.File("textures/floor4.bmp").c_str()), 0);
  EXPECT_FALSE(LoadTGA(texture, dir.File("textures/water.tga").c_str()));
}

TEST(FileNameCase, TextureTablesLoadAFileNamedInAnotherCase) {
  zelvo_test::GlTestContext context{64, 64};
  ScratchDir dir;
  dir.Write("water3.TGA", Concat(TgaHeader(2, 2, 1, 24), Bytes(6, 9)));
  dir.Write("FLOOR04.BMP", bmp_from_rows(24, 4, 4, Bytes(48, 7)));
  ::testing::internal::CaptureStderr();
  TextureLoadTGAID(dir.File("Water3.tga").c_str(), 12);
  TextureLoadID(dir.File("Floor04.bmp").c_str(), 12);
  const std::string lines = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(lines, "") << "nothing failed";
  EXPECT_EQ(TextureTGA2[12].Width, 2u);
  TextureTGASelectID(12);
  EXPECT_EQ(TexLevelWidth(0), 2);
  TextureSelectID(12);
  EXPECT_EQ(TexLevelWidth(0), 4);
}

}  // namespace
