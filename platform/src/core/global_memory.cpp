// Global memory blocks. Every block is reached through a handle, fixed or movable alike, since a
// 32-bit handle cannot be a 64-bit pointer. A movable block that grows always moves, so code that
// keeps a pointer across GlobalReAlloc fails loudly in testing instead of by luck.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "common/large_memory.h"
#include "error_codes.h"
#include "handle_table.h"

namespace plat {
namespace {

constexpr UINT kModify = 0x0080;  // GMEM_MODIFY: change the flags only

struct GlobalBlock : Object {
  static constexpr Kind kKind = Kind::Global;
  GlobalBlock() : Object(kKind) {}
  ~GlobalBlock() override { std::free(data); }
  uint8_t* data = nullptr;
  size_t size = 0;
  unsigned locks = 0;
  bool movable = false;
};

// A fresh allocation of `bytes` (at least one byte, so that a pointer exists).
uint8_t* allocate(size_t bytes, bool zero) {
  auto* p = static_cast<uint8_t*>(common::allocate_large(bytes));
  if (p && zero) std::memset(p, 0, bytes);
  return p;
}

GlobalBlock* block_of(HGLOBAL h) {
  GlobalBlock* block = handle_cast<GlobalBlock>(h);
  if (!block) SetLastError(kErrorInvalidHandle);
  return block;
}

}  // namespace
}  // namespace plat

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  auto block = std::make_unique<plat::GlobalBlock>();
  block->data = plat::allocate(bytes, flags & GMEM_ZEROINIT);
  if (!block->data) {
    SetLastError(plat::kErrorNotEnoughMemory);
    return 0;
  }
  block->size = bytes;
  block->movable = flags & GMEM_MOVEABLE;
  return plat::handle_insert(std::move(block));
}

// A movable block moves (locked or not, as GMEM_MOVEABLE allows); a block that may not move can
// only shrink. Contents up to the smaller size are kept; GMEM_ZEROINIT clears what is added.
HGLOBAL GlobalReAlloc(HGLOBAL h, SIZE_T bytes, UINT flags) {
  plat::GlobalBlock* block = plat::block_of(h);
  if (!block) return 0;
  if (flags & plat::kModify) {
    block->movable = flags & GMEM_MOVEABLE;
    return h;
  }
  const bool may_move = (flags & GMEM_MOVEABLE) || (block->movable && block->locks == 0);
  if (bytes <= block->size && !may_move) {
    block->size = bytes;
    return h;
  }
  if (!may_move) {
    SetLastError(plat::kErrorNotEnoughMemory);
    return 0;
  }
  uint8_t* data = plat::allocate(bytes, false);
  if (!data) {
    SetLastError(plat::kErrorNotEnoughMemory);
    return 0;
  }
  const size_t kept = bytes < block->size ? bytes : block->size;
  std::memcpy(data, block->data, kept);
  if (bytes > kept && (flags & GMEM_ZEROINIT)) std::memset(data + kept, 0, bytes - kept);
  std::free(block->data);
  block->data = data;
  block->size = bytes;
  return h;
}

LPVOID GlobalLock(HGLOBAL h) {
  plat::GlobalBlock* block = plat::block_of(h);
  if (!block) return nullptr;
  ++block->locks;
  return block->data;
}

// TRUE while the block stays locked; FALSE when this was the last lock (last error 0) or the block
// was not locked (ERROR_NOT_LOCKED).
BOOL GlobalUnlock(HGLOBAL h) {
  plat::GlobalBlock* block = plat::block_of(h);
  if (!block) return FALSE;
  if (block->locks == 0) {
    SetLastError(plat::kErrorNotLocked);
    return FALSE;
  }
  if (--block->locks > 0) return TRUE;
  SetLastError(0);
  return FALSE;
}

// 0 on success (also for a locked block); the handle itself on failure.
HGLOBAL GlobalFree(HGLOBAL h) {
  if (!plat::block_of(h)) return h;
  plat::handle_remove(h);
  return 0;
}

SIZE_T GlobalSize(HGLOBAL h) {
  plat::GlobalBlock* block = plat::block_of(h);
  return block ? block->size : 0;
}
