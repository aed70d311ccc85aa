// Mouse capture while activation and focus move: capture belongs to the thread, not to the active
// window, and a window that loses it (other than by its destruction) hears WM_CAPTURECHANGED.
// What a child's release tells the window under the pointer is tested with real input in
// test_input_mouse.cpp.
#include <gtest/gtest.h>
#include <windows.h>

#include "message_log.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "CaptureFocusWindow";
constexpr DWORD kPopup = WS_POPUP | WS_CAPTION | WS_SYSMENU;

class CaptureAndFocus : public ::testing::Test {
 protected:
  void SetUp() override {
    register_logging_class(kClass);
    pump_all();
    message_log() = MessageLog{};
  }
  void TearDown() override {
    ReleaseCapture();
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) DestroyWindow(*it);
    pump_all();
    message_log() = MessageLog{};
  }
  HWND make(DWORD style, HWND parent = 0, int x = 100) {
    HWND h = CreateWindowExA(0, kClass, "", style, x, 100, 200, 150, parent, 0,
                             GetModuleHandleA(nullptr), nullptr);
    EXPECT_TRUE(h);
    if (!parent) windows_.push_back(h);
    return h;
  }
  // The WM_CAPTURECHANGED messages logged since `from`, as (window, new capture) pairs.
  std::vector<std::pair<HWND, HWND>> capture_changes(size_t from) {
    std::vector<std::pair<HWND, HWND>> out;
    const auto& log = message_log().messages;
    for (size_t i = from; i < log.size(); ++i)
      if (log[i].message == WM_CAPTURECHANGED) out.push_back({log[i].hwnd, (HWND)log[i].lparam});
    return out;
  }
  std::vector<HWND> windows_;
};

using Changes = std::vector<std::pair<HWND, HWND>>;

TEST_F(CaptureAndFocus, CaptureStaysWhileFocusAndActivationMove) {
  HWND a = make(kPopup | WS_VISIBLE);
  HWND child = make(WS_CHILD | WS_VISIBLE, a);
  ASSERT_EQ(GetFocus(), a);
  size_t from = message_log().messages.size();
  EXPECT_EQ(SetCapture(a), HWND{});
  EXPECT_EQ(GetCapture(), a);
  EXPECT_EQ(capture_changes(from), Changes{});

  SetFocus(child);
  EXPECT_EQ(GetFocus(), child);
  EXPECT_EQ(GetCapture(), a);

  // Another window of the program becomes active: the capture is the thread's and stays.
  HWND b = make(kPopup | WS_VISIBLE, 0, 400);
  EXPECT_EQ(GetForegroundWindow(), b);
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(GetCapture(), a);

  // Moving the capture tells the window that had it.
  from = message_log().messages.size();
  EXPECT_EQ(SetCapture(b), a);
  EXPECT_EQ(capture_changes(from), (Changes{{a, b}}));
  from = message_log().messages.size();
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_EQ(GetCapture(), HWND{});
  EXPECT_EQ(capture_changes(from), (Changes{{b, HWND{}}}));
  // Releasing what nobody holds tells nobody.
  from = message_log().messages.size();
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_EQ(capture_changes(from), Changes{});
}

TEST_F(CaptureAndFocus, DestroyingTheCapturingWindowReleasesTheCapture) {
  HWND a = make(kPopup | WS_VISIBLE);
  HWND b = make(kPopup | WS_VISIBLE, 0, 400);
  SetCapture(b);
  const size_t from = message_log().messages.size();
  windows_.pop_back();
  DestroyWindow(b);
  EXPECT_EQ(GetCapture(), HWND{});
  // The window before it is active again, with the focus.
  EXPECT_EQ(GetForegroundWindow(), a);
  EXPECT_EQ(GetFocus(), a);
  // A window being destroyed hears nothing more of it.
  EXPECT_EQ(capture_changes(from), Changes{});
}

TEST_F(CaptureAndFocus, HidingTheCapturingWindowKeepsTheCapture) {
  HWND a = make(kPopup | WS_VISIBLE);
  SetCapture(a);
  ShowWindow(a, SW_HIDE);
  EXPECT_EQ(GetCapture(), a);
  EXPECT_EQ(GetFocus(), HWND{});
}

}  // namespace
