// LoadCompressedTGA: type 10, run-length-encoded packets. The file is read in large chunks and
// decoded from memory: a raw packet is one swapping copy, a run packet one fill. Which message a
// truncated or overlong file gets is decided exactly as a pixel-by-pixel reader would decide it.
#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "file_access.h"
#include "pixel_swap.h"
#include "tga_internal.h"

namespace {

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

using CopySwap = void (*)(uint8_t* dst, const uint8_t* src, std::size_t pixels);

// The pixel whose file bytes (blue first) start at p, in OpenGL's order. Reads four bytes: for a
// 3-byte pixel the fourth is the next byte of the buffer, and drops out. Byte-reversed, the file's
// blue, green, red (alpha) read red, green, blue from the top: one shift (or rotation, which brings
// alpha back to the top) puts them in place.
template <uint32_t Bpp>
uint32_t Swapped(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  if constexpr (Bpp == 4)
    return std::rotr(__builtin_bswap32(v), 8);
  else
    return __builtin_bswap32(v) >> 8;
}

// The rest of a run of more than two pixels whose first two are written (`pair`). From 16 bytes
// on it is filled with 16-byte stores, the last one ending exactly at the run's end: for 3-byte
// pixels three vectors take turns, each starting at its own byte of the pixel.
template <uint32_t Bpp>
void FillRestOfRun(uint8_t* out, uint32_t pixel, uint64_t pair, std::size_t count) {
  const std::size_t bytes = count * Bpp;
#ifdef __SSE2__
  if (bytes >= 16) {
    if constexpr (Bpp == 4) {
      const __m128i v = _mm_set1_epi32(static_cast<int>(pixel));
      std::size_t o = 0;
      for (; o + 16 <= bytes; o += 16) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), v);
      if (o < bytes) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + bytes - 16), v);
    } else {
      // w[s]: eight bytes of the pattern from byte s of the pixel; a vector at offset o starts at
      // byte o % 3, and 16 % 3 == 1, 8 % 3 == 2.
      const uint64_t w0 = pair;
      const uint64_t w1 = uint64_t{(pixel >> 8) | (pixel & 0xFF) << 16} * 0x0001000001000001u;
      const uint64_t w2 = uint64_t{(pixel >> 16) | (pixel & 0xFFFF) << 8} * 0x0001000001000001u;
      const __m128i v0 = _mm_set_epi64x(static_cast<int64_t>(w2), static_cast<int64_t>(w0));
      const __m128i v1 = _mm_set_epi64x(static_cast<int64_t>(w0), static_cast<int64_t>(w1));
      const __m128i v2 = _mm_set_epi64x(static_cast<int64_t>(w1), static_cast<int64_t>(w2));
      std::size_t o = 0;
      for (; o + 48 <= bytes; o += 48) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), v0);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o + 16), v1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o + 32), v2);
      }
      if (o + 16 <= bytes) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), v0);
        o += 16;
        if (o + 16 <= bytes) {
          _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), v1);
          o += 16;
        }
      }
      // bytes - 16 is a multiple of 3 less 16: byte 2 of the pixel starts it.
      if (o < bytes) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + bytes - 16), v2);
    }
    return;
  }
#endif
  (void)pixel;
  for (std::size_t i = 2; i < count; i += 2) std::memcpy(out + Bpp * i, &pair, 8);
}

// Decodes the packet at p, whose largest form lies in the buffer, to out, which has room for its
// pixels and two more: short packets are written with whole 8-byte stores that may reach up to two
// pixels beyond their own (the packets after them overwrite those bytes). A run of one or two
// pixels, or a literal of one or two, costs a few instructions and a single store.
template <uint32_t Bpp>
inline const uint8_t* Packet(const uint8_t* p, uint8_t*& out, CopySwap copy) {
  const uint32_t header = p[0];
  if (header >= 128) {
    const std::size_t count = header - 127u;
    const uint32_t pixel = Swapped<Bpp>(p + 1);
    const uint64_t pair = pixel * (Bpp == 4 ? 0x0000000100000001u : 0x0001000001000001u);
    std::memcpy(out, &pair, 8);
    if (count > 2) FillRestOfRun<Bpp>(out, pixel, pair, count);
    out += count * Bpp;
    return p + 1 + Bpp;
  }
  const std::size_t count = header + 1u;
  if (count <= 2) {
    // The second pixel of a literal of one is the next packet's bytes: written, then overwritten.
    const uint64_t two = uint64_t{Swapped<Bpp>(p + 1)} | uint64_t{Swapped<Bpp>(p + 1 + Bpp)}
                                                             << (8 * Bpp);
    std::memcpy(out, &two, 8);
  } else {
    copy(out, p + 1, count);
  }
  out += count * Bpp;
  return p + 1 + count * Bpp;
}

// Decodes whole packets from p while a largest packet still lies before `end` and each packet
// leaves at least two of the `room` pixels left at `out` after it; returns where it stopped. Most
// of the way it goes in blocks whose bounds are checked once: the input of eight largest packets
// is buffered and the image has room for eight longest ones, so none of the eight checks its own.
template <uint32_t Bpp>
const uint8_t* DecodePackets(const uint8_t* p, const uint8_t* end, uint8_t*& out, uint64_t& room,
                             CopySwap copy) {
  constexpr std::ptrdiff_t kBlock = 8;
  uint8_t* const out_end = out + room * Bpp;
  while (end - p >= kBlock * std::ptrdiff_t{kMaxPacket} &&
         out_end - out >= (kBlock * 128 + 2) * std::ptrdiff_t{Bpp}) {
#pragma GCC unroll 8
    for (int k = 0; k < kBlock; ++k) p = Packet<Bpp>(p, out, copy);
  }
  while (end - p >= std::ptrdiff_t{kMaxPacket}) {
    const std::ptrdiff_t count = (p[0] & 0x7F) + 1;
    if (out_end - out < (count + 2) * std::ptrdiff_t{Bpp}) break;  // the image's last packets
    p = Packet<Bpp>(p, out, copy);
  }
  room = static_cast<uint64_t>(out_end - out) / Bpp;
  return p;
}

}  // namespace

namespace zelvo {

bool ReadCompressedTga(TGATexture& Texture, TgaInput& in) {
  if (!zelvo::ReadImageHeader(Texture, UINT32_MAX, in)) return false;
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

  // The swap kernel chosen once, called directly for each longer literal.
  const PixelSwapKernels& kernels = AvailablePixelSwapKernels().back();
  while (current_pixel < pixel_count) {
    // Whole packets without a check per packet on the file, while a largest packet is surely
    // buffered and each fits in the image. What is left (the end of the file, an overlong packet)
    // goes through the careful step below, which decides its message.
    if (in.Fill(kMaxPacket) == kMaxPacket) {
      const uint8_t* const end = in.data() + in.Buffered();
      uint8_t* out = Texture.ImageData + current_pixel * bpp;
      uint64_t room = pixel_count - current_pixel;
      const uint8_t* p = bpp == 4 ? DecodePackets<4>(in.data(), end, out, room, kernels.copy4)
                                  : DecodePackets<3>(in.data(), end, out, room, kernels.copy3);
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
  in.Close();
  return true;
}

}  // namespace zelvo

bool LoadCompressedTGA(TGATexture& Texture, const char* FileName) {
  zelvo::TgaLoadScope scope("LoadCompressedTGA", FileName);
  uint8_t buffer[zelvo::kStreamReadAhead];
  zelvo::TgaInput in(fTGA, buffer, sizeof buffer);
  return zelvo::ReadCompressedTga(Texture, in);
}
