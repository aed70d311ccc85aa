// Real key presses become key messages with virtual-key codes and key-data bits.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "message_log.h"
#include "real_input.h"

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

// Keys typed while the program is busy: Windows gives every press its own character, however many
// wait and however late the program reads them. The text mixes letters, digits and Shift, so that a
// character given to another press, or a press left without one, shows in the sequence.
struct BusyTyping {
  const char* name;
  size_t keys;
  bool pump_each_key;  // read one message after every key, as a frame loop that keeps up does
};

std::string busy_text(size_t keys) {
  const std::string pattern = "abcdefghij0123456789KLMNOPqrstuvwxyzABCDEFGHIJ9876543210";
  std::string text;
  for (size_t i = 0; i < keys; ++i) text += pattern[(i * 7 + i / pattern.size()) % pattern.size()];
  return text;
}

void type(RealInput& input, char c) {
  const bool upper = c >= 'A' && c <= 'Z';
  const WORD vk = static_cast<WORD>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  if (upper) input.press_key(VK_SHIFT);
  input.tap_key(vk);
  if (upper) input.release_key(VK_SHIFT);
}

// For each key-down but Shift's, the characters that followed it before the next key-down.
std::vector<std::string> chars_after_each_key() {
  std::vector<std::string> out;
  for (const Logged& m : message_log().messages) {
    if (m.message == WM_KEYDOWN && m.wparam != VK_SHIFT) out.emplace_back();
    if (m.message == WM_CHAR && !out.empty()) out.back() += static_cast<char>(m.wparam);
  }
  return out;
}

size_t key_ups_but_shift() {
  size_t n = 0;
  for (const Logged& m : message_log().messages) n += m.message == WM_KEYUP && m.wparam != VK_SHIFT;
  return n;
}

TEST_F(Keyboard, KeysTypedWhileBusyEachGiveTheirOwnCharacter) {
  // 3,400 keys leave more than the 10,000 messages a queue holds: downs, ups and Shift's.
  const BusyTyping cases[] = {{"120 keys, read afterwards", 120, false},
                              {"500 keys, one message read after each", 500, true},
                              {"3400 keys, read afterwards", 3400, false}};
  for (const BusyTyping& c : cases) {
    SCOPED_TRACE(c.name);
    message_log().messages.clear();
    const std::string text = busy_text(c.keys);
    for (char ch : text) {
      type(input_, ch);
      if (c.pump_each_key) pump_one();
    }
    // Shift's key-ups do not count: the last key's own up comes after its down and character.
    ASSERT_TRUE(pump_while_waiting([&] { return key_ups_but_shift() >= c.keys; }, 60000));
    const std::vector<std::string> typed = chars_after_each_key();
    ASSERT_EQ(typed.size(), c.keys);
    size_t wrong = 0;
    for (size_t i = 0; i < c.keys; ++i)
      if (typed[i] != std::string(1, text[i]) && wrong++ < 5)
        ADD_FAILURE() << "key " << i << " '" << text[i] << "' typed \"" << typed[i] << "\"";
    EXPECT_EQ(wrong, 0u) << "keys that did not type their own character, of " << c.keys << "; "
                         << message_log().count(WM_CHAR) << " characters in all";
  }
}

// When F1 goes up, against the first window's destruction and the next window's showing.
enum class Release { BeforeDestroyUnread, WhileNoWindow, AfterNextShown, BeforeOtherShown };

// A key pressed in one window and released after the keyboard moved on: Windows hands the key-up
// to the window that has the keyboard when the program reads it, whatever window got the key-down,
// so a program that makes its window again (a full-screen toggle) hears of every key it saw go
// down. A key released while no window of the program has the keyboard reaches no window, but the
// program sees it up once it has the keyboard again, and the next press is a new one.
TEST_F(Keyboard, KeyUpGoesToTheWindowThatHasTheKeyboardWhenItIsRead) {
  const std::pair<const char*, Release> cases[] = {
      {"released before the destruction, read after", Release::BeforeDestroyUnread},
      {"released while no window exists", Release::WhileNoWindow},
      {"released once the next window is shown", Release::AfterNextShown},
      {"released before another window is shown, the first staying", Release::BeforeOtherShown},
  };
  for (const auto& [name, when] : cases) {
    SCOPED_TRACE(name);
    // Clang 14 cannot capture a structured binding.
    auto release_if = [&, when = when](Release at) {
      if (when == at) input_.release_key(VK_F1);
    };
    const HWND first = window_;
    input_.press_key(VK_F1);
    ASSERT_TRUE(wait_for_message(WM_KEYDOWN));
    message_log().messages.clear();
    release_if(Release::BeforeDestroyUnread);
    release_if(Release::BeforeOtherShown);
    if (when != Release::BeforeOtherShown) DestroyWindow(first);
    release_if(Release::WhileNoWindow);
    window_ = CreateWindowExA(0, kClass, "next", kCaptionedStyle, 0, 0, 300, 200, 0, 0, 0, nullptr);
    ASSERT_TRUE(window_);
    // Shown after its thread's foreground window went, it has the keyboard at once.
    EXPECT_EQ(GetForegroundWindow(), window_);
    EXPECT_EQ(GetFocus(), window_);
    release_if(Release::AfterNextShown);

    if (when != Release::WhileNoWindow) {
      EXPECT_TRUE(wait_for_message(WM_KEYUP)) << "the key-up was lost";
      for (const Logged& up : message_log().only(WM_KEYUP)) {
        EXPECT_EQ(up.hwnd, window_);
        EXPECT_EQ(up.wparam, static_cast<WPARAM>(VK_F1));
      }
    } else {
      EXPECT_TRUE(pump_while_waiting([] { return (GetKeyState(VK_F1) & 0x8000) == 0; }));
      EXPECT_EQ(message_log().count(WM_KEYUP), 0u);
    }

    message_log().messages.clear();
    input_.tap_key(VK_F1);
    ASSERT_TRUE(wait_for_message(WM_KEYUP));
    const std::vector<Logged> downs = message_log().only(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].hwnd, window_);
    EXPECT_EQ(static_cast<uint32_t>(downs[0].lparam) & kPreviousBit, 0u) << "not a new press";
    if (IsWindow(first)) DestroyWindow(first);
    pump_all();
    message_log().messages.clear();
  }
}

}  // namespace
