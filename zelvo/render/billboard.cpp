// The billboard bracket: drawing at a model point's eye position, with the eye's own axes.
#include "zelvo/render.h"

bool LockViewModelScale = true;

namespace {
constexpr char kMatrixName[] = "Matrix";
}  // namespace

void LockViewModelBegin(float X, float Y, float Z) {
  glPushMatrix();
  glTranslatef(X, Y, Z);
  glPushMatrix();
  zelvo::CheckedArray<GLfloat, 0, 15, kMatrixName> Matrix;
  glGetFloatv(GL_MODELVIEW_MATRIX, Matrix.data());
  // Replacing the rotation-and-scale block by the identity drops the caller's rotations and
  // scalings; the translation column keeps the anchor's eye position.
  for (int MX = 0; MX <= 2; ++MX)
    for (int MY = 0; MY <= 2; ++MY) Matrix[MX * 4 + MY] = (MX == MY) ? 1.0f : 0.0f;
  glLoadMatrixf(Matrix.data());
  if (LockViewModelScale) glScalef(0.1f, 0.1f, 0.1f);
}

void LockViewModelEnd() {
  glPopMatrix();
  glPopMatrix();
}

void LockViewModelScaleOff() { LockViewModelScale = false; }
