// A window region from a colour-keyed bitmap: one rectangle per horizontal run of opaque pixels,
// gathered in a growing movable memory block and turned into regions in batches that are merged.
#include "zelvo/controls.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Each region-creation request holds at most this many rectangles.
constexpr DWORD kBatch = 2000;
constexpr LONG kMaxLong = 0x7FFFFFFF;

// Collects rectangles in an RGNDATA kept in a movable global block and turns full batches into
// regions merged into `result`. Any failure of the memory or region services marks the whole build
// as failed: a shape with missing runs would hit-test and clip wrongly.
class RunCollector {
 public:
  RunCollector() {
    block_ = GlobalAlloc(GMEM_MOVEABLE, BufferSize());
    if (!block_) return;
    data_ = static_cast<RGNDATA*>(GlobalLock(block_));
    if (!data_) return;
    data_->rdh.dwSize = sizeof(RGNDATAHEADER);
    data_->rdh.iType = RDH_RECTANGLES;
    data_->rdh.nRgnSize = 0;
    StartBatch();
    ok_ = true;
  }

  ~RunCollector() {
    // Freeing a locked block is allowed.
    if (block_) GlobalFree(block_);
    if (result_) DeleteObject(result_);
  }

  RunCollector(const RunCollector&) = delete;
  RunCollector& operator=(const RunCollector&) = delete;

  bool ok() const { return ok_; }

  void Add(LONG left, LONG top, LONG right, LONG bottom) {
    if (!ok_) return;
    if (data_->rdh.nCount >= max_rects_ && !Grow()) return;
    RECT* rects = reinterpret_cast<RECT*>(data_->Buffer);
    SetRect(&rects[data_->rdh.nCount], left, top, right, bottom);
    RECT& bound = data_->rdh.rcBound;
    bound.left = std::min(bound.left, left);
    bound.top = std::min(bound.top, top);
    bound.right = std::max(bound.right, right);
    bound.bottom = std::max(bound.bottom, bottom);
    if (++data_->rdh.nCount == kBatch) {
      Flush();
      StartBatch();
    }
  }

  // Flushes what is pending (an empty batch still makes an empty region, so an all-key bitmap gives
  // an empty region rather than none) and hands the region over; 0 after any failure.
  HRGN Finish() {
    if (!ok_) return 0;
    Flush();
    if (!ok_) return 0;
    HRGN region = result_;
    result_ = 0;
    return region;
  }

 private:
  DWORD BufferSize() const { return sizeof(RGNDATAHEADER) + sizeof(RECT) * max_rects_; }

  void StartBatch() {
    data_->rdh.nCount = 0;
    data_->rdh.rcBound = RECT{kMaxLong, kMaxLong, 0, 0};
  }

  bool Grow() {
    GlobalUnlock(block_);
    data_ = nullptr;
    max_rects_ += ALLOC_UNIT;
    HGLOBAL grown = GlobalReAlloc(block_, BufferSize(), GMEM_MOVEABLE);
    if (grown) block_ = grown;  // on failure the old block stays valid and is freed at the end
    if (grown) data_ = static_cast<RGNDATA*>(GlobalLock(block_));
    if (!data_) ok_ = false;
    return ok_;
  }

  void Flush() {
    HRGN piece = ExtCreateRegion(nullptr, BufferSize(), data_);
    if (!piece) {
      ok_ = false;
      return;
    }
    if (!result_) {
      result_ = piece;
      return;
    }
    if (CombineRgn(result_, result_, piece, RGN_OR) == ERROR) ok_ = false;
    DeleteObject(piece);
  }

  HGLOBAL block_ = 0;
  RGNDATA* data_ = nullptr;
  DWORD max_rects_ = ALLOC_UNIT;
  HRGN result_ = 0;
  bool ok_ = false;
};

// Per-channel transparent range: key .. key + tolerance, clamped at 255.
class KeyRange {
 public:
  KeyRange(COLORREF key, BYTE tolerance) {
    const DWORD red = key & 0xFF, green = (key >> 8) & 0xFF, blue = (key >> 16) & 0xFF;
    // Working-image pixels hold blue in bits 0-7, green in 8-15 and red in 16-23.
    low_ = blue | green << 8 | red << 16;
    span_ = (std::min<DWORD>(blue + tolerance, 255) - blue) |
            (std::min<DWORD>(green + tolerance, 255) - green) << 8 |
            (std::min<DWORD>(red + tolerance, 255) - red) << 16;
#if defined(__SSE2__)
    low4_ = _mm_set1_epi32(int(low_));
    span4_ = _mm_set1_epi32(int(span_ | 0xFF000000u));  // the fourth byte never matters
#endif
  }

  // Unsigned wrap-around turns each "low <= v <= high" into one comparison.
  bool Transparent(DWORD pixel) const {
    return (((pixel >> 16) & 0xFF) - (low_ >> 16) <= (span_ >> 16)) &
           (((pixel >> 8) & 0xFF) - ((low_ >> 8) & 0xFF) <= ((span_ >> 8) & 0xFF)) &
           ((pixel & 0xFF) - (low_ & 0xFF) <= (span_ & 0xFF));
  }

  // The first x from `x` on whose pixel is not `transparent`, or `width`.
  LONG StretchEnd(const DWORD* pixels, LONG x, LONG width, bool transparent) const {
#if defined(__SSE2__)
    // Four pixels at a time: long stretches of key or of shape cost little.
    for (; x + 4 <= width; x += 4) {
      const unsigned clear = Transparent4(pixels + x);
      const unsigned ends = transparent ? ~clear & 0xF : clear;
      if (ends) return x + __builtin_ctz(ends);
    }
#endif
    while (x < width && Transparent(pixels[x]) == transparent) ++x;
    return x;
  }

 private:
#if defined(__SSE2__)
  // Bit i set when pixel i of the four is transparent: every byte b satisfies b - low <= span
  // (mod 256), tested as min(b - low, span) == b - low.
  unsigned Transparent4(const DWORD* p) const {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i d = _mm_sub_epi8(v, low4_);
    const __m128i in = _mm_cmpeq_epi8(_mm_min_epu8(d, span4_), d);
    const __m128i all = _mm_cmpeq_epi32(in, _mm_set1_epi32(-1));
    return unsigned(_mm_movemask_ps(_mm_castsi128_ps(all)));
  }
  __m128i low4_, span4_;
#endif
  DWORD low_, span_;
};

// The working image is converted and scanned a strip of rows at a time, each strip while it is
// still in the cache: the scan then costs little more than reading the source once, whatever the
// size.
constexpr LONG kStripBytes = 256 * 1024;

LONG StripRows(LONG width, LONG height) {
  const int64_t row_bytes = std::max<int64_t>(int64_t{width} * 4, 1);  // width * 4 overflows LONG
  return static_cast<LONG>(
      std::clamp<int64_t>(kStripBytes / row_bytes, 1, std::max<LONG>(height, 1)));
}

// Converts the source bitmap, whatever its depth, into the 32-bit pixels of the working image (a
// strip `rows` high, selected into `work`) and collects its opaque runs, top row of the picture
// first, so that y = 0 is the top row as in window coordinates.
HRGN ConvertAndScan(HDC work, HBITMAP section, LONG rows, HBITMAP bitmap, HPALETTE palette,
                    LONG width, LONG height, COLORREF key, BYTE tolerance) {
  BITMAP strip;
  std::memset(&strip, 0, sizeof strip);
  if (!GetObjectA(section, sizeof strip, &strip) || !strip.bmBits || strip.bmHeight != rows)
    return 0;
  const size_t stride = (static_cast<size_t>(strip.bmWidthBytes) + 3) & ~size_t{3};
  width = std::min<LONG>(width, strip.bmWidthBytes / 4);

  HDC source = CreateCompatibleDC(0);
  if (!source) return 0;
  HGDIOBJ replaced = SelectObject(source, bitmap);
  HPALETTE previous = palette ? SelectPalette(source, palette, TRUE) : 0;
  if (palette) RealizePalette(source);

  RunCollector runs;
  const KeyRange range(key, tolerance);
  bool copied = true;
  for (LONG top = 0; top < height && runs.ok() && copied; top += rows) {
    const LONG count = std::min(rows, height - top);
    copied = BitBlt(work, 0, 0, width, count, source, 0, top, SRCCOPY) != FALSE;
    // The strip is bottom-up: its top row is the last one in memory.
    const BYTE* row = static_cast<const BYTE*>(strip.bmBits) + (rows - 1) * stride;
    for (LONG y = top; y < top + count; ++y, row -= stride) {
      const DWORD* pixels = reinterpret_cast<const DWORD*>(row);
      // Each maximal run of opaque pixels becomes one rectangle (x0, y, x, y + 1).
      LONG x = 0;
      while (x < width) {
        x = range.StretchEnd(pixels, x, width, true);
        const LONG x0 = x;
        x = range.StretchEnd(pixels, x, width, false);
        if (x > x0) runs.Add(x0, y, x, y + 1);
      }
    }
  }

  if (palette) SelectPalette(source, previous, FALSE);
  SelectObject(source, replaced);
  DeleteDC(source);
  return copied ? runs.Finish() : 0;
}

}  // namespace

HRGN BitmapToRegion(const std::string& BmpName, COLORREF TransColor, BYTE Tolerance) {
  HPALETTE palette = 0;
  HBITMAP bitmap = LoadBmpFromFile(BmpName, palette);
  if (!bitmap) return 0;
  // Checked where the key is split into its channels, so a missing file still just gives 0.
  if (TransColor > 0x7FFFFFFFu)
    zelvo::RangeError("BitmapToRegion colour key", TransColor, 0, 0x7FFFFFFF);

  HRGN result = 0;
  HDC work = CreateCompatibleDC(0);
  if (work) {
    BITMAP source;
    std::memset(&source, 0, sizeof source);
    GetObjectA(bitmap, sizeof source, &source);

    BITMAPINFO description;
    std::memset(&description, 0, sizeof description);
    BITMAPINFOHEADER& header = description.bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = source.bmWidth;
    const LONG rows = StripRows(source.bmWidth, source.bmHeight);
    header.biHeight = rows;  // positive: rows run bottom-up
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP section = CreateDIBSection(work, &description, DIB_RGB_COLORS, &pixels, 0, 0);
    if (section) {
      HGDIOBJ replaced = SelectObject(work, section);
      result = ConvertAndScan(work, section, rows, bitmap, palette, source.bmWidth, source.bmHeight,
                              TransColor, Tolerance);
      SelectObject(work, replaced);
      DeleteObject(section);
    }
    DeleteDC(work);
  }
  if (palette) DeleteObject(palette);
  DeleteObject(bitmap);
  return result;
}
