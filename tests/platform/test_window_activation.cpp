// Activation against the real X keyboard focus, on a private X server with and without a window
// manager: a window shown with activation is the foreground window before ShowWindow returns and
// gets the X focus; the no-activate show commands leave both where they are, even after the events
// have been taken. Each scenario runs in a child process, as the layer opens its display once.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "demo_session.h"
#include "message_log.h"
#include "window_internal.h"
#include "x_display.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "ActivationTestWindow";
constexpr DWORD kPopup = WS_POPUP | WS_CAPTION | WS_SYSMENU;

struct Checks {
  int failures = 0;
  void operator()(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "failed: %s\n", what);
    ++failures;
  }
};

HWND x_focus_window() {
  ::Window focus = 0;
  int revert = 0;
  XGetInputFocus(plat::x_display(), &focus, &revert);
  return plat::window_from_x(focus);
}

// The wait ends as soon as the focus arrives; the bound only has to outlast a window manager on a
// loaded machine (2 s was seen to fall short under the sanitizers with two builds running).
bool x_focus_reaches(HWND h, int timeout_ms = 15000) {
  return pump_while_waiting([h] { return x_focus_window() == h; }, timeout_ms);
}

HWND make(const char* title, DWORD style, int x) {
  return CreateWindowExA(0, kClass, title, style, x, 100, 200, 150, 0, 0, GetModuleHandleA(nullptr),
                         nullptr);
}

int scenario() {
  Checks check;
  register_logging_class(kClass);
  HWND a = make("A", kPopup | WS_VISIBLE, 100);
  check(GetForegroundWindow() == a && GetActiveWindow() == a && GetFocus() == a,
        "a window created visible is active and focused when CreateWindowExA returns");
  check(message_log().count(WM_SETFOCUS) == 1 && message_log().count(WM_ACTIVATE) == 1,
        "it has heard WM_ACTIVATE and WM_SETFOCUS once");
  check(x_focus_reaches(a), "the X focus reaches it");

  HWND b = make("B", kPopup, 400);
  HWND c = make("C", kPopup, 700);
  ShowWindow(b, SW_SHOWNOACTIVATE);
  ShowWindow(c, SW_SHOWNA);
  check(GetForegroundWindow() == a && GetFocus() == a,
        "windows shown without activation leave the active window alone");
  pump_while_waiting([] { return false; }, 700);
  check(GetForegroundWindow() == a && GetFocus() == a,
        "nor do they take it once the X events are in");
  check(x_focus_window() == a, "the X focus stays with the active window");

  HWND d = make("D", kPopup, 1000);
  ShowWindow(d, SW_SHOW);
  check(GetForegroundWindow() == d && GetFocus() == d, "SW_SHOW activates a hidden window at once");
  check(x_focus_reaches(d), "the X focus follows it");

  const size_t before = message_log().messages.size();
  DestroyWindow(d);
  check(GetForegroundWindow() == a && GetFocus() == a,
        "destroying the active window activates the one before it");
  int killed = -1, ended = -1;
  for (size_t i = before; i < message_log().messages.size(); ++i) {
    const Logged& m = message_log().messages[i];
    if (m.hwnd == d && m.message == WM_KILLFOCUS && killed < 0) killed = static_cast<int>(i);
    if (m.hwnd == d && m.message == WM_NCDESTROY) ended = static_cast<int>(i);
  }
  check(killed >= 0 && killed < ended, "the destroyed window hears WM_KILLFOCUS before its end");
  check(x_focus_reaches(a), "the X focus goes back to the window activated again");
  check(GetForegroundWindow() == a, "and the foreground window stays so");

  DestroyWindow(c);
  DestroyWindow(b);
  DestroyWindow(a);
  check(GetForegroundWindow() == 0 && GetFocus() == 0,
        "with its last window gone the program has no foreground window");
  return check.failures;
}

class Activation : public ::testing::TestWithParam<bool> {};

TEST_P(Activation, ShowingActivatesAtOnceAndTheNoActivateCommandsDoNot) {
  XServer server(GetParam());
  ASSERT_TRUE(server.ok());
  EXPECT_EXIT(
      {
        setenv("DISPLAY", server.display().c_str(), 1);
        std::exit(scenario() == 0 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(WindowManager, Activation, ::testing::Values(false, true),
                         [](const auto& info) {
                           return info.param ? std::string("WithWindowManager")
                                             : std::string("WithoutWindowManager");
                         });

}  // namespace
