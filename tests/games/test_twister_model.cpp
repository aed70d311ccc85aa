// The twister's model: time step, entry step, ring refresh and the particle walk of AddParticle.
// AddParticle runs on a real GL context; the model procedure reads the model-view matrix to learn
// where the walk has put it.
#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <vector>

#include "Zelv_Games.h"
#include "gl_test_context.h"
#include "twister_test_util.h"

using namespace twister_test;

namespace {

// A record with no constructor that a zeroed global can start from, fields in the declared order.
static_assert(std::is_standard_layout_v<TGLTwister>);
static_assert(std::is_aggregate_v<TGLTwister>);
static_assert(std::is_trivially_copyable_v<TGLTwister>);
static_assert(offsetof(TGLTwister, Time) == 0);
static_assert(offsetof(TGLTwister, Frames) == 4);
static_assert(offsetof(TGLTwister, Rows) == 8);
static_assert(offsetof(TGLTwister, Columns) == 12);
static_assert(offsetof(TGLTwister, Twist) == 16);
static_assert(offsetof(TGLTwister, Radius) == 16 + 128 * 4);
static_assert(offsetof(TGLTwister, Pos) == 16 + 2 * 128 * 4);
static_assert(offsetof(TGLTwister, Rnd) == 16 + 2 * 128 * 4 + 128 * 12);
static_assert(sizeof(TGLTwister) == 16 + 2 * 128 * 4 + 2 * 128 * 12);
static_assert(std::is_same_v<decltype(TGLTwister::Time), int32_t>);
static_assert(std::is_same_v<decltype(TGLTwister::Frames), float>);

// Where each model call found the model-view matrix.
std::vector<Mat4> g_calls;
void RecordModel() { g_calls.push_back(Mat4::FromGL(GL_MODELVIEW_MATRIX)); }

// The sentinel pattern written into the arrays to see which entries a refresh touched.
void FillSentinel(TGLTwister& t, float v) {
  for (int i = 0; i < 128; ++i) {
    t.Twist[i] = v;
    t.Radius[i] = v;
    t.Pos[i] = {v, v, v};
  }
}

class TwisterModel : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    g_calls.clear();
  }
  zelvo_test::GlTestContext gl{64, 64};
  TGLTwister tw{};
};

TEST_F(TwisterModel, UpdateCountsFramesAndKeepsTheLatestDivisorOnly) {
  tw.Update(5.0f);
  EXPECT_EQ(tw.Time, 1);
  EXPECT_EQ(tw.Frames, 5.0f);
  tw.Update(2.5f);
  EXPECT_EQ(tw.Time, 2);
  EXPECT_EQ(tw.Frames, 2.5f);
  // Update never touches the rings.
  for (int i = 0; i < 128; ++i) {
    EXPECT_EQ(tw.Twist[i], 0.0f);
    EXPECT_EQ(tw.Radius[i], 0.0f);
  }
}

TEST_F(TwisterModel, TimeWrapsToZeroInsteadOfOverflowing) {
  tw.Time = INT32_MAX - 1;
  tw.Update(5.0f);
  EXPECT_EQ(tw.Time, INT32_MAX);
  tw.Update(5.0f);
  EXPECT_EQ(tw.Time, 0);
  tw.Update(5.0f);
  EXPECT_EQ(tw.Time, 1);
  // And the animation goes on from its first frame.
  tw.AddParticle(0, 0, 0, 1, 5, 32, 4, 0, RecordModel);
  EXPECT_EQ(tw.Twist[0], 0.02f);
}

TEST_F(TwisterModel, FirstFrameDrawsOnTheAxisThenRefreshesTheTwist) {
  tw.Update(5.0f);
  tw.AddParticle(5, 0, 0, 1, 5, 32, 64, 14, RecordModel);
  ASSERT_EQ(g_calls.size(), 63u * 14u);
  for (size_t n = 0; n < g_calls.size(); ++n) {
    int i = static_cast<int>(n / 14);
    const Mat4& m = g_calls[n];
    EXPECT_NEAR(m.m[12], 5.0, 1e-6) << "call " << n;
    EXPECT_NEAR(m.m[13], 5.5 * i / 64, 1e-5) << "call " << n;
    EXPECT_NEAR(m.m[14], 0.0, 1e-6) << "call " << n;
  }
  for (int i = 0; i < 64; ++i) EXPECT_EQ(tw.Twist[i], 0.02f) << i;
  EXPECT_EQ(tw.Twist[64], 0.0f);
  EXPECT_EQ(tw.Rows, 64);
  EXPECT_EQ(tw.Columns, 14);
}

TEST_F(TwisterModel, RefreshGivesTheFunnelAndTheSwayOfTheAxis) {
  tw.Time = 50;
  tw.Frames = 5.0f;  // angle 1.0
  tw.AddParticle(0, 0, 0, 1, 5, 32, 64, 0, RecordModel);
  EXPECT_NEAR(tw.Radius[0], 5.0 / 37, 1e-6);
  EXPECT_NEAR(tw.Radius[0], 0.135135, 1e-6);
  EXPECT_NEAR(tw.Radius[63], 1.837838, 1e-6);
  EXPECT_NEAR(tw.Pos[0].X, 0.470620, 1e-6);
  EXPECT_NEAR(tw.Pos[0].Z, -0.000624, 1e-6);
  EXPECT_NEAR(tw.Pos[63].X, -0.037500, 1e-6);
  EXPECT_NEAR(tw.Pos[63].Z, -0.514097, 1e-6);
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(tw.Twist[i], 1.0f);
    EXPECT_EQ(tw.Pos[i].Y, 0.0f);
  }
  // Rnd is never written.
  for (int i = 0; i < 128; ++i)
    EXPECT_EQ(std::memcmp(&tw.Rnd[i], "\0\0\0\0\0\0\0\0\0\0\0\0", 12), 0);
}

TEST_F(TwisterModel, RingsBoundWhatIsDrawnAndWhatIsRefreshed) {
  FillSentinel(tw, 9.0f);
  tw.Time = 10;
  tw.Frames = 5.0f;
  tw.AddParticle(0, 0, 0, 1, 5, 32, 64, 3, RecordModel);
  EXPECT_EQ(g_calls.size(), 63u * 3u);
  EXPECT_NEAR(tw.Radius[63], 68.0 / 37, 1e-6);
  for (int i = 64; i < 128; ++i) {
    EXPECT_EQ(tw.Radius[i], 9.0f) << i;
    EXPECT_EQ(tw.Twist[i], 9.0f) << i;
    EXPECT_EQ(tw.Pos[i].X, 9.0f) << i;
  }

  // A later call with fewer rings and another funnel draws and refreshes only its own rings.
  g_calls.clear();
  tw.AddParticle(0, 0, 0, 1, 1, 1, 32, 2, RecordModel);
  ASSERT_EQ(g_calls.size(), 31u * 2u);
  EXPECT_NEAR(g_calls.back().m[13], 5.5 * 30 / 32, 1e-5);
  EXPECT_NEAR(tw.Radius[31], 32.0 / 2, 1e-6);
  EXPECT_NEAR(tw.Radius[32], 37.0 / 37, 1e-6);  // still from the first call
  EXPECT_NEAR(tw.Radius[63], 68.0 / 37, 1e-6);
}

TEST_F(TwisterModel, OneRingDrawsNothingButRefreshesRingZero) {
  FillSentinel(tw, 9.0f);
  tw.Update(5.0f);
  tw.AddParticle(0, 0, 0, 1, 5, 32, 1, 14, RecordModel);
  EXPECT_TRUE(g_calls.empty());
  EXPECT_EQ(tw.Twist[0], 0.02f);
  EXPECT_NEAR(tw.Radius[0], 5.0 / 37, 1e-6);
  EXPECT_EQ(tw.Twist[1], 9.0f);
}

TEST_F(TwisterModel, NoRingsDrawNothingAndRefreshNothingButStillSetTheCounts) {
  for (int rings : {0, -1, -64, INT_MIN}) {
    FillSentinel(tw, 9.0f);
    tw.Update(5.0f);
    tw.AddParticle(0, 0, 0, 1, 5, 32, rings, 14, RecordModel);
    EXPECT_TRUE(g_calls.empty()) << rings;
    EXPECT_EQ(tw.Rows, rings);
    EXPECT_EQ(tw.Columns, 14);
    EXPECT_EQ(tw.Twist[0], 9.0f) << rings;
    EXPECT_EQ(tw.Radius[0], 9.0f) << rings;
  }
}

TEST_F(TwisterModel, NoPointsDrawNothingButRefreshAllRings) {
  for (int points : {0, -1, INT_MIN}) {
    FillSentinel(tw, 9.0f);
    tw.Update(5.0f);
    tw.AddParticle(0, 0, 0, 1, 5, 32, 64, points, RecordModel);
    EXPECT_TRUE(g_calls.empty()) << points;
    EXPECT_EQ(tw.Columns, points);
    EXPECT_NEAR(tw.Radius[63], 68.0 / 37, 1e-6) << points;
    EXPECT_EQ(tw.Radius[64], 9.0f) << points;
  }
}

TEST_F(TwisterModel, TwoDrawsInOneFrameLeaveTheSameArraysAndTheSecondSeesTheFirst) {
  tw.Time = 49;
  tw.Frames = 5.0f;
  tw.AddParticle(0, 0, 0, 1, 5, 32, 64, 0, RecordModel);  // an earlier frame's rings
  tw.Update(5.0f);
  TGLTwister before = tw;
  before.Columns = 14;  // the counts the drawing call is about to set
  tw.AddParticle(0, 0, 0, 1, 5, 32, 64, 14, RecordModel);
  TGLTwister afterFirst = tw;
  // The first call drew with the earlier frame's rings.
  Vec3 p = RingPoint(before, 10, 3);
  EXPECT_NEAR(g_calls[10 * 14 + 3].m[12], p.x, 1e-5);
  EXPECT_NEAR(g_calls[10 * 14 + 3].m[14], p.z, 1e-5);

  g_calls.clear();
  tw.AddParticle(0, 0, 0, 1, 5, 32, 64, 14, RecordModel);
  EXPECT_EQ(std::memcmp(&afterFirst, &tw, sizeof tw), 0);
  // The second drew with the rings the first refreshed.
  p = RingPoint(afterFirst, 10, 3);
  EXPECT_NEAR(g_calls[10 * 14 + 3].m[12], p.x, 1e-5);
  EXPECT_NEAR(g_calls[10 * 14 + 3].m[14], p.z, 1e-5);
  Vec3 old = RingPoint(before, 10, 3);
  EXPECT_GT(std::abs(p.x - old.x) + std::abs(p.z - old.z), 1e-3);
}

TEST_F(TwisterModel, TwoUpdatesWithoutDrawingAdvanceTwoSteps) {
  tw.Update(5.0f);
  tw.AddParticle(0, 0, 0, 1, 5, 32, 64, 0, RecordModel);
  TGLTwister drawn = tw;
  tw.Update(5.0f);
  tw.Update(5.0f);
  // The arrays stay as they were until the next draw.
  EXPECT_EQ(
      std::memcmp(&drawn.Twist, &tw.Twist, sizeof tw.Twist + sizeof tw.Radius + sizeof tw.Pos), 0);
  tw.AddParticle(0, 0, 0, 1, 5, 32, 64, 0, RecordModel);
  EXPECT_EQ(tw.Twist[0], static_cast<float>(3 / 50.0));
}

TEST_F(TwisterModel, AddParticleWalksRingThenPointAndRestoresTheMatrix) {
  PrepareRings(tw, 50, 5.0f, 5, 32, 64);
  // A non-trivial caller frame: the walk must be relative to it.
  glTranslatef(1, 2, -3);
  glRotatef(30, 0, 1, 0);
  Mat4 base = Mat4::FromGL(GL_MODELVIEW_MATRIX);
  TGLTwister drawnWith = tw;
  drawnWith.Rows = 64;
  drawnWith.Columns = 14;

  tw.AddParticle(5, 1, 2, 2.0f, 5, 32, 64, 14, RecordModel);
  ASSERT_EQ(g_calls.size(), 882u);
  for (int i = 0; i < 63; ++i)
    for (int j = 0; j < 14; ++j) {
      Vec3 p = RingPoint(drawnWith, i, j);
      double s = i / 32.0 / 1.5;
      Mat4 expect = base * Mat4::Translate(5, 1, 2) * Mat4::Scale(2.0) *
                    Mat4::Translate(p.x, p.y, p.z) * Mat4::Scale(s);
      const Mat4& got = g_calls[i * 14 + j];
      for (int e = 0; e < 16; ++e)
        ASSERT_NEAR(got.m[e], expect.m[e], 1e-4)
            << "ring " << i << " point " << j << " element " << e;
    }
  Mat4 after = Mat4::FromGL(GL_MODELVIEW_MATRIX);
  for (int e = 0; e < 16; ++e) EXPECT_EQ(after.m[e], base.m[e]);
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
}

TEST_F(TwisterModel, AddParticleWithoutAModelDrawsNothingAndStillRefreshes) {
  tw.Update(5.0f);
  tw.AddParticle(0, 0, 0, 1, 5, 32, 64, 14, nullptr);
  EXPECT_EQ(tw.Twist[63], 0.02f);
}

TEST(TwisterModelDeath, MoreThan128RingsIsARangeError) {
  EXPECT_EXIT(
      {
        zelvo_test::GlTestContext gl(16, 16);
        static TGLTwister t;
        t.Update(5.0f);
        t.AddParticle(0, 0, 0, 1, 5, 32, 129, 0, nullptr);
      },
      ::testing::ExitedWithCode(2), "index 128 is outside TGLTwister\\.");
  EXPECT_EXIT(
      {
        zelvo_test::GlTestContext gl(16, 16);
        static TGLTwister t;
        t.Update(5.0f);
        t.AddParticle(0, 0, 0, 1, 5, 32, 200, 3, RecordModel);
      },
      ::testing::ExitedWithCode(2), "index 128 is outside TGLTwister");
}

TEST_F(TwisterModel, ExactlyOneHundredTwentyEightRingsIsFine) {
  tw.Update(5.0f);
  tw.AddParticle(0, 0, 0, 1, 5, 32, 128, 1, RecordModel);
  EXPECT_EQ(g_calls.size(), 127u);
  EXPECT_EQ(tw.Twist[127], 0.02f);
}

}  // namespace
