// TGLTwister::DrawParticle: the funnel as camera-facing cloud sprites cut from a sprite sheet.
#include "Zelv_Games.h"

namespace {

// Sets the blend function of a cloud style; an unknown style keeps the current one.
void SelectCloudBlend(int32_t TypeClouds) {
  switch (TypeClouds) {
    case CLOUD_BRIGHT:
      glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_COLOR);
      break;
    case CLOUD_NORMAL:
      glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
      break;
    case CLOUD_TINY_DARK:
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      break;
    case CLOUD_VERY_DARK:
      glBlendFunc(GL_SRC_COLOR, GL_ONE_MINUS_SRC_ALPHA);
      break;
    case CLOUD_TINY_BRIGHT:
      glBlendFunc(GL_SRC_ALPHA_SATURATE, GL_ONE_MINUS_SRC_ALPHA);
      break;
    case CLOUD_DARK_SMOOTH:
      glBlendFunc(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA);
      break;
    case CLOUD_DARK:
      glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_ALPHA);
      break;
    default:
      break;
  }
}

}  // namespace

// SheetRows and SheetColumns are the sprite sheet's grid (the header calls them Rows and Columns);
// the fields Rows and Columns are the ring count and points per ring.
void TGLTwister::DrawParticle(float X, float Y, float Z, float Size, float R, float Range,
                              int32_t Rings, int32_t NumPoints, int32_t TypeClouds,
                              int32_t SheetRows, int32_t SheetColumns) {
  const float Angle = EnterDraw(Rings, NumPoints);
  LockViewModelScaleOff();
  glEnable(GL_BLEND);
  SelectCloudBlend(TypeClouds);
  glEnable(GL_DEPTH_TEST);
  glDepthMask(GL_FALSE);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glAlphaFunc(GL_GREATER, 0.0f);
  glEnable(GL_ALPHA_TEST);
  glPushMatrix();
  glTranslatef(X, Y, Z);
  glScalef(Size, Size, Size);
  for (int32_t i = 0; i + 1 < Rows; ++i) {
    const float s = static_cast<float>(ParticleScale(i, Range));
    const float cell = static_cast<float>(i);
    for (int32_t j = 0; j < Columns; ++j) {
      const Point p = RingPoint(i, j);
      LockViewModelBegin(static_cast<float>(p.X), static_cast<float>(p.Y), static_cast<float>(p.Z));
      FindCharacter(0.0f, 0.0f, cell, cell, s, s, SheetRows, SheetColumns);
      LockViewModelEnd();
    }
  }
  glPopMatrix();
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
  glDepthMask(GL_TRUE);
  glDisable(GL_ALPHA_TEST);
  RefreshRings(R, Range, Angle);
}
