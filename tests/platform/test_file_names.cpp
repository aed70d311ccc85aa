// File names as Windows treats them: a name not found as given is matched without regard to case,
// component by component, in the program's Windows-1252 against UTF-8 on disk, by the one helper
// the loaders and GetFileAttributesA share.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <windows.h>

#include <climits>
#include <fstream>
#include <string>

#include "bmp_writer.h"
#include "drop_root.h"
#include "file_name_case.h"
#include "temp_dir.h"

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
  void Link(const std::string& relative, const std::string& target) {
    std::filesystem::create_directory_symlink(target, dir_.path() / relative);
  }
  std::string At(const std::string& relative) const { return dir_ / relative; }
  std::string Bmp() const {
    const zelvo_test::Bytes pixel = zelvo_test::bmp_from_rows(24, 1, 1, {0, 0, 0});
    return std::string(pixel.begin(), pixel.end());
  }
  // The name found for `relative` (inside the test's folder), relative again; "" for none.
  std::string Find(const std::string& relative, DWORD* error = nullptr) const {
    std::optional<std::string> found = find_file_name(At(relative).c_str(), error);
    if (!found) return "";
    const std::string prefix = dir_.path().string() + "/";
    EXPECT_EQ(found->rfind(prefix, 0), 0u) << *found;
    return found->substr(prefix.size());
  }

  zelvo_test::TempDir dir_;
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
  Make("Bitmaps/StarN.bmp", Bmp());

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

// Two links back to the folder itself make every case match lead on: a search that tried each
// again for every way of reaching it would take 2^N steps for N components. Each folder is read
// once, and each (folder, rest of the path) searched once, so the work grows with N alone.
TEST_F(FileNames, LinksBackToTheFolderCostWorkInProportionToThePath) {
  Link("aA", ".");
  Link("Aa", ".");
  Make("file");
  // The folders above the test's own, which a lookup that fails backs out into.
  const size_t above = static_cast<size_t>(std::distance(dir_.path().begin(), dir_.path().end()));
  for (size_t n : {1, 8, 16, 20, 30}) {
    SCOPED_TRACE(std::to_string(n) + " components");
    std::string repeated;
    for (size_t i = 0; i < n; ++i) repeated += "aa/";
    for (const char* last : {"missing", "FILE"}) {
      DWORD error = 0;
      const std::string found = Find(repeated + last, &error);
      const plat::FileNameWork work = plat::last_file_name_work();
      if (std::string(last) == "FILE") {
        std::string expected;  // "Aa" < "aA": the first in byte order, which holds the file
        for (size_t i = 0; i < n; ++i) expected += "Aa/";
        EXPECT_EQ(found, expected + "file");
      } else {
        EXPECT_EQ(found, "");
        EXPECT_EQ(error, DWORD(ERROR_FILE_NOT_FOUND));
      }
      ASSERT_LE(work.folders_read, above + 1);
      ASSERT_LE(work.names_checked, 4 * (n + above + 1));
    }
  }
}

// A name in Windows-1252 finds the entry whose UTF-8 name is the same text in any case Windows
// folds; the bytes of the name as given still come first.
TEST_F(FileNames, NamesBeyondAsciiMatchTheirUtf8AsWindowsFoldsThem) {
  const struct {
    std::vector<std::string> on_disk;
    std::string asked, found;  // found "" for no match
  } cases[] = {
      {{"caf\xC3\xA9.bmp"}, "caf\xE9.bmp", "caf\xC3\xA9.bmp"},
      {{"caf\xC3\xA9.bmp"}, "CAF\xC9.BMP", "caf\xC3\xA9.bmp"},
      {{"\xC3\x89t\xC3\xA9/No\xC3\xABl.tga"},
       "\xC9T\xC9/NO\xCBL.TGA",
       "\xC3\x89t\xC3\xA9/No\xC3\xABl.tga"},
      {{"\xC5\x92uvre"}, "\x9Cuvre", "\xC5\x92uvre"},          // Œ, œ
      {{"\xC5\xA1\xC5\xBD"}, "\x8A\x9E", "\xC5\xA1\xC5\xBD"},  // š Ž, Š ž
      {{"\xC5\xB8.ico"}, "\xFF.ICO", "\xC5\xB8.ico"},          // Ÿ, ÿ
      {{"a\xC3\x97"
        "b"},
       "A\xF7"
       "B",
       ""},                                                        // × and ÷ are no pair
      {{"caf\xE9.raw"}, "CAF\xE9.RAW", "caf\xE9.raw"},             // not UTF-8: its bytes
      {{"CAF\xC3\x89", "caf\xC3\xA9"}, "caf\xE9", "caf\xC3\xA9"},  // the same text first
      {{"CAF\xC3\x89", "caf\xC3\xA9"}, "Caf\xE9", "CAF\xC3\x89"},  // then byte order
  };
  int number = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.asked);
    const std::string folder = "case" + std::to_string(number++) + "/";
    for (const std::string& name : c.on_disk) Make(folder + name);
    EXPECT_EQ(Find(folder + c.asked), c.found.empty() ? "" : folder + c.found);
  }
  Make("caf\xC3\xA9.bmp", Bmp());
  for (const char* asked : {"caf\xE9.bmp", "CAF\xC9.BMP"}) {
    HANDLE bitmap = LoadImageA(0, At(asked).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    EXPECT_NE(bitmap, 0u) << asked << ": error " << GetLastError();
    DeleteObject(bitmap);
  }
}

// A folder the user may not read or search stops the search: access denied, as the open says, and
// not a missing file. Checked as nobody, since root may search anything.
TEST_F(FileNames, AFolderThatCannotBeSearchedDeniesAccess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  Make("locked/pic.bmp", Bmp());
  Make("unsearchable/pic.bmp", Bmp());
  Make("open/pic.bmp", Bmp());
  ASSERT_EQ(chmod(dir_.path().c_str(), 0755), 0);
  ASSERT_EQ(chmod(At("locked").c_str(), 0700), 0);
  ASSERT_EQ(chmod(At("unsearchable").c_str(), 0744), 0);  // its names can be read, not reached
  ASSERT_EQ(chmod(At("open").c_str(), 0755), 0);
  const struct {
    const char* name;
    DWORD error;
  } cases[] = {
      {"locked/pic.bmp", ERROR_ACCESS_DENIED},       {"LOCKED/PIC.BMP", ERROR_ACCESS_DENIED},
      {"unsearchable/pic.bmp", ERROR_ACCESS_DENIED}, {"Unsearchable/Pic.bmp", ERROR_ACCESS_DENIED},
      {"open/missing.bmp", ERROR_FILE_NOT_FOUND},    {"missing/pic.bmp", ERROR_PATH_NOT_FOUND}};
  EXPECT_EXIT(
      {
        if (!zelvo_test::drop_root()) _exit(3);
        bool ok = true;
        for (const auto& c : cases) {
          const std::string name = At(c.name);
          SetLastError(0);
          const DWORD attributes = GetFileAttributesA(name.c_str());
          const DWORD attributes_error = GetLastError();
          SetLastError(0);
          const HANDLE bitmap = LoadImageA(0, name.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
          const DWORD load_error = GetLastError();
          if (attributes != INVALID_FILE_ATTRIBUTES || attributes_error != c.error || bitmap ||
              load_error != c.error) {
            std::fprintf(stderr, "%s: GetFileAttributesA error %lu, LoadImageA error %lu\n", c.name,
                         static_cast<unsigned long>(attributes_error),
                         static_cast<unsigned long>(load_error));
            ok = false;
          }
        }
        // The readable file is still read as nobody: the refusals are the folders' doing.
        ok = ok && GetFileAttributesA(At("OPEN/PIC.BMP").c_str()) == FILE_ATTRIBUTE_NORMAL;
        _exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
