// The message box dialog: its own top-level X window, drawn with Xft, with a modal loop that takes
// only the box's own events from Xlib's queue so that every other window's events wait for the
// application. The box is registered (message_box_registry.h) while it is up.
#include "native_backend.h"

#include <X11/Xatom.h>
#include <X11/Xft/Xft.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "icon_image.h"
#include "message_box_registry.h"
#include "message_box_text.h"
#include "text_cp1252.h"
#include "window_internal.h"
#include "window_object.h"
#include "x_display.h"

namespace plat {
namespace {

constexpr int kMargin = 14;
constexpr int kIconSize = 32;
constexpr int kIconGap = 12;
constexpr int kMaxTextWidth = 480;
constexpr int kButtonHeight = 26;
constexpr int kButtonMinWidth = 80;
constexpr int kButtonGap = 8;
constexpr int kStripPad = 11;          // above and below the buttons
constexpr size_t kMeasurePiece = 256;  // bytes of text measured at a time
constexpr int kFrameAllowance = 40;    // the window manager's title bar and borders

struct ButtonBox {
  BoxButton button;
  int x, y, w, h;
};

bool has_icon(UINT type, IconPicture* picture) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
      *picture = IconPicture::Error;
      return true;
    case MB_ICONQUESTION:
      *picture = IconPicture::Question;
      return true;
    case MB_ICONEXCLAMATION:
      *picture = IconPicture::Warning;
      return true;
    case MB_ICONASTERISK:
      *picture = IconPicture::Information;
      return true;
    default:
      return false;
  }
}

class Box {
 public:
  Box(Display* d, UINT type) : d_(d), type_(type), screen_(DefaultScreen(d)) {}
  ~Box();

  bool create(::Window owner, const std::string& caption, const std::string& text);
  int run(BoxRegistration* registration);
  ::Window window() const { return window_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // The client area's top-left corner on the screen (through the window manager's frame).
  POINT screen_origin() const;
  // The controls automation finds: the buttons left to right, then the text.
  std::vector<BoxControl> controls() const;

 private:
  int text_width(std::string_view s);
  unsigned long pixel(uint32_t rgb);
  void set_utf8_property(const char* name, const std::string& value);
  void draw();
  void draw_button(size_t i);
  int hit(int x, int y) const;
  int key(XKeyEvent& event);
  void move_focus(int step);

  Display* d_;
  UINT type_;
  int screen_;
  ::Window window_ = 0;
  XftFont* font_ = nullptr;
  XftDraw* draw_ = nullptr;
  XftColor text_colour_{};
  bool colour_allocated_ = false;
  GC gc_ = nullptr;
  std::vector<std::string> lines_;
  std::vector<ButtonBox> buttons_;
  size_t focus_ = 0;
  int pressed_ = -1;
  bool have_icon_ = false;
  IconPicture picture_ = IconPicture::Question;
  int width_ = 0, height_ = 0, text_x_ = 0, text_y_ = 0, text_w_ = 0, text_h_ = 0, strip_y_ = 0;
  std::string text_;  // Windows-1252, for the text control
};

Box::~Box() {
  if (draw_) XftDrawDestroy(draw_);
  if (colour_allocated_)
    XftColorFree(d_, DefaultVisual(d_, screen_), DefaultColormap(d_, screen_), &text_colour_);
  if (font_) XftFontClose(d_, font_);
  if (gc_) XFreeGC(d_, gc_);
  if (window_) XDestroyWindow(d_, window_);
}

int Box::text_width(std::string_view s) {
  // XGlyphInfo's advance is 16 bits: a few hundred characters at a time stay far below its range.
  return measure_in_pieces(s, kMeasurePiece, [this](std::string_view piece) {
    XGlyphInfo extents;
    XftTextExtentsUtf8(d_, font_, reinterpret_cast<const FcChar8*>(piece.data()),
                       static_cast<int>(piece.size()), &extents);
    return static_cast<int>(extents.xOff);
  });
}

// The part of the screen that windows may cover (without panels), as the window manager
// announces it; the whole screen without one.
XRectangle work_area(Display* d, int screen) {
  XRectangle area{0, 0, static_cast<unsigned short>(DisplayWidth(d, screen)),
                  static_cast<unsigned short>(DisplayHeight(d, screen))};
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(d, RootWindow(d, screen), x_atom("_NET_WORKAREA"), 0, 4, False,
                         XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
      data && format == 32 && count >= 4) {
    const long* v = reinterpret_cast<const long*>(data);
    if (v[2] > 0 && v[3] > 0 && v[0] >= 0 && v[1] >= 0 && v[0] + v[2] <= area.width &&
        v[1] + v[3] <= area.height)
      area = XRectangle{static_cast<short>(v[0]), static_cast<short>(v[1]),
                        static_cast<unsigned short>(v[2]), static_cast<unsigned short>(v[3])};
  }
  if (data) XFree(data);
  return area;
}

unsigned long Box::pixel(uint32_t rgb) {
  XColor c;
  c.red = static_cast<unsigned short>(((rgb >> 16) & 0xFF) * 257);
  c.green = static_cast<unsigned short>(((rgb >> 8) & 0xFF) * 257);
  c.blue = static_cast<unsigned short>((rgb & 0xFF) * 257);
  c.flags = DoRed | DoGreen | DoBlue;
  if (!XAllocColor(d_, DefaultColormap(d_, screen_), &c)) return BlackPixel(d_, screen_);
  return c.pixel;
}

void Box::set_utf8_property(const char* name, const std::string& value) {
  XChangeProperty(d_, window_, x_atom(name), x_atom("UTF8_STRING"), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(value.data()),
                  static_cast<int>(value.size()));
}

bool Box::create(::Window owner, const std::string& caption, const std::string& text) {
  font_ = XftFontOpenName(d_, screen_, "DejaVu Sans:pixelsize=13");
  if (!font_) return false;
  if (!XftColorAllocName(d_, DefaultVisual(d_, screen_), DefaultColormap(d_, screen_), "black",
                         &text_colour_))
    return false;
  colour_allocated_ = true;

  // Layout: icon and text on top, the buttons right-aligned in a strip below. The box never
  // outgrows the work area: text that does not fit is cut with an ellipsis, so the buttons stay
  // on the screen.
  have_icon_ = has_icon(type_, &picture_);
  const XRectangle area = work_area(d_, screen_);
  const int icon_w = have_icon_ ? kIconSize + kIconGap : 0;
  int max_text = std::min(kMaxTextWidth, std::max(40, area.width - 120 - icon_w));
  const auto measure = [this](std::string_view s) { return text_width(s); };
  lines_ = wrap_text(text, max_text, measure);
  int line_height = font_->ascent + font_->descent + 2;
  const int chrome_h = 2 * kMargin + 12 + kButtonHeight + 2 * kStripPad + kFrameAllowance;
  const int max_lines = std::max(1, (area.height - chrome_h) / line_height);
  lines_ = cut_lines(std::move(lines_), static_cast<size_t>(max_lines), max_text, measure);
  int text_w = 0;
  for (const std::string& line : lines_) text_w = std::max(text_w, text_width(line));
  int text_h = static_cast<int>(lines_.size()) * line_height;
  text_w_ = text_w;
  text_h_ = text_h;
  text_x_ = kMargin + (have_icon_ ? kIconSize + kIconGap : 0);
  int content_h = std::max(text_h, have_icon_ ? kIconSize : 0);
  text_y_ = kMargin + 6 + (content_h - text_h) / 2;
  strip_y_ = 2 * kMargin + 12 + content_h;

  std::vector<BoxButton> buttons = box_buttons(type_);
  int buttons_w = 0;
  std::vector<int> widths;
  for (const BoxButton& b : buttons) {
    widths.push_back(std::max(kButtonMinWidth, text_width(b.label) + 24));
    buttons_w += widths.back();
  }
  buttons_w += kButtonGap * static_cast<int>(buttons.size() - 1);
  width_ = std::max({text_x_ + text_w + kMargin + 10, buttons_w + 2 * kMargin, 200});
  height_ = strip_y_ + kButtonHeight + 2 * kStripPad;
  int x = width_ - kMargin - buttons_w;
  for (size_t i = 0; i < buttons.size(); ++i) {
    buttons_.push_back({buttons[i], x, strip_y_ + kStripPad, widths[i], kButtonHeight});
    x += widths[i] + kButtonGap;
  }
  focus_ = box_default_button(type_);

  ::Window root = RootWindow(d_, screen_);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = WhitePixel(d_, screen_);
  attributes.event_mask = ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask |
                          StructureNotifyMask | FocusChangeMask;
  int sx = area.x + std::max(0, (area.width - width_) / 2),
      sy =
          area.y + std::max(0, (area.height - height_ - kFrameAllowance) / 2 + kFrameAllowance / 2);
  window_ = XCreateWindow(d_, root, sx, sy, static_cast<unsigned>(width_),
                          static_cast<unsigned>(height_), 0, CopyFromParent, InputOutput,
                          CopyFromParent, CWBackPixel | CWEventMask, &attributes);
  if (!window_) return false;

  // What the window manager needs: a fixed-size dialog centred on the screen, closable, taking
  // focus.
  XSizeHints* size = XAllocSizeHints();
  size->flags = USPosition | PPosition | PMinSize | PMaxSize;
  size->x = sx;
  size->y = sy;
  size->min_width = size->max_width = width_;
  size->min_height = size->max_height = height_;
  XSetWMNormalHints(d_, window_, size);
  XFree(size);
  XWMHints* hints = XAllocWMHints();
  hints->flags = InputHint;
  hints->input = True;
  XSetWMHints(d_, window_, hints);
  XFree(hints);
  XClassHint class_hint{const_cast<char*>("messagebox"), const_cast<char*>("Zelvo")};
  XSetClassHint(d_, window_, &class_hint);
  Atom delete_window = x_atom("WM_DELETE_WINDOW");
  XSetWMProtocols(d_, window_, &delete_window, 1);
  XSetTransientForHint(d_, window_, owner ? owner : root);
  Atom dialog = x_atom("_NET_WM_WINDOW_TYPE_DIALOG");
  XChangeProperty(d_, window_, x_atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&dialog), 1);
  Atom state = x_atom(owner ? "_NET_WM_STATE_MODAL" : "_NET_WM_STATE_ABOVE");
  XChangeProperty(d_, window_, x_atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&state), 1);
  // Only move and close: no minimise, maximise or resize decorations on a dialog of fixed size.
  long motif[5] = {1 | 2, 4 | 32, 2 | 8 | 16, 0, 0};  // functions, decorations: border, title, menu
  XChangeProperty(d_, window_, x_atom("_MOTIF_WM_HINTS"), x_atom("_MOTIF_WM_HINTS"), 32,
                  PropModeReplace, reinterpret_cast<unsigned char*>(motif), 5);
  set_utf8_property("WM_NAME", caption);
  set_utf8_property("_NET_WM_NAME", caption);
  // For scripts and tests: the text, and the buttons as (id, x, y, width, height) in window
  // coordinates.
  set_utf8_property("_ZELVO_MESSAGE_TEXT", text);
  std::vector<long> geometry;
  for (const ButtonBox& b : buttons_)
    geometry.insert(geometry.end(), {b.button.id, b.x, b.y, b.w, b.h});
  XChangeProperty(d_, window_, x_atom("_ZELVO_MESSAGE_BUTTONS"), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(geometry.data()),
                  static_cast<int>(geometry.size()));

  gc_ = XCreateGC(d_, window_, 0, nullptr);
  draw_ = XftDrawCreate(d_, window_, DefaultVisual(d_, screen_), DefaultColormap(d_, screen_));
  if (!gc_ || !draw_) return false;
  XMapRaised(d_, window_);
  XFlush(d_);
  return true;
}

void Box::draw_button(size_t i) {
  const ButtonBox& b = buttons_[i];
  bool focused = i == focus_;
  bool pressed = static_cast<int>(i) == pressed_;
  XSetForeground(d_, gc_, pixel(pressed ? 0xCCE4F7 : 0xE1E1E1));
  XFillRectangle(d_, window_, gc_, b.x, b.y, static_cast<unsigned>(b.w),
                 static_cast<unsigned>(b.h));
  XSetForeground(d_, gc_, pixel(focused ? 0x0078D7 : 0xADADAD));
  XSetLineAttributes(d_, gc_, focused ? 2 : 1, LineSolid, CapButt, JoinMiter);
  XDrawRectangle(d_, window_, gc_, b.x + (focused ? 1 : 0), b.y + (focused ? 1 : 0),
                 static_cast<unsigned>(b.w - (focused ? 2 : 1)),
                 static_cast<unsigned>(b.h - (focused ? 2 : 1)));
  XSetLineAttributes(d_, gc_, 1, LineSolid, CapButt, JoinMiter);
  std::string_view label = b.button.label;
  int tx = b.x + (b.w - text_width(label)) / 2;
  int ty = b.y + (b.h + font_->ascent - font_->descent) / 2;
  XftDrawStringUtf8(draw_, &text_colour_, font_, tx, ty,
                    reinterpret_cast<const FcChar8*>(label.data()), static_cast<int>(label.size()));
}

void Box::draw() {
  XSetForeground(d_, gc_, WhitePixel(d_, screen_));
  XFillRectangle(d_, window_, gc_, 0, 0, static_cast<unsigned>(width_),
                 static_cast<unsigned>(strip_y_));
  XSetForeground(d_, gc_, pixel(0xF0F0F0));
  XFillRectangle(d_, window_, gc_, 0, strip_y_, static_cast<unsigned>(width_),
                 static_cast<unsigned>(height_ - strip_y_));
  if (have_icon_) {
    // The icon blended over the white background, put as an image of the screen's visual.
    IconImage icon = paint_icon(picture_, kIconSize);
    Visual* visual = DefaultVisual(d_, screen_);
    XImage* image = XCreateImage(d_, visual, static_cast<unsigned>(DefaultDepth(d_, screen_)),
                                 ZPixmap, 0, nullptr, static_cast<unsigned>(icon.width),
                                 static_cast<unsigned>(icon.height), 32, 0);
    if (image) {
      image->data =
          static_cast<char*>(calloc(static_cast<size_t>(image->bytes_per_line) * icon.height, 1));
      for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < icon.width; ++x) {
          uint32_t p = icon.argb[static_cast<size_t>(y) * icon.width + x];
          uint32_t a = p >> 24, rgb = 0;
          for (int shift = 0; shift <= 16; shift += 8) {
            uint32_t c = (p >> shift) & 0xFF;
            rgb |= ((c * a + 255 * (255 - a) + 127) / 255) << shift;
          }
          XPutPixel(image, x, y, pixel(rgb));
        }
      }
      int icon_y = kMargin + 6 +
                   (std::max(kIconSize, static_cast<int>(lines_.size()) *
                                            (font_->ascent + font_->descent + 2)) -
                    kIconSize) /
                       2;
      XPutImage(d_, window_, gc_, image, 0, 0, kMargin, icon_y, static_cast<unsigned>(icon.width),
                static_cast<unsigned>(icon.height));
      XDestroyImage(image);
    }
  }
  int y = text_y_ + font_->ascent;
  for (const std::string& line : lines_) {
    XftDrawStringUtf8(draw_, &text_colour_, font_, text_x_, y,
                      reinterpret_cast<const FcChar8*>(line.data()), static_cast<int>(line.size()));
    y += font_->ascent + font_->descent + 2;
  }
  for (size_t i = 0; i < buttons_.size(); ++i) draw_button(i);
  XFlush(d_);
}

int Box::hit(int x, int y) const {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const ButtonBox& b = buttons_[i];
    if (x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h) return static_cast<int>(i);
  }
  return -1;
}

void Box::move_focus(int step) {
  int n = static_cast<int>(buttons_.size());
  focus_ = static_cast<size_t>((static_cast<int>(focus_) + step + n) % n);
  draw();
}

// The answer a key press gives, or 0 when the box stays.
int Box::key(XKeyEvent& event) {
  char text[8] = {};
  KeySym sym = NoSymbol;
  int n = XLookupString(&event, text, sizeof text, &sym, nullptr);
  switch (sym) {
    case XK_Return:
    case XK_KP_Enter:
    case XK_space:
      return buttons_[focus_].button.id;
    case XK_Escape:
      return box_escape_result(type_);
    case XK_Tab:
      move_focus((event.state & ShiftMask) ? -1 : 1);
      return 0;
    case XK_ISO_Left_Tab:
    case XK_Left:
    case XK_Up:
      move_focus(-1);
      return 0;
    case XK_Right:
    case XK_Down:
      move_focus(1);
      return 0;
    default:
      break;
  }
  if (n == 1) {
    int i = box_button_for_key(type_, text[0]);
    if (i >= 0) return buttons_[static_cast<size_t>(i)].button.id;
  }
  return 0;
}

POINT Box::screen_origin() const {
  int x = 0, y = 0;
  ::Window child = 0;
  XTranslateCoordinates(d_, window_, RootWindow(d_, screen_), 0, 0, &x, &y, &child);
  return POINT{x, y};
}

std::vector<BoxControl> Box::controls() const {
  std::vector<BoxControl> out;
  for (const ButtonBox& b : buttons_)
    out.push_back(
        {0, b.button.id, "Button", b.button.window_text, RECT{b.x, b.y, b.x + b.w, b.y + b.h}});
  out.push_back({0, kMessageBoxTextId, "Static", text_,
                 RECT{text_x_, text_y_, text_x_ + text_w_, text_y_ + text_h_}});
  return out;
}

Bool is_box_event(Display*, XEvent* event, XPointer window) {
  return event->xany.window == *reinterpret_cast<::Window*>(window);
}

int Box::run(BoxRegistration* registration) {
  Atom protocols = x_atom("WM_PROTOCOLS"), delete_window = x_atom("WM_DELETE_WINDOW");
  int answer = 0;
  while (answer == 0) {
    MSG msg;
    if (int control = 0; registration->take(&msg, &control)) {
      answer = box_posted_answer(type_, msg, control);
      continue;
    }
    XEvent event;
    if (!XCheckIfEvent(d_, &event, is_box_event, reinterpret_cast<XPointer>(&window_))) {
      // Nothing for the box yet: sleep until the server sends something or a message is posted.
      pollfd wait[2] = {{ConnectionNumber(d_), POLLIN, 0},
                        {registration->wake_descriptor(), POLLIN, 0}};
      poll(wait, registration->wake_descriptor() >= 0 ? 2 : 1, 100);
      continue;
    }
    switch (event.type) {
      case Expose:
        if (event.xexpose.count == 0) draw();
        break;
      case MapNotify:
        // Without a window manager nobody else gives the box the keyboard.
        XSetInputFocus(d_, window_, RevertToParent, CurrentTime);
        XFlush(d_);
        registration->placed(screen_origin(), true);
        break;
      case UnmapNotify:
        registration->placed(screen_origin(), false);
        break;
      case ConfigureNotify:
      case ReparentNotify:
        // The window manager framed or moved the box: its buttons are elsewhere on the screen.
        registration->placed(screen_origin(), registration->visible());
        break;
      case FocusIn:
        if (event.xfocus.detail != NotifyPointer) registration->focused(true);
        break;
      case FocusOut:
        if (event.xfocus.detail != NotifyPointer && event.xfocus.detail != NotifyInferior)
          registration->focused(false);
        break;
      case KeyPress:
        answer = key(event.xkey);
        break;
      case ButtonPress:
        if (event.xbutton.button == Button1) {
          pressed_ = hit(event.xbutton.x, event.xbutton.y);
          if (pressed_ >= 0) focus_ = static_cast<size_t>(pressed_);
          draw();
        }
        break;
      case ButtonRelease:
        if (event.xbutton.button == Button1 && pressed_ >= 0) {
          // A button answers when the press and the release are both on it, as a push button does.
          int over = hit(event.xbutton.x, event.xbutton.y);
          if (over == pressed_) answer = buttons_[static_cast<size_t>(over)].button.id;
          pressed_ = -1;
          if (answer == 0) draw();
        }
        break;
      case ClientMessage:
        if (event.xclient.message_type == protocols &&
            static_cast<Atom>(event.xclient.data.l[0]) == delete_window)
          answer = box_escape_result(type_);
        break;
      case DestroyNotify:
        // Destroyed behind our back: nothing was chosen.
        window_ = 0;
        return 0;
      default:
        break;
    }
  }
  return answer;
}

}  // namespace

int native_message_box_run(HWND owner, const std::string& caption, const std::string& text,
                           UINT type) {
  Display* d = x_display();
  if (!d) return 0;
  ::Window previous_focus = 0;
  int revert = 0;
  XGetInputFocus(d, &previous_focus, &revert);
  int answer = 0;
  ::Window window = 0;
  {
    Box box(d, type);
    // The box stays above its owner's top-level window (none for owner 0 or a window that is gone).
    ::Window owner_x = owner ? x_window(GetAncestor(owner, GA_ROOT)) : 0;
    bool created = box.create(owner_x, cp1252_to_utf8(caption), cp1252_to_utf8(text));
    window = box.window();
    if (created) {
      std::vector<BoxControl> controls = box.controls();
      controls.back().text = text;  // the text control keeps the caller's Windows-1252 text
      NativeWindow native;          // the box record's, outliving its handle
      native.xwindow = window;
      BoxRegistration registration(caption, &native, box.width(), box.height(), box.screen_origin(),
                                   std::move(controls));
      answer = box.run(&registration);
    }
  }
  XSync(d, False);
  // Whatever the box's window still had queued is of no use to anyone.
  XEvent event;
  if (window)
    while (XCheckIfEvent(d, &event, is_box_event, reinterpret_cast<XPointer>(&window))) {
    }
  if (previous_focus != None && previous_focus != PointerRoot) {
    // A focus window that is gone by now is not an error of the caller's.
    XErrorTrap trap;
    XSetInputFocus(d, previous_focus, RevertToParent, CurrentTime);
  }
  return answer;
}

}  // namespace plat
