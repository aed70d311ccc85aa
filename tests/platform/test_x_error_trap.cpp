// X protocol errors are caught around the requests that may fail and become the failure of the
// Windows call that made them, with a reason for GetLastError; none goes unseen.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include "../../platform/src/error_codes.h"
#include "../../platform/src/window_internal.h"
#include "../../platform/src/x_display.h"
#include "../winapi/framework_descriptor.h"

namespace {

constexpr ::Window kNoSuchWindow = 0x3FFFFFF;  // an id no client of a fresh server owns

TEST(XErrorTrap, CatchesTheErrorsOfItsOwnRequestsOnly) {
  Display* d = plat::x_display();
  ASSERT_NE(d, nullptr) << "the tests need an X server";
  int strays = plat::x_stray_errors();
  // An error of a request made before the trap is not the trap's.
  XMapWindow(d, kNoSuchWindow);
  {
    plat::XErrorTrap trap;
    EXPECT_EQ(trap.sync(), 0);
    XWindowAttributes attributes;
    EXPECT_FALSE(XGetWindowAttributes(d, kNoSuchWindow, &attributes));
    {
      plat::XErrorTrap inner;  // the innermost trap takes the error; the outer one keeps its own
      XFreePixmap(d, kNoSuchWindow);
      EXPECT_EQ(inner.sync(), BadPixmap);
    }
    EXPECT_EQ(trap.sync(), BadWindow);
    SetLastError(0);
    EXPECT_FALSE(trap.succeeded());
    EXPECT_EQ(GetLastError(), plat::kErrorInvalidWindowHandle);
  }
  // The request made outside every trap is counted, not lost.
  EXPECT_EQ(plat::x_stray_errors(), strays + 1);
}

TEST(XErrorTrap, MapsXErrorsToWindowsCodes) {
  EXPECT_EQ(plat::windows_error_of_x(Success), 0u);
  EXPECT_EQ(plat::windows_error_of_x(BadWindow), plat::kErrorInvalidWindowHandle);
  EXPECT_EQ(plat::windows_error_of_x(BadDrawable), plat::kErrorInvalidWindowHandle);
  EXPECT_EQ(plat::windows_error_of_x(BadAlloc), plat::kErrorNotEnoughMemory);
  EXPECT_EQ(plat::windows_error_of_x(BadMatch), plat::kErrorInvalidParameter);
  EXPECT_EQ(plat::windows_error_of_x(BadValue), plat::kErrorInvalidParameter);
  EXPECT_EQ(plat::windows_error_of_x(BadPixmap), plat::kErrorInvalidHandle);
}

// A window whose X window another client destroyed: the calls that must reach the X window fail
// with ERROR_INVALID_WINDOW_HANDLE and leave what the program knows of the window unchanged.
TEST(XErrorTrap, AWindowGoneFromTheServerFailsTheCallsThatNeedIt) {
  Display* d = plat::x_display();
  ASSERT_NE(d, nullptr) << "the tests need an X server";
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "XErrorTrapTest";
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND window =
      CreateWindowExA(0, "XErrorTrapTest", "before", WS_POPUP, 10, 20, 64, 48, 0, 0, 0, nullptr);
  ASSERT_NE(window, 0u);
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR request = zelvo_test::framework_descriptor();
  int format = ChoosePixelFormat(dc, &request);
  ASSERT_NE(format, 0);
  int strays = plat::x_stray_errors();

  Display* other = XOpenDisplay(nullptr);
  ASSERT_NE(other, nullptr);
  XDestroyWindow(other, plat::x_window(window));
  XSync(other, False);
  XCloseDisplay(other);

  SetLastError(0);
  EXPECT_FALSE(MoveWindow(window, 30, 40, 80, 60, FALSE));
  EXPECT_EQ(GetLastError(), plat::kErrorInvalidWindowHandle);
  RECT rect{};
  ASSERT_TRUE(GetWindowRect(window, &rect));
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.right - rect.left, 64);

  SetLastError(0);
  EXPECT_FALSE(SetWindowTextA(window, "after"));
  EXPECT_EQ(GetLastError(), plat::kErrorInvalidWindowHandle);

  SetLastError(0);
  EXPECT_FALSE(SetPixelFormat(dc, format, &request));
  EXPECT_EQ(GetLastError(), plat::kErrorInvalidWindowHandle);
  EXPECT_EQ(GetPixelFormat(dc), 0);

  EXPECT_EQ(plat::x_stray_errors(), strays);
  ReleaseDC(window, dc);
  DestroyWindow(window);
}

TEST(XErrorTrap, SetPixelFormatNamesItsReason) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "XErrorTrapFormat";
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND window =
      CreateWindowExA(0, "XErrorTrapFormat", "", WS_POPUP, 0, 0, 16, 16, 0, 0, 0, nullptr);
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR request = zelvo_test::framework_descriptor();
  int format = ChoosePixelFormat(dc, &request);
  ASSERT_NE(format, 0);
  SetLastError(0);
  EXPECT_FALSE(SetPixelFormat(dc, 100000, &request));
  EXPECT_EQ(GetLastError(), plat::kErrorInvalidPixelFormat);
  ASSERT_TRUE(SetPixelFormat(dc, format, &request));
  SetLastError(0);
  EXPECT_FALSE(SetPixelFormat(dc, format == 1 ? 2 : 1, &request));  // set once
  EXPECT_EQ(GetLastError(), plat::kErrorInvalidPixelFormat);
  ReleaseDC(window, dc);
  DestroyWindow(window);
  SetLastError(0);
  EXPECT_FALSE(SetPixelFormat(dc, format, &request));
  EXPECT_EQ(GetLastError(), plat::kErrorInvalidHandle);
}

}  // namespace
