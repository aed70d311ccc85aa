#include "handle_table.h"

#include <deque>
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
  std::deque<uint32_t> free_slots;                 // oldest first
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
  if (t.free_slots.size() > kReuseDelay || (full && !t.free_slots.empty())) {
    index = t.free_slots.front();
    t.free_slots.pop_front();
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
