// The files of the texture slots' loads, which need a GL context: a file named in another case is
// found, as on Windows; and when a slot gets no image, the load writes one line to standard error
// (it shows no box then): the function, the file with the folder it was looked up in, and the
// reason. The other loaders' lines are in test_failure_lines.cpp, their names in another case in
// test_file_name_case.cpp.
#include <gtest/gtest.h>

#include <Zelvo.h>

#include <gl_test_context.h>

#include <filesystem>
#include <string>

#include "failure_line_capture.h"
#include "texture_test_support.h"
#include "wine_differences.h"

using namespace tex_test;

namespace {

class FailureLinesGl : public ::testing::Test {
 protected:
  zelvo_test::GlTestContext context_{64, 64};
};

TEST_F(FailureLinesGl, MissingTgaTextureShowsNoBoxButSaysSoAndAFolderShowsTheBox) {
  ScratchDir dir;
  InFolder inside(dir.path());
  Captured run = Capture([] { TextureLoadTGAID("water3.tga", 7); });
  EXPECT_TRUE(run.boxes.empty());
  ExpectOneLine(run, "TextureLoadTGAID", "water3.tga", dir.path(),
                "no such file (" + SystemText(ERROR_FILE_NOT_FOUND) + "); slot 7 is not loaded");
  Captured folder = Capture([] { TextureLoadTGAID("textures/water3.tga", 8); });
  ExpectOneLine(folder, "TextureLoadTGAID", "textures/water3.tga", dir.path() + "/textures",
                SystemText(ERROR_PATH_NOT_FOUND));
  // A folder is there but cannot be read: the reader's box, and its line.
  std::filesystem::create_directory(dir.path() + "/water3.tga");
  Captured not_a_file = Capture([] { TextureLoadTGAID("water3.tga", 9); });
  ExpectOneLine(not_a_file, "TextureLoadTGAID", "water3.tga", dir.path(),
                "Could not open texture file");
  ASSERT_EQ(not_a_file.boxes.size(), 1u);
  EXPECT_EQ(not_a_file.boxes[0].text, "Could not open texture file");
  EXPECT_EQ(not_a_file.boxes[0].caption, "ERROR");
}

TEST_F(FailureLinesGl, BmpTexturesSayWhyTheSlotGetsNoImage) {
  ScratchDir dir;
  InFolder inside(dir.path());
  Captured missing = Capture([] { TextureLoadID("Floor04.bmp", 3); });
  EXPECT_TRUE(missing.boxes.empty());
  ExpectOneLine(missing, "TextureLoadID", "Floor04.bmp", dir.path(),
                "LoadImageA failed: " + SystemText(ERROR_FILE_NOT_FOUND) + "; slot 3");

  dir.Write("grey.bmp", bmp_from_rows(8, 2, 2, Bytes(4)));
  Captured grey = Capture([] { TextureLoadID("grey.bmp", 4); });
  ExpectOneLine(grey, "TextureLoadID", "grey.bmp", dir.path(), "8 bits per pixel");

  dir.Write("good.bmp", bmp_from_rows(24, 2, 2, Bytes(12)));
  EXPECT_TRUE(Capture([] { TextureLoadID("good.bmp", 6); }).lines.empty());

  SKIP_UNDER_WINE("LoadImageA reads past the end of a file cut in its headers (number 22)");
  const Bytes whole = bmp_from_rows(24, 4, 4, Bytes(48));
  dir.Write("cut.bmp", Bytes(whole.begin(), whole.begin() + 30));
  Captured cut = Capture([] { TextureLoadID("cut.bmp", 5); });
  ExpectOneLine(cut, "TextureLoadID", "cut.bmp", dir.path(), SystemText(ERROR_INVALID_DATA));
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
