// BitBlt between DIB sections: conversion into 24-, 16- and 8-bit destinations, clipping,
// overlapping copies and bitmaps wider than 16-bit coordinates.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "dib_sections.h"

namespace {

using zelvo_test::make_dib;
using zelvo_test::read32;
using zelvo_test::release_copy;

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
      const uint8_t* p = static_cast<uint8_t*>(bits24) + y * zelvo_test::stride(w, 24) + 3 * x;
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
  EXPECT_EQ(SelectObject(to, clip), (HGDIOBJ)(uintptr_t)SIMPLEREGION);
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

}  // namespace
