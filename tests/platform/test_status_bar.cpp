// The status bar on a real parent window: its place, its parts and texts, and what it paints.
#include <gtest/gtest.h>
#include <windows.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <string>
#include <thread>

#include "../../platform/src/window_internal.h"
#include "../../platform/src/x_display.h"

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

void pump() {
  for (int round = 0; round < 5; ++round) {
    XSync(plat::x_display(), False);
    MSG msg;
    while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

RECT screen_rect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

// Pixels of the bar's middle row, 0xRRGGBB.
std::vector<unsigned long> middle_row(HWND bar) {
  Display* d = plat::x_display();
  ::Window xw = plat::x_window(bar);
  XWindowAttributes a;
  XGetWindowAttributes(d, xw, &a);
  XImage* image = XGetImage(d, xw, 0, 0, static_cast<unsigned>(a.width),
                            static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
  std::vector<unsigned long> row;
  if (!image) return row;
  // The text sits in the middle; take the darkest pixel of each column over the text band.
  for (int x = 0; x < a.width; ++x) {
    unsigned long darkest = 0xFFFFFF;
    for (int y = 4; y < a.height - 4; ++y) {
      unsigned long p = XGetPixel(image, x, y) & 0xFFFFFF;
      if ((p & 0xFF) < (darkest & 0xFF)) darkest = p;
    }
    row.push_back(darkest);
  }
  XDestroyImage(image);
  return row;
}

bool has_text(const std::vector<unsigned long>& row, int from, int to) {
  for (int x = from; x < to && x < static_cast<int>(row.size()); ++x)
    if ((row[x] & 0xFF) < 0x60) return true;
  return false;
}

}  // namespace

TEST(StatusBar, SitsAlongTheBottomOfItsParentFullWidth) {
  HWND parent = make_parent(400, 300);
  ASSERT_NE(parent, 0u);
  HWND bar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "Percorso file", parent, 30482);
  ASSERT_NE(bar, 0u);
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
  EXPECT_EQ(CreateStatusWindowA(WS_CHILD, "x", parent, 1), 0u) << "no parent";
}

TEST(StatusBar, PartsAndTextsAreKeptAndPainted) {
  HWND parent = make_parent(400, 200);
  HWND bar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "Percorso file", parent, 30482);
  ASSERT_NE(bar, 0u);
  pump();
  std::vector<unsigned long> row = middle_row(bar);
  ASSERT_EQ(row.size(), 400u);
  EXPECT_TRUE(has_text(row, 0, 120)) << "the initial text";
  EXPECT_FALSE(has_text(row, 150, 400));

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

  pump();
  row = middle_row(bar);
  EXPECT_TRUE(has_text(row, 0, 98));
  EXPECT_TRUE(has_text(row, 100, 248));
  EXPECT_TRUE(has_text(row, 250, 400));
  EXPECT_EQ(row[99], 0xA0A0A0u) << "separator at the first edge";
  EXPECT_EQ(row[249], 0xA0A0A0u) << "separator at the second edge";

  // Clearing the last part leaves it empty on screen.
  SendMessageA(bar, SB_SETTEXTA, 2, PtrToLParam(""));
  pump();
  row = middle_row(bar);
  EXPECT_FALSE(has_text(row, 252, 400));

  EXPECT_EQ(SendMessageA(bar, SB_SETPARTS, 0, PtrToLParam(edges)), FALSE);
  EXPECT_EQ(SendMessageA(bar, SB_SETPARTS, 300, PtrToLParam(edges)), FALSE);
  EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 0, 0), 3);
  DestroyWindow(parent);
}
