// Window geometry, child windows, destruction and titles, through Windows API calls only. The frame
// sizes are the system's own: a check compares the client area with AdjustWindowRect, never with
// pixel counts of one system's decorations.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "message_log.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "GeometryTestWindow";

class WindowGeometry : public ::testing::Test {
 protected:
  void SetUp() override {
    register_logging_class(kClass);
    message_log() = MessageLog{};
  }
  void TearDown() override {
    for (HWND h : windows_)
      if (IsWindow(h)) DestroyWindow(h);
    pump_all();
  }
  HWND make(DWORD style, int x, int y, int w, int h, HWND parent = 0, int id = 0,
            const char* title = "T") {
    HWND hwnd = CreateWindowExA(0, kClass, title, style, x, y, w, h, parent, (HMENU)(intptr_t)id,
                                GetModuleHandleA(nullptr), nullptr);
    if (hwnd && !parent) windows_.push_back(hwnd);
    return hwnd;
  }
  std::vector<HWND> windows_;
};

POINT client_origin(HWND h) {
  POINT p{0, 0};
  ClientToScreen(h, &p);
  return p;
}

TEST_F(WindowGeometry, CaptionedPopupKeepsItsOuterSizeAndTheFrameAdjustWindowRectNames) {
  HWND h = make(kCaptionedStyle, CW_USEDEFAULT, CW_USEDEFAULT, 800, 600);
  ASSERT_TRUE(h);
  RECT client, outer;
  ASSERT_TRUE(GetClientRect(h, &client));
  ASSERT_TRUE(GetWindowRect(h, &outer));
  EXPECT_EQ(client.left, 0);
  EXPECT_EQ(client.top, 0);
  EXPECT_EQ(outer.left, 0) << "a pop-up made with CW_USEDEFAULT starts at the screen origin";
  EXPECT_EQ(outer.top, 0);
  EXPECT_EQ(outer.right - outer.left, 800);
  EXPECT_EQ(outer.bottom - outer.top, 600);
  // The client area inside the frame: AdjustWindowRect turns it back into the outer rectangle.
  const POINT origin = client_origin(h);
  RECT adjusted{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
  ASSERT_TRUE(AdjustWindowRect(&adjusted, kCaptionedStyle, FALSE));
  EXPECT_EQ(adjusted.left, outer.left);
  EXPECT_EQ(adjusted.top, outer.top);
  EXPECT_EQ(adjusted.right, outer.right);
  EXPECT_EQ(adjusted.bottom, outer.bottom);
  EXPECT_LT(client.right, 800);
  EXPECT_LT(client.bottom, 600);
  EXPECT_GT(origin.y - outer.top, origin.x - outer.left) << "the caption is above the client area";
}

TEST_F(WindowGeometry, FullScreenBorderlessWindowCoversTheScreen) {
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_GT(sw, 0);
  ASSERT_GT(sh, 0);
  HWND h = make(kFullScreenStyle, CW_USEDEFAULT, CW_USEDEFAULT, sw, sh);
  ASSERT_TRUE(h);
  RECT outer, client;
  GetWindowRect(h, &outer);
  GetClientRect(h, &client);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  EXPECT_EQ(outer.right, sw);
  EXPECT_EQ(outer.bottom, sh);
  // WS_BORDER without a caption: one pixel on each side.
  EXPECT_EQ(client.right, sw - 2);
  EXPECT_EQ(client.bottom, sh - 2);
  const POINT origin = client_origin(h);
  EXPECT_EQ(origin.x, 1);
  EXPECT_EQ(origin.y, 1);
}

TEST_F(WindowGeometry, CreateReturningMinusOneFailsCreation) {
  message_log().handlers[WM_CREATE] = [](HWND, WPARAM, LPARAM) -> LRESULT { return -1; };
  HWND h = make(kCaptionedStyle, 0, 0, 200, 100);
  EXPECT_EQ(h, HWND{});
  ASSERT_EQ(message_log().count(WM_CREATE), 1u);
  HWND created = message_log().only(WM_CREATE).at(0).hwnd;
  EXPECT_FALSE(IsWindow(created));
}

TEST_F(WindowGeometry, ChildWindowsSitInTheParentsClientArea) {
  HWND parent = make(kCaptionedStyle, 100, 50, 400, 300);
  ASSERT_TRUE(parent);
  HWND child = make(WS_CHILD | WS_VISIBLE, 10, 20, 64, 32, parent, 42);
  ASSERT_TRUE(child);
  EXPECT_EQ(GetParent(child), parent);
  EXPECT_EQ(GetParent(parent), HWND{});
  EXPECT_EQ(GetDlgCtrlID(child), 42);
  const POINT parent_origin = client_origin(parent);
  RECT r;
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, parent_origin.x + 10);
  EXPECT_EQ(r.top, parent_origin.y + 20);
  EXPECT_EQ(r.right - r.left, 64);
  EXPECT_EQ(r.bottom - r.top, 32);
  POINT p{0, 0};
  ClientToScreen(child, &p);
  EXPECT_EQ(p.x, r.left);
  ScreenToClient(parent, &p);
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(p.y, 20);

  // The position the image button computes from the two window rectangles is the one requested.
  RECT pr;
  GetWindowRect(parent, &pr);
  const int frame_x = parent_origin.x - pr.left, frame_y = parent_origin.y - pr.top;
  ASSERT_TRUE(
      MoveWindow(child, r.left - pr.left - frame_x, r.top - pr.top - frame_y, 48, 16, FALSE));
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, parent_origin.x + 10);
  EXPECT_EQ(r.top, parent_origin.y + 20);
  EXPECT_EQ(r.right - r.left, 48);
  EXPECT_EQ(r.bottom - r.top, 16);
}

TEST_F(WindowGeometry, DestroyReachesChildrenAndLeavesStaleHandles) {
  HWND parent = make(kCaptionedStyle, 0, 0, 300, 200);
  HWND child = make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, 1);
  ASSERT_TRUE(child);
  message_log().messages.clear();
  ASSERT_TRUE(DestroyWindow(parent));
  std::vector<std::pair<HWND, UINT>> order;
  for (const Logged& m : message_log().messages)
    if (m.message == WM_DESTROY || m.message == WM_NCDESTROY) order.emplace_back(m.hwnd, m.message);
  std::vector<std::pair<HWND, UINT>> expected = {
      {parent, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY}, {parent, WM_NCDESTROY}};
  EXPECT_EQ(order, expected);

  // Every call with the stale handles fails quietly.
  for (HWND h : {parent, child}) {
    RECT r{1, 2, 3, 4};
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(GetWindowRect(h, &r));
    EXPECT_FALSE(GetClientRect(h, &r));
    EXPECT_FALSE(DestroyWindow(h));
    EXPECT_FALSE(ShowWindow(h, SW_SHOW));
    EXPECT_FALSE(MoveWindow(h, 0, 0, 5, 5, TRUE));
    EXPECT_FALSE(PostMessageA(h, WM_USER, 0, 0));
    EXPECT_EQ(SendMessageA(h, WM_USER, 0, 0), 0);
    EXPECT_FALSE(SetPropA(h, "A", (HANDLE)1));
    EXPECT_EQ(GetPropA(h, "A"), HANDLE{});
    EXPECT_EQ(SetCapture(h), HWND{});
    EXPECT_EQ(GetParent(h), HWND{});
    EXPECT_EQ(GetDlgCtrlID(h), 0);
    EXPECT_FALSE(SetWindowTextA(h, "x"));
    EXPECT_FALSE(InvalidateRect(h, nullptr, FALSE));
  }
  EXPECT_FALSE(UpdateWindow(0));
  windows_.clear();
}

TEST_F(WindowGeometry, TitleReadsBackCutToTheBuffer) {
  HWND h = make(kCaptionedStyle, 0, 0, 100, 100, 0, 0, "x");
  ASSERT_TRUE(SetWindowTextA(h, "applicazione \xE8 \x80"));
  char back[64];
  EXPECT_EQ(GetWindowTextA(h, back, sizeof back), 16);
  EXPECT_STREQ(back, "applicazione \xE8 \x80");
  EXPECT_EQ(GetWindowTextA(h, back, 5), 4);
  EXPECT_STREQ(back, "appl");
}

}  // namespace
