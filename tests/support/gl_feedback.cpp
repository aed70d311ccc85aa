// The parts of GlTestContext that need only GL: reading pixels back and parsing feedback buffers.
#include "gl_test_context.h"

namespace zelvo_test {

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
