// Every colour-key mask the processor can run, against the portable one and a per-pixel model:
// every width from 1 to 67 pixels and some past one and two 64-bit words (vector steps, their
// tails and rows with no vector step at all), rows starting at every offset within a vector, keys
// near 0 and 255 with tolerances that clamp, and never a word written past those asked for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "controls/key_mask.h"

namespace {

constexpr uint64_t kGuardWord = 0xA5A5A5A5A5A5A5A5u;

struct Key {
  uint8_t r, g, b, tolerance;
  uint32_t colorref() const { return r | (uint32_t{g} << 8) | (uint32_t{b} << 16); }
};

// Opaque bits and run count of a row, worked out pixel by pixel with plain integers.
std::vector<uint64_t> ModelBits(const uint8_t* row, std::size_t width, int bytes_per_pixel,
                                const Key& key, std::size_t words, uint64_t& runs) {
  auto in = [&](int v, int low) { return v >= low && v <= std::min(low + key.tolerance, 255); };
  std::vector<uint64_t> bits(words, 0);
  runs = 0;
  bool before = false;
  for (std::size_t x = 0; x < width; ++x) {
    const uint8_t* p = row + x * bytes_per_pixel;
    const bool opaque = !(in(p[0], key.b) && in(p[1], key.g) && in(p[2], key.r));
    if (opaque) bits[x / 64] |= uint64_t{1} << (x % 64);
    if (opaque && !before) ++runs;
    before = opaque;
  }
  return bits;
}

// Bytes just inside and just outside each channel's range, and now and then anything.
uint8_t Near(uint8_t low, int tolerance, std::mt19937& random) {
  const int choices[] = {low - 1, low, low + 1, low + tolerance, low + tolerance + 1};
  if (random() % 9 == 0) return uint8_t(random());
  return uint8_t(std::clamp(choices[random() % 5], 0, 255));
}

TEST(KeyMask, EveryKernelMatchesTheModelAtEveryWidthAlignmentAndKey) {
  const auto kernels = zelvo::AvailableKeyMaskKernels();
  ASSERT_FALSE(kernels.empty());
  EXPECT_EQ(std::string(kernels.front().name), "portable");
  std::mt19937 random(5);
  const Key keys[] = {
      {255, 0, 255, 1}, {200, 10, 254, 3}, {0, 0, 0, 0}, {255, 255, 255, 255}, {7, 250, 128, 9}};
  std::vector<std::size_t> widths;
  for (std::size_t w = 1; w <= 67; ++w) widths.push_back(w);
  for (std::size_t w : {95, 127, 128, 129, 143, 191, 192, 193, 260}) widths.push_back(w);
  for (const Key& key : keys) {
    const zelvo::KeyRange range(key.colorref(), key.tolerance);
    for (int bytes_per_pixel : {3, 4})
      for (std::size_t width : widths)
        for (std::size_t offset : {0, 1, 3, 5, 16, 31, 33, 63}) {
          // The row ends exactly where its memory does, so a read past it is a fault under the
          // address sanitizer.
          std::vector<uint8_t> memory(offset + width * bytes_per_pixel);
          for (uint8_t& b : memory) b = uint8_t(random());
          uint8_t* row = memory.data() + offset;
          for (std::size_t x = 0; x < width; ++x) {
            uint8_t* p = row + x * bytes_per_pixel;
            if (random() % 4 == 0) continue;  // random bytes
            p[0] = Near(key.b, key.tolerance, random);
            p[1] = Near(key.g, key.tolerance, random);
            p[2] = Near(key.r, key.tolerance, random);
          }
          const std::size_t words = width / 64 + 1 + (width % 3 == 0);  // sometimes one to spare
          uint64_t model_runs = 0;
          const std::vector<uint64_t> model =
              ModelBits(row, width, bytes_per_pixel, key, words, model_runs);
          for (const zelvo::KeyMaskKernels& k : kernels) {
            SCOPED_TRACE(testing::Message()
                         << k.name << ", " << bytes_per_pixel * 8 << " bits, width " << width
                         << ", offset " << offset << ", key " << std::hex << key.colorref());
            std::vector<uint64_t> out(words + 1, kGuardWord);
            const uint64_t runs =
                (bytes_per_pixel == 4 ? k.mask32 : k.mask24)(range, row, width, out.data(), words);
            EXPECT_EQ(runs, model_runs);
            ASSERT_EQ(std::vector<uint64_t>(out.begin(), out.begin() + words), model);
            ASSERT_EQ(out[words], kGuardWord) << "wrote past the words asked for";
          }
        }
  }
}

TEST(KeyMask, TheFourthByteOfA32BitPixelNeverCounts) {
  // All pixels exactly the key; only the fourth byte varies, through every value.
  const zelvo::KeyRange range(0x00FF00FF, 0);
  std::vector<uint8_t> row(4 * 256);
  for (int x = 0; x < 256; ++x) {
    row[4 * x] = 255, row[4 * x + 1] = 0, row[4 * x + 2] = 255, row[4 * x + 3] = uint8_t(x);
  }
  for (const zelvo::KeyMaskKernels& k : zelvo::AvailableKeyMaskKernels()) {
    SCOPED_TRACE(k.name);
    std::vector<uint64_t> out(5, kGuardWord);
    EXPECT_EQ(k.mask32(range, row.data(), 256, out.data(), 5), 0u);
    EXPECT_EQ(out, std::vector<uint64_t>(5, 0));
  }
}

TEST(KeyMask, MaskKeyRowUsesAKernelForEachPixelSize) {
  // A row whose 24-bit reading and 32-bit reading differ: MaskKeyRow must read it as it is told.
  const zelvo::KeyRange range(0x00000000, 0);
  std::vector<uint8_t> row(4 * 70, 0);
  for (std::size_t i = 3; i < row.size(); i += 4) row[i] = 1;  // opaque as 3-byte pixels only
  std::vector<uint64_t> out24(3), out32(3);
  const uint64_t runs24 = zelvo::MaskKeyRow(range, row.data(), 70, 3, out24.data(), 3);
  const uint64_t runs32 = zelvo::MaskKeyRow(range, row.data(), 70, 4, out32.data(), 3);
  uint64_t model_runs = 0;
  EXPECT_EQ(out24, ModelBits(row.data(), 70, 3, Key{0, 0, 0, 0}, 3, model_runs));
  EXPECT_EQ(runs24, model_runs);
  EXPECT_EQ(out32, std::vector<uint64_t>(3, 0));
  EXPECT_EQ(runs32, 0u);
}

}  // namespace
