// Our windows on the X server: the nominal frame metrics, the X windows and their geometry, what
// the window manager is told, and what destruction leaves there. The Windows side of the same calls
// is checked in both worlds by tests/winapi/test_window_geometry.cpp.
#include <gtest/gtest.h>
// Xlib's macros (None, Bool, ...) after GoogleTest, which uses those names itself.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "message_log.h"
#include "real_input.h"
#include "window_internal.h"
#include "x_display.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "CreateTestWindow";

class WindowCreate : public ::testing::Test {
 protected:
  void SetUp() override {
    display_ = XOpenDisplay(nullptr);
    ASSERT_NE(display_, nullptr) << "the tests need an X server";
    register_logging_class(kClass);
    message_log() = MessageLog{};
  }
  void TearDown() override {
    for (HWND h : windows_) DestroyWindow(h);
    pump_all();
    if (display_) XCloseDisplay(display_);
  }
  HWND make(DWORD style, int x, int y, int w, int h, HWND parent = 0, HMENU id = 0,
            const char* title = "T") {
    HWND hwnd = CreateWindowExA(0, kClass, title, style, x, y, w, h, parent, id,
                                GetModuleHandleA(nullptr), nullptr);
    if (hwnd && !parent) windows_.push_back(hwnd);
    return hwnd;
  }
  // Geometry of the X window as the server has it: position inside the parent, size, border.
  void x_geometry(HWND h, int& x, int& y, unsigned& w, unsigned& hh, unsigned& border) {
    ::Window root;
    unsigned depth;
    XGetGeometry(display_, plat::x_window(h), &root, &x, &y, &w, &hh, &border, &depth);
  }
  std::string property(HWND h, const char* name, Atom& type) {
    Atom a = XInternAtom(display_, name, False);
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string out;
    type = 0;
    if (XGetWindowProperty(display_, plat::x_window(h), a, 0, 4096, False, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success &&
        data) {
      out.assign(reinterpret_cast<char*>(data), count * (format == 32 ? sizeof(long) : format / 8));
      XFree(data);
    }
    return out;
  }

  Display* display_ = nullptr;
  std::vector<HWND> windows_;
};

TEST_F(WindowCreate, CaptionedPopupHasNominalFrameAndFixedSize) {
  HWND h = make(kCaptionedStyle, CW_USEDEFAULT, CW_USEDEFAULT, 800, 600);
  ASSERT_NE(h, 0u);
  RECT client, outer;
  ASSERT_TRUE(GetClientRect(h, &client));
  ASSERT_TRUE(GetWindowRect(h, &outer));
  EXPECT_EQ(client.right - client.left, 794);
  EXPECT_EQ(client.bottom - client.top, 578);

  // The X window is the client area, 3 right of and 19 below the outer corner.
  int x, y;
  unsigned w, hh, border;
  x_geometry(h, x, y, w, hh, border);
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 19);
  EXPECT_EQ(w, 794u);
  EXPECT_EQ(hh, 578u);

  // No resizing: min = max size.
  XSizeHints hints{};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(display_, plat::x_window(h), &hints, &supplied));
  EXPECT_TRUE(hints.flags & PMinSize);
  EXPECT_TRUE(hints.flags & PMaxSize);
  EXPECT_EQ(hints.min_width, 794);
  EXPECT_EQ(hints.max_width, 794);
  EXPECT_EQ(hints.min_height, 578);
  EXPECT_EQ(hints.max_height, 578);

  Atom* protocols = nullptr;
  int n = 0;
  ASSERT_TRUE(XGetWMProtocols(display_, plat::x_window(h), &protocols, &n));
  ASSERT_EQ(n, 1);
  EXPECT_EQ(protocols[0], XInternAtom(display_, "WM_DELETE_WINDOW", False));
  XFree(protocols);

  Atom type;
  std::string pid = property(h, "_NET_WM_PID", type);
  ASSERT_EQ(pid.size(), sizeof(long));
  long value;
  std::memcpy(&value, pid.data(), sizeof value);
  EXPECT_EQ(value, static_cast<long>(getpid()));
  XClassHint class_hint{};
  ASSERT_TRUE(XGetClassHint(display_, plat::x_window(h), &class_hint));
  EXPECT_STREQ(class_hint.res_class, kClass);
  XFree(class_hint.res_name);
  XFree(class_hint.res_class);
}

TEST_F(WindowCreate, FullScreenBorderlessWindowCoversTheScreen) {
  int sw = GetSystemMetrics(SM_CXSCREEN);
  int sh = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(sw, DisplayWidth(display_, DefaultScreen(display_)));
  EXPECT_EQ(sh, DisplayHeight(display_, DefaultScreen(display_)));
  HWND h = make(kFullScreenStyle, CW_USEDEFAULT, CW_USEDEFAULT, sw, sh);
  ASSERT_NE(h, 0u);
  // The one-pixel border is the X border, so the X window and its border cover the whole screen.
  int x, y;
  unsigned w, hh, border;
  x_geometry(h, x, y, w, hh, border);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(border, 1u);
  EXPECT_EQ(static_cast<int>(w + 2 * border), sw);
  EXPECT_EQ(static_cast<int>(hh + 2 * border), sh);
  // No decorations.
  Atom type;
  std::string motif = property(h, "_MOTIF_WM_HINTS", type);
  ASSERT_EQ(motif.size(), 5 * sizeof(long));
  long fields[5];
  std::memcpy(fields, motif.data(), sizeof fields);
  EXPECT_EQ(fields[0] & 2, 2);  // decorations field used
  EXPECT_EQ(fields[2], 0);      // and empty
}

// Our layer destroys the refused window through DestroyWindow, so WM_DESTROY reaches it (Wine's
// internal destruction sends none; the documentation does not say).
TEST_F(WindowCreate, CreateReturningMinusOneDestroysAndLeavesNoXWindow) {
  message_log().handlers[WM_CREATE] = [](HWND, WPARAM, LPARAM) -> LRESULT { return -1; };
  EXPECT_EQ(make(kCaptionedStyle, 0, 0, 200, 100), 0u);
  EXPECT_EQ(message_log().count(WM_DESTROY), 1u);
  HWND created = message_log().only(WM_CREATE).at(0).hwnd;
  EXPECT_EQ(plat::x_window(created), 0u);
}

TEST_F(WindowCreate, ChildWindowsSitInTheParentsClientArea) {
  HWND parent = make(kCaptionedStyle, 100, 50, 400, 300);
  ASSERT_NE(parent, 0u);
  HWND child = make(WS_CHILD | WS_VISIBLE, 10, 20, 64, 32, parent, 42);
  ASSERT_NE(child, 0u);
  // Our nominal frame: the parent's client area starts 3 right of and 19 below its outer corner.
  RECT r;
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 100 + 3 + 10);
  EXPECT_EQ(r.top, 50 + 19 + 20);
  ASSERT_TRUE(MoveWindow(child, 10, 20, 48, 16, FALSE));
  int x, y;
  unsigned w, hh, border;
  XSync(display_, False);
  x_geometry(child, x, y, w, hh, border);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 20);
  EXPECT_EQ(w, 48u);
  EXPECT_EQ(hh, 16u);
  ::Window root, x_parent, *children = nullptr;
  unsigned n;
  XQueryTree(display_, plat::x_window(child), &root, &x_parent, &children, &n);
  if (children) XFree(children);
  EXPECT_EQ(x_parent, plat::x_window(parent));
  EXPECT_EQ(plat::window_from_x(plat::x_window(child)), child);
}

TEST_F(WindowCreate, DestroyTakesTheXWindowsOfParentAndChild) {
  HWND parent = make(kCaptionedStyle, 0, 0, 300, 200);
  HWND child = make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, 1);
  ASSERT_NE(child, 0u);
  ::Window x_parent = plat::x_window(parent);
  message_log().messages.clear();
  ASSERT_TRUE(DestroyWindow(parent));
  // The stale handles have no X window any more, and UpdateWindow fails for them (Wine's returns
  // TRUE for a destroyed window).
  for (HWND h : {parent, child}) {
    EXPECT_EQ(plat::x_window(h), 0u);
    EXPECT_FALSE(UpdateWindow(h));
  }
  // BeginPaint fails and leaves no stale bytes in the paint structure (Wine leaves them as they
  // were).
  PAINTSTRUCT ps;
  std::memset(&ps, 0xAB, sizeof ps);
  EXPECT_EQ(BeginPaint(parent, &ps), 0u);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&ps);
  EXPECT_TRUE(std::all_of(bytes, bytes + sizeof ps, [](unsigned char b) { return b == 0; }));
  EXPECT_EQ(plat::window_from_x(x_parent), 0u);
  // The X window is gone from the server.
  XWindowAttributes attributes;
  plat::XErrorTrap trap;
  EXPECT_FALSE(XGetWindowAttributes(display_, x_parent, &attributes));
  EXPECT_EQ(trap.sync(), BadWindow);
  windows_.clear();
}

TEST_F(WindowCreate, TitleIsConvertedFromWindows1252) {
  HWND h = make(kCaptionedStyle, 0, 0, 100, 100, 0, 0, "x");
  ASSERT_TRUE(SetWindowTextA(h, "applicazione \xE8 \x80\x81"));
  Atom type;
  std::string utf8 = property(h, "_NET_WM_NAME", type);
  EXPECT_EQ(type, XInternAtom(display_, "UTF8_STRING", False));
  // An undefined byte (0x81) keeps its value, as in a message box with the same text.
  EXPECT_EQ(utf8, "applicazione \xC3\xA8 \xE2\x82\xAC\xC2\x81");
  std::string latin1 = property(h, "WM_NAME", type);
  EXPECT_EQ(latin1, "applicazione \xE8 ??");
}

}  // namespace
