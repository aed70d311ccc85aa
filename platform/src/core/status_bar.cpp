// The status bar control: a child window of its own class, drawn by the backend.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "native_backend.h"
#include "window_object.h"

namespace plat {
namespace {

constexpr int kHeight = 20;
constexpr int kMaxParts = 256;

using Part = StatusBarPart;

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
      if (parts) native_status_bar_draw(bar, *parts);
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
