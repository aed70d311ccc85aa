// LoadImageA for BMP files. The common case, an uncompressed bottom-up file, is read straight from
// the file into the bitmap's pixels in one read; otherwise only the bytes the headers describe are
// read, then decoded.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "bmp_decode.h"
#include "error_codes.h"
#include "regular_file.h"

namespace plat {
namespace {

constexpr int kColorWindow = 5;

// A run-length stream is read a piece at a time, growing, until it decodes or is refused for a
// reason other than its end: the bytes after the end-of-bitmap mark are never read.
constexpr size_t kFirstRlePiece = 64 * 1024;

std::unique_ptr<Bitmap> load_bmp_file(const char* name) {
  RegularFile file(name);
  if (!file.ok()) return nullptr;
  const uint64_t file_size = file.size();

  std::vector<uint8_t> head;
  if (!file.read_up_to(head, kBmpHeaderBytes, 0)) return nullptr;
  BmpLayout layout;
  if (!bmp_parse_headers(head.data(), head.size(), file_size, layout)) {
    SetLastError(kErrorInvalidData);
    return nullptr;
  }
  if (static_cast<uint64_t>(layout.width) * static_cast<uint64_t>(layout.height) >
      kMaxLoadedPixels) {
    SetLastError(kErrorNotEnoughMemory);
    return nullptr;
  }

  const uint64_t available = file_size - layout.pixel_offset;
  const bool rle = layout.compression == BI_RLE8 || layout.compression == BI_RLE4;
  const uint64_t image =
      static_cast<uint64_t>(layout.stride) * static_cast<uint64_t>(layout.height);
  if (!rle && !layout.top_down && available >= image) {
    auto bitmap = make_bitmap(layout.width, layout.height, layout.bits_per_pixel, false);
    if (!bitmap) {
      SetLastError(kErrorNotEnoughMemory);
      return nullptr;
    }
    bitmap->colors = layout.colors;
    bitmap->bitfields = layout.bitfields;
    std::copy(layout.masks, layout.masks + 3, bitmap->masks);
    if (!file.read_at(bitmap->bits(), static_cast<size_t>(image), layout.pixel_offset))
      return nullptr;
    return bitmap;
  }
  // Only the bytes the headers describe: a small picture at the start of a huge file reads little.
  const uint64_t needed = std::min(rle ? layout.rle_size : image, available);
  std::vector<uint8_t> pixels;
  for (uint64_t piece = rle ? std::min<uint64_t>(kFirstRlePiece, needed) : needed;;
       piece = std::min(needed, piece * 4)) {
    if (!file.read_up_to(pixels, static_cast<size_t>(piece), layout.pixel_offset)) return nullptr;
    bool starved = false;
    auto bitmap = bmp_decode_pixels(layout, pixels.data(), pixels.size(), &starved);
    if (bitmap) return bitmap;
    if (!starved || piece >= needed) break;
  }
  SetLastError(kErrorInvalidData);
  return nullptr;
}

// The colour-table entry of the first pixel in memory takes the window colour.
void make_transparent(Bitmap& bitmap) {
  if (bitmap.colors.empty()) return;
  const uint8_t first = bitmap.bits()[0];
  size_t index = bitmap.bits_per_pixel == 8   ? first
                 : bitmap.bits_per_pixel == 4 ? first >> 4
                                              : first >> 7;
  if (index >= bitmap.colors.size()) return;
  const COLORREF window = GetSysColor(kColorWindow);
  bitmap.colors[index] = RGBQUAD{GetBValue(window), GetGValue(window), GetRValue(window), 0};
}

// Nearest-neighbour resampling to the size asked for, keeping the pixel format.
std::unique_ptr<Bitmap> resize(const Bitmap& source, int width, int height) {
  auto out = make_bitmap(width, height, source.bits_per_pixel, true);
  if (!out) return nullptr;
  out->colors = source.colors;
  out->bitfields = source.bitfields;
  std::copy(source.masks, source.masks + 3, out->masks);
  const int bpp = source.bits_per_pixel;
  for (int y = 0; y < height; ++y) {
    const uint8_t* from =
        source.row(static_cast<int>(static_cast<int64_t>(y) * source.height / height));
    uint8_t* to = out->row(y);
    for (int x = 0; x < width; ++x) {
      const int sx = static_cast<int>(static_cast<int64_t>(x) * source.width / width);
      if (bpp >= 8) {
        const int n = bpp / 8;
        std::memcpy(to + static_cast<size_t>(x) * n, from + static_cast<size_t>(sx) * n, n);
      } else {
        const int per_byte = 8 / bpp;
        const int mask = (1 << bpp) - 1;
        const int shift_from = (per_byte - 1 - sx % per_byte) * bpp;
        const int shift_to = (per_byte - 1 - x % per_byte) * bpp;
        const int value = (from[sx / per_byte] >> shift_from) & mask;
        to[x / per_byte] = static_cast<uint8_t>(to[x / per_byte] | (value << shift_to));
      }
    }
  }
  return out;
}

}  // namespace
}  // namespace plat

// Files are always DIB sections of their own depth (with or without LR_CREATEDIBSECTION), so their
// pixels stay readable through GetObjectA. Cursors and icons come from LoadCursorFromFileA.
HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  if (type != IMAGE_BITMAP || !(flags & LR_LOADFROMFILE) || !name || IS_INTRESOURCE(name)) return 0;
  if (cx < 0 || cy < 0) return 0;
  try {
    auto bitmap = plat::load_bmp_file(name);
    if (!bitmap) return 0;
    if ((cx != 0 && cx != bitmap->width) || (cy != 0 && cy != bitmap->height)) {
      if (static_cast<uint64_t>(cx != 0 ? cx : bitmap->width) *
              static_cast<uint64_t>(cy != 0 ? cy : bitmap->height) >
          plat::kMaxLoadedPixels) {
        SetLastError(plat::kErrorNotEnoughMemory);
        return 0;
      }
      bitmap = plat::resize(*bitmap, cx != 0 ? cx : bitmap->width, cy != 0 ? cy : bitmap->height);
      if (!bitmap) {
        SetLastError(plat::kErrorNotEnoughMemory);
        return 0;
      }
    }
    if (flags & LR_LOADTRANSPARENT) plat::make_transparent(*bitmap);
    return plat::handle_insert(std::move(bitmap));
  } catch (const std::bad_alloc&) {
    // A Windows call reports a failed allocation; it never throws into its caller.
    SetLastError(plat::kErrorNotEnoughMemory);
    return 0;
  }
}
