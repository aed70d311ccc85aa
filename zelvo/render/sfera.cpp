// A textured, lit sphere as one triangle strip per band, from the +Z pole to the -Z pole.
#include <cmath>
#include <numbers>

#include "zelvo/render.h"

// Every intermediate is a single, rounded when assigned; the expressions themselves are evaluated
// in double so that rounding happens only at those points.
void Sfera(float PX, float PY, float PZ, float Radius, int32_t NumCircle, int32_t NumLine,
           float TSize) {
  constexpr double Pi = std::numbers::pi;
  const float MajorStep = static_cast<float>(Pi / NumLine);
  const float MinorStep = static_cast<float>(2.0 * Pi / NumCircle);
  for (int32_t I = 0; I < NumLine; ++I) {  // not NumLine - 1, which overflows at the minimum
    const float A = static_cast<float>(static_cast<double>(I) * MajorStep);
    const float B = static_cast<float>(static_cast<double>(A) + MajorStep);
    const float R0 = static_cast<float>(std::sin(static_cast<double>(A)) * Radius);
    const float R1 = static_cast<float>(std::sin(static_cast<double>(B)) * Radius);
    const float Z0 = static_cast<float>(std::cos(static_cast<double>(A)) * Radius);
    const float Z1 = static_cast<float>(std::cos(static_cast<double>(B)) * Radius);
    const double T0 = static_cast<double>(I) / NumLine / TSize;
    const double T1 = (static_cast<double>(I) + 1.0) / NumLine / TSize;

    glBegin(GL_TRIANGLE_STRIP);
    for (int32_t J = 0; J <= NumCircle; ++J) {
      const float C = static_cast<float>(static_cast<double>(J) * MinorStep);
      const float X = static_cast<float>(std::cos(static_cast<double>(C)));
      const float Y = static_cast<float>(std::sin(static_cast<double>(C)));
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
