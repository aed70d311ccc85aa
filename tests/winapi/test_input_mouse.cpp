// Real pointer input: buttons with client coordinates and key flags, capture outside the window,
// the context menu request, the cursor position, and what a child's release of the capture tells
// the window under the pointer.
#include <gtest/gtest.h>
#include <windows.h>
#include <windowsx.h>

#include "message_log.h"
#include "real_input.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "MouseTestWindow";

class Mouse : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(input_.ok()) << "the tests need real input";
    register_logging_class(kClass);
    message_log() = MessageLog{};
    window_ =
        CreateWindowExA(0, kClass, "mouse", kCaptionedStyle, 100, 100, 400, 300, 0, 0, 0, nullptr);
    ASSERT_TRUE(window_);
    ASSERT_TRUE(pump_while_waiting([&] { return GetForegroundWindow() == window_; }));
    ClientToScreen(window_, &origin_);
    message_log().messages.clear();
  }
  void TearDown() override {
    ReleaseCapture();
    if (IsWindow(window_)) DestroyWindow(window_);
    input_.release_button(1);
    input_.release_button(3);
    pump_all();
  }

  RealInput input_;
  HWND window_ = 0;
  POINT origin_{0, 0};  // the client area's corner on the screen
};

TEST_F(Mouse, ButtonsCarryClientCoordinatesAndKeyFlags) {
  input_.move_pointer(origin_.x + 40, origin_.y + 30);
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
  EXPECT_EQ(menu.wparam, (WPARAM)window_);
  EXPECT_EQ(GET_X_LPARAM(menu.lparam), origin_.x + 40);
  EXPECT_EQ(GET_Y_LPARAM(menu.lparam), origin_.y + 30);
  EXPECT_GT(message_log().first(WM_CONTEXTMENU), message_log().first(WM_RBUTTONUP));
}

TEST_F(Mouse, CapturedDragLeavingToTheLeftGivesALargeLowWord) {
  message_log().handlers[WM_LBUTTONDOWN] = [](HWND h, WPARAM, LPARAM) -> LRESULT {
    ReleaseCapture();
    SetCapture(h);
    return 0;
  };
  input_.move_pointer(origin_.x + 10, origin_.y + 10);
  input_.press_button(1);
  ASSERT_TRUE(wait_for_message(WM_LBUTTONDOWN));
  EXPECT_EQ(GetCapture(), window_);
  message_log().messages.clear();
  input_.move_pointer(origin_.x - 5, origin_.y + 12);  // left of the client area, over the frame
  ASSERT_TRUE(wait_for_message(WM_MOUSEMOVE));
  Logged move = message_log().only(WM_MOUSEMOVE).back();
  EXPECT_EQ(move.hwnd, window_);
  EXPECT_EQ(LOWORD(move.lparam), 65531);
  EXPECT_EQ(GET_X_LPARAM(move.lparam), -5);
  EXPECT_EQ(HIWORD(move.lparam), 12);
  EXPECT_EQ(move.wparam & MK_LBUTTON, static_cast<WPARAM>(MK_LBUTTON));
  input_.release_button(1);
  ASSERT_TRUE(wait_for_message(WM_LBUTTONUP));
  EXPECT_EQ(message_log().only(WM_LBUTTONUP)[0].hwnd, window_);
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), HWND{});
}

TEST_F(Mouse, CursorPositionIsInScreenCoordinates) {
  ASSERT_TRUE(SetCursorPos(321, 234));
  POINT p{};
  ASSERT_TRUE(GetCursorPos(&p));
  EXPECT_EQ(p.x, 321);
  EXPECT_EQ(p.y, 234);
  input_.move_pointer(500, 400);
  ASSERT_TRUE(pump_while_waiting([&] { return GetCursorPos(&p) && p.x == 500 && p.y == 400; }));
  EXPECT_EQ(GetForegroundWindow(), window_);
}

// The pointer's moves to the point and what follows them have arrived; the log is emptied.
void place_pointer(RealInput& input, int x, int y) {
  input.move_pointer(x, y);
  POINT p{};
  EXPECT_TRUE(pump_while_waiting([&] { return GetCursorPos(&p) && p.x == x && p.y == y; }));
  pump_while_waiting([] { return false; }, 200);
  message_log().messages.clear();
}

// A click at (x, y) while `holder` has the capture; once the release has arrived, the log is
// emptied.
void click_holding_the_capture(RealInput& input, HWND holder, int x, int y) {
  place_pointer(input, x, y);
  SetCapture(holder);
  input.press_button(1);
  input.release_button(1);
  EXPECT_TRUE(wait_for_message(WM_LBUTTONUP));
  message_log().messages.clear();
}

// The mouse moves that arrive within a while.
std::vector<Logged> moves_arriving() {
  pump_while_waiting([] { return false; }, 300);
  return message_log().only(WM_MOUSEMOVE);
}

// When a child window gives up the capture, the window under the pointer hears at once where the
// pointer is (each case after a click: Wine does not repeat a move the window has just had); when a
// top-level window gives it up, nobody hears.
TEST_F(Mouse, AChildReleasingTheCaptureTellsTheWindowUnderThePointer) {
  HWND a = window_;
  HWND child = CreateWindowExA(0, kClass, "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 40, a, 0,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(child);
  pump_while_waiting([] { return false; }, 300);  // the window manager has placed the window
  POINT origin{0, 0};
  ClientToScreen(a, &origin);

  // The top-level window, clicked and released while it holds the capture.
  click_holding_the_capture(input_, a, origin.x + 120, origin.y + 70);
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_TRUE(moves_arriving().empty());

  // The child, clicked while it holds the capture, released afterwards.
  click_holding_the_capture(input_, child, origin.x + 17, origin.y + 12);
  EXPECT_TRUE(ReleaseCapture());
  std::vector<Logged> moves = moves_arriving();
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].hwnd, child);
  EXPECT_EQ(moves[0].wparam, WPARAM{0});
  EXPECT_EQ(LOWORD(moves[0].lparam), 7);
  EXPECT_EQ(HIWORD(moves[0].lparam), 2);

  // Released while the button is still down: the move carries the button.
  message_log().handlers[WM_LBUTTONDOWN] = [](HWND, WPARAM, LPARAM) -> LRESULT {
    ReleaseCapture();
    return 0;
  };
  SetCapture(child);
  message_log().messages.clear();
  input_.press_button(1);
  EXPECT_TRUE(wait_for_message(WM_LBUTTONDOWN));
  moves = moves_arriving();
  input_.release_button(1);
  message_log().handlers.clear();
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].hwnd, child);
  EXPECT_EQ(moves[0].wparam, static_cast<WPARAM>(MK_LBUTTON));
  EXPECT_EQ(LOWORD(moves[0].lparam), 7);
  EXPECT_EQ(HIWORD(moves[0].lparam), 2);
  pump_while_waiting([] { return false; }, 200);

  // The child gives up the capture while the pointer is over its parent: the parent hears.
  click_holding_the_capture(input_, child, origin.x + 120, origin.y + 70);
  EXPECT_TRUE(ReleaseCapture());
  moves = moves_arriving();
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].hwnd, a);
  EXPECT_EQ(moves[0].wparam, WPARAM{0});
  EXPECT_EQ(LOWORD(moves[0].lparam), 120);
  EXPECT_EQ(HIWORD(moves[0].lparam), 70);
}

}  // namespace
