// Pixel format conversion for BitBlt. Every format goes through 0x00RRGGBB: a reader turns one row
// of the source into it, a writer turns it into the destination's format. Both pick their loop once
// per row, so the per-pixel work is a table look-up or a few shifts.
#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <vector>

#include "gdi_internal.h"

namespace plat {
namespace {

// One colour channel of a 16- or 32-bit pixel: where its bits are and how they widen to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  uint8_t widen[256] = {};  // for bits <= 8: value -> 8-bit value by bit replication

  // The width counts from the lowest to the highest mask bit, so that even a mask with holes never
  // indexes past the table.
  explicit Channel(uint32_t m) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    bits = 32 - std::countl_zero(m) - shift;
    if (bits > 8) return;
    for (uint32_t v = 0; v < (1u << bits); ++v) {
      uint32_t out = 0;
      int filled = 0;
      while (filled < 8) {
        out = (out << bits) | v;
        filled += bits;
      }
      widen[v] = static_cast<uint8_t>(out >> (filled - 8));
    }
  }
  uint32_t get(uint32_t pixel) const {
    if (bits == 0) return 0;
    const uint32_t v = (pixel & mask) >> shift;
    return bits <= 8 ? widen[v] : v >> (bits - 8);
  }
  uint32_t put(uint32_t value8) const {
    if (bits == 0) return 0;
    const uint32_t v = bits <= 8 ? value8 >> (8 - bits) : value8 << (bits - 8);
    return (v << shift) & mask;
  }
};

bool plain32(const Bitmap& b) {
  return b.masks[0] == 0xFF0000 && b.masks[1] == 0x00FF00 && b.masks[2] == 0x0000FF;
}

uint32_t quad_to_rgb(const RGBQUAD& q) {
  return (uint32_t{q.rgbRed} << 16) | (uint32_t{q.rgbGreen} << 8) | q.rgbBlue;
}

class RowReader {
 public:
  explicit RowReader(const Bitmap& b)
      : b_(b), red_(b.masks[0]), green_(b.masks[1]), blue_(b.masks[2]), plain_(plain32(b)) {
    for (size_t i = 0; i < b.colors.size() && i < 256; ++i) lut_[i] = quad_to_rgb(b.colors[i]);
  }

  void read(int sx, int y, int width, uint32_t* out) const {
    const uint8_t* row = b_.row(y);
    switch (b_.bits_per_pixel) {
      case 1:
        for (int i = 0; i < width; ++i) {
          const int x = sx + i;
          out[i] = lut_[(row[x >> 3] >> (7 - (x & 7))) & 1];
        }
        break;
      case 4:
        for (int i = 0; i < width; ++i) {
          const int x = sx + i;
          out[i] = lut_[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
        }
        break;
      case 8:
        for (int i = 0; i < width; ++i) out[i] = lut_[row[sx + i]];
        break;
      case 16:
        for (int i = 0; i < width; ++i) {
          const uint8_t* p = row + 2 * static_cast<size_t>(sx + i);
          const uint32_t v = p[0] | (uint32_t{p[1]} << 8);
          out[i] = (red_.get(v) << 16) | (green_.get(v) << 8) | blue_.get(v);
        }
        break;
      case 24:
        for (int i = 0; i < width; ++i) {
          const uint8_t* p = row + 3 * static_cast<size_t>(sx + i);
          out[i] = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
        }
        break;
      case 32:
        for (int i = 0; i < width; ++i) {
          uint32_t v;
          std::memcpy(&v, row + 4 * static_cast<size_t>(sx + i), 4);
          out[i] =
              plain_ ? (v & 0xFFFFFF) : (red_.get(v) << 16) | (green_.get(v) << 8) | blue_.get(v);
        }
        break;
    }
  }

 private:
  const Bitmap& b_;
  uint32_t lut_[256] = {};  // palette formats: index -> colour; indices past the table are black
  Channel red_, green_, blue_;
  bool plain_;
};

class RowWriter {
 public:
  explicit RowWriter(Bitmap& b)
      : b_(b), red_(b.masks[0]), green_(b.masks[1]), blue_(b.masks[2]), plain_(plain32(b)) {}

  void write(const uint32_t* in, int dx, int y, int width) {
    uint8_t* row = b_.row(y);
    switch (b_.bits_per_pixel) {
      case 1:
        for (int i = 0; i < width; ++i) {
          const int x = dx + i;
          const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
          if (nearest(in[i]))
            row[x >> 3] |= bit;
          else
            row[x >> 3] &= static_cast<uint8_t>(~bit);
        }
        break;
      case 4:
        for (int i = 0; i < width; ++i) {
          const int x = dx + i;
          uint8_t& byte = row[x >> 1];
          const uint8_t index = nearest(in[i]);
          byte = (x & 1) ? static_cast<uint8_t>((byte & 0xF0) | index)
                         : static_cast<uint8_t>((byte & 0x0F) | (index << 4));
        }
        break;
      case 8:
        for (int i = 0; i < width; ++i) row[dx + i] = nearest(in[i]);
        break;
      case 16:
        for (int i = 0; i < width; ++i) {
          const uint32_t v = compose(in[i]);
          uint8_t* p = row + 2 * static_cast<size_t>(dx + i);
          p[0] = static_cast<uint8_t>(v);
          p[1] = static_cast<uint8_t>(v >> 8);
        }
        break;
      case 24:
        for (int i = 0; i < width; ++i) {
          uint8_t* p = row + 3 * static_cast<size_t>(dx + i);
          p[0] = static_cast<uint8_t>(in[i]);
          p[1] = static_cast<uint8_t>(in[i] >> 8);
          p[2] = static_cast<uint8_t>(in[i] >> 16);
        }
        break;
      case 32:
        if (plain_) {
          std::memcpy(row + 4 * static_cast<size_t>(dx), in, 4 * static_cast<size_t>(width));
        } else {
          for (int i = 0; i < width; ++i) {
            const uint32_t v = compose(in[i]);
            std::memcpy(row + 4 * static_cast<size_t>(dx + i), &v, 4);
          }
        }
        break;
    }
  }

 private:
  uint32_t compose(uint32_t rgb) const {
    return red_.put((rgb >> 16) & 0xFF) | green_.put((rgb >> 8) & 0xFF) | blue_.put(rgb & 0xFF);
  }

  // The closest colour of the destination's table (squared distance), remembered per colour.
  uint8_t nearest(uint32_t rgb) {
    Cached& c = cache_[(rgb ^ (rgb >> 11) ^ (rgb >> 19)) & (kCache - 1)];
    if (c.valid && c.rgb == rgb) return c.index;
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    int best = 0;
    int best_distance = INT32_MAX;
    const size_t limit = std::min<size_t>(b_.colors.size(), size_t{1} << b_.bits_per_pixel);
    for (size_t i = 0; i < limit; ++i) {
      const RGBQUAD& q = b_.colors[i];
      const int dr = r - q.rgbRed, dg = g - q.rgbGreen, db = b - q.rgbBlue;
      const int distance = dr * dr + dg * dg + db * db;
      if (distance < best_distance) {
        best_distance = distance;
        best = static_cast<int>(i);
        if (distance == 0) break;
      }
    }
    c = Cached{rgb, static_cast<uint8_t>(best), true};
    return c.index;
  }

  struct Cached {
    uint32_t rgb = 0;
    uint8_t index = 0;
    bool valid = false;
  };
  static constexpr size_t kCache = 1024;

  Bitmap& b_;
  Channel red_, green_, blue_;
  bool plain_;
  std::vector<Cached> cache_ = std::vector<Cached>(kCache);
};

bool same_format(const Bitmap& a, const Bitmap& b) {
  if (a.bits_per_pixel != b.bits_per_pixel || a.bits_per_pixel < 8) return false;
  if (std::memcmp(a.masks, b.masks, sizeof a.masks) != 0) return false;
  if (a.bits_per_pixel > 8) return true;
  return a.colors.size() == b.colors.size() &&
         std::memcmp(a.colors.data(), b.colors.data(), a.colors.size() * sizeof(RGBQUAD)) == 0;
}

}  // namespace

void convert_pixels(const Bitmap& source, int sx, int sy, Bitmap& dest, int dx, int dy, int width,
                    int height) {
  if (width <= 0 || height <= 0) return;
  // Bottom to top when copying downwards within one bitmap, so no row is read after it was written.
  const bool upwards = &source == &dest && dy > sy;
  if (same_format(source, dest)) {
    const size_t bytes_per_pixel = static_cast<size_t>(source.bits_per_pixel / 8);
    for (int k = 0; k < height; ++k) {
      const int y = upwards ? height - 1 - k : k;
      std::memmove(dest.row(dy + y) + bytes_per_pixel * dx,
                   source.row(sy + y) + bytes_per_pixel * sx,
                   bytes_per_pixel * static_cast<size_t>(width));
    }
    return;
  }
  RowReader reader(source);
  RowWriter writer(dest);
  std::vector<uint32_t> line(static_cast<size_t>(width));
  for (int k = 0; k < height; ++k) {
    const int y = upwards ? height - 1 - k : k;
    reader.read(sx, sy + y, width, line.data());
    writer.write(line.data(), dx, dy + y, width);
  }
}

void rect_to_rgb32(const Bitmap& source, int sx, int sy, int width, int height, uint32_t* out) {
  RowReader reader(source);
  for (int y = 0; y < height; ++y)
    reader.read(sx, sy + y, width, out + static_cast<size_t>(y) * width);
}

void rgb32_to_rect(Bitmap& dest, int x, int y, int width, int height, const uint32_t* in) {
  RowWriter writer(dest);
  for (int k = 0; k < height; ++k)
    writer.write(in + static_cast<size_t>(k) * width, x, y + k, width);
}

void fill_rgb32(Bitmap& dest, int x, int y, int width, int height, uint32_t rgb) {
  if (width <= 0 || height <= 0) return;
  RowWriter writer(dest);
  std::vector<uint32_t> line(static_cast<size_t>(width), rgb);
  for (int k = 0; k < height; ++k) writer.write(line.data(), x, y + k, width);
}

}  // namespace plat
