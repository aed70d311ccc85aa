// TGLTwister::AddParticle: a caller-supplied model at every ring point.
#include "Zelv_Games.h"

void TGLTwister::AddParticle(float X, float Y, float Z, float Size, float R, float Range,
                             int32_t Rings, int32_t NumPoints, ZelvProcedure Model) {
  const float Angle = EnterDraw(Rings, NumPoints);
  glPushMatrix();
  glTranslatef(X, Y, Z);
  glScalef(Size, Size, Size);
  // A missing model draws nothing instead of jumping through a null pointer.
  if (Model) {
    // i + 1 < Rows rather than i <= Rows - 2, which would overflow for the most negative count.
    for (int32_t i = 0; i + 1 < Rows; ++i) {
      const float s = static_cast<float>(ParticleScale(i, Range));
      for (int32_t j = 0; j < Columns; ++j) {
        const Point p = RingPoint(i, j);
        glPushMatrix();
        glTranslatef(static_cast<float>(p.X), static_cast<float>(p.Y), static_cast<float>(p.Z));
        glScalef(s, s, s);
        Model();
        glPopMatrix();
      }
    }
  }
  glPopMatrix();
  RefreshRings(R, Range, Angle);
}
