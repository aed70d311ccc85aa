// TGLTwister::DrawPolygon: the funnel as one textured surface of quads between neighbouring rings.
#include <cmath>
#include <numbers>

#include "Zelv_Games.h"

// Corner m of ring k. The surface angle has no twist term: the geometry stays put and only the
// texture slides round by Twist. The normal is deliberately the vertex without the Z sway.
void TGLTwister::EmitSurfaceCorner(int32_t k, int32_t m) const {
  const double theta = 2.0 * std::numbers::pi * m / Columns;
  const double r = RingRadius(k);
  const double a = r * std::cos(theta);
  const double b = r * std::sin(theta);
  const double h = RingHeight(k);
  const double x = a + static_cast<double>(Pos[k].X);
  glNormal3f(static_cast<float>(x), static_cast<float>(h), static_cast<float>(b));
  glTexCoord2f(static_cast<float>(4.0 * m / Columns + static_cast<double>(Twist[k])),
               static_cast<float>(h));
  glVertex3f(static_cast<float>(x), static_cast<float>(h),
             static_cast<float>(b + static_cast<double>(Pos[k].Z)));
}

void TGLTwister::DrawPolygon(float X, float Y, float Z, float Size, float R, float Range,
                             int32_t Rings, int32_t NumPoints) {
  const float Angle = EnterDraw(Rings, NumPoints);
  SetGLSprite();
  glDisable(GL_CULL_FACE);
  glPushMatrix();
  glTranslatef(X, Y, Z);
  glScalef(Size, Size, Size);
  glBegin(GL_QUADS);
  for (int32_t i = 0; i + 1 < Rows; ++i) {
    for (int32_t j = 0; j < Columns; ++j) {
      EmitSurfaceCorner(i, j);
      EmitSurfaceCorner(i + 1, j);
      EmitSurfaceCorner(i + 1, j + 1);
      EmitSurfaceCorner(i, j + 1);
    }
  }
  glEnd();
  glPopMatrix();
  glEnable(GL_CULL_FACE);
  SetGLSpriteOff();
  RefreshRings(R, Range, Angle);
}
