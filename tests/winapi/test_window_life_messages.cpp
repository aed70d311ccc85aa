// The messages of a window's life, in order: creation hidden and visible (overlapped, pop-up,
// child), showing, hiding, activating another window and back, moving, resizing, minimising and
// restoring, destruction with and without children. The expected sequences were recorded under
// Wine; window_message_sequence.h says which messages are compared. Each sequence is the part sent
// inside the call, before any message is pumped: the part a window procedure sees in the same order
// everywhere.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "window_message_sequence.h"
#include "wine_differences.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "LifeMessagesWindow";
constexpr DWORD kOverlapped = WS_OVERLAPPEDWINDOW;
constexpr DWORD kPopup = WS_POPUP | WS_CAPTION | WS_SYSMENU;

class WindowLife : public ::testing::Test {
 protected:
  void SetUp() override {
    register_logging_class(kClass);
    pump_all();
    message_log() = MessageLog{};
  }
  void TearDown() override {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) DestroyWindow(*it);
    pump_all();
    message_log() = MessageLog{};
  }
  HWND make(const char* label, DWORD style, HWND parent = 0, int x = 100, int y = 100) {
    HWND h = CreateWindowExA(0, kClass, label, style, x, y, 200, 150, parent, parent ? (HMENU)7 : 0,
                             GetModuleHandleA(nullptr), nullptr);
    EXPECT_TRUE(h) << label;
    names_.name(h, label);
    if (!parent) windows_.push_back(h);
    return h;
  }
  // Names a window before it exists: the log names it by its handle, known only afterwards.
  HWND make_logged(const char* label, DWORD style, HWND parent = 0) {
    const size_t from = mark();
    HWND h = make(label, style, parent);
    created_from_ = from;
    return h;
  }
  size_t mark() {
    pump_all();
    return message_log().messages.size();
  }
  void expect(size_t from, const std::vector<std::string>& expected) {
    const std::string difference = compare_sequence(expected, sequence(names_, from));
    EXPECT_TRUE(difference.empty()) << difference;
  }
  std::vector<HWND> windows_;
  SequenceNames names_;
  size_t created_from_ = 0;
};

TEST_F(WindowLife, CreateOverlappedHidden) {
  make_logged("A", kOverlapped);
  // No WM_SIZE or WM_MOVE yet: an overlapped window hears of its place when first shown.
  expect(created_from_, {"A WM_GETMINMAXINFO", "A WM_NCCREATE", "A WM_NCCALCSIZE", "A WM_CREATE"});
}

TEST_F(WindowLife, CreateOverlappedVisible) {
  make_logged("A", kOverlapped | WS_VISIBLE);
  expect(created_from_, {"A WM_GETMINMAXINFO", "A WM_NCCREATE", "A WM_NCCALCSIZE", "A WM_CREATE",
                         "A WM_SHOWWINDOW 1", "A WM_WINDOWPOSCHANGING show", "A WM_ACTIVATEAPP 1",
                         "A WM_NCACTIVATE 1", "A WM_ACTIVATE 1", "A WM_SETFOCUS 0",
                         "A WM_WINDOWPOSCHANGED show", "A WM_SIZE 0", "A WM_MOVE"});
}

TEST_F(WindowLife, CreatePopupHidden) {
  make_logged("A", kPopup);
  expect(created_from_,
         {"A WM_NCCREATE", "A WM_NCCALCSIZE", "A WM_CREATE", "A WM_SIZE 0", "A WM_MOVE"});
}

TEST_F(WindowLife, CreatePopupVisible) {
  HWND a = make_logged("A", kPopup | WS_VISIBLE);
  expect(created_from_,
         {"A WM_NCCREATE", "A WM_NCCALCSIZE", "A WM_CREATE", "A WM_SIZE 0", "A WM_MOVE",
          "A WM_SHOWWINDOW 1", "A WM_WINDOWPOSCHANGING show", "A WM_ACTIVATEAPP 1",
          "A WM_NCACTIVATE 1", "A WM_ACTIVATE 1", "A WM_SETFOCUS 0", "A WM_WINDOWPOSCHANGED show"});
  EXPECT_EQ(GetForegroundWindow(), a);
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetFocus(), a);
}

TEST_F(WindowLife, CreateChildHiddenAndVisible) {
  HWND parent = make("P", kPopup | WS_VISIBLE);
  size_t from = mark();
  HWND hidden = make("C", WS_CHILD, parent);
  expect(from, {"C WM_NCCREATE", "C WM_NCCALCSIZE", "C WM_CREATE", "C WM_SIZE 0", "C WM_MOVE",
                "P WM_PARENTNOTIFY create"});
  from = mark();
  names_.name(hidden, "C1");
  make("C", WS_CHILD | WS_VISIBLE, parent);
  // A child is shown without activation, after its parent has heard of it.
  expect(from, {"C WM_NCCREATE", "C WM_NCCALCSIZE", "C WM_CREATE", "C WM_SIZE 0", "C WM_MOVE",
                "P WM_PARENTNOTIFY create", "C WM_SHOWWINDOW 1", "C WM_WINDOWPOSCHANGING show",
                "C WM_WINDOWPOSCHANGED show"});
  EXPECT_EQ(GetFocus(), parent);
}

TEST_F(WindowLife, FirstShowOfHiddenOverlapped) {
  HWND a = make("A", kOverlapped);
  const size_t from = mark();
  ShowWindow(a, SW_SHOW);
  expect(from, {"A WM_SHOWWINDOW 1", "A WM_WINDOWPOSCHANGING show", "A WM_ACTIVATEAPP 1",
                "A WM_NCACTIVATE 1", "A WM_ACTIVATE 1", "A WM_SETFOCUS 0",
                "A WM_WINDOWPOSCHANGED show", "A WM_SIZE 0", "A WM_MOVE"});
  EXPECT_EQ(GetForegroundWindow(), a);
  EXPECT_EQ(GetFocus(), a);
}

TEST_F(WindowLife, HideAndShowAgain) {
  HWND a = make("A", kPopup | WS_VISIBLE);
  size_t from = mark();
  ShowWindow(a, SW_HIDE);
  // The only window of the program: hiding it deactivates the program.
  expect(from, {"A WM_SHOWWINDOW 0", "A WM_WINDOWPOSCHANGING hide", "A WM_WINDOWPOSCHANGED hide",
                "A WM_NCACTIVATE 0", "A WM_ACTIVATE 0", "A WM_ACTIVATEAPP 0", "A WM_KILLFOCUS 0"});
  EXPECT_EQ(GetFocus(), HWND{});
  EXPECT_EQ(GetActiveWindow(), HWND{});
  from = mark();
  ShowWindow(a, SW_SHOW);
  expect(from,
         {"A WM_SHOWWINDOW 1", "A WM_WINDOWPOSCHANGING show", "A WM_ACTIVATEAPP 1",
          "A WM_NCACTIVATE 1", "A WM_ACTIVATE 1", "A WM_SETFOCUS 0", "A WM_WINDOWPOSCHANGED show"});
  EXPECT_EQ(GetFocus(), a);
}

TEST_F(WindowLife, ActivateAnotherAndBack) {
  HWND a = make("A", kPopup | WS_VISIBLE);
  size_t from = mark();
  HWND b = make("B", kPopup | WS_VISIBLE, 0, 400, 100);
  expect(from, {"B WM_NCCREATE", "B WM_NCCALCSIZE", "B WM_CREATE", "B WM_SIZE 0", "B WM_MOVE",
                "B WM_SHOWWINDOW 1", "B WM_WINDOWPOSCHANGING show", "A WM_NCACTIVATE 0",
                "A WM_ACTIVATE 0", "B WM_NCACTIVATE 1", "B WM_ACTIVATE 1", "A WM_KILLFOCUS B",
                "B WM_SETFOCUS A", "B WM_WINDOWPOSCHANGED show"});
  EXPECT_EQ(GetFocus(), b);
  // Not pumped first: a window manager's answer to the showing of B may have changed things.
  from = message_log().messages.size();
  SetForegroundWindow(a);
  expect(from, {"B WM_NCACTIVATE 0", "B WM_ACTIVATE 0", "A WM_NCACTIVATE 1", "A WM_ACTIVATE 1",
                "B WM_KILLFOCUS A", "A WM_SETFOCUS B"});
  EXPECT_EQ(GetFocus(), a);
  EXPECT_EQ(GetActiveWindow(), a);
}

TEST_F(WindowLife, ShowWithoutActivation) {
  HWND a = make("A", kPopup | WS_VISIBLE);
  HWND b = make("B", kPopup, 0, 400, 100);
  HWND c = make("C", kPopup, 0, 400, 300);
  size_t from = mark();
  ShowWindow(b, SW_SHOWNOACTIVATE);
  ShowWindow(c, SW_SHOWNA);
  expect(from, {"B WM_SHOWWINDOW 1", "B WM_WINDOWPOSCHANGING show", "B WM_WINDOWPOSCHANGED show",
                "C WM_SHOWWINDOW 1", "C WM_WINDOWPOSCHANGING show", "C WM_WINDOWPOSCHANGED show"});
  EXPECT_EQ(GetForegroundWindow(), a);
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetFocus(), a);
  // Nor does the window manager give them the focus later.
  SKIP_UNDER_WINE("a window manager focuses a window shown without activation");
  pump_while_waiting([] { return false; }, 300);
  EXPECT_EQ(GetForegroundWindow(), a);
  EXPECT_EQ(GetFocus(), a);
}

TEST_F(WindowLife, MoveAndResize) {
  HWND a = make("A", kOverlapped | WS_VISIBLE);
  size_t from = mark();
  MoveWindow(a, 150, 120, 200, 150, TRUE);
  expect(from,
         {"A WM_WINDOWPOSCHANGING", "A WM_GETMINMAXINFO", "A WM_WINDOWPOSCHANGED", "A WM_MOVE"});
  from = mark();
  MoveWindow(a, 150, 120, 260, 180, TRUE);
  expect(from, {"A WM_WINDOWPOSCHANGING", "A WM_GETMINMAXINFO", "A WM_NCCALCSIZE",
                "A WM_WINDOWPOSCHANGED", "A WM_SIZE 0"});
}

TEST_F(WindowLife, DestroyActiveWindow) {
  HWND a = make("A", kPopup | WS_VISIBLE);
  const size_t from = mark();
  windows_.clear();
  DestroyWindow(a);
  expect(from, {"A WM_WINDOWPOSCHANGING hide", "A WM_WINDOWPOSCHANGED hide", "A WM_NCACTIVATE 0",
                "A WM_ACTIVATE 0", "A WM_ACTIVATEAPP 0", "A WM_KILLFOCUS 0", "A WM_DESTROY",
                "A WM_NCDESTROY"});
  EXPECT_EQ(GetFocus(), HWND{});
  EXPECT_EQ(GetActiveWindow(), HWND{});
}

TEST_F(WindowLife, DestroyChildAndParentWithChildren) {
  HWND parent = make("P", kPopup | WS_VISIBLE);
  HWND one = make("C1", WS_CHILD | WS_VISIBLE, parent);
  make("C2", WS_CHILD | WS_VISIBLE, parent);
  size_t from = mark();
  DestroyWindow(one);
  // A child is hidden first; its parent hears of it before.
  expect(from, {"P WM_PARENTNOTIFY destroy", "C1 WM_SHOWWINDOW 0", "C1 WM_WINDOWPOSCHANGING hide",
                "C1 WM_WINDOWPOSCHANGED hide", "C1 WM_DESTROY", "C1 WM_NCDESTROY"});
  make("C3", WS_CHILD | WS_VISIBLE, parent);
  from = mark();
  windows_.clear();
  DestroyWindow(parent);
  // WM_DESTROY from the top down, WM_NCDESTROY from the bottom up.
  expect(from, {"P WM_WINDOWPOSCHANGING hide", "P WM_WINDOWPOSCHANGED hide", "P WM_NCACTIVATE 0",
                "P WM_ACTIVATE 0", "P WM_ACTIVATEAPP 0", "P WM_KILLFOCUS 0", "P WM_DESTROY",
                "C2 WM_DESTROY", "C3 WM_DESTROY", "C2 WM_NCDESTROY", "C3 WM_NCDESTROY",
                "P WM_NCDESTROY"});
}

TEST_F(WindowLife, FocusMovesToAChildAndBack) {
  HWND parent = make("P", kPopup | WS_VISIBLE);
  HWND child = make("C", WS_CHILD | WS_VISIBLE, parent);
  size_t from = mark();
  SetFocus(child);
  expect(from, {"P WM_KILLFOCUS C", "C WM_SETFOCUS P"});
  EXPECT_EQ(GetFocus(), child);
  from = mark();
  DestroyWindow(child);
  // Hiding the focused child gives the focus back to its parent.
  expect(from, {"P WM_PARENTNOTIFY destroy", "C WM_SHOWWINDOW 0", "C WM_WINDOWPOSCHANGING hide",
                "C WM_WINDOWPOSCHANGED hide", "C WM_KILLFOCUS P", "P WM_SETFOCUS C", "C WM_DESTROY",
                "C WM_NCDESTROY"});
  EXPECT_EQ(GetFocus(), parent);
}

// Taken one after the other, before a window manager has answered the minimising.
TEST_F(WindowLife, MinimiseAndRestore) {
  HWND a = make("A", kOverlapped | WS_VISIBLE);
  size_t from = mark();
  ShowWindow(a, SW_MINIMIZE);
  // The only window stays active, without the focus.
  expect(from, {"A WM_KILLFOCUS 0", "A WM_WINDOWPOSCHANGING show", "A WM_GETMINMAXINFO",
                "A WM_NCCALCSIZE", "A WM_WINDOWPOSCHANGED", "A WM_MOVE", "A WM_SIZE 1"});
  EXPECT_TRUE(IsIconic(a));
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetFocus(), HWND{});
  from = message_log().messages.size();
  ShowWindow(a, SW_RESTORE);
  expect(from, {"A WM_WINDOWPOSCHANGING", "A WM_GETMINMAXINFO", "A WM_NCCALCSIZE",
                "A WM_WINDOWPOSCHANGED", "A WM_MOVE", "A WM_SIZE 0", "A WM_SETFOCUS 0",
                "A WM_ACTIVATE 1"});
  EXPECT_FALSE(IsIconic(a));
  EXPECT_EQ(GetFocus(), a);
}

}  // namespace
