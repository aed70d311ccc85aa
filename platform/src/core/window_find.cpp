// FindWindowA and FindWindowExA: windows by class name and title.
#include <strings.h>

#include <algorithm>

#include "message_box_registry.h"
#include "native_backend.h"
#include "window_object.h"

HWND FindWindowA(LPCSTR class_name, LPCSTR title) {
  // A message box may be looked for from another thread while its own thread waits in the box;
  // the dialog class is the system's, and our layer's only dialogs are message boxes.
  if (HWND box; plat::box_find(0, 0, class_name, title, &box) && box) return box;
  if (class_name && !IS_INTRESOURCE(class_name) &&
      strcasecmp(class_name, plat::kMessageBoxClass) == 0)
    return 0;
  const plat::WindowClass* wanted = nullptr;
  if (class_name) {
    wanted = plat::class_find(class_name);
    if (!wanted) return 0;  // no class of that name: no window of it
  }
  // The newest window first: the one most likely on top, as the real platform answers in z-order.
  const std::vector<HWND>& list = plat::window_list();
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    const plat::WindowObject* w = plat::window_get(*it);
    if (!w || w->parent || w->destroying) continue;
    if (wanted && w->window_class != wanted) continue;
    if (title && strcasecmp(w->title.c_str(), title) != 0) continue;
    return *it;
  }
  return 0;
}

HWND FindWindowExA(HWND parent, HWND after, LPCSTR class_name, LPCSTR title) {
  // A shown message box's buttons and text are found from any thread, as automation finds them.
  if (HWND control; parent && plat::box_find(parent, after, class_name, title, &control))
    return control;
  if (!parent && !after) return FindWindowA(class_name, title);
  const plat::WindowClass* wanted = nullptr;
  if (class_name) {
    wanted = plat::class_find(class_name);
    if (!wanted) return 0;
  }
  const auto matches = [&](HWND h) {
    const plat::WindowObject* w = plat::window_get(h);
    return w && !w->destroying && (!wanted || w->window_class == wanted) &&
           (!title || strcasecmp(w->title.c_str(), title) == 0);
  };
  if (!parent) {
    // Top-level windows, newest first as FindWindowA looks at them, after `after`.
    const std::vector<HWND>& list = plat::window_list();
    auto it = std::find(list.rbegin(), list.rend(), after);
    if (it == list.rend()) return 0;
    for (++it; it != list.rend(); ++it) {
      const plat::WindowObject* w = plat::window_get(*it);
      if (w && !w->parent && matches(*it)) return *it;
    }
    return 0;
  }
  const plat::WindowObject* p = plat::window_get(parent);
  if (!p) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  // Children in the order they were made, which is the order Windows keeps them in (each new child
  // goes to the bottom), from the one after `after`.
  auto it = p->children.begin();
  if (after) {
    it = std::find(p->children.begin(), p->children.end(), after);
    if (it == p->children.end()) return 0;
    ++it;
  }
  for (; it != p->children.end(); ++it)
    if (matches(*it)) return *it;
  return 0;
}
