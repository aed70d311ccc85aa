// The GL binding on real windows: the framework's descriptor on a window made by CreateWindowExA, a
// Mesa context made current, a clear shown by SwapBuffers, and the release order of the window
// layer.
#include <gtest/gtest.h>
#include <windows.h>

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>
#include <string>

#include "pixel_format.h"
#include "wgl_setup.h"
#include "window_internal.h"
#include "x_display.h"

namespace {

using zelvo_test::framework_descriptor;
using zelvo_test::make_window;

// The centre pixel of the window as the X server shows it, 0xRRGGBB.
unsigned long shown_centre(HWND window) {
  Display* d = plat::x_display();
  ::Window xw = plat::x_window(window);
  XWindowAttributes a;
  XGetWindowAttributes(d, xw, &a);
  XImage* image = XGetImage(d, xw, a.width / 2, a.height / 2, 1, 1, AllPlanes, ZPixmap);
  if (!image) return 0xDEADBEEF;
  unsigned long p = XGetPixel(image, 0, 0) & 0xFFFFFF;
  XDestroyImage(image);
  return p;
}

}  // namespace

TEST(Wgl, FrameworkSequenceClearsSwapsAndReleases) {
  HWND window = make_window();
  ASSERT_NE(window, 0u);
  HDC dc = GetDC(window);
  ASSERT_NE(dc, 0u);
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  int format = ChoosePixelFormat(dc, &request);
  ASSERT_GT(format, 0);
  EXPECT_EQ(GetPixelFormat(dc), 0);
  ASSERT_TRUE(SetPixelFormat(dc, format, &request));
  EXPECT_EQ(GetPixelFormat(dc), format);
  EXPECT_FALSE(SetPixelFormat(dc, format == 1 ? 2 : 1, &request))
      << "a window's format is set once";

  // The window now has the configuration's visual.
  XVisualInfo* vi = glXGetVisualFromFBConfig(plat::x_display(), plat::pixel_format(format)->config);
  ASSERT_NE(vi, nullptr);
  XWindowAttributes attributes;
  ASSERT_TRUE(XGetWindowAttributes(plat::x_display(), plat::x_window(window), &attributes));
  EXPECT_EQ(XVisualIDFromVisual(attributes.visual), vi->visualid);
  XFree(vi);

  HGLRC rc = wglCreateContext(dc);
  ASSERT_NE(rc, 0u);
  ASSERT_TRUE(wglMakeCurrent(dc, rc));
  EXPECT_EQ(wglGetCurrentContext(), rc);
  EXPECT_EQ(wglGetCurrentDC(), dc);
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  ASSERT_NE(version, nullptr);
  EXPECT_FALSE(std::string(version).empty());
  GLint depth_bits = 0, double_buffered = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depth_bits);
  glGetIntegerv(GL_DOUBLEBUFFER, &double_buffered);
  EXPECT_GT(depth_bits, 0);
  EXPECT_TRUE(double_buffered);

  glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  ASSERT_TRUE(SwapBuffers(dc));
  glFinish();
  XSync(plat::x_display(), False);
  EXPECT_EQ(shown_centre(window), 0xFF0000u);
  glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  EXPECT_EQ(shown_centre(window), 0xFF0000u) << "drawing goes to the back buffer until the swap";
  ASSERT_TRUE(SwapBuffers(dc));
  glFinish();
  XSync(plat::x_display(), False);
  EXPECT_EQ(shown_centre(window), 0x0000FFu);

  // The window layer's release order; the second of each fails quietly.
  EXPECT_TRUE(wglMakeCurrent(dc, 0));
  EXPECT_EQ(wglGetCurrentContext(), 0u);
  EXPECT_EQ(wglGetCurrentDC(), 0u);
  EXPECT_FALSE(wglMakeCurrent(dc, 0));
  EXPECT_TRUE(wglDeleteContext(rc));
  EXPECT_FALSE(wglDeleteContext(rc));
  EXPECT_FALSE(wglMakeCurrent(dc, rc)) << "stale context";
  EXPECT_EQ(ReleaseDC(window, dc), 1);
  EXPECT_FALSE(SwapBuffers(dc)) << "stale device context";
  EXPECT_EQ(GetPixelFormat(dc), 0);
  EXPECT_TRUE(DestroyWindow(window));
}

TEST(Wgl, SecondWindowGetsItsOwnFormatAndContext) {
  HWND a = make_window(300, 0, 64, 64),
       b = make_window(400, 0, 64, 64);  // side by side, both visible
  HDC da = GetDC(a), db = GetDC(b);
  PIXELFORMATDESCRIPTOR request = framework_descriptor();
  int format = ChoosePixelFormat(da, &request);
  ASSERT_TRUE(SetPixelFormat(da, format, &request));
  EXPECT_EQ(GetPixelFormat(db), 0);
  ASSERT_TRUE(SetPixelFormat(db, format, &request));
  HGLRC ra = wglCreateContext(da), rb = wglCreateContext(db);
  ASSERT_NE(ra, 0u);
  ASSERT_NE(rb, 0u);
  ASSERT_TRUE(wglMakeCurrent(da, ra));
  glClearColor(0, 1, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  SwapBuffers(da);
  glFinish();
  ASSERT_TRUE(wglMakeCurrent(db, rb));
  EXPECT_EQ(wglGetCurrentContext(), rb);
  glClearColor(1, 1, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  SwapBuffers(db);
  glFinish();
  XSync(plat::x_display(), False);
  EXPECT_EQ(shown_centre(a), 0x00FF00u);
  EXPECT_EQ(shown_centre(b), 0xFFFF00u);
  wglMakeCurrent(db, 0);
  wglDeleteContext(ra);
  wglDeleteContext(rb);
  ReleaseDC(a, da);
  ReleaseDC(b, db);
  DestroyWindow(a);
  DestroyWindow(b);
}
