// A textured, lit sphere as one triangle strip per band, from the +Z pole to the -Z pole.
#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

#include "zelvo/render.h"

namespace {

// The sines and cosines of one slice and stack count. A scene draws many spheres of few shapes, so
// they are computed once per shape instead of for every vertex of every frame; each entry is the
// very expression the drawing used to evaluate, so the floats handed to GL do not change.
struct SphereAngles {
  int32_t NumCircle = 0, NumLine = 0;
  std::vector<double> SinA, CosA, SinB, CosB;  // per band: its upper and lower edge
  std::vector<float> X, Y;                     // per slice edge
};

SphereAngles MakeAngles(int32_t NumCircle, int32_t NumLine) {
  constexpr double Pi = std::numbers::pi;
  const float MajorStep = static_cast<float>(Pi / NumLine);
  const float MinorStep = static_cast<float>(2.0 * Pi / NumCircle);
  SphereAngles t;
  t.NumCircle = NumCircle;
  t.NumLine = NumLine;
  for (int32_t I = 0; I < NumLine; ++I) {
    const float A = static_cast<float>(static_cast<double>(I) * MajorStep);
    const float B = static_cast<float>(static_cast<double>(A) + MajorStep);
    t.SinA.push_back(std::sin(static_cast<double>(A)));
    t.SinB.push_back(std::sin(static_cast<double>(B)));
    t.CosA.push_back(std::cos(static_cast<double>(A)));
    t.CosB.push_back(std::cos(static_cast<double>(B)));
  }
  for (int32_t J = 0; J <= NumCircle; ++J) {
    const float C = static_cast<float>(static_cast<double>(J) * MinorStep);
    t.X.push_back(static_cast<float>(std::cos(static_cast<double>(C))));
    t.Y.push_back(static_cast<float>(std::sin(static_cast<double>(C))));
  }
  return t;
}

// Shapes with huge counts are not kept: their tables would be large and they are drawn rarely.
constexpr int32_t kKeptCount = 4096;

const SphereAngles& AnglesFor(int32_t NumCircle, int32_t NumLine) {
  thread_local std::vector<SphereAngles> kept;
  thread_local SphereAngles passing;
  for (const SphereAngles& t : kept)
    if (t.NumCircle == NumCircle && t.NumLine == NumLine) return t;
  if (NumCircle > kKeptCount || NumLine > kKeptCount) {
    passing = MakeAngles(NumCircle, NumLine);
    return passing;
  }
  kept.push_back(MakeAngles(NumCircle, NumLine));
  return kept.back();
}

}  // namespace

// Every intermediate is a single, rounded when assigned; the expressions themselves are evaluated
// in double so that rounding happens only at those points.
void Sfera(float PX, float PY, float PZ, float Radius, int32_t NumCircle, int32_t NumLine,
           float TSize) {
  const SphereAngles& Angles = AnglesFor(NumCircle, NumLine);
  for (int32_t I = 0; I <= NumLine - 1; ++I) {
    const float R0 = static_cast<float>(Angles.SinA[I] * Radius);
    const float R1 = static_cast<float>(Angles.SinB[I] * Radius);
    const float Z0 = static_cast<float>(Angles.CosA[I] * Radius);
    const float Z1 = static_cast<float>(Angles.CosB[I] * Radius);
    const double T0 = static_cast<double>(I) / NumLine / TSize;
    const double T1 = (static_cast<double>(I) + 1.0) / NumLine / TSize;

    glBegin(GL_TRIANGLE_STRIP);
    for (int32_t J = 0; J <= NumCircle; ++J) {
      const float X = Angles.X[J];
      const float Y = Angles.Y[J];
      const double S = -static_cast<double>(J) / NumCircle / TSize;

      glNormal3f(static_cast<float>(static_cast<double>(X) * R0 / Radius),
                 static_cast<float>(static_cast<double>(Y) * R0 / Radius),
                 static_cast<float>(static_cast<double>(Z0) / Radius));
      glTexCoord2f(static_cast<float>(S), static_cast<float>(T0));
      glVertex3f(static_cast<float>(static_cast<double>(X) * R0 + PX),
                 static_cast<float>(static_cast<double>(Y) * R0 + PY),
                 static_cast<float>(static_cast<double>(Z0) + PZ));

      glNormal3f(static_cast<float>(static_cast<double>(X) * R1 / Radius),
                 static_cast<float>(static_cast<double>(Y) * R1 / Radius),
                 static_cast<float>(static_cast<double>(Z1) / Radius));
      glTexCoord2f(static_cast<float>(S), static_cast<float>(T1));
      glVertex3f(static_cast<float>(static_cast<double>(X) * R1 + PX),
                 static_cast<float>(static_cast<double>(Y) * R1 + PY),
                 static_cast<float>(static_cast<double>(Z1) + PZ));
    }
    glEnd();
  }
}
