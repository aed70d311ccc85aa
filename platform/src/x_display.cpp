#include "x_display.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <unistd.h>

namespace plat {
namespace {

int g_last_error = 0;

int on_x_error(Display*, XErrorEvent* event) {
  g_last_error = event->error_code;
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

int x_take_error() {
  int e = g_last_error;
  g_last_error = 0;
  return e;
}

int x_screen_width() {
  Display* d = x_display();
  return d ? DisplayWidth(d, DefaultScreen(d)) : 0;
}

int x_screen_height() {
  Display* d = x_display();
  return d ? DisplayHeight(d, DefaultScreen(d)) : 0;
}

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
