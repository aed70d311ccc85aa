// The BMP file reader. Every offset and size read from the file is checked against the bytes that
// are really there before use, in 64-bit arithmetic, so a hostile file is refused rather than read
// past its end. Pixels are always stored bottom-up: top-down files are flipped, so every consumer
// that assumes the usual BMP row order is right.
#include "bmp_decode.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "common/large_memory.h"

namespace plat {
namespace {

uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t u32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t i32(const uint8_t* p) { return static_cast<int32_t>(u32(p)); }

constexpr size_t kFileHeader = 14;

bool valid_depth(int bpp) {
  return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

void default_masks(int bpp, uint32_t masks[3]) {
  if (bpp == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  } else if (bpp == 32) {
    masks[0] = 0xFF0000;
    masks[1] = 0x00FF00;
    masks[2] = 0x0000FF;
  } else {
    masks[0] = masks[1] = masks[2] = 0;
  }
}

// RLE streams: counted runs, end-of-line, end-of-bitmap, delta and literal runs padded to 16 bits.
// Encoders commonly encode a row's padding too, so pixels past the right edge but within the padded
// row are dropped; anything beyond that, or below the last row, refuses the file.
// `starved` tells a stream that ended too early from one that is malformed.
bool decode_rle(const uint8_t* d, size_t len, Bitmap& out, bool four_bit, bool& starved) {
  const int w = out.width;
  const int h = out.height;
  const int room = static_cast<int>(std::min<size_t>(out.stride * (four_bit ? 2 : 1), INT32_MAX));
  int x = 0;
  int y = 0;
  size_t i = 0;
  auto put4 = [](uint8_t* row, int px, unsigned value) {
    uint8_t& b = row[px >> 1];
    b = (px & 1) ? static_cast<uint8_t>((b & 0xF0) | (value & 0x0F))
                 : static_cast<uint8_t>((b & 0x0F) | (value << 4));
  };
  for (;;) {
    if (len - i < 2) {
      starved = y < h;
      return y >= h;  // a stream that ends after its last row is complete enough
    }
    const unsigned count = d[i];
    const unsigned value = d[i + 1];
    i += 2;
    if (count > 0) {
      if (y >= h || static_cast<unsigned>(room - x) < count) return false;
      uint8_t* row = out.bits() + out.stride * static_cast<size_t>(y);
      const int visible = std::clamp(w - x, 0, static_cast<int>(count));
      if (four_bit) {
        const unsigned hi = value >> 4, lo = value & 0x0F;
        for (int k = 0; k < visible; ++k) put4(row, x + k, (k & 1) ? lo : hi);
      } else {
        std::memset(row + x, static_cast<int>(value), static_cast<size_t>(visible));
      }
      x += static_cast<int>(count);
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        if (++y > h) return false;
        break;
      case 1:  // end of bitmap
        return true;
      case 2: {  // delta
        if (len - i < 2) {
          starved = true;
          return false;
        }
        x += d[i];
        y += d[i + 1];
        i += 2;
        if (x > room || y > h) return false;
        break;
      }
      default: {  // literal run of `value` pixels
        const unsigned n = value;
        const size_t bytes = four_bit ? (n + 1) / 2 : n;
        if (len - i < bytes) {
          starved = true;
          return false;
        }
        if (y >= h || static_cast<unsigned>(room - x) < n) return false;
        uint8_t* row = out.bits() + out.stride * static_cast<size_t>(y);
        const int visible = std::clamp(w - x, 0, static_cast<int>(n));
        if (four_bit) {
          for (int k = 0; k < visible; ++k) {
            const uint8_t b = d[i + static_cast<size_t>(k) / 2];
            put4(row, x + k, (k & 1) ? (b & 0x0F) : (b >> 4));
          }
        } else {
          std::memcpy(row + x, d + i, static_cast<size_t>(visible));
        }
        x += static_cast<int>(n);
        i += bytes + (bytes & 1);
        if (i > len) i = len;
        break;
      }
    }
  }
}

}  // namespace

bool valid_masks(const uint32_t masks[3], int bpp) {
  uint32_t seen = 0;
  for (int i = 0; i < 3; ++i) {
    uint32_t m = masks[i];
    if (bpp == 16 && (m >> 16) != 0) return false;
    if (m & seen) return false;
    seen |= m;
    if (m == 0) continue;
    uint32_t low = m & (~m + 1);             // lowest set bit
    if (((m + low) & m) != 0) return false;  // not contiguous
  }
  return true;
}

size_t dib_stride(int width, int bits_per_pixel) {
  if (width <= 0 || bits_per_pixel <= 0) return 0;
  const uint64_t bits = static_cast<uint64_t>(width) * static_cast<uint64_t>(bits_per_pixel);
  const uint64_t stride = ((bits + 31) / 32) * 4;
  return stride > kMaxBitmapBytes ? 0 : static_cast<size_t>(stride);
}

std::unique_ptr<Bitmap> make_bitmap(int width, int height, int bits_per_pixel, bool zero) {
  if (width <= 0 || height <= 0 || !valid_depth(bits_per_pixel)) return nullptr;
  const size_t stride = dib_stride(width, bits_per_pixel);
  if (stride == 0) return nullptr;
  const uint64_t bytes = static_cast<uint64_t>(stride) * static_cast<uint64_t>(height);
  if (bytes > kMaxBitmapBytes) return nullptr;
  auto bitmap = std::make_unique<Bitmap>();
  bitmap->width = width;
  bitmap->height = height;
  bitmap->bits_per_pixel = bits_per_pixel;
  bitmap->stride = stride;
  default_masks(bits_per_pixel, bitmap->masks);
  const size_t n = static_cast<size_t>(bytes);
  bitmap->pixels.reset(static_cast<uint8_t*>(common::allocate_large(n)));
  if (!bitmap->pixels) return nullptr;
  if (zero) std::memset(bitmap->bits(), 0, n);
  return bitmap;
}

bool bmp_parse_headers(const uint8_t* data, size_t size, uint64_t file_size, BmpLayout& out) {
  out = BmpLayout{};
  if (size > file_size) size = static_cast<size_t>(file_size);
  if (size < kFileHeader + 4 || u16(data) != 0x4D42) return false;
  const uint64_t offset = u32(data + 10);
  const uint32_t header_size = u32(data + 14);
  const uint8_t* h = data + kFileHeader;

  int32_t width, height;
  unsigned planes, bpp;
  uint32_t compression = 0;
  uint32_t size_image = 0;
  uint32_t colors_used = 0;
  size_t entry_size = 4;
  uint64_t table_start = kFileHeader + header_size;

  if (header_size == 12) {  // OS/2 core header: 16-bit sizes, RGBTRIPLE colour table
    if (size < kFileHeader + 12) return false;
    width = u16(h + 4);
    height = u16(h + 6);
    planes = u16(h + 8);
    bpp = u16(h + 10);
    entry_size = 3;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24) return false;
  } else if (header_size == 40 || header_size == 52 || header_size == 56 || header_size == 64 ||
             header_size == 108 || header_size == 124) {
    if (size < kFileHeader + 40) return false;
    width = i32(h + 4);
    height = i32(h + 8);
    planes = u16(h + 12);
    bpp = u16(h + 14);
    compression = u32(h + 16);
    size_image = u32(h + 20);
    colors_used = u32(h + 32);
    // The 64-byte OS/2 header gives compression 3 and 4 other meanings (Huffman, RLE24).
    if (header_size == 64 && compression > BI_RLE4) return false;
    if (compression == BI_BITFIELDS) {
      const uint8_t* masks;
      if (header_size == 40) {
        table_start += 12;
        if (size < table_start) return false;
        masks = h + 40;
      } else {
        if (size < kFileHeader + 52) return false;
        masks = h + 40;
      }
      out.masks[0] = u32(masks);
      out.masks[1] = u32(masks + 4);
      out.masks[2] = u32(masks + 8);
      out.bitfields = true;
    }
  } else {
    return false;
  }

  if (planes != 1 || !valid_depth(static_cast<int>(bpp))) return false;
  if (width <= 0 || height == 0 || height == INT32_MIN) return false;
  const bool top_down = height < 0;
  if (top_down) height = -height;
  switch (compression) {
    case BI_RGB:
      break;
    case BI_RLE8:
      if (bpp != 8 || top_down) return false;
      break;
    case BI_RLE4:
      if (bpp != 4 || top_down) return false;
      break;
    case BI_BITFIELDS:
      if (bpp != 16 && bpp != 32) return false;
      if (!valid_masks(out.masks, static_cast<int>(bpp))) return false;
      break;
    default:
      return false;
  }
  if (!out.bitfields) default_masks(static_cast<int>(bpp), out.masks);

  const size_t stride = dib_stride(width, static_cast<int>(bpp));
  if (stride == 0) return false;
  if (static_cast<uint64_t>(stride) * static_cast<uint64_t>(height) > kMaxBitmapBytes) return false;

  // The pixel array may not overlap the headers; a colour table that runs into it is cut short.
  if (offset < table_start || offset > file_size) return false;
  if (bpp <= 8) {
    uint64_t count = colors_used == 0 ? (1u << bpp) : std::min<uint64_t>(colors_used, 1u << bpp);
    count = std::min<uint64_t>(count, (offset - table_start) / entry_size);
    if (table_start + count * entry_size > size) return false;
    out.colors.resize(static_cast<size_t>(count));
    const uint8_t* t = data + table_start;
    for (size_t i = 0; i < out.colors.size(); ++i, t += entry_size)
      out.colors[i] = RGBQUAD{t[0], t[1], t[2], 0};
  }

  out.width = width;
  out.height = height;
  out.top_down = top_down;
  out.bits_per_pixel = static_cast<int>(bpp);
  out.compression = compression;
  out.pixel_offset = offset;
  out.file_size = file_size;
  out.stride = stride;
  const uint64_t available = file_size - offset;
  out.rle_size = (size_image != 0 && size_image < available) ? size_image : available;
  return true;
}

uint64_t bmp_min_pixel_bytes(const BmpLayout& layout) {
  const uint64_t row_bytes =
      (static_cast<uint64_t>(layout.width) * static_cast<uint64_t>(layout.bits_per_pixel) + 7) / 8;
  return static_cast<uint64_t>(layout.stride) * static_cast<uint64_t>(layout.height - 1) +
         row_bytes;
}

namespace {

std::unique_ptr<Bitmap> decode_pixels(const BmpLayout& layout, const uint8_t* pixels,
                                      size_t available, bool& starved) {
  const bool rle = layout.compression == BI_RLE8 || layout.compression == BI_RLE4;
  if (!rle && available < bmp_min_pixel_bytes(layout)) return nullptr;
  auto bitmap = make_bitmap(layout.width, layout.height, layout.bits_per_pixel, rle);
  if (!bitmap) return nullptr;
  bitmap->colors = layout.colors;
  bitmap->bitfields = layout.bitfields;
  std::copy(layout.masks, layout.masks + 3, bitmap->masks);

  if (rle) {
    const size_t len = static_cast<size_t>(std::min<uint64_t>(layout.rle_size, available));
    if (!decode_rle(pixels, len, *bitmap, layout.compression == BI_RLE4, starved)) return nullptr;
    return bitmap;
  }
  const size_t stride = bitmap->stride;
  const size_t total = bitmap->image_size();
  if (!layout.top_down && available >= total) {
    std::memcpy(bitmap->bits(), pixels, total);
    return bitmap;
  }
  // Row by row: flips top-down files and zero-fills the padding a short last row leaves out.
  for (int y = 0; y < layout.height; ++y) {
    const size_t from = stride * static_cast<size_t>(y);
    const size_t n = std::min(stride, available - from);
    uint8_t* to =
        bitmap->bits() + stride * static_cast<size_t>(layout.top_down ? layout.height - 1 - y : y);
    std::memcpy(to, pixels + from, n);
    if (n < stride) std::memset(to + n, 0, stride - n);
  }
  return bitmap;
}

}  // namespace

std::unique_ptr<Bitmap> bmp_decode_pixels(const BmpLayout& layout, const uint8_t* pixels,
                                          size_t available, bool* starved) {
  bool ended_early = false;
  auto bitmap = decode_pixels(layout, pixels, available, ended_early);
  if (starved) *starved = !bitmap && ended_early;
  return bitmap;
}

std::unique_ptr<Bitmap> bmp_decode(const uint8_t* data, size_t size) {
  BmpLayout layout;
  if (!bmp_parse_headers(data, size, size, layout)) return nullptr;
  return bmp_decode_pixels(layout, data + layout.pixel_offset,
                           static_cast<size_t>(size - layout.pixel_offset));
}

}  // namespace plat
