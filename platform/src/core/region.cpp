// Regions, on pixman's banded rectangle regions (the same y-x banded form the real service uses).
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "common/large_memory.h"
#include "gdi_internal.h"

namespace plat {

struct RegionData {
  pixman_region32_t region;
  RegionData() { pixman_region32_init(&region); }
  ~RegionData() { pixman_region32_fini(&region); }
  RegionData(const RegionData&) = delete;
  RegionData& operator=(const RegionData&) = delete;
};

Region::Region() : Object(kKind), data(std::make_unique<RegionData>()) {}
Region::~Region() = default;

namespace {

// Coordinates are kept within +-2^27, as the real service does, so that offsets and extents never
// overflow 32 bits.
constexpr int64_t kCoordLimit = int64_t{1} << 27;

int32_t clamp_coord(int64_t v) {
  return static_cast<int32_t>(std::clamp(v, -kCoordLimit, kCoordLimit));
}

pixman_region32_t* region_of(HRGN h) {
  Region* r = handle_cast<Region>(h);
  return r ? &r->data->region : nullptr;
}

int complexity(const pixman_region32_t* r) {
  int n = pixman_region32_n_rects(r);
  return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// A normalised rectangle (left <= right, top <= bottom) as pixman wants it.
void set_rect(pixman_region32_t* r, int64_t left, int64_t top, int64_t right, int64_t bottom) {
  int32_t l = clamp_coord(std::min(left, right)), rr = clamp_coord(std::max(left, right));
  int32_t t = clamp_coord(std::min(top, bottom)), b = clamp_coord(std::max(top, bottom));
  pixman_region32_fini(r);
  if (l == rr || t == b)
    pixman_region32_init(r);
  else
    pixman_region32_init_rect(r, l, t, static_cast<unsigned>(rr - l), static_cast<unsigned>(b - t));
}

HRGN insert_region(std::unique_ptr<Region> region) { return handle_insert(std::move(region)); }

}  // namespace

std::vector<RECT> region_rects(HRGN h) {
  std::vector<RECT> out;
  pixman_region32_t* r = region_of(h);
  if (!r) return out;
  int n = 0;
  const pixman_box32_t* boxes = pixman_region32_rectangles(r, &n);
  out.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    out.push_back(RECT{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
  return out;
}

std::vector<RECT> clip_rects(const DeviceContext& dc, const RECT& box) {
  pixman_region32_t* clip = region_of(dc.clip);
  if (!clip) return {box};
  pixman_region32_t part;
  pixman_region32_init_rect(&part, box.left, box.top, static_cast<unsigned>(box.right - box.left),
                            static_cast<unsigned>(box.bottom - box.top));
  pixman_region32_intersect(&part, &part, clip);
  int n = 0;
  const pixman_box32_t* boxes = pixman_region32_rectangles(&part, &n);
  std::vector<RECT> out;
  out.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    out.push_back(RECT{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
  pixman_region32_fini(&part);
  return out;
}

HRGN region_copy(HRGN h) {
  pixman_region32_t* r = region_of(h);
  if (!r) return 0;
  auto copy = std::make_unique<Region>();
  if (!pixman_region32_copy(&copy->data->region, r)) return 0;
  return insert_region(std::move(copy));
}

}  // namespace plat

using plat::region_of;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  auto region = std::make_unique<plat::Region>();
  plat::set_rect(&region->data->region, left, top, right, bottom);
  return plat::insert_region(std::move(region));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) return 0;
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL SetRectRgn(HRGN h, int left, int top, int right, int bottom) {
  pixman_region32_t* r = region_of(h);
  if (!r) return FALSE;
  plat::set_rect(r, left, top, right, bottom);
  return TRUE;
}

namespace {

// A rectangle's corners through a scaling and translation, rounded to the nearest coordinate and
// kept within the coordinate space.
RECT transformed(const RECT& rc, const XFORM& xform) {
  auto map = [](LONG v, FLOAT scale, FLOAT offset) {
    return static_cast<LONG>(
        plat::clamp_coord(std::llround(v * static_cast<double>(scale) + offset)));
  };
  return RECT{map(rc.left, xform.eM11, xform.eDx), map(rc.top, xform.eM22, xform.eDy),
              map(rc.right, xform.eM11, xform.eDx), map(rc.bottom, xform.eM22, xform.eDy)};
}

// One rectangle of a region-data block as pixman's box, after the transform and the clamping to
// the coordinate space; false when it covers nothing and is dropped.
bool to_box(const char* p, const XFORM* xform, pixman_box32_t& box) {
  RECT rc;
  std::memcpy(&rc, p, sizeof rc);
  // A rectangle given with its corners the other way round covers nothing.
  if (rc.left >= rc.right || rc.top >= rc.bottom) return false;
  if (xform) rc = transformed(rc, *xform);
  box.x1 = plat::clamp_coord(std::min(rc.left, rc.right));
  box.x2 = plat::clamp_coord(std::max(rc.left, rc.right));
  box.y1 = plat::clamp_coord(std::min(rc.top, rc.bottom));
  box.y2 = plat::clamp_coord(std::max(rc.top, rc.bottom));
  return box.x1 != box.x2 && box.y1 != box.y2;
}

// Merges the last band (from `band` to `count`) into the one before it (from `previous`) when it
// lies straight below it with its boxes in the same places, as pixman does. Returns where the last
// band now starts.
long coalesce(pixman_box32_t* boxes, long& count, long previous, long band) {
  const long n = band - previous;
  if (n == 0 || count - band != n || boxes[previous].y2 != boxes[band].y1) return band;
  for (long i = 0; i < n; ++i)
    if (boxes[previous + i].x1 != boxes[band + i].x1 ||
        boxes[previous + i].x2 != boxes[band + i].x2)
      return band;
  const int32_t bottom = boxes[band].y2;
  for (long i = previous; i < band; ++i) boxes[i].y2 = bottom;
  count = band;
  return previous;
}

// The region of a list already in y-x bands, the form of a region itself and of a scan of rows
// top to bottom, left to right: sorted by top, then left; the boxes of a band share top and
// bottom; bands do not overlap. Built in one pass straight into pixman's own storage (a block
// that pixman frees with free), with exactly the boxes pixman's general construction gives
// (touching boxes of a band merged, identical bands straight below each other coalesced) but
// without its sort, whose cost grows faster than the list. False, with nothing changed, for any
// other list.
bool init_banded(pixman_region32_t* region, const char* rects, DWORD count, const XFORM* xform) {
  if (count < 2) return false;
  auto* store = static_cast<pixman_region32_data_t*>(common::allocate_large(
      sizeof(pixman_region32_data_t) + size_t{count} * sizeof(pixman_box32_t)));
  if (!store) return false;
  auto* boxes = reinterpret_cast<pixman_box32_t*>(store + 1);
  long n = 0, band = 0, previous = 0;
  int32_t left_before = 0;  // the left edge of the box before, as given, for the order
  pixman_box32_t extents{0, 0, 0, 0};
  for (DWORD i = 0; i < count; ++i, rects += sizeof(RECT)) {
    pixman_box32_t box;
    if (!to_box(rects, xform, box)) continue;
    if (n == 0) {
      boxes[n++] = box;
      extents = box;
    } else if (pixman_box32_t& last = boxes[n - 1]; box.y1 == last.y1 && box.y2 == last.y2) {
      if (box.x1 < left_before) {
        std::free(store);
        return false;
      }
      if (box.x1 <= last.x2)
        last.x2 = std::max(last.x2, box.x2);
      else
        boxes[n++] = box;
    } else if (box.y1 >= last.y2) {
      previous = coalesce(boxes, n, previous, band);
      band = n;
      boxes[n++] = box;
    } else {
      std::free(store);
      return false;
    }
    left_before = box.x1;
    extents.x1 = std::min(extents.x1, box.x1);
    extents.x2 = std::max(extents.x2, box.x2);
  }
  if (n > 0) {
    coalesce(boxes, n, previous, band);
    extents.y2 = boxes[n - 1].y2;
  }
  pixman_region32_fini(region);
  if (n <= 1) {
    if (n == 0)
      pixman_region32_init(region);
    else
      pixman_region32_init_with_extents(region, &boxes[0]);
    std::free(store);
    return true;
  }
  if (n <= static_cast<long>(count / 2)) {
    // Coalescing left most of the block unused: give it back.
    if (void* smaller = std::realloc(
            store, sizeof(pixman_region32_data_t) + size_t(n) * sizeof(pixman_box32_t))) {
      store = static_cast<pixman_region32_data_t*>(smaller);
      boxes = reinterpret_cast<pixman_box32_t*>(store + 1);
    }
    store->size = n;
  } else {
    store->size = static_cast<long>(count);
  }
  store->numRects = n;
  region->extents = extents;
  region->data = store;
  return true;
}

}  // namespace

// The header must say what it is and the rectangles it counts must lie within the size given.
HRGN ExtCreateRegion(const XFORM* xform, DWORD size, const RGNDATA* data) {
  if (!data || size < sizeof(RGNDATAHEADER)) return 0;
  // Scaling and translation keep rectangles rectangles; a rotation or shear would need polygons.
  if (xform && (xform->eM12 != 0 || xform->eM21 != 0)) return 0;
  const RGNDATAHEADER& header = data->rdh;
  // The header must be a whole one; its type is not looked at, as the real platform does not. The
  // rectangles must lie inside the block the caller said it gave: we never read past it.
  if (header.dwSize < sizeof(RGNDATAHEADER)) return 0;
  if (static_cast<uint64_t>(header.nCount) * sizeof(RECT) > size - sizeof(RGNDATAHEADER)) return 0;

  auto region = std::make_unique<plat::Region>();
  if (init_banded(&region->data->region, data->Buffer, header.nCount, xform))
    return plat::insert_region(std::move(region));
  std::vector<pixman_box32_t> boxes;
  boxes.reserve(header.nCount);
  const char* p = data->Buffer;
  for (DWORD i = 0; i < header.nCount; ++i, p += sizeof(RECT)) {
    pixman_box32_t box;
    if (to_box(p, xform, box)) boxes.push_back(box);
  }
  pixman_region32_fini(&region->data->region);
  if (!pixman_region32_init_rects(&region->data->region, boxes.data(),
                                  static_cast<int>(boxes.size()))) {
    pixman_region32_init(&region->data->region);
    return 0;
  }
  return plat::insert_region(std::move(region));
}

int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode) {
  pixman_region32_t* d = region_of(dest);
  pixman_region32_t* a = region_of(source1);
  if (!d || !a) return ERROR;
  pixman_region32_t* b = nullptr;
  if (mode != RGN_COPY) {
    b = region_of(source2);
    if (!b) return ERROR;
  }
  // Computed into a fresh region, so that the destination may also be a source.
  pixman_region32_t result;
  pixman_region32_init(&result);
  bool ok = true;
  switch (mode) {
    case RGN_AND:
      ok = pixman_region32_intersect(&result, a, b);
      break;
    case RGN_OR:
      ok = pixman_region32_union(&result, a, b);
      break;
    case RGN_DIFF:
      ok = pixman_region32_subtract(&result, a, b);
      break;
    case RGN_XOR: {
      pixman_region32_t other;
      pixman_region32_init(&other);
      ok = pixman_region32_subtract(&result, a, b) && pixman_region32_subtract(&other, b, a) &&
           pixman_region32_union(&result, &result, &other);
      pixman_region32_fini(&other);
      break;
    }
    case RGN_COPY:
      ok = pixman_region32_copy(&result, a);
      break;
    default:
      ok = false;
  }
  if (!ok) {
    pixman_region32_fini(&result);
    return ERROR;
  }
  pixman_region32_fini(d);
  std::memcpy(d, &result, sizeof result);  // hands the rectangles over; `result` is not finalised
  return plat::complexity(d);
}

BOOL PtInRegion(HRGN h, int x, int y) {
  pixman_region32_t* r = region_of(h);
  return r && pixman_region32_contains_point(r, x, y, nullptr) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN h, const RECT* rect) {
  pixman_region32_t* r = region_of(h);
  if (!r || !rect) return FALSE;
  pixman_box32_t box{plat::clamp_coord(std::min(rect->left, rect->right)),
                     plat::clamp_coord(std::min(rect->top, rect->bottom)),
                     plat::clamp_coord(std::max(rect->left, rect->right)),
                     plat::clamp_coord(std::max(rect->top, rect->bottom))};
  if (box.x1 == box.x2 || box.y1 == box.y2) return FALSE;
  return pixman_region32_contains_rectangle(r, &box) != PIXMAN_REGION_OUT ? TRUE : FALSE;
}

int GetRgnBox(HRGN h, LPRECT box) {
  pixman_region32_t* r = region_of(h);
  if (!r || !box) return ERROR;
  int kind = plat::complexity(r);
  if (kind == NULLREGION) {
    *box = RECT{0, 0, 0, 0};
  } else {
    const pixman_box32_t* e = pixman_region32_extents(r);
    *box = RECT{e->x1, e->y1, e->x2, e->y2};
  }
  return kind;
}

BOOL EqualRgn(HRGN h1, HRGN h2) {
  pixman_region32_t* a = region_of(h1);
  pixman_region32_t* b = region_of(h2);
  if (!a || !b) return ERROR;
  return pixman_region32_equal(a, b) ? TRUE : FALSE;
}

int OffsetRgn(HRGN h, int dx, int dy) {
  pixman_region32_t* r = region_of(h);
  if (!r) return ERROR;
  if (pixman_region32_not_empty(r)) {
    const pixman_box32_t* e = pixman_region32_extents(r);
    const int64_t limit = plat::kCoordLimit;
    if (int64_t{e->x1} + dx < -limit || int64_t{e->x2} + dx > limit ||
        int64_t{e->y1} + dy < -limit || int64_t{e->y2} + dy > limit)
      return ERROR;
    pixman_region32_translate(r, dx, dy);
  }
  return plat::complexity(r);
}

DWORD GetRegionData(HRGN h, DWORD size, LPRGNDATA data) {
  pixman_region32_t* r = region_of(h);
  if (!r) return 0;
  int n = 0;
  const pixman_box32_t* boxes = pixman_region32_rectangles(r, &n);
  const DWORD needed =
      static_cast<DWORD>(sizeof(RGNDATAHEADER) + sizeof(RECT) * static_cast<size_t>(n));
  if (!data) return needed;
  if (size < needed) return 0;
  RGNDATAHEADER header{};
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = static_cast<DWORD>(n);
  header.nRgnSize = static_cast<DWORD>(sizeof(RECT) * static_cast<size_t>(n));
  if (n > 0) {
    const pixman_box32_t* e = pixman_region32_extents(r);
    header.rcBound = RECT{e->x1, e->y1, e->x2, e->y2};
  }
  std::memcpy(&data->rdh, &header, sizeof header);
  char* p = data->Buffer;
  for (int i = 0; i < n; ++i, p += sizeof(RECT)) {
    RECT rc{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2};
    std::memcpy(p, &rc, sizeof rc);
  }
  return size;
}
