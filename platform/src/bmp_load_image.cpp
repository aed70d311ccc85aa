// LoadImageA for BMP files. The common case, an uncompressed bottom-up file, is read straight from
// the file into the bitmap's pixels in one read; everything else is read whole and decoded.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "bmp_decode.h"

namespace plat {
namespace {

constexpr int kColorWindow = 5;

class File {
 public:
  explicit File(const char* name) : fd_(::open(name, O_RDONLY | O_CLOEXEC)) {}
  ~File() {
    if (fd_ >= 0) ::close(fd_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  bool ok() const { return fd_ >= 0; }

  // Size of a regular file; -1 otherwise.
  int64_t size() const {
    struct stat st;
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return st.st_size;
  }

  // Reads exactly `count` bytes at `offset`; false on error or early end.
  bool read_at(void* buffer, size_t count, uint64_t offset) const {
    auto* out = static_cast<uint8_t*>(buffer);
    while (count > 0) {
      ssize_t n = ::pread(fd_, out, count, static_cast<off_t>(offset));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      out += n;
      count -= static_cast<size_t>(n);
      offset += static_cast<uint64_t>(n);
    }
    return true;
  }

 private:
  int fd_;
};

std::unique_ptr<Bitmap> load_bmp_file(const char* name) {
  File file(name);
  if (!file.ok()) return nullptr;
  const int64_t size = file.size();
  if (size < 0) return nullptr;
  const uint64_t file_size = static_cast<uint64_t>(size);

  std::vector<uint8_t> head(static_cast<size_t>(std::min<uint64_t>(file_size, kBmpHeaderBytes)));
  if (!file.read_at(head.data(), head.size(), 0)) return nullptr;
  BmpLayout layout;
  if (!bmp_parse_headers(head.data(), head.size(), file_size, layout)) return nullptr;

  const uint64_t available = file_size - layout.pixel_offset;
  const uint64_t image =
      static_cast<uint64_t>(layout.stride) * static_cast<uint64_t>(layout.height);
  if (layout.compression != BI_RLE8 && layout.compression != BI_RLE4 && !layout.top_down &&
      available >= image) {
    auto bitmap = make_bitmap(layout.width, layout.height, layout.bits_per_pixel, false);
    if (!bitmap) return nullptr;
    bitmap->colors = layout.colors;
    bitmap->bitfields = layout.bitfields;
    std::copy(layout.masks, layout.masks + 3, bitmap->masks);
    if (!file.read_at(bitmap->bits(), static_cast<size_t>(image), layout.pixel_offset))
      return nullptr;
    return bitmap;
  }
  std::vector<uint8_t> pixels(static_cast<size_t>(available));
  if (!file.read_at(pixels.data(), pixels.size(), layout.pixel_offset)) return nullptr;
  return bmp_decode_pixels(layout, pixels.data(), pixels.size());
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
  auto bitmap = plat::load_bmp_file(name);
  if (!bitmap) return 0;
  if ((cx != 0 && cx != bitmap->width) || (cy != 0 && cy != bitmap->height)) {
    bitmap = plat::resize(*bitmap, cx != 0 ? cx : bitmap->width, cy != 0 ? cy : bitmap->height);
    if (!bitmap) return 0;
  }
  if (flags & LR_LOADTRANSPARENT) plat::make_transparent(*bitmap);
  return plat::handle_insert(std::move(bitmap));
}
