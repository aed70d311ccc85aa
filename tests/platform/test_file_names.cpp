// File names as Windows treats them: a name not found as given is matched without regard to case,
// component by component, by the one helper the loaders and GetFileAttributesA share.
#include <gtest/gtest.h>
#include <unistd.h>
#include <windows.h>

#include <climits>
#include <fstream>
#include <string>

#include "../controls/temp_dir.h"
#include "bmp_writer.h"
#include "file_name_case.h"

namespace {

using plat::find_file_name;

class FileNames : public ::testing::Test {
 protected:
  void Make(const std::string& relative, const std::string& bytes = "x") {
    const std::filesystem::path path = dir_.path() / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  void Folder(const std::string& relative) {
    std::filesystem::create_directories(dir_.path() / relative);
  }
  std::string At(const std::string& relative) const { return dir_ / relative; }
  // The name found for `relative` (inside the test's folder), relative again; "" for none.
  std::string Find(const std::string& relative, DWORD* error = nullptr) const {
    std::optional<std::string> found = find_file_name(At(relative).c_str(), error);
    if (!found) return "";
    const std::string prefix = dir_.path().string() + "/";
    EXPECT_EQ(found->rfind(prefix, 0), 0u) << *found;
    return found->substr(prefix.size());
  }

  ctrl_test::TempDir dir_;
};

TEST_F(FileNames, EveryComponentMatchesWithoutRegardToCase) {
  Make("Textures/Floor04.BMP");
  EXPECT_EQ(Find("Textures/Floor04.BMP"), "Textures/Floor04.BMP") << "the exact name as it is";
  EXPECT_EQ(Find("textures/FLOOR04.bmp"), "Textures/Floor04.BMP");
  EXPECT_EQ(Find("TEXTURES/floor04.Bmp"), "Textures/Floor04.BMP");
  EXPECT_EQ(Find("TEXTURES"), "Textures") << "a folder is found too";
  // Only the case differs: a different spelling is no match.
  EXPECT_EQ(Find("Texture/Floor04.BMP"), "");
  EXPECT_EQ(Find("Textures/Floor04.BMP.bak"), "");
}

TEST_F(FileNames, AmongSeveralMatchesTheExactComponentWinsThenByteOrder) {
  Make("pic.bmp", "lower");
  Make("PIC.BMP", "upper");
  Make("Pic.bmp", "mixed");
  EXPECT_EQ(Find("pic.bmp"), "pic.bmp");
  EXPECT_EQ(Find("Pic.bmp"), "Pic.bmp");
  EXPECT_EQ(Find("pIC.bmp"), "PIC.BMP") << "'P' < 'p', and \"PIC\" < \"Pic\"";

  // A folder chosen first that does not hold the rest is backed out of.
  Folder("Data");
  Make("data/Star.bmp");
  EXPECT_EQ(Find("DATA/star.BMP"), "data/Star.bmp");
  // And one that does hold it is taken, even when another candidate would too.
  Make("Data/star.bmp");
  EXPECT_EQ(Find("DATA/STAR.bmp"), "Data/star.bmp");
}

TEST_F(FileNames, NoMatchSaysWhetherTheFileOrAFolderIsMissing) {
  Make("Bitmaps/Star.bmp");
  DWORD error = 0;
  EXPECT_EQ(Find("bitmaps/Blob.bmp", &error), "");
  EXPECT_EQ(error, DWORD(ERROR_FILE_NOT_FOUND));
  error = 0;
  EXPECT_EQ(Find("Pictures/Star.bmp", &error), "");
  EXPECT_EQ(error, DWORD(ERROR_PATH_NOT_FOUND));
  error = 0;
  // A file where a folder is expected does not lead on.
  EXPECT_EQ(Find("bitmaps/star.bmp/more.bmp", &error), "");
  EXPECT_EQ(error, DWORD(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(find_file_name("", &error));
  EXPECT_FALSE(find_file_name(nullptr, &error));
}

TEST_F(FileNames, DotAndDotDotComponentsAreTakenAsTheyAre) {
  Make("Assets/Icons/Arrow.cur");
  Folder("Assets/Sounds");
  EXPECT_EQ(Find("assets/sounds/../ICONS/arrow.CUR"), "Assets/Sounds/../Icons/Arrow.cur");
  EXPECT_EQ(Find("./ASSETS/./icons/ARROW.cur"), "./Assets/./Icons/Arrow.cur");
  // ".." from a folder that exists under no case leads nowhere, as the open would.
  EXPECT_EQ(Find("assets/missing/../icons/arrow.cur"), "");
  // Empty components (doubled separators) are skipped.
  EXPECT_EQ(Find("assets//icons//ARROW.CUR"), "Assets/Icons/Arrow.cur");
}

TEST_F(FileNames, RelativeNamesStartInTheCurrentFolder) {
  Make("Sub/File.TXT");
  char here[PATH_MAX];
  ASSERT_NE(getcwd(here, sizeof here), nullptr);
  ASSERT_EQ(chdir(dir_.path().c_str()), 0);
  std::optional<std::string> found = find_file_name("sub/file.txt");
  char out[64];
  const DWORD length = ZelvoFindFileName("SUB/FILE.txt", out, sizeof out);
  char tiny[4] = "abc";
  const DWORD needed = ZelvoFindFileName("SUB/FILE.txt", tiny, sizeof tiny);
  SetLastError(0);
  const DWORD none = ZelvoFindFileName("sub/none.txt", out, sizeof out);
  const DWORD none_error = GetLastError();
  ASSERT_EQ(chdir(here), 0);

  EXPECT_EQ(found.value_or(""), "Sub/File.TXT");
  EXPECT_EQ(length, 12u);
  EXPECT_STREQ(out, "Sub/File.TXT");
  EXPECT_EQ(needed, 13u) << "the size needed, with the terminating zero";
  EXPECT_STREQ(tiny, "abc") << "a buffer too small is left alone";
  EXPECT_EQ(none, 0u);
  EXPECT_EQ(none_error, DWORD(ERROR_FILE_NOT_FOUND));
}

// The services that open files by name all take the fallback.
TEST_F(FileNames, LoadersAndAttributesFindTheFileUnderAnotherCase) {
  Folder("Cursors");
  std::filesystem::copy_file(std::filesystem::path(ZELVO_SOURCE_DIR) / "docs/images/water3.png",
                             dir_.path() / "Cursors/not-a-cursor.png");
  const zelvo_test::Bytes pixel = zelvo_test::bmp_from_rows(24, 1, 1, {0, 0, 0});
  const std::string bmp(pixel.begin(), pixel.end());
  Make("Bitmaps/StarN.bmp", bmp);

  HANDLE bitmap =
      LoadImageA(0, At("bitmaps/STARN.BMP").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  EXPECT_NE(bitmap, 0u);
  DeleteObject(bitmap);
  SetLastError(0);
  EXPECT_EQ(LoadImageA(0, At("bitmaps/STARH.BMP").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE),
            0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));

  // Found under another case, then refused for what it holds: the error says so.
  SetLastError(0);
  EXPECT_EQ(LoadCursorFromFileA(At("CURSORS/Not-A-Cursor.PNG").c_str()), 0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_DATA));

  EXPECT_EQ(GetFileAttributesA(At("BITMAPS").c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(GetFileAttributesA(At("bitmaps/starn.BMP").c_str()), DWORD(FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesA(At("bitmaps/blob.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(GetFileAttributesA(At("pictures/starn.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
}

}  // namespace
