// The billboard scale flag in its one direction: on at start, off for good after
// LockViewModelScaleOff. Kept in its own program so that other tests see the initial value.
#include "billboard_fixture.h"

namespace {

using billboard_test::Billboard;
using billboard_test::Corners;
using billboard_test::ExpectScreenSquare;
using billboard_test::EyeOf;
using billboard_test::EyePoint;

void DrawUnitCell() {
  LockViewModelBegin(0.5f, -0.5f, 0.25f);
  FindCharacter(0, 0, 0, 0, 1, 1, 8, 4);
  LockViewModelEnd();
}

TEST_F(Billboard, ScaleOffTurnsTheTenthScaleOffForGood) {
  ASSERT_TRUE(LockViewModelScale);
  ExpectScreenSquare(Corners(DrawUnitCell), {0.5, -0.5, 0.25, 0, 0}, 0.1);  // 0.2 x 0.2

  LockViewModelScaleOff();
  EXPECT_FALSE(LockViewModelScale);
  ExpectScreenSquare(Corners(DrawUnitCell), {0.5, -0.5, 0.25, 0, 0}, 1.0);  // 2 x 2

  LockViewModelScaleOff();  // switching it off again changes nothing
  EXPECT_FALSE(LockViewModelScale);

  // Without the tenth, rotation and scaling of the caller still leave the size alone.
  glRotatef(60, 0, 1, 1);
  glScalef(3, 3, 3);
  const EyePoint anchor = EyeOf(0.5, -0.5, 0.25);
  ExpectScreenSquare(Corners(DrawUnitCell), anchor, 1.0);
}

}  // namespace
