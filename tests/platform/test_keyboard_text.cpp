// Text typed beyond ASCII, as an ANSI window on Windows receives it: real key presses (XTest) on
// keys that the test gives other keysyms for its length (the X server's keymap is changed and put
// back), through the compose table of the locale the environment names (the C locale's unless a
// case names one). A Windows program cannot change the X keymap, so these checks stay with our
// layer; docs/windows.md says so.
#include <gtest/gtest.h>
// Xlib's macros after GoogleTest.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "message_log.h"
#include "window_internal.h"
#include "x_display.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "KeyboardTextTestWindow";
// Keys by X keycode: the key between left Shift and Z (scan code 0x56) and the key right of P
// (0x1A), which the US keymap gives < > and [ {.
constexpr KeyCode kShiftZKey = 94;
constexpr KeyCode kRightOfPKey = 34;

using KeyMessage = std::pair<UINT, WPARAM>;

// Gives a key other keysyms until it goes out of scope, then puts the old ones back.
class KeyRemap {
 public:
  KeyRemap(Display* d, KeyCode code, std::vector<KeySym> keysyms) : d_(d), code_(code) {
    int count = 0;
    if (KeySym* old = XGetKeyboardMapping(d, code, 1, &count)) {
      old_.assign(old, old + count);
      XFree(old);
    }
    XChangeKeyboardMapping(d, code, static_cast<int>(keysyms.size()), keysyms.data(), 1);
    XSync(d, False);
  }
  ~KeyRemap() {
    if (!old_.empty())
      XChangeKeyboardMapping(d_, code_, static_cast<int>(old_.size()), old_.data(), 1);
    XSync(d_, False);
  }
  KeyRemap(const KeyRemap&) = delete;
  KeyRemap& operator=(const KeyRemap&) = delete;

 private:
  Display* d_;
  KeyCode code_;
  std::vector<KeySym> old_;
};

class KeyboardText : public ::testing::Test {
 protected:
  void SetUp() override {
    d_ = XOpenDisplay(nullptr);
    ASSERT_NE(d_, nullptr) << "the tests need an X server";
    int event_base, error_base, major, minor;
    ASSERT_TRUE(XTestQueryExtension(d_, &event_base, &error_base, &major, &minor));
    register_logging_class(kClass);
    message_log() = MessageLog{};
    window_ = CreateWindowExA(0, kClass, "text", kCaptionedStyle, 0, 0, 300, 200, 0, 0, 0, nullptr);
    ASSERT_NE(window_, 0u);
    ASSERT_TRUE(pump_while_waiting([&] { return GetForegroundWindow() == window_; }));
    message_log().messages.clear();
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    pump_all();
    if (d_) XCloseDisplay(d_);
  }

  KeyCode code(KeySym keysym) const { return XKeysymToKeycode(d_, keysym); }
  void press(KeyCode key) {
    XTestFakeKeyEvent(d_, key, True, CurrentTime);
    XSync(d_, False);
  }
  void release(KeyCode key) {
    XTestFakeKeyEvent(d_, key, False, CurrentTime);
    XSync(d_, False);
  }
  void tap(KeyCode key) {
    press(key);
    release(key);
  }
  // Shift held around a tap.
  void tap_shifted(KeyCode key) {
    press(code(XK_Shift_L));
    tap(key);
    release(code(XK_Shift_L));
  }

  // The key and character messages the procedure received, in order, without Shift's.
  std::vector<KeyMessage> received(size_t key_ups) {
    EXPECT_TRUE(wait_for_message(WM_KEYUP, key_ups));
    pump_all();
    std::vector<KeyMessage> out;
    for (const Logged& m : message_log().messages)
      if (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST && m.wparam != VK_SHIFT)
        out.emplace_back(m.message, m.wparam);
    message_log().messages.clear();
    return out;
  }

  // A keycode that the server's keymap leaves without keysyms and that lies outside every place
  // of a PC keyboard the layer knows (kernel key numbers from 128 up); 0 when there is none.
  KeyCode spare_key() const {
    int low = 0, high = 0;
    XDisplayKeycodes(d_, &low, &high);
    for (int key = high; key >= 136 && key >= low; --key) {
      int count = 0;
      KeySym* syms = XGetKeyboardMapping(d_, static_cast<KeyCode>(key), 1, &count);
      bool empty = true;
      for (int i = 0; syms && i < count; ++i) empty = empty && syms[i] == NoSymbol;
      if (syms) XFree(syms);
      if (empty) return static_cast<KeyCode>(key);
    }
    return 0;
  }

  Display* d_ = nullptr;
  HWND window_ = 0;
};

TEST_F(KeyboardText, LettersOfTheCodePageArriveAsTheirWindows1252Bytes) {
  {
    KeyRemap accent(d_, kShiftZKey, {XK_eacute, XK_Eacute});
    tap(kShiftZKey);
    tap_shifted(kShiftZKey);
    EXPECT_EQ(received(2), (std::vector<KeyMessage>{{WM_KEYDOWN, VK_OEM_102},
                                                    {WM_CHAR, 0xE9},
                                                    {WM_KEYUP, VK_OEM_102},
                                                    {WM_KEYDOWN, VK_OEM_102},
                                                    {WM_CHAR, 0xC9},
                                                    {WM_KEYUP, VK_OEM_102}}));
  }
  // The euro sign is 0x80 in Windows-1252, where Latin-1 has a control character.
  KeyRemap grave(d_, kShiftZKey, {XK_egrave, XK_EuroSign});
  tap(kShiftZKey);
  tap_shifted(kShiftZKey);
  EXPECT_EQ(received(2), (std::vector<KeyMessage>{{WM_KEYDOWN, VK_OEM_102},
                                                  {WM_CHAR, 0xE8},
                                                  {WM_KEYUP, VK_OEM_102},
                                                  {WM_KEYDOWN, VK_OEM_102},
                                                  {WM_CHAR, 0x80},
                                                  {WM_KEYUP, VK_OEM_102}}));
}

TEST_F(KeyboardText, ACharacterOutsideTheCodePageArrivesAsAQuestionMark) {
  KeyRemap cyrillic(d_, kShiftZKey, {XK_Cyrillic_ka, XK_Cyrillic_KA});
  tap(kShiftZKey);
  EXPECT_EQ(received(1), (std::vector<KeyMessage>{
                             {WM_KEYDOWN, VK_OEM_102}, {WM_CHAR, '?'}, {WM_KEYUP, VK_OEM_102}}));
}

// As on Windows: the dead key's own key-down, WM_DEADCHAR with the accent and its key-up, then the
// letter's key-down, the composed character and the letter's key-up.
TEST_F(KeyboardText, DeadKeyThenLetterTypesTheComposedLetter) {
  KeyRemap dead(d_, kShiftZKey, {XK_dead_acute, XK_dead_grave});
  tap(kShiftZKey);
  tap(code(XK_e));
  EXPECT_EQ(received(2), (std::vector<KeyMessage>{{WM_KEYDOWN, VK_OEM_102},
                                                  {WM_DEADCHAR, 0xB4},
                                                  {WM_KEYUP, VK_OEM_102},
                                                  {WM_KEYDOWN, 'E'},
                                                  {WM_CHAR, 0xE9},
                                                  {WM_KEYUP, 'E'}}));
  tap_shifted(kShiftZKey);
  tap(code(XK_e));
  EXPECT_EQ(received(2), (std::vector<KeyMessage>{{WM_KEYDOWN, VK_OEM_102},
                                                  {WM_DEADCHAR, '`'},
                                                  {WM_KEYUP, VK_OEM_102},
                                                  {WM_KEYDOWN, 'E'},
                                                  {WM_CHAR, 0xE8},
                                                  {WM_KEYUP, 'E'}}));
  // The sequence is over: the next e is a plain e.
  tap(code(XK_e));
  EXPECT_EQ(received(1),
            (std::vector<KeyMessage>{{WM_KEYDOWN, 'E'}, {WM_CHAR, 'e'}, {WM_KEYUP, 'E'}}));
  // A letter the accent does not combine with: the accent, then the letter.
  tap(kShiftZKey);
  tap(code(XK_q));
  EXPECT_EQ(received(2), (std::vector<KeyMessage>{{WM_KEYDOWN, VK_OEM_102},
                                                  {WM_DEADCHAR, 0xB4},
                                                  {WM_KEYUP, VK_OEM_102},
                                                  {WM_KEYDOWN, 'Q'},
                                                  {WM_CHAR, 0xB4},
                                                  {WM_CHAR, 'q'},
                                                  {WM_KEYUP, 'Q'}}));
}

// The Compose key has no Windows counterpart: its steps give key messages only, the last key the
// result.
TEST_F(KeyboardText, ComposeSequenceTypesItsResultWithTheLastKey) {
  KeyRemap compose(d_, kShiftZKey, {XK_Multi_key});
  tap(kShiftZKey);
  tap(code(XK_apostrophe));
  tap(code(XK_e));
  EXPECT_EQ(received(3), (std::vector<KeyMessage>{{WM_KEYDOWN, VK_OEM_102},
                                                  {WM_KEYUP, VK_OEM_102},
                                                  {WM_KEYDOWN, VK_OEM_7},
                                                  {WM_KEYUP, VK_OEM_7},
                                                  {WM_KEYDOWN, 'E'},
                                                  {WM_CHAR, 0xE9},
                                                  {WM_KEYUP, 'E'}}));
}

// A keysym without a code of its own: the code of the key's place on a US keyboard, and 0xFF for a
// key with no place, as Windows gives a scan code its layout does not assign.
TEST_F(KeyboardText, KeysWithoutACodeTakeTheirPlacesCodeOr0xFF) {
  {
    KeyRemap umlaut(d_, kRightOfPKey, {XK_udiaeresis, XK_Udiaeresis});
    tap(kRightOfPKey);
    EXPECT_EQ(received(1), (std::vector<KeyMessage>{
                               {WM_KEYDOWN, VK_OEM_4}, {WM_CHAR, 0xFC}, {WM_KEYUP, VK_OEM_4}}));
  }
  KeyCode spare = spare_key();
  ASSERT_NE(spare, 0) << "the keymap has no key without keysyms";
  KeyRemap accent(d_, spare, {XK_eacute});
  tap(spare);
  EXPECT_EQ(received(1),
            (std::vector<KeyMessage>{{WM_KEYDOWN, 0xFF}, {WM_CHAR, 0xE9}, {WM_KEYUP, 0xFF}}));
  EXPECT_EQ(GetKeyState(0xFF) & 0x8000, 0);
}

// A GL pixel format may give the window a new X window; a dead key typed before still combines
// there.
TEST_F(KeyboardText, DeadKeysStillCombineAfterTheWindowGetsANewXWindow) {
  KeyRemap dead(d_, kShiftZKey, {XK_dead_acute});
  tap(code(XK_e));
  EXPECT_EQ(received(1),
            (std::vector<KeyMessage>{{WM_KEYDOWN, 'E'}, {WM_CHAR, 'e'}, {WM_KEYUP, 'E'}}));
  Display* layer = plat::x_display();
  XVisualInfo info;
  ASSERT_TRUE(XMatchVisualInfo(layer, DefaultScreen(layer), 32, TrueColor, &info))
      << "no 32-bit visual";
  ::Window before = plat::x_window(window_);
  ASSERT_TRUE(plat::window_use_visual(window_, info.visual, 32));
  ASSERT_NE(plat::x_window(window_), before);
  pump_all();
  message_log().messages.clear();
  tap(kShiftZKey);
  tap(code(XK_e));
  EXPECT_EQ(received(2), (std::vector<KeyMessage>{{WM_KEYDOWN, VK_OEM_102},
                                                  {WM_DEADCHAR, 0xB4},
                                                  {WM_KEYUP, VK_OEM_102},
                                                  {WM_KEYDOWN, 'E'},
                                                  {WM_CHAR, 0xE9},
                                                  {WM_KEYUP, 'E'}}));
}

// A dead key or the Compose key on the key between Shift and Z, then letters, with LC_ALL naming
// the locale; the characters typed, as the procedure receives them.
struct LocaleCase {
  const char* locale;
  KeySym first;
  std::string letters;
  std::vector<KeyMessage> chars;
};

// Each case runs on a thread of its own, whose compose state is made at its first key from the
// locale then named.
TEST_F(KeyboardText, DeadKeysAndSequencesTypeWhatTheLocalesComposeTableSays) {
  DestroyWindow(window_);
  pump_all();
  const LocaleCase cases[] = {
      {"cs_CZ.UTF-8", XK_dead_caron, "s", {{WM_DEADCHAR, '?'}, {WM_CHAR, 0x9A}}},
      {"cs_CZ.UTF-8", XK_dead_caron, "c", {{WM_DEADCHAR, '?'}, {WM_CHAR, '?'}}},  // U+010D
      {"pl_PL.UTF-8", XK_dead_ogonek, "q", {{WM_DEADCHAR, '?'}, {WM_CHAR, '?'}, {WM_CHAR, 'q'}}},
      {"en_US.UTF-8", XK_dead_acute, "e", {{WM_DEADCHAR, 0xB4}, {WM_CHAR, 0xE9}}},
      {"en_US.UTF-8", XK_dead_acute, "c", {{WM_DEADCHAR, 0xB4}, {WM_CHAR, '?'}}},   // U+0107
      {"pt_BR.UTF-8", XK_dead_acute, "c", {{WM_DEADCHAR, 0xB4}, {WM_CHAR, 0xE7}}},  // its own rule
      {"en_US.UTF-8", XK_Multi_key, "oe", {{WM_CHAR, 0x9C}}},
  };
  for (const LocaleCase& c : cases) {
    KeyRemap first(d_, kShiftZKey, {c.first});
    std::thread([&] {
      SCOPED_TRACE(std::string(c.locale) + " " + XKeysymToString(c.first) + " " + c.letters);
      setenv("LC_ALL", c.locale, 1);
      HWND w =
          CreateWindowExA(0, kClass, "text", kCaptionedStyle, 0, 0, 300, 200, 0, 0, 0, nullptr);
      ASSERT_TRUE(pump_while_waiting([&] { return GetForegroundWindow() == w; }));
      message_log().messages.clear();
      tap(kShiftZKey);
      for (char letter : c.letters) tap(code(static_cast<KeySym>(letter)));
      std::vector<KeyMessage> chars;
      for (const KeyMessage& m : received(1 + c.letters.size()))
        if (m.first == WM_CHAR || m.first == WM_DEADCHAR) chars.push_back(m);
      EXPECT_EQ(chars, c.chars);
      DestroyWindow(w);
      pump_all();
    }).join();
  }
  unsetenv("LC_ALL");
}

}  // namespace
