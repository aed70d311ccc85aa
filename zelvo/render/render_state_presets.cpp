// Named render states that bracket a stretch of drawing: two-sided lighting, culling, sprites.
#include "zelvo/render.h"

void TwoSideOn() { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1); }

void TwoSideOff() { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0); }

void SetGLRefractive() {
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  // The shading model is left alone: the only value ever meant here is not one GL accepts.
}

void SetGLSprite() {
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.4f);
}

// Deliberately does more than undo SetGLSprite: sprite drawing may have turned depth writes off
// and blending on, and the next pass expects neither.
void SetGLSpriteOff() {
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
}
