// What the status bar paints on the X server. Its place, parts and texts are checked in both worlds
// by tests/winapi/test_status_bar.cpp.
#include <gtest/gtest.h>
#include <windows.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <string>
#include <thread>

#include "window_internal.h"
#include "x_display.h"

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

TEST(StatusBar, PartsAndTextsArePainted) {
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
  EXPECT_EQ(SendMessageA(bar, SB_SETTEXTA, 2, PtrToLParam("terza")), TRUE);
  EXPECT_EQ(SendMessageA(bar, SB_SETTEXTA, 1 | SBT_POPOUT, PtrToLParam("non \xE8 vuota")), TRUE);
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

  DestroyWindow(parent);
}
