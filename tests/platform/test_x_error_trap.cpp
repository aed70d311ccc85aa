// X protocol errors are caught around the requests that may fail and become the failure of the
// Windows call that made them, with a reason for GetLastError; none goes unseen.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include "error_codes.h"
#include "handle_table.h"
#include "wgl_setup.h"
#include "window_internal.h"
#include "x_display.h"

namespace {

// Destroys an X window through a second connection, as another client would behind our back.
bool destroy_from_another_client(::Window xw) {
  Display* other = XOpenDisplay(nullptr);
  if (!other) return false;
  XDestroyWindow(other, xw);
  XSync(other, False);
  XCloseDisplay(other);
  return true;
}

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

  ASSERT_TRUE(destroy_from_another_client(plat::x_window(window)));

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

// The server refuses a child window whose parent's X window another client destroyed: the creation
// fails with that reason, leaves no window behind, and no X error goes unseen.
TEST(XErrorTrap, ARefusedChildWindowFailsItsCreation) {
  Display* d = plat::x_display();
  ASSERT_NE(d, nullptr) << "the tests need an X server";
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "XErrorTrapChild";
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND parent = CreateWindowExA(0, "XErrorTrapChild", "", WS_POPUP, 0, 0, 64, 48, 0, 0, 0, nullptr);
  ASSERT_NE(parent, 0u);
  const size_t windows = plat::handle_count(plat::Kind::Window);
  const int strays = plat::x_stray_errors();

  ASSERT_TRUE(destroy_from_another_client(plat::x_window(parent)));

  SetLastError(0);
  EXPECT_EQ(CreateWindowExA(0, "XErrorTrapChild", "", WS_CHILD | WS_VISIBLE, 0, 0, 8, 8, parent, 0,
                            0, nullptr),
            0u);
  EXPECT_EQ(GetLastError(), plat::kErrorInvalidWindowHandle);
  EXPECT_EQ(plat::handle_count(plat::Kind::Window), windows);
  EXPECT_EQ(plat::x_stray_errors(), strays);
  DestroyWindow(parent);
}

// The GL calls that reach a window's X window fail, with a reason, when another client destroyed
// it; none of them lets an X error go unseen.
TEST(XErrorTrap, GlCallsOnAWindowGoneFromTheServerFail) {
  Display* d = plat::x_display();
  ASSERT_NE(d, nullptr) << "the tests need an X server";
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "XErrorTrapGl";
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND window =
      CreateWindowExA(0, "XErrorTrapGl", "", WS_POPUP | WS_VISIBLE, 0, 0, 64, 48, 0, 0, 0, nullptr);
  ASSERT_NE(window, 0u);
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR request = zelvo_test::framework_descriptor();
  ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &request), &request));
  HGLRC context = wglCreateContext(dc);
  ASSERT_NE(context, 0u);
  const int strays = plat::x_stray_errors();

  ASSERT_TRUE(destroy_from_another_client(plat::x_window(window)));

  SetLastError(0);
  EXPECT_FALSE(wglMakeCurrent(dc, context));
  EXPECT_NE(GetLastError(), 0u);
  EXPECT_EQ(wglGetCurrentContext(), 0u);
  EXPECT_EQ(plat::x_stray_errors(), strays);
  wglDeleteContext(context);
  ReleaseDC(window, dc);
  DestroyWindow(window);
}

}  // namespace
