#include <gtest/gtest.h>

#include "gl_test_context.h"

// The support context itself must work, or every rendering test below it means nothing.
TEST(GlTestContext, ClearsAndReadsBackAndCapturesFeedback) {
  zelvo_test::GlTestContext gl(64, 32);
  ASSERT_TRUE(gl.ok());
  glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  auto pixels = gl.read_pixels();
  ASSERT_EQ(pixels.size(), 64u * 32u * 4u);
  EXPECT_EQ(pixels[0], 255);
  EXPECT_EQ(pixels[1], 0);

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  auto prims = zelvo_test::capture_feedback([] {
    glBegin(GL_TRIANGLES);
    glTexCoord2f(0.25f, 0.5f);
    glVertex3f(0, 0, 0);
    glVertex3f(0.5f, 0, 0);
    glVertex3f(0, 0.5f, 0);
    glEnd();
  });
  ASSERT_EQ(prims.size(), 1u);
  EXPECT_EQ(prims[0].type, static_cast<GLenum>(GL_POLYGON_TOKEN));
  ASSERT_EQ(prims[0].vertices.size(), 3u);
  EXPECT_FLOAT_EQ(prims[0].vertices[0].x, 32.0f);
  EXPECT_FLOAT_EQ(prims[0].vertices[0].s, 0.25f);
}
