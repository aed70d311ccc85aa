// The posted-message quota: past ten thousand waiting messages PostMessageA fails with
// ERROR_NOT_ENOUGH_QUOTA, while input still arrives; BeginPaint on a destroyed window fails.
#include <gtest/gtest.h>
#include <windows.h>

#include "message_log.h"
#include "real_input.h"
#include "wine_differences.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "QuotaTestWindow";

class MessageQuota : public ::testing::Test {
 protected:
  void SetUp() override {
    register_logging_class(kClass);
    message_log() = MessageLog{};
    window_ =
        CreateWindowExA(0, kClass, "quota", kCaptionedStyle, 0, 0, 200, 150, 0, 0, 0, nullptr);
    ASSERT_TRUE(window_);
    drain();
  }
  void TearDown() override {
    DestroyWindow(window_);
    drain();
  }
  void drain() {
    MSG msg;
    while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  HWND window_ = 0;
};

// The documentation: "There is a limit of 10,000 posted messages per message queue."
TEST_F(MessageQuota, PostingBeyondTenThousandFailsWithTheQuotaErrorAndInputStillArrives) {
  SKIP_UNDER_WINE("no limit on posted messages");
  RealInput input;
  ASSERT_TRUE(input.ok());
  ASSERT_TRUE(pump_while_waiting([&] { return GetForegroundWindow() == window_; }));
  for (int i = 0; i < 10000; ++i) ASSERT_TRUE(PostMessageA(window_, WM_USER, i, 0)) << i;
  SetLastError(0);
  EXPECT_FALSE(PostMessageA(window_, WM_USER, 10000, 0));
  EXPECT_EQ(GetLastError(), 1816u);  // ERROR_NOT_ENOUGH_QUOTA
  EXPECT_FALSE(PostMessageA(0, WM_USER, 10000, 0));
  // Input is not posted: a key pressed now is still delivered, with the character it types.
  input.tap_key('A');
  MSG msg;
  int posted = 0;
  bool key_down = false, typed = false;
  const DWORD start = GetTickCount();
  while (!(typed && posted == 10000) && GetTickCount() - start < 3000) {
    if (!PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {
      Sleep(5);
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

TEST_F(MessageQuota, BeginPaintOnAStaleWindowFails) {
  HWND gone = CreateWindowExA(0, kClass, "gone", kCaptionedStyle, 0, 0, 50, 50, 0, 0, 0, nullptr);
  ASSERT_TRUE(gone);
  DestroyWindow(gone);
  PAINTSTRUCT ps;
  EXPECT_EQ(BeginPaint(gone, &ps), HDC{});
}

}  // namespace
