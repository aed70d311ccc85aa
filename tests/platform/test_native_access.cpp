// A file that uses Xlib and GLX beside the framework: the native header gives the X display, the X
// window of a window and the GLX context of a rendering context. Xlib, GLX and the native header
// come before Zelvo.h here, which is the order that needs nothing else (tests/headers holds the
// other order).
#include <gtest/gtest.h>
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <GL/glx.h>
#include <win/native_x11.h>

#include <Zelvo.h>

#include <cstring>

namespace {

// Names a program may well have that the Windows headers would take as a macro.
enum class Severity { INFO, ERROR };

TEST(NativeAccess, XlibGlxAndTheFrameworkShareOneFile) {
  // Xlib's type and the framework's variable under their two names.
  ::Depth screen_depth{};
  screen_depth.depth = 24;
  zelvo::Depth = 2.5f;
  EXPECT_EQ(screen_depth.depth, 24);
  EXPECT_FLOAT_EQ(zelvo::Depth, 2.5f);
  zelvo::Depth = 0;
  EXPECT_NE(int(Severity::ERROR), int(Severity::INFO));
  EXPECT_EQ(RGN_ERROR, ERROR) << "the region result keeps its name";
}

TEST(NativeAccess, TheObjectsBehindTheHandles) {
  Display* display = ZelvoXDisplay();
  ASSERT_NE(display, nullptr) << "no X display";
  EXPECT_EQ(ZelvoXWindow(0), Window(None));
  EXPECT_EQ(ZelvoGLXContext(0), nullptr);

  OGLWindowSetting(ARROW, "", GENERIC, "");
  ASSERT_TRUE(CreateOGLWindow("native access", 320, 240, 32, false));
  const Window window = ZelvoXWindow(hWindow);
  ASSERT_NE(window, Window(None));
  XWindowAttributes attributes{};
  ASSERT_TRUE(XGetWindowAttributes(display, window, &attributes));
  RECT client{};
  GetClientRect(hWindow, &client);
  EXPECT_EQ(attributes.width, client.right);
  EXPECT_EQ(attributes.height, client.bottom);
  // The current GLX context and drawable are the window's.
  EXPECT_EQ(ZelvoGLXContext(RCWindow), glXGetCurrentContext());
  EXPECT_NE(ZelvoGLXContext(RCWindow), nullptr);
  EXPECT_EQ(glXGetCurrentDrawable(), GLXDrawable(window));

  // A program's own request on the window, read back through Xlib.
  const Atom property = XInternAtom(display, "ZELVO_NATIVE_TEST", False);
  const char value[] = "set natively";
  XChangeProperty(display, window, property, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(value), int(std::strlen(value)));
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  ASSERT_EQ(XGetWindowProperty(display, window, property, 0, 64, False, XA_STRING, &type, &format,
                               &items, &after, &data),
            Success);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data), items), value);
  XFree(data);

  const HWND stale_window = hWindow;
  const HGLRC stale_context = RCWindow;
  DeleteOGLWindow();
  EXPECT_EQ(ZelvoXWindow(stale_window), Window(None));
  EXPECT_EQ(ZelvoGLXContext(stale_context), nullptr);
}

}  // namespace
