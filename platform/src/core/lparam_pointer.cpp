// Pointer tokens for 32-bit LPARAMs (see PtrToLParam in win/base.h).
#include <windows.h>

#include <array>

namespace {

// Tokens have the top bit set and count up through a ring; 0 stays the null pointer.
constexpr uint32_t kRing = 4096;
constexpr uint32_t kTag = 0x40000000u;

struct Ring {
  std::array<const void*, kRing> slots{};
  uint32_t next = 0;
};

thread_local Ring ring;

}  // namespace

LPARAM PtrToLParam(const void* pointer) {
  if (!pointer) return 0;
  uint32_t index = ring.next;
  ring.next = (ring.next + 1) % kRing;
  ring.slots[index] = pointer;
  return static_cast<LPARAM>(kTag | index);
}

void* LParamToPtr(LPARAM token) {
  uint32_t value = static_cast<uint32_t>(token);
  if ((value & ~(kRing - 1)) != kTag) return nullptr;
  return const_cast<void*>(ring.slots[value & (kRing - 1)]);
}
