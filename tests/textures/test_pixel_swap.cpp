// Every blue/red swap the processor can run, against a byte-by-byte model: every width from 1 to
// 67 pixels (vector bodies, tails and widths with no vector step at all), buffers starting at every
// offset within a vector, copying and in place, and never a byte written outside the pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "textures/pixel_swap.h"

namespace {

constexpr std::size_t kGuard = 64;
constexpr uint8_t kGuardByte = 0xA5;

std::vector<uint8_t> Model(const std::vector<uint8_t>& src, std::size_t bpp) {
  std::vector<uint8_t> out(src);
  for (std::size_t p = 0; p + bpp <= out.size(); p += bpp) std::swap(out[p], out[p + 2]);
  return out;
}

std::vector<uint8_t> Random(std::size_t n, std::mt19937& rng) {
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = uint8_t(rng());
  return v;
}

using Kernel = void (*)(uint8_t*, const uint8_t*, std::size_t);

// Runs `kernel` on pixels placed at `offset` in a guarded buffer, copying when `in_place` is false.
void CheckOne(Kernel kernel, std::size_t bpp, std::size_t width, std::size_t offset, bool in_place,
              std::mt19937& rng, const std::string& what) {
  const std::vector<uint8_t> src = Random(width * bpp, rng);
  std::vector<uint8_t> dst_buffer(kGuard + offset + src.size() + kGuard, kGuardByte);
  std::vector<uint8_t> src_buffer(kGuard + offset + src.size() + kGuard, kGuardByte);
  uint8_t* dst = dst_buffer.data() + kGuard + offset;
  uint8_t* in =
      src_buffer.data() + kGuard + (offset * 7 + 3) % 32;  // source misaligned differently
  std::copy(src.begin(), src.end(), in);
  if (in_place) {
    std::copy(src.begin(), src.end(), dst);
    kernel(dst, dst, width);
  } else {
    kernel(dst, in, width);
    EXPECT_EQ(std::vector<uint8_t>(in, in + src.size()), src) << what << ": source changed";
  }
  EXPECT_EQ(std::vector<uint8_t>(dst, dst + src.size()), Model(src, bpp)) << what;
  for (std::size_t i = 0; i < kGuard + offset; ++i)
    ASSERT_EQ(dst_buffer[i], kGuardByte) << what << ": wrote before the pixels";
  for (std::size_t i = kGuard + offset + src.size(); i < dst_buffer.size(); ++i)
    ASSERT_EQ(dst_buffer[i], kGuardByte) << what << ": wrote after the pixels";
}

TEST(PixelSwap, EveryKernelMatchesTheModelAtEveryWidthAndAlignment) {
  std::mt19937 rng(67);
  ASSERT_FALSE(zelvo::AvailablePixelSwapKernels().empty());
  for (const zelvo::PixelSwapKernels& k : zelvo::AvailablePixelSwapKernels()) {
    for (std::size_t width = 1; width <= 67; ++width) {
      for (std::size_t offset = 0; offset < 32; offset += (offset < 4 ? 1 : 5)) {
        for (bool in_place : {false, true}) {
          const std::string what = std::string(k.name) + " width " + std::to_string(width) +
                                   " offset " + std::to_string(offset) +
                                   (in_place ? " in place" : " copying");
          CheckOne(k.copy3, 3, width, offset, in_place, rng, what + " 3-byte");
          CheckOne(k.copy4, 4, width, offset, in_place, rng, what + " 4-byte");
        }
      }
    }
  }
}

TEST(PixelSwap, PublicSwapsMatchTheModelOnALargeImageAndOnNothing) {
  std::mt19937 rng(4096);
  for (std::size_t bpp : {3u, 4u}) {
    const std::size_t pixels = 1000 * 1000 + 13;
    const std::vector<uint8_t> src = Random(pixels * bpp, rng);
    std::vector<uint8_t> copied(src.size()), in_place(src);
    if (bpp == 3) {
      zelvo::CopySwapRedBlue3(copied.data(), src.data(), pixels);
      zelvo::SwapRedBlue3(in_place.data(), pixels);
    } else {
      zelvo::CopySwapRedBlue4(copied.data(), src.data(), pixels);
      zelvo::SwapRedBlue4(in_place.data(), pixels);
    }
    const std::vector<uint8_t> expected = Model(src, bpp);
    EXPECT_EQ(copied, expected) << bpp;
    EXPECT_EQ(in_place, expected) << bpp;
  }
  uint8_t untouched[4] = {1, 2, 3, 4};
  zelvo::SwapRedBlue3(untouched, 0);
  zelvo::SwapRedBlue4(untouched, 0);
  EXPECT_EQ(untouched[0], 1);
  EXPECT_EQ(untouched[2], 3);
}

}  // namespace
