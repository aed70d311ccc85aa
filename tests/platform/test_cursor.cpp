// Cursors and icons: the system ones, .cur/.ico files we write (and ImageMagick writes and reads as
// the independent oracle), the X cursors made from them, and broken files.
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

#include "cursor_file.h"
#include "cursor_internal.h"
#include "handle_table.h"
#include "x_display.h"

namespace {

namespace fs = std::filesystem;

fs::path temp_dir() {
  static fs::path dir = [] {
    fs::path p = fs::temp_directory_path() / ("zelvo_cursor_" + std::to_string(getpid()));
    fs::create_directories(p);
    return p;
  }();
  return dir;
}

void put16(std::vector<uint8_t>& v, unsigned x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void put32(std::vector<uint8_t>& v, uint32_t x) {
  put16(v, x & 0xFFFF);
  put16(v, x >> 16);
}

// One BMP-format image of a cursor or icon entry. `pixel(x, y)` gives a palette index (bits <= 8)
// or 0xAARRGGBB; `masked(x, y)` the AND-mask bit. Rows are written bottom-up as the format wants.
template <class Pixel, class Masked>
std::vector<uint8_t> entry_image(int w, int h, int bits, const std::vector<uint32_t>& palette,
                                 Pixel pixel, Masked masked) {
  std::vector<uint8_t> v;
  put32(v, 40);
  put32(v, static_cast<uint32_t>(w));
  put32(v, static_cast<uint32_t>(2 * h));
  put16(v, 1);
  put16(v, static_cast<unsigned>(bits));
  for (int i = 0; i < 6; ++i) put32(v, 0);
  for (uint32_t c : palette) put32(v, c & 0xFFFFFF);
  size_t xor_stride = (static_cast<size_t>(w) * bits + 31) / 32 * 4;
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(xor_stride, 0);
    for (int x = 0; x < w; ++x) {
      uint32_t p = pixel(x, y);
      if (bits == 32) {
        for (int k = 0; k < 4; ++k) row[x * 4 + k] = static_cast<uint8_t>(p >> (8 * k));
      } else if (bits == 24) {
        for (int k = 0; k < 3; ++k) row[x * 3 + k] = static_cast<uint8_t>(p >> (8 * k));
      } else {
        size_t bit = static_cast<size_t>(x) * bits;
        row[bit / 8] |= static_cast<uint8_t>(p << (8 - bits - bit % 8));
      }
    }
    v.insert(v.end(), row.begin(), row.end());
  }
  size_t and_stride = (static_cast<size_t>(w) + 31) / 32 * 4;
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(and_stride, 0);
    for (int x = 0; x < w; ++x)
      if (masked(x, y)) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    v.insert(v.end(), row.begin(), row.end());
  }
  return v;
}

struct FileEntry {
  int w, h, hot_x, hot_y;
  std::vector<uint8_t> image;
};

std::vector<uint8_t> directory_file(int type, const std::vector<FileEntry>& entries) {
  std::vector<uint8_t> v;
  put16(v, 0);
  put16(v, static_cast<unsigned>(type));
  put16(v, static_cast<unsigned>(entries.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
  for (const FileEntry& e : entries) {
    v.push_back(static_cast<uint8_t>(e.w));
    v.push_back(static_cast<uint8_t>(e.h));
    v.push_back(0);
    v.push_back(0);
    put16(v, static_cast<unsigned>(e.hot_x));
    put16(v, static_cast<unsigned>(e.hot_y));
    put32(v, static_cast<uint32_t>(e.image.size()));
    put32(v, offset);
    offset += static_cast<uint32_t>(e.image.size());
  }
  for (const FileEntry& e : entries) v.insert(v.end(), e.image.begin(), e.image.end());
  return v;
}

// A 1-bit 32 x 32 arrow-like cursor: black square at the top left, the rest transparent.
std::vector<uint8_t> one_bit_cursor(int hot_x, int hot_y) {
  auto inside = [](int x, int y) { return x < 12 && y < 20; };
  return directory_file(2, {{32, 32, hot_x, hot_y,
                             entry_image(
                                 32, 32, 1, {0x000000, 0xFFFFFF},
                                 [&](int x, int y) { return inside(x, y) && x == 0 ? 1u : 0u; },
                                 [&](int x, int y) { return !inside(x, y); })}});
}

std::string write_file(const std::string& name, const std::vector<uint8_t>& bytes) {
  fs::path p = temp_dir() / name;
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return p.string();
}

std::optional<plat::CursorImage> parse(const std::vector<uint8_t>& bytes) {
  return plat::parse_cursor_file(bytes.data(), bytes.size());
}

uint32_t at(const plat::CursorImage& image, int x, int y) {
  return image.argb[static_cast<size_t>(y) * image.width + x];
}

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

TEST(CursorFile, EveryDepthDecodesWithPaletteMaskAndBottomUpRows) {
  for (int bits : {1, 4, 8, 24, 32}) {
    std::vector<uint32_t> palette;
    if (bits <= 8)
      for (int i = 0; i < (1 << bits); ++i)
        palette.push_back(static_cast<uint32_t>(i * 0x010203 *
                                                (bits == 1   ? 255
                                                 : bits == 4 ? 17
                                                             : 1)) &
                          0xFFFFFF);
    auto pixel = [&](int x, int y) -> uint32_t {
      if (x >= 28 && y >= 28) return 0;  // black under the mask: transparent
      if (bits <= 8) return static_cast<uint32_t>((x + 2 * y) % (1 << bits));
      return 0xFF000000u | static_cast<uint32_t>(x * 8) << 16 | static_cast<uint32_t>(y * 8) << 8 |
             0x40;
    };
    auto masked = [](int x, int y) { return x >= 28 && y >= 28; };
    auto image = parse(
        directory_file(2, {{32, 32, 1, 2, entry_image(32, 32, bits, palette, pixel, masked)}}));
    ASSERT_TRUE(image) << bits << " bits";
    EXPECT_EQ(image->width, 32);
    EXPECT_EQ(image->height, 32);
    EXPECT_EQ(image->hot_x, 1);
    EXPECT_EQ(image->hot_y, 2);
    for (int y : {0, 5, 27})
      for (int x : {0, 3, 17}) {
        uint32_t p = pixel(x, y);
        uint32_t expected = bits <= 8 ? 0xFF000000u | palette[p] : p;
        ASSERT_EQ(at(*image, x, y), expected) << bits << " bits at " << x << "," << y;
      }
    // 32-bit images carry their own alpha; the others take transparency from the mask.
    if (bits != 32) {
      EXPECT_EQ(at(*image, 30, 30), 0u) << bits;
    }
  }
}

TEST(CursorFile, ThirtyTwoBitWithoutAlphaUsesTheMaskAndInvertingPixelsBecomeBlack) {
  auto image = parse(directory_file(
      2, {{16, 16, 0, 0,
           entry_image(
               16, 16, 32, {}, [](int x, int) { return x < 8 ? 0x00FF0000u : 0x00FFFFFFu; },
               [](int, int y) { return y >= 8; })}}));
  ASSERT_TRUE(image);
  EXPECT_EQ(at(*image, 2, 2), 0xFFFF0000u);
  EXPECT_EQ(at(*image, 12, 12), 0xFF000000u) << "masked and non-black inverts on the real platform";
  auto transparent = parse(directory_file(
      2, {{16, 16, 0, 0,
           entry_image(
               16, 16, 32, {}, [](int, int) { return 0u; }, [](int, int) { return true; })}}));
  ASSERT_TRUE(transparent);
  EXPECT_EQ(at(*transparent, 3, 3), 0u);
}

TEST(CursorFile, PicksTheEntryClosestTo32AndIconHotSpotIsTheCentre) {
  auto small = entry_image(
      16, 16, 8, std::vector<uint32_t>(256, 0x0000FF), [](int, int) { return 0u; },
      [](int, int) { return false; });
  auto large = entry_image(
      32, 32, 24, {}, [](int, int) { return 0xFF00FF00u; }, [](int, int) { return false; });
  auto image = parse(directory_file(1, {{16, 16, 1, 8, small}, {32, 32, 1, 24, large}}));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 32);
  EXPECT_EQ(at(*image, 4, 4), 0xFF00FF00u);
  EXPECT_EQ(image->hot_x, 16);
  EXPECT_EQ(image->hot_y, 16);
  // A hot spot outside the image is kept inside it.
  auto clamped = parse(directory_file(2, {{32, 32, 500, 40, large}}));
  ASSERT_TRUE(clamped);
  EXPECT_EQ(clamped->hot_x, 31);
  EXPECT_EQ(clamped->hot_y, 31);
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

TEST(CursorFile, MissingTruncatedAndMalformedFilesGiveNothing) {
  size_t cursors_before = plat::handle_count(plat::Kind::Cursor);
  EXPECT_EQ(LoadCursorFromFileA((temp_dir() / "no_such.cur").string().c_str()), 0u);
  EXPECT_EQ(LoadCursorFromFileA(nullptr), 0u);
  std::vector<uint8_t> good = one_bit_cursor(0, 0);
  ASSERT_TRUE(parse(good));
  // Every proper prefix is refused, without reading past its end (checked under the sanitizers).
  for (size_t n = 0; n < good.size(); ++n) {
    std::vector<uint8_t> prefix(good.begin(), good.begin() + static_cast<long>(n));
    ASSERT_FALSE(parse(prefix)) << n << " bytes";
  }
  EXPECT_EQ(
      LoadCursorFromFileA(write_file("short.cur", {good.begin(), good.begin() + 100}).c_str()), 0u);

  auto broken = [&](size_t offset, uint8_t value) {
    std::vector<uint8_t> v = good;
    v[offset] = value;
    return parse(v).has_value();
  };
  EXPECT_FALSE(broken(0, 1)) << "reserved field";
  EXPECT_FALSE(broken(2, 3)) << "type";
  EXPECT_FALSE(broken(4, 0)) << "no entries";
  EXPECT_FALSE(broken(22 + 14, 16)) << "16-bit pixels";
  EXPECT_FALSE(broken(22 + 16, 1)) << "compressed";
  EXPECT_FALSE(broken(22 + 8, 63)) << "odd double height";
  EXPECT_FALSE(broken(22 + 4, 0)) << "zero width";
  EXPECT_FALSE(broken(22 + 12, 2)) << "two planes";
  EXPECT_FALSE(broken(18, 0xFF)) << "offset beyond the file";

  // A PNG-compressed entry is passed over.
  std::vector<uint8_t> png_entry(64, 0);
  const uint8_t signature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::copy(std::begin(signature), std::end(signature), png_entry.begin());
  EXPECT_FALSE(parse(directory_file(1, {{32, 32, 0, 0, png_entry}})));

  // An index past a short colour table reads as black, not outside the file.
  auto short_table = entry_image(
      8, 8, 4, {0xFFFFFF, 0x00FF00}, [](int x, int) { return x < 4 ? 1u : 9u; },
      [](int, int) { return false; });
  short_table[32] = 2;  // colours used
  auto image = parse(directory_file(2, {{8, 8, 0, 0, short_table}}));
  ASSERT_TRUE(image);
  EXPECT_EQ(at(*image, 0, 0), 0xFF00FF00u);
  EXPECT_EQ(at(*image, 6, 0), 0xFF000000u);
  EXPECT_EQ(plat::handle_count(plat::Kind::Cursor), cursors_before);
}
