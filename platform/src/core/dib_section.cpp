// DIB sections, device-dependent bitmaps and the colour tables of bitmaps selected into contexts.
#include <algorithm>
#include <cstring>

#include "error_codes.h"
#include "bmp_decode.h"

namespace plat {
namespace {

std::vector<RGBQUAD> to_quads(const std::vector<PALETTEENTRY>& entries, size_t count) {
  std::vector<RGBQUAD> out(count);
  for (size_t i = 0; i < count && i < entries.size(); ++i)
    out[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  return out;
}

// The colours a device-dependent bitmap of a palette depth shows its indices as.
std::vector<RGBQUAD> device_colors(int bits_per_pixel) {
  if (bits_per_pixel == 1) return {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
  if (bits_per_pixel == 4) {
    std::vector<PALETTEENTRY> s = system_palette_entries();
    std::vector<PALETTEENTRY> vga(s.begin(), s.begin() + 8);
    vga.push_back(s[12]);  // dark grey, then the bright colours
    vga.insert(vga.end(), s.begin() + 13, s.end());
    return to_quads(vga, 16);
  }
  if (bits_per_pixel == 8) return to_quads(halftone_palette_entries(), 256);
  return {};
}

HBITMAP make_device_bitmap(int width, int height, int bits_per_pixel) {
  if (width == 0 || height == 0) return default_bitmap();
  auto bitmap = make_bitmap(width, height, bits_per_pixel, true);
  if (!bitmap) return 0;
  bitmap->dib = false;
  bitmap->top_down = true;
  bitmap->colors = device_colors(bits_per_pixel);
  return handle_insert(std::move(bitmap));
}

// The DIB section selected into a context, or nullptr.
Bitmap* selected_dib(HDC dc) {
  DeviceContext* context = handle_cast<DeviceContext>(dc);
  if (!context) return nullptr;
  Bitmap* bitmap = handle_cast<Bitmap>(context->bitmap);
  return bitmap && bitmap->dib ? bitmap : nullptr;
}

}  // namespace
}  // namespace plat

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD) {
  if (bits) *bits = nullptr;
  if (!info || section != 0) return 0;  // no file mappings here
  if (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS) return 0;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize != 40 && h.biSize != 52 && h.biSize != 56 && h.biSize != 108 && h.biSize != 124)
    return 0;
  if (h.biPlanes != 1 || h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return 0;
  const int bpp = h.biBitCount;
  if (h.biCompression == BI_BITFIELDS) {
    if (bpp != 16 && bpp != 32) return 0;
  } else if (h.biCompression != BI_RGB) {
    return 0;
  }
  auto bitmap = plat::make_bitmap(h.biWidth, h.biHeight < 0 ? -h.biHeight : h.biHeight, bpp, true);
  if (!bitmap) return 0;
  bitmap->top_down = h.biHeight < 0;
  const uint8_t* after_header = reinterpret_cast<const uint8_t*>(info) + h.biSize;
  if (h.biCompression == BI_BITFIELDS) {
    const uint8_t* masks =
        h.biSize == 40 ? after_header : reinterpret_cast<const uint8_t*>(info) + 40;
    std::memcpy(bitmap->masks, masks, sizeof bitmap->masks);
    if (!plat::valid_masks(bitmap->masks, bpp)) return 0;
    bitmap->bitfields = true;
  }
  if (bpp <= 8) {
    // The section's table has every entry of its depth; biClrUsed says how many the caller gave,
    // and the rest stay black.
    const size_t max = size_t{1} << bpp;
    const size_t count = h.biClrUsed == 0 ? max : std::min<size_t>(h.biClrUsed, max);
    bitmap->colors.resize(max);
    if (usage == DIB_RGB_COLORS) {
      std::memcpy(bitmap->colors.data(), after_header, count * sizeof(RGBQUAD));
      for (RGBQUAD& q : bitmap->colors) q.rgbReserved = 0;
    } else {
      // Indices into the palette selected in the context.
      plat::DeviceContext* context = plat::handle_cast<plat::DeviceContext>(dc);
      plat::Palette* palette =
          context ? plat::handle_cast<plat::Palette>(context->palette) : nullptr;
      if (!palette) return 0;
      for (size_t i = 0; i < count; ++i) {
        WORD index;
        std::memcpy(&index, after_header + i * sizeof(WORD), sizeof index);
        if (index < palette->entries.size()) {
          const PALETTEENTRY& e = palette->entries[index];
          bitmap->colors[i] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
        }
      }
    }
  }
  void* pixels = bitmap->bits();
  HBITMAP handle = plat::handle_insert(std::move(bitmap));
  if (handle && bits) *bits = pixels;
  return handle;
}

// Rows of `bits` are padded to 16 bits and run from the top, as for every device-dependent bitmap.
// A bitmap without pixels is the stock one, whatever the other arguments say.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bits_per_pixel, const void* bits) {
  if (width == 0 || height == 0) return plat::default_bitmap();
  if (width < 0 || height < 0 || planes != 1) return 0;
  const int bpp = static_cast<int>(bits_per_pixel);
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return 0;
  HBITMAP handle = plat::make_device_bitmap(width, height, bpp);
  plat::Bitmap* bitmap = plat::handle_cast<plat::Bitmap>(handle);
  if (bitmap && bits && !bitmap->permanent) {
    const size_t source_stride = (static_cast<size_t>(width) * bpp + 15) / 16 * 2;
    for (int y = 0; y < height; ++y)
      std::memcpy(bitmap->row(y), static_cast<const uint8_t*>(bits) + source_stride * y,
                  source_stride);
  }
  return handle;
}

// Like the real service: a memory context gives bitmaps like the one selected in it (monochrome for
// a fresh context; a DIB section of the same layout when a DIB section is selected, so that the new
// bitmap can be selected into such a context too), a window or screen context 32-bit ones.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  plat::DeviceContext* context = plat::handle_cast<plat::DeviceContext>(dc);
  if (!context || width < 0 || height < 0) {
    SetLastError(plat::kErrorInvalidParameter);
    return 0;
  }
  plat::Bitmap* selected =
      context->memory ? plat::handle_cast<plat::Bitmap>(context->bitmap) : nullptr;
  if (!selected || !selected->dib || width == 0 || height == 0)
    return plat::make_device_bitmap(
        width, height, selected ? selected->bits_per_pixel : plat::kDeviceBitsPerPixel);
  auto bitmap = plat::make_bitmap(width, height, selected->bits_per_pixel, true);
  if (!bitmap) return 0;
  bitmap->bitfields = selected->bitfields;
  std::copy_n(selected->masks, 3, bitmap->masks);
  bitmap->colors = selected->colors;
  return plat::handle_insert(std::move(bitmap));
}

UINT GetDIBColorTable(HDC dc, UINT first, UINT count, RGBQUAD* colors) {
  plat::Bitmap* bitmap = plat::selected_dib(dc);
  if (!bitmap || !colors || first >= bitmap->colors.size()) return 0;
  const size_t copied = std::min<size_t>(count, bitmap->colors.size() - first);
  std::copy_n(bitmap->colors.begin() + first, copied, colors);
  return static_cast<UINT>(copied);
}

UINT SetDIBColorTable(HDC dc, UINT first, UINT count, const RGBQUAD* colors) {
  plat::Bitmap* bitmap = plat::selected_dib(dc);
  if (!bitmap || !colors || first >= bitmap->colors.size()) return 0;
  const size_t copied = std::min<size_t>(count, bitmap->colors.size() - first);
  std::copy_n(colors, copied, bitmap->colors.begin() + first);
  return static_cast<UINT>(copied);
}
