// The funnel surface of DrawPolygon on a real context: vertices and texture coordinates through
// the GL feedback mode, normals through GL's own lighting, and the render state left behind.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Zelv_Games.h"
#include "gl_test_context.h"
#include "twister_test_util.h"

using namespace twister_test;
using zelvo_test::FeedbackVertex;

namespace {

class TwisterPolygon : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok());
    view.Apply();
  }
  zelvo_test::GlTestContext gl{800, 600};
  OrthoView view{800, 600};
  TGLTwister tw{};
};

// The arrays the call will draw from, with the counts its entry step sets.
TGLTwister DrawnWith(const TGLTwister& t, int rings, int points) {
  TGLTwister d = t;
  d.Rows = rings;
  d.Columns = points;
  return d;
}

TEST_F(TwisterPolygon, DemoCallEmits2016QuadsWithTheSurfaceCornersAndASeamlessWrap) {
  PrepareRings(tw, 50, 5.0f, 5, 32, 64);
  TGLTwister d = DrawnWith(tw, 64, 32);
  auto quads =
      ToQuads(zelvo_test::capture_feedback([&] { tw.DrawPolygon(-5, 0, 0, 1, 5, 32, 64, 32); }));
  ASSERT_EQ(quads.size(), 2016u);
  for (int i = 0; i < 63; ++i)
    for (int j = 0; j < 32; ++j) {
      const Quad& q = quads[i * 32 + j];
      const int ks[4] = {i, i + 1, i + 1, i};
      const int ms[4] = {j, j, j + 1, j + 1};
      for (int c = 0; c < 4; ++c) {
        Corner want = SurfaceCorner(d, ks[c], ms[c]);
        Vec3 got = view.ToEye(q.c[c].x, q.c[c].y, q.c[c].z);
        ASSERT_NEAR(got.x, want.vertex.x - 5, 1e-4) << "quad " << i << "," << j << " corner " << c;
        ASSERT_NEAR(got.y, want.vertex.y, 1e-4) << "quad " << i << "," << j << " corner " << c;
        ASSERT_NEAR(got.z, want.vertex.z, 1e-4) << "quad " << i << "," << j << " corner " << c;
        ASSERT_NEAR(q.c[c].s, want.s, 1e-5) << "quad " << i << "," << j << " corner " << c;
        ASSERT_NEAR(q.c[c].t, want.t, 1e-5) << "quad " << i << "," << j << " corner " << c;
      }
    }
  // The last quad of a band closes it: same place as m = 0, texture four widths further on.
  for (int i = 0; i < 63; ++i) {
    const Quad& last = quads[i * 32 + 31];
    const Quad& first = quads[i * 32];
    EXPECT_NEAR(last.c[3].x, first.c[0].x, 1e-3);
    EXPECT_NEAR(last.c[3].y, first.c[0].y, 1e-3);
    EXPECT_NEAR(last.c[3].z, first.c[0].z, 1e-6);
    EXPECT_NEAR(last.c[3].s, 4.0f + d.Twist[i], 1e-5);
    EXPECT_NEAR(first.c[0].s, d.Twist[i], 1e-5);
  }
}

TEST_F(TwisterPolygon, PlacementAndSizeScaleTheWholeFunnel) {
  PrepareRings(tw, 20, 5.0f, 5, 32, 16);
  TGLTwister d = DrawnWith(tw, 16, 6);
  auto quads =
      ToQuads(zelvo_test::capture_feedback([&] { tw.DrawPolygon(2, -3, 1, 0.5f, 5, 32, 16, 6); }));
  ASSERT_EQ(quads.size(), 15u * 6u);
  for (int i = 0; i < 15; ++i)
    for (int j = 0; j < 6; ++j) {
      Corner want = SurfaceCorner(d, i + 1, j + 1);
      Vec3 got =
          view.ToEye(quads[i * 6 + j].c[2].x, quads[i * 6 + j].c[2].y, quads[i * 6 + j].c[2].z);
      EXPECT_NEAR(got.x, 2 + 0.5 * want.vertex.x, 1e-4);
      EXPECT_NEAR(got.y, -3 + 0.5 * want.vertex.y, 1e-4);
      EXPECT_NEAR(got.z, 1 + 0.5 * want.vertex.z, 1e-4);
    }
}

// GL lights the vertices with the normals it was given: with GL_NORMALIZE, unit diffuse material
// and no ambient, three coloured directional lights along +x, +y, +z give max(0, n) per component,
// and the same along -x, -y, -z give max(0, -n).
TEST_F(TwisterPolygon, NormalsAreTheVertexWithoutTheZSway) {
  PrepareRings(tw, 50, 5.0f, 5, 32, 64);
  TGLTwister d = DrawnWith(tw, 64, 32);
  const GLfloat zero[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1};
  glEnable(GL_LIGHTING);
  glEnable(GL_NORMALIZE);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, zero);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, zero);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, zero);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
  const GLfloat colours[3][4] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};
  auto lit = [&](float sign) {
    for (int l = 0; l < 3; ++l) {
      GLfloat dir[4] = {0, 0, 0, 0};
      dir[l] = sign;
      glLightfv(GL_LIGHT0 + l, GL_POSITION, dir);
      glLightfv(GL_LIGHT0 + l, GL_DIFFUSE, colours[l]);
      glLightfv(GL_LIGHT0 + l, GL_AMBIENT, zero);
      glLightfv(GL_LIGHT0 + l, GL_SPECULAR, zero);
      glEnable(GL_LIGHT0 + l);
    }
    TGLTwister copy = tw;
    return ToQuads(
        zelvo_test::capture_feedback([&] { copy.DrawPolygon(-5, 0, 0, 1, 5, 32, 64, 32); }));
  };
  auto plus = lit(1), minus = lit(-1);
  ASSERT_EQ(plus.size(), 2016u);
  ASSERT_EQ(minus.size(), 2016u);
  double worstVertexDirection = 0;
  for (int i = 0; i < 63; ++i)
    for (int j = 0; j < 32; ++j) {
      const int ks[4] = {i, i + 1, i + 1, i};
      const int ms[4] = {j, j, j + 1, j + 1};
      for (int c = 0; c < 4; ++c) {
        Corner want = SurfaceCorner(d, ks[c], ms[c]);
        const FeedbackVertex& p = plus[i * 32 + j].c[c];
        const FeedbackVertex& m = minus[i * 32 + j].c[c];
        Vec3 n{p.r - m.r, p.g - m.g, p.b - m.b};
        double len = std::sqrt(want.normal.x * want.normal.x + want.normal.y * want.normal.y +
                               want.normal.z * want.normal.z);
        ASSERT_NEAR(n.x, want.normal.x / len, 2e-3) << "ring " << ks[c] << " point " << ms[c];
        ASSERT_NEAR(n.y, want.normal.y / len, 2e-3) << "ring " << ks[c] << " point " << ms[c];
        ASSERT_NEAR(n.z, want.normal.z / len, 2e-3) << "ring " << ks[c] << " point " << ms[c];
        double vlen = std::sqrt(want.vertex.x * want.vertex.x + want.vertex.y * want.vertex.y +
                                want.vertex.z * want.vertex.z);
        worstVertexDirection = std::max(worstVertexDirection, std::abs(n.z - want.vertex.z / vlen));
      }
    }
  // The sway along z is large enough here for a normal taken from the vertex to be told apart.
  EXPECT_GT(worstVertexDirection, 0.02);
}

TEST_F(TwisterPolygon, LeavesCullingOnAndBlendingAlphaTestAndMatrixAsItShould) {
  PrepareRings(tw, 50, 5.0f, 5, 32, 64);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glEnable(GL_ALPHA_TEST);
  glDepthMask(GL_FALSE);
  glTranslatef(1, 2, 3);
  Mat4 before = Mat4::FromGL(GL_MODELVIEW_MATRIX);
  tw.DrawPolygon(-5, 0, 0, 1, 5, 32, 64, 32);
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
  GLboolean mask = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
  EXPECT_TRUE(mask);
  Mat4 after = Mat4::FromGL(GL_MODELVIEW_MATRIX);
  for (int e = 0; e < 16; ++e) EXPECT_EQ(after.m[e], before.m[e]);
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// While drawing, the sprite alpha test cuts fragments of alpha 0.4 or less: a texture of alpha 0.3
// leaves nothing on screen, one of alpha 0.6 is drawn.
TEST_F(TwisterPolygon, DrawsThroughTheSpriteAlphaTest) {
  PrepareRings(tw, 50, 5.0f, 5, 32, 64);
  glEnable(GL_TEXTURE_2D);
  GLuint tex = 0;
  glGenTextures(1, &tex);
  glBindTexture(GL_TEXTURE_2D, tex);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glColor4f(1, 1, 1, 1);
  auto coverage = [&](uint8_t alpha) {
    uint8_t texel[4] = {255, 255, 255, alpha};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    TGLTwister copy = tw;
    copy.DrawPolygon(-5, 0, 0, 1, 5, 32, 64, 32);
    auto px = gl.read_pixels();
    int lit = 0;
    for (size_t k = 0; k < px.size(); k += 4) lit += px[k] > 128;
    return lit;
  };
  EXPECT_EQ(coverage(77), 0);
  EXPECT_GT(coverage(153), 2000);
  glDeleteTextures(1, &tex);
}

TEST_F(TwisterPolygon, FirstFrameDrawsOnlyTheAxisThenACloudFollows) {
  tw.Update(5.0f);
  auto prims = zelvo_test::capture_feedback([&] { tw.DrawPolygon(-5, 0, 0, 1, 5, 32, 64, 32); });
  // All radii are still zero: whatever GL keeps of the zero-area quads lies on the axis.
  EXPECT_LE(prims.size(), 4032u);
  for (const auto& p : prims)
    for (const auto& v : p.vertices) {
      Vec3 e = view.ToEye(v.x, v.y, v.z);
      ASSERT_NEAR(e.x, -5, 1e-4);
      ASSERT_NEAR(e.z, 0, 1e-4);
    }
  EXPECT_EQ(tw.Twist[0], 0.02f);
  EXPECT_NEAR(tw.Radius[63], 68.0 / 37, 1e-6);
  // The refresh has opened the funnel: a cloud drawn next in the same frame has real sprites.
  glDisable(GL_CULL_FACE);
  auto cloud = zelvo_test::capture_feedback(
      [&] { tw.DrawParticle(0, 0, 0, 1, 5, 32, 64, 10, CLOUD_NORMAL, 8, 4); });
  double spread = 0;
  for (const auto& p : cloud)
    for (const auto& v : p.vertices)
      spread = std::max(spread, std::abs(view.ToEye(v.x, v.y, v.z).x));
  EXPECT_GT(spread, 0.5);
}

TEST_F(TwisterPolygon, NothingToDrawStillSwitchesStateAndRefreshes) {
  for (auto shape : {std::pair{1, 32}, std::pair{64, 0}, std::pair{64, -5}}) {
    const int rings = shape.first, points = shape.second;  // a lambda below captures them
    TGLTwister t{};
    t.Update(5.0f);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    auto prims =
        zelvo_test::capture_feedback([&] { t.DrawPolygon(-5, 0, 0, 1, 5, 32, rings, points); });
    EXPECT_TRUE(prims.empty());
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(t.Twist[rings - 1], 0.02f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "glBegin/glEnd must still pair";
  }
}

}  // namespace
