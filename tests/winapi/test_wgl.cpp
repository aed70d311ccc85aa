// The GL binding's rules: a window's pixel format is set once and shared by its device contexts,
// contexts need a window with a format, calls after the window is gone fail quietly, and failing
// calls leave the reason Windows documents (tests/winapi/test_failure_reasons.cpp has the others).
#include <gtest/gtest.h>
#include <windows.h>

#include <GL/gl.h>

#include <cstdint>

#include "failure_reason.h"
#include "wgl_setup.h"
#include "wine_differences.h"

namespace {

using zelvo_test::expect_reasons;
using zelvo_test::framework_descriptor;
using zelvo_test::make_window;
using zelvo_test::reason;

TEST(Wgl, FormatBelongsToTheWindowNotTheDeviceContext) {
  HWND window = make_window();
  HDC first = GetDC(window), second = GetDC(window);
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  int format = ChoosePixelFormat(first, &request);
  EXPECT_FALSE(SetPixelFormat(first, 0, &request)) << "format 0";
  EXPECT_FALSE(SetPixelFormat(first, DescribePixelFormat(first, 1, 0, nullptr) + 1, &request));
  ASSERT_TRUE(SetPixelFormat(first, format, &request));
  EXPECT_EQ(GetPixelFormat(second), format);

  // A context made through one device context draws through the other.
  HGLRC rc = wglCreateContext(second);
  ASSERT_TRUE(rc);
  EXPECT_TRUE(wglMakeCurrent(first, rc));
  // Deleting the current context releases it first.
  EXPECT_TRUE(wglDeleteContext(rc));
  EXPECT_FALSE(wglGetCurrentContext());
  ReleaseDC(window, first);
  ReleaseDC(window, second);
  DestroyWindow(window);
}

// Once set, a window's format stays: another one is refused through any of its contexts, and the
// format it has is accepted again without a change.
TEST(Wgl, AWindowsFormatIsSetOnce) {
  HWND window = make_window();
  HDC first = GetDC(window), second = GetDC(window);
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  int format = ChoosePixelFormat(first, &request);
  ASSERT_GT(DescribePixelFormat(first, 1, 0, nullptr), 1) << "another format to try";
  const int other = format == 1 ? 2 : 1;
  ASSERT_TRUE(SetPixelFormat(first, format, &request));
  EXPECT_FALSE(SetPixelFormat(second, other, &request));
  EXPECT_FALSE(SetPixelFormat(first, other, &request));
  EXPECT_EQ(GetPixelFormat(second), format);
  EXPECT_TRUE(SetPixelFormat(second, format, &request));
  EXPECT_TRUE(SetPixelFormat(first, format, &request));
  EXPECT_EQ(GetPixelFormat(first), format);
  ReleaseDC(window, first);
  ReleaseDC(window, second);
  DestroyWindow(window);
}

TEST(Wgl, ContextsNeedAWindowWithAFormat) {
  HWND window = make_window();
  HDC dc = GetDC(window);
  EXPECT_FALSE(wglCreateContext(dc)) << "no pixel format yet";
  HDC screen = GetDC(0);
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  EXPECT_FALSE(SetPixelFormat(screen, ChoosePixelFormat(screen, &request), &request))
      << "no window";
  EXPECT_FALSE(wglCreateContext(screen));
  EXPECT_FALSE(wglCreateContext(0));
  EXPECT_FALSE(wglMakeCurrent(dc, (HGLRC)(uintptr_t)12345));
  EXPECT_FALSE(wglDeleteContext(0));
  ReleaseDC(0, screen);
  ReleaseDC(window, dc);
  DestroyWindow(window);
}

TEST(Wgl, WindowDestroyedFirstMakesTheCallsFailQuietly) {
  HWND window = make_window();
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &request), &request));
  HGLRC rc = wglCreateContext(dc);
  ASSERT_TRUE(wglMakeCurrent(dc, rc));
  glClear(GL_COLOR_BUFFER_BIT);
  // The system closes the window before the layer releases anything.
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_FALSE(SwapBuffers(dc));
  EXPECT_EQ(GetPixelFormat(dc), 0);
  // Release still lets go of the context; then delete, release the device context, destroy again.
  EXPECT_TRUE(wglMakeCurrent(dc, 0));
  EXPECT_TRUE(wglDeleteContext(rc));
  ReleaseDC(window, dc);
  EXPECT_FALSE(DestroyWindow(window));
  EXPECT_FALSE(wglMakeCurrent(dc, rc));
}

// Each window has its own format and its own context, with a frame buffer of its own.
TEST(Wgl, TwoWindowsDrawThroughTheirOwnContexts) {
  HWND a = make_window(300, 0, 64, 64), b = make_window(400, 0, 64, 64);
  HDC da = GetDC(a), db = GetDC(b);
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  int format = ChoosePixelFormat(da, &request);
  ASSERT_TRUE(SetPixelFormat(da, format, &request));
  EXPECT_EQ(GetPixelFormat(db), 0) << "the other window has no format yet";
  ASSERT_TRUE(SetPixelFormat(db, format, &request));
  HGLRC ra = wglCreateContext(da), rb = wglCreateContext(db);
  ASSERT_TRUE(ra);
  ASSERT_TRUE(rb);
  auto centre = [] {
    uint8_t rgba[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(32, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return (uint32_t{rgba[0]} << 16) | (uint32_t{rgba[1]} << 8) | rgba[2];
  };
  ASSERT_TRUE(wglMakeCurrent(da, ra));
  glClearColor(0, 1, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  EXPECT_EQ(centre(), 0x00FF00u);
  ASSERT_TRUE(wglMakeCurrent(db, rb));
  EXPECT_EQ(wglGetCurrentContext(), rb);
  glClearColor(1, 1, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  EXPECT_EQ(centre(), 0xFFFF00u);
  ASSERT_TRUE(wglMakeCurrent(da, ra));
  EXPECT_EQ(centre(), 0x00FF00u) << "the first window's picture is its own";
  wglMakeCurrent(0, 0);
  wglDeleteContext(ra);
  wglDeleteContext(rb);
  ReleaseDC(a, da);
  ReleaseDC(b, db);
  DestroyWindow(a);
  DestroyWindow(b);
}

// A pixel format other than `format` that can draw into a window with GL; 0 when there is none.
int another_window_format(HDC dc, int format) {
  const int count = DescribePixelFormat(dc, 1, 0, nullptr);
  for (int i = 1; i <= count; ++i) {
    PIXELFORMATDESCRIPTOR d{};
    const DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    if (i != format && DescribePixelFormat(dc, i, sizeof d, &d) && (d.dwFlags & needed) == needed &&
        d.iPixelType == PFD_TYPE_RGBA)
      return i;
  }
  return 0;
}

TEST(FailureReasons, GlBindingNamesAMissingFormatAndAStaleHandle) {
  HWND window = zelvo_test::make_window();
  HWND other = zelvo_test::make_window(200, 0);
  ASSERT_TRUE(window && other);
  HDC dc = GetDC(window), other_dc = GetDC(other);
  EXPECT_EQ(reason([&] { return wglCreateContext(dc) != 0; }), DWORD(ERROR_INVALID_PIXEL_FORMAT));
  PIXELFORMATDESCRIPTOR request = zelvo_test::framework_descriptor();
  const int format = ChoosePixelFormat(dc, &request);
  ASSERT_TRUE(SetPixelFormat(dc, format, &request));
  HGLRC context = wglCreateContext(dc);
  ASSERT_TRUE(context);
  // A window without a format: the calls that draw name the handle, as Wine does.
  EXPECT_EQ(reason([&] { return wglMakeCurrent(other_dc, context) != 0; }),
            DWORD(ERROR_INVALID_HANDLE));
  EXPECT_EQ(reason([&] { return SwapBuffers(other_dc) != 0; }), DWORD(ERROR_INVALID_HANDLE));
  // A window of another format.
  const int second = another_window_format(other_dc, format);
  ASSERT_NE(second, 0);
  PIXELFORMATDESCRIPTOR described{};
  DescribePixelFormat(other_dc, second, sizeof described, &described);
  ASSERT_TRUE(SetPixelFormat(other_dc, second, &described));
  EXPECT_EQ(reason([&] { return wglMakeCurrent(other_dc, context) != 0; }),
            DWORD(ERROR_INVALID_PIXEL_FORMAT));

  ASSERT_TRUE(wglDeleteContext(context));
  EXPECT_EQ(reason([&] { return wglMakeCurrent(dc, context) != 0; }), DWORD(ERROR_INVALID_HANDLE));
  EXPECT_EQ(reason([&] { return wglDeleteContext(context) != 0; }), DWORD(ERROR_INVALID_HANDLE));

  HDC memory = CreateCompatibleDC(dc);
  ASSERT_TRUE(DeleteDC(memory));
  expect_reasons(
      {
          {"wglCreateContext", [&] { return wglCreateContext(memory) != 0; }},
          {"wglMakeCurrent", [&] { return wglMakeCurrent(memory, context) != 0; }},
          {"SwapBuffers", [&] { return SwapBuffers(memory) != 0; }},
          {"ChoosePixelFormat", [&] { return ChoosePixelFormat(memory, &request) != 0; }},
          {"DescribePixelFormat", [&] { return DescribePixelFormat(memory, 1, 0, nullptr) != 0; }},
          {"SetPixelFormat", [&] { return SetPixelFormat(memory, format, &request) != 0; }},
      },
      ERROR_INVALID_HANDLE);
  EXPECT_EQ(reason([&] { return GetPixelFormat(memory) != 0; }), DWORD(ERROR_INVALID_PIXEL_FORMAT));
  ReleaseDC(window, dc);
  ReleaseDC(other, other_dc);
  DestroyWindow(window);
  DestroyWindow(other);
}

}  // namespace
