#include "handle_table.h"

#include <vector>

namespace plat {
namespace {

constexpr uint32_t kIndexBits = 16;
constexpr uint32_t kIndexMask = (1u << kIndexBits) - 1;
constexpr uint32_t kGenerationMask = 0xFFFFu;
// A freed slot is reused only while more than this many others wait: a program that creates and
// deletes one object at a time then walks through this many slots, and a slot's 16-bit generation
// wraps only after 65,536 x 1,025 (about 67 million) such cycles.
constexpr size_t kReuseDelay = 1024;

struct Slot {
  std::unique_ptr<Object> object;
  uint32_t generation = 1;
};

struct Table {
  std::vector<Slot> slots = std::vector<Slot>(1);  // slot 0 stays empty so no handle is 0
  // Freed slots, oldest first from `free_head`; the consumed front is dropped now and then.
  std::vector<uint32_t> free_slots;
  size_t free_head = 0;

  size_t free_count() const { return free_slots.size() - free_head; }
  uint32_t take_oldest_free() {
    uint32_t index = free_slots[free_head++];
    if (free_head >= 4096 && free_head * 2 >= free_slots.size()) {
      free_slots.erase(free_slots.begin(), free_slots.begin() + static_cast<ptrdiff_t>(free_head));
      free_head = 0;
    }
    return index;
  }
};

Table& table() {
  static Table t;
  return t;
}

HANDLE make_handle(uint32_t index, uint32_t generation) {
  return (generation << kIndexBits) | index;
}

}  // namespace

HANDLE handle_insert(std::unique_ptr<Object> object) {
  Table& t = table();
  uint32_t index;
  // Slots 1 to kMaxHandles: index 0xFFFF never appears, so neither does the value 0xFFFFFFFF.
  const bool full = t.slots.size() > kMaxHandles;
  if (t.free_count() > kReuseDelay || (full && t.free_count() > 0)) {
    index = t.take_oldest_free();
  } else {
    if (full) return 0;
    index = static_cast<uint32_t>(t.slots.size());
    t.slots.emplace_back();
  }
  Slot& slot = t.slots[index];
  slot.object = std::move(object);
  return make_handle(index, slot.generation);
}

Object* handle_get(HANDLE h) {
  Table& t = table();
  uint32_t index = h & kIndexMask;
  uint32_t generation = h >> kIndexBits;
  if (index == 0 || index >= t.slots.size()) return nullptr;
  Slot& slot = t.slots[index];
  if (!slot.object || slot.generation != generation) return nullptr;
  return slot.object.get();
}

Object* handle_get(HANDLE h, Kind kind) {
  Object* o = handle_get(h);
  return (o && o->kind == kind) ? o : nullptr;
}

std::unique_ptr<Object> handle_remove(HANDLE h) {
  if (!handle_get(h)) return nullptr;
  Table& t = table();
  uint32_t index = h & kIndexMask;
  Slot& slot = t.slots[index];
  std::unique_ptr<Object> out = std::move(slot.object);
  slot.generation = (slot.generation + 1) & kGenerationMask;
  t.free_slots.push_back(index);
  return out;
}

size_t handle_count(Kind kind) {
  size_t n = 0;
  for (const Slot& s : table().slots)
    if (s.object && s.object->kind == kind) ++n;
  return n;
}

}  // namespace plat
