// Cursor and icon files decoded without a display: every depth, the mask, the entry chosen, the hot
// spot, and truncated or malformed files. The X cursors made from them are tested in
// test_cursor_x11.cpp.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <iterator>

#include "cursor_file_writer.h"
#include "handle_table.h"

using namespace cursor_test;

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
