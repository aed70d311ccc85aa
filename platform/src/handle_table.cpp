#include "handle_table.h"

#include <vector>

namespace plat {
namespace {

constexpr uint32_t kIndexBits = 20;
constexpr uint32_t kIndexMask = (1u << kIndexBits) - 1;
constexpr uint32_t kGenerationMask = 0xFFFu;

struct Slot {
  std::unique_ptr<Object> object;
  uint32_t generation = 1;
};

struct Table {
  std::vector<Slot> slots = std::vector<Slot>(1);  // slot 0 stays empty so no handle is 0
  std::vector<uint32_t> free_list;
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
  if (!t.free_list.empty()) {
    index = t.free_list.back();
    t.free_list.pop_back();
  } else {
    if (t.slots.size() > kIndexMask) return 0;
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
  // Generation 0 is skipped so that slot 0 generation 0 (handle 0) can never be produced.
  slot.generation = (slot.generation + 1) & kGenerationMask;
  if (slot.generation == 0) slot.generation = 1;
  t.free_list.push_back(index);
  return out;
}

size_t handle_count(Kind kind) {
  size_t n = 0;
  for (const Slot& s : table().slots)
    if (s.object && s.object->kind == kind) ++n;
  return n;
}

}  // namespace plat
