// The window procedure fed with messages on a real window: drags, keys, Escape, commands, the
// status-bar refresh of default processing.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "input_state.h"
#include "zelvo/lparam_pointer.h"

namespace {

using zelvo_test::drain_messages;
using zelvo_test::reset_input_state;

LRESULT move(WPARAM buttons, int x, int y) {
  return GLWndProc(hWindow, WM_MOUSEMOVE, buttons, MAKELPARAM(x, y));
}

class WndProc : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Active = false;
    ASSERT_TRUE(zelvo_test::make_input_window("WndProcTest"));
    // The creation message reached the procedure inside CreateWindowExA.
    EXPECT_TRUE(Active);
  }
  void SetUp() override {
    ASSERT_TRUE(IsWindow(hWindow));
    drain_messages();
    reset_input_state();
  }
  void TearDown() override {
    ReleaseCapture();
    drain_messages();
  }
};

TEST_F(WndProc, LeftDragTurnsOneDegreePerPixelAtSpeedTwo) {
  MSpeed = 2;
  GLWndProc(hWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 200));
  EXPECT_TRUE(LeftMouseDown);
  EXPECT_TRUE(LeftMouseDown2);
  EXPECT_EQ(GetCapture(), hWindow);
  EXPECT_EQ(XCoord, 100);
  EXPECT_EQ(YCoord, 200);
  EXPECT_EQ(SetMX, 100);
  EXPECT_EQ(SetMY, 200);

  // Vertical motion turns XRot, horizontal motion turns YRot.
  move(MK_LBUTTON, 103, 195);
  EXPECT_FLOAT_EQ(XRot, -5);
  EXPECT_FLOAT_EQ(YRot, 3);
  EXPECT_FLOAT_EQ(XRot2, -5);
  EXPECT_FLOAT_EQ(YRot2, 3);
  EXPECT_EQ(XCoord, 103);
  EXPECT_EQ(YCoord, 195);
  EXPECT_EQ(SetOMX, 103);
  EXPECT_EQ(SetOMY, 195);
  EXPECT_EQ(SetMX, 100);  // the press position stays

  move(MK_LBUTTON, 104, 195);
  EXPECT_FLOAT_EQ(XRot, -5);
  EXPECT_FLOAT_EQ(YRot, 4);

  GLWndProc(hWindow, WM_LBUTTONUP, 0, MAKELPARAM(104, 195));
  EXPECT_FALSE(LeftMouseDown);
  EXPECT_FALSE(LeftMouseDown2);
  EXPECT_EQ(GetCapture(), HWND{});
  EXPECT_EQ(XCoord, 0);
  EXPECT_EQ(YCoord, 0);
  EXPECT_EQ(SetMX, 0);
  EXPECT_EQ(SetMY, 0);

  // Without the button, motion turns nothing.
  move(0, 150, 150);
  EXPECT_FLOAT_EQ(XRot, -5);
  EXPECT_FLOAT_EQ(YRot, 4);
  EXPECT_EQ(SetOMX, 150);
}

TEST_F(WndProc, HalfPixelStepsAreKeptInFloatingPoint) {
  MSpeed = 1;
  GLWndProc(hWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  move(MK_LBUTTON, 11, 9);
  EXPECT_FLOAT_EQ(XRot, -0.5f);
  EXPECT_FLOAT_EQ(YRot, 0.5f);
}

TEST_F(WndProc, SpeedZeroMovesTheAnchorsButNoAngle) {
  GLWndProc(hWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  GLWndProc(hWindow, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(10, 10));
  move(MK_LBUTTON | MK_RBUTTON, 60, 90);
  EXPECT_EQ(XRot, 0);
  EXPECT_EQ(YRot, 0);
  EXPECT_EQ(Depth, 0);
  EXPECT_EQ(XCoord, 60);
  EXPECT_EQ(YCoord, 90);
  EXPECT_EQ(ZCoord, 90);
}

TEST_F(WndProc, RightDragMovesTheDepthByATenthOfThePixels) {
  MSpeed = 2;
  GLWndProc(hWindow, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(50, 300));
  EXPECT_TRUE(RightMouseDown);
  EXPECT_TRUE(RightMouseDown2);
  EXPECT_EQ(GetCapture(), hWindow);
  EXPECT_EQ(ZCoord, 300);
  EXPECT_EQ(XCoord, 0);  // the left anchors are not touched

  move(MK_RBUTTON, 80, 315);
  EXPECT_FLOAT_EQ(Depth, -3);
  EXPECT_FLOAT_EQ(Depth2, -3);
  EXPECT_EQ(ZCoord, 315);
  EXPECT_EQ(XRot, 0);
  EXPECT_EQ(YRot, 0);

  move(MK_RBUTTON, 80, 310);
  EXPECT_FLOAT_EQ(Depth, -2);

  GLWndProc(hWindow, WM_RBUTTONUP, 0, MAKELPARAM(80, 310));
  EXPECT_FALSE(RightMouseDown);
  EXPECT_FALSE(RightMouseDown2);
  EXPECT_EQ(ZCoord, 310);  // kept after release
  EXPECT_EQ(GetCapture(), HWND{});
}

TEST_F(WndProc, RightDragDoesNothingInFreeLook) {
  MSpeed = 2;
  GLWndProc(hWindow, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(50, 300));
  MouseFree = true;
  // Not the foreground window, so free look does nothing either.
  const HWND main = hWindow;
  hWindow = main + 1;
  move(MK_RBUTTON, 50, 400);
  hWindow = main;
  EXPECT_EQ(Depth, 0);
  EXPECT_EQ(ZCoord, 300);
  EXPECT_EQ(XRot, 0);
}

TEST_F(WndProc, BothButtonsTurnAndMoveInOneStep) {
  MSpeed = 2;
  GLWndProc(hWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
  GLWndProc(hWindow, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(100, 100));
  EXPECT_TRUE(LeftMouseDown);  // the second press keeps the first button's state
  move(MK_LBUTTON | MK_RBUTTON, 110, 120);
  EXPECT_FLOAT_EQ(XRot, 20);
  EXPECT_FLOAT_EQ(YRot, 10);
  EXPECT_FLOAT_EQ(Depth, -4);
}

TEST_F(WndProc, CapturedDragPastTheLeftEdgeJumpsByTheUnsignedDifference) {
  MSpeed = 2;
  GLWndProc(hWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 50));
  move(MK_LBUTTON, -3, 50);  // packs as 65533
  EXPECT_EQ(XCoord, 65533);
  EXPECT_FLOAT_EQ(YRot, 65531);
}

TEST_F(WndProc, FreeLookTurnsByTheCursorOffsetAndClampsOnlyYRot) {
  MSpeed = 2;
  Width = 400;
  Height = 300;
  SetForegroundWindow(hWindow);
  ASSERT_EQ(GetForegroundWindow(), hWindow);
  MouseFree = true;

  // Horizontal offset turns XRot, vertical offset turns YRot; the cursor goes back to the centre.
  ASSERT_TRUE(SetCursorPos(250, 120));
  move(0, 1, 1);
  EXPECT_EQ(MPos.x, 250);
  EXPECT_EQ(MPos.y, 120);
  EXPECT_FLOAT_EQ(XRot, 1);
  EXPECT_FLOAT_EQ(YRot, -0.6f);
  EXPECT_FLOAT_EQ(XRot2, 1);
  EXPECT_FLOAT_EQ(YRot2, -0.6f);
  POINT p{};
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 200);
  EXPECT_EQ(p.y, 150);

  XRot = XRot2 = 100;
  YRot = YRot2 = 59.5f;
  SetCursorPos(200, 250);
  move(0, 1, 1);
  EXPECT_FLOAT_EQ(YRot, 60);
  EXPECT_FLOAT_EQ(YRot2, 60);
  EXPECT_FLOAT_EQ(XRot, 100);  // never clamped
  EXPECT_FLOAT_EQ(XRot2, 100);

  YRot = YRot2 = -59;
  SetCursorPos(200, 50);
  move(0, 1, 1);
  EXPECT_FLOAT_EQ(YRot, -60);
  EXPECT_FLOAT_EQ(YRot2, -60);

  // Not the foreground window: nothing turns and the cursor stays where it is.
  const HWND main = hWindow;
  hWindow = main + 1;
  SetCursorPos(300, 300);
  move(0, 1, 1);
  hWindow = main;
  EXPECT_FLOAT_EQ(YRot, -60);
  EXPECT_FLOAT_EQ(XRot, 100);
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 300);
  Width = Height = 0;
}

TEST_F(WndProc, KeysAreRecordedAsAllBitsTrue) {
  GLWndProc(hWindow, WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(SetKey['A'], -1);
  // An auto-repeated key-down (previous-state bit set) leaves it held.
  GLWndProc(hWindow, WM_KEYDOWN, 'A', static_cast<LPARAM>(0x40000001));
  EXPECT_EQ(SetKey['A'], -1);
  GLWndProc(hWindow, WM_KEYDOWN, VK_LEFT, 1);
  EXPECT_EQ(SetKey[VK_LEFT], -1);

  MouseFree = true;
  GLWndProc(hWindow, WM_KEYUP, 'A', static_cast<LPARAM>(0xC0000001));
  EXPECT_EQ(SetKey['A'], 0);
  EXPECT_EQ(SetKey[VK_LEFT], -1);
  EXPECT_FALSE(MouseFree);

  // Keys held with Alt arrive as system keys and are not recorded.
  GLWndProc(hWindow, WM_SYSKEYDOWN, 'B', 0x20000001);
  EXPECT_EQ(SetKey['B'], 0);
}

TEST_F(WndProc, KeyCodesBeyondTheTableAreARunTimeError) {
  // Virtual keys stop at 255, but any number can be posted as a key message; the key table ends
  // at 500.
  GLWndProc(hWindow, WM_KEYDOWN, 500, 1);
  EXPECT_EQ(SetKey[500], -1);
  GLWndProc(hWindow, WM_KEYUP, 500, 1);
  EXPECT_EQ(SetKey[500], 0);
  EXPECT_EXIT(GLWndProc(hWindow, WM_KEYDOWN, 501, 1), ::testing::ExitedWithCode(2),
              "index 501 is outside SetKey\\[0\\.\\.500\\]");
  EXPECT_EXIT(GLWndProc(hWindow, WM_KEYUP, 0xFFFFFFFFu, 1), ::testing::ExitedWithCode(2),
              "outside SetKey");
}

TEST_F(WndProc, FreeLookSettingCentresTheCursorAndStartsTheClock) {
  Width = 400;
  Height = 300;
  SetCursorPos(5, 5);
  MouseFree = true;
  Start = 0;
  OGLWindowSetting(ARROW, "", GENERIC, "");
  POINT p{};
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 200);
  EXPECT_EQ(p.y, 150);
  EXPECT_NE(Start, 0u);
  // Without free look the cursor stays where it is.
  MouseFree = false;
  SetCursorPos(7, 9);
  OGLWindowSetting(ARROW, "", GENERIC, "");
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 7);
  EXPECT_EQ(p.y, 9);
  Width = Height = 0;
}

TEST_F(WndProc, EscapeEndsTheRunAtOnceButKeepsTheWindow) {
  Active = true;
  EXPECT_EQ(GLWndProc(hWindow, WM_KEYDOWN, VK_ESCAPE, 1), 0);
  EXPECT_FALSE(Active);
  EXPECT_EQ(SetKey[VK_ESCAPE], 0);
  EXPECT_TRUE(IsWindow(hWindow));
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, 0, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(m.wParam, 0u);
}

int g_command_calls = 0;
HWND g_command_window = 0;
UINT g_command_message = 0;
WPARAM g_command_wparam = 0;
LPARAM g_command_lparam = 0;
LRESULT CALLBACK record_command(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  ++g_command_calls;
  g_command_window = w;
  g_command_message = m;
  g_command_wparam = wp;
  g_command_lparam = lp;
  return 77;
}

TEST_F(WndProc, CommandsReachTheApplicationOnlyWithTheMenuFeatureOn) {
  g_command_calls = 0;
  GetInputCommand = record_command;
  EXPECT_EQ(GLWndProc(hWindow, WM_COMMAND, 5, 0), 0);
  EXPECT_EQ(g_command_calls, 0);

  ShowMenuBar = true;
  GetInputCommand = nullptr;
  EXPECT_EQ(GLWndProc(hWindow, WM_COMMAND, 5, 0), 0);

  GetInputCommand = record_command;
  EXPECT_EQ(GLWndProc(hWindow, WM_COMMAND, 5, 9), 0);  // the callback's result is dropped
  EXPECT_EQ(g_command_calls, 1);
  EXPECT_EQ(g_command_window, hWindow);
  EXPECT_EQ(g_command_message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(g_command_wparam, 5u);
  EXPECT_EQ(g_command_lparam, 9);
}

int g_menu_calls = 0;
void count_menu() { ++g_menu_calls; }

TEST_F(WndProc, ContextMenuCallbackRunsOnlyWithTheMenuFeatureOn) {
  g_menu_calls = 0;
  CreateMouseMenu = count_menu;
  GLWndProc(hWindow, WM_CONTEXTMENU, (WPARAM)hWindow, MAKELPARAM(10, 10));
  EXPECT_EQ(g_menu_calls, 0);
  ShowMenuBar = true;
  GLWndProc(hWindow, WM_CONTEXTMENU, (WPARAM)hWindow, MAKELPARAM(10, 10));
  EXPECT_EQ(g_menu_calls, 1);
  CreateMouseMenu = nullptr;  // skipped, not called through nil
  GLWndProc(hWindow, WM_CONTEXTMENU, (WPARAM)hWindow, MAKELPARAM(10, 10));
  EXPECT_EQ(g_menu_calls, 1);
}

TEST_F(WndProc, PaintValidatesTheWindow) {
  InvalidateRect(hWindow, nullptr, FALSE);
  ASSERT_TRUE(GetUpdateRect(hWindow, nullptr, FALSE));
  EXPECT_EQ(SendMessageA(hWindow, WM_PAINT, 0, 0), 0);
  EXPECT_FALSE(GetUpdateRect(hWindow, nullptr, FALSE));
}

TEST_F(WndProc, ButtonlessMessagesRefreshTheStatusBar) {
  hStatus = CreateStatusBar(hWindow);
  ASSERT_TRUE(hStatus);
  drain_messages();

  // A pending paint of the status bar survives a message that carries a button...
  InvalidateRect(hStatus, nullptr, FALSE);
  ASSERT_TRUE(GetUpdateRect(hStatus, nullptr, FALSE));
  move(MK_LBUTTON, 5, 5);
  EXPECT_TRUE(GetUpdateRect(hStatus, nullptr, FALSE));
  // ...and is delivered at once by one that carries none.
  move(0, 6, 6);
  EXPECT_FALSE(GetUpdateRect(hStatus, nullptr, FALSE));

  DestroyWindow(hStatus);
  hStatus = 0;
}

TEST_F(WndProc, StatusBarShowsItsInitialTextAndTheApplicationsParts) {
  MaxStatusItem = 3;
  StatusItem[1] = 120;
  StatusItem[2] = 300;
  StatusItem[3] = -1;  // the last part runs to the right edge
  hStatus = CreateStatusBar(hWindow);
  ASSERT_TRUE(hStatus);
  EXPECT_EQ(aWnd, hStatus);
  EXPECT_EQ(GetParent(hStatus), hWindow);
  EXPECT_EQ(GetDlgCtrlID(hStatus), 30482);
  EXPECT_STREQ(FileName.data(), "Percorso file");
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(Edges[i], StatusItem[i]) << i;
  int parts[20] = {};
  ASSERT_EQ(SendMessageA(hStatus, SB_GETPARTS, 20, PtrToLParam(parts)), 3);
  EXPECT_EQ(parts[0], 120);
  EXPECT_EQ(parts[1], 300);
  EXPECT_EQ(parts[2], -1);
  char text[64] = {};
  SendMessageA(hStatus, SB_GETTEXTA, 0, PtrToLParam(text));
  EXPECT_STREQ(text, "Percorso file");
  DestroyWindow(hStatus);
  hStatus = 0;
  MaxStatusItem = 0;
}

TEST_F(WndProc, MoreThanTwentyStatusPartsIsARunTimeError) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  MaxStatusItem = 21;
  EXPECT_EXIT(CreateStatusBar(hWindow), ::testing::ExitedWithCode(2), "outside StatusItem");
  MaxStatusItem = 0;
}

TEST_F(WndProc, DestroyEndsTheRunAndPostsQuit) {
  const HWND main = hWindow;
  const HWND other = CreateWindowExA(0, "WndProcTest", "other", WS_POPUP, 0, 0, 10, 10, 0, 0,
                                     GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(other);
  EXPECT_TRUE(Active);
  DestroyWindow(other);
  EXPECT_FALSE(Active);
  MSG m;
  EXPECT_TRUE(PeekMessageA(&m, 0, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(hWindow, main);
}

}  // namespace
