#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "Zelvo.h"
#include "gl_test_context.h"

namespace {

using zelvo_test::GlTestContext;

GLint GetInt(GLenum name) {
  GLint v = 0;
  glGetIntegerv(name, &v);
  return v;
}

void ExpectMatrix(GLenum which, const double (&expected)[16], double tolerance) {
  GLdouble m[16];
  glGetDoublev(which, m);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], tolerance) << "element " << i;
}

// Column-major perspective of the given vertical field of view, as the fixed pipeline defines it.
void Perspective(double fovy_degrees, double aspect, double znear, double zfar, double (&m)[16]) {
  const double f = 1.0 / std::tan(fovy_degrees * std::numbers::pi / 360.0);
  for (double& e : m) e = 0;
  m[0] = f / aspect;
  m[5] = f;
  m[10] = (zfar + znear) / (znear - zfar);
  m[11] = -1;
  m[14] = 2 * zfar * znear / (znear - zfar);
}

void Ortho(double l, double r, double b, double t, double n, double f, double (&m)[16]) {
  for (double& e : m) e = 0;
  m[0] = 2 / (r - l);
  m[5] = 2 / (t - b);
  m[10] = -2 / (f - n);
  m[12] = -(r + l) / (r - l);
  m[13] = -(t + b) / (t - b);
  m[14] = -(f + n) / (f - n);
  m[15] = 1;
}

constexpr double kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

class Projection : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok());
    Width = 800;
    Height = 600;
  }
  void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }
  GlTestContext gl{800, 600};
};

TEST_F(Projection, InitSetsUpThePerspectiveAndTheDefaultStates) {
  glMatrixMode(GL_PROJECTION);
  glTranslatef(3, 3, 3);  // rubbish that must be replaced, not multiplied
  glMatrixMode(GL_MODELVIEW);
  glRotatef(20, 0, 0, 1);
  glColor4f(0.1f, 0.2f, 0.3f, 0.4f);

  OpenGL_Init(100, 0, 0, 0, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  double expected[16];
  Perspective(45, 800.0 / 600.0, 0.1, 100, expected);
  ExpectMatrix(GL_PROJECTION_MATRIX, expected, 1e-6);
  ExpectMatrix(GL_MODELVIEW_MATRIX, kIdentity, 0);
  EXPECT_EQ(GetInt(GL_MATRIX_MODE), GL_MODELVIEW);

  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 0);
  EXPECT_EQ(viewport[1], 0);
  EXPECT_EQ(viewport[2], 800);
  EXPECT_EQ(viewport[3], 600);

  GLfloat clear[4] = {-1, -1, -1, -1}, depth = 0, colour[4] = {};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
  glGetFloatv(GL_CURRENT_COLOR, colour);
  for (float c : clear) EXPECT_EQ(c, 0.0f);
  EXPECT_EQ(depth, 1.0f);  // 100 clamped
  EXPECT_FLOAT_EQ(colour[0], 1.0f);
  EXPECT_FLOAT_EQ(colour[1], 1.0f);
  EXPECT_FLOAT_EQ(colour[2], 1.0f);
  EXPECT_FLOAT_EQ(colour[3], 0.5f);

  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(GetInt(GL_DEPTH_FUNC), GL_LEQUAL);
  EXPECT_EQ(GetInt(GL_BLEND_SRC), GL_SRC_ALPHA);
  EXPECT_EQ(GetInt(GL_BLEND_DST), GL_ONE);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));  // factors only
  EXPECT_EQ(GetInt(GL_LIGHT_MODEL_LOCAL_VIEWER), 1);
  EXPECT_EQ(GetInt(GL_LINE_SMOOTH_HINT), GL_NICEST);
  EXPECT_EQ(GetInt(GL_POLYGON_SMOOTH_HINT), GL_NICEST);
  EXPECT_EQ(GetInt(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
  EXPECT_TRUE(glIsEnabled(GL_AUTO_NORMAL));
  EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
}

TEST_F(Projection, InitHandsTheClearColourOverInRgbaOrder) {
  OpenGL_Init(0.5, 0.25, 0.5, 0.75, 1.0);  // alpha comes first in the parameters
  GLfloat clear[4], depth = 0;
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
  EXPECT_FLOAT_EQ(clear[0], 0.5f);
  EXPECT_FLOAT_EQ(clear[1], 0.75f);
  EXPECT_FLOAT_EQ(clear[2], 1.0f);
  EXPECT_FLOAT_EQ(clear[3], 0.25f);
  EXPECT_FLOAT_EQ(depth, 0.5f);  // a far plane below 1 is also the clear depth
  double expected[16];
  Perspective(45, 800.0 / 600.0, 0.1, 0.5, expected);
  ExpectMatrix(GL_PROJECTION_MATRIX, expected, 1e-6);
}

TEST_F(Projection, InitFollowsWidthAndHeightNotTheWindow) {
  Width = 600;
  Height = 800;
  OpenGL_Init(100, 0, 0, 0, 0);
  double expected[16];
  Perspective(45, 0.75, 0.1, 100, expected);
  ExpectMatrix(GL_PROJECTION_MATRIX, expected, 1e-6);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 600);
  EXPECT_EQ(viewport[3], 800);
}

TEST_F(Projection, OverlayOnAWideWindow) {
  glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
  glBlendFunc(GL_ONE, GL_ZERO);
  OpenGL_I2D(1, 0.25f, 0.5f, 0.75f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  double expected[16];
  Ortho(-2, 2, -1.5, 1.5, -2, 2, expected);
  ExpectMatrix(GL_PROJECTION_MATRIX, expected, 1e-6);  // GL keeps singles
  ExpectMatrix(GL_MODELVIEW_MATRIX, kIdentity, 0);
  EXPECT_FLOAT_EQ(OffX, -2.05f);
  EXPECT_FLOAT_EQ(OffY, -1.45f);
  GLfloat clear[4], colour[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(clear[0], 0.25f);
  EXPECT_FLOAT_EQ(clear[3], 1.0f);
  // The colour and blend factors are the caller's.
  EXPECT_FLOAT_EQ(colour[0], 0.1f);
  EXPECT_FLOAT_EQ(colour[3], 0.4f);
  EXPECT_EQ(GetInt(GL_BLEND_SRC), GL_ONE);
  EXPECT_EQ(GetInt(GL_BLEND_DST), GL_ZERO);
  EXPECT_FALSE(glIsEnabled(GL_AUTO_NORMAL));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(GetInt(GL_DEPTH_FUNC), GL_LEQUAL);
  EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 800);
  EXPECT_EQ(viewport[3], 600);
}

TEST_F(Projection, OverlayOnATallWindow) {
  Width = 600;
  Height = 800;
  OpenGL_I2D(0, 0, 0, 0);
  double expected[16];
  Ortho(-2, 2, -1600.0 / 600.0, 1600.0 / 600.0, -2, 2, expected);
  ExpectMatrix(GL_PROJECTION_MATRIX, expected, 1e-6);  // GL keeps singles
  EXPECT_FLOAT_EQ(OffX, -1.05f);
  EXPECT_FLOAT_EQ(OffY, -0.45f);
}

TEST_F(Projection, InitAfterOverlayRestoresTheFullThreeDimensionalSetUp) {
  OpenGL_I2D(0, 0, 0, 0);
  OpenGL_Init(100, 0, 0, 0, 0);
  double expected[16];
  Perspective(45, 800.0 / 600.0, 0.1, 100, expected);
  ExpectMatrix(GL_PROJECTION_MATRIX, expected, 1e-6);
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[3], 0.5f);
}

TEST(ProjectionDeathTest, OverlayWithZeroWidthIsARunTimeError) {
  Width = 0;
  Height = 600;
  EXPECT_EXIT(OpenGL_I2D(0, 0, 0, 0), testing::ExitedWithCode(2), "OpenGL_I2D");
}

}  // namespace
