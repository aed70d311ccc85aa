// The demo's scene on a bare GLX context, set up as the demo starts it, for the frame benchmarks.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Zelv_Games.h"
#include "gl_test_context.h"

// The demo's own scene procedures, from the tornado_scene library the demo is built on.
#include "scene.h"

namespace bench_scene {

// Opens the context, sets the projection, culling and light as the demo does and loads the demo's
// textures from the build's run folder. Ends the program with a message if that cannot be done.
inline zelvo_test::GlTestContext* Start(int width, int height) {
  auto* gl = new zelvo_test::GlTestContext(width, height);
  if (!gl->ok()) {
    std::fprintf(stderr, "no GL context: is DISPLAY set to an X server with GLX?\n");
    std::exit(1);
  }
  Width = width;
  Height = height;
  OpenGL_Init(100.0, 0.0, 0.0, 0.0, 0.0);
  SetGLRefractive();
  SetGLLight(GL_LIGHT0, 0.0f, 0.0f, 0.0f, 0.1f);
  std::string dir = std::string(ZELVO_BINARY_DIR) + "/demo";
  char old[4096];
  if (!getcwd(old, sizeof old) || chdir(dir.c_str()) != 0) {
    std::fprintf(stderr, "cannot enter %s: build the demo_textures target first\n", dir.c_str());
    std::exit(1);
  }
  OpenGL_CreateList();
  if (chdir(old) != 0) std::exit(1);
  return gl;
}

}  // namespace bench_scene
