// Our halftone palette: the 6 x 6 x 6 colour cube in steps of 51 among its 256 entries (Windows
// does not document which colours its halftone palette holds).
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

TEST(HalftonePalette, HoldsEveryLevelOfTheColourCube) {
  HDC screen = GetDC(0);
  ASSERT_NE(screen, 0u);
  HPALETTE halftone = CreateHalftonePalette(screen);
  std::vector<PALETTEENTRY> ht(256);
  ASSERT_EQ(GetPaletteEntries(halftone, 0, 256, ht.data()), 256u);
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) {
        bool found = false;
        for (const PALETTEENTRY& e : ht)
          found |= e.peRed == r * 51 && e.peGreen == g * 51 && e.peBlue == b * 51;
        EXPECT_TRUE(found) << r << " " << g << " " << b;
      }
  DeleteObject(halftone);
  ReleaseDC(0, screen);
}

// A palette without entries is refused.
TEST(HalftonePalette, APaletteNeedsEntries) {
  LOGPALETTE log{};
  log.palVersion = 0x300;
  log.palNumEntries = 0;
  EXPECT_EQ(CreatePalette(&log), 0u);
}

}  // namespace
