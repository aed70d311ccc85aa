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

std::vector<uint8_t> GlTestContext::read_pixels() const {
  std::vector<uint8_t> pixels(static_cast<size_t>(width_) * height_ * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

std::vector<FeedbackPrimitive> parse_feedback(const std::vector<GLfloat>& buffer, GLint count) {
  std::vector<FeedbackPrimitive> out;
  auto vertex = [&](GLint& i) {
    FeedbackVertex v{};
    float* f = &v.x;
    for (int k = 0; k < 11; ++k) f[k] = buffer[i++];
    return v;
  };
  for (GLint i = 0; i < count;) {
    GLenum token = static_cast<GLenum>(buffer[i++]);
    FeedbackPrimitive p{token, {}};
    int n = 0;
    switch (token) {
      case GL_POINT_TOKEN:
      case GL_BITMAP_TOKEN:
      case GL_DRAW_PIXEL_TOKEN:
      case GL_COPY_PIXEL_TOKEN:
        n = 1;
        break;
      case GL_LINE_TOKEN:
      case GL_LINE_RESET_TOKEN:
        n = 2;
        break;
      case GL_POLYGON_TOKEN:
        n = static_cast<int>(buffer[i++]);
        break;
      case GL_PASS_THROUGH_TOKEN:
        ++i;
        continue;
      default:
        return out;  // unknown token: stop rather than misread the rest
    }
    for (int k = 0; k < n; ++k) p.vertices.push_back(vertex(i));
    out.push_back(std::move(p));
  }
  return out;
}

}  // namespace zelvo_test
