// Memory for large blocks (bitmaps, global memory, region rectangles), released with std::free
// like any malloc block. Writing fresh memory the first time costs a page fault per page, and a
// fault per 4 KiB page can cost far more than the write itself (tens of microseconds under some
// hypervisors); a block of several huge pages is placed and advised so that the system may back it
// with 2 MiB pages, a fault each. Only advice: without huge pages the block works all the same.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace plat {

inline void* allocate_large(size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr size_t kHugePage = size_t{2} << 20;
  if (bytes >= 2 * kHugePage && bytes <= SIZE_MAX - kHugePage) {
    // aligned_alloc wants a multiple of the alignment; the rounding adds less than one page.
    const size_t rounded = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    if (void* p = std::aligned_alloc(kHugePage, rounded)) {
      madvise(p, rounded, MADV_HUGEPAGE);
      return p;
    }
  }
#endif
  return std::malloc(bytes ? bytes : 1);
}

// std::free for the owners of such blocks.
struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

}  // namespace plat
