// The one line each loader failure writes to standard error beside its message box (or instead of
// one, where the loader shows none): the function, the file with the folder it was looked up in,
// and the reason. The boxes keep their texts.
#include <gtest/gtest.h>

#include <Zelvo.h>

#include <gl_test_context.h>

#include <cstring>

#include "../winapi/wine.h"
#include "captured_boxes.h"
#include "texture_test_support.h"

using namespace tex_test;

namespace {

// Runs `load` with standard error captured and boxes recorded; returns the lines written.
struct Captured {
  std::vector<std::string> lines;
  std::vector<Box> boxes;
};

template <class Load>
Captured Capture(Load load) {
  Captured run;
  CapturedBoxes boxes;
  ::testing::internal::CaptureStderr();
  load();
  const std::string text = ::testing::internal::GetCapturedStderr();
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    run.lines.push_back(text.substr(start, end - start));
  if (start < text.size()) run.lines.push_back(text.substr(start));
  run.boxes = boxes.boxes();
  return run;
}

// One line, of the form `Zelvo: FUNCTION: "FILE" in FOLDER: ...REASON...`.
#define ExpectOneLine(...)        \
  do {                            \
    SCOPED_TRACE("");             \
    ExpectOneLineAt(__VA_ARGS__); \
  } while (0)
void ExpectOneLineAt(const Captured& run, const std::string& function, const std::string& file,
                     const std::string& folder, const std::string& reason) {
  ASSERT_EQ(run.lines.size(), 1u) << (run.lines.empty() ? "no line" : run.lines[1]);
  const std::string& line = run.lines[0];
  EXPECT_EQ(line.rfind("Zelvo: " + function + ": \"" + file + "\" in " + folder + ": ", 0), 0u)
      << line;
  EXPECT_NE(line.find(reason), std::string::npos) << line;
}

TGATexture texture{};

bool LoadTga(const std::string& file) {
  texture = TGATexture{};
  const bool ok = LoadTGA(texture, file.c_str());
  std::free(texture.ImageData);
  return ok;
}

// Makes `folder` the current folder for the life of the object.
class InFolder {
 public:
  explicit InFolder(const std::string& folder) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~InFolder() { std::filesystem::current_path(old_); }

 private:
  std::filesystem::path old_;
};

// The folder that holds `path`.
std::string Parent(const std::string& path) { return path.substr(0, path.find_last_of("/\\")); }

// The system's words for an error code, as the lines quote them: Windows' own on our layer ("The
// system cannot find the file specified"), shorter ones of Wine's own under Wine ("File not
// found").
std::string SystemText(DWORD code) {
  char text[512];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, text, sizeof text, nullptr);
  while (length > 0 && std::strchr("\r\n. ", text[length - 1])) --length;
  return std::string(text, length);
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
