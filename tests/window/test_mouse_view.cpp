// The mouse-driven view on a real GL context: the model-view matrix after SetGLMouseMove is
// compared with the same translation and rotations composed by hand in plain arithmetic.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "Zelvo.h"
#include "gl_test_context.h"

namespace {

using Mat = std::array<double, 16>;  // column-major, as GL keeps it

Mat identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Mat multiply(const Mat& a, const Mat& b) {
  Mat out{};
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) {
      double s = 0;
      for (int k = 0; k < 4; ++k) s += a[k * 4 + r] * b[c * 4 + k];
      out[c * 4 + r] = s;
    }
  return out;
}

Mat translation(double x, double y, double z) {
  Mat m = identity();
  m[12] = x;
  m[13] = y;
  m[14] = z;
  return m;
}

// Right-handed rotation by `degrees` about the axis (x, y, z), which is normalised first.
Mat rotation(double degrees, double x, double y, double z) {
  const double len = std::sqrt(x * x + y * y + z * z);
  x /= len;
  y /= len;
  z /= len;
  const double a = degrees * std::numbers::pi / 180, c = std::cos(a), s = std::sin(a), t = 1 - c;
  Mat m = identity();
  m[0] = t * x * x + c;
  m[1] = t * x * y + s * z;
  m[2] = t * x * z - s * y;
  m[4] = t * x * y - s * z;
  m[5] = t * y * y + c;
  m[6] = t * y * z + s * x;
  m[8] = t * x * z + s * y;
  m[9] = t * y * z - s * x;
  m[10] = t * z * z + c;
  return m;
}

Mat model_view() {
  GLfloat f[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, f);
  Mat m;
  for (int i = 0; i < 16; ++i) m[i] = f[i];
  return m;
}

void expect_near(const Mat& got, const Mat& want) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(got[i], want[i], 1e-4) << "element " << i;
}

class MouseView : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    XRot = 30;
    YRot = -50;
    Depth = 4;
    MSpeed = 0;
    My = {9, 9, 9};
  }
  zelvo_test::GlTestContext gl{64, 64};
};

TEST_F(MouseView, EachModeTranslatesAndTurnsAboutItsOwnAxes) {
  struct Case {
    int32_t mode;
    Mat want;
    TGLVertex my;
  };
  // d = -Depth = -4
  const Case cases[] = {
      {GL_M0,
       multiply(multiply(translation(0, 0, -4), rotation(30, 1, 0, 0)), rotation(-50, 0, 1, 0)),
       {0, 0, -4}},
      {GL_MX,
       multiply(multiply(translation(0, -4, 0), rotation(30, 1, 0, 0)), rotation(-50, 0, 0, 1)),
       {0, -4, 0}},
      {GL_MY,
       multiply(multiply(translation(-4, 0, 0), rotation(30, 0, 0, -1)), rotation(-50, 0, 1, 0)),
       {-4, 0, 0}},
      {GL_MZ,
       multiply(multiply(translation(0, 0, -4), rotation(30, 0, 1, 0)), rotation(-50, 1, 0, 0)),
       {0, 0, -4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    glLoadIdentity();
    SetGLMouseMove(c.mode, 2);
    expect_near(model_view(), c.want);
    EXPECT_EQ(MSpeed, 2);
    EXPECT_FLOAT_EQ(My.X, c.my.X);
    EXPECT_FLOAT_EQ(My.Y, c.my.Y);
    EXPECT_FLOAT_EQ(My.Z, c.my.Z);
  }
}

TEST_F(MouseView, MultipliesOntoTheCurrentMatrixAndAccumulatesOverTwoCalls) {
  const Mat camera = multiply(translation(0, 0, -20), rotation(25, 1, 0, 0));
  glTranslatef(0, 0, -20);
  glRotatef(25, 1, 0, 0);
  const Mat once =
      multiply(multiply(translation(0, 0, -4), rotation(30, 1, 0, 0)), rotation(-50, 0, 1, 0));
  SetGLMouseMove(GL_M0, 2);
  expect_near(model_view(), multiply(camera, once));
  SetGLMouseMove(GL_M0, 2);
  expect_near(model_view(), multiply(multiply(camera, once), once));
}

TEST_F(MouseView, ZeroDepthOnlyRotates) {
  Depth = 0;
  SetGLMouseMove(GL_M0, 2);
  expect_near(model_view(), multiply(rotation(30, 1, 0, 0), rotation(-50, 0, 1, 0)));
  EXPECT_FLOAT_EQ(My.Z, 0);
}

TEST_F(MouseView, UnknownModeOnlySetsTheSpeed) {
  glTranslatef(1, 2, 3);
  const Mat before = model_view();
  SetGLMouseMove(7, 5);
  expect_near(model_view(), before);
  EXPECT_EQ(MSpeed, 5);
  EXPECT_FLOAT_EQ(My.X, 9);
  EXPECT_FLOAT_EQ(My.Y, 9);
  EXPECT_FLOAT_EQ(My.Z, 9);
  SetGLMouseMove(-1, 0);
  EXPECT_EQ(MSpeed, 0);
  expect_near(model_view(), before);
}

}  // namespace
