// Message boxes: real boxes on the X server answered with real key presses and mouse clicks through
// XTest from a second connection. Tested without a display: the text helpers and the icon in
// test_message_box_text.cpp, the automation hook in test_message_box_hook.cpp, the box that cannot
// be shown in test_message_no_display.cpp.
#include <gtest/gtest.h>
#include <windows.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "window_internal.h"
#include "x_display.h"

namespace {

// Two connections are used from two threads.
const bool kThreadsReady = XInitThreads() != 0;

std::string property_utf8(Display* d, Window w, const char* name) {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  std::string value;
  if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 1 << 16, False, AnyPropertyType,
                         &type, &format, &count, &after, &data) == Success &&
      data) {
    value.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
  }
  return value;
}

std::vector<long> property_longs(Display* d, Window w, const char* name) {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  std::vector<long> values;
  if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 1024, False, AnyPropertyType, &type,
                         &format, &count, &after, &data) == Success &&
      data) {
    auto* longs = reinterpret_cast<long*>(data);
    values.assign(longs, longs + count);
    XFree(data);
  }
  return values;
}

// The box window below `w` (a window manager may have put it inside its frame), or 0.
Window find_box(Display* d, Window w, Atom text, int depth) {
  int n = 0;
  Atom* props = XListProperties(d, w, &n);
  bool is_box = false;
  for (int p = 0; p < n; ++p) is_box |= props[p] == text;
  if (props) XFree(props);
  if (is_box) return w;
  if (depth == 0) return 0;
  Window root_return, parent, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (XQueryTree(d, w, &root_return, &parent, &children, &count))
    for (unsigned i = 0; i < count && !found; ++i)
      found = find_box(d, children[i], text, depth - 1);
  if (children) XFree(children);
  return found;
}

// A viewable box window that has the keyboard focus, or 0 after a few seconds.
Window wait_for_box(Display* d) {
  Atom text = XInternAtom(d, "_ZELVO_MESSAGE_TEXT", False);
  for (int attempt = 0; attempt < 500; ++attempt) {
    Window found = find_box(d, DefaultRootWindow(d), text, 3);
    if (found) {
      XWindowAttributes a;
      Window focus;
      int revert;
      XGetInputFocus(d, &focus, &revert);
      if (XGetWindowAttributes(d, found, &a) && a.map_state == IsViewable && focus == found)
        return found;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}

void press(Display* d, KeySym sym, KeySym modifier = NoSymbol) {
  if (modifier != NoSymbol) XTestFakeKeyEvent(d, XKeysymToKeycode(d, modifier), True, CurrentTime);
  XTestFakeKeyEvent(d, XKeysymToKeycode(d, sym), True, CurrentTime);
  XTestFakeKeyEvent(d, XKeysymToKeycode(d, sym), False, CurrentTime);
  if (modifier != NoSymbol) XTestFakeKeyEvent(d, XKeysymToKeycode(d, modifier), False, CurrentTime);
  XFlush(d);
}

void click_button(Display* d, Window box, int id) {
  std::vector<long> buttons = property_longs(d, box, "_ZELVO_MESSAGE_BUTTONS");
  for (size_t i = 0; i + 4 < buttons.size(); i += 5) {
    if (buttons[i] != id) continue;
    int x, y;
    Window child;
    XTranslateCoordinates(d, box, DefaultRootWindow(d),
                          static_cast<int>(buttons[i + 1] + buttons[i + 3] / 2),
                          static_cast<int>(buttons[i + 2] + buttons[i + 4] / 2), &x, &y, &child);
    XTestFakeMotionEvent(d, DefaultScreen(d), x, y, CurrentTime);
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
    XFlush(d);
    return;
  }
  ADD_FAILURE() << "no button " << id;
}

// Shows a real box and lets `act` answer it from another connection; returns MessageBoxA's result.
int answer_box(HWND owner, const char* text, const char* caption, UINT type,
               std::function<void(Display*, Window)> act) {
  std::thread driver([&] {
    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    Window box = wait_for_box(d);
    EXPECT_NE(box, 0u) << "the box did not appear with the focus";
    if (box) act(d, box);
    XCloseDisplay(d);
  });
  int result = MessageBoxA(owner, text, caption, type);
  driver.join();
  return result;
}

int answer_box(const char* text, const char* caption, UINT type,
               std::function<void(Display*, Window)> act) {
  return answer_box(0, text, caption, type, std::move(act));
}

}  // namespace

// A hook that declines (0) lets the real box appear. The hook's own answers are tested without a
// display in test_message_box_hook.cpp.
TEST(MessageBoxHook, ADeclinedBoxAppearsOnTheServer) {
  int calls = 0;
  SetMessageBoxHook(
      [](HWND, LPCSTR, LPCSTR, UINT, void* context) {
        ++*static_cast<int*>(context);
        return 0;
      },
      &calls);
  EXPECT_EQ(answer_box("declined", "Hook", MB_OK, [](Display* d, Window) { press(d, XK_Return); }),
            IDOK);
  EXPECT_EQ(calls, 1);
  SetMessageBoxHook(nullptr, nullptr);
}

TEST(MessageBoxKeys, YesNoAnsweredByLettersEnterTabAndIgnoresEscape) {
  const UINT question = MB_YESNO | MB_ICONQUESTION;
  EXPECT_EQ(answer_box("Settare lo schermo intero?  ", "Video!", question,
                       [](Display* d, Window) { press(d, XK_y); }),
            IDYES);
  EXPECT_EQ(answer_box("Settare lo schermo intero?  ", "Video!", question,
                       [](Display* d, Window) { press(d, XK_n); }),
            IDNO);
  EXPECT_EQ(answer_box("q", "Video!", question, [](Display* d, Window) { press(d, XK_Return); }),
            IDYES);
  EXPECT_EQ(answer_box("q", "Video!", question | MB_DEFBUTTON2,
                       [](Display* d, Window) { press(d, XK_Return); }),
            IDNO);
  EXPECT_EQ(answer_box("q", "Video!", question,
                       [](Display* d, Window) {
                         press(d, XK_Tab);
                         press(d, XK_space);
                       }),
            IDNO);
  EXPECT_EQ(answer_box("q", "Video!", question,
                       [](Display* d, Window) {
                         press(d, XK_Tab);
                         press(d, XK_Tab, XK_Shift_L);
                         press(d, XK_Return);
                       }),
            IDYES);
  // Escape does nothing on a Yes/No box; the following N still answers it.
  EXPECT_EQ(answer_box("q", "Video!", question,
                       [](Display* d, Window) {
                         press(d, XK_Escape);
                         press(d, XK_n);
                       }),
            IDNO);
}

TEST(MessageBoxKeys, EscapeAnswersOkAndCancelBoxes) {
  EXPECT_EQ(answer_box("ok", "Error", MB_OK, [](Display* d, Window) { press(d, XK_Escape); }),
            IDOK);
  EXPECT_EQ(answer_box("ok", "Error", MB_OKCANCEL, [](Display* d, Window) { press(d, XK_Escape); }),
            IDCANCEL);
  EXPECT_EQ(answer_box("ok", "Error", MB_YESNOCANCEL, [](Display* d, Window) { press(d, XK_c); }),
            IDCANCEL);
  EXPECT_EQ(
      answer_box("ok", "Error", MB_RETRYCANCEL, [](Display* d, Window) { press(d, XK_Return); }),
      IDRETRY);
}

TEST(MessageBoxMouse, ClickOnNoAnswersNoAndCloseRequestActsLikeEscape) {
  EXPECT_EQ(answer_box("q", "Video!", MB_YESNO | MB_ICONQUESTION,
                       [](Display* d, Window box) { click_button(d, box, IDNO); }),
            IDNO);
  EXPECT_EQ(answer_box("q", "Error", MB_OK,
                       [](Display* d, Window box) {
                         XEvent e{};
                         e.xclient.type = ClientMessage;
                         e.xclient.window = box;
                         e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
                         e.xclient.format = 32;
                         e.xclient.data.l[0] =
                             static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
                         XSendEvent(d, box, False, NoEventMask, &e);
                         XFlush(d);
                       }),
            IDOK);
}

TEST(MessageBoxWindow, PropertiesShowTextCaptionAndDialogKind) {
  std::string text, name, net_name;
  std::vector<long> type, geometry;
  bool transient = false;
  int x = 0, y = 0;
  unsigned width = 0, height = 0;
  bool blue_icon_pixel = false;
  int slack = 1;
  EXPECT_EQ(answer_box("la rispettiva applicazione non \xE8 stata inizilizata!", "Error",
                       MB_OK | MB_ICONQUESTION,
                       [&](Display* d, Window box) {
                         text = property_utf8(d, box, "_ZELVO_MESSAGE_TEXT");
                         name = property_utf8(d, box, "WM_NAME");
                         net_name = property_utf8(d, box, "_NET_WM_NAME");
                         type = property_longs(d, box, "_NET_WM_WINDOW_TYPE");
                         Window owner = 0;
                         transient = XGetTransientForHint(d, box, &owner) != 0;
                         Window root, child;
                         unsigned border, depth;
                         XGetGeometry(d, box, &root, &x, &y, &width, &height, &border, &depth);
                         XTranslateCoordinates(d, box, root, 0, 0, &x, &y, &child);
                         // A window manager's decorations shift the box by at most their size.
                         std::vector<long> frame = property_longs(d, box, "_NET_FRAME_EXTENTS");
                         if (frame.size() == 4) slack += static_cast<int>(frame[2] + frame[3]);
                         // The first drawing may still be on its way.
                         for (int attempt = 0; attempt < 100 && !blue_icon_pixel; ++attempt) {
                           XImage* image = XGetImage(d, box, 0, 0, 80, 80, AllPlanes, ZPixmap);
                           for (int py = 0; image && py < 80 && !blue_icon_pixel; ++py)
                             for (int px = 0; px < 80; ++px)
                               if ((XGetPixel(image, px, py) & 0xFFFFFF) == 0x2D6FCE)
                                 blue_icon_pixel = true;
                           if (image) XDestroyImage(image);
                           if (!blue_icon_pixel)
                             std::this_thread::sleep_for(std::chrono::milliseconds(10));
                         }
                         press(d, XK_Return);
                       }),
            IDOK);
  EXPECT_EQ(text, "la rispettiva applicazione non \xC3\xA8 stata inizilizata!");
  EXPECT_EQ(name, "Error");
  EXPECT_EQ(net_name, "Error");
  ASSERT_EQ(type.size(), 1u);
  EXPECT_EQ(static_cast<Atom>(type[0]), plat::x_atom("_NET_WM_WINDOW_TYPE_DIALOG"));
  EXPECT_TRUE(transient);
  EXPECT_NEAR(x + static_cast<int>(width) / 2, plat::x_screen_width() / 2, slack);
  EXPECT_NEAR(y + static_cast<int>(height) / 2, plat::x_screen_height() / 2, slack);
  EXPECT_TRUE(blue_icon_pixel) << "the question icon is drawn";
}

TEST(MessageBoxWindow, LongTextIsWrappedIntoABoundedBox) {
  std::string long_text;
  for (int i = 0; i < 60; ++i) long_text += "parola ";
  unsigned short_h = 0, long_w = 0, long_h = 0;
  auto measure = [](unsigned* w, unsigned* h) {
    return [w, h](Display* d, Window box) {
      XWindowAttributes a;
      XGetWindowAttributes(d, box, &a);
      if (w) *w = static_cast<unsigned>(a.width);
      *h = static_cast<unsigned>(a.height);
      press(d, XK_Return);
    };
  };
  answer_box("short", "Wrap", MB_OK, measure(nullptr, &short_h));
  answer_box(long_text.c_str(), "Wrap", MB_OK, measure(&long_w, &long_h));
  EXPECT_LE(long_w, 600u);
  EXPECT_GT(long_h, short_h + 30) << "several lines";
}

// The box window's place on the screen, its buttons, and the dark (text) pixels it shows.
struct BoxSeen {
  int x = 0, y = 0, width = 0, height = 0;
  std::vector<long> buttons;
  int dark_pixels = 0;
};

std::function<void(Display*, Window)> look_then_press_return(BoxSeen* seen) {
  return [seen](Display* d, Window box) {
    XWindowAttributes a;
    XGetWindowAttributes(d, box, &a);
    Window child;
    XTranslateCoordinates(d, box, DefaultRootWindow(d), 0, 0, &seen->x, &seen->y, &child);
    seen->width = a.width;
    seen->height = a.height;
    seen->buttons = property_longs(d, box, "_ZELVO_MESSAGE_BUTTONS");
    for (int attempt = 0; attempt < 100 && seen->dark_pixels == 0; ++attempt) {
      XImage* image = XGetImage(d, box, 0, 0, static_cast<unsigned>(a.width),
                                static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
      for (int py = 0; image && py < a.height; ++py)
        for (int px = 0; px < a.width; ++px)
          seen->dark_pixels += (XGetPixel(image, px, py) & 0xFFFFFF) < 0x404040;
      if (image) XDestroyImage(image);
      if (seen->dark_pixels == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // The default button answers from the keyboard: it is reachable however long the text.
    press(d, XK_Return);
  };
}

void expect_on_screen(const BoxSeen& box) {
  const int screen_w = plat::x_screen_width(), screen_h = plat::x_screen_height();
  EXPECT_GE(box.x, 0);
  EXPECT_GE(box.y, 0);
  EXPECT_LE(box.x + box.width, screen_w);
  EXPECT_LE(box.y + box.height, screen_h);
  ASSERT_FALSE(box.buttons.empty());
  for (size_t i = 0; i + 4 < box.buttons.size(); i += 5) {
    EXPECT_GE(box.buttons[i + 1], 0);
    EXPECT_LE(box.buttons[i + 1] + box.buttons[i + 3], box.width) << "button " << box.buttons[i];
    EXPECT_LE(box.buttons[i + 2] + box.buttons[i + 4], box.height) << "button " << box.buttons[i];
  }
}

TEST(MessageBoxWindow, TextTallerThanTheScreenIsCutAndTheButtonsStayVisible) {
  std::string lines;
  for (int i = 0; i < 3900; ++i) lines += "riga " + std::to_string(i) + "\n";
  BoxSeen seen;
  EXPECT_EQ(answer_box(lines.c_str(), "Lines", MB_YESNO, look_then_press_return(&seen)), IDYES);
  expect_on_screen(seen);
  EXPECT_GT(seen.dark_pixels, 0);
}

TEST(MessageBoxWindow, OneHugeWordIsBrokenIntoLinesThatShow) {
  const std::string word(5000, 'W');
  BoxSeen seen;
  EXPECT_EQ(answer_box(word.c_str(), "Word", MB_OK, look_then_press_return(&seen)), IDOK);
  expect_on_screen(seen);
  EXPECT_GT(seen.height, 100) << "several lines";
  EXPECT_GT(seen.dark_pixels, 1000) << "the text is drawn";
}

TEST(MessageBoxWindow, OtherWindowsEventsStayQueuedForTheApplication) {
  Display* d = plat::x_display();
  ASSERT_NE(d, nullptr);
  Window other = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 50, 50, 0, 0, 0);
  XSync(d, False);
  EXPECT_EQ(answer_box("q", "Queue", MB_OK,
                       [other](Display* d2, Window) {
                         XEvent e{};
                         e.xclient.type = ClientMessage;
                         e.xclient.window = other;
                         e.xclient.message_type = XInternAtom(d2, "_ZELVO_TEST", False);
                         e.xclient.format = 32;
                         e.xclient.data.l[0] = 1234;
                         XSendEvent(d2, other, False, NoEventMask, &e);
                         XSync(d2, False);
                         std::this_thread::sleep_for(std::chrono::milliseconds(50));
                         press(d2, XK_Return);
                       }),
            IDOK);
  XEvent e;
  ASSERT_TRUE(XCheckTypedWindowEvent(d, other, ClientMessage, &e))
      << "the other window's event was consumed";
  EXPECT_EQ(e.xclient.data.l[0], 1234);
  XDestroyWindow(d, other);
}

TEST(MessageBoxWindow, BoxWithAnOwnerIsTransientForIt) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "MessageBoxOwner";
  RegisterClassA(&wc);
  HWND owner = CreateWindowExA(0, "MessageBoxOwner", "owner", WS_POPUP | WS_VISIBLE, 10, 10, 100,
                               80, 0, 0, 0, nullptr);
  ASSERT_NE(owner, 0u);
  ::Window owner_x = plat::x_window(owner), transient_for = 0;
  EXPECT_EQ(answer_box(owner, "owned", "Owner", MB_OK,
                       [&](Display* d, Window box) {
                         XGetTransientForHint(d, box, &transient_for);
                         press(d, XK_Return);
                       }),
            IDOK);
  EXPECT_EQ(transient_for, owner_x);
  DestroyWindow(owner);
}
