// Helpers shared by the twister tests: the ring formulas written out independently of the
// implementation, a small 4 x 4 matrix type, and a known orthographic view so that feedback
// coordinates can be turned back into object coordinates.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "Zelv_Games.h"
#include "gl_test_context.h"

namespace twister_test {

struct Vec3 {
  double x, y, z;
};

inline double RingHeight(const TGLTwister& t, int k) { return 5.5 * k / t.Rows; }
inline double RadiusOf(const TGLTwister& t, int k) { return 0.7 * t.Radius[k]; }

// Ring point (i, j) from the fields, as the cloud and particle modes place it.
inline Vec3 RingPoint(const TGLTwister& t, int i, int j) {
  double phi = 2 * std::numbers::pi * j / t.Columns - t.Twist[i];
  double r = RadiusOf(t, i);
  return {r * std::cos(phi) + t.Pos[i].X, RingHeight(t, i), r * std::sin(phi) + t.Pos[i].Z};
}

// Corner (k, m) of the funnel surface: vertex, normal and texture coordinate.
struct Corner {
  Vec3 vertex, normal;
  double s, t;
};
inline Corner SurfaceCorner(const TGLTwister& tw, int k, int m) {
  double theta = 2 * std::numbers::pi * m / tw.Columns;
  double a = RadiusOf(tw, k) * std::cos(theta), b = RadiusOf(tw, k) * std::sin(theta);
  double h = RingHeight(tw, k);
  return {{a + tw.Pos[k].X, h, b + tw.Pos[k].Z},
          {a + tw.Pos[k].X, h, b},
          4.0 * m / tw.Columns + tw.Twist[k],
          h};
}

// Column-major like GL.
struct Mat4 {
  std::array<double, 16> m{};
  static Mat4 Identity() {
    Mat4 r;
    r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1;
    return r;
  }
  static Mat4 Translate(double x, double y, double z) {
    Mat4 r = Identity();
    r.m[12] = x, r.m[13] = y, r.m[14] = z;
    return r;
  }
  static Mat4 Scale(double s) {
    Mat4 r = Identity();
    r.m[0] = r.m[5] = r.m[10] = s;
    return r;
  }
  static Mat4 FromGL(GLenum which) {
    GLfloat f[16];
    glGetFloatv(which, f);
    Mat4 r;
    for (int i = 0; i < 16; ++i) r.m[i] = f[i];
    return r;
  }
  Mat4 operator*(const Mat4& o) const {
    Mat4 r;
    for (int c = 0; c < 4; ++c)
      for (int row = 0; row < 4; ++row) {
        double s = 0;
        for (int k = 0; k < 4; ++k) s += m[k * 4 + row] * o.m[c * 4 + k];
        r.m[c * 4 + row] = s;
      }
    return r;
  }
  Vec3 Apply(Vec3 v) const {
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12],
            m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13],
            m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14]};
  }
};

// An orthographic view of the box [-10, 10]^3 on a W x H viewport, model-view identity. Window
// coordinates from feedback map back to eye coordinates with ToEye.
struct OrthoView {
  int w, h;
  void Apply() const {
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-10, 10, -10, 10, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }
  Vec3 ToEye(double wx, double wy, double wz) const {
    return {wx / w * 20 - 10, wy / h * 20 - 10, -(wz * 2 - 1) * 10};
  }
  double PixelsPerUnitX() const { return w / 20.0; }
  double PixelsPerUnitY() const { return h / 20.0; }
};

// Fills the ring arrays the way a drawing operation of an earlier frame would: Time / (10 Frames)
// gives the angle, and an AddParticle without points runs only the entry step and the refresh.
inline void PrepareRings(TGLTwister& t, int time, float frames, float R, float Range, int rings) {
  t.Time = time;
  t.Frames = frames;
  t.AddParticle(0, 0, 0, 1, R, Range, rings, 0, nullptr);
}

// One emitted quad, its corners in emission order.
struct Quad {
  zelvo_test::FeedbackVertex c[4];
};

// Mesa reports each quad as two triangles (c0, c1, c3) and (c1, c2, c3); a polygon of four is
// taken as it is. Anything else fails the test.
inline std::vector<Quad> ToQuads(const std::vector<zelvo_test::FeedbackPrimitive>& prims) {
  std::vector<Quad> quads;
  for (size_t n = 0; n < prims.size();) {
    EXPECT_EQ(prims[n].type, static_cast<GLenum>(GL_POLYGON_TOKEN));
    if (prims[n].vertices.size() == 4) {
      Quad q;
      for (int k = 0; k < 4; ++k) q.c[k] = prims[n].vertices[k];
      quads.push_back(q);
      n += 1;
      continue;
    }
    if (n + 1 >= prims.size() || prims[n].vertices.size() != 3 ||
        prims[n + 1].vertices.size() != 3) {
      ADD_FAILURE() << "unexpected primitive shape at " << n;
      return quads;
    }
    const auto& a = prims[n].vertices;
    const auto& b = prims[n + 1].vertices;
    quads.push_back({{a[0], a[1], b[1], a[2]}});
    n += 2;
  }
  return quads;
}

}  // namespace twister_test
