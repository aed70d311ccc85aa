/// @file
/// Colour-key masks of 24- and 32-bit pixel rows, one bit per pixel, set where a pixel lies outside
/// the key range, with the count of opaque runs. Vector versions are chosen once, by what the
/// processor offers; the plain loop is the reference and the fallback.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zelvo {

/// The transparent range of each channel, key .. key + tolerance clamped at 255, laid out as the
/// bytes of whole runs of pixels so that vector versions load it as it is. Unsigned wrap-around
/// turns each "low <= v <= low + span" into one comparison: v - low <= span (mod 256).
struct KeyRange {
  /// The range of `key` (0x00BBGGRR, a COLORREF) widened by `tolerance`.
  KeyRange(uint32_t key, uint8_t tolerance);

  /// True when the pixel at `p` (bytes blue, green, red) lies in the range on all three channels.
  bool Transparent(const uint8_t* p) const {
    return uint8_t(p[0] - low24[0]) <= span24[0] && uint8_t(p[1] - low24[1]) <= span24[1] &&
           uint8_t(p[2] - low24[2]) <= span24[2];
  }

  /// Lows and spans of 64 pixels of 3 bytes (blue, green, red repeated) and of 16 pixels of 4
  /// bytes, whose fourth byte has low 0 and span 255: it never matters.
  alignas(64) uint8_t low24[192], span24[192], low32[64], span32[64];
};

/// One set of mask functions. Each writes the bits of the `width` pixels at `row` (3 or 4 bytes
/// each, no alignment needed) into `out`, `words` 64-bit words (more than width / 64; the bits past
/// the row clear), and returns the number of opaque runs: a run starts where an opaque pixel
/// follows a transparent one or the start of the row.
struct KeyMaskKernels {
  const char* name;  ///< for test messages
  uint64_t (*mask24)(const KeyRange& range, const uint8_t* row, std::size_t width, uint64_t* out,
                     std::size_t words);  ///< 3-byte pixels
  uint64_t (*mask32)(const KeyRange& range, const uint8_t* row, std::size_t width, uint64_t* out,
                     std::size_t words);  ///< 4-byte pixels
};

/// Every set this processor can run, the portable one first; MaskKeyRow uses the last.
std::span<const KeyMaskKernels> AvailableKeyMaskKernels();

/// The mask of one row of `bytes_per_pixel` (3 or 4) bytes per pixel, as the kernels above.
uint64_t MaskKeyRow(const KeyRange& range, const uint8_t* row, std::size_t width,
                    int bytes_per_pixel, uint64_t* out, std::size_t words);

}  // namespace zelvo
