#include <gtest/gtest.h>

#include "../../platform/src/handle_table.h"

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

  // The slot is reused, but the old handle still does not reach the new object.
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

TEST(LParamPointer, RoundTripsAndRejectsPlainValues) {
  int x = 5;
  LPARAM token = PtrToLParam(&x);
  EXPECT_EQ(LParamToPtr(token), &x);
  EXPECT_EQ(PtrToLParam(nullptr), 0);
  EXPECT_EQ(LParamToPtr(0), nullptr);
  EXPECT_EQ(LParamToPtr(MAKELPARAM(10, 20)), nullptr);
}

}  // namespace
