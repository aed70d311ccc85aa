// TGLTwister: the time step and the ring geometry shared by the three drawing operations.
//
// Everything is evaluated in double precision from the single-precision fields and arguments;
// only the values stored back into fields or handed to GL are rounded to single.
#include <cmath>
#include <limits>
#include <numbers>

#include "Zelv_Games.h"

void TGLTwister::Update(float Frame) {
  // At the end of the 32-bit range the counter starts again from 0 rather than stopping the
  // program: the animation restarts from its first frame, where the single-precision angle still
  // moves smoothly (by then it has long been stepping in coarse jumps).
  Time = Time == std::numeric_limits<int32_t>::max() ? 0 : Time + 1;
  Frames = Frame;
}

float TGLTwister::EnterDraw(int32_t Rings, int32_t NumPoints) {
  Rows = Rings;
  Columns = NumPoints;
  return static_cast<float>(static_cast<double>(Time) / (10.0 * static_cast<double>(Frames)));
}

double TGLTwister::RingHeight(int32_t k) const { return 5.5 * k / Rows; }

double TGLTwister::RingRadius(int32_t k) const { return 0.7 * static_cast<double>(Radius[k]); }

double TGLTwister::ParticleScale(int32_t i, float Range) {
  return static_cast<double>(i) / static_cast<double>(Range) / 1.5;
}

TGLTwister::Point TGLTwister::RingPoint(int32_t i, int32_t j) const {
  const double phi = 2.0 * std::numbers::pi * j / Columns - static_cast<double>(Twist[i]);
  const double r = RingRadius(i);
  return {r * std::cos(phi) + static_cast<double>(Pos[i].X), RingHeight(i),
          r * std::sin(phi) + static_cast<double>(Pos[i].Z)};
}

void TGLTwister::RefreshRings(float R, float Range, float Angle) {
  const double a = Angle;
  const double funnel = static_cast<double>(R) + static_cast<double>(Range);
  for (int32_t i = 0; i < Rows; ++i) {
    const double sway1 = 0.25 * std::sin(i / 5.0 + 1.23 * a);
    const double sway2 = 0.3 * std::sin(i / 6.0 + 0.9 * a);
    Twist[i] = Angle;
    Radius[i] = static_cast<float>((i + static_cast<double>(R)) / funnel);
    Pos[i].X = static_cast<float>(sway1 + sway2);
    Pos[i].Z = static_cast<float>(-sway1 + sway2);
  }
}
