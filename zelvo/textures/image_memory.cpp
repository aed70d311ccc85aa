// Memory for decoded images.
#include "image_memory.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace zelvo {

uint8_t* AllocateImage(std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::size_t kHugePage = std::size_t{2} << 20;
  // From this size on the C library always maps fresh memory for a block, so it is placed on
  // whole huge pages. A smaller block may be memory the library reuses, already in place: only the
  // huge pages inside it are advised, which helps when it is fresh and costs nothing when not.
  constexpr std::size_t kAlwaysFresh = std::size_t{32} << 20;
  if (bytes >= kAlwaysFresh && bytes <= SIZE_MAX - kHugePage) {
    // aligned_alloc wants a multiple of the alignment; the rounding adds less than one page.
    const std::size_t rounded = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    if (void* p = std::aligned_alloc(kHugePage, rounded)) {
      madvise(p, rounded, MADV_HUGEPAGE);  // only advice: without huge pages it still works
      return static_cast<uint8_t*>(p);
    }
  }
  void* p = std::malloc(bytes);
  if (p && bytes >= 2 * kHugePage) {
    const std::uintptr_t first =
        (reinterpret_cast<std::uintptr_t>(p) + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~(kHugePage - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
  }
  return static_cast<uint8_t*>(p);
#else
  return static_cast<uint8_t*>(std::malloc(bytes));
#endif
}

}  // namespace zelvo
