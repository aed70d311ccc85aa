// Loading BMP files as DIB sections with a palette for drawing them.
#include <gtest/gtest.h>

#include <Zelvo.h>

#include "bmp_writer.h"
#include "live_objects.h"
#include "temp_dir.h"

using namespace ctrl_test;
using namespace zelvo_test;

namespace {

std::vector<PALETTEENTRY> Entries(HPALETTE palette) {
  std::vector<PALETTEENTRY> entries(256);
  entries.resize(GetPaletteEntries(palette, 0, 256, entries.data()));
  return entries;
}

BITMAP Info(HBITMAP bitmap) {
  BITMAP info{};
  EXPECT_NE(GetObjectA(bitmap, sizeof info, &info), 0);
  return info;
}

TEST(LoadBmpFromFile, TrueColourGetsTheHalftonePalette) {
  TempDir dir;
  Picture picture(37, 21, Rgb{10, 200, 30});
  WriteBmp(dir / "deep.bmp", picture, 24);

  HPALETTE palette = 0;
  HBITMAP bitmap = LoadBmpFromFile(dir / "deep.bmp", palette);
  ASSERT_TRUE(bitmap);
  ASSERT_TRUE(palette);
  const BITMAP info = Info(bitmap);
  EXPECT_EQ(info.bmWidth, 37);
  EXPECT_EQ(info.bmHeight, 21);
  EXPECT_EQ(info.bmBitsPixel, 24);

  HDC screen = GetDC(0);
  HPALETTE halftone = CreateHalftonePalette(screen);
  ReleaseDC(0, screen);
  const auto got = Entries(palette);
  const auto want = Entries(halftone);
  ASSERT_FALSE(want.empty());
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].peRed, want[i].peRed) << i;
    EXPECT_EQ(got[i].peGreen, want[i].peGreen) << i;
    EXPECT_EQ(got[i].peBlue, want[i].peBlue) << i;
  }
  DeleteObject(halftone);
  DeleteObject(palette);
  DeleteObject(bitmap);
}

TEST(LoadBmpFromFile, EightBitPaletteIsTheFilesTableInOrder) {
  TempDir dir;
  // 256 distinct colours, one per pixel, in a table order unlike any sorted order.
  Picture picture(16, 16, Rgb{0, 0, 0});
  std::vector<Rgb> table;
  for (int i = 0; i < 256; ++i) {
    const Rgb c{uint8_t(i * 7), uint8_t(255 - i), uint8_t((i * 37) ^ 0x5A)};
    table.push_back(c);
    picture.at(i % 16, i / 16) = c;
  }
  WriteBmp(dir / "indexed.bmp", picture, 8, table);

  HPALETTE palette = 0;
  HBITMAP bitmap = LoadBmpFromFile(dir / "indexed.bmp", palette);
  ASSERT_TRUE(bitmap);
  ASSERT_TRUE(palette);
  EXPECT_EQ(Info(bitmap).bmBitsPixel, 8);
  const auto entries = Entries(palette);
  ASSERT_EQ(entries.size(), 256u);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(entries[i].peRed, table[i].r) << i;
    EXPECT_EQ(entries[i].peGreen, table[i].g) << i;
    EXPECT_EQ(entries[i].peBlue, table[i].b) << i;
    EXPECT_EQ(entries[i].peFlags, 0) << i;
  }
  DeleteObject(palette);
  DeleteObject(bitmap);
}

TEST(LoadBmpFromFile, ShortColourTablesFillTheRestWithBlack) {
  TempDir dir;
  Picture picture(9, 3, kMagenta);
  picture.at(4, 1) = Rgb{40, 80, 160};
  WriteBmp(dir / "mono.bmp", picture, 1);
  Picture sixteen(5, 5, Rgb{1, 2, 3});
  for (int i = 0; i < 5; ++i) sixteen.at(i, i) = Rgb{uint8_t(50 * i), 9, 250};
  std::vector<Rgb> nibble_table{{1, 2, 3}};
  for (int i = 0; i < 5; ++i) nibble_table.push_back(Rgb{uint8_t(50 * i), 9, 250});
  WriteBmp(dir / "nibble.bmp", sixteen, 4, nibble_table);

  struct Case {
    std::string file;
    std::vector<Rgb> table;
  };
  for (const Case& c :
       {Case{"mono.bmp", {kMagenta, Rgb{40, 80, 160}}}, Case{"nibble.bmp", nibble_table}}) {
    HPALETTE palette = 0;
    HBITMAP bitmap = LoadBmpFromFile(dir / c.file, palette);
    ASSERT_TRUE(bitmap) << c.file;
    const auto entries = Entries(palette);
    ASSERT_EQ(entries.size(), 256u) << c.file;
    for (size_t i = 0; i < 256; ++i) {
      const Rgb want = i < c.table.size() ? c.table[i] : Rgb{0, 0, 0};
      EXPECT_EQ(entries[i].peRed, want.r) << c.file << " entry " << i;
      EXPECT_EQ(entries[i].peGreen, want.g) << c.file << " entry " << i;
      EXPECT_EQ(entries[i].peBlue, want.b) << c.file << " entry " << i;
      EXPECT_EQ(entries[i].peFlags, 0) << c.file << " entry " << i;
    }
    DeleteObject(palette);
    DeleteObject(bitmap);
  }
}

TEST(LoadBmpFromFile, UnloadableNamesReturnZeroAndKeepThePalette) {
  TempDir dir;
  WriteFile(dir / "not-a-bitmap.bmp", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0});
  const LiveObjects before;
  for (const std::string& name : {dir / "missing.bmp", dir / "not-a-bitmap.bmp", std::string("#1"),
                                  std::string(""), dir.path().string()}) {
    const HPALETTE kept = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    HPALETTE palette = kept;
    EXPECT_FALSE(LoadBmpFromFile(name, palette)) << name;
    EXPECT_EQ(palette, kept) << name;
  }
  if (kCountsObjects) {
    EXPECT_EQ(LiveObjects(), before);
  }
}

TEST(LoadBmpFromFile, LeavesOnlyTheCallersObjectsBehind) {
  TempDir dir;
  Picture picture(8, 8, Rgb{9, 9, 9});
  WriteBmp(dir / "a.bmp", picture, 8);
  WriteBmp(dir / "b.bmp", picture, 32);
  const LiveObjects before;
  for (const char* name : {"a.bmp", "b.bmp"}) {
    HPALETTE palette = 0;
    HBITMAP bitmap = LoadBmpFromFile(dir / name, palette);
    ASSERT_TRUE(bitmap);
    if (kCountsObjects) {
      const LiveObjects loaded;
      EXPECT_EQ(loaded.bitmaps, before.bitmaps + 1) << name;
      EXPECT_EQ(loaded.palettes, before.palettes + 1) << name;
      EXPECT_EQ(loaded.contexts, before.contexts) << name;
    }
    EXPECT_TRUE(DeleteObject(palette));
    EXPECT_TRUE(DeleteObject(bitmap));
  }
  if (kCountsObjects) {
    EXPECT_EQ(LiveObjects(), before);
  }
}

}  // namespace
