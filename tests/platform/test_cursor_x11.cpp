// Cursors and icons on the X server: the system ones, and the X cursors made from .cur/.ico files
// we write (and ImageMagick writes and reads as the independent oracle). Their decoding alone is
// tested without a display in test_cursor_file.cpp.
#include <gtest/gtest.h>
#include <windows.h>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "cursor_file_writer.h"
#include "cursor_internal.h"
#include "x_display.h"

using namespace cursor_test;

namespace {

// The cursor the server shows over a window, read through XFixes (loaded at run time).
struct ShownCursor {
  bool ok = false;
  int width = 0, height = 0, hot_x = 0, hot_y = 0;
  std::vector<unsigned long> pixels;
};

ShownCursor show_and_read(::Cursor cursor) {
  ShownCursor out;
  void* lib = dlopen("libXfixes.so.3", RTLD_NOW);
  if (!lib) return out;
  using GetImage = XFixesCursorImage* (*)(Display*);
  auto get_image = reinterpret_cast<GetImage>(dlsym(lib, "XFixesGetCursorImage"));
  Display* d = plat::x_display();
  // Override-redirect, so that a window manager neither frames nor moves it.
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = 0xFFFFFF;
  Window w =
      XCreateWindow(d, DefaultRootWindow(d), 100, 100, 200, 200, 0, CopyFromParent, InputOutput,
                    CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
  XDefineCursor(d, w, cursor);
  XMapRaised(d, w);
  XSync(d, False);
  XWarpPointer(d, None, w, 0, 0, 0, 0, 50, 50);
  XSync(d, False);
  // The server may take a moment to show the window's cursor.
  for (int attempt = 0; attempt < 100 && get_image && !out.ok; ++attempt) {
    XFixesCursorImage* image = get_image(d);
    if (image && image->cursor_serial != 0 && image->width > 0) {
      out.width = image->width;
      out.height = image->height;
      out.hot_x = image->xhot;
      out.hot_y = image->yhot;
      out.pixels.assign(image->pixels,
                        image->pixels + static_cast<size_t>(image->width) * image->height);
      out.ok = true;
    }
    if (image) XFree(image);
    if (!out.ok) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  XDestroyWindow(d, w);
  XSync(d, False);
  dlclose(lib);
  return out;
}

}  // namespace

// The handles themselves are checked in both worlds by tests/winapi/test_cursor.cpp.
TEST(SystemCursor, EveryIdentifierOfTheFrameworkGivesASharedHandleAndAnXCursor) {
  const LPCSTR ids[] = {IDC_ARROW,   IDC_IBEAM,       IDC_WAIT,     IDC_CROSS,
                        IDC_UPARROW, IDC_SIZE,        IDC_SIZENWSE, IDC_SIZENESW,
                        IDC_SIZEWE,  IDC_SIZENS,      IDC_SIZEALL,  IDC_NO,
                        IDC_HAND,    IDC_APPSTARTING, IDC_HELP,     IDC_ICON};
  for (LPCSTR id : ids) {
    HCURSOR c = LoadCursorA(0, id);
    ASSERT_NE(c, 0u) << reinterpret_cast<uintptr_t>(id);
    EXPECT_NE(plat::x_cursor(c), 0u);
  }
  // Destroying a shared cursor leaves it working.
  HCURSOR arrow = LoadCursorA(0, IDC_ARROW);
  EXPECT_TRUE(DestroyCursor(arrow));
  EXPECT_NE(plat::x_cursor(arrow), 0u);
  // A module other than the system's has no cursors here.
  EXPECT_EQ(LoadCursorA(1, IDC_ARROW), 0u);
  EXPECT_EQ(plat::x_cursor(0), 0u);
}

TEST(SystemIcon, ApplicationIconHasADrawnImage) {
  HICON icon = LoadIconA(0, IDI_APPLICATION);
  ASSERT_NE(icon, 0u);
  EXPECT_EQ(LoadIconA(0, IDI_APPLICATION), icon);
  std::vector<unsigned long> argb = plat::icon_argb(icon);
  ASSERT_EQ(argb.size(), 2u + 32u * 32u);
  EXPECT_EQ(argb[0], 32u);
  EXPECT_EQ(argb[1], 32u);
  size_t opaque = 0, transparent = 0;
  for (size_t i = 2; i < argb.size(); ++i) {
    opaque += (argb[i] >> 24) == 0xFF;
    transparent += (argb[i] >> 24) == 0;
  }
  EXPECT_GT(opaque, 500u);
  EXPECT_GT(transparent, 50u);
  for (LPCSTR id : {IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK, IDI_WINLOGO})
    EXPECT_NE(LoadIconA(0, id), 0u);
  EXPECT_EQ(LoadIconA(0, MAKEINTRESOURCEA(1)), 0u);
  // An icon can be a cursor too; a system cursor has no image for a window icon.
  EXPECT_NE(plat::x_cursor(icon), 0u);
  EXPECT_TRUE(plat::icon_argb(LoadCursorA(0, IDC_ARROW)).empty());
}

TEST(CursorFile, OneBitCursorKeepsItsHotSpotOnTheServer) {
  std::string path = write_file("hot.cur", one_bit_cursor(5, 7));
  HCURSOR cursor = LoadCursorFromFileA(path.c_str());
  ASSERT_NE(cursor, 0u);
  ::Cursor x = plat::x_cursor(cursor);
  ASSERT_NE(x, 0u);
  ShownCursor shown = show_and_read(x);
  ASSERT_TRUE(shown.ok) << "XFixes could not read the cursor";
  EXPECT_EQ(shown.width, 32);
  EXPECT_EQ(shown.height, 32);
  EXPECT_EQ(shown.hot_x, 5);
  EXPECT_EQ(shown.hot_y, 7);
  // Column 0 of the square is white (index 1), the rest of it black, outside transparent.
  EXPECT_EQ(shown.pixels[0 * 32 + 0] & 0xFFFFFFFF, 0xFFFFFFFFu);
  EXPECT_EQ(shown.pixels[3 * 32 + 4] & 0xFFFFFFFF, 0xFF000000u);
  EXPECT_EQ(shown.pixels[25 * 32 + 25] >> 24 & 0xFF, 0u);
  EXPECT_TRUE(DestroyCursor(cursor));
  EXPECT_FALSE(DestroyCursor(cursor)) << "stale handle";
  EXPECT_EQ(plat::x_cursor(cursor), 0u);
}

TEST(CursorFile, IconWrittenByImageMagickMatchesItsOwnDecoding) {
  fs::path ico = temp_dir() / "magick.ico";
  fs::path rgba = temp_dir() / "magick.rgba";
  std::string make =
      "convert -size 32x32 gradient:'rgba(255,0,0,1)-rgba(0,0,255,0.25)' -define "
      "icon:auto-resize=32 '" +
      ico.string() + "' && convert '" + ico.string() + "' -depth 8 'rgba:" + rgba.string() + "'";
  ASSERT_EQ(std::system(make.c_str()), 0) << make;
  std::ifstream in(ico, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  auto image = parse(bytes);
  ASSERT_TRUE(image);
  ASSERT_EQ(image->width, 32);
  std::ifstream oracle(rgba, std::ios::binary);
  std::vector<uint8_t> expected((std::istreambuf_iterator<char>(oracle)),
                                std::istreambuf_iterator<char>());
  ASSERT_EQ(expected.size(), 32u * 32u * 4u);
  int mismatches = 0;
  for (size_t i = 0; i < 32 * 32; ++i) {
    uint32_t p = image->argb[i];
    uint8_t r = p >> 16, g = p >> 8, b = p, a = p >> 24;
    const uint8_t* e = &expected[i * 4];
    if (std::abs(r - e[0]) > 1 || std::abs(g - e[1]) > 1 || std::abs(b - e[2]) > 1 ||
        std::abs(a - e[3]) > 1)
      ++mismatches;
  }
  EXPECT_EQ(mismatches, 0);
  HCURSOR cursor = LoadCursorFromFileA(ico.string().c_str());
  EXPECT_NE(cursor, 0u);
  EXPECT_EQ(plat::icon_argb(cursor).size(), 2u + 32u * 32u)
      << "an icon file can serve as a window icon";
  DestroyIcon(cursor);
}
