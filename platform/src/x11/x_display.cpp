#include "x_display.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <unistd.h>

#include "error_codes.h"
#include "native_backend.h"

namespace plat {
namespace {

thread_local XErrorTrap* t_trap = nullptr;
int g_stray_errors = 0;

int on_x_error(Display*, XErrorEvent* event) {
  if (t_trap)
    t_trap->record(event->error_code);
  else
    ++g_stray_errors;
  return 0;
}

int on_x_io_error(Display*) {
  // The server went away: no further X call can succeed and Xlib would exit on return anyway.
  std::fputs("Zelvo: the connection to the X server was lost; the program ends.\n", stderr);
  std::fflush(stderr);
  _exit(1);
}

}  // namespace

Display* x_display() {
  static bool tried = false;
  static Display* display = nullptr;
  if (!tried) {
    tried = true;
    XSetErrorHandler(on_x_error);
    XSetIOErrorHandler(on_x_io_error);
    display = XOpenDisplay(nullptr);
  }
  return display;
}

XErrorTrap::XErrorTrap() : outer_(t_trap) {
  if (Display* d = x_display()) XSync(d, False);
  t_trap = this;
}

XErrorTrap::~XErrorTrap() {
  sync();
  t_trap = outer_;
}

int XErrorTrap::sync() {
  if (Display* d = x_display()) XSync(d, False);
  return error_;
}

bool XErrorTrap::succeeded() {
  if (int e = sync()) {
    SetLastError(windows_error_of_x(e));
    return false;
  }
  return true;
}

DWORD windows_error_of_x(int x_error) {
  switch (x_error) {
    case Success:
      return 0;
    case BadWindow:
    case BadDrawable:
      return kErrorInvalidWindowHandle;
    case BadAlloc:
      return kErrorNotEnoughMemory;
    case BadMatch:
    case BadValue:
    case BadLength:
      return kErrorInvalidParameter;
    default:
      return kErrorInvalidHandle;
  }
}

int x_stray_errors() { return g_stray_errors; }

int x_screen_width() {
  Display* d = x_display();
  return d ? DisplayWidth(d, DefaultScreen(d)) : 0;
}

int x_screen_height() {
  Display* d = x_display();
  return d ? DisplayHeight(d, DefaultScreen(d)) : 0;
}

SIZE native_screen_size() { return SIZE{x_screen_width(), x_screen_height()}; }

Atom x_atom(const char* name) {
  static std::unordered_map<std::string, Atom> cache;
  auto it = cache.find(name);
  if (it != cache.end()) return it->second;
  Display* d = x_display();
  if (!d) return 0;
  Atom a = XInternAtom(d, name, False);
  cache.emplace(name, a);
  return a;
}

}  // namespace plat
