/// @file
/// Memory for large blocks (bitmaps, decoded images, global memory, region rectangles), released
/// with std::free like any malloc block.
///
/// Writing fresh memory the first time costs a page fault per page, and a fault per 4 KiB page can
/// cost far more than the write itself (tens of microseconds under some hypervisors); a large block
/// is advised so that the system may back it with 2 MiB pages, a fault each. Only advice: without
/// huge pages the block works all the same.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace common {

/// A block of `bytes` bytes, not cleared, to be released with std::free; null when there is no
/// memory. Zero bytes give a one-byte block, so that success is always a non-null pointer.
inline void* allocate_large(size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr size_t kHugePage = size_t{2} << 20;
  // From this size on the C library always maps fresh memory for a block, so it is placed on whole
  // huge pages. A smaller block may be memory the library reuses, already in place: only the huge
  // pages inside it are advised, which helps when it is fresh and costs nothing when not.
  constexpr size_t kAlwaysFresh = size_t{32} << 20;
  if (bytes >= kAlwaysFresh && bytes <= SIZE_MAX - kHugePage) {
    // aligned_alloc wants a multiple of the alignment; the rounding adds less than one page.
    const size_t rounded = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    if (void* p = std::aligned_alloc(kHugePage, rounded)) {
      madvise(p, rounded, MADV_HUGEPAGE);
      return p;
    }
  }
  void* p = std::malloc(bytes ? bytes : 1);
  if (p && bytes >= 2 * kHugePage) {
    const uintptr_t first = (reinterpret_cast<uintptr_t>(p) + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t last = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(kHugePage - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
  }
  return p;
#else
  return std::malloc(bytes ? bytes : 1);
#endif
}

/// std::free, for the owners of such blocks (std::unique_ptr's deleter).
struct FreeDeleter {
  /// Releases `p` (null is allowed).
  void operator()(void* p) const { std::free(p); }
};

}  // namespace common
