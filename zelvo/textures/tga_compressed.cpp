// LoadCompressedTGA: type 10, run-length-encoded packets. The file is read in large chunks and
// decoded from memory: a raw packet is one swapping copy, a run packet one fill. Which message a
// truncated or overlong file gets is decided exactly as a pixel-by-pixel reader would decide it.
#include <algorithm>
#include <bit>
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
  std::size_t Buffered() const { return end_ - pos_; }
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

// Fills count pixels with the colour whose file bytes (blue first) are at `color`.
void FillRun(uint8_t* dst, const uint8_t* color, uint32_t bytes_per_pixel, std::size_t count) {
  const uint32_t swapped = uint32_t{color[2]} | uint32_t{color[1]} << 8 | uint32_t{color[0]} << 16;
  if (bytes_per_pixel == 4) {
    const uint32_t p = swapped | uint32_t{color[3]} << 24;
    for (std::size_t i = 0; i < count; ++i) std::memcpy(dst + 4 * i, &p, 4);
  } else {
    // Four-byte stores, each overwriting the next pixel's first byte, then the last pixel alone.
    for (std::size_t i = 0; i + 1 < count; ++i) std::memcpy(dst + 3 * i, &swapped, 4);
    std::memcpy(dst + 3 * (count - 1), &swapped, 3);
  }
}

// The largest packet: its header and 128 pixels of 4 bytes.
constexpr std::size_t kMaxPacket = 1 + 128 * 4;

// Decodes whole packets from `p` while a largest packet still lies before `last` and each packet
// leaves at least two of the `room` pixels left at `out` after it; returns where it stopped. A
// packet may then write up to two pixels beyond its own (the packets after it overwrite them), so
// runs are filled with whole 8-byte stores of two pixels each.
template <uint32_t Bpp>
const uint8_t* DecodePackets(const uint8_t* p, const uint8_t* last, uint8_t*& out, uint64_t& room) {
  while (p <= last) {
    const std::size_t count = (p[0] & 0x7Fu) + 1u;
    if (count + 2 > room) break;  // the image's last packets go through the careful step
    if (p[0] < 128) {
      if constexpr (Bpp == 4)
        zelvo::CopySwapRedBlue4(out, p + 1, count);
      else
        zelvo::CopySwapRedBlue3(out, p + 1, count);
      p += 1 + count * Bpp;
    } else {
      uint32_t color;
      std::memcpy(&color, p + 1, 4);  // within the buffered largest packet
      // Byte-reversed, the file's blue, green, red (alpha) read red, green, blue from the top:
      // one shift (or rotation, which brings alpha back to the top) puts them in place.
      uint64_t pair;
      if constexpr (Bpp == 4) {
        pair = uint64_t{std::rotr(__builtin_bswap32(color), 8)} * 0x0000000100000001u;
      } else {
        pair = uint64_t{__builtin_bswap32(color) >> 8} * 0x0001000001000001u;  // r g b r g b r g
      }
      std::memcpy(out, &pair, 8);
      for (std::size_t i = 2; i < count; i += 2) std::memcpy(out + Bpp * i, &pair, 8);
      p += 1 + Bpp;
    }
    out += count * Bpp;
    room -= count;
  }
  return p;
}

}  // namespace

bool LoadCompressedTGA(TGATexture& Texture, const char* FileName) {
  zelvo::TgaLoadScope scope("LoadCompressedTGA", FileName);
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
    zelvo::TgaError(message, "run-length data, at pixel " + std::to_string(current_pixel) + " of " +
                                 std::to_string(pixel_count));
    zelvo::ReleaseImage(Texture);
    std::free(color_buffer);
    return false;
  };

  ChunkReader in(fTGA);
  while (current_pixel < pixel_count) {
    // Whole packets without a check per packet on the file, while a largest packet is surely
    // buffered and each fits in the image. What is left (the end of the file, an overlong packet)
    // goes through the careful step below, which decides its message.
    if (in.Fill(kMaxPacket) == kMaxPacket) {
      const uint8_t* const last = in.data() + (in.Buffered() - kMaxPacket);
      uint8_t* out = Texture.ImageData + current_pixel * bpp;
      uint64_t room = pixel_count - current_pixel;
      const uint8_t* p = bpp == 4 ? DecodePackets<4>(in.data(), last, out, room)
                                  : DecodePackets<3>(in.data(), last, out, room);
      in.Skip(static_cast<std::size_t>(p - in.data()));
      current_pixel = pixel_count - room;
      if (current_pixel == pixel_count) break;
    }
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
      FillRun(out, color_buffer, bpp, count);
      current_pixel += count;
    }
  }
  std::free(color_buffer);
  zelvo::CloseFile(fTGA);
  fTGA = nullptr;
  return true;
}
