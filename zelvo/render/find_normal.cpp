// Unit normal of a triangle, left in the global FNormal for the caller to read right after.
#include <cmath>

#include "zelvo/render.h"

zelvo::CheckedArray<double, 1, 3, zelvo::names::FNormal> FNormal{};

namespace {
constexpr char kVectorName[] = "FindNormal vector";
using Vector3 = zelvo::CheckedArray<double, 1, 3, kVectorName>;
constexpr long long X = 1;
constexpr long long Y = 2;
constexpr long long Z = 3;
}  // namespace

void FindNormal(double V1X, double V1Y, double V1Z, double V2X, double V2Y, double V2Z, double V3X,
                double V3Y, double V3Z) {
  // The length is kept in single precision; a zero vector stays zero instead of dividing by zero.
  auto ReduceToUnit = [](double& UX, double& UY, double& UZ) {
    float Length = static_cast<float>(std::sqrt(UX * UX + UY * UY + UZ * UZ));
    if (Length == 0.0f) Length = 1.0f;
    UX = UX / Length;
    UY = UY / Length;
    UZ = UZ / Length;
  };

  Vector3 Temp_V1;
  Vector3 Temp_V2;
  Temp_V1[X] = V1X - V2X;
  Temp_V1[Y] = V1Y - V2Y;
  Temp_V1[Z] = V1Z - V2Z;
  Temp_V2[X] = V2X - V3X;
  Temp_V2[Y] = V2Y - V3Y;
  Temp_V2[Z] = V2Z - V3Z;

  FNormal[X] = Temp_V1[Y] * Temp_V2[Z] - Temp_V1[Z] * Temp_V2[Y];
  FNormal[Y] = Temp_V1[Z] * Temp_V2[X] - Temp_V1[X] * Temp_V2[Z];
  FNormal[Z] = Temp_V1[X] * Temp_V2[Y] - Temp_V1[Y] * Temp_V2[X];

  ReduceToUnit(FNormal[X], FNormal[Y], FNormal[Z]);
}
