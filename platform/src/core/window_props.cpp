// Named 32-bit properties of a window. Names are atoms on the original platform, so they compare
// without regard to case; a property dies with its window.
#include <cctype>
#include <string>

#include "window_object.h"

namespace plat {
namespace {

bool prop_key(LPCSTR name, std::string& key) {
  if (!name) return false;
  if (IS_INTRESOURCE(name)) {
    // Built by appending: GCC 12 at -O3 misreads copying a literal into the string (a prefix
    // insert, or an assignment) as an overlapping copy.
    key.assign(1, '#');
    key += std::to_string(static_cast<unsigned>(reinterpret_cast<uintptr_t>(name)));
    return true;
  }
  key = name;
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return true;
}

}  // namespace
}  // namespace plat

BOOL SetPropA(HWND window, LPCSTR name, HANDLE data) {
  plat::WindowObject* w = plat::window_checked(window);
  std::string key;
  if (!w || !plat::prop_key(name, key)) return FALSE;
  w->props[key] = data;
  return TRUE;
}

HANDLE GetPropA(HWND window, LPCSTR name) {
  plat::WindowObject* w = plat::window_checked(window);
  std::string key;
  if (!w || !plat::prop_key(name, key)) return 0;
  auto it = w->props.find(key);
  return it == w->props.end() ? 0 : it->second;
}

HANDLE RemovePropA(HWND window, LPCSTR name) {
  plat::WindowObject* w = plat::window_checked(window);
  std::string key;
  if (!w || !plat::prop_key(name, key)) return 0;
  auto it = w->props.find(key);
  if (it == w->props.end()) return 0;
  HANDLE data = it->second;
  w->props.erase(it);
  return data;
}
