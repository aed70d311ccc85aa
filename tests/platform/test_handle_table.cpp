#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "gdi_internal.h"
#include "handle_table.h"

namespace {

template <plat::Kind K>
struct ThingOf : plat::Object {
  static constexpr plat::Kind kKind = K;
  explicit ThingOf(int v) : Object(kKind), value(v) {}
  int value;
};
using Thing = ThingOf<plat::Kind::Brush>;
using Unquoted = ThingOf<plat::Kind::Global>;  // counts against no quota, like global memory

TEST(HandleTable, StaleAndForeignHandlesAreRefused) {
  HANDLE a = plat::handle_insert(std::make_unique<Thing>(7));
  ASSERT_NE(a, 0u);
  ASSERT_NE(plat::handle_cast<Thing>(a), nullptr);
  EXPECT_EQ(plat::handle_cast<Thing>(a)->value, 7);
  EXPECT_EQ(plat::handle_get(a, plat::Kind::Window), nullptr);

  EXPECT_NE(plat::handle_remove(a), nullptr);
  EXPECT_EQ(plat::handle_get(a), nullptr);
  EXPECT_EQ(plat::handle_remove(a), nullptr);

  // The old handle does not reach the object created after it.
  HANDLE b = plat::handle_insert(std::make_unique<Thing>(8));
  EXPECT_NE(a, b);
  EXPECT_EQ(plat::handle_get(a), nullptr);
  EXPECT_EQ(plat::handle_cast<Thing>(b)->value, 8);
  plat::handle_remove(b);
  EXPECT_EQ(plat::handle_get(0), nullptr);
}

TEST(HandleTable, GenerationsNeverProduceHandleZero) {
  const size_t stock = plat::handle_count(plat::Kind::Brush);
  for (int i = 0; i < 10000; ++i) {
    HANDLE h = plat::handle_insert(std::make_unique<Thing>(i));
    ASSERT_NE(h, 0u);
    plat::handle_remove(h);
  }
  EXPECT_EQ(plat::handle_count(plat::Kind::Brush), stock);
}

// A program that creates and deletes one object at a time must never see an old handle name a new
// object: with last-in-first-out reuse and a 12-bit generation that happened after 4,094 cycles.
TEST(HandleTable, AStaleHandleNeverRevivesInAMillionCycles) {
  HANDLE live = plat::handle_insert(std::make_unique<Thing>(42));
  HANDLE first = plat::handle_insert(std::make_unique<Thing>(0));
  ASSERT_NE(plat::handle_remove(first), nullptr);
  for (int i = 1; i <= 1000000; ++i) {
    HANDLE h = plat::handle_insert(std::make_unique<Thing>(i));
    ASSERT_NE(h, 0u);
    ASSERT_NE(h, first) << "cycle " << i;
    ASSERT_NE(plat::handle_remove(h), nullptr);
  }
  EXPECT_EQ(plat::handle_get(first), nullptr);
  EXPECT_EQ(plat::handle_remove(first), nullptr);
  ASSERT_NE(plat::handle_cast<Thing>(live), nullptr);
  EXPECT_EQ(plat::handle_cast<Thing>(live)->value, 42);
  plat::handle_remove(live);
}

// The same through the Windows calls: DeleteObject with the handle of a region deleted long ago
// fails and leaves the region that now lives alone.
TEST(HandleTable, DeleteObjectOfAStaleRegionLeavesTheLiveOneAlone) {
  HRGN stale = CreateRectRgn(0, 0, 1, 1);
  ASSERT_NE(stale, 0u);
  ASSERT_TRUE(DeleteObject(stale));
  HRGN live = 0;
  for (int i = 0; i < 1000000; ++i) {
    HRGN r = CreateRectRgn(0, 0, 2 + i % 7, 3);
    ASSERT_NE(r, 0u);
    ASSERT_NE(r, stale) << "cycle " << i;
    if (i == 500000) {
      live = r;  // kept alive through the second half
    } else {
      ASSERT_TRUE(DeleteObject(r));
    }
  }
  EXPECT_FALSE(DeleteObject(stale));
  RECT box{};
  ASSERT_EQ(GetRgnBox(live, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 2 + 500000 % 7);
  EXPECT_EQ(box.bottom, 3);
  EXPECT_TRUE(DeleteObject(live));
}

// Objects of no quota fill the whole table: every handle distinct, none 0 or the special window
// value 0xFFFFFFFF, and a full table refuses instead of reusing.
TEST(HandleTable, HoldsTheWindowsQuotaAndRefusesWhenFull) {
  std::vector<HANDLE> handles;
  std::set<HANDLE> distinct;
  for (;;) {
    HANDLE h = plat::handle_insert(std::make_unique<Unquoted>(static_cast<int>(handles.size())));
    if (h == 0) break;
    ASSERT_NE(h, 0xFFFFFFFFu);
    handles.push_back(h);
    distinct.insert(h);
  }
  EXPECT_GE(handles.size(), 2 * plat::kQuotaLimit);
  EXPECT_EQ(distinct.size(), handles.size());
  EXPECT_EQ(plat::handle_count(Unquoted::kKind), handles.size());
  // A freed slot of a full table is given out again at once.
  int middle = static_cast<int>(handles.size() / 2);
  ASSERT_NE(plat::handle_remove(handles[middle]), nullptr);
  HANDLE again = plat::handle_insert(std::make_unique<Unquoted>(-1));
  ASSERT_NE(again, 0u);
  EXPECT_EQ(plat::handle_get(handles[middle]), nullptr);
  EXPECT_EQ(plat::handle_cast<Unquoted>(handles[middle + 1])->value, middle + 1);
  handles[middle] = again;
  for (HANDLE h : handles) ASSERT_NE(plat::handle_remove(h), nullptr);
  EXPECT_EQ(plat::handle_count(Unquoted::kKind), 0u);
}

// ---- Quotas and a full table, through the Windows calls ----

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  return DefWindowProcA(h, m, w, l);
}

constexpr const char* kWindowClass = "HandleQuotaWindow";

struct Creator {
  const char* name;
  plat::Quota quota;
  std::function<HANDLE()> create;
  std::function<BOOL(HANDLE)> destroy;
};

const std::vector<Creator>& creators() {
  static const std::vector<Creator> all = [] {
    const auto delete_object = [](HANDLE h) { return DeleteObject(h); };
    return std::vector<Creator>{
        {"CreateRectRgn", plat::Quota::Gdi, [] { return CreateRectRgn(0, 0, 3, 4); },
         delete_object},
        {"CreateCompatibleDC(0)", plat::Quota::Gdi, [] { return CreateCompatibleDC(0); },
         [](HANDLE h) { return DeleteDC(h); }},
        {"CreateSolidBrush", plat::Quota::Gdi, [] { return CreateSolidBrush(RGB(1, 2, 3)); },
         delete_object},
        {"CreateBitmap", plat::Quota::Gdi, [] { return CreateBitmap(2, 2, 1, 32, nullptr); },
         delete_object},
        {"CreateWindowExA", plat::Quota::User,
         [] {
           return CreateWindowExA(0, kWindowClass, "", WS_POPUP, 0, 0, 10, 10, 0, 0, 0, nullptr);
         },
         [](HANDLE h) { return DestroyWindow(h); }},
        {"GlobalAlloc", plat::Quota::Neither, [] { return GlobalAlloc(GMEM_FIXED, 1); },
         [](HANDLE h) { return GlobalFree(h) == 0; }},
    };
  }();
  return all;
}

// Every test leaves no window behind: its class can be unregistered.
class HandleQuota : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = kWindowClass;
    ASSERT_TRUE(RegisterClassA(&wc));
  }
  void TearDown() override { EXPECT_TRUE(UnregisterClassA(kWindowClass, 0)); }
};

DWORD refusal_code(plat::Quota quota) { return quota == plat::Quota::User ? 1158u : 8u; }

// Creates until the call refuses (bounded by the table's size) and checks the refusal's code.
std::vector<HANDLE> fill(const Creator& c) {
  std::vector<HANDLE> made;
  for (size_t i = 0; i <= plat::kMaxHandles; ++i) {
    SetLastError(0);
    HANDLE h = c.create();
    if (!h) {
      EXPECT_EQ(GetLastError(), refusal_code(c.quota)) << c.name;
      return made;
    }
    made.push_back(h);
  }
  ADD_FAILURE() << c.name << " was never refused";
  return made;
}

void destroy_all(const Creator& c, std::vector<HANDLE>& made) {
  for (HANDLE h : made) EXPECT_TRUE(c.destroy(h)) << c.name;
  made.clear();
}

// Each class stops at 10,000 of its own objects, with the code Windows gives, for every kind of
// that class; the other class and unquoted objects are not held back; a freed place is taken again.
TEST_F(HandleQuota, EachClassStopsAtTenThousandWithItsCodeAndFreedPlacesAreTakenAgain) {
  const unsigned stock_selections =
      static_cast<plat::GdiObject*>(plat::handle_get(GetStockObject(WHITE_BRUSH)))->selections;
  for (const Creator& filler : creators()) {
    if (filler.quota == plat::Quota::Neither) continue;
    SCOPED_TRACE(filler.name);
    const size_t before = plat::handle_quota_used(filler.quota);
    std::vector<HANDLE> made = fill(filler);
    EXPECT_EQ(before + made.size(), plat::kQuotaLimit);
    for (const Creator& other : creators()) {
      SetLastError(0);
      HANDLE h = other.create();
      if (other.quota == filler.quota) {
        EXPECT_EQ(h, 0u) << other.name;
        EXPECT_EQ(GetLastError(), refusal_code(filler.quota)) << other.name;
      } else {
        EXPECT_NE(h, 0u) << other.name;
        if (h) {
          EXPECT_TRUE(other.destroy(h)) << other.name;
        }
      }
    }
    ASSERT_TRUE(filler.destroy(made.back()));
    made.back() = filler.create();
    EXPECT_NE(made.back(), 0u);
    destroy_all(filler, made);
    EXPECT_EQ(plat::handle_quota_used(filler.quota), before);
  }
  // Refused contexts hold nothing: the stock brush is selected exactly as before.
  EXPECT_EQ(
      static_cast<plat::GdiObject*>(plat::handle_get(GetStockObject(WHITE_BRUSH)))->selections,
      stock_selections);
}

// Filled with objects of no quota, the table refuses every kind with its class's code; stock
// objects were made before and stay usable.
TEST_F(HandleQuota, AFullTableRefusesEveryKindWithItsCode) {
  const Creator& global = creators().back();
  std::vector<HANDLE> blocks = fill(global);
  EXPECT_GT(blocks.size(), 2 * plat::kQuotaLimit);
  for (const Creator& c : creators()) {
    SetLastError(0);
    EXPECT_EQ(c.create(), 0u) << c.name;
    EXPECT_EQ(GetLastError(), refusal_code(c.quota)) << c.name;
  }
  EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), static_cast<DWORD>(OBJ_BRUSH));
  destroy_all(global, blocks);
}

// A table with one free place cycles one slot through all its generations: the region deleted at
// the start must never answer again. Past 65,535 cycles the slot is retired and creation refused.
TEST_F(HandleQuota, AStaleRegionStaysStaleThroughAFullTable) {
  const Creator& global = creators().back();
  std::vector<HANDLE> blocks = fill(global);
  ASSERT_TRUE(global.destroy(blocks.back()));
  blocks.pop_back();
  HRGN stale = CreateRectRgn(0, 0, 5, 5);
  ASSERT_NE(stale, 0u);
  ASSERT_TRUE(DeleteObject(stale));
  int made = 0, refused = 0;
  for (int cycle = 1; cycle <= 70000; ++cycle) {
    SetLastError(0);
    HRGN r = CreateRectRgn(0, 0, 1 + cycle % 9, 2);
    if (r) {
      ++made;
      ASSERT_NE(r, stale) << "cycle " << cycle;
    } else {
      ++refused;
      ASSERT_EQ(GetLastError(), 8u) << "cycle " << cycle;
    }
    RECT box{};
    ASSERT_EQ(GetRgnBox(stale, &box), ERROR) << "cycle " << cycle;
    if (r) {
      ASSERT_TRUE(DeleteObject(r));
    }
  }
  EXPECT_GE(made, 65000);  // the one place served nearly all its generations before retiring
  EXPECT_GT(refused, 0);
  destroy_all(global, blocks);
}

TEST(LParamPointer, RoundTripsAndRejectsPlainValues) {
  int x = 5;
  LPARAM token = PtrToLParam(&x);
  EXPECT_EQ(LParamToPtr(token), &x);
  EXPECT_EQ(PtrToLParam(nullptr), 0);
  EXPECT_EQ(LParamToPtr(0), nullptr);
  EXPECT_EQ(LParamToPtr(MAKELPARAM(10, 20)), nullptr);
}

}  // namespace
