// Device contexts, selection rules, DIB sections, colour tables, palettes and stock objects.
#include <gtest/gtest.h>
#include <windows.h>

#include "gdi_test_support.h"
#include "wine_differences.h"

namespace {

struct Info {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

HBITMAP dib(int width, int height, int bpp, void** bits = nullptr, int colors = 0) {
  Info info{};
  info.header = BITMAPINFOHEADER{
      40, width, height, 1, static_cast<WORD>(bpp), BI_RGB, 0, 0, 0, static_cast<DWORD>(colors), 0};
  for (int i = 0; i < 256; ++i)
    info.colors[i] = RGBQUAD{static_cast<BYTE>(i), 0, static_cast<BYTE>(255 - i), 0};
  return CreateDIBSection(0, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, bits, 0, 0);
}

TEST(GdiObjects, MemoryContextStartsWithAMonochromeBitmap) {
  HDC dc = CreateCompatibleDC(0);
  ASSERT_TRUE(dc);
  HGDIOBJ initial = GetCurrentObject(dc, OBJ_BITMAP);
  BITMAP bm{};
  ASSERT_EQ(GetObjectA(initial, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmHeight, 1);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_TRUE(DeleteObject(initial));  // stock: survives
  EXPECT_EQ(GetObjectA(initial, sizeof bm, &bm), static_cast<int>(sizeof bm));
  // A compatible bitmap of a fresh memory context is monochrome, as on the real platform.
  HBITMAP compatible = CreateCompatibleBitmap(dc, 8, 8);
  GetObjectA(compatible, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmBits, nullptr);
  EXPECT_EQ(bm.bmWidthBytes, 2);
  DeleteObject(compatible);
  HDC screen = GetDC(0);
  compatible = CreateCompatibleBitmap(screen, 8, 8);
  GetObjectA(compatible, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  DeleteObject(compatible);
  EXPECT_EQ(ReleaseDC(0, screen), 1);
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_FALSE(CreateCompatibleDC(dc));  // from a stale context
}

TEST(GdiObjects, ABitmapLivesInOneContextAtATime) {
  const size_t objects = zelvo_test::gdi_object_count();
  HDC a = CreateCompatibleDC(0);
  HDC b = CreateCompatibleDC(a);
  HBITMAP bitmap = dib(4, 4, 32);
  HGDIOBJ old = SelectObject(a, bitmap);
  EXPECT_EQ(old, GetCurrentObject(b, OBJ_BITMAP));  // the stock bitmap is shared
  EXPECT_FALSE(SelectObject(b, bitmap));            // already in `a`
  EXPECT_EQ(SelectObject(a, bitmap), bitmap);       // again into the same one is fine
  EXPECT_EQ(SelectObject(a, old), bitmap);
  EXPECT_EQ(SelectObject(b, bitmap), old);
  EXPECT_TRUE(DeleteDC(b));  // deleting the context frees the bitmap for deletion
  EXPECT_TRUE(DeleteObject(bitmap));

  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HGDIOBJ old_brush = SelectObject(a, brush);
  EXPECT_EQ(old_brush, GetStockObject(WHITE_BRUSH));
  LOGBRUSH lb{};
  EXPECT_EQ(GetObjectA(brush, sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbColor, RGB(1, 2, 3));
  SelectObject(a, old_brush);
  EXPECT_TRUE(DeleteObject(brush));

  // A window context cannot hold a bitmap.
  HDC screen = GetDC(0);
  HBITMAP other = dib(2, 2, 24);
  EXPECT_FALSE(SelectObject(screen, other));
  ReleaseDC(0, screen);
  DeleteObject(other);
  DeleteDC(a);
  EXPECT_EQ(zelvo_test::gdi_object_count(), objects);
}

TEST(GdiObjects, SelectedObjectsAndWindowContextsAreNotDeleted) {
  SKIP_UNDER_WINE(
      "DeleteObject deletes a bitmap or brush still selected into a context (and reports success) "
      "where the documentation says it fails; DeleteDC accepts a GetDC context");
  const size_t objects = zelvo_test::gdi_object_count();
  HDC a = CreateCompatibleDC(0);
  HBITMAP bitmap = dib(4, 4, 32);
  HGDIOBJ old = SelectObject(a, bitmap);
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_EQ(SelectObject(a, old), bitmap) << "still there";
  EXPECT_TRUE(DeleteObject(bitmap));
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HGDIOBJ old_brush = SelectObject(a, brush);
  EXPECT_FALSE(DeleteObject(brush));
  LOGBRUSH lb{};
  EXPECT_EQ(GetObjectA(brush, sizeof lb, &lb), static_cast<int>(sizeof lb));
  SelectObject(a, old_brush);
  EXPECT_TRUE(DeleteObject(brush));
  // A context from GetDC is released, not deleted.
  HDC screen = GetDC(0);
  EXPECT_EQ(DeleteDC(screen), FALSE);
  ReleaseDC(0, screen);
  DeleteDC(a);
  EXPECT_EQ(zelvo_test::gdi_object_count(), objects);
}

TEST(GdiObjects, DibSectionsOfEveryDepth) {
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(bpp);
    void* bits = nullptr;
    HBITMAP h = dib(7, -3, bpp, &bits);
    ASSERT_TRUE(h);
    ASSERT_NE(bits, nullptr);
    BITMAP bm{};
    GetObjectA(h, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBits, bits);
    EXPECT_EQ(bm.bmHeight, 3);
    EXPECT_EQ(bm.bmWidthBytes, (7 * bpp + 31) / 32 * 4);
    for (int i = 0; i < bm.bmWidthBytes * 3; ++i) ASSERT_EQ(static_cast<uint8_t*>(bits)[i], 0);
    DeleteObject(h);
  }
  // Channel masks: 5-6-5 is accepted and reported back.
  struct {
    BITMAPINFOHEADER header;
    DWORD masks[3];
  } info{{40, 2, 2, 1, 16, BI_BITFIELDS, 0, 0, 0, 0, 0}, {0xF800, 0x07E0, 0x001F}};
  HBITMAP h =
      CreateDIBSection(0, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, nullptr, 0, 0);
  ASSERT_TRUE(h);
  DIBSECTION ds{};
  GetObjectA(h, sizeof ds, &ds);
  EXPECT_EQ(ds.dsBmih.biCompression, static_cast<DWORD>(BI_BITFIELDS));
  EXPECT_EQ(ds.dsBitfields[1], 0x07E0u);
  DeleteObject(h);

  void* bits = reinterpret_cast<void*>(1);
  EXPECT_FALSE(dib(0, 3, 8, &bits));
  EXPECT_EQ(bits, nullptr);
  EXPECT_FALSE(dib(3, 3, 7));
  EXPECT_FALSE(dib(1 << 20, 1 << 20, 32));  // 4 TiB is refused, not attempted
}

TEST(GdiObjects, TopDownDibSectionKeepsItsRowOrder) {
  void* bits = nullptr;
  HBITMAP h = dib(1, -3, 32, &bits);
  ASSERT_TRUE(h);
  DIBSECTION ds{};
  ASSERT_EQ(GetObjectA(h, sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBmih.biHeight, 3) << "reported positive, whatever the row order";
  EXPECT_EQ(ds.dsBm.bmHeight, 3);
  // The first row in memory is the top one: copied into a bottom-up section it comes last there.
  auto* rows = static_cast<uint32_t*>(bits);
  rows[0] = 0x111111;
  rows[1] = 0x222222;
  rows[2] = 0x333333;
  void* up_bits = nullptr;
  HBITMAP up = dib(1, 3, 32, &up_bits);
  HDC from = CreateCompatibleDC(0), to = CreateCompatibleDC(0);
  HGDIOBJ old_from = SelectObject(from, h), old_to = SelectObject(to, up);
  ASSERT_TRUE(BitBlt(to, 0, 0, 1, 3, from, 0, 0, SRCCOPY));
  const auto* up_rows = static_cast<const uint32_t*>(up_bits);
  EXPECT_EQ(up_rows[2] & 0xFFFFFF, 0x111111u);
  EXPECT_EQ(up_rows[1] & 0xFFFFFF, 0x222222u);
  EXPECT_EQ(up_rows[0] & 0xFFFFFF, 0x333333u);
  SelectObject(from, old_from);
  SelectObject(to, old_to);
  DeleteDC(from);
  DeleteDC(to);
  DeleteObject(up);
  DeleteObject(h);
}

TEST(GdiObjects, ChannelMasksWithHolesOrSharedBitsAreRefused) {
  SKIP_UNDER_WINE("CreateDIBSection takes BI_BITFIELDS masks that are not contiguous or overlap");
  struct {
    BITMAPINFOHEADER header;
    DWORD masks[3];
  } info{{40, 2, 2, 1, 16, BI_BITFIELDS, 0, 0, 0, 0, 0}, {0xF00F, 0x07E0, 0x001F}};
  EXPECT_FALSE(
      CreateDIBSection(0, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, nullptr, 0, 0));
  info.masks[0] = 0xFFE0;
  EXPECT_FALSE(
      CreateDIBSection(0, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, nullptr, 0, 0));
}

TEST(GdiObjects, ColourTablesReadAndWriteThroughTheContext) {
  HDC dc = CreateCompatibleDC(0);
  RGBQUAD table[256];
  EXPECT_EQ(GetDIBColorTable(dc, 0, 256, table), 0u);  // the stock bitmap is no DIB section
  // Ten colours given for a 4-bit section: it has all sixteen entries, the last six black.
  HBITMAP h = dib(4, 4, 4, nullptr, 10);
  DIBSECTION ds{};
  GetObjectA(h, sizeof ds, &ds);
  EXPECT_EQ(ds.dsBmih.biClrUsed, 16u);
  HGDIOBJ old = SelectObject(dc, h);
  ASSERT_EQ(GetDIBColorTable(dc, 0, 256, table), 16u);
  EXPECT_EQ(table[3].rgbBlue, 3);
  EXPECT_EQ(table[3].rgbRed, 252);
  EXPECT_EQ(table[9].rgbBlue, 9);
  EXPECT_EQ(table[10].rgbBlue + table[10].rgbGreen + table[10].rgbRed, 0);
  EXPECT_EQ(table[15].rgbBlue + table[15].rgbGreen + table[15].rgbRed, 0);
  EXPECT_EQ(GetDIBColorTable(dc, 8, 256, table), 8u);
  EXPECT_EQ(table[0].rgbBlue, 8);
  RGBQUAD red[8];
  for (RGBQUAD& q : red) q = RGBQUAD{0, 0, 255, 0};
  EXPECT_EQ(SetDIBColorTable(dc, 12, 8, red), 4u) << "only the entries the table has";
  GetDIBColorTable(dc, 12, 1, table);
  EXPECT_EQ(table[0].rgbRed, 255);
  EXPECT_EQ(GetDIBColorTable(dc, 16, 1, table), 0u);
  SelectObject(dc, old);
  DeleteObject(h);
  DeleteDC(dc);
}

TEST(GdiObjects, PalettesAndTheHalftonePalette) {
  const size_t palettes = zelvo_test::gdi_object_count();
  std::vector<char> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) log->palPalEntry[i] = PALETTEENTRY{static_cast<BYTE>(i), 1, 2, 0};
  HPALETTE pal = CreatePalette(log);
  ASSERT_TRUE(pal);
  WORD count = 0;
  EXPECT_EQ(GetObjectA(pal, sizeof count, &count), 2);
  EXPECT_EQ(count, 256);
  PALETTEENTRY entries[4];
  EXPECT_EQ(GetPaletteEntries(pal, 254, 4, entries), 2u);
  EXPECT_EQ(entries[1].peRed, 255);

  HDC screen = GetDC(0);
  HPALETTE halftone = CreateHalftonePalette(screen);
  std::vector<PALETTEENTRY> ht(256);
  ASSERT_EQ(GetPaletteEntries(halftone, 0, 256, ht.data()), 256u);
  // Black and white at the ends, no flags. (Which colours lie between is not documented; ours
  // holds the 6 x 6 x 6 cube, checked in tests/platform/test_halftone_palette.cpp.)
  EXPECT_EQ(ht[0].peRed + ht[0].peGreen + ht[0].peBlue, 0);
  EXPECT_EQ(ht[255].peRed & ht[255].peGreen & ht[255].peBlue, 255);
  for (const PALETTEENTRY& e : ht) EXPECT_EQ(e.peFlags, 0);
  ReleaseDC(0, screen);

  HDC dc = CreateCompatibleDC(0);
  HPALETTE previous = SelectPalette(dc, pal, TRUE);
  EXPECT_EQ(previous, GetStockObject(DEFAULT_PALETTE));
  // A true-colour context has no system palette: nothing needs mapping.
  EXPECT_EQ(RealizePalette(dc), 0u);
  EXPECT_EQ(SelectPalette(dc, previous, FALSE), pal);
  EXPECT_EQ(RealizePalette(dc), 0u);
  EXPECT_TRUE(DeleteObject(pal));
  EXPECT_TRUE(DeleteObject(halftone));
  EXPECT_FALSE(SelectPalette(dc, pal, FALSE));  // stale
  DeleteDC(dc);
  EXPECT_EQ(zelvo_test::gdi_object_count(), palettes);
  // The version "should be 0x300"; another one is not refused.
  log->palVersion = 0x200;
  HPALETTE other_version = CreatePalette(log);
  EXPECT_TRUE(other_version);
  DeleteObject(other_version);
}

// The documentation of DeleteObject: "If the specified handle is not valid or is currently
// selected into a DC, the return value is zero."
TEST(GdiObjects, APaletteSelectedIntoAContextIsNotDeleted) {
  SKIP_UNDER_WINE("DeleteObject deletes a palette still selected into a context");
  std::vector<char> block(sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = 4;
  HPALETTE pal = CreatePalette(log);
  ASSERT_TRUE(pal);
  HDC dc = CreateCompatibleDC(0);
  HPALETTE previous = SelectPalette(dc, pal, TRUE);
  EXPECT_FALSE(DeleteObject(pal));
  SelectPalette(dc, previous, FALSE);
  EXPECT_TRUE(DeleteObject(pal));
  DeleteDC(dc);
}

TEST(GdiObjects, StockObjectsAndSystemColours) {
  EXPECT_EQ(GetStockObject(NULL_BRUSH), GetStockObject(HOLLOW_BRUSH));
  for (int index : {WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, BLACK_PEN, DEFAULT_PALETTE}) {
    HGDIOBJ o = GetStockObject(index);
    ASSERT_TRUE(o) << index;
    EXPECT_EQ(GetStockObject(index), o);  // always the same object
    EXPECT_TRUE(DeleteObject(o));
    EXPECT_NE(GetObjectType(o), 0u);  // and it survives
  }
  LOGBRUSH lb{};
  GetObjectA(GetStockObject(NULL_BRUSH), sizeof lb, &lb);
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_NULL));
  GetObjectA(GetStockObject(BLACK_BRUSH), sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, RGB(0, 0, 0));
  EXPECT_FALSE(GetSysColorBrush(99));
  WORD count = 0;
  GetObjectA(GetStockObject(DEFAULT_PALETTE), sizeof count, &count);
  EXPECT_EQ(count, 20);
  // Made at start-up: asking for them creates nothing.
  const size_t brushes = zelvo_test::gdi_object_count();
  GetSysColorBrush(3);
  GetStockObject(GRAY_BRUSH);
  EXPECT_EQ(zelvo_test::gdi_object_count(), brushes);
}

TEST(GdiObjects, SystemColoursAreTheClassicDefaults) {
  SKIP_UNDER_WINE("its default theme's COLOR_BTNFACE is 245,245,245, not Windows' 240,240,240");
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(240, 240, 240));
  LOGBRUSH lb{};
  GetObjectA(GetSysColorBrush(COLOR_BTNFACE), sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, RGB(240, 240, 240));
}

}  // namespace
