// Memory for large blocks: a block of every size the helper treats differently (small, advised
// inside, placed on whole huge pages with its size rounded up) holds all the bytes asked for, and
// a request for nothing still gives a block that std::free takes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "common/large_memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

constexpr size_t kMiB = size_t{1} << 20;

using Block = std::unique_ptr<uint8_t[], common::FreeDeleter>;

TEST(LargeMemory, ZeroBytesGiveDistinctFreeableBlocks) {
  Block first(static_cast<uint8_t*>(common::allocate_large(0)));
  Block second(static_cast<uint8_t*>(common::allocate_large(0)));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  // Two live blocks: a shared static address would be freed twice.
  EXPECT_NE(first.get(), second.get());
}

TEST(LargeMemory, EveryByteOfALargeBlockIsWritable) {
  // Below two huge pages; advised inside; the first size placed on huge pages; one rounded up.
  for (size_t bytes : {kMiB + 1, 5 * kMiB + 123, 32 * kMiB, 33 * kMiB + 7}) {
    SCOPED_TRACE(bytes);
    Block block(static_cast<uint8_t*>(common::allocate_large(bytes)));
    ASSERT_NE(block, nullptr);
#if defined(__GLIBC__)
    // Without the sanitizers a block cut short would not fault on the writes below.
    EXPECT_GE(malloc_usable_size(block.get()), bytes);
#endif
    for (size_t i = 0; i < bytes; ++i) block[i] = static_cast<uint8_t>(i % 251);
    size_t wrong = 0;
    for (size_t i = 0; i < bytes; ++i) wrong += block[i] != static_cast<uint8_t>(i % 251);
    EXPECT_EQ(wrong, 0u);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // A block the C library maps afresh starts on a huge page, so that all of it can be huge pages.
    if (bytes >= 32 * kMiB) {
      EXPECT_EQ(reinterpret_cast<uintptr_t>(block.get()) % (2 * kMiB), 0u);
    }
#endif
  }
}

}  // namespace
