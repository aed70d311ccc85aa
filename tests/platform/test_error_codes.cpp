// What the file loaders leave for GetLastError when they fail, the system's text for each code
// (FormatMessageA), and the kernel's answers about the program's file and the current folder.
#include <gtest/gtest.h>
#include <unistd.h>
#include <windows.h>

#include <climits>
#include <cstring>
#include <string>

#include "bmp_writer.h"
#include "temp_dir.h"

namespace {

std::string Text(DWORD code) {
  char buffer[256];
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, buffer, sizeof buffer, nullptr);
  return std::string(buffer, length);
}

DWORD ErrorOf(HANDLE result) {
  EXPECT_EQ(result, 0u);
  return GetLastError();
}

HANDLE LoadBitmap(const std::string& name) {
  SetLastError(0);
  return LoadImageA(0, name.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
}

HANDLE LoadCursorFile(const std::string& name) {
  SetLastError(0);
  return LoadCursorFromFileA(name.c_str());
}

// A 24-bit bottom-up BMP file of width x height black pixels.
std::string Bmp24(int width, int height) {
  const zelvo_test::Bytes bytes =
      zelvo_test::bmp_from_rows(24, width, height, zelvo_test::Bytes(size_t(width) * height * 3));
  return std::string(bytes.begin(), bytes.end());
}

void Write(const std::string& name, const std::string& bytes) {
  FILE* f = std::fopen(name.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

TEST(ErrorCodes, SystemTextsAreWindowsOwnAndEndInALineBreak) {
  EXPECT_EQ(Text(ERROR_FILE_NOT_FOUND), "The system cannot find the file specified.\r\n");
  EXPECT_EQ(Text(ERROR_PATH_NOT_FOUND), "The system cannot find the path specified.\r\n");
  EXPECT_EQ(Text(ERROR_ACCESS_DENIED), "Access is denied.\r\n");
  EXPECT_EQ(Text(ERROR_INVALID_DATA), "The data is invalid.\r\n");
  EXPECT_EQ(Text(ERROR_NOT_ENOUGH_MEMORY),
            "Not enough memory resources are available to process this command.\r\n");
  // The window, class and GL codes, in Windows' words (Wine words several otherwise).
  EXPECT_EQ(Text(ERROR_INVALID_HANDLE), "The handle is invalid.\r\n");
  EXPECT_EQ(Text(ERROR_INVALID_WINDOW_HANDLE), "Invalid window handle.\r\n");
  EXPECT_EQ(Text(ERROR_TLW_WITH_WSCHILD), "Cannot create a top-level child window.\r\n");
  EXPECT_EQ(Text(ERROR_CANNOT_FIND_WND_CLASS), "Cannot find window class.\r\n");
  EXPECT_EQ(Text(ERROR_CLASS_ALREADY_EXISTS), "Class already exists.\r\n");
  EXPECT_EQ(Text(ERROR_CLASS_DOES_NOT_EXIST), "Class does not exist.\r\n");
  EXPECT_EQ(Text(ERROR_CLASS_HAS_WINDOWS), "Class still has open windows.\r\n");
  EXPECT_EQ(Text(ERROR_INVALID_PIXEL_FORMAT), "The pixel format is invalid.\r\n");

  // A code without a text, a buffer too small, a use the layer does not offer: 0 and the reason.
  char small[8];
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 0x7FFF, 0, small, 8, nullptr), 0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MR_MID_NOT_FOUND));
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, small, 8,
                           nullptr),
            0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(FormatMessageA(0x400 /* FROM_STRING */, "x", 0, 0, small, 8, nullptr), 0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST(ErrorCodes, LoadersSayWhyAFileWasNotLoaded) {
  zelvo_test::TempDir dir;
  EXPECT_EQ(ErrorOf(LoadBitmap(dir / "missing.bmp")), DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(ErrorOf(LoadBitmap(dir / "no-folder/missing.bmp")), DWORD(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(ErrorOf(LoadBitmap(dir.path().string())), DWORD(ERROR_ACCESS_DENIED));
  Write(dir / "text.bmp", "not a bitmap at all, but long enough to hold the headers of one ....");
  EXPECT_EQ(ErrorOf(LoadBitmap(dir / "text.bmp")), DWORD(ERROR_INVALID_DATA));
  // Pixels cut short: the headers promise bytes the file does not have.
  Write(dir / "whole.bmp", Bmp24(8, 8));
  EXPECT_NE(LoadBitmap(dir / "whole.bmp"), 0u);
  const std::string whole = Bmp24(8, 8);
  Write(dir / "cut.bmp", whole.substr(0, whole.size() - 40));
  EXPECT_EQ(ErrorOf(LoadBitmap(dir / "cut.bmp")), DWORD(ERROR_INVALID_DATA));

  EXPECT_EQ(ErrorOf(LoadCursorFile(dir / "missing.cur")), DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(ErrorOf(LoadCursorFile(dir / "no-folder/missing.cur")), DWORD(ERROR_PATH_NOT_FOUND));
  Write(dir / "text.cur", "not a cursor");
  EXPECT_EQ(ErrorOf(LoadCursorFile(dir / "text.cur")), DWORD(ERROR_INVALID_DATA));
  SetLastError(0);
  EXPECT_EQ(LoadCursorFromFileA(nullptr), 0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST(ErrorCodes, ModuleFileNameIsTheExecutable) {
  char expected[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", expected, sizeof expected);
  ASSERT_GT(n, 0);
  char name[PATH_MAX];
  EXPECT_EQ(GetModuleFileNameA(0, name, sizeof name), DWORD(n));
  EXPECT_EQ(std::string(name), std::string(expected, n));
  EXPECT_EQ(GetModuleFileNameA(GetModuleHandleA(nullptr), name, sizeof name), DWORD(n));

  // Too small: cut, terminated, the buffer's size returned, ERROR_INSUFFICIENT_BUFFER.
  char cut[6];
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameA(0, cut, sizeof cut), DWORD(sizeof cut));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::string(cut), std::string(expected, 5));

  EXPECT_EQ(GetModuleFileNameA(0x1234, name, sizeof name), 0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
}

TEST(ErrorCodes, CurrentFolderAndItsSize) {
  char expected[PATH_MAX];
  ASSERT_NE(getcwd(expected, sizeof expected), nullptr);
  const DWORD length = DWORD(std::strlen(expected));
  EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), length + 1);
  char small[2] = {'x', 0};
  EXPECT_EQ(GetCurrentDirectoryA(sizeof small, small), length + 1);
  EXPECT_EQ(small[0], 'x') << "a buffer too small is left alone";
  char folder[PATH_MAX];
  EXPECT_EQ(GetCurrentDirectoryA(sizeof folder, folder), length);
  EXPECT_STREQ(folder, expected);
}

}  // namespace
