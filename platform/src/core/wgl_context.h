// The record behind an HGLRC, shared by the context services and the binding's extensions.
#pragma once

#include "handle_table.h"
#include "native_backend.h"

namespace plat {

struct GLContext : Object {
  static constexpr Kind kKind = Kind::GLContext;
  GLContext() : Object(kKind) {}
  ~GLContext() override {
    if (native) native_gl_delete(native);
  }
  NativeGLContext* native = nullptr;  // the backend's context
  int format = 0;
  int swap_interval = -1;  // set through wglSwapIntervalEXT; -1 until then
};

// The record of the context current on the calling thread; nullptr when none is.
GLContext* current_gl_context();

}  // namespace plat
