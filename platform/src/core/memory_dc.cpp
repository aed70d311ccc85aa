// Memory device contexts and the selection of objects into contexts.
#include "error_codes.h"
#include "gdi_internal.h"

namespace plat {
namespace {

// Swaps the object in `slot` for `next`, keeping the selection counts; returns the previous one.
HGDIOBJ swap_selected(HGDIOBJ& slot, GdiObject* next, HGDIOBJ next_handle) {
  HGDIOBJ previous = slot;
  if (previous == next_handle) return previous;
  if (GdiObject* old = static_cast<GdiObject*>(handle_get(previous))) --old->selections;
  ++next->selections;
  slot = next_handle;
  return previous;
}

}  // namespace
}  // namespace plat

HDC CreateCompatibleDC(HDC dc) {
  if (dc != 0 && !plat::handle_cast<plat::DeviceContext>(dc)) return 0;
  auto context = std::make_unique<plat::DeviceContext>();
  context->memory = true;
  return plat::dc_insert(std::move(context));
}

// Window and screen contexts are given back with ReleaseDC instead.
BOOL DeleteDC(HDC dc) {
  plat::DeviceContext* context = plat::handle_cast<plat::DeviceContext>(dc);
  if (!context) SetLastError(plat::kErrorInvalidHandle);
  if (!context || !context->memory) return FALSE;
  plat::dc_destroy(dc);
  return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  plat::DeviceContext* context = plat::handle_cast<plat::DeviceContext>(dc);
  plat::Object* o = plat::handle_get(object);
  if (!context || !o) return 0;
  switch (o->kind) {
    case plat::Kind::Bitmap: {
      auto* bitmap = static_cast<plat::Bitmap*>(o);
      if (!context->memory) return 0;
      // A device-dependent bitmap must match the device, or be monochrome; a DIB section may have
      // any depth.
      if (!bitmap->dib && bitmap->bits_per_pixel != 1 &&
          bitmap->bits_per_pixel != plat::kDeviceBitsPerPixel)
        return 0;
      // A bitmap lives in one context at a time; the stock bitmap is shared by all.
      if (bitmap->selections > 0 && !bitmap->permanent && context->bitmap != object) return 0;
      return plat::swap_selected(context->bitmap, bitmap, object);
    }
    case plat::Kind::Brush:
      return plat::swap_selected(context->brush, static_cast<plat::GdiObject*>(o), object);
    case plat::Kind::Pen:
      return plat::swap_selected(context->pen, static_cast<plat::GdiObject*>(o), object);
    case plat::Kind::Region: {
      HRGN copy = plat::region_copy(object);
      if (!copy) return HGDI_ERROR;
      if (context->clip) plat::handle_remove(context->clip);
      context->clip = copy;
      RECT box;
      return static_cast<HGDIOBJ>(GetRgnBox(copy, &box));
    }
    default:
      return 0;  // palettes go through SelectPalette
  }
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
  plat::DeviceContext* context = plat::handle_cast<plat::DeviceContext>(dc);
  if (!context) return 0;
  switch (type) {
    case OBJ_BITMAP:
      return context->bitmap;
    case OBJ_BRUSH:
      return context->brush;
    case OBJ_PEN:
      return context->pen;
    case OBJ_PAL:
      return context->palette;
    default:
      return 0;
  }
}
