// BitBlt: every source depth converted into 32-, 24-, 16- and 8-bit destinations, clipping, and
// painting onto a real X window read back with XGetImage.
#include <gtest/gtest.h>
#include <windows.h>
// X11 after GoogleTest: its macros (None, Bool) clash with GoogleTest's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "../../platform/src/gdi_internal.h"
#include "../../platform/src/window_internal.h"
#include "../../platform/src/x_display.h"
#include "bmp_test_files.h"

namespace {

using bmp_test::path;

struct Info {
  BITMAPINFOHEADER header;
  DWORD masks_or_colors[256];
};

// A bottom-up DIB section (or top-down for negative height) with the default layout of its depth.
HBITMAP make_dib(int width, int height, int bpp, void** bits,
                 const std::vector<uint32_t>& colours = {}) {
  Info info{};
  info.header = BITMAPINFOHEADER{40,     width, height, 1, static_cast<WORD>(bpp),
                                 BI_RGB, 0,     0,      0, static_cast<DWORD>(colours.size()),
                                 0};
  for (size_t i = 0; i < colours.size(); ++i) info.masks_or_colors[i] = colours[i];
  return CreateDIBSection(0, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, bits, 0, 0);
}

// 0x00RRGGBB pixels of a 32-bit section, rows top first.
std::vector<uint32_t> read32(const void* bits, int width, int height, bool top_down = false) {
  std::vector<uint32_t> out;
  for (int y = 0; y < height; ++y) {
    const auto* row = static_cast<const uint32_t*>(bits) +
                      static_cast<size_t>(top_down ? y : height - 1 - y) * width;
    for (int x = 0; x < width; ++x) out.push_back(row[x] & 0xFFFFFF);
  }
  return out;
}

// Puts back what the two memory contexts held, then deletes them and both bitmaps.
void release_copy(HDC from, HGDIOBJ old_from, HDC to, HGDIOBJ old_to, HBITMAP a, HBITMAP b) {
  SelectObject(from, old_from);
  SelectObject(to, old_to);
  DeleteDC(from);
  DeleteDC(to);
  DeleteObject(a);
  DeleteObject(b);
}

// Loads `file`, copies it into a new 32-bit section and returns the section's colours.
std::vector<uint32_t> blit_to_32(const std::string& file, int* width = nullptr,
                                 int* height = nullptr) {
  HBITMAP source =
      LoadImageA(0, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  if (!source) return {};
  BITMAP bm{};
  GetObjectA(source, sizeof bm, &bm);
  void* bits = nullptr;
  HBITMAP dest = make_dib(bm.bmWidth, bm.bmHeight, 32, &bits);
  HDC from = CreateCompatibleDC(0), to = CreateCompatibleDC(0);
  HGDIOBJ old_from = SelectObject(from, source), old_to = SelectObject(to, dest);
  EXPECT_TRUE(BitBlt(to, 0, 0, bm.bmWidth, bm.bmHeight, from, 0, 0, SRCCOPY));
  std::vector<uint32_t> out = read32(bits, bm.bmWidth, bm.bmHeight);
  release_copy(from, old_from, to, old_to, source, dest);
  if (width) *width = bm.bmWidth;
  if (height) *height = bm.bmHeight;
  return out;
}

TEST(BitBlt, EveryDepthConvertsToTheDecodedColours) {
  const size_t bitmaps = plat::handle_count(plat::Kind::Bitmap);
  const size_t contexts = plat::handle_count(plat::Kind::DC);
  struct Case {
    int bpp;
    uint32_t compression;
    std::vector<uint32_t> masks;
  };
  for (const Case& c : std::vector<Case>{{1, BI_RGB, {}},
                                         {4, BI_RGB, {}},
                                         {8, BI_RGB, {}},
                                         {16, BI_RGB, {}},
                                         {16, BI_BITFIELDS, {0xF800, 0x7E0, 0x1F}},
                                         {24, BI_RGB, {}},
                                         {32, BI_RGB, {}},
                                         {32, BI_BITFIELDS, {0xFF, 0xFF00, 0xFF0000}}}) {
    SCOPED_TRACE(std::to_string(c.bpp) + (c.compression ? " bitfields" : ""));
    const int w = 11, h = 5;
    bmp_test::Writer writer;
    writer.width = w;
    writer.height = h;
    writer.bpp = c.bpp;
    writer.compression = c.compression;
    writer.masks = c.masks;
    if (c.bpp <= 8) writer.colours = bmp_test::palette(1 << c.bpp);
    // Arbitrary pixel bytes: every value must convert like the independent decoder says.
    writer.pixels.resize(bmp_test::stride(w, c.bpp) * h);
    for (size_t i = 0; i < writer.pixels.size(); ++i)
      writer.pixels[i] = static_cast<uint8_t>(i * 37 + 11);
    bmp_test::write_file(path("src.bmp"), writer.bytes());
    std::vector<uint32_t> expected = bmp_test::stb_rgb(path("src.bmp"));
    ASSERT_EQ(expected.size(), static_cast<size_t>(w * h));
    EXPECT_EQ(blit_to_32(path("src.bmp")), expected);
  }
  // Run-length files become plain 8-bit sections first; ImageMagick is the judge there.
  bmp_test::write_ppm(path("rle.ppm"), 23, 9, bmp_test::pattern(23, 9, 30));
  ASSERT_TRUE(bmp_test::run("convert '" + path("rle.ppm") + "' -type Palette -compress RLE BMP3:'" +
                            path("rle.bmp") + "'"));
  EXPECT_EQ(blit_to_32(path("rle.bmp")), bmp_test::magick_rgb(path("rle.bmp")));
  EXPECT_EQ(plat::handle_count(plat::Kind::Bitmap), bitmaps);
  EXPECT_EQ(plat::handle_count(plat::Kind::DC), contexts);
}

// A 32-bit source of known colours copied into other destination formats.
TEST(BitBlt, ConvertsIntoTwentyFourSixteenAndPaletteDestinations) {
  const int w = 5, h = 3;
  void* src_bits = nullptr;
  HBITMAP src = make_dib(w, h, 32, &src_bits);
  const uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF,
                              0x000000, 0x808080, 0x123456, 0xFEDCBA};
  for (int i = 0; i < w * h; ++i)
    static_cast<uint32_t*>(src_bits)[i] = colours[i % 8] | 0xAB000000u;
  HDC from = CreateCompatibleDC(0), to = CreateCompatibleDC(0);
  HGDIOBJ old_from = SelectObject(from, src);

  auto copy_into = [&](HBITMAP dest) {
    HGDIOBJ old = SelectObject(to, dest);
    EXPECT_TRUE(BitBlt(to, 0, 0, w, h, from, 0, 0, SRCCOPY));
    SelectObject(to, old);
  };
  // 24-bit: exact bytes.
  void* bits24 = nullptr;
  HBITMAP dest24 = make_dib(w, h, 24, &bits24);
  copy_into(dest24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = static_cast<uint8_t*>(bits24) + y * bmp_test::stride(w, 24) + 3 * x;
      const uint32_t want = colours[(y * w + x) % 8];
      EXPECT_EQ((p[2] << 16) | (p[1] << 8) | p[0], static_cast<int>(want)) << x << "," << y;
    }
  // 16-bit default layout is 5-5-5: the top five bits of each channel.
  void* bits16 = nullptr;
  HBITMAP dest16 = make_dib(w, h, 16, &bits16);
  copy_into(dest16);
  for (int i = 0; i < w; ++i) {
    const uint16_t v = static_cast<uint16_t*>(bits16)[i];
    const uint32_t want = colours[i % 8];
    EXPECT_EQ(v, ((want >> 19 & 31) << 10) | ((want >> 11 & 31) << 5) | (want >> 3 & 31)) << i;
  }
  // 8-bit: the nearest table entry.
  void* bits8 = nullptr;
  HBITMAP dest8 =
      make_dib(w, h, 8, &bits8, {0x000000, 0xFFFFFF, 0xF00000, 0x00F000, 0x0000F0, 0x7F7F7F});
  copy_into(dest8);
  const uint8_t expected8[] = {2, 3, 4, 1,
                               0, 5, 0, 1};  // 0x123456 is nearest black, 0xFEDCBA white
  for (int i = 0; i < w; ++i) EXPECT_EQ(static_cast<uint8_t*>(bits8)[i], expected8[i % 8]) << i;
  // 32 to 32 keeps all four bytes.
  void* bits32 = nullptr;
  HBITMAP dest32 = make_dib(w, h, 32, &bits32);
  copy_into(dest32);
  EXPECT_EQ(0, std::memcmp(bits32, src_bits, 4 * w * h));

  SelectObject(from, old_from);
  DeleteDC(from);
  DeleteDC(to);
  for (HBITMAP b : {src, dest24, dest16, dest8, dest32}) EXPECT_TRUE(DeleteObject(b));
}

TEST(BitBlt, ClipsToBothBitmapsAndTheClippingRegion) {
  void* src_bits = nullptr;
  void* dst_bits = nullptr;
  HBITMAP src = make_dib(4, 4, 32, &src_bits);
  HBITMAP dst = make_dib(6, 6, 32, &dst_bits);
  for (int i = 0; i < 16; ++i)
    static_cast<uint32_t*>(src_bits)[i] = 0x010101u * static_cast<uint32_t>(i + 1);
  HDC from = CreateCompatibleDC(0), to = CreateCompatibleDC(0);
  HGDIOBJ old_from = SelectObject(from, src), old_to = SelectObject(to, dst);

  // Source picture (rows top first) holds 13..16 / 9..12 / 5..8 / 1..4 (bottom-up memory).
  auto src_at = [](int x, int y) { return 0x010101u * static_cast<uint32_t>((3 - y) * 4 + x + 1); };
  // Copy a 10 x 10 area from (-2, 1) to (3, -1): only the part inside both bitmaps lands.
  ASSERT_TRUE(BitBlt(to, 3, -1, 10, 10, from, -2, 1, SRCCOPY));
  std::vector<uint32_t> got = read32(dst_bits, 6, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const int sx = x - 3 - 2, sy = y + 1 + 1;
      const uint32_t want = (sx >= 0 && sx < 4 && sy >= 0 && sy < 4) ? src_at(sx, sy) : 0;
      EXPECT_EQ(got[static_cast<size_t>(y) * 6 + x], want) << x << "," << y;
    }
  // A clipping region limits the copy to its rectangles.
  std::memset(dst_bits, 0, 6 * 6 * 4);
  HRGN clip = CreateRectRgn(1, 1, 3, 2);
  EXPECT_EQ(SelectObject(to, clip), static_cast<HGDIOBJ>(SIMPLEREGION));
  DeleteObject(clip);  // the context keeps its own copy
  ASSERT_TRUE(BitBlt(to, 0, 0, 4, 4, from, 0, 0, SRCCOPY));
  got = read32(dst_bits, 6, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(got[static_cast<size_t>(y) * 6 + x],
                (y == 1 && (x == 1 || x == 2)) ? src_at(x, y) : 0u)
          << x << "," << y;
  ASSERT_TRUE(BitBlt(to, 0, 0, 6, 6, 0, 0, 0, WHITENESS));
  EXPECT_EQ(read32(dst_bits, 6, 6)[6 + 1], 0xFFFFFFu);
  EXPECT_EQ(read32(dst_bits, 6, 6)[0], 0u);

  EXPECT_FALSE(BitBlt(to, 0, 0, 1, 1, from, 0, 0, 0x00EE0086));  // SRCPAINT is not offered
  EXPECT_FALSE(BitBlt(to, 0, 0, 1, 1, 0, 0, 0, SRCCOPY));
  release_copy(from, old_from, to, old_to, src, dst);
}

TEST(BitBlt, OverlappingCopyWithinOneBitmap) {
  void* bits = nullptr;
  HBITMAP b = make_dib(3, 4, 24, &bits);
  HDC dc = CreateCompatibleDC(0);
  HGDIOBJ old = SelectObject(dc, b);
  auto* p = static_cast<uint8_t*>(bits);
  for (int y = 0; y < 4; ++y)
    p[(3 - y) * 12] = static_cast<uint8_t>(10 + y);        // blue of x = 0, picture rows
  ASSERT_TRUE(BitBlt(dc, 0, 1, 3, 3, dc, 0, 0, SRCCOPY));  // shift down by one row
  for (int y = 1; y < 4; ++y) EXPECT_EQ(p[(3 - y) * 12], 10 + y - 1) << y;
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(b);
}

TEST(BitBlt, BitmapsWiderThanSixteenBitCoordinatesCopyWhole) {
  // Between memory contexts nothing limits coordinates to a screen's 16 bits.
  constexpr int kWidth = 40000;
  void* src_bits = nullptr;
  void* dst_bits = nullptr;
  HBITMAP src = make_dib(kWidth, 1, 32, &src_bits);
  HBITMAP dst = make_dib(kWidth, 1, 32, &dst_bits);
  ASSERT_TRUE(src && dst);
  auto* in = static_cast<uint32_t*>(src_bits);
  for (int x = 0; x < kWidth; ++x) in[x] = static_cast<uint32_t>(x) * 421u & 0xFFFFFFu;
  HDC from = CreateCompatibleDC(0), to = CreateCompatibleDC(0);
  HGDIOBJ old_from = SelectObject(from, src), old_to = SelectObject(to, dst);
  ASSERT_TRUE(BitBlt(to, 0, 0, kWidth, 1, from, 0, 0, SRCCOPY));
  const std::vector<uint32_t> got = read32(dst_bits, kWidth, 1);
  int wrong = 0, first_wrong = -1;
  for (int x = 0; x < kWidth; ++x)
    if (got[static_cast<size_t>(x)] != in[x] && wrong++ == 0) first_wrong = x;
  EXPECT_EQ(wrong, 0) << "first wrong pixel at x = " << first_wrong;
  release_copy(from, old_from, to, old_to, src, dst);
}

LRESULT CALLBACK plain_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(w, m, wp, lp);
}

TEST(BitBlt, PaintsOntoAWindow) {
  Display* display = plat::x_display();
  if (!display) GTEST_SKIP() << "no X display";
  WNDCLASSA wc{};
  wc.lpfnWndProc = plain_proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = "GdiBlitTarget";
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND window = CreateWindowExA(0, "GdiBlitTarget", "blit", WS_POPUP | WS_VISIBLE, 50, 60, 40, 30,
                                0, 0, wc.hInstance, nullptr);
  ASSERT_NE(window, 0u);
  ShowWindow(window, SW_SHOW);
  ::Window xw = plat::x_window(window);
  XSync(display, False);
  for (int i = 0; i < 100; ++i) {  // until the server maps it
    XWindowAttributes a;
    XGetWindowAttributes(display, xw, &a);
    if (a.map_state == IsViewable) break;
    usleep(10000);
  }

  // An 8-bit bitmap: a left half of colour 1, a right half of colour 2.
  void* bits = nullptr;
  HBITMAP bitmap = make_dib(20, 10, 8, &bits, {0x000000, 0x3366CC, 0xCC9933});
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) static_cast<uint8_t*>(bits)[y * 20 + x] = x < 10 ? 1 : 2;
  HDC memory = CreateCompatibleDC(0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  HDC dc = GetDC(window);
  ASSERT_TRUE(BitBlt(dc, 5, 4, 20, 10, memory, 0, 0, SRCCOPY));
  XSync(display, False);

  XImage* image = XGetImage(display, xw, 0, 0, 40, 30, AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  auto rgb = [&](int x, int y) { return static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF; };
  EXPECT_EQ(rgb(5, 4), 0x3366CCu);
  EXPECT_EQ(rgb(14, 13), 0x3366CCu);
  EXPECT_EQ(rgb(15, 4), 0xCC9933u);
  EXPECT_EQ(rgb(24, 13), 0xCC9933u);
  EXPECT_NE(rgb(25, 4), 0xCC9933u);  // nothing beyond the copied rectangle
  EXPECT_NE(rgb(5, 14), 0x3366CCu);
  XDestroyImage(image);

  EXPECT_EQ(ReleaseDC(window, dc), 1);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  DestroyWindow(window);
  EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, memory, 0, 0, SRCCOPY));  // stale contexts
}

}  // namespace
