// Real key presses through XTest become key messages with virtual-key codes and key-data bits.
#include <gtest/gtest.h>
// Xlib's macros after GoogleTest.
#include <X11/keysym.h>

#include "../../platform/src/x_display.h"
#include "../winapi/window_test_log.h"
#include "x_input.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "KeyboardTestWindow";
constexpr uint32_t kAltBit = 1u << 29;
constexpr uint32_t kPreviousBit = 1u << 30;
constexpr uint32_t kReleaseBit = 1u << 31;

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

TEST_F(Keyboard, EscapeArrivesAsKeyDown27ThroughPeekGetDispatch) {
  input_.press_key(XK_Escape);
  // The framework's pump: peek without removing, then take one message.
  ASSERT_TRUE(pump_until(pump_one, [] { return message_log().count(WM_KEYDOWN) == 1; }));
  Logged down = message_log().only(WM_KEYDOWN)[0];
  EXPECT_EQ(down.hwnd, window_);
  EXPECT_EQ(down.wparam, static_cast<WPARAM>(VK_ESCAPE));
  uint32_t bits = static_cast<uint32_t>(down.lparam);
  EXPECT_EQ(bits & 0xFFFF, 1u);        // repeat count
  EXPECT_EQ((bits >> 16) & 0xFF, 1u);  // the scan code of Escape
  EXPECT_EQ(bits & (kPreviousBit | kReleaseBit), 0u);
  input_.release_key(XK_Escape);
  ASSERT_TRUE(wait_for_message(WM_KEYUP));
  uint32_t up = static_cast<uint32_t>(message_log().only(WM_KEYUP)[0].lparam);
  EXPECT_EQ(up & (kPreviousBit | kReleaseBit), kPreviousBit | kReleaseBit);
  EXPECT_EQ(GetKeyState(VK_ESCAPE) & 0x8000, 0);
}

TEST_F(Keyboard, KeysMapToTheirVirtualKeyCodes) {
  struct Case {
    unsigned long keysym;
    WPARAM vk;
  };
  const Case cases[] = {{XK_a, 'A'},
                        {XK_z, 'Z'},
                        {XK_5, '5'},
                        {XK_space, VK_SPACE},
                        {XK_Return, VK_RETURN},
                        {XK_Tab, VK_TAB},
                        {XK_BackSpace, VK_BACK},
                        {XK_Left, VK_LEFT},
                        {XK_Up, VK_UP},
                        {XK_Right, VK_RIGHT},
                        {XK_Down, VK_DOWN},
                        {XK_F1, VK_F1},
                        {XK_F12, VK_F12},
                        {XK_Shift_L, VK_SHIFT},
                        {XK_Control_L, VK_CONTROL},
                        {XK_Delete, VK_DELETE},
                        {XK_Home, VK_HOME}};
  for (const Case& c : cases) input_.tap_key(c.keysym);
  size_t n = sizeof(cases) / sizeof(cases[0]);
  ASSERT_TRUE(wait_for_message(WM_KEYUP, n));
  auto downs = message_log().only(WM_KEYDOWN);
  ASSERT_EQ(downs.size(), n);
  for (size_t i = 0; i < n; ++i) EXPECT_EQ(downs[i].wparam, cases[i].vk) << "key " << i;
  // Arrows are extended keys.
  auto ups = message_log().only(WM_KEYUP);
  EXPECT_TRUE(static_cast<uint32_t>(downs[7].lparam) & (1u << 24));
  EXPECT_FALSE(static_cast<uint32_t>(downs[0].lparam) & (1u << 24));
  EXPECT_EQ(ups.size(), n);
}

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

TEST_F(Keyboard, AltMakesSystemKeysAndAltF4Closes) {
  input_.press_key(XK_Alt_L);
  input_.tap_key(XK_x);
  ASSERT_TRUE(wait_for_message(WM_SYSKEYUP, 1));
  auto sys = message_log().only(WM_SYSKEYDOWN);
  ASSERT_EQ(sys.size(), 2u);
  EXPECT_EQ(sys[0].wparam, static_cast<WPARAM>(VK_MENU));
  EXPECT_EQ(sys[1].wparam, static_cast<WPARAM>('X'));
  EXPECT_NE(static_cast<uint32_t>(sys[1].lparam) & kAltBit, 0u);
  EXPECT_EQ(message_log().count(WM_KEYDOWN), 0u);

  input_.tap_key(XK_F4);
  input_.release_key(XK_Alt_L);
  ASSERT_TRUE(wait_for_message(WM_DESTROY));
  int f4 = -1;
  for (size_t i = 0; i < message_log().messages.size(); ++i)
    if (message_log().messages[i].message == WM_SYSKEYDOWN &&
        message_log().messages[i].wparam == VK_F4)
      f4 = static_cast<int>(i);
  ASSERT_GE(f4, 0);
  int command = message_log().first(WM_SYSCOMMAND);
  EXPECT_GT(command, f4);
  EXPECT_EQ(message_log().messages[command].wparam, static_cast<WPARAM>(SC_CLOSE));
  EXPECT_GT(message_log().first(WM_CLOSE), command);
  EXPECT_GT(message_log().first(WM_DESTROY), message_log().first(WM_CLOSE));
  EXPECT_FALSE(IsWindow(window_));
}

TEST_F(Keyboard, TranslateMessageTypesCharacters) {
  input_.tap_key(XK_q);
  input_.press_key(XK_Shift_L);
  input_.tap_key(XK_q);
  input_.release_key(XK_Shift_L);
  input_.tap_key(XK_Return);
  input_.tap_key(XK_Left);  // types nothing
  ASSERT_TRUE(wait_for_message(WM_KEYUP, 5));
  pump_all();
  auto chars = message_log().only(WM_CHAR);
  ASSERT_EQ(chars.size(), 3u);
  EXPECT_EQ(chars[0].wparam, static_cast<WPARAM>('q'));
  EXPECT_EQ(chars[1].wparam, static_cast<WPARAM>('Q'));
  EXPECT_EQ(chars[2].wparam, static_cast<WPARAM>('\r'));
  // Each character follows its key-down.
  int first_char = message_log().first(WM_CHAR);
  EXPECT_EQ(message_log().messages[first_char - 1].message, static_cast<UINT>(WM_KEYDOWN));
}

}  // namespace
