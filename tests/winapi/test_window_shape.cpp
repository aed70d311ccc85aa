// SetWindowRgn: the window takes the region over and deletes it when it is replaced, removed or
// the window is destroyed.
#include <gtest/gtest.h>
#include <windows.h>

#include "message_log.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "ShapeTestWindow";

bool region_alive(HRGN h) {
  RECT box;
  return GetRgnBox(h, &box) != 0;
}

TEST(WindowShape, TheWindowOwnsItsRegion) {
  register_logging_class(kClass);
  HWND parent = CreateWindowExA(0, kClass, "p", kCaptionedStyle, 0, 0, 300, 200, 0, 0, 0, nullptr);
  ASSERT_TRUE(parent);
  HWND button = CreateWindowExA(0, kClass, "", WS_CHILD | WS_VISIBLE, 10, 10, 40, 30, parent,
                                (HMENU)5, 0, nullptr);
  ASSERT_TRUE(button);
  HRGN first = CreateRectRgn(0, 0, 5, 5);
  HRGN second = CreateRectRgn(1, 1, 6, 6);
  EXPECT_NE(SetWindowRgn(button, first, TRUE), 0);
  EXPECT_NE(SetWindowRgn(button, second, TRUE), 0);
  // Replacing deletes the old one. (The one set belongs to the system now: it may be gone already.)
  EXPECT_FALSE(region_alive(first));
  // Removing the shape deletes it too.
  EXPECT_NE(SetWindowRgn(button, 0, TRUE), 0);
  EXPECT_FALSE(region_alive(second));
  // Destroying the window deletes the region it holds.
  HRGN third = CreateRectRgn(0, 0, 3, 3);
  EXPECT_NE(SetWindowRgn(button, third, FALSE), 0);
  DestroyWindow(button);
  EXPECT_FALSE(region_alive(third));
  // A destroyed window is refused, and the region stays the caller's.
  HRGN fourth = CreateRectRgn(0, 0, 3, 3);
  EXPECT_EQ(SetWindowRgn(button, fourth, FALSE), 0);
  EXPECT_TRUE(region_alive(fourth));
  DeleteObject(fourth);
  DestroyWindow(parent);
  pump_all();
}

}  // namespace
