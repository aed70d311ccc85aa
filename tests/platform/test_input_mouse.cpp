// Real pointer input through XTest: buttons, capture, coalesced motion, the cursor position, and
// the window manager's close request.
#include <gtest/gtest.h>
// Xlib's macros after GoogleTest.
#include <X11/Xlib.h>

#include <algorithm>

#include "../../platform/src/window_internal.h"
#include "../../platform/src/x_display.h"
#include "../winapi/window_test_log.h"
#include "x_input.h"

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

TEST_F(Mouse, ButtonsCarryClientCoordinatesAndKeyFlags) {
  input_.move_pointer(103 + 40, 119 + 30);
  input_.press_button(1);
  ASSERT_TRUE(wait_for_message(WM_LBUTTONDOWN));
  Logged down = message_log().only(WM_LBUTTONDOWN)[0];
  EXPECT_EQ(down.hwnd, window_);
  EXPECT_EQ(LOWORD(down.lparam), 40);
  EXPECT_EQ(HIWORD(down.lparam), 30);
  EXPECT_EQ(down.wparam, static_cast<WPARAM>(MK_LBUTTON));
  input_.press_button(3);
  ASSERT_TRUE(wait_for_message(WM_RBUTTONDOWN));
  EXPECT_EQ(message_log().only(WM_RBUTTONDOWN)[0].wparam,
            static_cast<WPARAM>(MK_LBUTTON | MK_RBUTTON));
  input_.release_button(1);
  ASSERT_TRUE(wait_for_message(WM_LBUTTONUP));
  EXPECT_EQ(message_log().only(WM_LBUTTONUP)[0].wparam, static_cast<WPARAM>(MK_RBUTTON));

  // Releasing the right button asks for the context menu, at the screen position.
  input_.release_button(3);
  ASSERT_TRUE(wait_for_message(WM_CONTEXTMENU));
  Logged menu = message_log().only(WM_CONTEXTMENU)[0];
  EXPECT_EQ(menu.wparam, window_);
  EXPECT_EQ(GET_X_LPARAM(menu.lparam), 143);
  EXPECT_EQ(GET_Y_LPARAM(menu.lparam), 149);
  EXPECT_GT(message_log().first(WM_CONTEXTMENU), message_log().first(WM_RBUTTONUP));
}

TEST_F(Mouse, CapturedDragLeavingToTheLeftGivesALargeLowWord) {
  message_log().handlers[WM_LBUTTONDOWN] = [](HWND h, WPARAM, LPARAM) -> LRESULT {
    ReleaseCapture();
    SetCapture(h);
    return 0;
  };
  input_.move_pointer(103 + 10, 119 + 10);
  input_.press_button(1);
  ASSERT_TRUE(wait_for_message(WM_LBUTTONDOWN));
  EXPECT_EQ(GetCapture(), window_);
  message_log().messages.clear();
  input_.move_pointer(103 - 5, 119 + 12);  // 5 pixels left of the client area, over the frame
  ASSERT_TRUE(wait_for_message(WM_MOUSEMOVE));
  Logged move = message_log().only(WM_MOUSEMOVE).back();
  EXPECT_EQ(move.hwnd, window_);
  EXPECT_GT(LOWORD(move.lparam), 32767);
  EXPECT_EQ(LOWORD(move.lparam), 65531);
  EXPECT_EQ(GET_X_LPARAM(move.lparam), -5);
  EXPECT_EQ(HIWORD(move.lparam), 12);
  EXPECT_EQ(move.wparam & MK_LBUTTON, static_cast<WPARAM>(MK_LBUTTON));
  input_.release_button(1);
  ASSERT_TRUE(wait_for_message(WM_LBUTTONUP));
  EXPECT_EQ(message_log().only(WM_LBUTTONUP)[0].hwnd, window_);
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), 0u);
}

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

TEST_F(Mouse, CursorPositionIsInScreenCoordinates) {
  ASSERT_TRUE(SetCursorPos(321, 234));
  POINT p{};
  ASSERT_TRUE(GetCursorPos(&p));
  EXPECT_EQ(p.x, 321);
  EXPECT_EQ(p.y, 234);
  input_.move_pointer(500, 400);
  ASSERT_TRUE(GetCursorPos(&p));
  EXPECT_EQ(p.x, 500);
  EXPECT_EQ(p.y, 400);
  EXPECT_EQ(GetForegroundWindow(), window_);
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
