// The cloud mode of DrawParticle on a real context: sprite placement, size and sheet cell through
// the GL feedback mode, the blend function of each cloud style, and the render state left behind.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "Zelv_Games.h"
#include "gl_test_context.h"
#include "twister_test_util.h"

using namespace twister_test;

namespace {

class TwisterClouds : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok());
    view.Apply();
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);  // keep the zero-size sprites of ring 0 in the feedback
  }
  zelvo_test::GlTestContext gl{800, 600};
  OrthoView view{800, 600};
  TGLTwister tw{};
};

struct SheetCell {
  double s0, s1, t0, t1;
};
SheetCell Cell(int i, int across, int down) {
  double s0 = static_cast<double>(i) / across, t1 = 1 - static_cast<double>(i) / down;
  return {s0, s0 + 1.0 / across, t1 - 1.0 / down, t1};
}

// Every sprite, in loop order, sits at the eye position of its ring point, faces the viewer with
// half-size i / Range / 1.5 in eye units whatever the model-view scaling, and shows cell i.
void ExpectCloud(const std::vector<Quad>& sprites, const TGLTwister& d, const Mat4& toEye,
                 const OrthoView& view, float range, int across, int down) {
  ASSERT_EQ(sprites.size(), static_cast<size_t>((d.Rows - 1) * d.Columns));
  for (int i = 0; i + 1 < d.Rows; ++i)
    for (int j = 0; j < d.Columns; ++j) {
      const Quad& q = sprites[i * d.Columns + j];
      Vec3 anchor = toEye.Apply(RingPoint(d, i, j));
      double half = i / static_cast<double>(range) / 1.5;
      SheetCell cell = Cell(i, across, down);
      const double dx[4] = {-half, half, half, -half}, dy[4] = {-half, -half, half, half};
      const double s[4] = {cell.s0, cell.s1, cell.s1, cell.s0},
                   t[4] = {cell.t0, cell.t0, cell.t1, cell.t1};
      for (int c = 0; c < 4; ++c) {
        Vec3 e = view.ToEye(q.c[c].x, q.c[c].y, q.c[c].z);
        ASSERT_NEAR(e.x, anchor.x + dx[c], 1e-4)
            << "ring " << i << " point " << j << " corner " << c;
        ASSERT_NEAR(e.y, anchor.y + dy[c], 1e-4)
            << "ring " << i << " point " << j << " corner " << c;
        ASSERT_NEAR(e.z, anchor.z, 1e-4) << "ring " << i << " point " << j << " corner " << c;
        ASSERT_NEAR(q.c[c].s, s[c], 1e-5) << "ring " << i << " corner " << c;
        ASSERT_NEAR(q.c[c].t, t[c], 1e-5) << "ring " << i << " corner " << c;
      }
    }
}

TEST_F(TwisterClouds, DemoCallEmits630SpritesOnTheRingPoints) {
  PrepareRings(tw, 50, 5.0f, 5, 32, 64);
  TGLTwister d = tw;
  d.Rows = 64;
  d.Columns = 10;
  auto sprites = ToQuads(zelvo_test::capture_feedback(
      [&] { tw.DrawParticle(0, 0, 0, 1, 5, 32, 64, 10, CLOUD_NORMAL, 8, 4); }));
  ASSERT_EQ(sprites.size(), 630u);
  ExpectCloud(sprites, d, Mat4::Identity(), view, 32, 8, 4);
  // Ring 0 has size 0; ring 32 has half-size 2/3; ring 9 shows cell 1 across and 1 down of 8 x 4.
  const Quad& r0 = sprites[0];
  EXPECT_EQ(r0.c[0].x, r0.c[2].x);
  EXPECT_EQ(r0.c[0].y, r0.c[2].y);
  const Quad& r32 = sprites[32 * 10];
  EXPECT_NEAR((r32.c[2].x - r32.c[0].x) / 2 / view.PixelsPerUnitX(), 2.0 / 3.0, 1e-5);
  EXPECT_NEAR((r32.c[2].y - r32.c[0].y) / 2 / view.PixelsPerUnitY(), 2.0 / 3.0, 1e-5);
  const Quad& r9 = sprites[9 * 10];
  EXPECT_NEAR(r9.c[0].s, 1.125, 1e-6);
  EXPECT_NEAR(r9.c[2].s, 1.25, 1e-6);
  EXPECT_NEAR(r9.c[0].t, -1.5, 1e-6);
  EXPECT_NEAR(r9.c[2].t, -1.25, 1e-6);
}

TEST_F(TwisterClouds, SpritesFaceTheViewerUnderATurnedAndScaledView) {
  PrepareRings(tw, 77, 5.0f, 3, 20, 24);
  TGLTwister d = tw;
  d.Rows = 24;
  d.Columns = 7;
  glTranslatef(0.5f, -3, 0);
  glRotatef(40, 1, 1, 0);
  Mat4 base = Mat4::FromGL(GL_MODELVIEW_MATRIX);
  Mat4 toEye = base * Mat4::Translate(1, -1, 0.5) * Mat4::Scale(1.5);
  auto sprites = ToQuads(zelvo_test::capture_feedback(
      [&] { tw.DrawParticle(1, -1, 0.5f, 1.5f, 3, 20, 24, 7, CLOUD_DARK, 5, 3); }));
  ExpectCloud(sprites, d, toEye, view, 20, 5, 3);
}

TEST_F(TwisterClouds, CullingKeepsAllButTheZeroSizeSpritesOfRingZero) {
  PrepareRings(tw, 50, 5.0f, 5, 32, 64);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  auto sprites = ToQuads(zelvo_test::capture_feedback(
      [&] { tw.DrawParticle(0, 0, 0, 1, 5, 32, 64, 10, CLOUD_NORMAL, 8, 4); }));
  // The sprites face the viewer, so back-face culling removes none of them; GL may drop the
  // zero-area ones of ring 0.
  size_t withArea = 0;
  for (const Quad& q : sprites) withArea += q.c[2].x > q.c[0].x;
  EXPECT_EQ(withArea, 620u);
  EXPECT_TRUE(sprites.size() == 620u || sprites.size() == 630u) << sprites.size();
}

TEST_F(TwisterClouds, SpritesCarryTheCurrentColourUnchanged) {
  PrepareRings(tw, 50, 5.0f, 5, 32, 8);
  glColor4f(0.25f, 0.5f, 0.75f, 0.625f);
  auto sprites = ToQuads(zelvo_test::capture_feedback(
      [&] { tw.DrawParticle(0, 0, 0, 1, 5, 32, 8, 3, CLOUD_NORMAL, 8, 4); }));
  ASSERT_EQ(sprites.size(), 21u);
  for (const Quad& q : sprites)
    for (const auto& v : q.c) {
      EXPECT_NEAR(v.r, 0.25, 1e-3);
      EXPECT_NEAR(v.b, 0.75, 1e-3);
      EXPECT_NEAR(v.a, 0.625, 1e-3);
    }
}

TEST_F(TwisterClouds, EachCloudStyleSetsItsBlendFunctionAndOthersKeepTheCurrentOne) {
  const std::pair<GLenum, GLenum> styles[7] = {{GL_ONE, GL_ONE_MINUS_SRC_COLOR},
                                               {GL_ONE, GL_ONE_MINUS_SRC_ALPHA},
                                               {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},
                                               {GL_SRC_COLOR, GL_ONE_MINUS_SRC_ALPHA},
                                               {GL_SRC_ALPHA_SATURATE, GL_ONE_MINUS_SRC_ALPHA},
                                               {GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA},
                                               {GL_ZERO, GL_ONE_MINUS_SRC_ALPHA}};
  static_assert(CLOUD_BRIGHT == 0 && CLOUD_NORMAL == 1 && CLOUD_TINY_DARK == 2 &&
                CLOUD_VERY_DARK == 3 && CLOUD_TINY_BRIGHT == 4 && CLOUD_DARK_SMOOTH == 5 &&
                CLOUD_DARK == 6);
  auto blend = [] {
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    return std::pair{static_cast<GLenum>(src), static_cast<GLenum>(dst)};
  };
  tw.Update(5.0f);
  for (int style = 0; style < 7; ++style) {
    glBlendFunc(GL_ONE, GL_ZERO);
    tw.DrawParticle(0, 0, 0, 1, 5, 32, 16, 4, style, 8, 4);
    EXPECT_EQ(blend(), styles[style]) << "style " << style;
  }
  for (int style : {7, -1, 1000}) {
    glBlendFunc(GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA);
    tw.DrawParticle(0, 0, 0, 1, 5, 32, 16, 4, style, 8, 4);
    EXPECT_EQ(blend(), (std::pair<GLenum, GLenum>{GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA}))
        << "style " << style;
  }
}

TEST_F(TwisterClouds, LeavesTheStateTheCloudsNeedBehind) {
  PrepareRings(tw, 50, 5.0f, 5, 32, 64);
  for (auto [rings, points] : {std::pair{64, 10}, std::pair{1, 10}, std::pair{64, 0}}) {
    LockViewModelScale = true;
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glEnable(GL_BLEND);
    glAlphaFunc(GL_LESS, 0.7f);
    glDisable(GL_ALPHA_TEST);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glTranslatef(0, 1, 0);
    Mat4 before = Mat4::FromGL(GL_MODELVIEW_MATRIX);
    tw.DrawParticle(0, 0, 0, 1, 5, 32, rings, points, CLOUD_NORMAL, 8, 4);
    EXPECT_FALSE(LockViewModelScale);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_TRUE(mask);
    GLint func = 0;
    GLfloat ref = -1;
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &func);
    glGetFloatv(GL_ALPHA_TEST_REF, &ref);
    EXPECT_EQ(func, GL_GREATER);
    EXPECT_EQ(ref, 0.0f);
    GLint env = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
    EXPECT_EQ(env, GL_MODULATE);
    Mat4 after = Mat4::FromGL(GL_MODELVIEW_MATRIX);
    for (int e = 0; e < 16; ++e) EXPECT_EQ(after.m[e], before.m[e]);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(tw.Rows, rings);
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Depth writes are off while the sprites are drawn: opaque geometry drawn earlier in front of them
// hides them, but geometry drawn later behind them is not held back by them.
TEST_F(TwisterClouds, SpritesWriteNoDepthButAreHiddenByWhatIsInFront) {
  glClearColor(0, 0, 0, 0);
  glClearDepth(1.0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  auto wall = [](float x0, float x1, float z) {
    glColor4f(0, 0, 1, 1);
    glBegin(GL_QUADS);
    glVertex3f(x0, -10, z);
    glVertex3f(x1, -10, z);
    glVertex3f(x1, 10, z);
    glVertex3f(x0, 10, z);
    glEnd();
  };
  auto count = [&](int channel, int x0, int x1) {
    auto px = gl.read_pixels();
    int n = 0;
    for (int y = 0; y < 600; ++y)
      for (int x = x0; x < x1; ++x) n += px[(y * 800 + x) * 4 + channel] > 200;
    return n;
  };
  wall(0, 10, 9);  // in front of the right half
  PrepareRings(tw, 50, 5.0f, 5, 32, 64);
  glColor4f(1, 0, 0, 1);
  tw.DrawParticle(-4, -3, 0, 1, 5, 32, 64, 10, CLOUD_NORMAL, 8, 4);  // untextured: plain red
  glColor4f(0, 1, 0, 1);
  tw.DrawParticle(4, -3, 0, 1, 5, 32, 64, 10, CLOUD_NORMAL, 8, 4);
  EXPECT_GT(count(0, 0, 400), 1000);
  EXPECT_EQ(count(1, 400, 800), 0);
  wall(-10, 0, -9);  // behind the red cloud, drawn after it
  EXPECT_EQ(count(0, 0, 400), 0);
}

}  // namespace
