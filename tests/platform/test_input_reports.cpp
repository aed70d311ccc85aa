// The messages the core makes of what a backend reports (backend_reports.h), without a display: the
// null backend is handed the reports and delivers them when the program reads its queue, so the
// Windows side of keys, buttons, capture, focus and the close box is checked here once for every
// backend. That X gives the reports for real input is checked with XTest in test_input_keyboard.cpp
// and test_input_mouse.cpp.
#include <gtest/gtest.h>
#include <windows.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <string>
#include <vector>

#include "backend_reports.h"
#include "message_log.h"
#include "null_backend.h"

using namespace plat;
using zelvo_test::Logged;
using zelvo_test::message_log;

namespace {

constexpr const char* kClass = "InputReportsWindow";
constexpr DWORD kPopup = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;

// Keys on a US keyboard: xkb keycode (kernel key number + 8) and its first two levels.
struct Key {
  unsigned keycode;
  uint32_t keysym;
  uint32_t shifted;
};
constexpr Key kA{38, XKB_KEY_a, XKB_KEY_A};
constexpr Key kRight{114, XKB_KEY_Right, XKB_KEY_Right};
constexpr Key kF10{76, XKB_KEY_F10, XKB_KEY_F10};
constexpr Key kAltL{64, XKB_KEY_Alt_L, XKB_KEY_Meta_L};
constexpr Key kKp1{87, XKB_KEY_KP_End, XKB_KEY_KP_1};
constexpr Key kOdiaeresis{47, XKB_KEY_odiaeresis, XKB_KEY_Odiaeresis};  // German layout, US ';'
constexpr Key kReturn{36, XKB_KEY_Return, XKB_KEY_Return};

KeyReport key_report(const Key& key, unsigned state, const char* text = "") {
  KeyReport r;
  r.keycode = key.keycode;
  r.keysym = key.keysym;
  r.shifted_keysym = key.shifted;
  r.typed_keysym = key.keysym;
  r.text = text;
  r.state = state;
  return r;
}

class InputReports : public ::testing::Test {
 protected:
  void SetUp() override {
    zelvo_test::register_logging_class(kClass);
    a_ = make(kPopup, 0, 100);
    ASSERT_EQ(GetFocus(), a_);
  }
  void TearDown() override {
    ReleaseCapture();
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) DestroyWindow(*it);
    deliver([] {});
  }
  HWND make(DWORD style, HWND parent, int x) {
    HWND h = CreateWindowExA(0, kClass, "", style, x, 100, 200, 150, parent, 0,
                             GetModuleHandleA(nullptr), nullptr);
    EXPECT_TRUE(h);
    if (!parent) windows_.push_back(h);
    return h;
  }
  // Hands `reports` to the null backend, then reads the queue as a program does (translating keys)
  // and gives what the window procedures got meanwhile of the messages `wanted` names.
  template <typename Reports>
  std::vector<Logged> deliver(Reports reports, std::vector<UINT> wanted = {}) {
    message_log().messages.clear();
    null_arrive(reports);
    MSG msg;
    while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    std::vector<Logged> out;
    for (const Logged& m : message_log().messages)
      for (UINT w : wanted)
        if (m.message == w) out.push_back(m);
    return out;
  }
  // Every key up, without messages, as when our window gets the keyboard back.
  static void all_keys_up() {
    static const uint8_t none[32] = {};
    report_keys_down(none);
  }
  HWND a_ = 0;
  std::vector<HWND> windows_;
};

const std::vector<UINT> kKeyMessages{WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP};

// Virtual key, WM_SYSKEYDOWN against WM_KEYDOWN, and the lParam bits: repeat count 1, scan code,
// extended (24), Alt (29), was down (30), released (31).
TEST_F(InputReports, KeysMakeKeyMessagesWithTheirLParamBits) {
  struct Case {
    const char* what;
    Key key;
    unsigned state;
    int presses;
    bool release;
    UINT message;
    WPARAM vk;
    uint32_t lparam;
  };
  const Case cases[] = {
      {"a press", kA, 0, 1, false, WM_KEYDOWN, 'A', 0x001E0001},
      {"a repeated", kA, 0, 2, false, WM_KEYDOWN, 'A', 0x401E0001},
      {"a release", kA, 0, 1, true, WM_KEYUP, 'A', 0xC01E0001},
      {"Alt+a", kA, kStateAlt, 1, false, WM_SYSKEYDOWN, 'A', 0x201E0001},
      {"Alt+a release", kA, kStateAlt, 1, true, WM_SYSKEYUP, 'A', 0xE01E0001},
      {"Ctrl+Alt+a (AltGr)", kA, kStateAlt | kStateControl, 1, false, WM_KEYDOWN, 'A', 0x201E0001},
      {"F10", kF10, 0, 1, false, WM_SYSKEYDOWN, VK_F10, 0x00440001},
      {"Right, extended", kRight, 0, 1, false, WM_KEYDOWN, VK_RIGHT, 0x014D0001},
      {"Alt itself", kAltL, 0, 1, false, WM_SYSKEYDOWN, VK_MENU, 0x20380001},
      {"keypad 1, Num Lock off", kKp1, 0, 1, false, WM_KEYDOWN, VK_END, 0x004F0001},
      {"keypad 1, Num Lock on", kKp1, kStateNumLock, 1, false, WM_KEYDOWN, VK_NUMPAD1, 0x004F0001},
      {"o umlaut by its place", kOdiaeresis, 0, 1, false, WM_KEYDOWN, VK_OEM_1, 0x00270001},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Logged> got = deliver(
        [&] {
          all_keys_up();
          for (int i = 0; i < c.presses; ++i) report_key(key_report(c.key, c.state), true);
          if (c.release) report_key(key_report(c.key, c.state), false);
        },
        kKeyMessages);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().hwnd, a_);
    EXPECT_EQ(got.back().message, c.message);
    EXPECT_EQ(got.back().wparam, c.vk);
    EXPECT_EQ(static_cast<uint32_t>(got.back().lparam), c.lparam);
  }
}

// What TranslateMessage posts for a press: its text in Windows-1252, one WM_CHAR a character; of
// the control characters only those Windows' keys type.
TEST_F(InputReports, PressesTypeWindows1252Characters) {
  struct Case {
    const char* what;
    Key key;
    const char* text;
    std::string chars;
  };
  const Case cases[] = {
      {"a", kA, "a", "a"},
      {"e acute", {26, XKB_KEY_eacute, XKB_KEY_Eacute}, "\xC3\xA9", "\xE9"},
      {"euro, beyond Latin-1", {26, XKB_KEY_EuroSign, XKB_KEY_EuroSign}, "\xE2\x82\xAC", "\x80"},
      {"Return", kReturn, "\r", "\r"},
      {"Backspace", {22, XKB_KEY_BackSpace, XKB_KEY_BackSpace}, "\b", "\b"},
      {"Delete types nothing", {119, XKB_KEY_Delete, XKB_KEY_Delete}, "\x7F", ""},
      {"a C1 control types nothing", kA, "\xC2\x85", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Logged> got = deliver(
        [&] {
          all_keys_up();
          report_key(key_report(c.key, 0, c.text), true);
        },
        {WM_CHAR});
    std::string chars;
    for (const Logged& m : got) chars += static_cast<char>(m.wparam);
    EXPECT_EQ(chars, c.chars);
  }
}

// Buttons, motion and the wheel: which message and window, MK_* flags of the buttons and keys held
// (with the event's own button), client coordinates cut to 16 bits, the wheel's screen coordinates.
// A button goes to the child the backend names under the pointer, in its own coordinates, unless a
// window has the capture; a window that is no child of the event's window is not taken.
TEST_F(InputReports, PointerReportsMakeMouseMessagesForTheirWindow) {
  HWND child = make(WS_CHILD | WS_VISIBLE, a_, 10);  // at (10, 100) of a's client area
  HWND other = make(WS_POPUP, 0, 400);               // hidden: a keeps the keyboard for the wheel
  enum Kind { kButtonDown, kButtonUp, kMove, kWheel };
  struct Case {
    const char* what;
    Kind kind;
    ReportButton button;
    int notches;
    unsigned state;
    POINT at;
    HWND named, capture;  // the child the backend names, the window that has the capture
    UINT message;
    HWND target;
    WPARAM wparam;
    LPARAM lparam;
  };
  const POINT left{-5, 7}, over_child{15, 106};
  const LPARAM client = MAKELPARAM(static_cast<uint16_t>(-5), 7);
  const LPARAM screen = MAKELPARAM(95, 107);
  const LPARAM at_child = MAKELPARAM(15, 106);
  const ReportButton kL = ReportButton::kLeft;
  const Case cases[] = {
      {"left down, Shift", kButtonDown, kL, 0, kStateShift, left, 0, 0, WM_LBUTTONDOWN, a_,
       MK_LBUTTON | MK_SHIFT, client},
      {"left up", kButtonUp, kL, 0, kStateLeftButton, left, 0, 0, WM_LBUTTONUP, a_, 0, client},
      {"right down, left held, Ctrl", kButtonDown, ReportButton::kRight, 0,
       kStateLeftButton | kStateControl, left, 0, 0, WM_RBUTTONDOWN, a_,
       MK_RBUTTON | MK_LBUTTON | MK_CONTROL, client},
      {"middle up, right held", kButtonUp, ReportButton::kMiddle, 0,
       kStateMiddleButton | kStateRightButton, left, 0, 0, WM_MBUTTONUP, a_, MK_RBUTTON, client},
      {"move, middle held", kMove, kL, 0, kStateMiddleButton, left, 0, 0, WM_MOUSEMOVE, a_,
       MK_MBUTTON, client},
      {"wheel away", kWheel, kL, 1, 0, left, 0, 0, WM_MOUSEWHEEL, a_, MAKEWPARAM(0, WHEEL_DELTA),
       screen},
      {"wheel toward, Shift", kWheel, kL, -1, kStateShift, left, 0, 0, WM_MOUSEWHEEL, a_,
       MAKEWPARAM(MK_SHIFT, static_cast<uint16_t>(-WHEEL_DELTA)), screen},
      {"child under the pointer", kButtonDown, kL, 0, 0, over_child, child, 0, WM_LBUTTONDOWN,
       child, MK_LBUTTON, MAKELPARAM(5, 6)},
      {"captured by the parent", kButtonDown, kL, 0, 0, over_child, child, a_, WM_LBUTTONDOWN, a_,
       MK_LBUTTON, at_child},
      {"no child of the window", kButtonDown, kL, 0, 0, over_child, other, 0, WM_LBUTTONDOWN, a_,
       MK_LBUTTON, at_child},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.capture) SetCapture(c.capture);
    PointerReport at{a_, c.named, c.at, POINT{95, 107}, c.state};
    std::vector<Logged> got = deliver(
        [&] {
          if (c.kind == kButtonDown || c.kind == kButtonUp)
            report_button(at, c.button, c.kind == kButtonDown);
          else if (c.kind == kMove)
            report_pointer_moved(at);
          else
            report_wheel(at, c.notches);
        },
        {c.message});
    ReleaseCapture();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].hwnd, c.target);
    EXPECT_EQ(got[0].wparam, c.wparam);
    EXPECT_EQ(got[0].lparam, c.lparam);
  }
}

// The native focus moving between our windows activates the one that has it; leaving for another
// program's window leaves none of ours active.
TEST_F(InputReports, KeyboardFocusReportsActivate) {
  HWND b = make(kPopup, 0, 400);
  ASSERT_EQ(GetActiveWindow(), b);
  struct Case {
    const char* what;
    HWND window;
    bool gained;
    HWND holder;
    HWND active;
  };
  const Case cases[] = {
      {"to a", a_, true, a_, a_},
      {"to b", b, true, b, b},
      {"to another program", b, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    deliver([&] { report_keyboard_focus(c.window, c.gained, c.holder); });
    EXPECT_EQ(GetActiveWindow(), c.active);
  }
}

// The close box is SC_CLOSE to the window, which DefWindowProcA makes WM_CLOSE and then destroys.
TEST_F(InputReports, CloseRequestIsTheSystemCommand) {
  std::vector<Logged> got = deliver([&] { report_close_requested(a_); }, {WM_SYSCOMMAND, WM_CLOSE});
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].message, static_cast<UINT>(WM_SYSCOMMAND));
  EXPECT_EQ(got[0].wparam, static_cast<WPARAM>(SC_CLOSE));
  EXPECT_EQ(got[1].message, static_cast<UINT>(WM_CLOSE));
  EXPECT_FALSE(IsWindow(a_));
}

}  // namespace
