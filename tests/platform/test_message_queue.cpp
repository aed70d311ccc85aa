// The message queue: order of posted messages, the quit request and WM_PAINT; filters; dispatch.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <cstring>

#include "../../platform/src/x_display.h"
#include "window_test_log.h"
#include "x_input.h"

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
    ASSERT_NE(window_, 0u);
    drain();
    message_log().messages.clear();
  }
  void TearDown() override {
    DestroyWindow(window_);
    drain();
  }
  // Takes everything, also a pending quit request, so that each test starts from an empty queue.
  void drain() {
    // Let the server send what showing the window caused (exposures) before emptying the queue.
    if (Display* d = plat::x_display()) XSync(d, False);
    MSG msg;
    while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
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
  EXPECT_EQ(msg.hwnd, 0u);
  EXPECT_EQ(DispatchMessageA(&msg), 0);  // no window: goes nowhere
  EXPECT_EQ(GetMessageA(&msg, 0, 0, 0), FALSE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(msg.hwnd, 0u);
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
    EXPECT_NE(dc, 0u);
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
  ASSERT_NE(other, 0u);
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

TEST_F(MessageQueue, PostingBeyondTenThousandFailsWithTheQuotaErrorAndInputStillArrives) {
  XInput input;
  ASSERT_TRUE(input.ok());
  ASSERT_TRUE(pump_until(pump_all, [&] { return GetForegroundWindow() == window_; }));
  for (int i = 0; i < 10000; ++i) ASSERT_TRUE(PostMessageA(window_, WM_USER, i, 0)) << i;
  SetLastError(0);
  EXPECT_FALSE(PostMessageA(window_, WM_USER, 10000, 0));
  EXPECT_EQ(GetLastError(), 1816u);  // ERROR_NOT_ENOUGH_QUOTA
  EXPECT_FALSE(PostMessageA(0, WM_USER, 10000, 0));
  // Input is not posted: a key pressed now is still delivered, with the character it types.
  input.tap_key(XK_a);
  input.sync();
  XSync(plat::x_display(), False);
  MSG msg;
  int posted = 0;
  bool key_down = false, typed = false;
  for (int tries = 0; tries < 20000 && !(typed && posted == 10000); ++tries) {
    if (!PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {
      if (posted == 10000) break;
      continue;
    }
    if (msg.message == WM_USER) {
      EXPECT_EQ(msg.wParam, static_cast<WPARAM>(posted));
      ++posted;
    }
    key_down |= msg.message == WM_KEYDOWN && msg.wParam == 'A';
    typed |= msg.message == WM_CHAR && msg.wParam == 'a';
    TranslateMessage(&msg);
  }
  EXPECT_EQ(posted, 10000) << "every accepted message comes out, in order";
  EXPECT_TRUE(key_down);
  EXPECT_TRUE(typed);
  // Room again once the queue has been read.
  EXPECT_TRUE(PostMessageA(window_, WM_USER, 0, 0));
}

TEST_F(MessageQueue, BeginPaintOnAStaleWindowFailsAndZeroesThePaintStruct) {
  HWND gone = CreateWindowExA(0, kClass, "gone", kCaptionedStyle, 0, 0, 50, 50, 0, 0, 0, nullptr);
  ASSERT_NE(gone, 0u);
  DestroyWindow(gone);
  PAINTSTRUCT ps;
  std::memset(&ps, 0xAB, sizeof ps);
  EXPECT_EQ(BeginPaint(gone, &ps), 0u);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&ps);
  EXPECT_TRUE(std::all_of(bytes, bytes + sizeof ps, [](unsigned char b) { return b == 0; }));
}

TEST_F(MessageQueue, RightButtonReleaseAsksForTheContextMenuAtTheScreenPosition) {
  RECT outer;
  GetWindowRect(window_, &outer);
  SendMessageA(window_, WM_RBUTTONUP, 0, MAKELPARAM(5, 6));
  auto menus = message_log().only(WM_CONTEXTMENU);
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].wparam, window_);
  EXPECT_EQ(GET_X_LPARAM(menus[0].lparam), outer.left + 3 + 5);
  EXPECT_EQ(GET_Y_LPARAM(menus[0].lparam), outer.top + 19 + 6);
}

}  // namespace
