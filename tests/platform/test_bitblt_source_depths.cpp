// BitBlt between memory contexts on our layer: every source depth converted to the colours that
// independent decoders (Linux only) read, and the raster operations the layer offers. Destinations,
// clipping and overlap are checked in both worlds by tests/winapi/test_bitblt.cpp, painting onto a
// real X window in test_bitblt_x11.cpp.
#include <gtest/gtest.h>
#include <windows.h>

#include "bmp_oracles.h"
#include "dib_sections.h"
#include "gdi_internal.h"

namespace {

using bmp_test::path;
using zelvo_test::make_dib;
using zelvo_test::read32;
using zelvo_test::release_copy;

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
    zelvo_test::BmpFile writer;
    writer.width = w;
    writer.height = h;
    writer.bpp = c.bpp;
    writer.compression = c.compression;
    writer.masks = c.masks;
    if (c.bpp <= 8) writer.colours = bmp_test::palette(1 << c.bpp);
    // Arbitrary pixel bytes: every value must convert like the independent decoder says.
    writer.pixels.resize(zelvo_test::bmp_stride(w, c.bpp) * h);
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
// The layer offers the raster operations the framework uses (copy, blackness, whiteness); Windows
// offers every ternary operation, so this is a limit of ours, not Windows behaviour.
TEST(BitBlt, RasterOperationsBeyondCopyAreRefused) {
  void* bits = nullptr;
  HBITMAP src = make_dib(2, 2, 32, &bits), dst = make_dib(2, 2, 32, &bits);
  HDC from = CreateCompatibleDC(0), to = CreateCompatibleDC(0);
  HGDIOBJ old_from = SelectObject(from, src), old_to = SelectObject(to, dst);
  EXPECT_FALSE(BitBlt(to, 0, 0, 1, 1, from, 0, 0, 0x00EE0086));  // SRCPAINT
  EXPECT_TRUE(BitBlt(to, 0, 0, 1, 1, from, 0, 0, SRCCOPY));
  release_copy(from, old_from, to, old_to, src, dst);
}

}  // namespace
