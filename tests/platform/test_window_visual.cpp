// A window given another X visual (as a GL pixel format asks) keeps everything the program knows.
#include <gtest/gtest.h>
// Xlib's macros after GoogleTest.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "message_log.h"
#include "real_input.h"
#include "window_internal.h"
#include "x_display.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "VisualTestWindow";

TEST(WindowVisual, RecreatedWindowKeepsHandleGeometryTitleChildrenAndProperties) {
  register_logging_class(kClass);
  Display* d = plat::x_display();
  ASSERT_NE(d, nullptr);
  XVisualInfo info;
  // A 32-bit visual differs from the 24-bit default one of the test server.
  ASSERT_TRUE(XMatchVisualInfo(d, DefaultScreen(d), 32, TrueColor, &info)) << "no 32-bit visual";

  HWND h =
      CreateWindowExA(0, kClass, "Tornado", kCaptionedStyle, 20, 30, 300, 200, 0, 0, 0, nullptr);
  ASSERT_NE(h, 0u);
  HWND child =
      CreateWindowExA(0, kClass, "", WS_CHILD | WS_VISIBLE, 5, 6, 20, 10, h, 7, 0, nullptr);
  ASSERT_NE(child, 0u);
  SetPropA(h, "KEEP", 99);
  ::Window before = plat::x_window(h);

  ASSERT_TRUE(plat::window_use_visual(h, info.visual, 32));
  ::Window after = plat::x_window(h);
  EXPECT_NE(after, before);
  EXPECT_EQ(plat::window_from_x(after), h);
  EXPECT_EQ(plat::window_from_x(before), 0u);
  // The same visual again changes nothing.
  ASSERT_TRUE(plat::window_use_visual(h, info.visual, 32));
  EXPECT_EQ(plat::x_window(h), after);

  XWindowAttributes attributes;
  ASSERT_TRUE(XGetWindowAttributes(d, after, &attributes));
  EXPECT_EQ(attributes.depth, 32);
  EXPECT_EQ(attributes.visual, info.visual);
  EXPECT_EQ(attributes.map_state, IsViewable);
  EXPECT_EQ(attributes.x, 23);
  EXPECT_EQ(attributes.y, 49);
  EXPECT_EQ(attributes.width, 294);
  EXPECT_EQ(attributes.height, 178);
  char* name = nullptr;
  ASSERT_TRUE(XFetchName(d, after, &name));
  EXPECT_STREQ(name, "Tornado");
  XFree(name);

  ::Window root, parent, *children = nullptr;
  unsigned n = 0;
  XQueryTree(d, plat::x_window(child), &root, &parent, &children, &n);
  if (children) XFree(children);
  EXPECT_EQ(parent, after);
  EXPECT_EQ(GetPropA(h, "KEEP"), 99u);
  EXPECT_EQ(GetParent(child), h);

  // The old X window is gone.
  {
    plat::XErrorTrap trap;
    XGetWindowAttributes(d, before, &attributes);
    EXPECT_EQ(trap.sync(), BadWindow);
  }

  EXPECT_FALSE(plat::window_use_visual(0, info.visual, 32));
  DestroyWindow(h);
  EXPECT_FALSE(plat::window_use_visual(h, info.visual, 32));
}

}  // namespace
