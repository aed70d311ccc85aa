// A key held down: the X server's auto-repeat becomes repeated key-downs and one key-up. (The
// other keyboard checks are shared with Windows, in tests/winapi.)
#include <gtest/gtest.h>
// Xlib's macros after GoogleTest.
#include <X11/keysym.h>

#include "message_log.h"
#include "real_input.h"
#include "x_display.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "KeyboardTestWindow";
constexpr uint32_t kPreviousBit = 1u << 30;

class Keyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(input_.ok()) << "the tests need an X server with XTest";
    register_logging_class(kClass);
    message_log() = MessageLog{};
    window_ = CreateWindowExA(0, kClass, "keys", kCaptionedStyle, 0, 0, 300, 200, 0, 0, 0, nullptr);
    ASSERT_NE(window_, 0u);
    // Without a window manager the new window gets the keyboard focus from the layer itself.
    ASSERT_TRUE(pump_until(pump_all, [&] { return GetForegroundWindow() == window_; }));
    message_log().messages.clear();
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    pump_all();
  }
  std::vector<Logged> keys() const {
    std::vector<Logged> out;
    for (const Logged& m : message_log().messages)
      if (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST) out.push_back(m);
    return out;
  }

  XInput input_;
  HWND window_ = 0;
};

TEST_F(Keyboard, HeldKeyRepeatsDownsAndGivesOneUp) {
  input_.hold_key(XK_d, 1200);
  ASSERT_TRUE(wait_for_message(WM_KEYUP));
  auto downs = message_log().only(WM_KEYDOWN);
  ASSERT_GE(downs.size(), 3u);
  EXPECT_EQ(message_log().count(WM_KEYUP), 1u);
  EXPECT_EQ(static_cast<uint32_t>(downs[0].lparam) & kPreviousBit, 0u);
  for (size_t i = 1; i < downs.size(); ++i) {
    EXPECT_EQ(downs[i].wparam, static_cast<WPARAM>('D'));
    EXPECT_NE(static_cast<uint32_t>(downs[i].lparam) & kPreviousBit, 0u) << "repeat " << i;
  }
  // The key-up comes after the last repeat.
  EXPECT_EQ(keys().back().message, static_cast<UINT>(WM_KEYUP));
}

}  // namespace
