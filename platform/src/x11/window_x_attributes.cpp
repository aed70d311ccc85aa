// The X side of a window: its X window and what the window manager is told about it.
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>

#include "text_cp1252.h"
#include "window_internal.h"
#include "x_display.h"

namespace plat {
namespace {

// KeymapNotify after each FocusIn tells which keys went up while another window had the keyboard.
constexpr long kTopLevelEvents = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                                 ButtonReleaseMask | PointerMotionMask | StructureNotifyMask |
                                 FocusChangeMask | KeymapStateMask;
// Children leave key events to their top-level window, which routes them to the focus window.
constexpr long kChildEvents =
    ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | StructureNotifyMask;

// How long ShowWindow waits for the server (or a window manager) to map a top-level window.
constexpr int kMapTimeoutMs = 2000;

struct MotifHints {
  unsigned long flags;
  unsigned long functions;
  unsigned long decorations;
  long input_mode;
  unsigned long status;
};
constexpr unsigned long kMotifDecorationsFlag = 2;

}  // namespace

bool x_window_manager_running() {
  Display* d = x_display();
  if (!d) return false;
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  bool running = false;
  if (XGetWindowProperty(d, DefaultRootWindow(d), x_atom("_NET_SUPPORTING_WM_CHECK"), 0, 1, False,
                         XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
      data) {
    running = count == 1 && type == XA_WINDOW;
    XFree(data);
  }
  return running;
}

::Window window_create_x(WindowObject* w, ::Window x_parent) {
  Display* d = x_display();
  if (!d) return 0;
  XSetWindowAttributes attributes{};
  unsigned long mask = CWEventMask | CWBackPixmap | CWBorderPixel | CWBitGravity;
  attributes.event_mask = w->parent ? kChildEvents : kTopLevelEvents;
  attributes.background_pixmap = None;  // the program paints everything; no flash of grey
  attributes.border_pixel = BlackPixel(d, DefaultScreen(d));
  attributes.bit_gravity = NorthWestGravity;
  int depth = CopyFromParent;
  Visual* visual = CopyFromParent;
  if (w->native->visual) {
    visual = w->native->visual;
    depth = w->native->depth;
    if (!w->native->colormap)
      w->native->colormap = XCreateColormap(d, DefaultRootWindow(d), w->native->visual, AllocNone);
    attributes.colormap = w->native->colormap;
    mask |= CWColormap;
  }
  unsigned width = static_cast<unsigned>(std::max(1, w->client_width));
  unsigned height = static_cast<unsigned>(std::max(1, w->client_height));
  ::Window xw = XCreateWindow(d, x_parent, w->client_x - w->native->border_width,
                              w->client_y - w->native->border_width, width, height,
                              static_cast<unsigned>(w->native->border_width), depth, InputOutput,
                              visual, mask, &attributes);
  if (!xw) return 0;
  window_register_x(xw, w->handle);
  return xw;
}

void window_set_x_title(WindowObject* w) {
  Display* d = x_display();
  if (!d || !xwindow_of(w) || w->parent) return;
  // WM_NAME is Latin-1; the few Windows-1252 letters outside it show as '?' there.
  std::string latin1 = w->title;
  for (char& c : latin1)
    if (static_cast<unsigned char>(c) >= 0x80 && static_cast<unsigned char>(c) < 0xA0) c = '?';
  XChangeProperty(d, w->native->xwindow, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(latin1.data()),
                  static_cast<int>(latin1.size()));
  std::string utf8 = cp1252_to_utf8(w->title);
  XChangeProperty(d, w->native->xwindow, x_atom("_NET_WM_NAME"), x_atom("UTF8_STRING"), 8,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(utf8.data()),
                  static_cast<int>(utf8.size()));
}

void window_set_size_hints(WindowObject* w) {
  Display* d = x_display();
  if (!d || !xwindow_of(w) || w->parent) return;
  ::Window xw = w->native->xwindow;
  XSizeHints* size = XAllocSizeHints();
  if (size) {
    size->flags = PPosition | USPosition | PWinGravity;
    size->x = w->client_x - w->native->border_width;
    size->y = w->client_y - w->native->border_width;
    size->win_gravity = NorthWestGravity;
    if ((w->style & WS_CAPTION) == WS_CAPTION && !(w->style & WS_THICKFRAME)) {
      // A fixed-size window: the window manager offers no resizing.
      size->flags |= PMinSize | PMaxSize;
      size->min_width = size->max_width = std::max(1, w->client_width);
      size->min_height = size->max_height = std::max(1, w->client_height);
    }
    XSetWMNormalHints(d, xw, size);
    XFree(size);
  }
}

static void set_top_level_hints(WindowObject* w) {
  Display* d = x_display();
  ::Window xw = w->native->xwindow;

  window_set_size_hints(w);

  XWMHints* hints = XAllocWMHints();
  if (hints) {
    hints->flags = InputHint | StateHint;
    hints->input = True;
    hints->initial_state = NormalState;
    XSetWMHints(d, xw, hints);
    XFree(hints);
  }

  Atom protocols[] = {x_atom("WM_DELETE_WINDOW")};
  XSetWMProtocols(d, xw, protocols, 1);

  XClassHint* class_hint = XAllocClassHint();
  if (class_hint) {
    std::string res_name = w->window_class ? w->window_class->name : "window";
    std::string res_class = res_name;
    char program[256] = {};
    ssize_t n = readlink("/proc/self/exe", program, sizeof(program) - 1);
    if (n > 0) {
      const char* base = std::strrchr(program, '/');
      res_name = base ? base + 1 : program;
    }
    class_hint->res_name = res_name.data();
    class_hint->res_class = res_class.data();
    XSetClassHint(d, xw, class_hint);
    XFree(class_hint);
  }

  long pid = static_cast<long>(getpid());
  XChangeProperty(d, xw, x_atom("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&pid), 1);

  if ((w->style & WS_CAPTION) != WS_CAPTION) {
    // A pop-up without caption has no decorations at all.
    MotifHints motif{kMotifDecorationsFlag, 0, 0, 0, 0};
    Atom atom = x_atom("_MOTIF_WM_HINTS");
    XChangeProperty(d, xw, atom, atom, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&motif), 5);
  }
  window_set_x_title(w);
}

void window_apply_x_attributes(WindowObject* w) {
  if (!x_display() || !xwindow_of(w)) return;
  if (w->parent == 0) set_top_level_hints(w);
  window_apply_class_looks(w);
  window_apply_shape(w);
}

void window_map_x(WindowObject* w, bool activate) {
  Display* d = x_display();
  if (!d || !xwindow_of(w)) return;
  if (w->parent == 0) {
    // A user time of 0 asks the window manager not to focus the window when it appears.
    const Atom user_time = x_atom("_NET_WM_USER_TIME");
    if (activate) {
      XDeleteProperty(d, w->native->xwindow, user_time);
    } else {
      long zero = 0;
      XChangeProperty(d, w->native->xwindow, user_time, XA_CARDINAL, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(&zero), 1);
    }
  }
  XMapWindow(d, w->native->xwindow);
  if (w->parent != 0) {
    XFlush(d);
    return;
  }
  // Wait until the window is really on the screen, so that what follows (input focus, drawing,
  // pointer grabs) finds it viewable.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kMapTimeoutMs);
  XEvent event;
  for (;;) {
    if (XCheckTypedWindowEvent(d, w->native->xwindow, MapNotify, &event)) break;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd fd{ConnectionNumber(d), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(std::min<long>(left.count(), 20)));
  }
  if (activate && !x_window_manager_running()) {
    // Without a window manager nobody gives a new window the keyboard; the original platform would,
    // before ShowWindow returns: the server has moved the focus when we go on, so the next key
    // reaches the new window.
    XSetInputFocus(d, w->native->xwindow, RevertToParent, CurrentTime);
    XSync(d, False);
    return;
  }
  XFlush(d);
}

}  // namespace plat
