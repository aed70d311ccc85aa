// Window classes: registered by name (case-insensitive) or found by their atom.
#include <cstring>
#include <memory>
#include <strings.h>

#include "window_object.h"

namespace plat {
namespace {

// Class atoms live in the range the real platform uses for registered strings.
constexpr ATOM kFirstAtom = 0xC000;

std::vector<std::unique_ptr<WindowClass>>& classes() {
  static std::vector<std::unique_ptr<WindowClass>> list;
  return list;
}

ATOM next_atom() {
  static ATOM next = kFirstAtom;
  if (next == 0xFFFF) next = kFirstAtom;  // 16 thousand registrations: atoms come round again
  for (;;) {
    ATOM candidate = next++;
    bool used = false;
    for (auto& c : classes()) used = used || c->atom == candidate;
    if (!used) return candidate;
  }
}

ATOM register_class(const WNDCLASSEXA& wc) {
  if (!wc.lpszClassName || IS_INTRESOURCE(wc.lpszClassName) || wc.lpszClassName[0] == '\0')
    return 0;
  if (!wc.lpfnWndProc) return 0;
  if (class_find(wc.lpszClassName)) return 0;  // the name exists already
  auto c = std::make_unique<WindowClass>();
  c->atom = next_atom();
  c->name = wc.lpszClassName;
  c->style = wc.style;
  c->proc = wc.lpfnWndProc;
  c->instance = wc.hInstance;
  c->icon = wc.hIcon;
  c->icon_small = wc.hIconSm;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  ATOM atom = c->atom;
  classes().push_back(std::move(c));
  return atom;
}

}  // namespace

WindowClass* class_find(LPCSTR name) {
  if (!name) return nullptr;
  if (IS_INTRESOURCE(name)) {
    ATOM atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(name));
    for (auto& c : classes())
      if (c->atom == atom) return c.get();
    return nullptr;
  }
  for (auto& c : classes())
    if (strcasecmp(c->name.c_str(), name) == 0) return c.get();
  return nullptr;
}

}  // namespace plat

ATOM RegisterClassA(const WNDCLASSA* wc) {
  if (!wc) return 0;
  WNDCLASSEXA ex{};
  ex.cbSize = sizeof(WNDCLASSEXA);
  ex.style = wc->style;
  ex.lpfnWndProc = wc->lpfnWndProc;
  ex.cbClsExtra = wc->cbClsExtra;
  ex.cbWndExtra = wc->cbWndExtra;
  ex.hInstance = wc->hInstance;
  ex.hIcon = wc->hIcon;
  ex.hCursor = wc->hCursor;
  ex.hbrBackground = wc->hbrBackground;
  ex.lpszMenuName = wc->lpszMenuName;
  ex.lpszClassName = wc->lpszClassName;
  return plat::register_class(ex);
}

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
  if (!wc) return 0;
  if (wc->cbSize != sizeof(WNDCLASSEXA) && wc->cbSize != WNDCLASSEXA_LEGACY_SIZE) return 0;
  return plat::register_class(*wc);
}

BOOL GetClassInfoExA(HINSTANCE, LPCSTR class_name, LPWNDCLASSEXA wc) {
  plat::WindowClass* c = plat::class_find(class_name);
  if (!c || !wc) return FALSE;
  UINT size = wc->cbSize;  // the caller's own field is left as it was
  *wc = WNDCLASSEXA{};
  wc->cbSize = size;
  wc->style = c->style;
  wc->lpfnWndProc = c->proc;
  wc->hInstance = c->instance;
  wc->hIcon = c->icon;
  wc->hIconSm = c->icon_small;
  wc->hCursor = c->cursor;
  wc->hbrBackground = c->background;
  wc->lpszClassName = c->name.c_str();
  return c->atom;
}

BOOL UnregisterClassA(LPCSTR class_name, HINSTANCE) {
  plat::WindowClass* c = plat::class_find(class_name);
  if (!c || c->windows > 0) return FALSE;
  auto& list = plat::classes();
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (it->get() == c) {
      list.erase(it);
      return TRUE;
    }
  }
  return FALSE;
}
