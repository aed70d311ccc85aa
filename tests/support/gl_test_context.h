// A real Mesa GL context on the test X server, made directly with GLX so that rendering tests do
// not depend on the window layer they may be testing. The context is current while the object
// lives.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelvo_test {

class GlTestContext {
 public:
  // A double-buffered RGBA context with a depth buffer on a window of the given size.
  GlTestContext(int width = 800, int height = 600);
  ~GlTestContext();
  GlTestContext(const GlTestContext&) = delete;
  GlTestContext& operator=(const GlTestContext&) = delete;

  bool ok() const { return ok_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // RGBA pixels of the back buffer, bottom row first (glReadPixels order).
  std::vector<uint8_t> read_pixels() const;

 private:
  bool ok_ = false;
  int width_;
  int height_;
  void* display_ = nullptr;
  unsigned long window_ = 0;
  void* context_ = nullptr;
};

// Vertices captured with the GL feedback render mode (GL_3D_COLOR_TEXTURE).
struct FeedbackVertex {
  float x, y, z;     // window coordinates
  float r, g, b, a;  // colour after lighting
  float s, t, p, q;  // texture coordinates
};
struct FeedbackPrimitive {
  GLenum type;  // GL_POINT_TOKEN, GL_LINE_TOKEN, GL_POLYGON_TOKEN, ...
  std::vector<FeedbackVertex> vertices;
};

// Runs `draw` in GL_FEEDBACK mode and parses what it emitted. Primitives that are clipped away do
// not appear, as GL reports them.
template <class Draw>
std::vector<FeedbackPrimitive> capture_feedback(Draw draw, size_t capacity = 1 << 20);

std::vector<FeedbackPrimitive> parse_feedback(const std::vector<GLfloat>& buffer, GLint count);

template <class Draw>
std::vector<FeedbackPrimitive> capture_feedback(Draw draw, size_t capacity) {
  std::vector<GLfloat> buffer(capacity);
  glFeedbackBuffer(static_cast<GLsizei>(capacity), GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  GLint count = glRenderMode(GL_RENDER);
  return parse_feedback(buffer, count);
}

}  // namespace zelvo_test
