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

bool global(const WindowClass& c) { return (c.style & CS_GLOBALCLASS) != 0; }

ATOM register_class(const WNDCLASSEXA& wc) {
  if (!wc.lpszClassName || IS_INTRESOURCE(wc.lpszClassName) || wc.lpszClassName[0] == '\0' ||
      !wc.lpfnWndProc) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  // A class registered without an instance belongs to the program's module.
  const HINSTANCE instance = wc.hInstance ? wc.hInstance : GetModuleHandleA(nullptr);
  // A module's class may take the name of a global one (and is found first by that module); a
  // second class of the name for the module, or a second global one, is refused.
  const WindowClass* existing = class_find(wc.lpszClassName, instance);
  if (existing && (!global(*existing) || (wc.style & CS_GLOBALCLASS))) {
    SetLastError(kErrorClassAlreadyExists);
    return 0;
  }
  auto c = std::make_unique<WindowClass>();
  c->atom = next_atom();
  c->name = wc.lpszClassName;
  c->style = wc.style;
  c->proc = wc.lpfnWndProc;
  c->instance = instance;
  c->icon = wc.hIcon;
  c->icon_small = wc.hIconSm;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  if (wc.lpszMenuName) {
    c->menu_id = IS_INTRESOURCE(wc.lpszMenuName) ? wc.lpszMenuName : nullptr;
    if (!c->menu_id) c->menu_name = wc.lpszMenuName;
  }
  ATOM atom = c->atom;
  classes().push_back(std::move(c));
  return atom;
}

}  // namespace

WindowClass* class_find(LPCSTR name, HINSTANCE instance) {
  if (!name) return nullptr;
  const bool by_atom = IS_INTRESOURCE(name);
  const ATOM atom = by_atom ? static_cast<ATOM>(reinterpret_cast<uintptr_t>(name)) : 0;
  auto named = [&](const WindowClass& c) {
    return by_atom ? c.atom == atom : strcasecmp(c.name.c_str(), name) == 0;
  };
  // The module's own classes first, then the global ones.
  for (auto& c : classes())
    if (named(*c) && !global(*c) && (instance == 0 || c->instance == instance)) return c.get();
  for (auto& c : classes())
    if (named(*c) && global(*c)) return c.get();
  return nullptr;
}

}  // namespace plat

ATOM RegisterClassA(const WNDCLASSA* wc) {
  if (!wc) {
    SetLastError(plat::kErrorInvalidParameter);
    return 0;
  }
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
  if (!wc || (wc->cbSize != sizeof(WNDCLASSEXA) && wc->cbSize != WNDCLASSEXA_LEGACY_SIZE)) {
    SetLastError(plat::kErrorInvalidParameter);
    return 0;
  }
  return plat::register_class(*wc);
}

// Without an instance, only the system's classes and global ones are found, as for the system's
// own module. The record names the instance asked with, which a found class shares or, being
// global, serves.
BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR class_name, LPWNDCLASSEXA wc) {
  plat::WindowClass* c = plat::class_find(class_name, instance ? instance : plat::kSystemModule);
  if (!c || !wc) {
    SetLastError(c ? plat::kErrorInvalidParameter : plat::kErrorClassDoesNotExist);
    return FALSE;
  }
  UINT size = wc->cbSize;  // the caller's own field is left as it was
  *wc = WNDCLASSEXA{};
  wc->cbSize = size;
  wc->style = c->style;
  wc->lpfnWndProc = c->proc;
  wc->hInstance = instance;
  wc->hIcon = c->icon;
  wc->hIconSm = c->icon_small;
  wc->hCursor = c->cursor;
  wc->hbrBackground = c->background;
  wc->lpszMenuName = c->menu_id ? c->menu_id : (c->menu_name ? c->menu_name->c_str() : nullptr);
  wc->lpszClassName = c->name.c_str();
  return c->atom;
}

BOOL UnregisterClassA(LPCSTR class_name, HINSTANCE instance) {
  plat::WindowClass* c = plat::class_find(class_name, instance);
  if (!c || c->windows > 0) {
    SetLastError(c ? plat::kErrorClassHasWindows : plat::kErrorClassDoesNotExist);
    return FALSE;
  }
  auto& list = plat::classes();
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (it->get() == c) {
      list.erase(it);
      return TRUE;
    }
  }
  return FALSE;
}
