// SetWindowRgn: the X window's shape read back with XShapeGetRectangles; the window owns its
// region.
#include <gtest/gtest.h>
// Xlib's macros after GoogleTest.
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

#include <algorithm>

#include "handle_table.h"
#include "message_log.h"
#include "real_input.h"
#include "window_internal.h"
#include "x_display.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "ShapeTestWindow";

std::vector<XRectangle> shape_of(HWND h) {
  Display* d = plat::x_display();
  XSync(d, False);
  int count = 0, ordering = 0;
  XRectangle* rects = XShapeGetRectangles(d, plat::x_window(h), ShapeBounding, &count, &ordering);
  std::vector<XRectangle> out(rects, rects + count);
  if (rects) XFree(rects);
  std::sort(out.begin(), out.end(), [](const XRectangle& a, const XRectangle& b) {
    return a.y != b.y ? a.y < b.y : a.x < b.x;
  });
  return out;
}

class WindowShape : public ::testing::Test {
 protected:
  void SetUp() override {
    register_logging_class(kClass);
    parent_ = CreateWindowExA(0, kClass, "p", kCaptionedStyle, 0, 0, 300, 200, 0, 0, 0, nullptr);
    ASSERT_NE(parent_, 0u);
    button_ = CreateWindowExA(0, kClass, "", WS_CHILD | WS_VISIBLE, 10, 10, 40, 30, parent_, 5, 0,
                              nullptr);
    ASSERT_NE(button_, 0u);
  }
  void TearDown() override { DestroyWindow(parent_); }
  HWND parent_ = 0, button_ = 0;
};

TEST_F(WindowShape, RegionRectanglesBecomeTheXShape) {
  // An L: a bar along the top and a column on the left.
  HRGN shape = CreateRectRgn(0, 0, 40, 10);
  HRGN column = CreateRectRgn(0, 10, 8, 30);
  ASSERT_NE(CombineRgn(shape, shape, column, RGN_OR), 0);
  DeleteObject(column);
  ASSERT_EQ(SetWindowRgn(button_, shape, FALSE), 1);
  auto rects = shape_of(button_);
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].x, 0);
  EXPECT_EQ(rects[0].y, 0);
  EXPECT_EQ(rects[0].width, 40);
  EXPECT_EQ(rects[0].height, 10);
  EXPECT_EQ(rects[1].x, 0);
  EXPECT_EQ(rects[1].y, 10);
  EXPECT_EQ(rects[1].width, 8);
  EXPECT_EQ(rects[1].height, 20);
}

// Region ownership seen from the handle table; tests/winapi/test_window_shape.cpp checks the same
// through Windows API calls in both worlds.
TEST_F(WindowShape, TheWindowOwnsItsRegion) {
  size_t regions = plat::handle_count(plat::Kind::Region);
  HRGN first = CreateRectRgn(0, 0, 5, 5);
  HRGN second = CreateRectRgn(1, 1, 6, 6);
  ASSERT_EQ(SetWindowRgn(button_, first, TRUE), 1);
  ASSERT_EQ(SetWindowRgn(button_, second, TRUE), 1);
  EXPECT_EQ(plat::handle_get(first), nullptr);
  EXPECT_NE(plat::handle_get(second), nullptr) << "ours keeps the region it was given";
  // Removing the shape gives the full rectangle back.
  ASSERT_EQ(SetWindowRgn(button_, 0, TRUE), 1);
  auto rects = shape_of(button_);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].width, 40);
  EXPECT_EQ(rects[0].height, 30);
  HRGN third = CreateRectRgn(0, 0, 3, 3);
  ASSERT_EQ(SetWindowRgn(button_, third, FALSE), 1);
  DestroyWindow(button_);
  EXPECT_EQ(plat::handle_count(plat::Kind::Region), regions);
  // A stale region is refused.
  EXPECT_EQ(SetWindowRgn(parent_, third, FALSE), 0);
}

}  // namespace
