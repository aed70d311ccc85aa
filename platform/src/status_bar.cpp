// The status bar control: a child window of its own class, drawn with Xft on its X window.
#include <X11/Xft/Xft.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "text_cp1252.h"
#include "window_internal.h"
#include "window_object.h"
#include "x_display.h"

namespace plat {
namespace {

constexpr int kHeight = 20;
constexpr int kMaxParts = 256;
constexpr int kTextInset = 4;

struct Part {
  int right = -1;    // client x of the right edge; -1 reaches the end
  std::string text;  // 8-bit, as given
  WORD kind = 0;     // SBT_* bits, reported back by SB_GETTEXTA
};

struct Bar : ControlState {
  std::vector<Part> parts;
};

// The parts of a live status bar, or nullptr before WM_CREATE and after the window is gone.
std::vector<Part>* bar_parts(HWND bar) {
  WindowObject* w = window_get(bar);
  Bar* state = w ? dynamic_cast<Bar*>(w->control.get()) : nullptr;
  return state ? &state->parts : nullptr;
}

// Along the bottom of the parent's client area, full width.
void dock(HWND bar) {
  RECT client;
  if (!GetClientRect(GetParent(bar), &client)) return;
  MoveWindow(bar, 0, client.bottom - kHeight, client.right, kHeight, TRUE);
}

XftFont* status_font(Display* d) {
  static XftFont* font = XftFontOpenName(d, DefaultScreen(d), "DejaVu Sans:pixelsize=12");
  return font;
}

void paint(HWND bar, const std::vector<Part>& parts) {
  Display* d = x_display();
  ::Window xw = x_window(bar);
  XftFont* font = d ? status_font(d) : nullptr;
  if (!d || !xw || !font) return;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(d, xw, &attributes)) return;
  int width = attributes.width, height = attributes.height;
  XftDraw* draw = XftDrawCreate(d, xw, attributes.visual, attributes.colormap);
  if (!draw) return;
  auto colour = [&](unsigned short r, unsigned short g, unsigned short b) {
    XRenderColor c{static_cast<unsigned short>(r * 257), static_cast<unsigned short>(g * 257),
                   static_cast<unsigned short>(b * 257), 0xFFFF};
    return c;
  };
  XRenderColor face = colour(0xF0, 0xF0, 0xF0), shadow = colour(0xA0, 0xA0, 0xA0);
  XftColor face_colour, shadow_colour, text_colour;
  XRenderColor black = colour(0, 0, 0);
  XftColorAllocValue(d, attributes.visual, attributes.colormap, &face, &face_colour);
  XftColorAllocValue(d, attributes.visual, attributes.colormap, &shadow, &shadow_colour);
  XftColorAllocValue(d, attributes.visual, attributes.colormap, &black, &text_colour);
  XftDrawRect(draw, &face_colour, 0, 0, static_cast<unsigned>(width),
              static_cast<unsigned>(height));
  XftDrawRect(draw, &shadow_colour, 0, 0, static_cast<unsigned>(width), 1);
  int left = 0;
  for (size_t i = 0; i < parts.size(); ++i) {
    int right = parts[i].right < 0 ? width : std::min(parts[i].right, width);
    if (right > left) {
      std::string text = cp1252_to_utf8(parts[i].text);
      int baseline = (height + font->ascent - font->descent) / 2 + 1;
      // Text stays inside its part.
      XRectangle clip{static_cast<short>(left), 0, static_cast<unsigned short>(right - left),
                      static_cast<unsigned short>(height)};
      XftDrawSetClipRectangles(draw, 0, 0, &clip, 1);
      XftDrawStringUtf8(draw, &text_colour, font, left + kTextInset, baseline,
                        reinterpret_cast<const FcChar8*>(text.data()),
                        static_cast<int>(text.size()));
      XftDrawSetClip(draw, nullptr);
      if (parts[i].right >= 0 && right < width)
        XftDrawRect(draw, &shadow_colour, right - 1, 3, 1,
                    static_cast<unsigned>(std::max(height - 5, 1)));
    }
    left = std::max(left, right);
  }
  XftColorFree(d, attributes.visual, attributes.colormap, &face_colour);
  XftColorFree(d, attributes.visual, attributes.colormap, &shadow_colour);
  XftColorFree(d, attributes.visual, attributes.colormap, &text_colour);
  XftDrawDestroy(draw);
  XFlush(d);
}

LRESULT CALLBACK status_bar_proc(HWND bar, UINT message, WPARAM wparam, LPARAM lparam) {
  std::vector<Part>* parts = bar_parts(bar);
  switch (message) {
    case WM_CREATE: {
      auto* create = static_cast<CREATESTRUCTA*>(LParamToPtr(lparam));
      WindowObject* w = window_get(bar);
      if (!w) return -1;
      auto state = std::make_unique<Bar>();
      state->parts = {Part{-1, create && create->lpszName ? create->lpszName : "", 0}};
      w->control = std::move(state);
      return 0;
    }
    case WM_SIZE:
      dock(bar);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(bar, &ps);
      if (parts) paint(bar, *parts);
      EndPaint(bar, &ps);
      return 0;
    }
    case WM_SETTEXT:
      if (parts) {
        const char* text = static_cast<const char*>(LParamToPtr(lparam));
        (*parts)[0].text = text ? text : "";
        InvalidateRect(bar, nullptr, TRUE);
      }
      return DefWindowProcA(bar, message, wparam, lparam);
    case SB_SETPARTS: {
      const int* edges = static_cast<const int*>(LParamToPtr(lparam));
      if (!parts || wparam == 0 || wparam > kMaxParts || !edges) return FALSE;
      parts->resize(wparam);
      for (size_t i = 0; i < wparam; ++i) (*parts)[i].right = edges[i];
      InvalidateRect(bar, nullptr, TRUE);
      return TRUE;
    }
    case SB_GETPARTS: {
      if (!parts) return 0;
      int* edges = static_cast<int*>(LParamToPtr(lparam));
      for (size_t i = 0; edges && i < std::min<size_t>(wparam, parts->size()); ++i)
        edges[i] = (*parts)[i].right;
      return static_cast<LRESULT>(parts->size());
    }
    case SB_SETTEXTA: {
      size_t index = LOBYTE(wparam);
      if (!parts || index >= parts->size()) return FALSE;
      const char* text = static_cast<const char*>(LParamToPtr(lparam));
      (*parts)[index].text = text ? text : "";
      (*parts)[index].kind = static_cast<WORD>(wparam & 0xFF00);
      InvalidateRect(bar, nullptr, TRUE);
      return TRUE;
    }
    case SB_GETTEXTA:
    case SB_GETTEXTLENGTHA: {
      size_t index = LOBYTE(wparam);
      if (!parts || index >= parts->size()) return 0;
      const Part& part = (*parts)[index];
      if (message == SB_GETTEXTA)
        if (char* buffer = static_cast<char*>(LParamToPtr(lparam)))
          std::memcpy(buffer, part.text.c_str(), part.text.size() + 1);
      return MAKELRESULT(part.text.size(), part.kind);
    }
    default:
      return DefWindowProcA(bar, message, wparam, lparam);
  }
}

bool register_class() {
  WNDCLASSEXA existing;
  if (GetClassInfoExA(0, STATUSCLASSNAMEA, &existing)) return true;
  WNDCLASSA wc{};
  // A system class: global, so every module (and GetClassInfoExA without one) finds it.
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
  wc.hInstance = kSystemModule;
  wc.lpfnWndProc = status_bar_proc;
  wc.lpszClassName = STATUSCLASSNAMEA;
  return RegisterClassA(&wc) != 0;
}

}  // namespace
}  // namespace plat

void InitCommonControls(void) { plat::register_class(); }

HWND CreateStatusWindowA(LONG style, LPCSTR text, HWND parent, UINT id) {
  if (!IsWindow(parent) || !plat::register_class()) return 0;
  RECT client{};
  GetClientRect(parent, &client);
  HWND bar =
      CreateWindowExA(0, STATUSCLASSNAMEA, text ? text : "", static_cast<DWORD>(style) | WS_CHILD,
                      0, client.bottom - plat::kHeight, client.right, plat::kHeight, parent,
                      static_cast<HMENU>(id), 0, nullptr);
  return bar;
}
