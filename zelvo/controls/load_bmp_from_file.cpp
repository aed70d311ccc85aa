// A BMP file as a DIB section, with a palette to draw it with on palette-based displays.
#include "zelvo/controls.h"

#include <cstring>
#include <vector>

#include "core/failure_report.h"

namespace {

constexpr int kPaletteEntries = 256;

// The palette of a bitmap of 8 bits per pixel or fewer, from its own colour table. Entries the
// table does not define (1- and 4-bit bitmaps, shortened tables) stay black.
HPALETTE PaletteFromColorTable(HBITMAP bitmap) {
  HDC memory = CreateCompatibleDC(0);
  if (!memory) return 0;
  HGDIOBJ replaced = SelectObject(memory, bitmap);

  RGBQUAD table[kPaletteEntries];
  std::memset(table, 0, sizeof table);
  GetDIBColorTable(memory, 0, kPaletteEntries, table);

  std::vector<BYTE> block(offsetof(LOGPALETTE, palPalEntry) +
                          kPaletteEntries * sizeof(PALETTEENTRY));
  auto* description = reinterpret_cast<LOGPALETTE*>(block.data());
  description->palVersion = 0x300;
  description->palNumEntries = kPaletteEntries;
  for (int i = 0; i < kPaletteEntries; ++i) {
    PALETTEENTRY& entry = description->palPalEntry[i];
    entry.peRed = table[i].rgbRed;
    entry.peGreen = table[i].rgbGreen;
    entry.peBlue = table[i].rgbBlue;
    entry.peFlags = 0;
  }
  HPALETTE palette = CreatePalette(description);

  SelectObject(memory, replaced);
  DeleteDC(memory);
  return palette;
}

HPALETTE ScreenHalftonePalette() {
  HDC screen = GetDC(0);
  HPALETTE palette = CreateHalftonePalette(screen);
  ReleaseDC(0, screen);
  return palette;
}

}  // namespace

HBITMAP LoadBmpFromFile(const std::string& FileName, HPALETTE& Pal) {
  SetLastError(0);
  auto bitmap =
      static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), FileName.c_str(), IMAGE_BITMAP, 0,
                                      0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!bitmap) {
    zelvo::ReportFileFailure("LoadBmpFromFile", FileName.c_str(),
                             "LoadImageA failed: " + zelvo::WindowsErrorText(GetLastError()));
    return 0;
  }

  BITMAP info;
  std::memset(&info, 0, sizeof info);
  GetObjectA(bitmap, sizeof info, &info);
  if (info.bmPlanes * info.bmBitsPixel <= 8)
    Pal = PaletteFromColorTable(bitmap);
  else
    Pal = ScreenHalftonePalette();
  return bitmap;
}
