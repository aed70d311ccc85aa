#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <vector>

#include "handle_table.h"

namespace {

struct Thing : plat::Object {
  static constexpr plat::Kind kKind = plat::Kind::Brush;
  explicit Thing(int v) : Object(kKind), value(v) {}
  int value;
};

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
  for (int i = 0; i < 10000; ++i) {
    HANDLE h = plat::handle_insert(std::make_unique<Thing>(i));
    ASSERT_NE(h, 0u);
    plat::handle_remove(h);
  }
  EXPECT_EQ(plat::handle_count(plat::Kind::Brush), 0u);
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

// Windows lets a process hold 10,000 GDI objects; the table holds many more, every handle distinct,
// none 0 or the special window value 0xFFFFFFFF, and a full table refuses instead of reusing.
TEST(HandleTable, HoldsTheWindowsQuotaAndRefusesWhenFull) {
  std::vector<HANDLE> handles;
  std::set<HANDLE> distinct;
  for (;;) {
    HANDLE h = plat::handle_insert(std::make_unique<Thing>(static_cast<int>(handles.size())));
    if (h == 0) break;
    ASSERT_NE(h, 0xFFFFFFFFu);
    handles.push_back(h);
    distinct.insert(h);
  }
  EXPECT_GE(handles.size(), 10000u);
  EXPECT_EQ(distinct.size(), handles.size());
  EXPECT_EQ(plat::handle_count(Thing::kKind), handles.size());
  // A freed slot of a full table is given out again at once.
  int middle = static_cast<int>(handles.size() / 2);
  ASSERT_NE(plat::handle_remove(handles[middle]), nullptr);
  HANDLE again = plat::handle_insert(std::make_unique<Thing>(-1));
  ASSERT_NE(again, 0u);
  EXPECT_EQ(plat::handle_get(handles[middle]), nullptr);
  EXPECT_EQ(plat::handle_cast<Thing>(handles[middle + 1])->value, middle + 1);
  handles[middle] = again;
  for (HANDLE h : handles) ASSERT_NE(plat::handle_remove(h), nullptr);
  EXPECT_EQ(plat::handle_count(Thing::kKind), 0u);
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
