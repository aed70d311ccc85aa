// The limits of the posted-message queue, checked with real X input beside the flood, and painting
// a window that is gone.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <cstring>

#include "../../platform/src/x_display.h"
#include "../winapi/window_test_log.h"
#include "x_input.h"

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
    ASSERT_NE(window_, 0u);
    drain();
  }
  void TearDown() override {
    DestroyWindow(window_);
    drain();
  }
  void drain() {
    if (Display* d = plat::x_display()) XSync(d, False);
    MSG msg;
    while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  HWND window_ = 0;
};

TEST_F(MessageQuota, PostingBeyondTenThousandFailsWithTheQuotaErrorAndInputStillArrives) {
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

TEST_F(MessageQuota, BeginPaintOnAStaleWindowFailsAndZeroesThePaintStruct) {
  HWND gone = CreateWindowExA(0, kClass, "gone", kCaptionedStyle, 0, 0, 50, 50, 0, 0, 0, nullptr);
  ASSERT_NE(gone, 0u);
  DestroyWindow(gone);
  PAINTSTRUCT ps;
  std::memset(&ps, 0xAB, sizeof ps);
  EXPECT_EQ(BeginPaint(gone, &ps), 0u);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&ps);
  EXPECT_TRUE(std::all_of(bytes, bytes + sizeof ps, [](unsigned char b) { return b == 0; }));
}

}  // namespace
