#include "handle_table.h"

#include <vector>

#include "error_codes.h"

namespace plat {
namespace {

constexpr uint32_t kIndexBits = 16;
constexpr uint32_t kIndexMask = (1u << kIndexBits) - 1;
// Generations run from 1 to 0xFFFF; a slot freed at the last one is retired instead of reused, so
// no (slot, generation) pair is ever issued twice. 0xFFFE slots of 65,535 generations make about
// 4.29 billion creations in one run; once they are spent every creation is refused with the
// table's error code, as when it is full: a refusal the program can handle, never a handle that
// names an object it did not make.
constexpr uint32_t kLastGeneration = 0xFFFFu;
// A freed slot is reused only while more than this many others wait: a program that creates and
// deletes one object at a time then walks through this many slots, and uses up their generations
// only after 65,535 x 1,025 (about 67 million) such cycles. Once the table is full a freed slot is
// taken at once (there is no other); the generations keep every old handle of it stale.
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
  size_t quota_used[3] = {};  // live non-permanent objects of each Quota

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

// The quota slot an object takes, or nullptr when it counts against none.
size_t* quota_counter(Table& t, const Object& object) {
  const Quota q = quota_of(object.kind);
  if (object.permanent || q == Quota::Neither) return nullptr;
  return &t.quota_used[static_cast<size_t>(q)];
}

DWORD refusal_code(Kind kind) {
  return quota_of(kind) == Quota::User ? kErrorNoMoreUserHandles : kErrorNotEnoughMemory;
}

}  // namespace

Quota quota_of(Kind kind) {
  switch (kind) {
    case Kind::Window:
    case Kind::Cursor:
      return Quota::User;
    case Kind::DC:
    case Kind::Bitmap:
    case Kind::Palette:
    case Kind::Region:
    case Kind::Brush:
    case Kind::Pen:
    case Kind::Font:
      return Quota::Gdi;
    case Kind::GLContext:
    case Kind::Global:
      break;
  }
  return Quota::Neither;
}

HANDLE handle_insert(std::unique_ptr<Object> object) {
  Table& t = table();
  size_t* used = quota_counter(t, *object);
  if (used && *used >= kQuotaLimit) {
    SetLastError(refusal_code(object->kind));
    return 0;
  }
  uint32_t index;
  // Slots 1 to kMaxHandles: index 0xFFFF never appears, so neither does the value 0xFFFFFFFF.
  const bool full = t.slots.size() > kMaxHandles;
  if (t.free_count() > kReuseDelay || (full && t.free_count() > 0)) {
    index = t.take_oldest_free();
  } else if (!full) {
    index = static_cast<uint32_t>(t.slots.size());
    t.slots.emplace_back();
  } else {
    SetLastError(refusal_code(object->kind));
    return 0;
  }
  if (used) ++*used;
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
  if (size_t* used = quota_counter(t, *out)) --*used;
  if (slot.generation < kLastGeneration) {
    ++slot.generation;
    t.free_slots.push_back(index);
  }  // else the slot is retired: it stays empty, and every handle ever made of it stays stale
  return out;
}

size_t handle_count(Kind kind) {
  size_t n = 0;
  for (const Slot& s : table().slots)
    if (s.object && s.object->kind == kind) ++n;
  return n;
}

size_t handle_quota_used(Quota quota) { return table().quota_used[static_cast<size_t>(quota)]; }

}  // namespace plat
