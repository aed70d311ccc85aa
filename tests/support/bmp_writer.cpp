#include "bmp_writer.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace zelvo_test {

void set16(Bytes& bytes, size_t at, uint32_t value) {
  bytes[at] = static_cast<uint8_t>(value);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void set32(Bytes& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void append16(Bytes& bytes, uint32_t value) {
  bytes.push_back(static_cast<uint8_t>(value));
  bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void append32(Bytes& bytes, uint32_t value) {
  append16(bytes, value & 0xFFFF);
  append16(bytes, value >> 16);
}

size_t bmp_stride(int width, int bpp) { return (static_cast<size_t>(width) * bpp + 31) / 32 * 4; }

Bytes BmpFile::bytes() const {
  const bool core = header_size == 12;
  const size_t entry = core ? 3 : 4;
  const size_t mask_bytes = (header_size == 40 && compression == 3) ? 12 : 0;
  const size_t offset = 14 + header_size + mask_bytes + colours.size() * entry;
  Bytes v(offset + pixels.size());
  v[0] = 'B';
  v[1] = 'M';
  set32(v, 2, static_cast<uint32_t>(v.size()));
  set32(v, 10, static_cast<uint32_t>(offset));
  set32(v, 14, header_size);
  if (core) {
    set16(v, 18, static_cast<uint32_t>(width));
    set16(v, 20, static_cast<uint32_t>(height));
    set16(v, 22, 1);
    set16(v, 24, static_cast<uint32_t>(bpp));
  } else {
    set32(v, 18, static_cast<uint32_t>(width));
    set32(v, 22, static_cast<uint32_t>(height));
    set16(v, 26, 1);
    set16(v, 28, static_cast<uint32_t>(bpp));
    set32(v, 30, compression);
    set32(v, 34, static_cast<uint32_t>(pixels.size()));
    set32(v, 46, static_cast<uint32_t>(colours.size()));
    for (size_t i = 0; i < masks.size(); ++i) set32(v, 14 + 40 + 4 * i, masks[i]);
  }
  size_t at = 14 + header_size + mask_bytes;
  for (uint32_t c : colours) {
    v[at] = static_cast<uint8_t>(c);
    v[at + 1] = static_cast<uint8_t>(c >> 8);
    v[at + 2] = static_cast<uint8_t>(c >> 16);
    at += entry;
  }
  if (!pixels.empty()) std::memcpy(v.data() + offset, pixels.data(), pixels.size());
  return v;
}

Bytes bmp_pack_indices(const std::vector<int>& indices, int width, int height, int bpp) {
  const size_t s = bmp_stride(width, bpp);
  Bytes out(s * height);
  const int per_byte = 8 / bpp;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int value = indices[static_cast<size_t>(y) * width + x];
      const int shift = (per_byte - 1 - x % per_byte) * bpp;
      out[y * s + x / per_byte] |= static_cast<uint8_t>(value << shift);
    }
  return out;
}

Bytes bmp_from_rows(int bpp, int width, int height, const Bytes& rows) {
  BmpFile file;
  file.width = width;
  file.height = height;
  file.bpp = bpp;
  if (bpp <= 8)
    for (uint32_t i = 0; i < (1u << bpp); ++i) file.colours.push_back(i * 0x010101u);
  const size_t row_bytes = static_cast<size_t>(width) * bpp / 8;
  const size_t stride = bmp_stride(width, bpp);
  file.pixels.assign(stride * height, 0);
  for (int y = 0; y < height; ++y)
    std::memcpy(file.pixels.data() + y * stride, rows.data() + y * row_bytes, row_bytes);
  return file.bytes();
}

Bytes EncodeBmp(const Picture& picture, int bits, std::vector<Rgb> table) {
  const bool indexed = bits <= 8;
  if (indexed && table.empty()) {
    for (const Rgb& c : picture.pixels) {
      bool known = false;
      for (const Rgb& t : table) known = known || t == c;
      if (!known) table.push_back(c);
    }
  }
  if (indexed && table.size() > (size_t{1} << bits)) throw std::runtime_error("too many colours");
  auto index_of = [&](const Rgb& c) {
    for (size_t i = 0; i < table.size(); ++i)
      if (table[i] == c) return uint32_t(i);
    throw std::runtime_error("colour not in table");
  };
  BmpFile file;
  file.width = picture.width;
  file.height = picture.height;
  file.bpp = bits;
  for (const Rgb& c : table)
    if (indexed) file.colours.push_back((uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b);
  const size_t stride = bmp_stride(picture.width, bits);
  file.pixels.assign(stride * picture.height, 0);
  for (int y = picture.height - 1, out_row = 0; y >= 0; --y, ++out_row) {
    uint8_t* row = file.pixels.data() + out_row * stride;
    for (int x = 0; x < picture.width; ++x) {
      const Rgb& c = picture.at(x, y);
      switch (bits) {
        case 1:
          row[x / 8] |= uint8_t(index_of(c) << (7 - x % 8));
          break;
        case 4:
          row[x / 2] |= uint8_t(index_of(c) << (x % 2 ? 0 : 4));
          break;
        case 8:
          row[x] = uint8_t(index_of(c));
          break;
        case 16: {
          const uint32_t v = (uint32_t(c.r >> 3) << 10) | (uint32_t(c.g >> 3) << 5) | (c.b >> 3);
          row[x * 2] = uint8_t(v);
          row[x * 2 + 1] = uint8_t(v >> 8);
          break;
        }
        case 24:
          row[x * 3] = c.b;
          row[x * 3 + 1] = c.g;
          row[x * 3 + 2] = c.r;
          break;
        case 32:
          row[x * 4] = c.b;
          row[x * 4 + 1] = c.g;
          row[x * 4 + 2] = c.r;
          row[x * 4 + 3] = 0;
          break;
        default:
          throw std::runtime_error("unsupported depth");
      }
    }
  }
  return file.bytes();
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  const size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), f);
  const bool closed = std::fclose(f) == 0;
  if (written != bytes.size() || !closed) throw std::runtime_error("cannot write " + path);
}

}  // namespace zelvo_test
