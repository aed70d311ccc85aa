// Global memory blocks behind handles: lock counts, reallocation that moves, freeing.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

namespace {

TEST(GlobalMemory, ReallocKeepsContentsAsItGrows) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 32 + 16 * 100);
  ASSERT_TRUE(h);
  EXPECT_EQ(GlobalSize(h), 1632u);
  auto* p = static_cast<uint8_t*>(GlobalLock(h));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 1632; ++i) p[i] = static_cast<uint8_t>(i * 7);
  EXPECT_FALSE(GlobalUnlock(h));
  EXPECT_EQ(GetLastError(), 0u);

  // Grow in steps as a rectangle buffer does; every step keeps what was there, whether the block
  // moved or grew where it was (GMEM_MOVEABLE allows a move, it does not ask for one: Wine's heap
  // sometimes has the room behind the block).
  for (int rects = 200; rects <= 2000; rects += 100) {
    const SIZE_T size = 32 + 16 * static_cast<SIZE_T>(rects);
    ASSERT_EQ(GlobalReAlloc(h, size, GMEM_MOVEABLE), h);
    EXPECT_EQ(GlobalSize(h), size);
    auto* q = static_cast<uint8_t*>(GlobalLock(h));
    for (int i = 0; i < 1632; ++i) ASSERT_EQ(q[i], static_cast<uint8_t>(i * 7));
    GlobalUnlock(h);
  }
  // Shrinking keeps the front.
  ASSERT_EQ(GlobalReAlloc(h, 10, GMEM_MOVEABLE), h);
  EXPECT_EQ(static_cast<uint8_t*>(GlobalLock(h))[9], 63);
  EXPECT_FALSE(GlobalFree(h));  // freeing a locked block is allowed
  EXPECT_EQ(GlobalFree(h), h);  // a second free fails with the handle
  EXPECT_EQ(GlobalLock(h), nullptr);
  EXPECT_EQ(GlobalSize(h), 0u);
  EXPECT_FALSE(GlobalReAlloc(h, 10, GMEM_MOVEABLE));
}

TEST(GlobalMemory, LockCountsAndZeroInit) {
  HGLOBAL h = GlobalAlloc(GHND, 64);
  auto* p = static_cast<uint8_t*>(GlobalLock(h));
  for (int i = 0; i < 64; ++i) ASSERT_EQ(p[i], 0);
  EXPECT_EQ(GlobalLock(h), p);   // a second lock, same place
  EXPECT_TRUE(GlobalUnlock(h));  // still locked once
  EXPECT_FALSE(GlobalUnlock(h));
  EXPECT_FALSE(GlobalUnlock(h));  // not locked any more
  EXPECT_EQ(GetLastError(), 158u);
  std::memset(GlobalLock(h), 0xAB, 64);
  GlobalUnlock(h);
  ASSERT_EQ(GlobalReAlloc(h, 128, GMEM_MOVEABLE | GMEM_ZEROINIT), h);
  auto* q = static_cast<uint8_t*>(GlobalLock(h));
  EXPECT_EQ(q[63], 0xAB);
  EXPECT_EQ(q[64], 0);
  EXPECT_EQ(q[127], 0);
  GlobalUnlock(h);
  GlobalFree(h);
}

TEST(GlobalMemory, FixedBlocksDoNotMoveWithoutPermission) {
  HGLOBAL h = GlobalAlloc(GMEM_FIXED, 16);
  ASSERT_TRUE(h);
  void* p = GlobalLock(h);
  EXPECT_FALSE(GlobalReAlloc(h, 1 << 20, 0));  // cannot grow in place
  EXPECT_EQ(GlobalSize(h), 16u);
  EXPECT_EQ(GlobalReAlloc(h, 8, 0), h);  // shrinking needs no move
  EXPECT_EQ(GlobalLock(h), p);
  // Allowed to move. A fixed block's handle is its address on Windows, so the block may come back
  // under a new handle; the caller goes on with the one returned.
  HGLOBAL moved = GlobalReAlloc(h, 1 << 20, GMEM_MOVEABLE);
  ASSERT_TRUE(moved);
  EXPECT_EQ(GlobalSize(moved), 1u << 20);
  GlobalFree(moved);
  EXPECT_TRUE(GlobalAlloc(GMEM_MOVEABLE, 0));  // an empty block is still a block
}

}  // namespace
