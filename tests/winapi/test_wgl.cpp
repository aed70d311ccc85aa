// The GL binding's rules: a window's pixel format is set once and shared by its device contexts,
// contexts need a window with a format, and calls after the window is gone fail quietly.
#include <gtest/gtest.h>
#include <windows.h>

#include <GL/gl.h>

#include <cstdint>

#include "framework_descriptor.h"
#include "wgl_test_window.h"
#include "wine.h"

namespace {

using zelvo_test::framework_descriptor;
using zelvo_test::make_window;

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

}  // namespace
