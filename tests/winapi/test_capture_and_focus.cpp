// Mouse capture while activation and focus move: capture belongs to the thread, not to the active
// window, and a window that loses it (other than by its destruction) hears WM_CAPTURECHANGED.
// Releasing the capture tells the window under the cursor where the cursor is.
#include <gtest/gtest.h>
#include <windows.h>

#include "real_input.h"
#include "window_test_log.h"

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

// The pointer's moves to the point and what follows them have arrived; the log is emptied.
void place_pointer(RealInput& input, int x, int y) {
  input.move_pointer(x, y);
  POINT p{};
  EXPECT_TRUE(pump_while_waiting([&] { return GetCursorPos(&p) && p.x == x && p.y == y; }));
  pump_while_waiting([] { return false; }, 200);
  message_log().messages.clear();
}

// The mouse moves that arrive within a while.
std::vector<Logged> moves_arriving() {
  pump_while_waiting([] { return false; }, 300);
  return message_log().only(WM_MOUSEMOVE);
}

// When a child window gives up the capture, the window under the pointer hears at once where the
// pointer is (each case after a click: Wine does not repeat a move the window has just had); when a
// top-level window gives it up, nobody hears.
TEST_F(CaptureAndFocus, AChildReleasingTheCaptureTellsTheWindowUnderThePointer) {
  RealInput input;
  ASSERT_TRUE(input.ok()) << "the test needs real input";
  HWND a = make(kPopup | WS_VISIBLE);
  HWND child = CreateWindowExA(0, kClass, "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 40, a, 0,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(child);
  pump_while_waiting([] { return false; }, 300);  // the window manager has placed the window
  POINT origin{0, 0};
  ClientToScreen(a, &origin);

  // The top-level window, clicked and released while it holds the capture.
  place_pointer(input, origin.x + 120, origin.y + 70);
  SetCapture(a);
  input.press_button(1);
  input.release_button(1);
  EXPECT_TRUE(wait_for_message(WM_LBUTTONUP));
  message_log().messages.clear();
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_TRUE(moves_arriving().empty());

  // The child, clicked while it holds the capture, released afterwards.
  place_pointer(input, origin.x + 17, origin.y + 12);
  SetCapture(child);
  input.press_button(1);
  input.release_button(1);
  EXPECT_TRUE(wait_for_message(WM_LBUTTONUP));
  message_log().messages.clear();
  EXPECT_TRUE(ReleaseCapture());
  std::vector<Logged> moves = moves_arriving();
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].hwnd, child);
  EXPECT_EQ(moves[0].wparam, WPARAM{0});
  EXPECT_EQ(LOWORD(moves[0].lparam), 7);
  EXPECT_EQ(HIWORD(moves[0].lparam), 2);

  // Released while the button is still down: the move carries the button.
  message_log().handlers[WM_LBUTTONDOWN] = [](HWND, WPARAM, LPARAM) -> LRESULT {
    ReleaseCapture();
    return 0;
  };
  SetCapture(child);
  message_log().messages.clear();
  input.press_button(1);
  EXPECT_TRUE(wait_for_message(WM_LBUTTONDOWN));
  moves = moves_arriving();
  input.release_button(1);
  message_log().handlers.clear();
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].hwnd, child);
  EXPECT_EQ(moves[0].wparam, static_cast<WPARAM>(MK_LBUTTON));
  EXPECT_EQ(LOWORD(moves[0].lparam), 7);
  EXPECT_EQ(HIWORD(moves[0].lparam), 2);
  pump_while_waiting([] { return false; }, 200);

  // The child gives up the capture while the pointer is over its parent: the parent hears.
  place_pointer(input, origin.x + 120, origin.y + 70);
  SetCapture(child);
  input.press_button(1);
  input.release_button(1);
  EXPECT_TRUE(wait_for_message(WM_LBUTTONUP));
  message_log().messages.clear();
  EXPECT_TRUE(ReleaseCapture());
  moves = moves_arriving();
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].hwnd, a);
  EXPECT_EQ(moves[0].wparam, WPARAM{0});
  EXPECT_EQ(LOWORD(moves[0].lparam), 120);
  EXPECT_EQ(HIWORD(moves[0].lparam), 70);
}

}  // namespace
