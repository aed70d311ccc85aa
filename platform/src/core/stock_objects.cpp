// Stock objects, system colours and their brushes, solid brushes. The permanent objects are all
// made when the program starts, so that counts of live objects taken before and after any GDI call
// agree.
#include "gdi_internal.h"

namespace plat {
namespace {

constexpr int kStockCount = 20;
constexpr int kSysColorCount = 31;

// The system colours of a light desktop scheme (COLOR_BTNFACE is RGB(240, 240, 240)).
constexpr COLORREF kSysColors[kSysColorCount] = {
    RGB(200, 200, 200), RGB(0, 0, 0),       RGB(153, 180, 209), RGB(191, 205, 219),
    RGB(240, 240, 240), RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),
    RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(180, 180, 180), RGB(244, 247, 252),
    RGB(171, 171, 171), RGB(0, 120, 215),   RGB(255, 255, 255), RGB(240, 240, 240),
    RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),
    RGB(255, 255, 225), RGB(0, 0, 0),       RGB(0, 102, 204),   RGB(185, 209, 234),
    RGB(215, 228, 242), RGB(51, 153, 255),  RGB(240, 240, 240)};

struct Stock {
  HGDIOBJ objects[kStockCount] = {};
  HBRUSH sys_brushes[kSysColorCount] = {};
  HBITMAP bitmap = 0;
};

HANDLE insert_permanent(std::unique_ptr<Object> object) {
  object->permanent = true;
  return handle_insert(std::move(object));
}

HBRUSH make_brush(UINT style, COLORREF color) {
  auto brush = std::make_unique<Brush>();
  brush->style = style;
  brush->color = color;
  return insert_permanent(std::move(brush));
}

HPEN make_pen(UINT style, COLORREF color) {
  auto pen = std::make_unique<Pen>();
  pen->style = style;
  pen->color = color;
  return insert_permanent(std::move(pen));
}

Stock make_stock() {
  Stock s;
  s.objects[WHITE_BRUSH] = make_brush(BS_SOLID, RGB(255, 255, 255));
  s.objects[LTGRAY_BRUSH] = make_brush(BS_SOLID, RGB(192, 192, 192));
  s.objects[GRAY_BRUSH] = make_brush(BS_SOLID, RGB(128, 128, 128));
  s.objects[DKGRAY_BRUSH] = make_brush(BS_SOLID, RGB(64, 64, 64));
  s.objects[BLACK_BRUSH] = make_brush(BS_SOLID, RGB(0, 0, 0));
  s.objects[NULL_BRUSH] = make_brush(BS_NULL, 0);
  s.objects[WHITE_PEN] = make_pen(PS_SOLID, RGB(255, 255, 255));
  s.objects[BLACK_PEN] = make_pen(PS_SOLID, RGB(0, 0, 0));
  s.objects[NULL_PEN] = make_pen(PS_NULL, 0);
  s.objects[DC_BRUSH] = make_brush(BS_SOLID, RGB(255, 255, 255));
  s.objects[DC_PEN] = make_pen(PS_SOLID, RGB(0, 0, 0));
  auto palette = std::make_unique<Palette>();
  palette->entries = system_palette_entries();
  s.objects[DEFAULT_PALETTE] = insert_permanent(std::move(palette));
  for (int i = 0; i < kSysColorCount; ++i) s.sys_brushes[i] = make_brush(BS_SOLID, kSysColors[i]);

  auto mono = std::make_unique<Bitmap>();
  mono->width = mono->height = 1;
  mono->bits_per_pixel = 1;
  mono->stride = 4;
  mono->dib = false;
  mono->top_down = true;
  mono->colors = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
  mono->pixels.reset(static_cast<uint8_t*>(std::calloc(4, 1)));
  s.bitmap = insert_permanent(std::move(mono));
  return s;
}

const Stock& stock() {
  static const Stock s = make_stock();
  return s;
}

[[maybe_unused]] const bool g_stock_made_at_start = (stock(), true);

}  // namespace

HBITMAP default_bitmap() { return stock().bitmap; }

}  // namespace plat

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index >= plat::kStockCount) return 0;
  return plat::stock().objects[index];
}

DWORD GetSysColor(int index) {
  if (index < 0 || index >= plat::kSysColorCount) return 0;
  return plat::kSysColors[index];
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= plat::kSysColorCount) return 0;
  return plat::stock().sys_brushes[index];
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto brush = std::make_unique<plat::Brush>();
  brush->color = color & 0x00FFFFFF;
  return plat::handle_insert(std::move(brush));
}
