// The one line each loader failure writes to standard error beside its message box (or instead of
// one, where the loader shows none): the function, the file with the folder it was looked up in,
// and the reason. The boxes keep their texts. The texture slots' lines, which need a GL context,
// are in test_texture_slot_files.cpp.
#include <gtest/gtest.h>

#include <Zelvo.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "failure_line_capture.h"
#include "texture_test_support.h"
#include "wine_differences.h"

using namespace tex_test;

namespace {

TGATexture texture{};

bool LoadTga(const std::string& file) {
  texture = TGATexture{};
  const bool ok = LoadTGA(texture, file.c_str());
  std::free(texture.ImageData);
  return ok;
}

TEST(FailureLines, TheWordsQuotedAreWindowsOwn) {
  SKIP_UNDER_WINE("Wine words its error texts otherwise");
  EXPECT_EQ(SystemText(ERROR_FILE_NOT_FOUND), "The system cannot find the file specified");
  EXPECT_EQ(SystemText(ERROR_PATH_NOT_FOUND), "The system cannot find the path specified");
  EXPECT_EQ(SystemText(ERROR_INVALID_DATA), "The data is invalid");
}

// Why a folder cannot be read as a file: the library's own words where it can tell (Linux), the C
// library's on Windows, whose fopen refuses a folder before the library sees it.
#ifdef _WIN32
const char* const kFolderNotFile = "Permission denied";
#else
const char* const kFolderNotFile = "a folder, not a file";
#endif

TEST(FailureLines, TgaRefusalsNameTheFileTheFolderAndTheCause) {
  ScratchDir dir;
  // The box keeps its text; the line says what the box cannot.
  Captured missing = Capture([&] { LoadTga(dir.File("gone.tga")); });
  ASSERT_EQ(missing.boxes.size(), 1u);
  EXPECT_EQ(missing.boxes[0].text, "Could not open texture file");
  ExpectOneLine(missing, "LoadTGA", dir.File("gone.tga"), dir.path(),
                "Could not open texture file: No such file or directory");

  Captured folder = Capture([&] { LoadTga(dir.path()); });
  ExpectOneLine(folder, "LoadTGA", dir.path(), Parent(dir.path()), kFolderNotFile);

  // A relative name is looked up in the current folder, and the line says which one that was.
  {
    InFolder inside(dir.path());
    Captured relative = Capture([&] { LoadTga("sub/gone.tga"); });
    ExpectOneLine(relative, "LoadTGA", "sub/gone.tga", dir.path() + "/sub",
                  "No such file or directory");
  }

  // An image-ID field is refused with the type message, and the line names the real cause.
  Bytes with_id = TgaHeader(2, 1, 1, 24);
  with_id[0] = 5;
  Captured id = Capture([&] { LoadTga(dir.Write("id.tga", Concat(with_id, Bytes(8)))); });
  ASSERT_EQ(id.boxes.size(), 1u);
  EXPECT_EQ(id.boxes[0].text, "TGA file be type 2 or type 10");
  EXPECT_EQ(id.boxes[0].caption, "Invalid Image");
  ExpectOneLine(id, "LoadTGA", dir.File("id.tga"), dir.path(), "5-byte image ID field");

  Bytes grey = TgaHeader(3, 1, 1, 8);
  Captured kind = Capture([&] { LoadTga(dir.Write("grey.tga", Concat(grey, Bytes(1)))); });
  ExpectOneLine(kind, "LoadTGA", dir.File("grey.tga"), dir.path(), "image type 3: greyscale");

  Captured header = Capture([&] { LoadTga(dir.Write("short.tga", Bytes(5))); });
  ExpectOneLine(header, "LoadTGA", dir.File("short.tga"), dir.path(),
                "Could not read file header: the file ends after 5 of its 12 header bytes");

  Captured info = Capture([&] { LoadTga(dir.Write("depth.tga", TgaHeader(2, 7, 9, 16))); });
  ExpectOneLine(info, "LoadTGA", dir.File("depth.tga"), dir.path(),
                "Invalid texture information: 7 x 9 pixels of 16 bits");

  Captured pixels =
      Capture([&] { LoadTga(dir.Write("cut.tga", Concat(TgaHeader(2, 2, 2, 24), Bytes(11)))); });
  ExpectOneLine(pixels, "LoadTGA", dir.File("cut.tga"), dir.path(),
                "Could not read image data: the file ends before the 12 bytes of pixels");

  // A load that succeeds writes nothing.
  Captured good = Capture(
      [&] { EXPECT_TRUE(LoadTga(dir.Write("ok.tga", Concat(TgaHeader(2, 1, 1, 24), Bytes(3))))); });
  EXPECT_TRUE(good.lines.empty());
  EXPECT_TRUE(good.boxes.empty());
}

TEST(FailureLines, ControlBitmapsNameTheFileAndTheWindowsError) {
  ScratchDir dir;
  HPALETTE palette{};
  Captured run = Capture([&] { EXPECT_FALSE(LoadBmpFromFile(dir.File("StarN.BMP"), palette)); });
  ExpectOneLine(run, "LoadBmpFromFile", dir.File("StarN.BMP"), dir.path(),
                "LoadImageA failed: " + SystemText(ERROR_FILE_NOT_FOUND));
  Captured region =
      Capture([&] { EXPECT_FALSE(BitmapToRegion(dir.File("nowhere/StarN.BMP"), 0, 0)); });
  ExpectOneLine(region, "LoadBmpFromFile", dir.File("nowhere/StarN.BMP"), dir.path() + "/nowhere",
                SystemText(ERROR_PATH_NOT_FOUND));
}

// A device error ends the program; its line names the file being read. Linux only: Windows has no
// file whose read fails like /proc/self/mem.
#ifndef _WIN32
TEST(FailureLinesDeathTest, InputOutputErrorNamesTheFile) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(LoadTga("/proc/self/mem"), ::testing::ExitedWithCode(2),
              "run-time error: input/output error in a file read of \"/proc/self/mem\" in "
              "/proc/self: ");
}
#endif

}  // namespace
