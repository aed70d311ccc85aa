// The status bar of the common controls: its place along the bottom of its parent, its parts and
// its texts, through its messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "wine_differences.h"
#include "zelvo/lparam_pointer.h"

namespace {

HWND make_parent(int width, int height) {
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "StatusBarTestParent";
    return RegisterClassA(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowExA(0, "StatusBarTestParent", "parent", WS_POPUP | WS_VISIBLE, 50, 50, width,
                         height, 0, 0, 0, nullptr);
}

RECT screen_rect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

TEST(StatusBar, SitsAlongTheBottomOfItsParentFullWidth) {
  HWND parent = make_parent(400, 300);
  ASSERT_TRUE(parent);
  HWND bar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "Percorso file", parent, 30482);
  ASSERT_TRUE(bar);
  EXPECT_EQ(GetParent(bar), parent);
  EXPECT_EQ(GetDlgCtrlID(bar), 30482);
  RECT client{};
  GetClientRect(parent, &client);
  POINT bottom_left{0, client.bottom};
  ClientToScreen(parent, &bottom_left);
  RECT r = screen_rect(bar);
  EXPECT_EQ(r.left, bottom_left.x);
  EXPECT_EQ(r.bottom, bottom_left.y);
  EXPECT_EQ(r.right - r.left, client.right);
  EXPECT_GE(r.bottom - r.top, 18);
  EXPECT_LE(r.bottom - r.top, 24);

  // After the parent changes size, its WM_SIZE passed on brings the bar back to the bottom.
  MoveWindow(parent, 50, 50, 500, 360, TRUE);
  SendMessageA(bar, WM_SIZE, 0, 0);
  GetClientRect(parent, &client);
  bottom_left = POINT{0, client.bottom};
  ClientToScreen(parent, &bottom_left);
  r = screen_rect(bar);
  EXPECT_EQ(r.bottom, bottom_left.y);
  EXPECT_EQ(r.right - r.left, client.right);

  DestroyWindow(parent);
  EXPECT_FALSE(IsWindow(bar)) << "a child goes with its parent";
  EXPECT_FALSE(CreateStatusWindowA(WS_CHILD, "x", parent, 1)) << "no parent";
}

TEST(StatusBar, PartsAndTextsAreKept) {
  HWND parent = make_parent(400, 200);
  HWND bar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "Percorso file", parent, 30482);
  ASSERT_TRUE(bar);
  int edges[3] = {100, 250, -1};
  EXPECT_EQ(SendMessageA(bar, SB_SETPARTS, 3, PtrToLParam(edges)), TRUE);
  int back[4] = {0, 0, 0, 7};
  EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 4, PtrToLParam(back)), 3);
  EXPECT_EQ(back[0], 100);
  EXPECT_EQ(back[1], 250);
  EXPECT_EQ(back[2], -1);
  EXPECT_EQ(back[3], 7) << "nothing written past the parts";

  EXPECT_EQ(SendMessageA(bar, SB_SETTEXTA, 2, PtrToLParam("terza")), TRUE);
  EXPECT_EQ(SendMessageA(bar, SB_SETTEXTA, 1 | SBT_POPOUT, PtrToLParam("non \xE8 vuota")), TRUE);
  EXPECT_EQ(SendMessageA(bar, SB_SETTEXTA, 3, PtrToLParam("none")), FALSE) << "no fourth part";
  EXPECT_EQ(LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 1, 0)), 11);
  char text[32] = {};
  LRESULT got = SendMessageA(bar, SB_GETTEXTA, 1, PtrToLParam(text));
  EXPECT_EQ(std::string(text), "non \xE8 vuota");
  EXPECT_EQ(HIWORD(got), SBT_POPOUT);
  SendMessageA(bar, SB_GETTEXTA, 0, PtrToLParam(text));
  EXPECT_EQ(std::string(text), "Percorso file") << "part 0 keeps its text";

  EXPECT_EQ(SendMessageA(bar, SB_SETPARTS, 0, PtrToLParam(edges)), FALSE);
  EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 0, 0), 3);
  DestroyWindow(parent);
}

// The documentation of SB_SETPARTS: the number of parts "cannot be greater than 256".
TEST(StatusBar, MoreThan256PartsAreRefused) {
  SKIP_UNDER_WINE("SB_SETPARTS takes 300 parts");
  HWND parent = make_parent(400, 200);
  HWND bar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "", parent, 1);
  ASSERT_TRUE(bar);
  int edges[300];
  for (int i = 0; i < 300; ++i) edges[i] = i + 1;
  EXPECT_EQ(SendMessageA(bar, SB_SETPARTS, 300, PtrToLParam(edges)), FALSE);
  EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 0, 0), 1) << "the one part it had";
  EXPECT_EQ(SendMessageA(bar, SB_SETPARTS, 256, PtrToLParam(edges)), TRUE);
  EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 0, 0), 256);
  DestroyWindow(parent);
}

}  // namespace
