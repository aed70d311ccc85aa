// Memory for decoded images.
#include "image_memory.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace zelvo {

uint8_t* AllocateImage(std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::size_t kHugePage = std::size_t{2} << 20;
  if (bytes >= kHugePage) {
    // aligned_alloc wants a multiple of the alignment; the rounding is at most one page more.
    const std::size_t rounded = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    if (rounded >= bytes) {
      if (void* p = std::aligned_alloc(kHugePage, rounded)) {
        madvise(p, rounded, MADV_HUGEPAGE);  // only advice: without huge pages it still works
        return static_cast<uint8_t*>(p);
      }
    }
  }
#endif
  return static_cast<uint8_t*>(std::malloc(bytes));
}

}  // namespace zelvo
