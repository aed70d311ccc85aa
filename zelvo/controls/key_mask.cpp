// Colour-key masks of pixel rows.
#include "key_mask.h"

#include <algorithm>
#include <bit>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZELVO_HAVE_X86_MASK 1
#endif

namespace zelvo {

KeyRange::KeyRange(uint32_t key, uint8_t tolerance) {
  const uint32_t red = key & 0xFF, green = (key >> 8) & 0xFF, blue = (key >> 16) & 0xFF;
  const uint8_t low[3] = {uint8_t(blue), uint8_t(green), uint8_t(red)};
  uint8_t span[3];
  for (int c = 0; c < 3; ++c)
    span[c] = uint8_t(std::min<uint32_t>(low[c] + tolerance, 255) - low[c]);
  for (int i = 0; i < 192; ++i) {
    low24[i] = low[i % 3];
    span24[i] = span[i % 3];
  }
  for (int i = 0; i < 64; ++i) {
    low32[i] = i % 4 == 3 ? 0 : low[i % 4];
    span32[i] = i % 4 == 3 ? 0xFF : span[i % 4];
  }
}

namespace {

// Inlined into every kernel, so that it is compiled with the kernel's instruction set: the
// population count is then one instruction where the processor has it.
[[gnu::always_inline]] inline uint64_t CountRuns(const uint64_t* out, std::size_t words) {
  uint64_t runs = 0, carry = 0;
  for (std::size_t w = 0; w < words; ++w) {
    runs += std::popcount(out[w] & ~((out[w] << 1) | carry));
    carry = out[w] >> 63;
  }
  return runs;
}

// The pixels from x on one at a time, then the words past them cleared and the runs counted.
// `word` holds the bits of the pixels from the start of x's word up to x.
[[gnu::always_inline]] inline uint64_t Finish(const KeyRange& range, const uint8_t* row,
                                              std::size_t x, std::size_t width, int bytes_per_pixel,
                                              uint64_t word, uint64_t* out, std::size_t words) {
  for (; x < width; ++x) {
    word |= uint64_t{!range.Transparent(row + std::size_t(bytes_per_pixel) * x)} << (x & 63);
    if ((x & 63) == 63) {
      out[x >> 6] = word;
      word = 0;
    }
  }
  for (std::size_t w = x >> 6; w < words; ++w) {
    out[w] = word;
    word = 0;
  }
  return CountRuns(out, words);
}

uint64_t Mask24Portable(const KeyRange& range, const uint8_t* row, std::size_t width, uint64_t* out,
                        std::size_t words) {
  return Finish(range, row, 0, width, 3, 0, out, words);
}

uint64_t Mask32Portable(const KeyRange& range, const uint8_t* row, std::size_t width, uint64_t* out,
                        std::size_t words) {
  return Finish(range, row, 0, width, 4, 0, out, words);
}

#ifdef ZELVO_HAVE_X86_MASK
// Per byte: 0xFF when the byte lies in its channel's range: min(b - low, span) == b - low.
inline __m128i InRange(__m128i v, const uint8_t* low, const uint8_t* span) {
  const __m128i d = _mm_sub_epi8(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(low)));
  return _mm_cmpeq_epi8(_mm_min_epu8(d, _mm_loadu_si128(reinterpret_cast<const __m128i*>(span))),
                        d);
}

// SSE2, which every x86-64 processor has: sixteen pixels a step, a word filled in four steps.
uint64_t Mask32Sse2(const KeyRange& range, const uint8_t* row, std::size_t width, uint64_t* out,
                    std::size_t words) {
  uint64_t word = 0;
  std::size_t x = 0;
  for (; x + 16 <= width; x += 16) {
    __m128i clear[4];
    for (int i = 0; i < 4; ++i) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 4 * x + 16 * i));
      // A pixel is transparent when all four of its bytes are in range.
      clear[i] = _mm_cmpeq_epi32(InRange(v, range.low32, range.span32), _mm_set1_epi32(-1));
    }
    const __m128i packed =
        _mm_packs_epi16(_mm_packs_epi32(clear[0], clear[1]), _mm_packs_epi32(clear[2], clear[3]));
    word |= uint64_t(~unsigned(_mm_movemask_epi8(packed)) & 0xFFFFu) << (x & 63);
    if ((x & 63) == 48) {
      out[x >> 6] = word;
      word = 0;
    }
  }
  return Finish(range, row, x, width, 4, word, out, words);
}

// Sixteen 24-bit pixels are 48 bytes, three vectors each starting at another channel: byte j of
// the 48 belongs to pixel j / 3.
uint64_t Mask24Sse2(const KeyRange& range, const uint8_t* row, std::size_t width, uint64_t* out,
                    std::size_t words) {
  uint64_t word = 0;
  std::size_t x = 0;
  for (; x + 16 <= width; x += 16) {
    uint64_t in = 0;
    for (int i = 0; i < 3; ++i) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 3 * x + 16 * i));
      in |= uint64_t(unsigned(
                _mm_movemask_epi8(InRange(v, range.low24 + 16 * i, range.span24 + 16 * i))))
            << (16 * i);
    }
    // Pixel i is transparent when bits 3i, 3i+1 and 3i+2 are all set; then every third bit is
    // gathered into the low 16 bits, halving the gaps at each step.
    uint64_t t = in & (in >> 1) & (in >> 2) & 0x249249249249u;
    t = (t | t >> 2) & 0x0C30C30C30C3u;
    t = (t | t >> 4) & 0x00F00F00F00Fu;
    t = (t | t >> 8) & 0x0000FF0000FFu;
    t = (t | t >> 16) & 0xFFFFu;
    word |= uint64_t(~unsigned(t) & 0xFFFFu) << (x & 63);
    if ((x & 63) == 48) {
      out[x >> 6] = word;
      word = 0;
    }
  }
  return Finish(range, row, x, width, 3, word, out, words);
}

// AVX2: 24-bit pixels are first widened to 32 bits (a zero fourth byte), so that one 32-bit
// comparison per pixel tells whether all its bytes are in range. Thirty-two pixels a step.
__attribute__((target("avx2,popcnt"))) inline unsigned Transparent8Avx2(__m256i pixels,
                                                                        const KeyRange& range) {
  const __m256i d =
      _mm256_sub_epi8(pixels, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(range.low32)));
  const __m256i span = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(range.span32));
  return unsigned(
      _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(_mm256_min_epu8(d, span), d))));
}

__attribute__((target("avx2,popcnt"))) uint64_t Mask32Avx2(const KeyRange& range,
                                                           const uint8_t* row, std::size_t width,
                                                           uint64_t* out, std::size_t words) {
  uint64_t word = 0;
  std::size_t x = 0;
  for (; x + 32 <= width; x += 32) {
    uint64_t clear = 0;
    for (int i = 0; i < 4; ++i) {
      const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + 4 * x + 32 * i));
      clear |= uint64_t{Transparent8Avx2(v, range)} << (8 * i);
    }
    word |= (~clear & 0xFFFFFFFFu) << (x & 63);
    if ((x & 63) == 32) {
      out[x >> 6] = word;
      word = 0;
    }
  }
  return Finish(range, row, x, width, 4, word, out, words);
}

__attribute__((target("avx2,popcnt"))) uint64_t Mask24Avx2(const KeyRange& range,
                                                           const uint8_t* row, std::size_t width,
                                                           uint64_t* out, std::size_t words) {
  // Eight pixels, 24 bytes read exactly: four of them into each 128-bit half, then each pixel's
  // three bytes into its own 32-bit lane.
  const __m256i halves = _mm256_setr_epi32(0, 1, 2, 2, 3, 4, 5, 5);
  constexpr char Z = -128;  // a shuffle index with the top bit set yields 0
  const __m256i widen = _mm256_setr_epi8(0, 1, 2, Z, 3, 4, 5, Z, 6, 7, 8, Z, 9, 10, 11, Z,  //
                                         0, 1, 2, Z, 3, 4, 5, Z, 6, 7, 8, Z, 9, 10, 11, Z);
  uint64_t word = 0;
  std::size_t x = 0;
  for (; x + 32 <= width; x += 32) {
    uint64_t clear = 0;
    for (int i = 0; i < 4; ++i) {
      const uint8_t* p = row + 3 * x + 24 * i;
      const __m256i v = _mm256_inserti128_si256(
          _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
          _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 16)), 1);
      const __m256i pixels = _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(v, halves), widen);
      clear |= uint64_t{Transparent8Avx2(pixels, range)} << (8 * i);
    }
    word |= (~clear & 0xFFFFFFFFu) << (x & 63);
    if ((x & 63) == 32) {
      out[x >> 6] = word;
      word = 0;
    }
  }
  return Finish(range, row, x, width, 3, word, out, words);
}

#if !defined(_WIN32)  // mingw-w64 misaligns spilled 64-byte vectors
#define ZELVO_HAVE_AVX512_MASK 1
// The masked forms with every lane kept: the plain ones trip GCC 12's uninitialised-value warning
// inside its own header.
constexpr __mmask16 kAll16 = 0xFFFF;

// AVX-512: sixteen pixels a vector, the comparison giving their bits directly; a whole word of 64
// pixels a step. The rest goes sixteen pixels at a time with loads masked to the step's pixels, so
// the last, shorter step needs no other loop and nothing past the row is read.
struct Avx512Range {
  __m512i low, span;
};

__attribute__((target("avx512f,avx512bw,popcnt"))) inline Avx512Range LoadAvx512Range(
    const KeyRange& range) {
  return {_mm512_loadu_si512(range.low32), _mm512_loadu_si512(range.span32)};
}

// Bit i set when pixel i of the sixteen 4-byte lanes is transparent.
__attribute__((target("avx512f,avx512bw,popcnt"))) inline unsigned Transparent16Avx512(
    __m512i pixels, const Avx512Range& range) {
  const __m512i d = _mm512_sub_epi8(pixels, range.low);
  return _mm512_cmpeq_epi32_mask(_mm512_min_epu8(d, range.span), d);
}

__attribute__((target("avx512f,avx512bw,popcnt"))) uint64_t Mask32Avx512(const KeyRange& range,
                                                                         const uint8_t* row,
                                                                         std::size_t width,
                                                                         uint64_t* out,
                                                                         std::size_t words) {
  const Avx512Range vectors = LoadAvx512Range(range);
  std::size_t x = 0;
  for (; x + 64 <= width; x += 64) {
    uint64_t clear = 0;
    for (int i = 0; i < 4; ++i)
      clear |= uint64_t{Transparent16Avx512(_mm512_loadu_si512(row + 4 * x + 64 * i), vectors)}
               << (16 * i);
    out[x >> 6] = ~clear;
  }
  uint64_t word = 0;
  for (; x < width; x += 16) {
    const std::size_t n = std::min<std::size_t>(16, width - x);
    const __mmask64 bytes = n == 16 ? ~__mmask64{0} : (__mmask64{1} << (4 * n)) - 1;
    const __m512i v = _mm512_maskz_loadu_epi8(bytes, row + 4 * x);
    word |= uint64_t{~Transparent16Avx512(v, vectors) & ((1u << n) - 1)} << (x & 63);
    if ((x & 63) == 48) {
      out[x >> 6] = word;
      word = 0;
    }
  }
  return Finish(range, row, x, width, 4, word, out, words);
}

// Sixteen 3-byte pixels (48 bytes) as 4-byte lanes with a zero fourth byte: four pixels into each
// 128-bit quarter, then each pixel into its own lane.
struct Avx512Widen {
  __m512i quarters, lanes;
};

__attribute__((target("avx512f,avx512bw,popcnt"))) inline Avx512Widen MakeAvx512Widen() {
  constexpr char Z = -128;  // a shuffle index with the top bit set yields 0
  return {_mm512_setr_epi32(0, 1, 2, 2, 3, 4, 5, 5, 6, 7, 8, 8, 9, 10, 11, 11),
          _mm512_maskz_broadcast_i32x4(
              kAll16, _mm_setr_epi8(0, 1, 2, Z, 3, 4, 5, Z, 6, 7, 8, Z, 9, 10, 11, Z))};
}

__attribute__((target("avx512f,avx512bw,popcnt"))) inline __m512i Widen(__m512i v,
                                                                        const Avx512Widen& w) {
  return _mm512_shuffle_epi8(_mm512_maskz_permutexvar_epi32(kAll16, w.quarters, v), w.lanes);
}

__attribute__((target("avx512f,avx512bw,popcnt"))) uint64_t Mask24Avx512(const KeyRange& range,
                                                                         const uint8_t* row,
                                                                         std::size_t width,
                                                                         uint64_t* out,
                                                                         std::size_t words) {
  const Avx512Range vectors = LoadAvx512Range(range);
  const Avx512Widen widen = MakeAvx512Widen();
  const __mmask64 sixteen = (__mmask64{1} << 48) - 1;
  std::size_t x = 0;
  for (; x + 64 <= width; x += 64) {
    uint64_t clear = 0;
    for (int i = 0; i < 4; ++i) {
      const __m512i v = _mm512_maskz_loadu_epi8(sixteen, row + 3 * x + 48 * i);
      clear |= uint64_t{Transparent16Avx512(Widen(v, widen), vectors)} << (16 * i);
    }
    out[x >> 6] = ~clear;
  }
  uint64_t word = 0;
  for (; x < width; x += 16) {
    const std::size_t n = std::min<std::size_t>(16, width - x);
    const __m512i v = _mm512_maskz_loadu_epi8((__mmask64{1} << (3 * n)) - 1, row + 3 * x);
    word |= uint64_t{~Transparent16Avx512(Widen(v, widen), vectors) & ((1u << n) - 1)} << (x & 63);
    if ((x & 63) == 48) {
      out[x >> 6] = word;
      word = 0;
    }
  }
  return Finish(range, row, x, width, 3, word, out, words);
}
#endif
#endif

std::vector<KeyMaskKernels> FindKernels() {
  std::vector<KeyMaskKernels> kernels{{"portable", Mask24Portable, Mask32Portable}};
#ifdef ZELVO_HAVE_X86_MASK
  __builtin_cpu_init();
  if (__builtin_cpu_supports("sse2")) kernels.push_back({"sse2", Mask24Sse2, Mask32Sse2});
  if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt"))
    kernels.push_back({"avx2", Mask24Avx2, Mask32Avx2});
#ifdef ZELVO_HAVE_AVX512_MASK
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
      __builtin_cpu_supports("popcnt"))
    kernels.push_back({"avx512", Mask24Avx512, Mask32Avx512});
#endif
#endif
  return kernels;
}

const std::vector<KeyMaskKernels>& Kernels() {
  static const std::vector<KeyMaskKernels> kernels = FindKernels();
  return kernels;
}

}  // namespace

std::span<const KeyMaskKernels> AvailableKeyMaskKernels() { return Kernels(); }

uint64_t MaskKeyRow(const KeyRange& range, const uint8_t* row, std::size_t width,
                    int bytes_per_pixel, uint64_t* out, std::size_t words) {
  static const KeyMaskKernels best = Kernels().back();
  return bytes_per_pixel == 4 ? best.mask32(range, row, width, out, words)
                              : best.mask24(range, row, width, out, words);
}

}  // namespace zelvo
