// Palettes. The display is true-colour, so a palette never changes what BitBlt draws: selecting and
// realising one only records it, and colour tables of the bitmaps give the colours.
#include <algorithm>

#include "gdi_internal.h"

namespace plat {

std::vector<PALETTEENTRY> system_palette_entries() {
  static const PALETTEENTRY kStatic[20] = {
      {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
      {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
      {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
      {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
      {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0}};
  return std::vector<PALETTEENTRY>(kStatic, kStatic + 20);
}

// Entries 0-9 and 246-255 are the static colours; 10-225 a 6 x 6 x 6 colour cube (levels 0, 51,
// 102, 153, 204, 255; red varying slowest); 226-245 twenty greys that lie between the cube's greys.
std::vector<PALETTEENTRY> halftone_palette_entries() {
  std::vector<PALETTEENTRY> statics = system_palette_entries();
  std::vector<PALETTEENTRY> out;
  out.reserve(256);
  out.insert(out.end(), statics.begin(), statics.begin() + 10);
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        out.push_back(PALETTEENTRY{static_cast<BYTE>(r * 51), static_cast<BYTE>(g * 51),
                                   static_cast<BYTE>(b * 51), 0});
  for (int k = 1; k <= 20; ++k) {
    const BYTE v = static_cast<BYTE>((k * 255 + 10) / 21);
    out.push_back(PALETTEENTRY{v, v, v, 0});
  }
  out.insert(out.end(), statics.begin() + 10, statics.end());
  return out;
}

}  // namespace plat

HPALETTE CreatePalette(const LOGPALETTE* palette) {
  // palVersion "should be 0x300"; like the real platform, other values are not refused.
  if (!palette || palette->palNumEntries == 0) return 0;
  auto object = std::make_unique<plat::Palette>();
  object->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
  return plat::handle_insert(std::move(object));
}

HPALETTE CreateHalftonePalette(HDC dc) {
  if (!plat::handle_cast<plat::DeviceContext>(dc)) return 0;
  auto object = std::make_unique<plat::Palette>();
  object->entries = plat::halftone_palette_entries();
  return plat::handle_insert(std::move(object));
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL) {
  plat::DeviceContext* context = plat::handle_cast<plat::DeviceContext>(dc);
  plat::Palette* next = plat::handle_cast<plat::Palette>(palette);
  if (!context || !next) return 0;
  HPALETTE previous = context->palette;
  if (plat::Palette* old = plat::handle_cast<plat::Palette>(previous)) --old->selections;
  ++next->selections;
  context->palette = palette;
  return previous;
}

// Every entry maps to itself on a true-colour display; the count is what was "mapped". The default
// palette is always realised already.
UINT RealizePalette(HDC dc) {
  plat::DeviceContext* context = plat::handle_cast<plat::DeviceContext>(dc);
  if (!context) return GDI_ERROR;
  // Our displays are true-colour: there is no system palette, so no entry ever needs mapping.
  return 0;
}

UINT GetPaletteEntries(HPALETTE palette, UINT first, UINT count, LPPALETTEENTRY entries) {
  plat::Palette* object = plat::handle_cast<plat::Palette>(palette);
  if (!object) return 0;
  const size_t n = object->entries.size();
  if (!entries) return static_cast<UINT>(n);
  if (first >= n) return 0;
  const size_t copied = std::min<size_t>(count, n - first);
  std::copy_n(object->entries.begin() + first, copied, entries);
  return static_cast<UINT>(copied);
}
