// The billboard bracket with its 1/10 scale still on (the flag's initial value), and sheet cells.
#include "billboard_fixture.h"

namespace {

using billboard_test::Billboard;
using billboard_test::Corners;
using billboard_test::ExpectScreenSquare;
using billboard_test::EyeOf;
using billboard_test::EyePoint;

void DrawCell(float x, float y, float z) {
  LockViewModelBegin(x, y, z);
  FindCharacter(0, 0, 0, 0, 1, 1, 8, 4);
  LockViewModelEnd();
}

TEST_F(Billboard, ScaleFlagStartsOn) { EXPECT_TRUE(LockViewModelScale); }

TEST_F(Billboard, QuadStaysParallelToTheScreenUnderRotation) {
  for (float angle : {0.0f, 30.0f, 90.0f, 135.0f, 180.0f, 250.0f}) {
    glLoadIdentity();
    glTranslatef(0.5f, -0.25f, 0.5f);
    glRotatef(angle, 1, 1, 0.5f);
    const EyePoint anchor = EyeOf(1.0, 0.5, -0.75);
    ExpectScreenSquare(Corners([] { DrawCell(1.0f, 0.5f, -0.75f); }), anchor, 0.1);
  }
}

TEST_F(Billboard, ScalingMovesTheAnchorButNotTheSize) {
  const auto plain = Corners([] { DrawCell(0.5f, 0.25f, 0); });
  ExpectScreenSquare(plain, {0.5, 0.25, 0, 0, 0}, 0.1);
  glScalef(2, 2, 2);
  const auto scaled = Corners([] { DrawCell(0.5f, 0.25f, 0); });
  ExpectScreenSquare(scaled, {1.0, 0.5, 0, 0, 0}, 0.1);
}

TEST_F(Billboard, FrontFaceLooksAtTheViewerEvenFromBehind) {
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glRotatef(180, 0, 1, 0);  // a plain quad would now show its back and be culled
  EXPECT_TRUE(Corners([] { FindCharacter(0, 0, 0, 0, 1, 1, 8, 4); }).empty());
  EXPECT_EQ(Corners([] { DrawCell(0, 0, 0); }).size(), 4u);
}

TEST_F(Billboard, EndRestoresTheModelViewMatrixExactly) {
  glTranslatef(0.3f, -0.7f, 1.1f);
  glRotatef(37, 0.2f, 1, 0.4f);
  glScalef(1.5f, 0.5f, 2.0f);
  GLfloat before[16], inside[16], after[16];
  GLint depth_before = 0, depth_inside = 0, depth_after = 0;
  glGetFloatv(GL_MODELVIEW_MATRIX, before);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_before);
  LockViewModelBegin(0.25f, 0.5f, -0.5f);
  glGetFloatv(GL_MODELVIEW_MATRIX, inside);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_inside);
  FindCharacter(0.5f, 0.5f, 1, 2, 0.3f, 0.3f, 8, 4);
  LockViewModelEnd();
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_after);
  EXPECT_EQ(depth_inside, depth_before + 2);
  EXPECT_EQ(depth_after, depth_before);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], before[i]) << i;
  // Inside: the rotation block is 1/10 of the identity, the translation the anchor's eye position.
  const EyePoint anchor = EyeOf(0.25, 0.5, -0.5);
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 3; ++r) EXPECT_FLOAT_EQ(inside[c * 4 + r], c == r ? 0.1f : 0.0f);
  EXPECT_NEAR(inside[12], anchor.x, 1e-5);
  EXPECT_NEAR(inside[13], anchor.y, 1e-5);
  EXPECT_NEAR(inside[14], anchor.z, 1e-5);
  EXPECT_FLOAT_EQ(inside[15], 1.0f);
}

struct Expected {
  double x, y, s, t;
};

void ExpectCorners(const std::vector<EyePoint>& corners, const std::vector<Expected>& expected) {
  ASSERT_EQ(corners.size(), expected.size());
  for (const auto& e : expected) {
    bool found = false;
    for (const auto& c : corners)
      if (std::abs(c.x - e.x) < 1e-4 && std::abs(c.y - e.y) < 1e-4) {
        found = true;
        EXPECT_NEAR(c.s, e.s, 1e-6) << "corner " << e.x << ", " << e.y;
        EXPECT_NEAR(c.t, e.t, 1e-6) << "corner " << e.x << ", " << e.y;
        EXPECT_NEAR(c.z, 0.0, 1e-5);
      }
    EXPECT_TRUE(found) << "corner " << e.x << ", " << e.y;
  }
}

TEST_F(Billboard, TopLeftCellOfAnEightByFourSheet) {
  ExpectCorners(Corners([] { FindCharacter(0, 0, 0, 0, 1, 1, 8, 4); }),
                {{-1, -1, 0, 0.75}, {1, -1, 0.125, 0.75}, {1, 1, 0.125, 1}, {-1, 1, 0, 1}});
}

TEST_F(Billboard, CellsBeyondTheGridRunOutsideTheUnitSquare) {
  ExpectCorners(
      Corners([] { FindCharacter(0, 0, 9, 5, 1, 1, 8, 4); }),
      {{-1, -1, 1.125, -0.5}, {1, -1, 1.25, -0.5}, {1, 1, 1.25, -0.25}, {-1, 1, 1.125, -0.25}});
}

TEST_F(Billboard, CellIsPlacedAtItsCentreWithItsHalfSizesAndFractionalIndex) {
  GLfloat before[16], after[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, before);
  ExpectCorners(
      Corners([] { FindCharacter(1.5f, -0.5f, 2.5f, 1, 0.5f, 0.25f, 4, 2); }),
      {{1, -0.75, 0.625, 0}, {2, -0.75, 0.875, 0}, {2, -0.25, 0.875, 0.5}, {1, -0.25, 0.625, 0.5}});
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], before[i]) << i;
}

TEST_F(Billboard, ZeroWidthCellHasNoArea) {
  const auto corners = Corners([] { FindCharacter(0, 0, 0, 0, 0, 1, 8, 4); });
  ASSERT_FALSE(corners.empty());
  for (const auto& c : corners) EXPECT_NEAR(c.x, 0.0, 1e-4);
}

}  // namespace
