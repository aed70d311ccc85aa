// The line a texture slot's load writes to standard error when the slot gets no image (the loaders
// show no box then): the function, the file with the folder it was looked up in, and the reason.
// The slots' loaders need a GL context; the other loaders' lines are in test_failure_lines.cpp.
#include <gtest/gtest.h>

#include <Zelvo.h>

#include <gl_test_context.h>

#include <filesystem>
#include <string>

#include "../winapi/wine.h"
#include "failure_line_capture.h"
#include "texture_test_support.h"

using namespace tex_test;

namespace {

class FailureLinesGl : public ::testing::Test {
 protected:
  zelvo_test::GlTestContext context_{64, 64};
};

TEST_F(FailureLinesGl, MissingTgaTextureShowsNoBoxButSaysSo) {
  ScratchDir dir;
  InFolder inside(dir.path());
  Captured run = Capture([] { TextureLoadTGAID("water3.tga", 7); });
  EXPECT_TRUE(run.boxes.empty());
  ExpectOneLine(run, "TextureLoadTGAID", "water3.tga", dir.path(),
                "no such file (" + SystemText(ERROR_FILE_NOT_FOUND) + "); slot 7 is not loaded");
  Captured folder = Capture([] { TextureLoadTGAID("textures/water3.tga", 8); });
  ExpectOneLine(folder, "TextureLoadTGAID", "textures/water3.tga", dir.path() + "/textures",
                SystemText(ERROR_PATH_NOT_FOUND));
  std::filesystem::create_directory(dir.path() + "/water3.tga");
  Captured not_a_file = Capture([] { TextureLoadTGAID("water3.tga", 9); });
  ExpectOneLine(not_a_file, "TextureLoadTGAID", "water3.tga", dir.path(),
                "a folder, not a file; slot 9");
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

}  // namespace
