// Blue/red exchange of packed pixels.
#include "pixel_swap.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZELVO_HAVE_SSSE3_SWAP 1
#endif

namespace zelvo {

namespace {

inline uint32_t Swap4(uint32_t p) {
  return (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
}

}  // namespace

void SwapRedBlue4(uint8_t* data, std::size_t pixels) { CopySwapRedBlue4(data, data, pixels); }

void CopySwapRedBlue4(uint8_t* dst, const uint8_t* src, std::size_t pixels) {
  for (std::size_t i = 0; i < pixels; ++i) {
    uint32_t p;
    std::memcpy(&p, src + 4 * i, 4);
    p = Swap4(p);
    std::memcpy(dst + 4 * i, &p, 4);
  }
}

namespace {

void SwapRedBlue3Scalar(uint8_t* data, std::size_t pixels) {
  for (std::size_t i = 0; i < pixels; ++i) {
    uint8_t* p = data + 3 * i;
    uint8_t b = p[0];
    p[0] = p[2];
    p[2] = b;
  }
}

#ifdef ZELVO_HAVE_SSSE3_SWAP
// 16 pixels (48 bytes, three vectors) per step. Pixels 5 and 10 straddle two vectors, so each
// output vector also takes a byte or two from its neighbours. The compiler cannot find this for
// 3-byte pixels, and the byte loop is four times slower.
__attribute__((target("ssse3"))) void SwapRedBlue3Ssse3(uint8_t* data, std::size_t pixels) {
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
    auto* p = reinterpret_cast<__m128i*>(data + 3 * i);
    const __m128i a = _mm_loadu_si128(p), b = _mm_loadu_si128(p + 1), c = _mm_loadu_si128(p + 2);
    const __m128i out_a =
        _mm_or_si128(_mm_shuffle_epi8(a, a_from_a), _mm_shuffle_epi8(b, a_from_b));
    const __m128i out_b =
        _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(b, b_from_b), _mm_shuffle_epi8(a, b_from_a)),
                     _mm_shuffle_epi8(c, b_from_c));
    const __m128i out_c =
        _mm_or_si128(_mm_shuffle_epi8(c, c_from_c), _mm_shuffle_epi8(b, c_from_b));
    _mm_storeu_si128(p, out_a);
    _mm_storeu_si128(p + 1, out_b);
    _mm_storeu_si128(p + 2, out_c);
  }
  SwapRedBlue3Scalar(data + 3 * i, pixels - i);
}
#endif

}  // namespace

void SwapRedBlue3(uint8_t* data, std::size_t pixels) {
#ifdef ZELVO_HAVE_SSSE3_SWAP
  static const bool ssse3 = __builtin_cpu_supports("ssse3");
  if (ssse3) return SwapRedBlue3Ssse3(data, pixels);
#endif
  SwapRedBlue3Scalar(data, pixels);
}

void CopySwapRedBlue3(uint8_t* dst, const uint8_t* src, std::size_t pixels) {
  for (std::size_t i = 0; i < pixels; ++i) {
    dst[3 * i] = src[3 * i + 2];
    dst[3 * i + 1] = src[3 * i + 1];
    dst[3 * i + 2] = src[3 * i];
  }
}

}  // namespace zelvo
