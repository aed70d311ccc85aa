// LoadCompressedTGA: type 10, run-length-encoded packets. The file is read in large chunks and
// decoded from memory: a raw packet is one swapping copy, a run packet one fill. Which message a
// truncated or overlong file gets is decided exactly as a pixel-by-pixel reader would decide it.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "file_access.h"
#include "pixel_swap.h"
#include "tga_internal.h"

namespace {

// A read-ahead window over fTGA. Reading beyond what the decoder will use is harmless: the file is
// closed as soon as the image is decoded or refused.
class ChunkReader {
 public:
  explicit ChunkReader(FILE* file) : file_(file) {}

  // Makes up to n bytes readable at data(); fewer only when the file ends first.
  std::size_t Fill(std::size_t n) {
    if (end_ - pos_ >= n) return n;
    std::memmove(buffer_, buffer_ + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
    while (end_ < n && !at_end_) {
      std::size_t want = kChunk - end_;
      std::size_t got = zelvo::ReadBytes(buffer_ + end_, want, file_);
      end_ += got;
      if (got < want) at_end_ = true;
    }
    return std::min(n, end_);
  }
  const uint8_t* data() const { return buffer_ + pos_; }
  void Skip(std::size_t n) { pos_ += n; }

 private:
  // Far larger than the largest packet (128 pixels of 4 bytes), so Fill never needs to grow it, and
  // small enough to live on the stack: a small image then costs no allocation, no clearing and no
  // page faults for its read-ahead.
  static constexpr std::size_t kChunk = 64 * 1024;
  FILE* file_;
  uint8_t buffer_[kChunk];  // never read before it is written
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool at_end_ = false;
};

void FillRun(uint8_t* dst, const uint8_t* color, uint32_t bytes_per_pixel, std::size_t count) {
  if (bytes_per_pixel == 4) {
    uint32_t p;
    std::memcpy(&p, color, 4);
    for (std::size_t i = 0; i < count; ++i) std::memcpy(dst + 4 * i, &p, 4);
  } else {
    for (std::size_t i = 0; i < count; ++i) std::memcpy(dst + 3 * i, color, 3);
  }
}

}  // namespace

bool LoadCompressedTGA(TGATexture& Texture, const char* /*FileName*/) {
  if (!zelvo::ReadImageHeader(Texture, UINT32_MAX)) return false;
  const uint32_t bpp = TGA.BytesPerPixel;
  const uint64_t pixel_count = uint64_t{Texture.Height} * Texture.Width;
  uint64_t current_pixel = 0;

  auto* color_buffer = static_cast<uint8_t*>(std::calloc(bpp, 1));
  if (!color_buffer) {
    zelvo::TgaMessage("Could not allocate memory for color buffer");
    zelvo::ReleaseImage(Texture);
    return false;
  }
  auto fail = [&](const char* message) {
    zelvo::TgaMessage(message);
    zelvo::ReleaseImage(Texture);
    std::free(color_buffer);
    return false;
  };

  ChunkReader in(fTGA);
  while (current_pixel < pixel_count) {
    if (in.Fill(1) < 1) return fail("Could not read RLE header");
    const uint8_t chunk_header = in.data()[0];
    in.Skip(1);
    const uint64_t room = pixel_count - current_pixel;
    uint8_t* out = Texture.ImageData + current_pixel * bpp;
    if (chunk_header < 128) {
      const std::size_t count = chunk_header + 1u;
      const std::size_t whole = in.Fill(count * bpp) / bpp;  // complete pixels present in the file
      if (count > room) {
        // Pixel room + 1 is read before the store finds no place for it.
        return fail(whole > room ? "Too many pixels read" : "Could not read image data");
      }
      if (whole < count) return fail("Could not read image data");
      if (bpp == 4)
        zelvo::CopySwapRedBlue4(out, in.data(), count);
      else
        zelvo::CopySwapRedBlue3(out, in.data(), count);
      in.Skip(count * bpp);
      current_pixel += count;
    } else {
      const std::size_t count = chunk_header - 127u;
      if (in.Fill(bpp) < bpp) return fail("Could not read from file");
      std::memcpy(color_buffer, in.data(), bpp);
      in.Skip(bpp);
      if (count > room) return fail("Too many pixels read");
      std::swap(color_buffer[0], color_buffer[2]);
      FillRun(out, color_buffer, bpp, count);
      current_pixel += count;
    }
  }
  std::free(color_buffer);
  zelvo::CloseFile(fTGA);
  fTGA = nullptr;
  return true;
}
