// A window region from a colour-keyed bitmap: one rectangle per horizontal run of opaque pixels.
// Two passes. The first turns each row of the picture into one bit per pixel, compared with the
// key range many pixels at a time, and counts the runs. A 24- or 32-bit picture, as files of those
// depths load, is read where it lies; any other is first copied a strip of rows at a time into a
// 24- or 32-bit working image, each strip scanned while it is in the cache. The second turns the
// bits into rectangles, band by band (row by row, top first, left to right), in one movable memory
// block of exactly the size needed, handed to the region service in one request: the region
// service takes a list already in bands in one pass, so the whole cost stays linear in pixels and
// rectangles whatever the shape.
#include "bitmap_to_region.h"

#include "zelvo/controls.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "common/large_memory.h"
#include "key_mask.h"

namespace {

constexpr LONG kMaxLong = 0x7FFFFFFF;

// The most rectangles one region-creation request can carry: its size in bytes is a DWORD. All
// counts and sizes are 64-bit, so nothing here can wrap before this limit is reached.
constexpr uint64_t kMaxRequestRects = (uint64_t{0xFFFFFFFF} - sizeof(RGNDATAHEADER)) / sizeof(RECT);

uint64_t RequestBytes(uint64_t rects) { return sizeof(RGNDATAHEADER) + rects * sizeof(RECT); }

// The opaque pixels of the whole picture, one bit each, rows top first; every row has at least one
// clear bit after its last pixel, so that each run ends inside its own row.
class OpaqueMask {
 public:
  OpaqueMask(LONG width, LONG height)
      : words_(size_t(width) / 64 + 1),
        bits_(static_cast<uint64_t*>(common::allocate_large(words_ * sizeof(uint64_t) *
                                                            size_t(std::max<LONG>(height, 1))))) {}
  bool ok() const { return bits_ != nullptr; }
  size_t words() const { return words_; }
  uint64_t* row(LONG y) { return bits_.get() + words_ * size_t(y); }
  const uint64_t* row(LONG y) const { return bits_.get() + words_ * size_t(y); }

 private:
  size_t words_;
  // Not cleared: every word is written before it is read.
  std::unique_ptr<uint64_t, common::FreeDeleter> bits_;
};

// The rectangles of row y's runs, left to right, from `rects` on; returns how many. The k-th run
// start and the k-th run end belong to the same run, so starts and ends are written in two plain
// loops over their bits.
size_t RowRects(const uint64_t* bits, size_t words, LONG y, RECT* rects) {
  size_t starts = 0, ends = 0;
  uint64_t carry = 0;
  for (size_t w = 0; w < words; ++w) {
    const uint64_t m = bits[w], before = (m << 1) | carry;
    carry = m >> 63;
    const LONG base = LONG(64 * w);
    for (uint64_t s = m & ~before; s; s &= s - 1)
      rects[starts++] = RECT{base + std::countr_zero(s), y, 0, y + 1};
    for (uint64_t e = ~m & before; e; e &= e - 1) rects[ends++].right = base + std::countr_zero(e);
  }
  return starts;
}

// Makes one region from the runs of rows [first, last) (`count` rectangles) in one request.
HRGN RegionOfRows(const OpaqueMask& mask, LONG first, LONG last, uint64_t count) {
  const uint64_t capacity = std::max<uint64_t>(count, ALLOC_UNIT);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(RequestBytes(capacity)));
  if (!block) return 0;
  auto* data = static_cast<RGNDATA*>(GlobalLock(block));
  HRGN region = 0;
  if (data) {
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    RECT bound{kMaxLong, kMaxLong, 0, 0};
    uint64_t n = 0;
    for (LONG y = first; y < last; ++y) {
      const size_t made = RowRects(mask.row(y), mask.words(), y, rects + n);
      if (made == 0) continue;
      bound.left = std::min(bound.left, rects[n].left);
      bound.right = std::max(bound.right, rects[n + made - 1].right);
      bound.top = std::min(bound.top, y);
      bound.bottom = y + 1;
      n += made;
    }
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(n);
    data->rdh.nRgnSize = 0;
    data->rdh.rcBound = bound;
    region = ExtCreateRegion(nullptr, static_cast<DWORD>(RequestBytes(n)), data);
    GlobalUnlock(block);
  }
  GlobalFree(block);
  return region;
}

// The region of all runs: one request, or, for a shape with more rectangles than one request
// holds, several of whole rows merged by union. 0 after any failure of the memory or region
// services: a shape with missing runs would hit-test and clip wrongly.
HRGN RegionOfRuns(const OpaqueMask& mask, const uint32_t* row_runs, LONG height) {
  HRGN result = 0;
  LONG first = 0;
  do {
    uint64_t count = 0;
    LONG last = first;
    while (last < height && count + row_runs[last] <= kMaxRequestRects) count += row_runs[last++];
    HRGN piece = last > first || first == height ? RegionOfRows(mask, first, last, count) : 0;
    if (!piece) {
      if (result) DeleteObject(result);
      return 0;
    }
    if (!result) {
      result = piece;
    } else {
      const bool united = CombineRgn(result, result, piece, RGN_OR) != ERROR;
      DeleteObject(piece);
      if (!united) {
        DeleteObject(result);
        return 0;
      }
    }
    first = last;
  } while (first < height);
  return result;
}

// The working image is copied and scanned a strip of rows at a time, each strip while it is still
// in the cache: the scan then costs little more than reading the source once, whatever the size.
constexpr LONG kStripBytes = 256 * 1024;

LONG StripRows(LONG width, LONG height, int bytes_per_pixel) {
  const int64_t row_bytes = std::max<int64_t>(int64_t{width} * bytes_per_pixel, 1);
  return static_cast<LONG>(
      std::clamp<int64_t>(kStripBytes / row_bytes, 1, std::max<LONG>(height, 1)));
}

// The mask and run counts of a picture, `height` rows of one bit per pixel.
struct ScanResult {
  ScanResult(LONG width, LONG height)
      : mask(width, height),
        row_runs(new (std::nothrow) uint32_t[size_t(std::max<LONG>(height, 1))]) {}
  bool ok() const { return mask.ok() && row_runs; }
  OpaqueMask mask;
  // Runs per row: at most half the width plus one, which fits 32 bits.
  std::unique_ptr<uint32_t[]> row_runs;
};

// Copies the source bitmap into the working image (a strip `rows` high, selected into `work`,
// converted there to 24 or 32 bits), and makes the region of its opaque pixels, top row of the
// picture first, so that y = 0 is the top row as in window coordinates.
HRGN ConvertAndScan(HDC work, HBITMAP section, LONG rows, HBITMAP bitmap, HPALETTE palette,
                    LONG width, LONG height, COLORREF key, BYTE tolerance) {
  BITMAP strip;
  std::memset(&strip, 0, sizeof strip);
  if (!GetObjectA(section, sizeof strip, &strip) || !strip.bmBits || strip.bmHeight != rows ||
      (strip.bmBitsPixel != 24 && strip.bmBitsPixel != 32))
    return 0;
  const int bytes_per_pixel = strip.bmBitsPixel / 8;
  const size_t stride = (static_cast<size_t>(strip.bmWidthBytes) + 3) & ~size_t{3};
  width = std::min<LONG>(width, strip.bmWidthBytes / bytes_per_pixel);

  ScanResult scan(width, height);
  if (!scan.ok()) return 0;

  HDC source = CreateCompatibleDC(0);
  if (!source) return 0;
  HGDIOBJ replaced = SelectObject(source, bitmap);
  HPALETTE previous = palette ? SelectPalette(source, palette, TRUE) : 0;
  if (palette) RealizePalette(source);

  const zelvo::KeyRange range(key, tolerance);
  bool copied = true;
  for (LONG top = 0; top < height && copied; top += rows) {
    const LONG count = std::min(rows, height - top);
    copied = BitBlt(work, 0, 0, width, count, source, 0, top, SRCCOPY) != FALSE;
    // The strip is bottom-up: its top row is the last one in memory.
    const BYTE* row = static_cast<const BYTE*>(strip.bmBits) + (rows - 1) * stride;
    for (LONG y = top; y < top + count; ++y, row -= stride)
      scan.row_runs[y] = uint32_t(zelvo::MaskKeyRow(range, row, size_t(width), bytes_per_pixel,
                                                    scan.mask.row(y), scan.mask.words()));
  }

  if (palette) SelectPalette(source, previous, FALSE);
  SelectObject(source, replaced);
  DeleteDC(source);
  return copied ? RegionOfRuns(scan.mask, scan.row_runs.get(), height) : 0;
}

// The whole copy path: a working DIB section a strip high, of 24 bits for a 24-bit picture and of
// 32 bits for every other depth.
HRGN CopyAndScan(HBITMAP bitmap, HPALETTE palette, const BITMAP& source, COLORREF key,
                 BYTE tolerance) {
  HDC work = CreateCompatibleDC(0);
  if (!work) return 0;
  const int bits = source.bmBitsPixel == 24 ? 24 : 32;
  BITMAPINFO description;
  std::memset(&description, 0, sizeof description);
  BITMAPINFOHEADER& header = description.bmiHeader;
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = source.bmWidth;
  const LONG rows = StripRows(source.bmWidth, source.bmHeight, bits / 8);
  header.biHeight = rows;  // positive: rows run bottom-up
  header.biPlanes = 1;
  header.biBitCount = WORD(bits);
  header.biCompression = BI_RGB;
  void* pixels = nullptr;
  HRGN result = 0;
  HBITMAP section = CreateDIBSection(work, &description, DIB_RGB_COLORS, &pixels, 0, 0);
  if (section) {
    HGDIOBJ replaced = SelectObject(work, section);
    result = ConvertAndScan(work, section, rows, bitmap, palette, source.bmWidth, source.bmHeight,
                            key, tolerance);
    SelectObject(work, replaced);
    DeleteObject(section);
  }
  DeleteDC(work);
  return result;
}

// True when the pixels of `dib` can be read as they are: bytes blue, green, red (and one more).
bool ReadableAsItIs(const DIBSECTION& dib) {
  const WORD bits = dib.dsBm.bmBitsPixel;
  if (!dib.dsBm.bmBits || (bits != 24 && bits != 32) || dib.dsBm.bmWidth <= 0 ||
      dib.dsBm.bmHeight <= 0)
    return false;
  if (dib.dsBmih.biCompression == BI_RGB) return true;
  return bits == 32 && dib.dsBmih.biCompression == BI_BITFIELDS && dib.dsBitfields[0] == 0xFF0000 &&
         dib.dsBitfields[1] == 0xFF00 && dib.dsBitfields[2] == 0xFF;
}

// Whether the picture's pixel (x, y), y counted from the top, is opaque, asked through the drawing
// service: one pixel copied into a 32-bit section of known layout. -1 when the copy fails.
int ProbeOpaque(HBITMAP bitmap, LONG x, LONG y, const zelvo::KeyRange& range) {
  int result = -1;
  HDC source = CreateCompatibleDC(0), target = CreateCompatibleDC(0);
  BITMAPINFO description;
  std::memset(&description, 0, sizeof description);
  description.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  description.bmiHeader.biWidth = 1;
  description.bmiHeader.biHeight = 1;
  description.bmiHeader.biPlanes = 1;
  description.bmiHeader.biBitCount = 32;
  description.bmiHeader.biCompression = BI_RGB;
  void* pixel = nullptr;
  HBITMAP one =
      source && target ? CreateDIBSection(target, &description, DIB_RGB_COLORS, &pixel, 0, 0) : 0;
  if (one && pixel) {
    HGDIOBJ replaced_source = SelectObject(source, bitmap);
    HGDIOBJ replaced_target = SelectObject(target, one);
    // A bitmap selected into another context cannot be selected here: no answer then.
    if (replaced_source && replaced_target && BitBlt(target, 0, 0, 1, 1, source, x, y, SRCCOPY))
      result = range.Transparent(static_cast<const BYTE*>(pixel)) ? 0 : 1;
    if (replaced_target) SelectObject(target, replaced_target);
    if (replaced_source) SelectObject(source, replaced_source);
  }
  if (one) DeleteObject(one);
  if (target) DeleteDC(target);
  if (source) DeleteDC(source);
  return result;
}

// Scans a 24- or 32-bit DIB section where it lies, without copying it. Its memory rows are taken
// as bottom-up, the usual order. The section does not tell its order (the description gives the
// height as positive either way), so where the order matters, at the first pair of rows mirrored
// about the middle whose masks differ, one pixel where they differ is asked for through the drawing
// service; when the answer is the other order the mask rows are turned round. A mask that reads
// the same both ways gives the same region either way.
HRGN ScanInPlace(HBITMAP bitmap, const DIBSECTION& dib, COLORREF key, BYTE tolerance) {
  const int bytes_per_pixel = dib.dsBm.bmBitsPixel / 8;
  const size_t stride = (static_cast<size_t>(dib.dsBm.bmWidthBytes) + 3) & ~size_t{3};
  const LONG width = std::min<LONG>(dib.dsBm.bmWidth, dib.dsBm.bmWidthBytes / bytes_per_pixel);
  const LONG height = dib.dsBm.bmHeight;
  ScanResult scan(width, height);
  if (!scan.ok()) return 0;
  const zelvo::KeyRange range(key, tolerance);
  const BYTE* row = static_cast<const BYTE*>(dib.dsBm.bmBits);
  for (LONG y = height - 1; y >= 0; --y, row += stride)
    scan.row_runs[y] = uint32_t(zelvo::MaskKeyRow(range, row, size_t(width), bytes_per_pixel,
                                                  scan.mask.row(y), scan.mask.words()));

  const size_t words = scan.mask.words();
  for (LONG y = 0; y < height - 1 - y; ++y) {
    const uint64_t *top = scan.mask.row(y), *bottom = scan.mask.row(height - 1 - y);
    size_t w = 0;
    while (w < words && top[w] == bottom[w]) ++w;
    if (w == words) continue;
    const int bit = std::countr_zero(top[w] ^ bottom[w]);
    const int opaque = ProbeOpaque(bitmap, LONG(64 * w) + bit, y, range);
    if (opaque < 0) return 0;
    if (opaque != int((top[w] >> bit) & 1)) {
      // Top-down after all.
      for (LONG a = 0, b = height - 1; a < b; ++a, --b) {
        std::swap_ranges(scan.mask.row(a), scan.mask.row(a) + words, scan.mask.row(b));
        std::swap(scan.row_runs[a], scan.row_runs[b]);
      }
    }
    break;
  }
  return RegionOfRuns(scan.mask, scan.row_runs.get(), height);
}

}  // namespace

namespace zelvo {

HRGN RegionFromBitmap(HBITMAP bitmap, HPALETTE palette, COLORREF key, BYTE tolerance) {
  // A 24- or 32-bit section is read where it lies; every other kind is copied strip by strip.
  DIBSECTION dib;
  std::memset(&dib, 0, sizeof dib);
  const bool section = GetObjectA(bitmap, sizeof dib, &dib) == int(sizeof dib);
  if (!section) GetObjectA(bitmap, sizeof dib.dsBm, &dib.dsBm);
  return section && ReadableAsItIs(dib) ? ScanInPlace(bitmap, dib, key, tolerance)
                                        : CopyAndScan(bitmap, palette, dib.dsBm, key, tolerance);
}

}  // namespace zelvo

HRGN BitmapToRegion(const std::string& BmpName, COLORREF TransColor, BYTE Tolerance) {
  HPALETTE palette = 0;
  HBITMAP bitmap = LoadBmpFromFile(BmpName, palette);
  if (!bitmap) return 0;
  // Checked where the key is split into its channels, so a missing file still just gives 0.
  if (TransColor > 0x7FFFFFFFu)
    zelvo::RangeError("BitmapToRegion colour key", TransColor, 0, 0x7FFFFFFF);
  HRGN result = zelvo::RegionFromBitmap(bitmap, palette, TransColor, Tolerance);
  if (palette) DeleteObject(palette);
  DeleteObject(bitmap);
  return result;
}
