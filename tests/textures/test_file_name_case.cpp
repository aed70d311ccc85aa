// The framework's file opens find a file named in another case, as they would on Windows: the TGA
// reader, the BMP depth query and the control bitmaps. The texture tables, which need a GL context,
// are tested in test_texture_slot_files.cpp.
#include <gtest/gtest.h>

#include <Zelvo.h>

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

}  // namespace
