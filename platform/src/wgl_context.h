// The record behind an HGLRC, shared by the context services and the binding's extensions.
#pragma once

#include <GL/glx.h>

#include "handle_table.h"
#include "x_display.h"

namespace plat {

struct GLContext : Object {
  static constexpr Kind kKind = Kind::GLContext;
  GLContext() : Object(kKind) {}
  ~GLContext() override {
    if (Display* d = x_display(); d && context) glXDestroyContext(d, context);
  }
  GLXContext context = nullptr;
  int format = 0;
  int swap_interval = -1;  // set through wglSwapIntervalEXT; -1 until then
};

// The record of the context current on the calling thread; nullptr when none is.
GLContext* current_gl_context();

}  // namespace plat
