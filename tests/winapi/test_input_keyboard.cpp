// Real key presses become key messages with virtual-key codes and key-data bits.
#include <gtest/gtest.h>
#include <windows.h>

#include "real_input.h"
#include "window_test_log.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "KeyboardTestWindow";
constexpr uint32_t kExtendedBit = 1u << 24;
constexpr uint32_t kAltBit = 1u << 29;
constexpr uint32_t kPreviousBit = 1u << 30;
constexpr uint32_t kReleaseBit = 1u << 31;

class Keyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(input_.ok()) << "the tests need real input";
    register_logging_class(kClass);
    message_log() = MessageLog{};
    window_ = CreateWindowExA(0, kClass, "keys", kCaptionedStyle, 0, 0, 300, 200, 0, 0, 0, nullptr);
    ASSERT_TRUE(window_);
    // A new visible window takes the keyboard focus (from the window manager or the system).
    ASSERT_TRUE(pump_while_waiting([&] { return GetForegroundWindow() == window_; }));
    message_log().messages.clear();
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    pump_all();
  }

  RealInput input_;
  HWND window_ = 0;
};

TEST_F(Keyboard, EscapeArrivesAsKeyDown27ThroughPeekGetDispatch) {
  input_.press_key(VK_ESCAPE);
  // The framework's pump: peek without removing, then take one message.
  ASSERT_TRUE(pump_while_waiting([] {
    pump_one();
    return message_log().count(WM_KEYDOWN) == 1;
  }));
  Logged down = message_log().only(WM_KEYDOWN)[0];
  EXPECT_EQ(down.hwnd, window_);
  EXPECT_EQ(down.wparam, static_cast<WPARAM>(VK_ESCAPE));
  uint32_t bits = static_cast<uint32_t>(down.lparam);
  EXPECT_EQ(bits & 0xFFFF, 1u);        // repeat count
  EXPECT_EQ((bits >> 16) & 0xFF, 1u);  // the scan code of Escape
  EXPECT_EQ(bits & (kPreviousBit | kReleaseBit), 0u);
  input_.release_key(VK_ESCAPE);
  ASSERT_TRUE(wait_for_message(WM_KEYUP));
  uint32_t up = static_cast<uint32_t>(message_log().only(WM_KEYUP)[0].lparam);
  EXPECT_EQ(up & (kPreviousBit | kReleaseBit), kPreviousBit | kReleaseBit);
  EXPECT_EQ(GetKeyState(VK_ESCAPE) & 0x8000, 0);
}

TEST_F(Keyboard, KeysMapToTheirVirtualKeyCodes) {
  const WORD keys[] = {'A',     'Z',      '5',        VK_SPACE,  VK_RETURN, VK_TAB,
                       VK_BACK, VK_LEFT,  VK_UP,      VK_RIGHT,  VK_DOWN,   VK_F1,
                       VK_F12,  VK_SHIFT, VK_CONTROL, VK_DELETE, VK_HOME};
  for (WORD vk : keys) input_.tap_key(vk);
  const size_t n = sizeof(keys) / sizeof(keys[0]);
  ASSERT_TRUE(wait_for_message(WM_KEYUP, n));
  auto downs = message_log().only(WM_KEYDOWN);
  ASSERT_EQ(downs.size(), n);
  for (size_t i = 0; i < n; ++i) EXPECT_EQ(downs[i].wparam, keys[i]) << "key " << i;
  // Arrows are extended keys.
  auto ups = message_log().only(WM_KEYUP);
  EXPECT_TRUE(static_cast<uint32_t>(downs[7].lparam) & kExtendedBit);
  EXPECT_FALSE(static_cast<uint32_t>(downs[0].lparam) & kExtendedBit);
  EXPECT_EQ(ups.size(), n);
}

TEST_F(Keyboard, AltMakesSystemKeys) {
  input_.press_key(VK_MENU);
  input_.tap_key('X');
  ASSERT_TRUE(wait_for_message(WM_SYSKEYUP, 1));
  auto sys = message_log().only(WM_SYSKEYDOWN);
  ASSERT_EQ(sys.size(), 2u);
  EXPECT_EQ(sys[0].wparam, static_cast<WPARAM>(VK_MENU));
  EXPECT_EQ(sys[1].wparam, static_cast<WPARAM>('X'));
  EXPECT_NE(static_cast<uint32_t>(sys[1].lparam) & kAltBit, 0u);
  EXPECT_EQ(message_log().count(WM_KEYDOWN), 0u);
  input_.release_key(VK_MENU);
}

// Alone: after Alt+letter, default processing of the typed system character may enter the menu
// loop, which takes the Alt key's state with it.
TEST_F(Keyboard, AltF4ClosesThroughTheSystemCommand) {
  input_.press_key(VK_MENU);
  input_.tap_key(VK_F4);
  input_.release_key(VK_MENU);
  ASSERT_TRUE(wait_for_message(WM_DESTROY));
  int f4 = -1;
  for (size_t i = 0; i < message_log().messages.size(); ++i)
    if (message_log().messages[i].message == WM_SYSKEYDOWN &&
        message_log().messages[i].wparam == VK_F4)
      f4 = static_cast<int>(i);
  ASSERT_GE(f4, 0);
  int command = message_log().first(WM_SYSCOMMAND);
  ASSERT_GT(command, f4);
  EXPECT_EQ(message_log().messages[command].wparam & 0xFFF0, static_cast<WPARAM>(SC_CLOSE));
  EXPECT_GT(message_log().first(WM_CLOSE), command);
  EXPECT_GT(message_log().first(WM_DESTROY), message_log().first(WM_CLOSE));
  EXPECT_FALSE(IsWindow(window_));
}

TEST_F(Keyboard, TranslateMessageTypesCharacters) {
  input_.tap_key('Q');
  input_.press_key(VK_SHIFT);
  input_.tap_key('Q');
  input_.release_key(VK_SHIFT);
  input_.tap_key(VK_RETURN);
  input_.tap_key(VK_LEFT);  // types nothing
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
