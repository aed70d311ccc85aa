// The mouse-driven view: the angles and depth the window procedure gathers, applied to the current
// GL matrix.
#include "zelvo/window.h"

#include <GL/gl.h>

int32_t MSpeed = 0;
TGLVertex My{};

void SetGLMouseMove(int32_t XYZ, int32_t Speed) {
  // The window procedure multiplies every later mouse delta by this, whatever the mode.
  MSpeed = Speed;
  const float d = -Depth;
  switch (XYZ) {
    case GL_M0:
      My = {0, 0, d};
      glTranslatef(0, 0, d);
      glRotatef(XRot, 1, 0, 0);
      glRotatef(YRot, 0, 1, 0);
      break;
    case GL_MX:
      My = {0, d, 0};
      glTranslatef(0, d, 0);
      glRotatef(XRot, 1, 0, 0);
      glRotatef(YRot, 0, 0, 1);
      break;
    case GL_MY:
      My = {d, 0, 0};
      glTranslatef(d, 0, 0);
      glRotatef(XRot, 0, 0, -1);
      glRotatef(YRot, 0, 1, 0);
      break;
    case GL_MZ:
      My = {0, 0, d};
      glTranslatef(0, 0, d);
      glRotatef(XRot, 0, 1, 0);
      glRotatef(YRot, 1, 0, 0);
      break;
    default:
      break;
  }
}
