#include <gtest/gtest.h>

#include <cmath>

#include "Zelvo.h"
#include "gl_test_context.h"

namespace {

using zelvo_test::capture_feedback;
using zelvo_test::GlTestContext;

GLint GetInt(GLenum name) {
  GLint v = 0;
  glGetIntegerv(name, &v);
  return v;
}

class RenderStates : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gl.ok()); }
  void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }
  GlTestContext gl{200, 200};
};

TEST_F(RenderStates, TwoSidedLightingSwitchesOnAndOff) {
  EXPECT_EQ(GetInt(GL_LIGHT_MODEL_TWO_SIDE), 0);
  TwoSideOn();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_EQ(GetInt(GL_LIGHT_MODEL_TWO_SIDE), 1);
  TwoSideOff();
  EXPECT_EQ(GetInt(GL_LIGHT_MODEL_TWO_SIDE), 0);
}

TEST_F(RenderStates, RefractiveCullsBackFacesAndLeavesShadingAlone) {
  glCullFace(GL_FRONT);
  glFrontFace(GL_CW);
  glShadeModel(GL_FLAT);
  SetGLRefractive();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_EQ(GetInt(GL_CULL_FACE_MODE), GL_BACK);
  EXPECT_EQ(GetInt(GL_FRONT_FACE), GL_CCW);
  EXPECT_EQ(GetInt(GL_SHADE_MODEL), GL_FLAT);
}

TEST_F(RenderStates, SpriteAlphaTestAndItsReset) {
  glDepthMask(GL_FALSE);
  glEnable(GL_BLEND);
  SetGLSprite();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_EQ(GetInt(GL_ALPHA_TEST_FUNC), GL_GREATER);
  GLfloat ref = 0;
  glGetFloatv(GL_ALPHA_TEST_REF, &ref);
  EXPECT_FLOAT_EQ(ref, 0.4f);
  // The sprite preset touches neither blending nor depth writes.
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(GetInt(GL_DEPTH_WRITEMASK), GL_FALSE);

  SetGLSpriteOff();
  EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(GetInt(GL_DEPTH_WRITEMASK), GL_TRUE);
}

TEST_F(RenderStates, SpriteResetAlsoWorksFromTheDefaultState) {
  SetGLSpriteOff();
  EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(GetInt(GL_DEPTH_WRITEMASK), GL_TRUE);
}

// Fragments at exactly 0.4 alpha are discarded, those above pass.
TEST_F(RenderStates, SpriteDiscardsNearlyTransparentPixels) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glViewport(0, 0, 200, 200);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  SetGLSprite();
  glBegin(GL_QUADS);
  glColor4f(1, 0, 0, 0.4f);  // left half: at the threshold
  glVertex2f(-1, -1);
  glVertex2f(0, -1);
  glVertex2f(0, 1);
  glVertex2f(-1, 1);
  glColor4f(0, 1, 0, 0.6f);  // right half: above it
  glVertex2f(0, -1);
  glVertex2f(1, -1);
  glVertex2f(1, 1);
  glVertex2f(0, 1);
  glEnd();
  SetGLSpriteOff();
  auto px = gl.read_pixels();
  const size_t left = (100 * 200 + 50) * 4, right = (100 * 200 + 150) * 4;
  EXPECT_EQ(px[left], 0);
  EXPECT_EQ(px[right + 1], 255);
}

class Lights : public RenderStates {
 protected:
  void SetUp() override {
    RenderStates::SetUp();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }
  static void ExpectLight(GLenum light, GLenum what, float a, float b, float c, float d) {
    GLfloat v[4] = {-9, -9, -9, -9};
    glGetLightfv(light, what, v);
    EXPECT_NEAR(v[0], a, 1e-5) << what;
    EXPECT_NEAR(v[1], b, 1e-5) << what;
    EXPECT_NEAR(v[2], c, 1e-5) << what;
    EXPECT_NEAR(v[3], d, 1e-5) << what;
  }
};

TEST_F(Lights, SetGLLightGivesColoursEnablesAndPlacesInEyeSpace) {
  EXPECT_FLOAT_EQ(AmbientLight[0], 0.5f);
  EXPECT_FLOAT_EQ(AmbientLight[3], 1.0f);
  EXPECT_FLOAT_EQ(DiffuseLight[1], 1.0f);
  EXPECT_FLOAT_EQ(SpecularLight[2], 1.0f);

  glTranslatef(1, 2, 3);
  SetGLLight(GL_LIGHT1, 0, 0, 0, 0.1f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
  ExpectLight(GL_LIGHT1, GL_AMBIENT, 0.5f, 0.5f, 0.5f, 1.0f);
  ExpectLight(GL_LIGHT1, GL_DIFFUSE, 1, 1, 1, 1);
  ExpectLight(GL_LIGHT1, GL_SPECULAR, 1, 1, 1, 1);
  // GL stores the position multiplied by the model-view matrix: (0, 0, 0, w) + w * (1, 2, 3).
  ExpectLight(GL_LIGHT1, GL_POSITION, 0.1f, 0.2f, 0.3f, 0.1f);
  EXPECT_FLOAT_EQ(LightPosition[0], 0.0f);
  EXPECT_FLOAT_EQ(LightPosition[3], 0.1f);
}

TEST_F(Lights, DirectionalLightIsRotatedNotTranslated) {
  glTranslatef(5, 5, 5);
  glRotatef(90, 0, 0, 1);  // x axis onto y axis
  SetGLLight(GL_LIGHT0, 1, 0, 0, 0);
  ExpectLight(GL_LIGHT0, GL_POSITION, 0, 1, 0, 0);
}

TEST_F(Lights, ColourChangesNeedAnotherSetGLLight) {
  SetGLLight(GL_LIGHT2, 0, 0, 1, 0);
  const GLfloat saved = AmbientLight[1];
  AmbientLight[1] = 0.25f;
  ExpectLight(GL_LIGHT2, GL_AMBIENT, 0.5f, 0.5f, 0.5f, 1.0f);
  SetGLLight(GL_LIGHT2, 0, 0, 1, 0);
  ExpectLight(GL_LIGHT2, GL_AMBIENT, 0.5f, 0.25f, 0.5f, 1.0f);
  AmbientLight[1] = saved;
}

TEST_F(Lights, PutGLPointLightWithoutMarkerOnlyMovesTheLight) {
  const GLfloat red[4] = {1, 0, 0, 1};
  glLightfv(GL_LIGHT3, GL_DIFFUSE, red);
  glPointSize(3);
  glScalef(2, 2, 2);
  auto prims = capture_feedback([] { PutGLPointLight(GL_LIGHT3, 0, 0, 10, -5, 0.1f); });
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_TRUE(prims.empty());
  ExpectLight(GL_LIGHT3, GL_POSITION, 0, 20, -10, 0.1f);
  ExpectLight(GL_LIGHT3, GL_DIFFUSE, 1, 0, 0, 1);  // colours untouched
  EXPECT_FALSE(glIsEnabled(GL_LIGHT3));            // and so is the enabled state
  GLfloat size = 0;
  glGetFloatv(GL_POINT_SIZE, &size);
  EXPECT_FLOAT_EQ(size, 3.0f);
  EXPECT_FLOAT_EQ(LightPosition[1], 10.0f);
  EXPECT_FLOAT_EQ(LightPosition[2], -5.0f);
  EXPECT_FLOAT_EQ(LightPosition[3], 0.1f);
}

TEST_F(Lights, PutGLPointLightWithSizeDrawsOnePointAtTheUndividedPosition) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glViewport(0, 0, 200, 200);
  glNormal3f(1, 0, 0);
  // W = 0.5 would put the light at twice the coordinates; the marker ignores W.
  auto prims = capture_feedback([] { PutGLPointLight(GL_LIGHT0, 5, 0.5f, -0.25f, 0, 0.5f); });
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  ASSERT_EQ(prims.size(), 1u);
  EXPECT_EQ(prims[0].type, static_cast<GLenum>(GL_POINT_TOKEN));
  ASSERT_EQ(prims[0].vertices.size(), 1u);
  EXPECT_NEAR(prims[0].vertices[0].x, 150.0f, 1e-3);  // (0.5 + 1) / 2 * 200
  EXPECT_NEAR(prims[0].vertices[0].y, 75.0f, 1e-3);   // (-0.25 + 1) / 2 * 200
  GLfloat size = 0, normal[3] = {};
  glGetFloatv(GL_POINT_SIZE, &size);
  glGetFloatv(GL_CURRENT_NORMAL, normal);
  EXPECT_FLOAT_EQ(size, 5.0f);
  EXPECT_FLOAT_EQ(normal[0], 0.0f);
  EXPECT_FLOAT_EQ(normal[1], 0.0f);
  EXPECT_FLOAT_EQ(normal[2], 1.0f);
  ExpectLight(GL_LIGHT0, GL_POSITION, 0.5f, -0.25f, 0, 0.5f);
}

}  // namespace
