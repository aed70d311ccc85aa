// Describing and deleting GDI objects.
#include <cstring>

#include "error_codes.h"
#include "gdi_internal.h"

namespace {

template <class T>
int copy_out(const T& value, int size, LPVOID buffer) {
  if (!buffer) return static_cast<int>(sizeof(T));
  if (size < static_cast<int>(sizeof(T))) return 0;
  std::memcpy(buffer, &value, sizeof(T));
  return static_cast<int>(sizeof(T));
}

BITMAP describe(const plat::Bitmap& b) {
  BITMAP bm{};
  bm.bmWidth = b.width;
  bm.bmHeight = b.height;
  // Device-dependent bitmaps report rows padded to 16 bits and keep their pixels to themselves.
  bm.bmWidthBytes =
      b.dib ? static_cast<LONG>(b.stride)
            : static_cast<LONG>((static_cast<int64_t>(b.width) * b.bits_per_pixel + 15) / 16 * 2);
  bm.bmPlanes = 1;
  bm.bmBitsPixel = static_cast<WORD>(b.bits_per_pixel);
  bm.bmBits = b.dib ? b.bits() : nullptr;
  return bm;
}

int describe_bitmap(const plat::Bitmap& b, int size, LPVOID buffer) {
  if (b.dib && buffer && size >= static_cast<int>(sizeof(DIBSECTION))) {
    DIBSECTION ds{};
    ds.dsBm = describe(b);
    ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
    ds.dsBmih.biWidth = b.width;
    // Positive for top-down sections too, as the real platform reports it; the row order is the
    // section's own.
    ds.dsBmih.biHeight = b.height;
    ds.dsBmih.biPlanes = 1;
    ds.dsBmih.biBitCount = static_cast<WORD>(b.bits_per_pixel);
    ds.dsBmih.biCompression = b.bitfields ? BI_BITFIELDS : BI_RGB;
    ds.dsBmih.biSizeImage = static_cast<DWORD>(b.image_size());
    ds.dsBmih.biClrUsed = static_cast<DWORD>(b.colors.size());
    if (b.bits_per_pixel == 16 || b.bits_per_pixel == 32)
      std::memcpy(ds.dsBitfields, b.masks, sizeof ds.dsBitfields);
    return copy_out(ds, size, buffer);
  }
  return copy_out(describe(b), size, buffer);
}

}  // namespace

int GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
  plat::Object* o = plat::handle_get(object);
  if (!o || size < 0) return 0;
  switch (o->kind) {
    case plat::Kind::Bitmap:
      return describe_bitmap(*static_cast<plat::Bitmap*>(o), size, buffer);
    case plat::Kind::Palette: {
      const WORD count = static_cast<WORD>(static_cast<plat::Palette*>(o)->entries.size());
      return copy_out(count, size, buffer);
    }
    case plat::Kind::Brush: {
      auto* brush = static_cast<plat::Brush*>(o);
      return copy_out(LOGBRUSH{brush->style, brush->color, 0}, size, buffer);
    }
    case plat::Kind::Pen: {
      auto* pen = static_cast<plat::Pen*>(o);
      return copy_out(LOGPEN{pen->style, POINT{pen->style == PS_NULL ? 0 : 1, 0}, pen->color}, size,
                      buffer);
    }
    default:
      return 0;
  }
}

DWORD GetObjectType(HGDIOBJ object) {
  plat::Object* o = plat::handle_get(object);
  if (!o) {
    SetLastError(plat::kErrorInvalidHandle);
    return 0;
  }
  switch (o->kind) {
    case plat::Kind::Bitmap:
      return OBJ_BITMAP;
    case plat::Kind::Palette:
      return OBJ_PAL;
    case plat::Kind::Brush:
      return OBJ_BRUSH;
    case plat::Kind::Pen:
      return OBJ_PEN;
    case plat::Kind::Region:
      return OBJ_REGION;
    case plat::Kind::DC:
      return static_cast<plat::DeviceContext*>(o)->memory ? OBJ_MEMDC : OBJ_DC;
    default:
      return 0;
  }
}

BOOL DeleteObject(HGDIOBJ object) {
  plat::Object* o = plat::handle_get(object);
  if (!o) return FALSE;
  switch (o->kind) {
    case plat::Kind::Region:
      plat::handle_remove(object);
      return TRUE;
    case plat::Kind::Bitmap:
    case plat::Kind::Palette:
    case plat::Kind::Brush:
    case plat::Kind::Pen: {
      if (o->permanent) return TRUE;
      if (static_cast<plat::GdiObject*>(o)->selections > 0) return FALSE;
      plat::handle_remove(object);
      return TRUE;
    }
    default:
      return FALSE;  // contexts go with DeleteDC or ReleaseDC; windows, cursors are not GDI's
  }
}
