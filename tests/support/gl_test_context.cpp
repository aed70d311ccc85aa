// The GLX side of GlTestContext; windows/gl_test_context.cpp is the WGL side.
#include "gl_test_context.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace zelvo_test {

GlTestContext::GlTestContext(int width, int height) : width_(width), height_(height) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return;
  display_ = d;
  int attributes[] = {GLX_RENDER_TYPE,
                      GLX_RGBA_BIT,
                      GLX_DRAWABLE_TYPE,
                      GLX_WINDOW_BIT,
                      GLX_DOUBLEBUFFER,
                      True,
                      GLX_RED_SIZE,
                      8,
                      GLX_GREEN_SIZE,
                      8,
                      GLX_BLUE_SIZE,
                      8,
                      GLX_ALPHA_SIZE,
                      8,
                      GLX_DEPTH_SIZE,
                      24,
                      None};
  int count = 0;
  GLXFBConfig* configs = glXChooseFBConfig(d, DefaultScreen(d), attributes, &count);
  if (!configs || count == 0) return;
  GLXFBConfig config = configs[0];
  XFree(configs);
  XVisualInfo* visual = glXGetVisualFromFBConfig(d, config);
  if (!visual) return;
  XSetWindowAttributes wa{};
  wa.colormap = XCreateColormap(d, RootWindow(d, visual->screen), visual->visual, AllocNone);
  wa.override_redirect = True;
  window_ = XCreateWindow(d, RootWindow(d, visual->screen), 0, 0, width, height, 0, visual->depth,
                          InputOutput, visual->visual, CWColormap | CWOverrideRedirect, &wa);
  XFree(visual);
  XMapWindow(d, window_);
  XSync(d, False);
  GLXContext context = glXCreateNewContext(d, config, GLX_RGBA_TYPE, nullptr, True);
  if (!context) return;
  context_ = context;
  ok_ = glXMakeContextCurrent(d, window_, window_, context);
  glDrawBuffer(GL_BACK);
  glReadBuffer(GL_BACK);
}

GlTestContext::~GlTestContext() {
  auto* d = static_cast<Display*>(display_);
  if (!d) return;
  glXMakeContextCurrent(d, None, None, nullptr);
  if (context_) glXDestroyContext(d, static_cast<GLXContext>(context_));
  if (window_) XDestroyWindow(d, window_);
  XCloseDisplay(d);
}

}  // namespace zelvo_test
