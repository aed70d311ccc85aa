// Window and screen device contexts, and what every context holds.
#include "error_codes.h"
#include "gdi_internal.h"

namespace plat {
namespace {

void hold(HGDIOBJ object) {
  if (GdiObject* o = static_cast<GdiObject*>(handle_get(object))) ++o->selections;
}

void drop(HGDIOBJ object) {
  Object* o = handle_get(object);
  if (o && o->kind != Kind::Region && o->kind != Kind::DC) --static_cast<GdiObject*>(o)->selections;
}

}  // namespace

HWND dc_window(HDC dc) {
  DeviceContext* context = handle_cast<DeviceContext>(dc);
  return context ? context->window : 0;
}

HDC dc_insert(std::unique_ptr<DeviceContext> context) {
  DeviceContext& c = *context;
  c.brush = GetStockObject(WHITE_BRUSH);
  c.pen = GetStockObject(BLACK_PEN);
  c.palette = GetStockObject(DEFAULT_PALETTE);
  if (c.memory) c.bitmap = default_bitmap();
  const HDC dc = handle_insert(std::move(context));
  // Only a context that was made holds its objects: a refused one must leave no selection behind.
  if (dc)
    for (HGDIOBJ o : {c.brush, c.pen, c.palette, c.bitmap}) hold(o);
  return dc;
}

void dc_destroy(HDC dc) {
  DeviceContext* context = handle_cast<DeviceContext>(dc);
  if (!context) return;
  for (HGDIOBJ o : {context->brush, context->pen, context->palette, context->bitmap}) drop(o);
  if (context->clip) handle_remove(context->clip);
  handle_remove(dc);
}

}  // namespace plat

HDC GetDC(HWND window) {
  if (window != 0 && !plat::handle_get(window, plat::Kind::Window)) {
    SetLastError(plat::kErrorInvalidWindowHandle);
    return 0;
  }
  auto context = std::make_unique<plat::DeviceContext>();
  context->window = window;
  context->screen = window == 0;
  return plat::dc_insert(std::move(context));
}

int ReleaseDC(HWND window, HDC dc) {
  plat::DeviceContext* context = plat::handle_cast<plat::DeviceContext>(dc);
  if (!context || context->memory || context->window != window) return 0;
  plat::dc_destroy(dc);
  return 1;
}
