#include "cursor_file.h"

#include <algorithm>
#include <cstdlib>

namespace plat {
namespace {

constexpr int kMaxSide = 256;
constexpr int kMaxTries = 8;  // entries decoded before giving up on a file of broken images

uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t u32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
int32_t i32(const uint8_t* p) { return static_cast<int32_t>(u32(p)); }

struct Entry {
  size_t offset;
  size_t length;
  int hot_x, hot_y;         // as stored (cursor files only)
  int width, height, bits;  // from the image's own header, for ranking
};

// The image of one entry, or nullopt. `image` spans exactly the entry's bytes.
std::optional<CursorImage> decode_bmp(const uint8_t* image, size_t size) {
  if (size < 40) return std::nullopt;
  uint32_t header_size = u32(image);
  int32_t width = i32(image + 4);
  int32_t double_height = i32(image + 8);
  uint16_t planes = u16(image + 12);
  uint16_t bits = u16(image + 14);
  uint32_t compression = u32(image + 16);
  uint32_t colours_used = u32(image + 32);
  if (header_size < 40 || header_size > size) return std::nullopt;
  if (width < 1 || width > kMaxSide || double_height < 2 || double_height % 2 != 0 ||
      double_height / 2 > kMaxSide)
    return std::nullopt;
  if (planes != 1 || compression != 0) return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
  int height = double_height / 2;

  size_t palette_count = 0;
  if (bits <= 8) {
    size_t full = size_t{1} << bits;
    if (colours_used > full) return std::nullopt;
    palette_count = colours_used ? colours_used : full;
  }
  size_t palette_at = header_size;
  size_t xor_at = palette_at + palette_count * 4;
  size_t xor_stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  size_t and_stride = (static_cast<size_t>(width) + 31) / 32 * 4;
  size_t and_at = xor_at + xor_stride * height;
  bool has_and = and_at + and_stride * height <= size;
  if (and_at > size) return std::nullopt;
  if (!has_and && bits != 32) return std::nullopt;

  CursorImage out;
  out.width = width;
  out.height = height;
  out.argb.assign(static_cast<size_t>(width) * height, 0);
  bool any_alpha = false;
  for (int y = 0; y < height; ++y) {
    // Rows are stored bottom-up.
    const uint8_t* row = image + xor_at + xor_stride * (height - 1 - y);
    for (int x = 0; x < width; ++x) {
      uint32_t pixel = 0;
      if (bits == 32) {
        const uint8_t* p = row + x * 4;
        pixel = u32(p);  // B, G, R, A in memory
        any_alpha |= p[3] != 0;
      } else if (bits == 24) {
        const uint8_t* p = row + x * 3;
        pixel = 0xFF000000u | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 |
                p[0];
      } else {
        size_t bit = static_cast<size_t>(x) * bits;
        unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        // An index past a short colour table is black rather than a read outside it.
        if (index < palette_count) {
          const uint8_t* c = image + palette_at + index * 4;
          pixel = 0xFF000000u | static_cast<uint32_t>(c[2]) << 16 |
                  static_cast<uint32_t>(c[1]) << 8 | c[0];
        } else {
          pixel = 0xFF000000u;
        }
      }
      out.argb[static_cast<size_t>(y) * width + x] = pixel;
    }
  }
  // Where the image has no alpha of its own, the AND mask says what is transparent. A masked pixel
  // with a non-black colour inverts the screen on the real platform; an ARGB cursor cannot, so it
  // is drawn opaque black, which keeps such cursors (the I-beam kind) visible on light backgrounds.
  if (bits != 32 || !any_alpha) {
    if (!has_and) return std::nullopt;
    for (int y = 0; y < height; ++y) {
      const uint8_t* row = image + and_at + and_stride * (height - 1 - y);
      for (int x = 0; x < width; ++x) {
        bool masked = (row[x / 8] >> (7 - x % 8)) & 1;
        uint32_t& p = out.argb[static_cast<size_t>(y) * width + x];
        if (!masked)
          p |= 0xFF000000u;
        else
          p = (p & 0xFFFFFF) ? 0xFF000000u : 0;
      }
    }
  }
  return out;
}

}  // namespace

std::optional<CursorImage> parse_cursor_file(const uint8_t* data, size_t size) {
  if (!data || size < 6) return std::nullopt;
  uint16_t reserved = u16(data), type = u16(data + 2), count = u16(data + 4);
  if (reserved != 0 || (type != 1 && type != 2) || count == 0) return std::nullopt;
  if (6 + static_cast<size_t>(count) * 16 > size) return std::nullopt;

  std::vector<Entry> entries;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = data + 6 + i * 16;
    size_t length = u32(e + 8), offset = u32(e + 12);
    if (offset > size || length > size - offset || length < 40) continue;
    const uint8_t* image = data + offset;
    if (image[0] == 0x89 && image[1] == 'P' && image[2] == 'N' && image[3] == 'G') continue;
    entries.push_back({offset, length, u16(e + 4), u16(e + 6), i32(image + 4), i32(image + 8) / 2,
                       u16(image + 14)});
  }
  // Closest to 32 x 32 first, then the deepest colours, then directory order.
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    long da =
        std::labs(static_cast<long>(a.width) - 32) + std::labs(static_cast<long>(a.height) - 32);
    long db =
        std::labs(static_cast<long>(b.width) - 32) + std::labs(static_cast<long>(b.height) - 32);
    if (da != db) return da < db;
    return a.bits > b.bits;
  });
  int tries = 0;
  for (const Entry& entry : entries) {
    if (++tries > kMaxTries) break;
    std::optional<CursorImage> image = decode_bmp(data + entry.offset, entry.length);
    if (!image) continue;
    if (type == 2) {
      image->hot_x = std::clamp(entry.hot_x, 0, image->width - 1);
      image->hot_y = std::clamp(entry.hot_y, 0, image->height - 1);
    } else {
      image->hot_x = image->width / 2;
      image->hot_y = image->height / 2;
    }
    return image;
  }
  return std::nullopt;
}

}  // namespace plat
