// The message queue: order of posted messages, the quit request and WM_PAINT; filters; dispatch.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <windowsx.h>

#include "message_log.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "QueueTestWindow";

class MessageQueue : public ::testing::Test {
 protected:
  void SetUp() override {
    register_logging_class(kClass);
    message_log() = MessageLog{};
    window_ =
        CreateWindowExA(0, kClass, "queue", kCaptionedStyle, 0, 0, 200, 150, 0, 0, 0, nullptr);
    ASSERT_NE(window_, HWND{});
    drain();
    message_log().messages.clear();
  }
  void TearDown() override {
    DestroyWindow(window_);
    drain();
  }
  // Takes everything, also a pending quit request, so that each test starts from an empty queue.
  void drain() {
    // Give the display time to report what showing the window caused (exposures, activation)
    // before emptying the queue.
    MSG msg;
    for (int i = 0; i < 10; ++i) {
      while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  HWND window_ = 0;
};

TEST_F(MessageQueue, EmptyQueuePeekReturnsFalseAndLeavesMessageAlone) {
  MSG msg{};
  msg.message = 0x1234;
  EXPECT_FALSE(PeekMessageA(&msg, 0, 0, 0, PM_NOREMOVE));
  EXPECT_FALSE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessageA(nullptr, 0, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, PostedMessagesComeInOrderAndQuitComesLast) {
  PostQuitMessage(7);
  ASSERT_TRUE(PostMessageA(window_, WM_USER + 1, 10, 20));
  ASSERT_TRUE(PostMessageA(0, WM_USER + 2, 0, 0));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 1u);
  EXPECT_EQ(msg.hwnd, window_);
  EXPECT_EQ(msg.wParam, 10u);
  EXPECT_EQ(msg.lParam, 20);
  // PM_NOREMOVE left it there.
  EXPECT_EQ(GetMessageA(&msg, 0, 0, 0), TRUE);
  EXPECT_EQ(msg.message, WM_USER + 1u);
  EXPECT_EQ(DispatchMessageA(&msg), 0);
  EXPECT_EQ(message_log().count(WM_USER + 1), 1u);
  EXPECT_EQ(GetMessageA(&msg, 0, 0, 0), TRUE);
  EXPECT_EQ(msg.message, WM_USER + 2u);
  EXPECT_EQ(msg.hwnd, HWND{});
  EXPECT_EQ(DispatchMessageA(&msg), 0);  // no window: goes nowhere
  EXPECT_EQ(GetMessageA(&msg, 0, 0, 0), FALSE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(msg.hwnd, HWND{});
  EXPECT_EQ(DispatchMessageA(&msg), 0);
  EXPECT_FALSE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, PaintNeverOvertakesAPostedMessageAndStaysUntilValidated) {
  ASSERT_TRUE(InvalidateRect(window_, nullptr, FALSE));
  ASSERT_TRUE(PostMessageA(window_, WM_USER, 0, 0));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
  EXPECT_EQ(msg.hwnd, window_);
  // Taking WM_PAINT does not validate; only painting does.
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
  RECT update;
  EXPECT_TRUE(GetUpdateRect(window_, &update, FALSE));
  EXPECT_EQ(update.right, 194);
  DispatchMessageA(&msg);  // default processing paints and so validates
  EXPECT_FALSE(GetUpdateRect(window_, &update, FALSE));
  EXPECT_FALSE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, BeginPaintReportsTheUpdateRectangleAndUpdateWindowPaintsAtOnce) {
  RECT part{10, 10, 20, 30};
  RECT other{50, 5, 60, 6};
  InvalidateRect(window_, &part, FALSE);
  InvalidateRect(window_, &other, TRUE);
  RECT seen{};
  BOOL erase = FALSE;
  message_log().handlers[WM_PAINT] = [&](HWND h, WPARAM, LPARAM) -> LRESULT {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    EXPECT_NE(dc, HDC{});
    seen = ps.rcPaint;
    erase = ps.fErase;
    EndPaint(h, &ps);
    return 0;
  };
  EXPECT_TRUE(UpdateWindow(window_));
  ASSERT_EQ(message_log().count(WM_PAINT), 1u);
  EXPECT_EQ(seen.left, 10);
  EXPECT_EQ(seen.top, 5);
  EXPECT_EQ(seen.right, 60);
  EXPECT_EQ(seen.bottom, 30);
  EXPECT_EQ(message_log().count(WM_ERASEBKGND), 1u);
  EXPECT_TRUE(erase);                  // nobody drew the background
  EXPECT_TRUE(UpdateWindow(window_));  // nothing to paint: no second WM_PAINT
  EXPECT_EQ(message_log().count(WM_PAINT), 1u);
}

TEST_F(MessageQueue, FiltersByWindowAndRange) {
  HWND other = CreateWindowExA(0, kClass, "other", WS_POPUP, 0, 0, 10, 10, 0, 0, 0, nullptr);
  ASSERT_NE(other, HWND{});
  PostMessageA(other, WM_USER + 5, 0, 0);
  PostMessageA(window_, WM_USER + 6, 0, 0);
  PostMessageA(window_, WM_USER + 7, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, window_, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 6u);
  ASSERT_TRUE(PeekMessageA(&msg, 0, WM_USER + 7, WM_USER + 7, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 7u);
  EXPECT_FALSE(PeekMessageA(&msg, window_, WM_USER + 7, WM_USER + 9, PM_REMOVE));
  // A destroyed window's messages are dropped with it; a filter naming it fails.
  DestroyWindow(other);
  EXPECT_FALSE(PeekMessageA(&msg, other, 0, 0, PM_REMOVE));
  EXPECT_EQ(GetMessageA(&msg, other, 0, 0), -1);
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 6u);
  EXPECT_FALSE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, SendCallsTheProcedureAtOnce) {
  message_log().handlers[WM_USER] = [](HWND, WPARAM w, LPARAM l) -> LRESULT {
    return static_cast<LRESULT>(w) + l;
  };
  EXPECT_EQ(SendMessageA(window_, WM_USER, 40, 2), 42);
  ASSERT_EQ(message_log().count(WM_USER), 1u);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, MessagesCarryTimeAndCursorPosition) {
  ASSERT_TRUE(SetCursorPos(123, 45));
  DWORD before = GetTickCount();
  PostMessageA(window_, WM_USER, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_GE(msg.time - before, 0u);
  EXPECT_LE(msg.time - before, 1000u);
  EXPECT_EQ(msg.pt.x, 123);
  EXPECT_EQ(msg.pt.y, 45);
  EXPECT_EQ(GetMessagePos(), static_cast<DWORD>(MAKELONG(123, 45)));
}

TEST_F(MessageQueue, CloseDestroysThroughDefaultProcessing) {
  ASSERT_TRUE(PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0));
  pump_all();
  int sys = message_log().first(WM_SYSCOMMAND);
  int close = message_log().first(WM_CLOSE);
  int destroy = message_log().first(WM_DESTROY);
  ASSERT_GE(sys, 0);
  EXPECT_GT(close, sys);
  EXPECT_GT(destroy, close);
  EXPECT_FALSE(IsWindow(window_));
}

TEST_F(MessageQueue, RightButtonReleaseAsksForTheContextMenuAtTheScreenPosition) {
  POINT client{0, 0};
  ASSERT_TRUE(ClientToScreen(window_, &client));
  SendMessageA(window_, WM_RBUTTONUP, 0, MAKELPARAM(5, 6));
  auto menus = message_log().only(WM_CONTEXTMENU);
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].wparam, (WPARAM)window_);
  EXPECT_EQ(GET_X_LPARAM(menus[0].lparam), client.x + 5);
  EXPECT_EQ(GET_Y_LPARAM(menus[0].lparam), client.y + 6);
}

}  // namespace
