// Shared set-up of the billboard tests: an orthographic projection over eye space [-4, 4]^3 on a
// 400 x 400 viewport, so that feedback window coordinates map back to eye coordinates exactly.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Zelvo.h"
#include "gl_test_context.h"

namespace billboard_test {

constexpr int kSize = 400;
constexpr double kHalf = 4.0;

struct EyePoint {
  double x, y, z, s, t;
};

inline EyePoint ToEye(const zelvo_test::FeedbackVertex& v) {
  return {(v.x / kSize * 2.0 - 1.0) * kHalf, (v.y / kSize * 2.0 - 1.0) * kHalf,
          -(v.z * 2.0 - 1.0) * kHalf, v.s, v.t};
}

// The distinct corners of everything drawn, whether GL reports a quad whole or split in triangles.
template <class Draw>
std::vector<EyePoint> Corners(Draw draw) {
  std::vector<EyePoint> out;
  for (const auto& prim : zelvo_test::capture_feedback(draw))
    for (const auto& v : prim.vertices) {
      EyePoint p = ToEye(v);
      bool seen = false;
      for (const auto& q : out)
        seen = seen || (std::abs(p.x - q.x) < 1e-4 && std::abs(p.y - q.y) < 1e-4 &&
                        std::abs(p.z - q.z) < 1e-4);
      if (!seen) out.push_back(p);
    }
  return out;
}

// The eye-space position of model point (x, y, z) under the current model-view matrix.
inline EyePoint EyeOf(double x, double y, double z) {
  GLdouble m[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  return {m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
          m[2] * x + m[6] * y + m[10] * z + m[14], 0, 0};
}

// Expects an axis-aligned square of half size `half` around `centre`, parallel to the screen.
inline void ExpectScreenSquare(const std::vector<EyePoint>& corners, const EyePoint& centre,
                               double half) {
  ASSERT_EQ(corners.size(), 4u);
  for (const auto& c : corners) {
    EXPECT_NEAR(std::abs(c.x - centre.x), half, 1e-4);
    EXPECT_NEAR(std::abs(c.y - centre.y), half, 1e-4);
    EXPECT_NEAR(c.z, centre.z, 1e-4);
  }
}

class Billboard : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok());
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-kHalf, kHalf, -kHalf, kHalf, -kHalf, kHalf);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }
  void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }
  zelvo_test::GlTestContext gl{kSize, kSize};
};

}  // namespace billboard_test
