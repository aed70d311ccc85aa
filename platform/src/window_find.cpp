// FindWindowA: the top-level windows by class name and title.
#include <strings.h>

#include "message_box_window.h"
#include "window_object.h"

HWND FindWindowA(LPCSTR class_name, LPCSTR title) {
  // A message box may be looked for from another thread while its own thread waits in the box;
  // the dialog class is the system's, and our layer's only dialogs are message boxes.
  if (HWND box = plat::message_box_find(class_name, title)) return box;
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
