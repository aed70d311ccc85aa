// Real pointer input through XTest, as our layer takes it from the X server: coalesced motion,
// events that wait in the queue, and the window manager's close request. Buttons, capture and the
// cursor position are checked in both worlds by tests/winapi/test_input_mouse.cpp.
#include <gtest/gtest.h>
// Xlib's macros after GoogleTest.
#include <X11/Xlib.h>

#include <algorithm>

#include "message_log.h"
#include "real_input.h"
#include "window_internal.h"
#include "x_display.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "MouseTestWindow";

class Mouse : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(input_.ok()) << "the tests need an X server with XTest";
    register_logging_class(kClass);
    message_log() = MessageLog{};
    // Outer corner at (100, 100): the client area starts at (103, 119).
    window_ =
        CreateWindowExA(0, kClass, "mouse", kCaptionedStyle, 100, 100, 400, 300, 0, 0, 0, nullptr);
    ASSERT_NE(window_, 0u);
    XSync(plat::x_display(), False);
    pump_all();
    message_log().messages.clear();
  }
  void TearDown() override {
    ReleaseCapture();
    if (IsWindow(window_)) DestroyWindow(window_);
    input_.release_button(1);
    input_.release_button(3);
    pump_all();
  }

  XInput input_;
  HWND window_ = 0;
};

TEST_F(Mouse, QueuedMotionsAreTakenAsOneMoveWithTheLastPosition) {
  for (int i = 0; i < 50; ++i) input_.move_pointer(103 + 10 + i, 119 + 20 + i / 2);
  // Let every motion reach the layer before the queue is looked at.
  XSync(plat::x_display(), False);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_EQ(LOWORD(msg.lParam), 10 + 49);
  EXPECT_EQ(HIWORD(msg.lParam), 20 + 24);
  EXPECT_EQ(msg.pt.x, 103 + 59);
  EXPECT_EQ(msg.pt.y, 119 + 44);
  EXPECT_FALSE(PeekMessageA(&msg, 0, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
}

TEST_F(Mouse, MotionDoesNotMergeAcrossAButton) {
  input_.move_pointer(103 + 1, 119 + 1);
  input_.press_button(1);
  input_.move_pointer(103 + 2, 119 + 2);
  input_.release_button(1);
  XSync(plat::x_display(), False);
  std::vector<UINT> order;
  MSG msg;
  while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE))
    if (msg.message != WM_PAINT) order.push_back(msg.message);
  std::vector<UINT> expected = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP};
  EXPECT_EQ(order, expected);
}

// Press on the parent, drag onto a child, release there. Without SetCapture every message goes to
// the window under the cursor, whether the events are taken at once or only after they have
// waited in the queue (a busy program).
TEST_F(Mouse, DragFromTheParentOntoAChildReachesTheWindowUnderTheCursor) {
  HWND child = CreateWindowExA(0, kClass, "", WS_CHILD | WS_VISIBLE, 200, 100, 80, 60, window_, 0,
                               0, nullptr);
  ASSERT_NE(child, 0u);
  XSync(plat::x_display(), False);
  pump_all();
  for (bool busy : {false, true}) {
    SCOPED_TRACE(busy ? "events queued" : "events taken at once");
    message_log().messages.clear();
    auto step = [&] {
      input_.sync();
      if (!busy) {
        XSync(plat::x_display(), False);
        pump_all();
      }
    };
    input_.move_pointer(103 + 50, 119 + 50);
    step();
    input_.press_button(1);
    step();
    input_.move_pointer(103 + 150, 119 + 110);
    step();
    input_.move_pointer(103 + 220, 119 + 120);  // 20, 20 inside the child
    step();
    input_.release_button(1);
    input_.sync();
    XSync(plat::x_display(), False);
    pump_all();
    std::vector<Logged> to_parent, to_child;
    for (const Logged& m : message_log().messages) {
      if (m.message != WM_MOUSEMOVE && m.message != WM_LBUTTONDOWN && m.message != WM_LBUTTONUP)
        continue;
      (m.hwnd == child ? to_child : to_parent).push_back(m);
    }
    ASSERT_FALSE(to_parent.empty());
    EXPECT_EQ(std::count_if(to_parent.begin(), to_parent.end(),
                            [](const Logged& m) { return m.message == WM_LBUTTONDOWN; }),
              1);
    for (const Logged& m : to_parent) {
      EXPECT_NE(m.message, static_cast<UINT>(WM_LBUTTONUP)) << "the release was over the child";
      EXPECT_LT(LOWORD(m.lparam), 200) << "the parent hears only moves over itself";
    }
    ASSERT_FALSE(to_child.empty());
    EXPECT_EQ(to_child.back().message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(LOWORD(to_child.back().lparam), 20);
    EXPECT_EQ(HIWORD(to_child.back().lparam), 20);
    for (const Logged& m : to_child) {
      EXPECT_NE(m.message, static_cast<UINT>(WM_LBUTTONDOWN)) << "the child was never pressed";
      if (m.message == WM_MOUSEMOVE) {
        EXPECT_EQ(m.wparam, static_cast<WPARAM>(MK_LBUTTON));
      }
    }
  }
  DestroyWindow(child);
}

TEST_F(Mouse, CloseRequestOfTheWindowManagerGoesThroughTheSystemCommand) {
  // What a window manager sends when the close box is clicked.
  Display* d = XOpenDisplay(nullptr);
  ASSERT_NE(d, nullptr);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = plat::x_window(window_);
  event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, plat::x_window(window_), False, NoEventMask, &event);
  XSync(d, False);
  XCloseDisplay(d);
  ASSERT_TRUE(wait_for_message(WM_DESTROY));
  int command = message_log().first(WM_SYSCOMMAND);
  ASSERT_GE(command, 0);
  EXPECT_EQ(message_log().messages[command].wparam, static_cast<WPARAM>(SC_CLOSE));
  EXPECT_GT(message_log().first(WM_CLOSE), command);
  EXPECT_GT(message_log().first(WM_DESTROY), message_log().first(WM_CLOSE));
  EXPECT_FALSE(IsWindow(window_));
}

}  // namespace
