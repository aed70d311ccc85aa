// Blue/red exchange of packed pixels.
#include "pixel_swap.h"

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
#endif

std::vector<PixelSwapKernels> FindKernels() {
  std::vector<PixelSwapKernels> kernels{{"portable", CopySwap3Portable, CopySwap4Portable}};
#ifdef ZELVO_HAVE_X86_SWAP
  __builtin_cpu_init();
  if (__builtin_cpu_supports("sse2")) kernels.push_back({"sse2", CopySwap3Portable, CopySwap4Sse2});
  if (__builtin_cpu_supports("ssse3")) kernels.push_back({"ssse3", CopySwap3Ssse3, CopySwap4Sse2});
  if (__builtin_cpu_supports("ssse3") && __builtin_cpu_supports("avx2"))
    kernels.push_back({"avx2", CopySwap3Ssse3, CopySwap4Avx2});
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
