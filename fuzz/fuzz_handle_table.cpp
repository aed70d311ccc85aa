// The handle table under a random sequence of calls: create (one at a time and in floods up to the
// GDI quota), delete, use and misuse regions, brushes, memory contexts and global memory blocks. A
// model of the live handles says what each call must return: a live handle answers with what it
// was made with, a deleted one never answers again (also handles deleted by earlier inputs, kept
// across runs, so that slots go through many generations), and creation is refused with
// ERROR_NOT_ENOUGH_MEMORY exactly when 10,000 GDI objects are live. Needs no display.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <unordered_set>
#include <vector>

#include "handle_table.h"

namespace {

enum Kind : uint8_t { kRegion, kBrush, kMemoryDc, kGlobal, kKinds };

constexpr size_t kMaxGlobals = 20000;  // far below the table's size: only the GDI quota refuses
constexpr size_t kMaxDead = size_t{1} << 16;

struct Handle {
  HANDLE h;
  Kind kind;
  uint8_t value;
};

// Deleted handles of all inputs so far, oldest first, and the same as a set.
std::deque<Handle> g_dead;
std::unordered_set<HANDLE> g_dead_set;

bool is_gdi(Kind k) { return k != kGlobal; }

HANDLE create(Kind kind, uint8_t value) {
  switch (kind) {
    case kRegion:
      return CreateRectRgn(0, 0, 1 + value, 2 + value / 2);
    case kBrush:
      return CreateSolidBrush(RGB(value, 255 - value, 7));
    case kMemoryDc:
      return CreateCompatibleDC(0);
    default: {
      HGLOBAL g = GlobalAlloc(GMEM_FIXED, 1 + value);
      if (g) {
        *static_cast<uint8_t*>(GlobalLock(g)) = value;
        GlobalUnlock(g);
      }
      return g;
    }
  }
}

bool destroy(const Handle& x) {
  switch (x.kind) {
    case kMemoryDc:
      return DeleteDC(x.h);
    case kGlobal:
      return GlobalFree(x.h) == 0;
    default:
      return DeleteObject(x.h);
  }
}

// Whether the handle answers as the object the model says it is.
bool answers(const Handle& x) {
  switch (x.kind) {
    case kRegion: {
      RECT box{};
      return GetRgnBox(x.h, &box) == SIMPLEREGION && box.right == 1 + x.value &&
             box.bottom == 2 + x.value / 2;
    }
    case kBrush:
      return GetObjectType(x.h) == OBJ_BRUSH;
    case kMemoryDc:
      return GetObjectType(x.h) == OBJ_MEMDC;
    default: {
      if (GlobalSize(x.h) != SIZE_T{1} + x.value) return false;
      const bool same = *static_cast<uint8_t*>(GlobalLock(x.h)) == x.value;
      GlobalUnlock(x.h);
      return same;
    }
  }
}

// A deleted handle must fail every call, whatever kind of object now has its slot.
bool answers_at_all(const Handle& x) {
  RECT box{};
  return GetObjectType(x.h) != 0 || GetRgnBox(x.h, &box) != ERROR || GlobalSize(x.h) != 0;
}

class Run {
 public:
  Run(const uint8_t* data, size_t size) : data_(data), size_(size) {
    gdi_baseline_ = plat::handle_quota_used(plat::Quota::Gdi);
  }

  void Go() {
    while (pos_ < size_) Step(Next() % 6);
    while (!live_.empty()) Delete(live_.size() - 1);
    Check(plat::handle_quota_used(plat::Quota::Gdi) == gdi_baseline_);
  }

 private:
  static void Check(bool ok) {
    if (!ok) __builtin_trap();
  }
  uint8_t Next() { return pos_ < size_ ? data_[pos_++] : 0; }
  size_t Pick(size_t n) { return (static_cast<size_t>(Next()) << 8 | Next()) % n; }

  void Create(Kind kind, uint8_t value) {
    if (kind == kGlobal && globals_ >= kMaxGlobals) return;
    const bool refuse = is_gdi(kind) && gdi_baseline_ + gdi_ == plat::kQuotaLimit;
    SetLastError(0);
    Handle x{create(kind, value), kind, value};
    if (refuse) {
      Check(x.h == 0 && GetLastError() == ERROR_NOT_ENOUGH_MEMORY);
      return;
    }
    Check(x.h != 0 && g_dead_set.count(x.h) == 0);  // no handle is ever given out twice
    live_.push_back(x);
    ++(is_gdi(kind) ? gdi_ : globals_);
  }

  void Delete(size_t i) {
    Handle x = live_[i];
    Check(destroy(x));
    live_[i] = live_.back();
    live_.pop_back();
    --(is_gdi(x.kind) ? gdi_ : globals_);
    g_dead.push_back(x);
    g_dead_set.insert(x.h);
    if (g_dead.size() > kMaxDead) {
      g_dead_set.erase(g_dead.front().h);
      g_dead.pop_front();
    }
  }

  void Step(uint8_t op) {
    switch (op) {
      case 0:
        Create(static_cast<Kind>(Next() % kKinds), Next());
        break;
      case 1: {  // a flood of one kind, up to 16,384 objects: enough to reach the GDI quota
        const Kind kind = static_cast<Kind>(Next() % kKinds);
        const size_t n = (size_t{Next()} + 1) * 64;
        for (size_t k = 0; k < n; ++k) Create(kind, static_cast<uint8_t>(k));
        break;
      }
      case 2:
        if (!live_.empty()) Delete(Pick(live_.size()));
        break;
      case 3:
        if (!live_.empty()) Check(answers(live_[Pick(live_.size())]));
        break;
      case 4:
        if (!g_dead.empty()) Check(!answers_at_all(g_dead[Pick(g_dead.size())]));
        break;
      default:
        if (!g_dead.empty()) {
          const Handle& d = g_dead[Pick(g_dead.size())];
          Check(!destroy(d));
        }
        break;
    }
  }

  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  size_t gdi_baseline_ = 0;
  size_t gdi_ = 0, globals_ = 0;
  std::vector<Handle> live_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Run(data, size).Go();
  return 0;
}
