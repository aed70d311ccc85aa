// What the depth of a bitmap decides: which bitmaps a memory context takes, the stock bitmap for an
// empty size, and WHITENESS setting every bit of a direct-colour pixel.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "dib_sections.h"

namespace {

using zelvo_test::make_dib;

// The depth a bitmap reports, or 0 for no bitmap.
int depth_of(HGDIOBJ bitmap) {
  BITMAP bm{};
  return GetObjectA(bitmap, sizeof bm, &bm) ? bm.bmBitsPixel : 0;
}

TEST(BitmapDepths, WhitenessSetsEveryBitOfDirectColourPixels) {
  HDC dc = CreateCompatibleDC(0);
  void* bits32 = nullptr;
  HBITMAP dib32 = make_dib(3, 2, 32, &bits32);
  ASSERT_TRUE(dib32);
  HGDIOBJ old = SelectObject(dc, dib32);
  std::memset(bits32, 0x11, 3 * 2 * 4);
  // Only the middle column: the pixels beside it keep their value.
  EXPECT_TRUE(BitBlt(dc, 1, 0, 1, 2, 0, 0, 0, WHITENESS));
  const uint32_t* p = static_cast<const uint32_t*>(bits32);
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(p[y * 3 + 0], 0x11111111u) << y;
    EXPECT_EQ(p[y * 3 + 1], 0xFFFFFFFFu) << y;
    EXPECT_EQ(p[y * 3 + 2], 0x11111111u) << y;
  }
  EXPECT_TRUE(BitBlt(dc, 0, 0, 3, 2, 0, 0, 0, BLACKNESS));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(p[i], 0u) << i;

  // 16 bits, 5-5-5: the unused top bit is set as well.
  void* bits16 = nullptr;
  HBITMAP dib16 = make_dib(2, 1, 16, &bits16);
  SelectObject(dc, dib16);
  std::memset(bits16, 0, 4);
  EXPECT_TRUE(BitBlt(dc, 0, 0, 2, 1, 0, 0, 0, WHITENESS));
  EXPECT_EQ(static_cast<const uint16_t*>(bits16)[0], 0xFFFF);
  EXPECT_EQ(static_cast<const uint16_t*>(bits16)[1], 0xFFFF);

  SelectObject(dc, old);
  DeleteObject(dib32);
  DeleteObject(dib16);
  DeleteDC(dc);
}

TEST(BitmapDepths, AnEmptySizeGivesTheStockMonochromeBitmap) {
  HDC dc = CreateCompatibleDC(0);
  HGDIOBJ stock = GetCurrentObject(dc, OBJ_BITMAP);
  ASSERT_TRUE(stock);
  EXPECT_EQ(CreateCompatibleBitmap(dc, 0, 0), stock);
  // Whatever planes and depth say, even ones that are refused for a real size.
  EXPECT_EQ(CreateBitmap(0, 1, 0, 0, nullptr), stock);
  EXPECT_EQ(CreateBitmap(1, 0, 1, 32, nullptr), stock);
  EXPECT_EQ(CreateBitmap(0, 0, 1, 1, nullptr), stock);
  EXPECT_EQ(CreateBitmap(1, 1, 0, 0, nullptr), HBITMAP{});
  EXPECT_EQ(depth_of(stock), 1);
  // Stock: deleting it changes nothing.
  EXPECT_TRUE(DeleteObject(CreateBitmap(0, 5, 1, 8, nullptr)));
  EXPECT_EQ(depth_of(stock), 1);
  DeleteDC(dc);
}

TEST(BitmapDepths, AMemoryContextTakesDeviceDepthMonochromeAndAnyDibSection) {
  HDC screen = GetDC(0);
  HBITMAP device = CreateCompatibleBitmap(screen, 4, 4);
  const int device_depth = depth_of(device);
  ReleaseDC(0, screen);
  ASSERT_GT(device_depth, 1);

  HDC dc = CreateCompatibleDC(0);
  HGDIOBJ stock = GetCurrentObject(dc, OBJ_BITMAP);
  for (UINT bpp : {4u, 8u, 16u, 24u, 32u}) {
    HBITMAP other = CreateBitmap(4, 4, 1, bpp, nullptr);
    ASSERT_TRUE(other) << bpp;
    if (static_cast<int>(bpp) == device_depth) {
      EXPECT_EQ(SelectObject(dc, other), stock) << bpp;
      EXPECT_EQ(SelectObject(dc, stock), other) << bpp;
    } else {
      EXPECT_EQ(SelectObject(dc, other), HGDIOBJ{}) << bpp;
      EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), stock) << bpp;
    }
    DeleteObject(other);
  }
  HBITMAP mono = CreateBitmap(4, 4, 1, 1, nullptr);
  EXPECT_EQ(SelectObject(dc, mono), stock);
  EXPECT_EQ(SelectObject(dc, device), mono);
  // DIB sections of any depth, and bitmaps made compatible with a context that holds one.
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    void* bits = nullptr;
    HBITMAP dib = make_dib(4, 4, bpp, &bits);
    ASSERT_TRUE(dib) << bpp;
    EXPECT_TRUE(SelectObject(dc, dib)) << bpp;
    HBITMAP compatible = CreateCompatibleBitmap(dc, 2, 2);
    EXPECT_EQ(depth_of(compatible), bpp);
    HDC second = CreateCompatibleDC(dc);
    EXPECT_TRUE(SelectObject(second, compatible)) << bpp;
    DeleteDC(second);
    DeleteObject(compatible);
    SelectObject(dc, stock);
    DeleteObject(dib);
  }
  SelectObject(dc, stock);
  DeleteObject(mono);
  DeleteObject(device);
  DeleteDC(dc);
}

}  // namespace
