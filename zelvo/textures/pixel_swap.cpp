// Blue/red exchange of packed pixels.
#include "pixel_swap.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZELVO_HAVE_X86_SWAP 1
#endif

namespace zelvo {

namespace {

// The portable versions. Each pixel is read whole before it is written, so dst may equal src.
void CopySwap3Portable(uint8_t* dst, const uint8_t* src, std::size_t pixels) {
  for (std::size_t i = 0; i < pixels; ++i) {
    const uint8_t b = src[3 * i], g = src[3 * i + 1], r = src[3 * i + 2];
    dst[3 * i] = r;
    dst[3 * i + 1] = g;
    dst[3 * i + 2] = b;
  }
}

void CopySwap4Portable(uint8_t* dst, const uint8_t* src, std::size_t pixels) {
  for (std::size_t i = 0; i < pixels; ++i) {
    uint32_t p;
    std::memcpy(&p, src + 4 * i, 4);
    p = (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
    std::memcpy(dst + 4 * i, &p, 4);
  }
}

#ifdef ZELVO_HAVE_X86_SWAP
// 16 pixels (48 bytes, three vectors) per step. Pixels 5 and 10 straddle two vectors, so each
// output vector also takes a byte or two from its neighbours. All three are loaded before any is
// stored, so the swap may work in place.
__attribute__((target("ssse3"))) void CopySwap3Ssse3(uint8_t* dst, const uint8_t* src,
                                                     std::size_t pixels) {
  constexpr char Z = -128;  // a shuffle index with the top bit set yields 0
  const __m128i a_from_a = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, Z);
  const __m128i a_from_b = _mm_setr_epi8(Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, 1);
  const __m128i b_from_b = _mm_setr_epi8(0, Z, 4, 3, 2, 7, 6, 5, 10, 9, 8, 13, 12, 11, Z, 15);
  const __m128i b_from_a = _mm_setr_epi8(Z, 15, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z);
  const __m128i b_from_c = _mm_setr_epi8(Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, 0, Z);
  const __m128i c_from_c = _mm_setr_epi8(Z, 3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13);
  const __m128i c_from_b = _mm_setr_epi8(14, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z, Z);
  std::size_t i = 0;
  for (; i + 16 <= pixels; i += 16) {
    const auto* in = reinterpret_cast<const __m128i*>(src + 3 * i);
    auto* out = reinterpret_cast<__m128i*>(dst + 3 * i);
    const __m128i a = _mm_loadu_si128(in), b = _mm_loadu_si128(in + 1), c = _mm_loadu_si128(in + 2);
    const __m128i out_a =
        _mm_or_si128(_mm_shuffle_epi8(a, a_from_a), _mm_shuffle_epi8(b, a_from_b));
    const __m128i out_b =
        _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(b, b_from_b), _mm_shuffle_epi8(a, b_from_a)),
                     _mm_shuffle_epi8(c, b_from_c));
    const __m128i out_c =
        _mm_or_si128(_mm_shuffle_epi8(c, c_from_c), _mm_shuffle_epi8(b, c_from_b));
    _mm_storeu_si128(out, out_a);
    _mm_storeu_si128(out + 1, out_b);
    _mm_storeu_si128(out + 2, out_c);
  }
  CopySwap3Portable(dst + 3 * i, src + 3 * i, pixels - i);
}

// SSE2 alone: the two channels are masked out, shifted into each other's place and put back.
void CopySwap4Sse2(uint8_t* dst, const uint8_t* src, std::size_t pixels) {
  const __m128i keep = _mm_set1_epi32(int(0xFF00FF00u)), low = _mm_set1_epi32(0xFF);
  std::size_t i = 0;
  for (; i + 4 <= pixels; i += 4) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * i));
    const __m128i swapped = _mm_or_si128(_mm_and_si128(p, keep),
                                         _mm_or_si128(_mm_and_si128(_mm_srli_epi32(p, 16), low),
                                                      _mm_slli_epi32(_mm_and_si128(p, low), 16)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i), swapped);
  }
  CopySwap4Portable(dst + 4 * i, src + 4 * i, pixels - i);
}

__attribute__((target("avx2"))) void CopySwap4Avx2(uint8_t* dst, const uint8_t* src,
                                                   std::size_t pixels) {
  const __m256i order = _mm256_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15,  //
                                         2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
  std::size_t i = 0;
  for (; i + 16 <= pixels; i += 16) {
    const auto* in = reinterpret_cast<const __m256i*>(src + 4 * i);
    auto* out = reinterpret_cast<__m256i*>(dst + 4 * i);
    const __m256i a = _mm256_loadu_si256(in), b = _mm256_loadu_si256(in + 1);
    _mm256_storeu_si256(out, _mm256_shuffle_epi8(a, order));
    _mm256_storeu_si256(out + 1, _mm256_shuffle_epi8(b, order));
  }
  for (; i + 8 <= pixels; i += 8) {
    const auto* in = reinterpret_cast<const __m256i*>(src + 4 * i);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 4 * i),
                        _mm256_shuffle_epi8(_mm256_loadu_si256(in), order));
  }
  CopySwap4Portable(dst + 4 * i, src + 4 * i, pixels - i);
}

#if defined(ZELVO_HAVE_X86_SWAP) && !defined(_WIN32)  // mingw-w64 misaligns spilled 64-byte vectors
#define ZELVO_HAVE_AVX512_SWAP 1
// Byte-permutation indexes of 64-byte vectors.
template <int N>
struct SwapTables {
  uint8_t bytes[N][64];
};

// Twenty 3-byte pixels (60 bytes of a 64-byte vector) per step, exchanged within the vector by one
// byte permutation. Loads and stores are masked to the step's own bytes, so a step never touches
// the next one's (the swap may work in place) and the last, shorter step needs no other loop.
// The masked form with every lane kept: the plain one trips GCC 12's uninitialised-value warning
// inside its own header.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline __m512i Permute(__m512i index,
                                                                              __m512i p) {
  return _mm512_maskz_permutexvar_epi8(~__mmask64{0}, index, p);
}

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline __m512i Permute2(__m512i low,
                                                                               __m512i index,
                                                                               __m512i high) {
  return _mm512_maskz_permutex2var_epi8(~__mmask64{0}, low, index, high);
}

// 64 pixels (192 bytes) a step: each output vector is one byte permutation of a 128-byte window of
// the input that holds every byte it needs (the middle one from two unaligned loads). Every load
// comes before any store, so the swap may work in place. The rest goes twenty pixels (60 bytes of
// a vector) at a time with loads and stores masked to those bytes, the last step shorter.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void CopySwap3Avx512(uint8_t* dst,
                                                                            const uint8_t* src,
                                                                            std::size_t pixels) {
  // Output byte j (pixel j / 3, channel j % 3) is input byte j + 2 - 2 (j % 3); `from` is where
  // each output vector's window starts.
  // Tables made at compile time: a short literal packet of the RLE reader calls this for a few
  // pixels, and building them at each call cost more than the swap itself.
  alignas(64) static constexpr SwapTables<3> order = [] {
    SwapTables<3> t{};
    const int from[3] = {0, 63, 64};
    for (int v = 0; v < 3; ++v)
      for (int i = 0; i < 64; ++i) {
        const int j = 64 * v + i;
        t.bytes[v][i] = uint8_t(j + 2 - 2 * (j % 3) - from[v]);
      }
    return t;
  }();
  const __m512i index_a = _mm512_load_si512(order.bytes[0]),
                index_b = _mm512_load_si512(order.bytes[1]),
                index_c = _mm512_load_si512(order.bytes[2]);
  std::size_t i = 0;
  for (; i + 64 <= pixels; i += 64) {
    const uint8_t* in = src + 3 * i;
    const __m512i a = _mm512_loadu_si512(in), b = _mm512_loadu_si512(in + 64),
                  c = _mm512_loadu_si512(in + 128), b_low = _mm512_loadu_si512(in + 63),
                  b_high = _mm512_loadu_si512(in + 127);
    const __m512i out_a = Permute2(a, index_a, b), out_b = Permute2(b_low, index_b, b_high),
                  out_c = Permute2(b, index_c, c);
    _mm512_storeu_si512(dst + 3 * i, out_a);
    _mm512_storeu_si512(dst + 3 * i + 64, out_b);
    _mm512_storeu_si512(dst + 3 * i + 128, out_c);
  }
  alignas(64) static constexpr SwapTables<1> twenty = [] {
    SwapTables<1> t{};
    for (int k = 0; k < 64; ++k) t.bytes[0][k] = uint8_t(k < 60 ? k + 2 - 2 * (k % 3) : k);
    return t;
  }();
  const __m512i index = _mm512_load_si512(twenty.bytes[0]);
  for (; i < pixels; i += 20) {
    const std::size_t n = std::min<std::size_t>(20, pixels - i);
    const __mmask64 mask = (__mmask64{1} << (3 * n)) - 1;
    const __m512i p = _mm512_maskz_loadu_epi8(mask, src + 3 * i);
    _mm512_mask_storeu_epi8(dst + 3 * i, mask, Permute(index, p));
  }
}

// Sixteen 4-byte pixels per step; the same masking for the last step.
__attribute__((target("avx512f,avx512bw"))) void CopySwap4Avx512(uint8_t* dst, const uint8_t* src,
                                                                 std::size_t pixels) {
  alignas(64) static constexpr SwapTables<1> table = [] {
    SwapTables<1> t{};
    for (int i = 0; i < 64; ++i) t.bytes[0][i] = uint8_t(i - i % 4 + (i % 4 == 3 ? 3 : 2 - i % 4));
    return t;
  }();
  const __m512i order = _mm512_load_si512(table.bytes[0]);
  std::size_t i = 0;
  for (; i + 16 <= pixels; i += 16) {
    const __m512i p = _mm512_loadu_si512(src + 4 * i);
    _mm512_storeu_si512(dst + 4 * i, _mm512_shuffle_epi8(p, order));
  }
  if (i < pixels) {
    const __mmask64 rest = (__mmask64{1} << (4 * (pixels - i))) - 1;
    const __m512i p = _mm512_maskz_loadu_epi8(rest, src + 4 * i);
    _mm512_mask_storeu_epi8(dst + 4 * i, rest, _mm512_shuffle_epi8(p, order));
  }
}
#endif
#endif

std::vector<PixelSwapKernels> FindKernels() {
  std::vector<PixelSwapKernels> kernels{{"portable", CopySwap3Portable, CopySwap4Portable}};
#ifdef ZELVO_HAVE_X86_SWAP
  __builtin_cpu_init();
  if (__builtin_cpu_supports("sse2")) kernels.push_back({"sse2", CopySwap3Portable, CopySwap4Sse2});
  if (__builtin_cpu_supports("ssse3")) kernels.push_back({"ssse3", CopySwap3Ssse3, CopySwap4Sse2});
  if (__builtin_cpu_supports("ssse3") && __builtin_cpu_supports("avx2"))
    kernels.push_back({"avx2", CopySwap3Ssse3, CopySwap4Avx2});
#ifdef ZELVO_HAVE_AVX512_SWAP
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
      __builtin_cpu_supports("avx512vbmi"))
    kernels.push_back({"avx512", CopySwap3Avx512, CopySwap4Avx512});
#endif
#endif
  return kernels;
}

const std::vector<PixelSwapKernels>& Kernels() {
  static const std::vector<PixelSwapKernels> kernels = FindKernels();
  return kernels;
}

const PixelSwapKernels& Best() {
  static const PixelSwapKernels best = Kernels().back();
  return best;
}

}  // namespace

std::span<const PixelSwapKernels> AvailablePixelSwapKernels() { return Kernels(); }

void SwapRedBlue3(uint8_t* data, std::size_t pixels) { Best().copy3(data, data, pixels); }
void SwapRedBlue4(uint8_t* data, std::size_t pixels) { Best().copy4(data, data, pixels); }

void CopySwapRedBlue3(uint8_t* dst, const uint8_t* src, std::size_t pixels) {
  Best().copy3(dst, src, pixels);
}
void CopySwapRedBlue4(uint8_t* dst, const uint8_t* src, std::size_t pixels) {
  Best().copy4(dst, src, pixels);
}

}  // namespace zelvo
