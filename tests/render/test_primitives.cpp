#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "Zelvo.h"
#include "gl_test_context.h"

namespace {

using zelvo_test::capture_feedback;
using zelvo_test::FeedbackPrimitive;
using zelvo_test::FeedbackVertex;
using zelvo_test::GlTestContext;

constexpr int kSize = 200;

// Identity matrices and a square viewport: object coordinates in [-1, 1] map straight to the
// window.
class Primitives : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok());
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }
  void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }
  GlTestContext gl{kSize, kSize};
};

struct Point {
  double x, y, z, s, t;
};

Point ToObject(const FeedbackVertex& v) {
  return {v.x / kSize * 2.0 - 1.0, v.y / kSize * 2.0 - 1.0, v.z * 2.0 - 1.0, v.s, v.t};
}

void ExpectPoint(const Point& p, double x, double y, double z, double s, double t) {
  EXPECT_NEAR(p.x, x, 1e-5);
  EXPECT_NEAR(p.y, y, 1e-5);
  EXPECT_NEAR(p.z, z, 1e-5);
  EXPECT_NEAR(p.s, s, 1e-6);
  EXPECT_NEAR(p.t, t, 1e-6);
}

TEST_F(Primitives, LineFreeWithoutTextureEmitsOnlyTwoVertices) {
  glTexCoord2f(0.3f, 0.7f);
  glNormal3f(0, 1, 0);
  glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
  auto prims = capture_feedback([] {
    glBegin(GL_LINES);
    LineFree(false, 9, 9, 9, 9, -0.5f, 0.25f, 0.1f, 0.5f, -0.25f, -0.1f);
    glEnd();
  });
  ASSERT_EQ(prims.size(), 1u);
  EXPECT_TRUE(prims[0].type == GL_LINE_TOKEN || prims[0].type == GL_LINE_RESET_TOKEN);
  ASSERT_EQ(prims[0].vertices.size(), 2u);
  ExpectPoint(ToObject(prims[0].vertices[0]), -0.5, 0.25, 0.1, 0.3, 0.7);
  ExpectPoint(ToObject(prims[0].vertices[1]), 0.5, -0.25, -0.1, 0.3, 0.7);
  GLfloat tex[4], normal[3], colour[4];
  glGetFloatv(GL_CURRENT_TEXTURE_COORDS, tex);
  glGetFloatv(GL_CURRENT_NORMAL, normal);
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(tex[0], 0.3f);
  EXPECT_FLOAT_EQ(tex[1], 0.7f);
  EXPECT_FLOAT_EQ(normal[1], 1.0f);
  EXPECT_FLOAT_EQ(colour[2], 0.75f);
}

TEST_F(Primitives, TwoLineFreeCallsMakeATexturedQuad) {
  auto prims = capture_feedback([] {
    glBegin(GL_QUADS);
    LineFree(true, 0, 0, 1, 0, -0.5f, -0.5f, 0, 0.5f, -0.5f, 0);
    LineFree(true, 1, 1, 0, 1, 0.5f, 0.5f, 0, -0.5f, 0.5f, 0);
    glEnd();
  });
  // GL may report the quad as one polygon or split it; collect the distinct corners in order.
  std::vector<Point> corners;
  for (const auto& p : prims) {
    EXPECT_EQ(p.type, static_cast<GLenum>(GL_POLYGON_TOKEN));
    for (const auto& v : p.vertices) {
      Point q = ToObject(v);
      bool seen = false;
      for (const auto& c : corners)
        seen = seen || (std::abs(c.x - q.x) < 1e-5 && std::abs(c.y - q.y) < 1e-5);
      if (!seen) corners.push_back(q);
    }
  }
  ASSERT_EQ(corners.size(), 4u);
  const double expected[4][4] = {
      {-0.5, -0.5, 0, 0}, {0.5, -0.5, 1, 0}, {0.5, 0.5, 1, 1}, {-0.5, 0.5, 0, 1}};
  for (const auto& e : expected) {
    bool found = false;
    for (const auto& c : corners)
      if (std::abs(c.x - e[0]) < 1e-5 && std::abs(c.y - e[1]) < 1e-5) {
        found = true;
        EXPECT_NEAR(c.s, e[2], 1e-6);
        EXPECT_NEAR(c.t, e[3], 1e-6);
      }
    EXPECT_TRUE(found) << e[0] << ", " << e[1];
  }
  GLfloat tex[4];
  glGetFloatv(GL_CURRENT_TEXTURE_COORDS, tex);
  EXPECT_FLOAT_EQ(tex[0], 0.0f);  // the last coordinate given stays current
  EXPECT_FLOAT_EQ(tex[1], 1.0f);
}

// A strip of n vertices comes back as n - 2 triangles, each ending with the newest vertex.
std::vector<std::vector<Point>> StripsOf(const std::vector<FeedbackPrimitive>& prims,
                                         size_t per_strip) {
  std::vector<std::vector<Point>> strips;
  for (size_t i = 0; i < prims.size(); ++i) {
    EXPECT_EQ(prims[i].vertices.size(), 3u);
    if (prims[i].vertices.size() != 3) return {};
    if (i % per_strip == 0) {
      strips.emplace_back();
      // The first triangle keeps the submission order of the first two vertices.
      strips.back().push_back(ToObject(prims[i].vertices[0]));
      strips.back().push_back(ToObject(prims[i].vertices[1]));
    }
    strips.back().push_back(ToObject(prims[i].vertices[2]));
  }
  return strips;
}

TEST_F(Primitives, SferaDrawsOneStripPerBandFromPoleToPole) {
  auto prims = capture_feedback([] { Sfera(0, 0, 0, 0.25f, 8, 8, 1.0f); });
  ASSERT_EQ(prims.size(), 8u * 16u);  // 8 strips of 18 vertices = 16 triangles each
  auto strips = StripsOf(prims, 16);
  ASSERT_EQ(strips.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    ASSERT_EQ(strips[i].size(), 18u);
    const double z0 = std::cos(i * std::numbers::pi / 8) * 0.25;
    const double z1 = std::cos((i + 1) * std::numbers::pi / 8) * 0.25;
    const double r0 = std::sin(i * std::numbers::pi / 8) * 0.25;
    const double r1 = std::sin((i + 1) * std::numbers::pi / 8) * 0.25;
    for (int j = 0; j <= 8; ++j) {
      const double c = j * 2 * std::numbers::pi / 8;
      const Point& upper = strips[i][2 * j];
      const Point& lower = strips[i][2 * j + 1];
      EXPECT_NEAR(upper.x, std::cos(c) * r0, 1e-5) << i << "," << j;
      EXPECT_NEAR(upper.y, std::sin(c) * r0, 1e-5) << i << "," << j;
      EXPECT_NEAR(upper.z, z0, 1e-5) << i << "," << j;
      EXPECT_NEAR(lower.x, std::cos(c) * r1, 1e-5) << i << "," << j;
      EXPECT_NEAR(lower.z, z1, 1e-5) << i << "," << j;
      EXPECT_NEAR(upper.s, -j / 8.0, 1e-6);
      EXPECT_NEAR(upper.t, i / 8.0, 1e-6);
      EXPECT_NEAR(lower.s, -j / 8.0, 1e-6);
      EXPECT_NEAR(lower.t, (i + 1) / 8.0, 1e-6);
    }
  }
  ExpectPoint(strips[0][0], 0, 0, 0.25, 0, 0);
  ExpectPoint(strips[7][17], 0, 0, -0.25, -1, 1);
}

// Lighting shows the normals: a white directional light along an axis gives each vertex the
// diffuse term max(0, n . axis), which for unit outward normals is the vertex's offset from the
// centre along that axis divided by the radius.
TEST_F(Primitives, SferaNormalsAreUnitOutwardDirections) {
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  const GLfloat white[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 1};
  glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
  glLightfv(GL_LIGHT0, GL_AMBIENT, black);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, black);
  for (int axis = 0; axis < 3; ++axis) {
    const GLfloat dir[4] = {axis == 0 ? 1.0f : 0.0f, axis == 1 ? 1.0f : 0.0f,
                            axis == 2 ? 1.0f : 0.0f, 0};
    glLightfv(GL_LIGHT0, GL_POSITION, dir);
    auto prims = capture_feedback([] { Sfera(0.1f, 0.2f, 0, 0.5f, 6, 4, 1.0f); });
    auto strips = StripsOf(prims, 12);
    ASSERT_EQ(strips.size(), 4u);
    for (const auto& strip : strips) ASSERT_EQ(strip.size(), 14u);
    const double centre[3] = {0.1, 0.2, 0};
    for (const auto& p : prims)
      for (const auto& v : p.vertices) {
        const Point q = ToObject(v);
        const double coord[3] = {q.x, q.y, q.z};
        const double n = (coord[axis] - centre[axis]) / 0.5;
        EXPECT_NEAR(v.r, std::max(0.0, n), 3e-3) << "axis " << axis;
      }
  }
}

TEST_F(Primitives, SferaTextureSizeDividesTheCoordinates) {
  auto one = capture_feedback([] { Sfera(0, 0, 0, 0.25f, 8, 8, 1.0f); });
  auto two = capture_feedback([] { Sfera(0, 0, 0, 0.25f, 8, 8, 2.0f); });
  ASSERT_EQ(one.size(), two.size());
  double min_s = 0, max_t = 0;
  for (size_t i = 0; i < one.size(); ++i)
    for (size_t k = 0; k < one[i].vertices.size(); ++k) {
      const auto &a = one[i].vertices[k], &b = two[i].vertices[k];
      EXPECT_FLOAT_EQ(a.x, b.x);
      EXPECT_FLOAT_EQ(a.y, b.y);
      EXPECT_FLOAT_EQ(a.z, b.z);
      EXPECT_NEAR(b.s, a.s / 2, 1e-7);
      EXPECT_NEAR(b.t, a.t / 2, 1e-7);
      min_s = std::min<double>(min_s, b.s);
      max_t = std::max<double>(max_t, b.t);
    }
  EXPECT_NEAR(min_s, -0.5, 1e-6);
  EXPECT_NEAR(max_t, 0.5, 1e-6);
}

// Every vertex where a sphere of those arguments has it, band by band.
void ExpectSphere(const std::vector<FeedbackPrimitive>& prims, double px, double py, double pz,
                  double radius, int circles, int lines) {
  auto strips = StripsOf(prims, 2 * circles);
  ASSERT_EQ(strips.size(), size_t(lines));
  int wrong = 0;
  for (int i = 0; i < lines; ++i) {
    ASSERT_EQ(strips[i].size(), size_t(2 * circles + 2)) << i;
    for (int j = 0; j <= circles; ++j)
      for (int edge = 0; edge < 2; ++edge) {
        const double a = (i + edge) * std::numbers::pi / lines,
                     c = j * 2 * std::numbers::pi / circles;
        const Point& p = strips[i][2 * j + edge];
        const bool on_sphere = std::fabs(p.x - (px + std::cos(c) * std::sin(a) * radius)) < 1e-4 &&
                               std::fabs(p.y - (py + std::sin(c) * std::sin(a) * radius)) < 1e-4 &&
                               std::fabs(p.z - (pz + std::cos(a) * radius)) < 1e-4;
        if (!on_sphere && ++wrong < 5)
          ADD_FAILURE() << "band " << i << " edge " << j << "/" << edge;
      }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(Primitives, SferaKeepsEachShapeApartAndDrawsHugeShapesToo) {
  // More distinct spheres than are kept, each drawn twice in interleaved order: a kept shape must
  // never answer for another, and a later draw must give exactly the first one's vertices.
  std::vector<std::vector<FeedbackPrimitive>> first;
  for (int round = 0; round < 2; ++round)
    for (int k = 0; k < 24; ++k) {
      const float px = -0.5f + 0.04f * k, radius = 0.1f + 0.01f * (k % 5);
      const int circles = 4 + k % 3, lines = 3 + k % 4;
      auto prims = capture_feedback([&] { Sfera(px, 0.1f, 0, radius, circles, lines, 1.0f); });
      SCOPED_TRACE(k);
      ExpectSphere(prims, px, 0.1, 0, radius, circles, lines);
      if (round == 0) {
        first.push_back(prims);
        continue;
      }
      ASSERT_EQ(prims.size(), first[k].size());
      for (size_t i = 0; i < prims.size(); ++i)
        for (size_t v = 0; v < prims[i].vertices.size(); ++v) {
          EXPECT_EQ(prims[i].vertices[v].x, first[k][i].vertices[v].x);
          EXPECT_EQ(prims[i].vertices[v].y, first[k][i].vertices[v].y);
          EXPECT_EQ(prims[i].vertices[v].z, first[k][i].vertices[v].z);
        }
    }
  // Too many vertices to keep, but slice and stack counts whose angles are kept.
  ExpectSphere(capture_feedback([] { Sfera(0, 0, 0, 0.5f, 4096, 8, 1.0f); }, size_t{1} << 22), 0, 0,
               0, 0.5, 4096, 8);
  // Counts beyond any kept table.
  ExpectSphere(capture_feedback([] { Sfera(0, 0, 0, 0.5f, 5000, 2, 1.0f); }), 0, 0, 0, 0.5, 5000,
               2);
}

TEST_F(Primitives, SferaIsPlacedAtItsCentre) {
  auto prims = capture_feedback([] { Sfera(0.5f, -0.25f, 0.125f, 0.25f, 8, 8, 1.0f); });
  auto strips = StripsOf(prims, 16);
  ASSERT_EQ(strips.size(), 8u);
  ExpectPoint(strips[0][0], 0.5, -0.25, 0.375, 0, 0);
  ExpectPoint(strips[7][17], 0.5, -0.25, -0.125, -1, 1);
  ExpectPoint(strips[3][1], 0.75, -0.25, 0.125, 0, 0.5);  // the equator at angle 0
}

TEST_F(Primitives, SferaWithOneBandHasAllVerticesAtThePoles) {
  auto prims = capture_feedback([] { Sfera(0, 0, 0, 0.25f, 4, 1, 1.0f); });
  auto strips = StripsOf(prims, 8);
  ASSERT_EQ(strips.size(), 1u);
  ASSERT_EQ(strips[0].size(), 10u);
  for (size_t k = 0; k < strips[0].size(); ++k) {
    EXPECT_NEAR(strips[0][k].x, 0, 1e-6);
    EXPECT_NEAR(strips[0][k].y, 0, 1e-6);
    EXPECT_NEAR(strips[0][k].z, k % 2 == 0 ? 0.25 : -0.25, 1e-6);
    EXPECT_NEAR(strips[0][k].s, -static_cast<double>(k / 2) / 4.0, 1e-6);
    EXPECT_NEAR(strips[0][k].t, k % 2 == 0 ? 0.0 : 1.0, 1e-6);
  }
}

TEST_F(Primitives, SferaWithNoOrNegativeBandsDrawsNothing) {
  // The most negative band count too: counting up to NumLine - 1 would overflow there.
  for (int32_t bands : {0, -1, INT32_MIN}) {
    SCOPED_TRACE(bands);
    auto prims = capture_feedback([bands] { Sfera(0, 0, 0, 0.25f, 8, bands, 1.0f); });
    EXPECT_TRUE(prims.empty());
  }
}

}  // namespace
