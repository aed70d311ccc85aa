#include <gtest/gtest.h>

#include <cmath>

#include "Zelvo.h"

namespace {

void ExpectNormal(double x, double y, double z) {
  EXPECT_NEAR(FNormal[1], x, 1e-6);
  EXPECT_NEAR(FNormal[2], y, 1e-6);
  EXPECT_NEAR(FNormal[3], z, 1e-6);
}

double Length() {
  return std::sqrt(FNormal[1] * FNormal[1] + FNormal[2] * FNormal[2] + FNormal[3] * FNormal[3]);
}

TEST(FindNormal, CounterClockwiseTrianglePointsTowardsViewer) {
  FindNormal(0, 0, 0, 1, 0, 0, 0, 1, 0);
  ExpectNormal(0, 0, 1);
  FindNormal(0, 0, 0, 0, 1, 0, 1, 0, 0);  // V2 and V3 swapped
  ExpectNormal(0, 0, -1);
}

TEST(FindNormal, ResultIsUnitWhateverTheTriangleSize) {
  FindNormal(0, 0, 0, 2, 0, 0, 2, 3, 0);
  ExpectNormal(0, 0, 1);
  FindNormal(0, 0, 0, 1000, 0, 0, 0, 0, 1000);  // in the x-z plane, counter-clockwise from -y
  ExpectNormal(0, -1, 0);
  FindNormal(1e-3, 0, 0, 0, 1e-3, 0, 0, 0, 1e-3);  // tilted and tiny
  const double c = 1.0 / std::sqrt(3.0);
  ExpectNormal(c, c, c);
  EXPECT_NEAR(Length(), 1.0, 1e-6);
}

TEST(FindNormal, MatchesCrossProductOfEdgesForAGeneralTriangle) {
  const double v1[3] = {1.5, -2.0, 0.25}, v2[3] = {3.0, 1.0, -1.0}, v3[3] = {-0.5, 2.5, 4.0};
  FindNormal(v1[0], v1[1], v1[2], v2[0], v2[1], v2[2], v3[0], v3[1], v3[2]);
  const double a[3] = {v2[0] - v1[0], v2[1] - v1[1], v2[2] - v1[2]};
  const double b[3] = {v3[0] - v1[0], v3[1] - v1[1], v3[2] - v1[2]};
  double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  ExpectNormal(n[0] / len, n[1] / len, n[2] / len);
}

TEST(FindNormal, DegenerateTrianglesGiveTheZeroVector) {
  FindNormal(0, 0, 0, 1, 0, 0, 0, 1, 0);  // leave a non-zero result behind first
  FindNormal(0, 0, 0, 1, 1, 1, 2, 2, 2);  // collinear
  EXPECT_EQ(FNormal[1], 0.0);
  EXPECT_EQ(FNormal[2], 0.0);
  EXPECT_EQ(FNormal[3], 0.0);
  FindNormal(0, 1, 0, 1, 0, 0, 0, 0, 1);
  FindNormal(5, 5, 5, 5, 5, 5, 5, 5, 5);  // coincident
  EXPECT_EQ(FNormal[1], 0.0);
  EXPECT_EQ(FNormal[2], 0.0);
  EXPECT_EQ(FNormal[3], 0.0);
  EXPECT_FALSE(std::isnan(FNormal[1]));
}

TEST(FindNormalDeathTest, IndexOutsideOneToThreeIsARunTimeError) {
  EXPECT_EXIT(
      {
        volatile double x = FNormal[0];
        (void)x;
      },
      testing::ExitedWithCode(2), "FNormal");
  EXPECT_EXIT(
      {
        volatile double x = FNormal[4];
        (void)x;
      },
      testing::ExitedWithCode(2), "FNormal");
}

}  // namespace
